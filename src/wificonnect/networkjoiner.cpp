// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "networkjoiner.h"

#include "wifinetwork.h"

#include <KLocalizedString>
#include <KUser>

#include <NetworkManagerQt/ConnectionSettings>
#include <NetworkManagerQt/GenericTypes>
#include <NetworkManagerQt/WirelessSecuritySetting>
#include <NetworkManagerQt/WirelessSetting>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <algorithm>

namespace Brevlinder::WifiConnect
{

namespace
{

using Security = Content::WifiNetwork::Security;

const QString service = QStringLiteral("org.freedesktop.NetworkManager");
const QString managerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString settingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
const QString settingsInterface = QStringLiteral("org.freedesktop.NetworkManager.Settings");
const QString connectionInterface = QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");

const QString connectionKey = QStringLiteral("connection");
const QString wirelessKey = QStringLiteral("802-11-wireless");
const QString securityKey = QStringLiteral("802-11-wireless-security");
const QString eapKey = QStringLiteral("802-1x");

// Asking the bus whether a name has an owner is quick; a bus that does not answer within this is as good as none.
constexpr int nameQueryTimeout = 1000;

QDBusMessage methodCall(const QString &path, const QString &interface, const QString &method)
{
    return QDBusMessage::createMethodCall(service, path, interface, method);
}

bool isWepKey(const QString &key)
{
    const auto isAscii = [](QChar c) {
        return c.unicode() < 0x80;
    };
    const auto isHexDigit = [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
    };
    if (key.size() == 5 || key.size() == 13) {
        return std::all_of(key.cbegin(), key.cend(), isAscii);
    }
    if (key.size() == 10 || key.size() == 26) {
        return std::all_of(key.cbegin(), key.cend(), isHexDigit);
    }
    return false;
}

// NetworkManager names the methods in lower case ("peap", "mschapv2"); codes write them as people do.
QVariantMap eapSettings(const Content::WifiNetwork &network)
{
    QVariantMap eap;
    if (!network.eapMethod.isEmpty()) {
        eap.insert(QStringLiteral("eap"), QStringList{network.eapMethod.toLower()});
    }
    if (!network.identity.isEmpty()) {
        eap.insert(QStringLiteral("identity"), network.identity);
    }
    if (!network.anonymousIdentity.isEmpty()) {
        eap.insert(QStringLiteral("anonymous-identity"), network.anonymousIdentity);
    }
    if (!network.phase2Method.isEmpty()) {
        eap.insert(QStringLiteral("phase2-auth"), network.phase2Method.toLower());
    }
    if (!network.password.value.isEmpty()) {
        eap.insert(QStringLiteral("password"), network.password.value);
        // Flags 0: NetworkManager keeps the password itself, so that joining needs no secret agent.
        eap.insert(QStringLiteral("password-flags"), 0U);
    }
    return eap;
}

NMVariantMapMap settingsFor(const Content::WifiNetwork &network)
{
    using namespace NetworkManager;
    ConnectionSettings connection(ConnectionSettings::Wireless);
    connection.setId(network.ssid.value);
    connection.setUuid(ConnectionSettings::createNewUuid());
    // A connection of the user's own, as the desktop's network applet makes them: saving it needs no administrator
    // password, and it is not offered to the other users of the computer.
    connection.addToPermissions(KUser().loginName(), QString());

    const auto wireless = connection.setting(Setting::Wireless).staticCast<WirelessSetting>();
    wireless->setInitialized(true);
    wireless->setSsid(network.ssid.value.toUtf8());
    wireless->setMode(WirelessSetting::Infrastructure);
    wireless->setHidden(network.hidden);

    const auto security = connection.setting(Setting::WirelessSecurity).staticCast<WirelessSecuritySetting>();
    switch (network.security) {
    case Security::Open:
    case Security::Unknown:
        break;
    case Security::WpaPersonal:
    case Security::Sae:
        security->setInitialized(true);
        security->setKeyMgmt(network.security == Security::Sae ? WirelessSecuritySetting::SAE : WirelessSecuritySetting::WpaPsk);
        security->setPsk(network.password.value);
        security->setPskFlags(Setting::None);
        break;
    case Security::Wep:
        security->setInitialized(true);
        security->setKeyMgmt(WirelessSecuritySetting::Wep);
        security->setAuthAlg(WirelessSecuritySetting::Open);
        security->setWepTxKeyindex(0);
        security->setWepKey0(network.password.value);
        security->setWepKeyFlags(Setting::None);
        security->setWepKeyType(isWepKey(network.password.value) ? WirelessSecuritySetting::Hex : WirelessSecuritySetting::Passphrase);
        break;
    case Security::Wpa2Eap:
        security->setInitialized(true);
        security->setKeyMgmt(WirelessSecuritySetting::WpaEap);
        break;
    }
    if (!security->isNull()) {
        wireless->setSecurity(security->name());
    }

    NMVariantMapMap map = connection.toMap();
    // Written out even when false, so that an update turns a saved connection's flag off.
    map[wirelessKey].insert(QStringLiteral("hidden"), network.hidden);
    if (network.security == Security::Wep) {
        // NetworkManager declares the key type unsigned; the setting's map carries the plain enum.
        map[securityKey].insert(QStringLiteral("wep-key-type"), static_cast<uint>(security->wepKeyType()));
    }
    if (network.security == Security::Wpa2Eap) {
        map.insert(eapKey, eapSettings(network));
    }
    return map;
}

// A saved connection keeps what the code does not speak of (its addresses, its devices, its name and identity);
// the network's name, mode, hidden flag and security become the code's.
NMVariantMapMap mergedInto(NMVariantMapMap saved, const NMVariantMapMap &fromCode)
{
    QVariantMap wireless = saved.value(wirelessKey);
    wireless.remove(QStringLiteral("security"));
    const QVariantMap codeWireless = fromCode.value(wirelessKey);
    for (auto it = codeWireless.cbegin(); it != codeWireless.cend(); ++it) {
        wireless.insert(it.key(), it.value());
    }
    saved.insert(wirelessKey, wireless);
    for (const QString &key : {securityKey, eapKey}) {
        if (fromCode.contains(key)) {
            saved.insert(key, fromCode.value(key));
        } else {
            saved.remove(key);
        }
    }
    return saved;
}

bool isWirelessConnectionTo(const NMVariantMapMap &settings, const QByteArray &ssid)
{
    return settings.value(connectionKey).value(QStringLiteral("type")).toString() == QLatin1String("802-11-wireless")
        && settings.value(wirelessKey).value(QStringLiteral("ssid")).toByteArray() == ssid;
}

}

NetworkJoiner::NetworkJoiner(QObject *parent)
    : QObject(parent)
{
    qDBusRegisterMetaType<NMVariantMapMap>();
    qDBusRegisterMetaType<QMap<QDBusObjectPath, NMVariantMapMap>>();
}

NetworkJoiner::~NetworkJoiner() = default;

QString NetworkJoiner::unavailableReason()
{
    const QString notRunning = i18nc("@info:tooltip", "NetworkManager is not running, so this computer cannot join the network from here.");
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return notRunning;
    }
    QDBusMessage query = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                        QStringLiteral("/org/freedesktop/DBus"),
                                                        QStringLiteral("org.freedesktop.DBus"),
                                                        QStringLiteral("NameHasOwner"));
    query << service;
    const QDBusMessage answer = bus.call(query, QDBus::Block, nameQueryTimeout);
    if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().isEmpty() || !answer.arguments().constFirst().toBool()) {
        return notRunning;
    }
    return QString();
}

