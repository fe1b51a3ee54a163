// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "kindcards.h"

#include <QUrl>

namespace Brevlinder::ContentDisplay
{

namespace
{

// The first problem among @p values, as the reason to disable what would use them.
QString firstProblem(const QList<Content::CheckedValue> &values)
{
    for (const Content::CheckedValue &value : values) {
        if (!value.isSound()) {
            return value.problem.toString();
        }
    }
    return QString();
}

QString encoded(const QString &text, const QByteArray &keep = QByteArray())
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text, keep));
}

QStringList valuesOf(const QList<Content::CheckedValue> &values)
{
    QStringList texts;
    for (const Content::CheckedValue &value : values) {
        texts.append(value.value);
    }
    return texts;
}

// The message as a mailto: address made of what the card shows, so that nothing it left out reaches the mail
// program.
QUrl mailUrl(const Content::MailMessage &mail)
{
    QString query;
    const auto addField = [&query](const QString &name, const QString &value) {
        if (!value.isEmpty()) {
            query += (query.isEmpty() ? QLatin1Char('?') : QLatin1Char('&')) + name + QLatin1Char('=') + encoded(value);
        }
    };
    addField(QStringLiteral("cc"), valuesOf(mail.cc).join(QLatin1Char(',')));
    addField(QStringLiteral("bcc"), valuesOf(mail.bcc).join(QLatin1Char(',')));
    addField(QStringLiteral("subject"), mail.subject);
    addField(QStringLiteral("body"), mail.body);
    return QUrl(QStringLiteral("mailto:") + encoded(valuesOf(mail.to).join(QLatin1Char(',')), "@,") + query, QUrl::StrictMode);
}

}

CardContents KindCards::phone(const Content::PhoneNumber &phone, const QString &text)
{
    CardContents card;
    card.title = i18nc("@title:group", "Phone Number");
    card.warnings = sentences(phone.warnings);
    card.rows.append(checkedRow(i18nc("@label", "Number:"), phone.number));
    KindCards::addRow(card, i18nc("@label", "Extension:"), phone.extension);

    CardAction call;
    call.kind = CardAction::Kind::OpenUrl;
    call.label = ki18nc("@action:button %1 is a phone number", "Call %1");
    call.target = phone.number.value;
    call.url = QUrl(text.trimmed(), QUrl::StrictMode);
    call.disabledReason = phone.number.isSound() ? QString() : phone.number.problem.toString();
    card.actions.append(call);
    return card;
}

CardContents KindCards::mail(const Content::MailMessage &mail)
{
    CardContents card;
    card.title = i18nc("@title:group", "E-mail");
    card.warnings = sentences(mail.warnings);
    for (const Content::CheckedValue &to : mail.to) {
        card.rows.append(checkedRow(i18nc("@label", "To:"), to));
    }
    for (const Content::CheckedValue &cc : mail.cc) {
        card.rows.append(checkedRow(i18nc("@label", "Cc:"), cc));
    }
    for (const Content::CheckedValue &bcc : mail.bcc) {
        card.rows.append(checkedRow(i18nc("@label", "Bcc:"), bcc));
    }
    KindCards::addRow(card, i18nc("@label", "Subject:"), mail.subject);
    KindCards::addRow(card, i18nc("@label", "Message:"), mail.body, true);

    CardAction write;
    write.kind = CardAction::Kind::OpenUrl;
    write.target = valuesOf(mail.to).join(QStringLiteral(", "));
    write.label = write.target.isEmpty() ? ki18nc("@action:button", "Write E-mail") : ki18nc("@action:button %1 is an e-mail address", "Write E-mail to %1");
    write.url = mailUrl(mail);
    write.disabledReason = firstProblem(mail.to + mail.cc + mail.bcc);
    card.actions.append(write);
    return card;
}

CardContents KindCards::sms(const Content::SmsMessage &sms)
{
    CardContents card;
    card.title = i18nc("@title:group", "Text Message");
    card.warnings = sentences(sms.warnings);
    QList<Content::CheckedValue> numbers;
    QStringList dialable;
    for (const Content::PhoneNumber &recipient : sms.recipients) {
        card.rows.append(checkedRow(i18nc("@label", "To:"), recipient.number));
        numbers.append(recipient.number);
        dialable.append(recipient.dialable);
    }
    KindCards::addRow(card, i18nc("@label", "Message:"), sms.body, true);

    CardAction send;
    send.kind = CardAction::Kind::OpenUrl;
    send.target = valuesOf(numbers).join(QStringLiteral(", "));
    send.label = send.target.isEmpty() ? ki18nc("@action:button", "Send Message") : ki18nc("@action:button %1 is a phone number", "Send Message to %1");
    QString address = QStringLiteral("sms:") + encoded(dialable.join(QLatin1Char(',')), "+,");
    if (!sms.body.isEmpty()) {
        address += QStringLiteral("?body=") + encoded(sms.body);
    }
    send.url = QUrl(address, QUrl::StrictMode);
    send.disabledReason = firstProblem(numbers);
    card.actions.append(send);
    return card;
}

CardContents KindCards::web(const Content::WebAddress &address)
{
    CardContents card;
    card.title = i18nc("@title:group", "Web Address");
    card.warnings = sentences(address.warnings);
    CardRow host;
    host.label = i18nc("@label", "Host:");
    host.value = address.host;
    host.emphasised = true;
    card.rows.append(host);
    // Encoded, so that look-alike letters and hidden characters show as what they are.
    const QString whole = address.url.toString(QUrl::FullyEncoded);
    KindCards::addRow(card, i18nc("@label", "Address:"), whole);

    CardAction open;
    open.kind = CardAction::Kind::OpenUrl;
    open.label = ki18nc("@action:button", "Open Link");
    open.url = address.url;
    open.details = whole;
    card.actions.append(open);
    CardAction copy;
    copy.kind = CardAction::Kind::Copy;
    copy.label = ki18nc("@action:button", "Copy Link Address");
    copy.text = whole;
    copy.details = whole;
    card.actions.append(copy);
    return card;
}

}
