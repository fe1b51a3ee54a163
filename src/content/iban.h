// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "checkedvalue.h"

#include <QString>

namespace Brevlinder::Content
{

/**
 * International bank account numbers as payment codes carry them. A mistyped or misprinted IBAN still shows, with
 * the reason beside it, so that the user can compare it with the paper bill.
 */
struct Iban {
    /**
     * Checks @p text as an IBAN: two letters of the country, two check digits and up to 30 letters or digits of the
     * account, with the mod-97 check over all of them. Spaces between the groups are allowed; the value returned is
     * the IBAN without them.
     */
    static CheckedValue check(const QString &text);

    /// @p iban in groups of four, as printed on a bill, so that it can be compared group by group.
    static QString grouped(const QString &iban);

    /**
     * Whether @p iban is a Swiss or Liechtenstein QR-IBAN: its institution identification lies in 30000–31999, and
     * a payment to it must carry a QR reference.
     */
    static bool isQrIban(const QString &iban);

    /// The remainder of @p text (letters counting 10 to 35) divided by 97, or -1 when it holds other characters.
    static int remainder97(QStringView text);
};

}
