// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "gs1elements.h"

#include "uricomponents.h"

#include <QUrl>

namespace Brevlinder::Content
{

namespace
{
// The group separator that ends a variable-length element in the unbracketed data.
constexpr QChar groupSeparator = QChar(0x1d);

enum class Format {
    Digits,
    Characters,
    /// Digits whose last is a mod-10 check over the others.
    CheckDigit,
    /// YYMMDD, where day 00 means the month's last day.
    Date,
    /// Digits; the identifier's last digit says how many of them follow the decimal point.
    Decimal,
    /// A three-digit currency code, then a decimal as above.
    CurrencyDecimal,
};

struct Definition {
    QString ai;
    /// The identifier has one more digit, the count of decimals.
    bool decimalDigit;
    Format format;
    int minimumLength;
    int maximumLength;
    KLocalizedString name;
};

const QList<Definition> &definitions()
{
    static const QList<Definition> table = [] {
        QList<Definition> list{
            {QStringLiteral("00"), false, Format::CheckDigit, 18, 18, ki18n("SSCC")},
            {QStringLiteral("01"), false, Format::CheckDigit, 14, 14, ki18n("GTIN")},
            {QStringLiteral("02"), false, Format::CheckDigit, 14, 14, ki18n("GTIN of contained trade items")},
            {QStringLiteral("10"), false, Format::Characters, 1, 20, ki18n("Batch or lot")},
            {QStringLiteral("11"), false, Format::Date, 6, 6, ki18n("Production date")},
            {QStringLiteral("12"), false, Format::Date, 6, 6, ki18n("Due date")},
            {QStringLiteral("13"), false, Format::Date, 6, 6, ki18n("Packaging date")},
            {QStringLiteral("15"), false, Format::Date, 6, 6, ki18n("Best before date")},
            {QStringLiteral("16"), false, Format::Date, 6, 6, ki18n("Sell by date")},
            {QStringLiteral("17"), false, Format::Date, 6, 6, ki18n("Expiry date")},
            {QStringLiteral("20"), false, Format::Digits, 2, 2, ki18n("Internal product variant")},
            {QStringLiteral("21"), false, Format::Characters, 1, 20, ki18n("Serial number")},
            {QStringLiteral("22"), false, Format::Characters, 1, 20, ki18n("Consumer product variant")},
            {QStringLiteral("235"), false, Format::Characters, 1, 28, ki18n("Third-party serial number")},
            {QStringLiteral("240"), false, Format::Characters, 1, 30, ki18n("Additional product identification")},
            {QStringLiteral("241"), false, Format::Characters, 1, 30, ki18n("Customer part number")},
            {QStringLiteral("250"), false, Format::Characters, 1, 30, ki18n("Secondary serial number")},
            {QStringLiteral("251"), false, Format::Characters, 1, 30, ki18n("Reference to source entity")},
            {QStringLiteral("253"), false, Format::Characters, 13, 30, ki18n("Global document type identifier")},
            {QStringLiteral("254"), false, Format::Characters, 1, 20, ki18n("GLN extension")},
            {QStringLiteral("255"), false, Format::Digits, 13, 25, ki18n("Global coupon number")},
            {QStringLiteral("30"), false, Format::Digits, 1, 8, ki18n("Variable count")},
            {QStringLiteral("310"), true, Format::Decimal, 6, 6, ki18n("Net weight (kg)")},
            {QStringLiteral("311"), true, Format::Decimal, 6, 6, ki18n("Length (m)")},
            {QStringLiteral("312"), true, Format::Decimal, 6, 6, ki18n("Width (m)")},
            {QStringLiteral("313"), true, Format::Decimal, 6, 6, ki18n("Depth (m)")},
            {QStringLiteral("314"), true, Format::Decimal, 6, 6, ki18n("Area (m²)")},
            {QStringLiteral("315"), true, Format::Decimal, 6, 6, ki18n("Net volume (l)")},
            {QStringLiteral("316"), true, Format::Decimal, 6, 6, ki18n("Net volume (m³)")},
            {QStringLiteral("320"), true, Format::Decimal, 6, 6, ki18n("Net weight (lb)")},
            {QStringLiteral("330"), true, Format::Decimal, 6, 6, ki18n("Gross weight (kg)")},
            {QStringLiteral("37"), false, Format::Digits, 1, 8, ki18n("Count of trade items")},
            {QStringLiteral("390"), true, Format::Decimal, 1, 15, ki18n("Amount payable")},
            {QStringLiteral("391"), true, Format::CurrencyDecimal, 4, 18, ki18n("Amount payable in a currency")},
            {QStringLiteral("392"), true, Format::Decimal, 1, 15, ki18n("Price")},
            {QStringLiteral("393"), true, Format::CurrencyDecimal, 4, 18, ki18n("Price in a currency")},
            {QStringLiteral("400"), false, Format::Characters, 1, 30, ki18n("Customer's purchase order number")},
            {QStringLiteral("401"), false, Format::Characters, 1, 30, ki18n("Consignment number")},
            {QStringLiteral("402"), false, Format::CheckDigit, 17, 17, ki18n("Shipment number")},
            {QStringLiteral("410"), false, Format::CheckDigit, 13, 13, ki18n("Ship to (GLN)")},
            {QStringLiteral("411"), false, Format::CheckDigit, 13, 13, ki18n("Bill to (GLN)")},
            {QStringLiteral("412"), false, Format::CheckDigit, 13, 13, ki18n("Purchased from (GLN)")},
            {QStringLiteral("413"), false, Format::CheckDigit, 13, 13, ki18n("Ship for (GLN)")},
            {QStringLiteral("414"), false, Format::CheckDigit, 13, 13, ki18n("Location (GLN)")},
            {QStringLiteral("415"), false, Format::CheckDigit, 13, 13, ki18n("Invoicing party (GLN)")},
            {QStringLiteral("416"), false, Format::CheckDigit, 13, 13, ki18n("Production or service location (GLN)")},
            {QStringLiteral("417"), false, Format::CheckDigit, 13, 13, ki18n("Party (GLN)")},
            {QStringLiteral("420"), false, Format::Characters, 1, 20, ki18n("Ship to postal code")},
            {QStringLiteral("422"), false, Format::Digits, 3, 3, ki18n("Country of origin")},
            {QStringLiteral("7003"), false, Format::Digits, 10, 10, ki18n("Expiry date and time")},
            {QStringLiteral("8003"), false, Format::Characters, 14, 30, ki18n("Returnable asset identifier")},
            {QStringLiteral("8004"), false, Format::Characters, 1, 30, ki18n("Individual asset identifier")},
            {QStringLiteral("8006"), false, Format::Digits, 18, 18, ki18n("Trade item piece")},
            {QStringLiteral("8010"), false, Format::Characters, 1, 30, ki18n("Component or part identifier")},
            {QStringLiteral("8013"), false, Format::Characters, 1, 25, ki18n("Global model number")},
            {QStringLiteral("8017"), false, Format::CheckDigit, 18, 18, ki18n("Service relation number (provider)")},
            {QStringLiteral("8018"), false, Format::CheckDigit, 18, 18, ki18n("Service relation number (recipient)")},
            {QStringLiteral("8020"), false, Format::Characters, 1, 25, ki18n("Payment slip reference")},
            {QStringLiteral("8200"), false, Format::Characters, 1, 70, ki18n("Product web address")},
            {QStringLiteral("90"), false, Format::Characters, 1, 30, ki18n("Information agreed between partners")},
        };
        for (int company = 91; company <= 99; ++company) {
            list.append({QString::number(company), false, Format::Characters, 1, 90, ki18n("Company internal information")});
        }
        return list;
    }();
    return table;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isDigits(QStringView text)
{
    for (const QChar c : text) {
        if (!isAsciiDigit(c)) {
            return false;
        }
    }
    return !text.isEmpty();
}

const Definition *definitionOf(QStringView ai)
{
    for (const Definition &definition : definitions()) {
        if (definition.decimalDigit ? (ai.size() == 4 && ai.startsWith(definition.ai) && isAsciiDigit(ai[3])) : ai == definition.ai) {
            return &definition;
        }
    }
    return nullptr;
}

/// The identifier that @p data starts with; GS1 chose them so that none is the start of another.
const Definition *definitionAtStart(QStringView data, qsizetype &aiLength)
{
    for (const Definition &definition : definitions()) {
        if (data.startsWith(definition.ai) && (!definition.decimalDigit || (data.size() > 3 && isAsciiDigit(data[3])))) {
            aiLength = definition.ai.size() + (definition.decimalDigit ? 1 : 0);
            return &definition;
        }
    }
    return nullptr;
}

/// Identifiers whose first two digits are these have a length fixed so long ago that no separator follows them.
bool hasPredefinedLength(QStringView ai)
{
    static const QStringList prefixes{QStringLiteral("00"), QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03"), QStringLiteral("04"),
                                      QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("13"), QStringLiteral("14"), QStringLiteral("15"),
                                      QStringLiteral("16"), QStringLiteral("17"), QStringLiteral("18"), QStringLiteral("19"), QStringLiteral("20"),
                                      QStringLiteral("31"), QStringLiteral("32"), QStringLiteral("33"), QStringLiteral("34"), QStringLiteral("35"),
                                      QStringLiteral("36"), QStringLiteral("41")};
    return prefixes.contains(ai.left(2));
}

bool checkDigitFits(QStringView digits)
{
    int sum = 0;
    int weight = 3;
    for (qsizetype i = digits.size() - 2; i >= 0; --i) {
        sum += (digits[i].unicode() - u'0') * weight;
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10 == digits.back().unicode() - u'0';
}

QString withDecimalPoint(QStringView digits, int decimals)
{
    QString padded = QString(qMax<qsizetype>(0, decimals + 1 - digits.size()), u'0') + digits;
    QStringView whole = QStringView(padded).left(padded.size() - decimals);
    while (whole.size() > 1 && whole.front() == u'0') {
        whole = whole.mid(1);
    }
    return decimals == 0 ? whole.toString() : whole + u'.' + QStringView(padded).right(decimals);
}

/// Two-digit years are read as the nearest year: up to 50 years ahead, or else up to 49 years back.
QDate dateOf(QStringView yymmdd, QDate today)
{
    const int shortYear = yymmdd.left(2).toInt();
    const int month = yymmdd.mid(2, 2).toInt();
    const int day = yymmdd.mid(4, 2).toInt();
    const int century = today.year() / 100 * 100;
    const int difference = shortYear - today.year() % 100;
    int year = century + shortYear;
    if (difference >= 51) {
        year -= 100;
    } else if (difference <= -50) {
        year += 100;
    }
    if (month < 1 || month > 12) {
        return {};
    }
    if (day == 0) {
        return QDate(year, month, 1).addMonths(1).addDays(-1);
    }
    return QDate(year, month, day);
}

Gs1Element elementOf(const QString &ai, const QString &value, QDate today)
{
    Gs1Element element{ai, KLocalizedString(), {value, KLocalizedString()}, value, QDate()};
    const Definition *definition = definitionOf(ai);
    if (!definition) {
        element.name = ki18n("Unknown application identifier");
        return element;
    }
    element.name = definition->name;
    KLocalizedString &problem = element.value.problem;
    if (value.size() < definition->minimumLength || value.size() > definition->maximumLength) {
        problem = definition->minimumLength == definition->maximumLength
            ? ki18np("The value must have exactly one character.", "The value must have exactly %1 characters.").subs(definition->maximumLength)
            : ki18np("The value must have between %2 and %1 character.", "The value must have between %2 and %1 characters.")
                  .subs(definition->maximumLength)
                  .subs(definition->minimumLength);
        return element;
    }
    if (definition->format != Format::Characters && !isDigits(value)) {
        problem = ki18n("The value may hold only digits.");
        return element;
    }
    switch (definition->format) {
    case Format::Digits:
    case Format::Characters:
        break;
    case Format::CheckDigit:
        if (!checkDigitFits(value)) {
            problem = ki18n("The check digit is wrong: the number has been misread or mistyped.");
        }
        break;
    case Format::Date:
        element.date = dateOf(value, today);
        if (element.date.isValid()) {
            element.readable = element.date.toString(Qt::ISODate);
        } else {
            problem = ki18n("This date does not exist.");
        }
        break;
    case Format::Decimal:
        element.readable = withDecimalPoint(value, ai.back().unicode() - u'0');
        break;
    case Format::CurrencyDecimal:
        element.readable = value.left(3) + u' ' + withDecimalPoint(QStringView(value).mid(3), ai.back().unicode() - u'0');
        break;
    }
    return element;
}

Gs1Element unreadable(QStringView rest)
{
    Gs1Element element{QString(), ki18n("Unreadable data"), {rest.toString(), KLocalizedString()}, rest.toString(), QDate()};
    element.value.problem = ki18n("This part of the data follows no application identifier.");
    return element;
}

/// "(AI)" at @p position: two to four digits in brackets.
qsizetype bracketedAiLength(QStringView text, qsizetype position)
{
    if (position >= text.size() || text[position] != u'(') {
        return -1;
    }
    qsizetype digits = 0;
    while (digits < 4 && position + 1 + digits < text.size() && isAsciiDigit(text[position + 1 + digits])) {
        ++digits;
    }
    const qsizetype close = position + 1 + digits;
    return digits >= 2 && close < text.size() && text[close] == u')' ? digits : -1;
}

Gs1Elements readBracketed(QStringView text, QDate today)
{
    Gs1Elements data;
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype aiLength = bracketedAiLength(text, position);
        if (aiLength < 0) {
            data.elements.append(unreadable(text.mid(position)));
            break;
        }
        const QString ai = text.mid(position + 1, aiLength).toString();
        const qsizetype valueStart = position + aiLength + 2;
        // A bracket may be part of a value; only one that opens a well-formed identifier ends it.
        qsizetype valueEnd = valueStart;
        while (valueEnd < text.size() && bracketedAiLength(text, valueEnd) < 0) {
            ++valueEnd;
        }
        data.elements.append(elementOf(ai, text.mid(valueStart, valueEnd - valueStart).toString(), today));
        position = valueEnd;
    }
    return data;
}

Gs1Elements readUnbracketed(QStringView text, QDate today)
{
    // A symbology identifier such as "]C1" or "]d2" may lead the data.
    if (text.size() >= 3 && text[0] == u']') {
        text = text.mid(3);
    }
    Gs1Elements data;
    qsizetype position = 0;
    while (position < text.size()) {
        if (text[position] == groupSeparator) {
            ++position;
            continue;
        }
        qsizetype aiLength = 0;
        const Definition *definition = definitionAtStart(text.mid(position), aiLength);
        if (!definition) {
            data.elements.append(unreadable(text.mid(position)));
            break;
        }
        const QString ai = text.mid(position, aiLength).toString();
        const qsizetype valueStart = position + aiLength;
        qsizetype valueEnd;
        if (hasPredefinedLength(ai)) {
            valueEnd = qMin(text.size(), valueStart + definition->maximumLength);
        } else {
            valueEnd = text.indexOf(groupSeparator, valueStart);
            if (valueEnd < 0) {
                valueEnd = text.size();
            }
        }
        data.elements.append(elementOf(ai, text.mid(valueStart, valueEnd - valueStart).toString(), today));
        position = valueEnd;
    }
    return data;
}

bool isPrimaryKey(QStringView ai)
{
    static const QStringList keys{QStringLiteral("00"),
                                  QStringLiteral("01"),
                                  QStringLiteral("253"),
                                  QStringLiteral("255"),
                                  QStringLiteral("401"),
                                  QStringLiteral("402"),
                                  QStringLiteral("414"),
                                  QStringLiteral("417"),
                                  QStringLiteral("8003"),
                                  QStringLiteral("8004"),
                                  QStringLiteral("8006"),
                                  QStringLiteral("8010"),
                                  QStringLiteral("8013"),
                                  QStringLiteral("8017"),
                                  QStringLiteral("8018")};
    return keys.contains(ai);
}

std::optional<Gs1Elements> readDigitalLink(const QString &text, QDate today)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) {
        return std::nullopt;
    }
    // Split before decoding: an escaped slash belongs to a value.
    const QString path = url.path(QUrl::FullyEncoded);
    const QList<QStringView> segments = QStringView(path).split(u'/', Qt::SkipEmptyParts);
    // The key and at most three qualifiers end the path; whatever comes before them is the site's own.
    constexpr qsizetype maximumPairs = 4;
    qsizetype start = -1;
    for (qsizetype i = qMax<qsizetype>(0, segments.size() - 2 * maximumPairs); i + 1 < segments.size() && start < 0; ++i) {
        if ((segments.size() - i) % 2 != 0 || !isPrimaryKey(segments[i])) {
            continue;
        }
        bool qualifiersKnown = true;
        for (qsizetype qualifier = i + 2; qualifier < segments.size(); qualifier += 2) {
            qualifiersKnown = qualifiersKnown && isDigits(segments[qualifier]) && definitionOf(segments[qualifier]);
        }
        if (qualifiersKnown) {
            start = i;
        }
    }
    if (start < 0) {
        return std::nullopt;
    }

