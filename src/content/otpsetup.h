// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "checkedvalue.h"

#include <QList>
#include <QString>

#include <optional>

namespace Brevlinder::Content
{

/**
 * The set-up of a one-time password generator from an otpauth:// address: who issues it, for which account, and the
 * shared secret with the parameters that an authenticator needs to produce the same codes as the server.
 */
struct OtpSetup {
    enum class Kind {
        /// Codes that change with the time.
        TimeBased,
        /// Codes that change with a counter on every use.
        CounterBased,
    };

    Kind kind = Kind::TimeBased;
    /// The issuer from the issuer parameter, or else from the label.
    QString issuer;
    /// The issuer as the label names it before its colon, empty when it names none.
    QString labelIssuer;
    QString account;
    /// Base32, in upper case without spaces or padding; a problem when it is missing or not base32.
    CheckedValue secret;
    /// SHA1, SHA256 or SHA512.
    CheckedValue algorithm;
    /// How many digits a code has: 6, 7 or 8.
    CheckedValue digits;
    /// Seconds a time-based code lasts; empty for counter-based ones.
    CheckedValue period;
    /// The counter's start for counter-based codes, which cannot work without it; empty for time-based ones.
    CheckedValue counter;
    QList<KLocalizedString> warnings;

    /// An "otpauth://totp/…" or "otpauth://hotp/…" address; std::nullopt for any other text.
    static std::optional<OtpSetup> parse(const QString &text);
};

}
