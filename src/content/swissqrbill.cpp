// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "swissqrbill.h"

#include "iban.h"
#include "paymentamount.h"
#include "paymentreference.h"

#include <algorithm>

namespace Brevlinder::Content
{

namespace
{
// Header (3), IBAN, creditor (7), ultimate creditor (7), amount and currency, debtor (7), reference type and
// reference, message and the closing "EPD"; then billing information and two alternative schemes may follow.
constexpr qsizetype fewestLines = 31;
constexpr qsizetype mostLines = 34;
constexpr qsizetype trailerLine = 30;
constexpr qsizetype mostCharacters = 997;

constexpr qsizetype longestName = 70;
constexpr qsizetype longestAddressLine = 70;
constexpr qsizetype longestBuildingNumber = 16;
constexpr qsizetype longestPostalCode = 16;
constexpr qsizetype longestTown = 35;
constexpr qsizetype longestMessage = 140;
constexpr qsizetype longestAlternativeScheme = 100;

// Banks accept the Latin letters of the Swiss national languages and their neighbours, and nothing beyond.
bool isPermittedCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x20 && u <= 0x7e) || (u >= 0xa0 && u <= 0x17f) || (u >= 0x218 && u <= 0x21b) || u == 0x20ac;
}

bool isCountryCode(const QString &country)
{
    return country.size() == 2 && std::all_of(country.begin(), country.end(), [](QChar c) {
               return c >= u'A' && c <= u'Z';
           });
}

SwissQrBill::Address readAddress(const QStringList &lines, qsizetype first)
{
    SwissQrBill::Address address;
    address.type = lines.at(first);
    address.name = lines.at(first + 1);
    address.streetOrLine1 = lines.at(first + 2);
    address.buildingNumberOrLine2 = lines.at(first + 3);
    address.postalCode = lines.at(first + 4);
    address.town = lines.at(first + 5);
    address.country = lines.at(first + 6);
    return address;
}

KLocalizedString checkAddress(const SwissQrBill::Address &address)
{
    if (address.type != u"S" && address.type != u"K") {
        return ki18n("The address type must be S (structured) or K (combined).");
    }
    if (address.name.isEmpty()) {
        return ki18n("The address has no name.");
    }
    if (address.name.size() > longestName || address.streetOrLine1.size() > longestAddressLine) {
        return ki18n("The address has a line longer than 70 characters.");
    }
    if (address.type == u"S") {
        if (address.buildingNumberOrLine2.size() > longestBuildingNumber || address.postalCode.size() > longestPostalCode
            || address.town.size() > longestTown) {
            return ki18n("The address's building number, postcode or town is too long.");
        }
        if (address.postalCode.isEmpty() || address.town.isEmpty()) {
            return ki18n("The address has no postcode or no town.");
        }
    } else {
        if (address.buildingNumberOrLine2.size() > longestAddressLine) {
            return ki18n("The address has a line longer than 70 characters.");
        }
        if (address.buildingNumberOrLine2.isEmpty()) {
            return ki18n("The address has no line with its postcode and town.");
        }
        if (!address.postalCode.isEmpty() || !address.town.isEmpty()) {
            return ki18n("A combined address gives its postcode and town in its second line, not apart.");
        }
    }
    if (!isCountryCode(address.country)) {
        return ki18n("The address's country must be a two-letter country code.");
    }
    return KLocalizedString();
}

SwissQrBill::ReferenceType readReferenceType(const QString &type)
{
    if (type == u"QRR") {
        return SwissQrBill::ReferenceType::QrReference;
    }
    if (type == u"SCOR") {
        return SwissQrBill::ReferenceType::CreditorReference;
    }
    if (type == u"NON") {
        return SwissQrBill::ReferenceType::NoReference;
    }
    return SwissQrBill::ReferenceType::Unknown;
}

CheckedValue checkReference(SwissQrBill::ReferenceType type, const QString &reference, bool toQrIban)
{
    CheckedValue result{reference, KLocalizedString()};
    switch (type) {
    case SwissQrBill::ReferenceType::QrReference:
        result = PaymentReference::checkQrReference(reference);
        if (result.isSound() && !toQrIban) {
            result.problem = ki18n("A QR reference can only be paid to a QR-IBAN.");
        }
        break;
    case SwissQrBill::ReferenceType::CreditorReference:
        if (reference.contains(u' ')) {
            result.problem = ki18n("The reference must be written without spaces.");
            break;
        }
        result = PaymentReference::checkCreditorReference(reference);
        if (result.isSound() && toQrIban) {
            result.problem = ki18n("A payment to a QR-IBAN needs a QR reference.");
        }
        break;
    case SwissQrBill::ReferenceType::NoReference:
        if (!reference.isEmpty()) {
            result.problem = ki18n("The bill says it has no reference, but gives one.");
        } else if (toQrIban) {
            result.problem = ki18n("A payment to a QR-IBAN needs a QR reference.");
        }
        break;
    case SwissQrBill::ReferenceType::Unknown:
        result.problem = ki18n("The reference type must be QRR, SCOR or NON.");
        break;
    }
    return result;
}
}

