// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "contactcard.h"

#include "foldedlines.h"
#include "mecard.h"

#include <KContacts/Addressee>
#include <KContacts/VCardConverter>

#include <QHash>
#include <QRegularExpression>

namespace Brevlinder::Content
{

namespace
{

using namespace FoldedLines;

// Twice what a code can carry (about 47 KB when split over many codes), little enough for the vCard parser
// underneath to take well under the time a scan may spend on it.
constexpr qsizetype maximumCardLength = 96 * 1024;

// Where the first card ends: after its END line, or at the end of the text when the code was cut short.
struct CardExtent {
    QStringView card;
    bool terminated = false;
};

std::optional<CardExtent> firstCard(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && (text[start].isSpace() || text[start] == QChar::ByteOrderMark)) {
        ++start;
    }
    const Line first = lineAt(text, start);
    // A sentence that merely starts with the words is no card: the first line must be the card's own.
    if (!isLine(first.text, QLatin1StringView("BEGIN:VCARD")) || first.next >= text.size()) {
        return std::nullopt;
    }
    for (qsizetype position = first.next; position < text.size();) {
        const Line line = lineAt(text, position);
        if (isLine(line.text, QLatin1StringView("END:VCARD"))) {
            return CardExtent{text.sliced(start, line.next - start), true};
        }
        position = line.next;
    }
    return CardExtent{text.sliced(start), false};
}

// Each kind of line a card may repeat (TEL, EMAIL, …) at most this often; the vCard parser underneath takes time
// that grows with the square of their number, and nobody reads a thousand phone numbers off a code.
constexpr int maximumRepeats = 200;

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

void endSoftBreak(QString &text)
{
    // Every soft break at the end goes, however many there are ("a==", "a=" on a line of its own): one left over is
    // enough for the parser to read on past the text.
    qsizetype end = text.size();
    while (end > 0 && isLineBreak(text[end - 1])) {
        --end;
    }
    if (end == 0 || text[end - 1] != u'=') {
        return;
    }
    while (end > 0 && (text[end - 1] == u'=' || isLineBreak(text[end - 1]))) {
        --end;
    }
    text.truncate(end);
    text += QLatin1StringView("\r\n");
}

struct PreparedCard {
    QString text;
    bool shortened = false;
};

// Readies the code's card for the vCard parser underneath:
// - The code's text is already decoded; a CHARSET parameter would make the parser decode the characters a second
//   time. Only values still in quoted-printable or base64 are bytes that the parameter describes.
// - The parser does not look into groups ("item1.TEL", as Apple writes them) and would drop what they hold.
// - The parser knows the types of e-mail addresses only in upper case, as vCard 3.0 writes them.
// - Lines beyond maximumRepeats of one kind are left out, with their folds.
PreparedCard prepared(QStringView card)
{
    PreparedCard result;
    result.text.reserve(card.size() + 64);
    QHash<QString, int> counts;
    bool skipping = false;
    bool softBreak = false;
    // Whether the property on the lines so far is in quoted-printable, also where its parameters are folded.
    bool quotedPrintable = false;
    for (qsizetype position = 0; position < card.size();) {
        const Line line = lineAt(card, position);
        position = line.next;
        // The vCard parser underneath never returns from a quoted-printable value that goes on past the card's end.
        if ((softBreak || quotedPrintable) && isLine(line.text, QLatin1StringView("END:VCARD"))) {
            endSoftBreak(result.text);
            softBreak = false;
            quotedPrintable = false;
        }
        const bool continued = softBreak || (!line.text.isEmpty() && (line.text[0] == u' ' || line.text[0] == u'\t'));
        if (continued) {
            softBreak = softBreak && line.text.endsWith(u'=');
            quotedPrintable = quotedPrintable || line.text.contains(QLatin1StringView("QUOTED-PRINTABLE"), Qt::CaseInsensitive);
            if (!skipping) {
                result.text += line.text;
                result.text += QLatin1StringView("\r\n");
            }
            continue;
        }
        skipping = false;
        const qsizetype colon = line.text.indexOf(u':');
        if (colon < 0) {
            quotedPrintable = line.text.contains(QLatin1StringView("QUOTED-PRINTABLE"), Qt::CaseInsensitive);
            result.text += line.text;
            result.text += QLatin1StringView("\r\n");
            continue;
        }
        QStringList parameters = line.text.first(colon).toString().split(u';');
        QString name = parameters.takeFirst();
        name = name.sliced(name.lastIndexOf(u'.') + 1).toUpper();
        if (name != QLatin1StringView("BEGIN") && name != QLatin1StringView("END") && ++counts[name] > maximumRepeats) {
            skipping = true;
            result.shortened = true;
            continue;
        }
        const QString head = parameters.join(u';');
        const bool encoded = head.contains(QLatin1StringView("QUOTED-PRINTABLE"), Qt::CaseInsensitive);
        softBreak = encoded && line.text.endsWith(u'=');
        quotedPrintable = encoded;
        if (!encoded && !head.contains(QLatin1StringView("BASE64"), Qt::CaseInsensitive)
            && !head.contains(QLatin1StringView("ENCODING=B"), Qt::CaseInsensitive)) {
            parameters.removeIf([](const QString &parameter) {
                return parameter.startsWith(QLatin1StringView("CHARSET="), Qt::CaseInsensitive);
            });
        }
        for (QString &parameter : parameters) {
            if (!parameter.contains(u'=') || parameter.startsWith(QLatin1StringView("TYPE="), Qt::CaseInsensitive)) {
                parameter = parameter.toUpper();
            }
        }
        result.text += name;
        for (const QString &parameter : std::as_const(parameters)) {
            result.text += u';';
            result.text += parameter;
        }
        result.text += line.text.sliced(colon);
        result.text += QLatin1StringView("\r\n");
    }
    if (softBreak || quotedPrintable) {
        endSoftBreak(result.text);
    }
    return result;
}

QString joined(const QStringList &words)
{
    return words.join(QLatin1StringView(", "));
}

QString phoneKind(KContacts::PhoneNumber::Type type)
{
    using P = KContacts::PhoneNumber;
    QStringList words;
    if (type & P::Home) {
        words.append(i18nc("@item kind of phone number, e-mail or address", "home"));
    }
    if (type & P::Work) {
        words.append(i18nc("@item kind of phone number, e-mail or address", "work"));
    }
    if (type & P::Cell) {
        words.append(i18nc("@item kind of phone number", "mobile"));
    }
    if (type & P::Fax) {
        words.append(i18nc("@item kind of phone number", "fax"));
    }
    if (type & P::Pager) {
        words.append(i18nc("@item kind of phone number", "pager"));
    }
    if (type & P::Car) {
        words.append(i18nc("@item kind of phone number", "car"));
    }
    if (type & P::Video) {
        words.append(i18nc("@item kind of phone number", "video"));
    }
    if (type & P::Msg) {
        words.append(i18nc("@item kind of phone number", "messages"));
    }
    if (type & P::Isdn) {
        words.append(i18nc("@item kind of phone number", "ISDN"));
    }
    if (type & P::Modem) {
        words.append(i18nc("@item kind of phone number", "modem"));
    }
    if (type & P::Bbs) {
        words.append(i18nc("@item kind of phone number: a bulletin board system", "BBS"));
    }
    if (type & P::Pcs) {
        words.append(i18nc("@item kind of phone number: a personal communication service", "PCS"));
    }
    return joined(words);
}

QString emailKind(KContacts::Email::Type type)
{
    const bool home = type & KContacts::Email::Home;
    const bool work = type & KContacts::Email::Work;
    QStringList words;
    if (home) {
        words.append(i18nc("@item kind of phone number, e-mail or address", "home"));
    }
    if (work) {
        words.append(i18nc("@item kind of phone number, e-mail or address", "work"));
    }
    return joined(words);
}

QString addressKind(KContacts::Address::Type type)
{
    QStringList words;
    if (type & KContacts::Address::Home) {
        words.append(i18nc("@item kind of phone number, e-mail or address", "home"));
    }
    if (type & KContacts::Address::Work) {
        words.append(i18nc("@item kind of phone number, e-mail or address", "work"));
    }
    if (type & KContacts::Address::Postal) {
        words.append(i18nc("@item kind of address", "postal"));
    }
    if (type & KContacts::Address::Parcel) {
        words.append(i18nc("@item kind of address", "parcels"));
    }
    return joined(words);
}

QString envelopeLines(const KContacts::Address &address)
{
    QStringList lines;
    const auto add = [&lines](const QString &line) {
        if (!line.trimmed().isEmpty()) {
            lines.append(line.trimmed());
        }
    };
    add(address.postOfficeBox());
    add(address.extended());
    add(address.street());
    add(QStringList{address.postalCode(), address.locality()}.join(u' '));
    add(address.region());
    add(address.country());
    if (lines.isEmpty()) {
        add(address.label());
    }
    return lines.join(u'\n');
}

QString nameOf(const KContacts::Addressee &contact)
{
    if (!contact.formattedName().trimmed().isEmpty()) {
        return contact.formattedName();
    }
    QStringList parts;
    for (const QString &part : {contact.prefix(), contact.givenName(), contact.additionalName(), contact.familyName(), contact.suffix()}) {
        if (!part.trimmed().isEmpty()) {
            parts.append(part.trimmed());
        }
    }
    return parts.join(u' ');
}

// Dates as vCards write them: 19960415, 1996-04-15, --0415 or --04-15 (no year), each with a time after a T.
QDate dateFrom(QStringView text, bool &withoutYear)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4}|--)-?(\\d{2})-?(\\d{2})(T[0-9:.,+Z-]*)?$"));
    withoutYear = false;
    const QRegularExpressionMatch match = pattern.matchView(text.trimmed());
    if (!match.hasMatch()) {
        return QDate();
    }
    const int month = match.capturedView(2).toInt();
    const int day = match.capturedView(3).toInt();
    if (match.capturedView(1) == QLatin1StringView("--")) {
        // 2000 is a leap year, so 29 February counts.
        withoutYear = QDate::isValid(2000, month, day);
        return QDate();
    }
    return QDate(match.capturedView(1).toInt(), month, day);
}

