// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <KLocalizedString>

#include <QString>

namespace Brevlinder::Content
{

/**
 * A value as a code gives it, and what is wrong with it if its own check fails (an IBAN's check digits, a Wi-Fi
 * password's length): a broken value is still shown, with the reason beside it, but nothing acts on it.
 */
struct CheckedValue {
    QString value;
    /// Empty when the value passed its checks, or has none.
    KLocalizedString problem;

    bool isSound() const;
};

}
