// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "kindcards.h"

namespace Brevlinder::ContentDisplay
{

namespace
{

QString securityText(const Content::WifiNetwork &network)
{
    using Security = Content::WifiNetwork::Security;
    switch (network.security) {
    case Security::Open:
        return i18nc("@label Wi-Fi security", "None (open network)");
    case Security::Wep:
        return i18nc("@label Wi-Fi security", "WEP");
    case Security::WpaPersonal:
        return i18nc("@label Wi-Fi security", "WPA/WPA2 Personal");
    case Security::Sae:
        return i18nc("@label Wi-Fi security", "WPA3 Personal (SAE)");
    case Security::Wpa2Eap:
        return i18nc("@label Wi-Fi security", "WPA2 Enterprise (EAP)");
    case Security::Unknown:
        break;
    }
    return network.securityName;
}

}

CardContents KindCards::wifi(const Content::WifiNetwork &network)
{
    using Security = Content::WifiNetwork::Security;
    CardContents card;
    card.title = i18nc("@title:group", "Wi-Fi Network");
    // With EAP, the reader already warns that the code carries no server certificate check.
    card.warnings = sentences(network.warnings);

    card.rows.append(checkedRow(i18nc("@label", "Network name:"), network.ssid));
    KindCards::addRow(card, i18nc("@label", "Security:"), securityText(network));
    if (!network.password.value.isEmpty() || !network.password.isSound()) {
        card.rows.append(checkedRow(i18nc("@label", "Password:"), network.password));
    }
    KindCards::addRow(card, i18nc("@label", "Hidden network:"), network.hidden ? i18nc("@label hidden network", "Yes") : i18nc("@label hidden network", "No"));
    KindCards::addRow(card, i18nc("@label", "EAP method:"), network.eapMethod);
    KindCards::addRow(card, i18nc("@label", "Identity:"), network.identity);
    KindCards::addRow(card, i18nc("@label", "Anonymous identity:"), network.anonymousIdentity);
    KindCards::addRow(card, i18nc("@label", "Inner authentication:"), network.phase2Method);

    CardAction connect;
    connect.kind = CardAction::Kind::Connect;
    connect.label = ki18nc("@action:button %1 is a network name", "Connect to “%1”");
    connect.target = network.ssid.value;
    if (!network.ssid.isSound()) {
        connect.disabledReason = network.ssid.problem.toString();
    } else if (!network.password.isSound()) {
        connect.disabledReason = network.password.problem.toString();
    } else if (network.security == Security::Unknown) {
        connect.disabledReason = i18nc("@info:tooltip", "The code names a kind of security that is not known: “%1”.", network.securityName);
    }
    card.actions.append(connect);
    card.network = network;

    if (!network.password.value.isEmpty()) {
        CardAction copy;
        copy.kind = CardAction::Kind::Copy;
        copy.label = ki18nc("@action:button", "Copy Password");
        copy.text = network.password.value;
        copy.secret = true;
        if (!network.password.isSound()) {
            copy.disabledReason = network.password.problem.toString();
        }
        card.actions.append(copy);
    }
    return card;
}

}
