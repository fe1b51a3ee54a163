// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "kindcards.h"

#include <QLocale>
#include <QTimeZone>

namespace Brevlinder::ContentDisplay
{

namespace
{

QString entryText(const Content::ContactCard::Entry &entry)
{
    return entry.kind.isEmpty() ? entry.value : i18nc("@label a phone number, e-mail or address, and its kind", "%1 (%2)", entry.value, entry.kind);
}

QString whenText(const QDateTime &moment, bool allDay)
{
    const QLocale locale;
    if (allDay) {
        return locale.toString(moment.date(), QLocale::LongFormat);
    }
    // A floating time is the same wall-clock time wherever the user is.
    const QDateTime shown = moment.timeSpec() == Qt::LocalTime ? moment : moment.toLocalTime();
    return i18nc("@label a date and a time", "%1, %2", locale.toString(shown.date(), QLocale::LongFormat), locale.toString(shown.time(), QLocale::ShortFormat));
}

CardAction fileAction(CardAction::Kind kind, const KLocalizedString &label, const QByteArray &content, const QString &mimeType, const QString &fileName)
{
    CardAction action;
    action.kind = kind;
    action.label = label;
    action.fileContent = content;
    action.mimeType = mimeType;
    action.fileName = fileName;
    if (content.isEmpty()) {
        action.disabledReason = i18nc("@info:tooltip", "The code's data could not be written in the file's format.");
    }
    return action;
}

}

CardContents KindCards::contact(const Content::ContactCard &contact)
{
    CardContents card;
    card.title = i18nc("@title:group", "Contact");
    card.warnings = sentences(contact.warnings);
    KindCards::addRow(card, i18nc("@label", "Name:"), contact.name);
    KindCards::addRow(card, i18nc("@label", "Organization:"), contact.organization);
    KindCards::addRow(card, i18nc("@label a contact's job title", "Title:"), contact.title);
    for (const auto &phone : contact.phones) {
        KindCards::addRow(card, i18nc("@label", "Phone:"), entryText(phone));
    }
    for (const auto &email : contact.emails) {
        KindCards::addRow(card, i18nc("@label", "E-mail:"), entryText(email));
    }
    for (const auto &address : contact.addresses) {
        KindCards::addRow(card, i18nc("@label", "Address:"), entryText(address), true);
    }
    for (const QString &webAddress : contact.webAddresses) {
        KindCards::addRow(card, i18nc("@label", "Web address:"), webAddress);
    }
    if (contact.birthDate.isValid()) {
        KindCards::addRow(card, i18nc("@label", "Birthday:"), QLocale().toString(contact.birthDate, QLocale::LongFormat));
    } else if (!contact.birthday.value.isEmpty() || !contact.birthday.isSound()) {
        card.rows.append(checkedRow(i18nc("@label", "Birthday:"), contact.birthday));
    }
    KindCards::addRow(card, i18nc("@label", "Note:"), contact.note, true);

    const QString mimeType = QStringLiteral("text/vcard");
    card.actions.append(fileAction(CardAction::Kind::Save, ki18nc("@action:button", "Save Contact…"), contact.vCard, mimeType, contact.name));
    card.actions.append(fileAction(CardAction::Kind::OpenFile, ki18nc("@action:button", "Open in Address Book"), contact.vCard, mimeType, contact.name));
    return card;
}

CardContents KindCards::event(const Content::CalendarEvent &event)
{
    CardContents card;
    card.title = i18nc("@title:group", "Event");
    card.warnings = sentences(event.warnings);
    KindCards::addRow(card, i18nc("@label an event's name", "Title:"), event.summary);
    if (event.start.isValid()) {
        KindCards::addRow(card, i18nc("@label", "Starts:"), whenText(event.start, event.allDay));
    }
    if (event.end.isValid() && !(event.allDay && event.end.date() == event.start.date())) {
        KindCards::addRow(card, i18nc("@label", "Ends:"), whenText(event.end, event.allDay));
    }
    // The times above are the user's; where the event's own zone differs, it is named with the time there.
    if (!event.allDay && event.start.isValid() && event.start.timeSpec() != Qt::LocalTime && !event.timeZoneName.isEmpty()
        && event.start.offsetFromUtc() != event.start.toLocalTime().offsetFromUtc()) {
        KindCards::addRow(card,
                          i18nc("@label", "Time zone:"),
                          i18nc("@label %1 is a time zone, %2 the event's start time there",
                                "%1 (starts at %2 there)",
                                event.timeZoneName,
                                QLocale().toString(event.start.time(), QLocale::ShortFormat)));
    }
    KindCards::addRow(card, i18nc("@label", "Location:"), event.location);
    KindCards::addRow(card, i18nc("@label", "Description:"), event.description, true);
    if (!event.repetition.isEmpty()) {
        KindCards::addRow(card, i18nc("@label", "Repeats:"), event.repetition.toString());
    }

    const QString mimeType = QStringLiteral("text/calendar");
    card.actions.append(fileAction(CardAction::Kind::Save, ki18nc("@action:button", "Save Event…"), event.iCalendar, mimeType, event.summary));
    card.actions.append(fileAction(CardAction::Kind::OpenFile, ki18nc("@action:button", "Open in Calendar"), event.iCalendar, mimeType, event.summary));
    return card;
}

}
