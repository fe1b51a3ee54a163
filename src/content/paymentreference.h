// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "checkedvalue.h"

#include <QString>

namespace Brevlinder::Content
{

/**
 * The references that tie a payment to its invoice. A creditor's accounting matches payments by them, so a wrong
 * check digit is shown rather than hidden: the payment would arrive but not be matched.
 */
struct PaymentReference {
    /**
     * Checks @p text as an international creditor reference: "RF", two check digits and 1 to 21 letters or digits,
     * mod 97. Spaces between the groups are allowed; the value returned is the reference without them.
     */
    static CheckedValue checkCreditorReference(const QString &text);

    /// Checks @p text as a Swiss QR reference: 27 digits, the last a recursive mod-10 check digit.
    static CheckedValue checkQrReference(const QString &text);

    /// The recursive mod-10 check digit of @p digits, or -1 when @p digits holds anything but digits.
    static int mod10RecursiveCheckDigit(QStringView digits);
};

}