// The parser underneath keeps a backslash before a semicolon in text; a card escapes , ; \\ and line breaks.
std::optional<QString> escapedText(QStringView card, QLatin1StringView name)
{
    const std::optional<Property> property = firstProperty(card, name);
    if (!property || !property->parameter(QLatin1StringView("ENCODING")).isEmpty()) {
        return std::nullopt;
    }
    QString text;
    text.reserve(property->value.size());
    for (qsizetype i = 0; i < property->value.size(); ++i) {
        const QChar c = property->value.at(i);
        if (c != u'\\' || i + 1 == property->value.size()) {
            text += c;
            continue;
        }
        const QChar next = property->value.at(++i);
        if (next == u'n' || next == u'N') {
            text += u'\n';
        } else if (next == u',' || next == u';' || next == u'\\') {
            text += next;
        } else {
            text += c;
            text += next;
        }
    }
    return text;
}

void readBirthday(ContactCard &card, QStringView cardText)
{
    const std::optional<Property> birthday = firstProperty(cardText, QLatin1StringView("BDAY"));
    if (!birthday) {
        return;
    }
    card.birthday.value = birthday->value.trimmed();
    // vCard 4.0 lets a birthday be words ("circa 1800"), as the card says it.
    if (birthday->parameter(QLatin1StringView("VALUE")).compare(QLatin1StringView("text"), Qt::CaseInsensitive) == 0) {
        return;
    }
    bool withoutYear = false;
    card.birthDate = dateFrom(card.birthday.value, withoutYear);
    if (!card.birthDate.isValid() && !withoutYear) {
        card.birthday.problem = ki18nc("@info", "The birthday is not a valid date.");
    }
}

}

