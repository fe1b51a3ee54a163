// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "wifinetwork.h"
#include "mecardfields.h"

#include <algorithm>

namespace Brevlinder::Content
{

namespace
{

using Security = WifiNetwork::Security;

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

bool isHex(QStringView text)
{
    for (const QChar c : text) {
        if (!isHexDigit(c)) {
            return false;
        }
    }
    return !text.isEmpty();
}

bool hasPercentEscape(QStringView text)
{
    for (qsizetype i = 0; i + 2 < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('%') && isHexDigit(text.at(i + 1)) && isHexDigit(text.at(i + 2))) {
            return true;
        }
    }
    return false;
}

// Generators write the kind of security in many spellings; Android's own share sheet writes SAE for WPA3.
Security securityFromName(const QString &name)
{
    const QString upper = name.trimmed().toUpper();
    if (upper.isEmpty() || upper == QLatin1String("NOPASS")) {
        return Security::Open;
    }
    if (upper == QLatin1String("WEP")) {
        return Security::Wep;
    }
    if (upper == QLatin1String("WPA") || upper == QLatin1String("WPA2") || upper == QLatin1String("WPA/WPA2") || upper == QLatin1String("WPA2/WPA3")
        || upper == QLatin1String("WPA-PSK") || upper == QLatin1String("WPA2-PSK")) {
        return Security::WpaPersonal;
    }
    if (upper == QLatin1String("WPA3") || upper == QLatin1String("SAE") || upper == QLatin1String("WPA3-SAE")) {
        return Security::Sae;
    }
    if (upper == QLatin1String("EAP") || upper.endsWith(QLatin1String("-EAP"))) {
        return Security::Wpa2Eap;
    }
    return Security::Unknown;
}

KLocalizedString passwordProblem(Security security, const QString &password, bool quoted)
{
    const qsizetype bytes = password.toUtf8().size();
    // Quotes mark a passphrase that merely looks like hexadecimal digits.
    const bool hexKey = !quoted && isHex(password);
    switch (security) {
    case Security::Open:
        if (!password.isEmpty()) {
            return ki18nc("@info", "An open network takes no password; the one the code gives is not used.");
        }
        break;
    case Security::WpaPersonal:
        if (password.isEmpty()) {
            return ki18nc("@info", "The code gives no password for the network.");
        }
        if ((bytes < 8 || bytes > 63) && !(hexKey && password.size() == 64)) {
            return ki18nc("@info", "A WPA password has 8 to 63 bytes, or 64 hexadecimal digits; this one has neither.");
        }
        break;
    case Security::Sae:
        if (password.isEmpty()) {
            return ki18nc("@info", "The code gives no password for the network.");
        }
        break;
    case Security::Wep:
        if (password.isEmpty()) {
            return ki18nc("@info", "The code gives no password for the network.");
        }
        if (bytes != 5 && bytes != 13 && !(hexKey && (password.size() == 10 || password.size() == 26))) {
            return ki18nc("@info", "A WEP key has 5 or 13 characters, or 10 or 26 hexadecimal digits; this one has neither.");
        }
        break;
    case Security::Wpa2Eap:
    case Security::Unknown:
        break;
    }
    return KLocalizedString();
}

QString unquotedValueOf(const MeCardFields &fields, QLatin1StringView key)
{
    const auto field = fields.first(key);
    return field ? field->unquotedValue() : QString();
}

}

std::optional<WifiNetwork> WifiNetwork::parse(const QString &text)
{
    const auto fields = MeCardFields::parse(text, QLatin1StringView("WIFI:"));
    if (!fields) {
        return std::nullopt;
    }
    static const QLatin1StringView knownKeys[] = {QLatin1StringView("S"),
                                                  QLatin1StringView("T"),
                                                  QLatin1StringView("P"),
                                                  QLatin1StringView("H"),
                                                  QLatin1StringView("E"),
                                                  QLatin1StringView("A"),
                                                  QLatin1StringView("AI"),
                                                  QLatin1StringView("I"),
                                                  QLatin1StringView("PH2"),
                                                  QLatin1StringView("K"),
                                                  QLatin1StringView("R")};
    const bool anyKnown = std::any_of(std::begin(knownKeys), std::end(knownKeys), [&fields](QLatin1StringView key) {
        return fields->first(key).has_value();
    });
    if (!anyKnown) {
        // "WIFI: is free here" is a sentence, not a network.
        return std::nullopt;
    }

    WifiNetwork network;

    const auto ssid = fields->first(QLatin1StringView("S"));
    network.ssid.value = ssid ? ssid->unquotedValue() : QString();
    if (network.ssid.value.isEmpty()) {
        network.ssid.problem = ki18nc("@info", "The code names no network.");
    } else if (network.ssid.value.toUtf8().size() > 32) {
        network.ssid.problem = ki18nc("@info", "The network name is longer than the 32 bytes that a network's name can have.");
    } else if (!ssid->isQuoted() && network.ssid.value.size() % 2 == 0 && isHex(network.ssid.value)) {
        network.warnings.append(ki18nc("@info", "The network name “%1” is taken as written, though some codes spell a name in hexadecimal digits like these.")
                                    .subs(network.ssid.value));
    }

    network.securityName = unquotedValueOf(*fields, QLatin1StringView("T"));
    network.security = securityFromName(network.securityName);
    network.publicKey = unquotedValueOf(*fields, QLatin1StringView("K"));
    if (!network.publicKey.isEmpty() && (network.security == Security::WpaPersonal || network.security == Security::Sae || network.securityName.isEmpty())) {
        // Only SAE can check an access point's public key.
        network.security = Security::Sae;
    }
    if (network.security == Security::Unknown) {
        network.warnings.append(ki18nc("@info", "The code names a kind of security that is not known: “%1”.").subs(network.securityName));
    }

    const auto password = fields->first(QLatin1StringView("P"));
    network.password.value = password ? password->unquotedValue() : QString();
    network.password.problem = passwordProblem(network.security, network.password.value, password && password->isQuoted());

    const QString hidden = unquotedValueOf(*fields, QLatin1StringView("H"));
    network.hidden = hidden.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    network.phase2Method = unquotedValueOf(*fields, QLatin1StringView("PH2"));
    if (network.phase2Method.isEmpty() && !network.hidden && !hidden.isEmpty() && hidden.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0) {
        // Older generators put the phase 2 method into H.
        network.phase2Method = hidden;
    }

    network.eapMethod = unquotedValueOf(*fields, QLatin1StringView("E"));
    network.anonymousIdentity = unquotedValueOf(*fields, QLatin1StringView("A"));
    if (network.anonymousIdentity.isEmpty()) {
        network.anonymousIdentity = unquotedValueOf(*fields, QLatin1StringView("AI"));
    }
    network.identity = unquotedValueOf(*fields, QLatin1StringView("I"));
    network.transitionDisable = unquotedValueOf(*fields, QLatin1StringView("R"));

    if (network.security == Security::Wpa2Eap) {
        network.warnings.append(ki18nc("@info",
                                       "The code carries no certificate or domain to check the network's server by, so any server "
                                       "that takes this network's name could receive the password."));
    }
    if (hasPercentEscape(network.ssid.value) || hasPercentEscape(network.password.value) || hasPercentEscape(network.identity)
        || hasPercentEscape(network.anonymousIdentity)) {
        network.warnings.append(ki18nc("@info", "The code has percent signs before hexadecimal digits; they are taken as written, not decoded."));
    }
    if (fields->hasConflictingRepeats()) {
        network.warnings.append(ki18nc("@info", "The code gives a field more than once with different values; the first of each is used."));
    }
    return network;
}

}
