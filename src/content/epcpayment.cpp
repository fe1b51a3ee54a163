// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "epcpayment.h"

#include "iban.h"
#include "paymentamount.h"
#include "paymentreference.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace Brevlinder::Content
{

namespace
{
constexpr qsizetype fewestLines = 7;
constexpr qsizetype mostLines = 12;
constexpr qsizetype mostBytes = 331;

constexpr qsizetype longestName = 70;
constexpr qsizetype longestReference = 35;
constexpr qsizetype longestRemittanceText = 140;
constexpr qsizetype longestInformation = 70;

bool isUpperLetter(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

bool isUpperAlphanumeric(QChar c)
{
    return isUpperLetter(c) || (c >= u'0' && c <= u'9');
}

bool hasControlCharacter(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.category() == QChar::Other_Control;
    });
}

// The bytes of each line, without the line breaks; an LF or CRLF after the last line ends it rather than adding an
// empty one. Empty when there are more lines than a payment has, before anything is copied.
QList<QByteArray> splitLines(const QByteArray &data)
{
    QByteArray body = data;
    if (body.endsWith('\n')) {
        body.chop(body.endsWith("\r\n") ? 2 : 1);
    }
    if (body.count('\n') >= mostLines) {
        return {};
    }
    QList<QByteArray> lines = body.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}

const char *characterSetName(int characterSet)
{
    static constexpr std::array<const char *, 8> names = {
        "UTF-8",
        "ISO-8859-1",
        "ISO-8859-2",
        "ISO-8859-4",
        "ISO-8859-5",
        "ISO-8859-7",
        "ISO-8859-10",
        "ISO-8859-15",
    };
    return characterSet >= 1 && characterSet <= int(names.size()) ? names[characterSet - 1] : nullptr;
}

// Countries of the European Economic Area (with the French overseas departments that use French IBANs' rules):
// a transfer inside it needs no BIC from version 002 on; one to another SEPA country still does.
bool isInEea(QStringView country)
{
    static constexpr std::array<QStringView, 38> eea = {
        u"AT", u"BE", u"BG", u"HR", u"CY", u"CZ", u"DK", u"EE", u"FI", u"FR", u"DE", u"GR", u"HU", u"IE", u"IT", u"LV", u"LT", u"LU", u"MT",
        u"NL", u"PL", u"PT", u"RO", u"SK", u"SI", u"ES", u"SE", u"IS", u"LI", u"NO", u"GF", u"GP", u"MQ", u"RE", u"YT", u"BL", u"MF", u"PM",
    };
    return std::find(eea.begin(), eea.end(), country) != eea.end();
}

CheckedValue checkBic(const QString &bic, const QString &version, const CheckedValue &iban)
{
    CheckedValue result{bic, KLocalizedString()};
    if (bic.isEmpty()) {
        if (version != u"002") {
            result.problem = ki18n("The BIC is missing.");
        } else if (iban.isSound() && !isInEea(QStringView(iban.value).left(2))) {
            result.problem = ki18n("A transfer to an account outside the European Economic Area needs the bank's BIC.");
        }
        return result;
    }
    // Four letters of the bank, two of its country, two of its place and an optional branch of three.
    const bool shaped = (bic.size() == 8 || bic.size() == 11) && std::all_of(bic.begin(), bic.begin() + 6, isUpperLetter)
        && std::all_of(bic.begin() + 6, bic.end(), isUpperAlphanumeric);
    if (!shaped) {
        result.problem = ki18n("A BIC has 8 or 11 capital letters and digits, the first six of them letters.");
    }
    return result;
}

CheckedValue checkText(const QString &text, qsizetype longest, const KLocalizedString &tooLong)
{
    CheckedValue result{text, KLocalizedString()};
    if (text.size() > longest) {
        result.problem = tooLong;
    } else if (hasControlCharacter(text)) {
        result.problem = ki18n("The text holds control characters.");
    }
    return result;
}
}