std::optional<ContactCard> ContactCard::parse(const QString &text)
{
    const std::optional<CardExtent> extent = firstCard(text);
    if (!extent) {
        return std::nullopt;
    }
    ContactCard card;
    if (extent->card.size() > maximumCardLength) {
        return std::nullopt;
    }
    const PreparedCard ready = prepared(extent->card);
    QString cardText = ready.text;
    if (ready.shortened) {
        card.warnings.append(ki18nc("@info", "The contact gives more entries of one kind than are shown."));
    }
    if (!extent->terminated) {
        cardText += QLatin1StringView("END:VCARD\r\n");
        card.warnings.append(ki18nc("@info", "The contact ends before its end mark; parts of it may be missing."));
    }

    const KContacts::VCardConverter converter;
    const KContacts::Addressee contact = converter.parseVCard(cardText.toUtf8());
    if (contact.isEmpty()) {
        return std::nullopt;
    }

    card.name = nameOf(contact);
    QStringList organization{contact.organization()};
    if (!contact.department().isEmpty()) {
        organization.append(contact.department());
    }
    card.organization = organization.join(QLatin1StringView(", "));
    card.title = contact.title().isEmpty() ? contact.role() : contact.title();
    for (const KContacts::PhoneNumber &phone : contact.phoneNumbers()) {
        QString number = phone.number();
        // vCard 4.0 writes numbers as tel: addresses.
        if (number.startsWith(QLatin1StringView("tel:"), Qt::CaseInsensitive)) {
            number.remove(0, 4);
        }
        if (!number.trimmed().isEmpty()) {
            card.phones.append(Entry{number, phoneKind(phone.type())});
        }
    }
    for (const KContacts::Email &email : contact.emailList()) {
        if (!email.mail().trimmed().isEmpty()) {
            card.emails.append(Entry{email.mail(), emailKind(email.type())});
        }
    }
    for (const KContacts::Address &address : contact.addresses()) {
        const QString lines = envelopeLines(address);
        if (!lines.isEmpty()) {
            card.addresses.append(Entry{lines, addressKind(address.type())});
        }
    }
    const auto addWebAddress = [&card](const QUrl &url) {
        const QString address = url.toString();
        if (!address.isEmpty() && !card.webAddresses.contains(address)) {
            card.webAddresses.append(address);
        }
    };
    addWebAddress(contact.url().url());
    for (const KContacts::ResourceLocatorUrl &url : contact.extraUrlList()) {
        addWebAddress(url.url());
    }
    card.note = escapedText(extent->card, QLatin1StringView("NOTE")).value_or(contact.note());
    readBirthday(card, extent->card);
    card.vCard = extent->card.toUtf8();
    if (!extent->terminated) {
        card.vCard += card.vCard.endsWith('\n') ? "END:VCARD\r\n" : "\r\nEND:VCARD\r\n";
    }
    return card;
}

