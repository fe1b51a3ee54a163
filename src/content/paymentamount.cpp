// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "paymentamount.h"

#include <algorithm>

namespace Brevlinder::Content
{

namespace
{
constexpr qsizetype mostWholeDigits = 9;
constexpr qsizetype mostDecimals = 2;
constexpr qsizetype longestAmount = 12;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
}

CheckedValue PaymentAmount::check(const QString &number)
{
    CheckedValue result{number, KLocalizedString()};
    if (number.isEmpty()) {
        result.problem = ki18n("The amount has no digits.");
        return result;
    }

    const qsizetype point = number.indexOf(u'.');
    const QStringView whole = QStringView(number).left(point < 0 ? number.size() : point);
    const QStringView decimals = point < 0 ? QStringView() : QStringView(number).mid(point + 1);
    const bool digitsOnly = std::all_of(whole.begin(), whole.end(), isAsciiDigit) && std::all_of(decimals.begin(), decimals.end(), isAsciiDigit);
    if (!digitsOnly || whole.isEmpty() || (point >= 0 && decimals.isEmpty()) || decimals.size() > mostDecimals) {
        result.problem = ki18n("The amount must be written with digits and a point before at most two decimals, such as 12.30.");
        return result;
    }

    // Leading zeros do not make an amount larger, so they are skipped before counting the whole digits.
    qsizetype firstSignificant = 0;
    while (firstSignificant < whole.size() && whole.at(firstSignificant) == u'0') {
        ++firstSignificant;
    }
    const bool zero = firstSignificant == whole.size() && std::all_of(decimals.begin(), decimals.end(), [](QChar c) {
                          return c == u'0';
                      });
    if (whole.size() - firstSignificant > mostWholeDigits || zero) {
        result.problem = ki18n("The amount must lie between 0.01 and 999999999.99.");
    } else if (number.size() > longestAmount) {
        result.problem = ki18n("The amount is written with more than 12 characters.");
    }
    return result;
}

}