void NetworkJoiner::join(const Content::WifiNetwork &network)
{
    if (!network.ssid.isSound()) {
        Q_EMIT failed(network.ssid.problem.toString());
        return;
    }
    if (!network.password.isSound()) {
        Q_EMIT failed(network.password.problem.toString());
        return;
    }
    if (network.security == Security::Unknown) {
        Q_EMIT failed(i18nc("@info", "The code asks for a kind of security, “%1”, that this computer cannot set up a network with.", network.securityName));
        return;
    }
    const QString reason = unavailableReason();
    if (!reason.isEmpty()) {
        Q_EMIT failed(reason);
        return;
    }
    m_queue.append(settingsFor(network));
    m_queuedNames.append(network.ssid.value);
    if (!m_busy) {
        startNext();
    }
}

QDBusPendingCallWatcher *NetworkJoiner::watch(const QDBusPendingCall &call)
{
    return new QDBusPendingCallWatcher(call, this);
}

void NetworkJoiner::startNext()
{
    if (m_queue.isEmpty()) {
        m_busy = false;
        return;
    }
    m_busy = true;
    m_settings = m_queue.takeFirst();
    m_networkName = m_queuedNames.takeFirst();
    m_savedConnections.clear();
    m_savedSettings.clear();
    m_connection.clear();

    const auto watcher = watch(QDBusConnection::systemBus().asyncCall(methodCall(settingsPath, settingsInterface, QStringLiteral("ListConnections"))));
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &NetworkJoiner::handleConnectionsListed);
}

void NetworkJoiner::handleConnectionsListed(QDBusPendingCallWatcher *watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<QList<QDBusObjectPath>> reply = *watcher;
    if (reply.isError()) {
        Q_EMIT failed(i18nc("@info", "NetworkManager did not tell which networks it knows: %1", reply.error().message()));
        finish();
        return;
    }
    const auto paths = reply.value();
    m_savedConnections.clear();
    for (const QDBusObjectPath &path : paths) {
        m_savedConnections.append(path.path());
    }
    m_savedSettings = QList<SettingsMap>(m_savedConnections.size());
    m_settingsAwaited = m_savedConnections.size();
    if (m_settingsAwaited == 0) {
        saveConnection();
        return;
    }
    for (qsizetype i = 0; i < m_savedConnections.size(); ++i) {
        const auto settingsWatcher =
            watch(QDBusConnection::systemBus().asyncCall(methodCall(m_savedConnections.at(i), connectionInterface, QStringLiteral("GetSettings"))));
        connect(settingsWatcher, &QDBusPendingCallWatcher::finished, this, [this, i](QDBusPendingCallWatcher *finished) {
            handleSettingsRead(finished, i);
        });
    }
}

