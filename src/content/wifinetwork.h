// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "checkedvalue.h"

#include <KLocalizedString>

#include <QList>
#include <QString>

#include <optional>

namespace Brevlinder::Content
{

/**
 * A Wi-Fi network to join, from a `WIFI:S:name;T:WPA;P:password;;` code as phones share them.
 */
struct WifiNetwork {
    enum class Security {
        Open,
        Wep,
        /// WPA, WPA2 or WPA3 with a pre-shared key; WPA3 access points in transition mode take it too.
        WpaPersonal,
        /// WPA3 only (SAE), which takes a password of any length.
        Sae,
        Wpa2Eap,
        /// A kind the code names that none of the above is; securityName says which.
        Unknown,
    };

    /// The network's name; a problem when the code names none or a longer one than a network can have.
    CheckedValue ssid;
    Security security = Security::Open;
    /// The security as the code names it (T), empty when it names none.
    QString securityName;
    /// A problem when the password cannot be one for the network's security.
    CheckedValue password;
    bool hidden = false;

    QString eapMethod;
    QString anonymousIdentity;
    /// The user's identity with EAP; with SAE, the identifier of the password.
    QString identity;
    QString phase2Method;
    /// The access point's public key for SAE-PK.
    QString publicKey;
    /// Whether the access point asks to turn its transition mode off (R).
    QString transitionDisable;

    /// What the user should know about the code as a whole before joining the network.
    QList<KLocalizedString> warnings;

    /// The network that @p text describes, or nullopt if it is no Wi-Fi code.
    static std::optional<WifiNetwork> parse(const QString &text);
};

}