bool SwissQrBill::Address::isEmpty() const
{
    return type.isEmpty() && name.isEmpty() && streetOrLine1.isEmpty() && buildingNumberOrLine2.isEmpty() && postalCode.isEmpty() && town.isEmpty()
        && country.isEmpty();
}

std::optional<SwissQrBill> SwissQrBill::parse(const QString &text)
{
    if (!text.startsWith(u"SPC")) {
        return std::nullopt;
    }
    QStringView body(text);
    if (body.endsWith(u'\n')) {
        body.chop(body.endsWith(u"\r\n") ? 2 : 1);
    }
    // Counted before splitting, so that a long text with many lines is turned away without copying it.
    if (body.count(u'\n') >= mostLines) {
        return std::nullopt;
    }
    QStringList lines = body.toString().split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
    }
    if (lines.size() < fewestLines || lines.at(0) != u"SPC" || lines.at(trailerLine) != u"EPD" || !lines.at(1).startsWith(u"02")) {
        return std::nullopt;
    }

    SwissQrBill bill;
    bill.version = lines.at(1);
    if (bill.version != u"0200") {
        bill.warnings.append(ki18n("The bill is of a version this program does not know; its fields may be misread."));
    }
    if (lines.at(2) != u"1") {
        bill.warnings.append(ki18n("The bill names a coding other than UTF-8."));
    }
    if (text.size() > mostCharacters) {
        bill.warnings.append(ki18n("The bill is longer than 997 characters; banking apps may refuse it."));
    }
    bool allPermitted = true;
    for (qsizetype i = 0; i < body.size() && allPermitted; ++i) {
        const QChar c = body.at(i);
        // A CR is only part of a line break; one alone would show as a break in some apps and not in others.
        allPermitted = isPermittedCharacter(c) || c == u'\n' || (c == u'\r' && i + 1 < body.size() && body.at(i + 1) == u'\n');
    }
    if (!allPermitted) {
        bill.warnings.append(ki18n("The bill holds characters that Swiss banks do not accept."));
    }

    bill.iban = Iban::check(lines.at(3));
    if (bill.iban.isSound()) {
        if (lines.at(3).contains(u' ')) {
            bill.iban.value = lines.at(3);
            bill.iban.problem = ki18n("The IBAN must be written without spaces.");
        } else if (!bill.iban.value.startsWith(u"CH") && !bill.iban.value.startsWith(u"LI")) {
            bill.iban.problem = ki18n("The creditor's account must be in Switzerland or Liechtenstein.");
        } else if (bill.iban.value.size() != 21) {
            bill.iban.problem = ki18n("A Swiss or Liechtenstein IBAN has 21 characters.");
        }
    }

    bill.creditor = readAddress(lines, 4);
    bill.creditor.problem = checkAddress(bill.creditor);
    if (!readAddress(lines, 11).isEmpty()) {
        bill.warnings.append(ki18n("The bill fills in the lines kept free for an ultimate creditor; they are not shown."));
    }

    if (!lines.at(18).isEmpty()) {
        bill.amount = PaymentAmount::check(lines.at(18));
    }
    bill.currency.value = lines.at(19);
    if (bill.currency.value != u"CHF" && bill.currency.value != u"EUR") {
        bill.currency.problem = ki18n("The currency must be CHF or EUR.");
    }

    Address debtor = readAddress(lines, 20);
    if (!debtor.isEmpty()) {
        debtor.problem = checkAddress(debtor);
        bill.debtor = debtor;
    }

    bill.referenceType = readReferenceType(lines.at(27));
    bill.reference = checkReference(bill.referenceType, lines.at(28), Iban::isQrIban(bill.iban.value));

    bill.message = lines.at(29);
    if (lines.size() > trailerLine + 1) {
        bill.billingInformation = lines.at(trailerLine + 1);
    }
    if (bill.message.size() + bill.billingInformation.size() > longestMessage) {
        bill.warnings.append(ki18n("The message and the billing information together are longer than 140 characters."));
    }
    for (qsizetype i = trailerLine + 2; i < lines.size(); ++i) {
        bill.alternativeSchemes.append(lines.at(i));
        if (lines.at(i).size() > longestAlternativeScheme) {
            bill.warnings.append(ki18n("An alternative scheme's line is longer than 100 characters."));
        }
    }
    return bill;
}

}
