// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVariantMap>

class QDBusPendingCall;
class QDBusPendingCallWatcher;

namespace Brevlinder::Content
{
struct WifiNetwork;
}

namespace Brevlinder::WifiConnect
{

/**
 * Joins the Wi-Fi network that a code describes, through NetworkManager: the saved connection for the same network
 * name is updated, or a new one added, and then activated.
 */
class NetworkJoiner : public QObject
{
    Q_OBJECT

public:
    explicit NetworkJoiner(QObject *parent = nullptr);
    ~NetworkJoiner() override;

    /// Empty when NetworkManager can be asked to join a network; otherwise why not, as a sentence for a tooltip.
    static QString unavailableReason();

    /// Starts joining @p network; ends with joined() or failed(). The network's checks must have passed.
    void join(const Content::WifiNetwork &network);

Q_SIGNALS:
    /// NetworkManager holds the connection and has been asked to activate it.
    void joined(const QString &networkName);
    /// Nothing was joined, for the reason that @p message gives as a sentence.
    void failed(const QString &message);

private:
    using SettingsMap = QMap<QString, QVariantMap>;

    void startNext();
    void handleConnectionsListed(QDBusPendingCallWatcher *watcher);
    void handleSettingsRead(QDBusPendingCallWatcher *watcher, qsizetype index);
    void saveConnection();
    void handleConnectionSaved(QDBusPendingCallWatcher *watcher, const QString &updatedPath);
    void handleDevicesListed(QDBusPendingCallWatcher *watcher);
    void handleActivated(QDBusPendingCallWatcher *watcher);
    void finish();
    QDBusPendingCallWatcher *watch(const QDBusPendingCall &call);

    /// Networks asked for while another was being joined, in order.
    QList<SettingsMap> m_queue;
    QList<QString> m_queuedNames;

    /// The network being joined: its settings as NetworkManager takes them, and what is known of the saved ones.
    SettingsMap m_settings;
    QString m_networkName;
    bool m_busy = false;
    QList<QString> m_savedConnections;
    QList<SettingsMap> m_savedSettings;
    qsizetype m_settingsAwaited = 0;
    /// The object path of the saved connection.
    QString m_connection;
};

}
