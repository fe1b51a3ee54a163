// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "checkedvalue.h"

#include <QString>

namespace Brevlinder::Content
{

/**
 * The amount of a credit transfer as payment codes write it: a point before at most two decimals, from 0.01 to
 * 999999999.99. A comma, a sign or a third decimal would be read differently by different banking apps, so such an
 * amount is shown with its problem rather than guessed at.
 */
struct PaymentAmount {
    static CheckedValue check(const QString &number);
};

}
