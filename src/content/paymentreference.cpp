// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "paymentreference.h"

#include "iban.h"

#include <array>

namespace Brevlinder::Content
{

namespace
{
constexpr qsizetype qrReferenceLength = 27;
constexpr qsizetype longestCreditorReference = 25;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString withoutSpaces(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c != u' ') {
            result.append(c);
        }
    }
    return result;
}
}

CheckedValue PaymentReference::checkCreditorReference(const QString &text)
{
    const QString reference = withoutSpaces(text);
    CheckedValue result{reference, KLocalizedString()};
    if (!reference.startsWith(u"RF")) {
        result.problem = ki18n("A creditor reference must begin with RF.");
        return result;
    }
    if (reference.size() < 5 || reference.size() > longestCreditorReference) {
        result.problem = ki18n("A creditor reference has 5 to 25 characters.");
        return result;
    }
    if (!isAsciiDigit(reference.at(2)) || !isAsciiDigit(reference.at(3))) {
        result.problem = ki18n("A creditor reference must have two check digits after RF.");
        return result;
    }
    const int remainder = Iban::remainder97(QString(reference.mid(4) + reference.left(4)));
    if (remainder < 0) {
        result.problem = ki18n("A creditor reference may hold only capital letters and digits.");
    } else if (remainder != 1) {
        result.problem = ki18n("The creditor reference's check digits are wrong.");
    }
    return result;
}

int PaymentReference::mod10RecursiveCheckDigit(QStringView digits)
{
    static constexpr std::array<int, 10> table = {0, 9, 4, 6, 8, 2, 7, 1, 3, 5};
    int carry = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') {
            return -1;
        }
        carry = table[(carry + (c.unicode() - u'0')) % 10];
    }
    return (10 - carry) % 10;
}

CheckedValue PaymentReference::checkQrReference(const QString &text)
{
    CheckedValue result{text, KLocalizedString()};
    if (text.size() != qrReferenceLength) {
        result.problem = ki18np("The QR reference has %1 character; it must have 27 digits.", "The QR reference has %1 characters; it must have 27 digits.")
                             .subs(int(text.size()));
        return result;
    }
    const int checkDigit = mod10RecursiveCheckDigit(QStringView(text).left(qrReferenceLength - 1));
    const QChar last = text.back();
    if (checkDigit < 0 || last < u'0' || last > u'9') {
        result.problem = ki18n("The QR reference may hold only digits.");
    } else if (checkDigit != last.unicode() - u'0') {
        result.problem = ki18n("The QR reference's check digit is wrong.");
    }
    return result;
}

}