std::optional<EpcPayment> EpcPayment::parse(const QByteArray &data)
{
    if (!data.startsWith("BCD")) {
        return std::nullopt;
    }
    const QList<QByteArray> lines = splitLines(data);
    if (lines.size() < fewestLines || lines.at(0) != "BCD") {
        return std::nullopt;
    }

    EpcPayment payment;
    // The first four lines are plain ASCII in every character set; they say how to read the rest.
    payment.version = QString::fromLatin1(lines.at(1));
    payment.identification = QString::fromLatin1(lines.at(3));
    if (payment.version != u"001" && payment.version != u"002") {
        payment.warnings.append(ki18n("The code is of a version this program does not know; its fields may be misread."));
    }
    if (payment.identification != u"SCT") {
        payment.warnings.append(ki18n("The code is not marked as a SEPA credit transfer."));
    }
    if (data.size() > mostBytes) {
        payment.warnings.append(ki18n("The code is longer than a payment code may be; banking apps may refuse it."));
    }

    const QByteArray &characterSetLine = lines.at(2);
    payment.characterSet = characterSetLine.size() == 1 ? characterSetLine.at(0) - '0' : 0;
    const char *name = characterSetName(payment.characterSet);
    if (!name) {
        payment.characterSet = 0;
        payment.warnings.append(ki18n("The code names no known character set; its text is read as UTF-8."));
        name = "UTF-8";
    }
    // Stateless, so that a line cut inside a character counts as undecodable instead of waiting for more bytes.
    QStringDecoder decoder(name, QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) {
        payment.warnings.append(ki18n("This system cannot read the code's character set; its text is read as ISO 8859-1."));
        decoder = QStringDecoder(QStringDecoder::Latin1, QStringConverter::Flag::Stateless);
    }

    QList<QString> fields;
    fields.reserve(mostLines);
    bool undecodable = false;
    for (qsizetype i = 4; i < lines.size(); ++i) {
        QString field = decoder.decode(lines.at(i));
        if (decoder.hasError()) {
            // Codes that name UTF-8 but carry Latin-1 are common; reading them as Latin-1 keeps every byte.
            undecodable = true;
            decoder.resetState();
            field = QString::fromLatin1(lines.at(i));
        }
        fields.append(field);
    }
    if (undecodable) {
        payment.warnings.append(ki18n("The code's text is not valid in the character set it names; it is read as ISO 8859-1."));
    }
    fields.resize(mostLines - 4);

    payment.iban = Iban::check(fields.at(2));
    if (payment.iban.isSound() && fields.at(2).contains(u' ')) {
        payment.iban.value = fields.at(2);
        payment.iban.problem = ki18n("The IBAN must be written without spaces.");
    }
    payment.bic = checkBic(fields.at(0), payment.version, payment.iban);
    payment.beneficiaryName = checkText(fields.at(1), longestName, ki18n("The beneficiary's name is longer than 70 characters."));
    if (payment.beneficiaryName.isSound() && payment.beneficiaryName.value.isEmpty()) {
        payment.beneficiaryName.problem = ki18n("The beneficiary's name is missing.");
    }

    const QString &amount = fields.at(3);
    if (amount.startsWith(u"EUR")) {
        payment.currency = amount.left(3);
        payment.amount = PaymentAmount::check(amount.mid(3));
    } else if (!amount.isEmpty()) {
        payment.amount = CheckedValue{amount, ki18n("The amount must be in euros, written as EUR12.30.")};
    }

    payment.purpose.value = fields.at(4);
    if (!payment.purpose.value.isEmpty()
        && (payment.purpose.value.size() != 4 || !std::all_of(payment.purpose.value.begin(), payment.purpose.value.end(), isUpperLetter))) {
        payment.purpose.problem = ki18n("A purpose code has four capital letters.");
    }

    payment.reference = checkText(fields.at(5), longestReference, ki18n("The reference is longer than 35 characters."));
    if (payment.reference.isSound() && payment.reference.value.startsWith(u"RF")) {
        payment.reference = PaymentReference::checkCreditorReference(payment.reference.value);
        payment.reference.value = fields.at(5);
    }
    payment.remittanceText = checkText(fields.at(6), longestRemittanceText, ki18n("The remittance text is longer than 140 characters."));
    if (!payment.reference.value.isEmpty() && !payment.remittanceText.value.isEmpty()) {
        payment.warnings.append(ki18n("The code carries both a reference and a remittance text; a bank takes only one of them."));
    }
    payment.information = checkText(fields.at(7), longestInformation, ki18n("The note to the payer is longer than 70 characters."));
    return payment;
}

}