ContactCard ContactCard::fromMeCard(const MeCard &meCard)
{
    ContactCard card;
    KContacts::Addressee contact;

    card.name = meCard.displayName();
    contact.setFamilyName(meCard.familyName);
    contact.setGivenName(meCard.givenName);
    contact.setFormattedName(card.name);
    if (!meCard.nicknames.isEmpty()) {
        contact.setNickName(meCard.nicknames.first());
        for (qsizetype i = 1; i < meCard.nicknames.size(); ++i) {
            contact.insertExtraNickName(KContacts::NickName(meCard.nicknames.at(i)));
        }
    }
    card.organization = meCard.organization;
    if (!meCard.organization.isEmpty()) {
        contact.setOrganization(meCard.organization);
    }
    for (const QString &phone : meCard.phones) {
        card.phones.append(Entry{phone, QString()});
        contact.insertPhoneNumber(KContacts::PhoneNumber(phone, KContacts::PhoneNumber::Voice));
    }
    for (const QString &phone : meCard.videoPhones) {
        card.phones.append(Entry{phone, phoneKind(KContacts::PhoneNumber::Video)});
        contact.insertPhoneNumber(KContacts::PhoneNumber(phone, KContacts::PhoneNumber::Video));
    }
    for (const QString &email : meCard.emails) {
        card.emails.append(Entry{email, QString()});
        KContacts::Email mail(email);
        contact.addEmail(mail);
    }
    for (const QString &address : meCard.addresses) {
        card.addresses.append(Entry{address, QString()});
        // A MeCard's address is one piece of text, commas and all.
        KContacts::Address written;
        written.setStreet(address);
        contact.insertAddress(written);
    }
    for (const QString &url : meCard.urls) {
        card.webAddresses.append(url);
        KContacts::ResourceLocatorUrl written;
        written.setUrl(QUrl(url));
        contact.insertExtraUrl(written);
    }
    card.birthday = meCard.birthday;
    card.birthDate = meCard.birthDate;
    if (meCard.birthDate.isValid()) {
        contact.setBirthday(meCard.birthDate);
    }
    card.note = meCard.note;
    contact.setNote(meCard.note);
    card.warnings = meCard.warnings;

    const KContacts::VCardConverter converter;
    card.vCard = converter.createVCard(contact, KContacts::VCardConverter::v3_0);
    return card;
}

}