    Gs1Elements data;
    data.host = url.host(QUrl::FullyEncoded);
    for (qsizetype i = start; i + 1 < segments.size(); i += 2) {
        QString value = UriComponents::percentDecoded(segments[i + 1]);
        // Links may give the shorter forms of a GTIN; as data it always has fourteen digits.
        if (segments[i] == u"01" && isDigits(value) && (value.size() == 8 || value.size() == 12 || value.size() == 13)) {
            value = QString(14 - value.size(), u'0') + value;
        }
        data.elements.append(elementOf(segments[i].toString(), value, today));
    }
    for (const auto &[name, value] : UriComponents::queryItems(url.query(QUrl::FullyEncoded))) {
        // Other query parameters belong to the site, not to the data.
        if (name.size() >= 2 && name.size() <= 4 && isDigits(name)) {
            data.elements.append(elementOf(name, value, today));
        }
    }
    return data;
}
}

std::optional<Gs1Elements> Gs1Elements::parse(const QString &text, bool isGs1, QDate today)
{
    if (text.isEmpty() || text.size() > UriComponents::maximumPayloadLength) {
        return std::nullopt;
    }
    if (UriComponents::hasScheme(text, u"https://") || UriComponents::hasScheme(text, u"http://")) {
        return readDigitalLink(text, today);
    }
    if (!isGs1) {
        return std::nullopt;
    }
    return text.startsWith(u'(') ? readBracketed(text, today) : readUnbracketed(text, today);
}

}