void NetworkJoiner::handleSettingsRead(QDBusPendingCallWatcher *watcher, qsizetype index)
{
    watcher->deleteLater();
    const QDBusPendingReply<NMVariantMapMap> reply = *watcher;
    // A connection that cannot be read (another user's, one removed meanwhile) is simply not the one to update.
    if (!reply.isError()) {
        m_savedSettings[index] = reply.value();
    }
    if (--m_settingsAwaited == 0) {
        saveConnection();
    }
}

void NetworkJoiner::saveConnection()
{
    const QByteArray ssid = m_settings.value(wirelessKey).value(QStringLiteral("ssid")).toByteArray();
    const auto saved = std::find_if(m_savedSettings.cbegin(), m_savedSettings.cend(), [&ssid](const SettingsMap &settings) {
        return isWirelessConnectionTo(settings, ssid);
    });
    QDBusMessage call;
    if (saved != m_savedSettings.cend()) {
        m_connection = m_savedConnections.at(std::distance(m_savedSettings.cbegin(), saved));
        call = methodCall(m_connection, connectionInterface, QStringLiteral("Update"));
        call << QVariant::fromValue(mergedInto(*saved, m_settings));
    } else {
        call = methodCall(settingsPath, settingsInterface, QStringLiteral("AddConnection"));
        call << QVariant::fromValue(m_settings);
    }
    // The settings carry the password: nothing keeps them longer than the call needs.
    m_settings.clear();
    m_savedSettings.clear();
    const QString updatedPath = m_connection;
    const auto watcher = watch(QDBusConnection::systemBus().asyncCall(call));
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, updatedPath](QDBusPendingCallWatcher *finished) {
        handleConnectionSaved(finished, updatedPath);
    });
}

void NetworkJoiner::handleConnectionSaved(QDBusPendingCallWatcher *watcher, const QString &updatedPath)
{
    watcher->deleteLater();
    if (watcher->isError()) {
        Q_EMIT failed(i18nc("@info", "NetworkManager did not save the network “%1”: %2", m_networkName, watcher->error().message()));
        finish();
        return;
    }
    if (updatedPath.isEmpty()) {
        const QDBusPendingReply<QDBusObjectPath> added = *watcher;
        m_connection = added.value().path();
    }
    // NetworkManager picks the device itself, but with no Wi-Fi device at all it would only say that it has none.
    const auto devicesWatcher =
        watch(QDBusConnection::systemBus().asyncCall(QDBusMessage::createMethodCall(service,
                                                                                    QStringLiteral("/org/freedesktop"),
                                                                                    QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                                                                    QStringLiteral("GetManagedObjects"))));
    connect(devicesWatcher, &QDBusPendingCallWatcher::finished, this, &NetworkJoiner::handleDevicesListed);
}

void NetworkJoiner::handleDevicesListed(QDBusPendingCallWatcher *watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<QMap<QDBusObjectPath, NMVariantMapMap>> reply = *watcher;
    if (!reply.isError()) {
        const auto objects = reply.value();
        const bool hasWifiDevice = std::any_of(objects.cbegin(), objects.cend(), [](const NMVariantMapMap &interfaces) {
            return interfaces.contains(QStringLiteral("org.freedesktop.NetworkManager.Device.Wireless"));
        });
        if (!hasWifiDevice) {
            Q_EMIT failed(i18nc("@info", "The network “%1” is saved, but this computer has no Wi-Fi device to join it with now.", m_networkName));
            finish();
            return;
        }
    }
    // An older NetworkManager without the object list still tells below whether it found a device.
    QDBusMessage call = methodCall(managerPath, service, QStringLiteral("ActivateConnection"));
    call << QVariant::fromValue(QDBusObjectPath(m_connection)) << QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")))
         << QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")));
    const auto activateWatcher = watch(QDBusConnection::systemBus().asyncCall(call));
    connect(activateWatcher, &QDBusPendingCallWatcher::finished, this, &NetworkJoiner::handleActivated);
}

void NetworkJoiner::handleActivated(QDBusPendingCallWatcher *watcher)
{
    watcher->deleteLater();
    if (watcher->isError()) {
        Q_EMIT failed(i18nc("@info", "The network “%1” is saved, but NetworkManager could not join it now: %2", m_networkName, watcher->error().message()));
    } else {
        Q_EMIT joined(m_networkName);
    }
    finish();
}

void NetworkJoiner::finish()
{
    m_networkName.clear();
    m_connection.clear();
    startNext();
}

}
