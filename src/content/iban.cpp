// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "iban.h"

namespace Brevlinder::Content
{

namespace
{
constexpr qsizetype shortestIban = 15;
constexpr qsizetype longestIban = 34;

bool isUpperLetter(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
}

int Iban::remainder97(QStringView text)
{
    // Digit by digit, so that an account number of any length never needs a big integer.
    int remainder = 0;
    for (const QChar c : text) {
        if (isDigit(c)) {
            remainder = (remainder * 10 + (c.unicode() - u'0')) % 97;
        } else if (isUpperLetter(c)) {
            remainder = (remainder * 100 + (c.unicode() - u'A' + 10)) % 97;
        } else {
            return -1;
        }
    }
    return remainder;
}

CheckedValue Iban::check(const QString &text)
{
    QString iban;
    iban.reserve(text.size());
    for (const QChar c : text) {
        if (c != u' ') {
            iban.append(c);
        }
    }

    CheckedValue result{iban, KLocalizedString()};
    if (iban.isEmpty()) {
        result.problem = ki18n("The IBAN is missing.");
        return result;
    }
    for (const QChar c : std::as_const(iban)) {
        if (!isUpperLetter(c) && !isDigit(c)) {
            result.problem = ki18n("The IBAN may hold only capital letters and digits.");
            return result;
        }
    }
    if (iban.size() < shortestIban || iban.size() > longestIban) {
        result.problem = ki18np("The IBAN has %1 character; an IBAN has 15 to 34.", "The IBAN has %1 characters; an IBAN has 15 to 34.").subs(int(iban.size()));
        return result;
    }
    if (!isUpperLetter(iban.at(0)) || !isUpperLetter(iban.at(1)) || !isDigit(iban.at(2)) || !isDigit(iban.at(3))) {
        result.problem = ki18n("The IBAN must begin with two letters of its country and two check digits.");
        return result;
    }
    // 00, 01 and 99 pass the remainder test whenever 97, 98 and 02 would, but no bank issues them.
    const QStringView checkDigits = QStringView(iban).mid(2, 2);
    if (checkDigits == u"00" || checkDigits == u"01" || checkDigits == u"99") {
        result.problem = ki18n("The IBAN's check digits are wrong.");
        return result;
    }
    const QString rearranged = iban.mid(4) + iban.left(4);
    if (remainder97(rearranged) != 1) {
        result.problem = ki18n("The IBAN's check digits are wrong.");
    }
    return result;
}

QString Iban::grouped(const QString &iban)
{
    QString grouped;
    grouped.reserve(iban.size() + iban.size() / 4);
    for (qsizetype i = 0; i < iban.size(); ++i) {
        if (i > 0 && i % 4 == 0) {
            grouped.append(u' ');
        }
        grouped.append(iban.at(i));
    }
    return grouped;
}

bool Iban::isQrIban(const QString &iban)
{
    if (iban.size() != 21 || !(iban.startsWith(u"CH") || iban.startsWith(u"LI"))) {
        return false;
    }
    bool ok = false;
    const int institution = QStringView(iban).mid(4, 5).toInt(&ok);
    return ok && institution >= 30000 && institution <= 31999;
}

}
