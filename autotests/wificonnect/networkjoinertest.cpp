// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

// Runs on a private bus that stands in for the system bus (DBUS_SYSTEM_BUS_ADDRESS); each test starts
// python3-dbusmock's NetworkManager on it and ends it again, so that every test sees NetworkManager afresh.

#include "networkjoiner.h"
#include "wifinetwork.h"

#include <KUser>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QProcess>
#include <QSignalSpy>

#include <QTest>

#include <memory>

using Brevlinder::Content::WifiNetwork;
using Brevlinder::WifiConnect::NetworkJoiner;

using SettingsMap = QMap<QString, QVariantMap>;

namespace
{

const QString service = QStringLiteral("org.freedesktop.NetworkManager");
const QString settingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
const QString settingsInterface = QStringLiteral("org.freedesktop.NetworkManager.Settings");
const QString connectionInterface = QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
// A busy two-core machine, perhaps a sanitizer build: reached only when something is wrong.
constexpr int deadline = 60000;

QDBusMessage call(const QString &path, const QString &interface, const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return QDBusConnection::systemBus().call(message, QDBus::Block, deadline);
}

WifiNetwork parsed(const QString &code)
{
    const auto network = WifiNetwork::parse(code);
    Q_ASSERT(network);
    return *network;
}

}

class NetworkJoinerTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QProcess> m_networkManager;

    bool startNetworkManager(bool withWifiDevice = true)
    {
        QDBusServiceWatcher watcher(service, QDBusConnection::systemBus(), QDBusServiceWatcher::WatchForRegistration);
        QSignalSpy registered(&watcher, &QDBusServiceWatcher::serviceRegistered);
        m_networkManager = std::make_unique<QProcess>();
        m_networkManager->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_networkManager->setStandardOutputFile(QProcess::nullDevice());
        m_networkManager->start(QStringLiteral("python3"),
                                {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--template"), QStringLiteral("networkmanager")});
        if (!m_networkManager->waitForStarted(deadline) || !registered.wait(deadline)) {
            return false;
        }
        if (withWifiDevice) {
            const QDBusMessage added = call(QStringLiteral("/org/freedesktop"),
                                            QStringLiteral("org.freedesktop.DBus.Mock"),
                                            QStringLiteral("AddWiFiDevice"),
                                            {QStringLiteral("wlan0"), QStringLiteral("wlan0"), 30});
            return added.type() == QDBusMessage::ReplyMessage;
        }
        return true;
    }

    void stopNetworkManager()
    {
        if (!m_networkManager) {
            return;
        }
        QDBusServiceWatcher watcher(service, QDBusConnection::systemBus(), QDBusServiceWatcher::WatchForUnregistration);
        QSignalSpy unregistered(&watcher, &QDBusServiceWatcher::serviceUnregistered);
        const bool owned = QDBusConnection::systemBus().interface()->isServiceRegistered(service);
        m_networkManager->terminate();
        if (!m_networkManager->waitForFinished(deadline)) {
            m_networkManager->kill();
            m_networkManager->waitForFinished(deadline);
        }
        // The bus may tell of the name's release after the process has gone; the next test must not see it still.
        if (owned && QDBusConnection::systemBus().interface()->isServiceRegistered(service)) {
            unregistered.wait(deadline);
        }
        m_networkManager.reset();
    }

    static QList<QDBusObjectPath> savedConnections()
    {
        const QDBusReply<QList<QDBusObjectPath>> reply = call(settingsPath, settingsInterface, QStringLiteral("ListConnections"));
        return reply.value();
    }

    static SettingsMap settingsOf(const QDBusObjectPath &connection)
    {
        const QDBusReply<SettingsMap> reply = call(connection.path(), connectionInterface, QStringLiteral("GetSettings"));
        return reply.value();
    }

    static QDBusObjectPath addConnection(const SettingsMap &settings)
    {
        const QDBusReply<QDBusObjectPath> reply = call(settingsPath, settingsInterface, QStringLiteral("AddConnection"), {QVariant::fromValue(settings)});
        return reply.value();
    }

    static QList<QDBusObjectPath> activatedConnections()
    {
        const QDBusMessage active = call(QStringLiteral("/org/freedesktop/NetworkManager"),
                                         QStringLiteral("org.freedesktop.DBus.Properties"),
                                         QStringLiteral("Get"),
                                         {service, QStringLiteral("ActiveConnections")});
        QList<QDBusObjectPath> connections;
        const auto paths = qdbus_cast<QList<QDBusObjectPath>>(active.arguments().value(0).value<QDBusVariant>().variant());
        for (const QDBusObjectPath &path : paths) {
            const QDBusMessage connection = call(path.path(),
                                                 QStringLiteral("org.freedesktop.DBus.Properties"),
                                                 QStringLiteral("Get"),
                                                 {QStringLiteral("org.freedesktop.NetworkManager.Connection.Active"), QStringLiteral("Connection")});
            connections.append(connection.arguments().value(0).value<QDBusVariant>().variant().value<QDBusObjectPath>());
        }
        return connections;
    }

    // Joins @p network and waits for the outcome; returns the message of failed(), or empty after joined().
    static QString joinAndWait(const WifiNetwork &network, bool *joined = nullptr)
    {
        NetworkJoiner joiner;
        QSignalSpy joinedSpy(&joiner, &NetworkJoiner::joined);
        QSignalSpy failedSpy(&joiner, &NetworkJoiner::failed);
        joiner.join(network);
        const bool ended = QTest::qWaitFor(
            [&] {
                return joinedSpy.count() + failedSpy.count() > 0;
            },
            deadline);
        if (joined) {
            *joined = ended && joinedSpy.count() == 1 && joinedSpy.at(0).at(0).toString() == network.ssid.value;
        }
        return failedSpy.isEmpty() ? QString() : failedSpy.at(0).at(0).toString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        qDBusRegisterMetaType<SettingsMap>();
        qDBusRegisterMetaType<QList<QVariantMap>>();
        QVERIFY2(qEnvironmentVariableIsSet("DBUS_SYSTEM_BUS_ADDRESS"), "run on a private bus: networkmanagermock.py --private-bus");
        QVERIFY(QDBusConnection::systemBus().isConnected());
    }

    void cleanup()
    {
        stopNetworkManager();
    }

    void unavailableWithoutNetworkManager()
    {
        const QString reason = NetworkJoiner::unavailableReason();
        QVERIFY(!reason.isEmpty());

        const QString message = joinAndWait(parsed(QStringLiteral("WIFI:S:Home;T:WPA;P:correct horse;;")));
        QCOMPARE(message, reason);

        QVERIFY(startNetworkManager());
        QCOMPARE(NetworkJoiner::unavailableReason(), QString());
    }

    void joinSavesTheCodesSettings_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("ssid");
        QTest::addColumn<QString>("keyManagement");
        QTest::addColumn<QString>("passwordKey");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("hidden");
        // With WEP, 1: a key as the access point takes it, 5 or 13 ASCII characters or 10 or 26 hexadecimal digits;
        // 2: a passphrase that NetworkManager turns into a key.
        QTest::addColumn<uint>("wepKeyType");

        QTest::newRow("WPA") << QStringLiteral("WIFI:S:Home;T:WPA;P:correct horse;;") << QByteArray("Home") << QStringLiteral("wpa-psk")
                             << QStringLiteral("psk") << QStringLiteral("correct horse") << false << 0U;
        QTest::newRow("WPA, 64 hexadecimal digits") << QStringLiteral("WIFI:S:Lab;T:WPA2;P:%1;;").arg(QStringLiteral("0123456789abcdef").repeated(4))
                                                    << QByteArray("Lab") << QStringLiteral("wpa-psk") << QStringLiteral("psk")
                                                    << QStringLiteral("0123456789abcdef").repeated(4) << false << 0U;
        QTest::newRow("SAE") << QStringLiteral("WIFI:T:SAE;S:Modern;P:short;;") << QByteArray("Modern") << QStringLiteral("sae") << QStringLiteral("psk")
                             << QStringLiteral("short") << false << 0U;
        QTest::newRow("WEP, 13 characters") << QStringLiteral("WIFI:S:Old;T:WEP;P:abcdefghijklm;;") << QByteArray("Old") << QStringLiteral("none")
                                            << QStringLiteral("wep-key0") << QStringLiteral("abcdefghijklm") << false << 1U;
        QTest::newRow("WEP, 10 hexadecimal digits") << QStringLiteral("WIFI:S:Older;T:WEP;P:0a1B2c3D4e;;") << QByteArray("Older") << QStringLiteral("none")
                                                    << QStringLiteral("wep-key0") << QStringLiteral("0a1B2c3D4e") << false << 1U;
        QTest::newRow("WEP, 13 bytes that are no ASCII key")
            << QStringLiteral("WIFI:S:Oldest;T:WEP;P:abcdefghijké;;") << QByteArray("Oldest") << QStringLiteral("none") << QStringLiteral("wep-key0")
            << QStringLiteral("abcdefghijké") << false << 2U;
        QTest::newRow("open, UTF-8 name") << QStringLiteral("WIFI:S:Café ☕;T:nopass;;") << QByteArray("Caf\xc3\xa9 \xe2\x98\x95") << QString() << QString()
                                          << QString() << false << 0U;
        QTest::newRow("EAP") << QStringLiteral("WIFI:T:WPA2-EAP;S:Campus;E:PEAP;PH2:MSCHAPV2;A:anonymous@example.org;I:jo@example.org;P:pa;ss\\;word;;")
                             << QByteArray("Campus") << QStringLiteral("wpa-eap") << QStringLiteral("password") << QStringLiteral("pa;ss;word") << false << 0U;
        QTest::newRow("hidden") << QStringLiteral("WIFI:S:Cellar;T:WPA;P:under the stairs;H:true;;") << QByteArray("Cellar") << QStringLiteral("wpa-psk")
                                << QStringLiteral("psk") << QStringLiteral("under the stairs") << true << 0U;
    }

    void joinSavesTheCodesSettings()
    {
        QFETCH(QString, code);
        QFETCH(QByteArray, ssid);
        QFETCH(QString, keyManagement);
        QFETCH(QString, passwordKey);
        QFETCH(QString, password);
        QFETCH(bool, hidden);
        QFETCH(uint, wepKeyType);
        QVERIFY(startNetworkManager());

        const WifiNetwork network = parsed(code);
        bool joined = false;
        const QString message = joinAndWait(network, &joined);
        QVERIFY2(joined, qPrintable(message));

        const auto connections = savedConnections();
        QCOMPARE(connections.size(), 1);
        const SettingsMap settings = settingsOf(connections.constFirst());
        QCOMPARE(settings.value(QStringLiteral("connection")).value(QStringLiteral("type")).toString(), QStringLiteral("802-11-wireless"));
        QCOMPARE(settings.value(QStringLiteral("connection")).value(QStringLiteral("id")).toString(), network.ssid.value);
        QVERIFY(!settings.value(QStringLiteral("connection")).value(QStringLiteral("uuid")).toString().isEmpty());
        QCOMPARE(settings.value(QStringLiteral("connection")).value(QStringLiteral("permissions")).toStringList(),
                 QStringList{QStringLiteral("user:%1:").arg(KUser().loginName())});
        const QVariantMap wireless = settings.value(QStringLiteral("802-11-wireless"));
        QCOMPARE(wireless.value(QStringLiteral("ssid")).toByteArray(), ssid);
        QCOMPARE(wireless.value(QStringLiteral("mode")).toString(), QStringLiteral("infrastructure"));
        QCOMPARE(wireless.value(QStringLiteral("hidden")).toBool(), hidden);

        const QVariantMap security = settings.value(QStringLiteral("802-11-wireless-security"));
        if (keyManagement.isEmpty()) {
            QVERIFY(!settings.contains(QStringLiteral("802-11-wireless-security")));
        } else {
            QCOMPARE(security.value(QStringLiteral("key-mgmt")).toString(), keyManagement);
        }
        if (keyManagement == QLatin1String("wpa-eap")) {
            const QVariantMap eap = settings.value(QStringLiteral("802-1x"));
            QCOMPARE(eap.value(QStringLiteral("eap")).toStringList(), QStringList{QStringLiteral("peap")});
            QCOMPARE(eap.value(QStringLiteral("phase2-auth")).toString(), QStringLiteral("mschapv2"));
            QCOMPARE(eap.value(QStringLiteral("identity")).toString(), QStringLiteral("jo@example.org"));
            QCOMPARE(eap.value(QStringLiteral("anonymous-identity")).toString(), QStringLiteral("anonymous@example.org"));
            QCOMPARE(eap.value(passwordKey).toString(), password);
            QCOMPARE(eap.value(passwordKey + QStringLiteral("-flags")).toUInt(), 0U);
        } else if (!passwordKey.isEmpty()) {
            QCOMPARE(security.value(passwordKey).toString(), password);
            const QString flagsKey = passwordKey == QLatin1String("psk") ? QStringLiteral("psk-flags") : QStringLiteral("wep-key-flags");
            QCOMPARE(security.value(flagsKey, 0U).toUInt(), 0U);
        }
        if (keyManagement == QLatin1String("none")) {
            // Unsigned, as NetworkManager declares it.
            QCOMPARE(security.value(QStringLiteral("wep-key-type")).typeId(), QMetaType::UInt);
            QCOMPARE(security.value(QStringLiteral("wep-key-type")).toUInt(), wepKeyType);
        }

        QCOMPARE(activatedConnections(), connections);
    }

    void secondJoinUpdates()
    {
        QVERIFY(startNetworkManager());
        bool joined = false;
        QString message = joinAndWait(parsed(QStringLiteral("WIFI:S:Home;T:WPA;P:first password;;")), &joined);
        QVERIFY2(joined, qPrintable(message));
        const auto first = savedConnections();
        QCOMPARE(first.size(), 1);
        const QString uuid = settingsOf(first.constFirst()).value(QStringLiteral("connection")).value(QStringLiteral("uuid")).toString();

        message = joinAndWait(parsed(QStringLiteral("WIFI:S:Home;T:WPA;P:second password;H:true;;")), &joined);
        QVERIFY2(joined, qPrintable(message));
        QCOMPARE(savedConnections(), first);
        const SettingsMap settings = settingsOf(first.constFirst());
        QCOMPARE(settings.value(QStringLiteral("connection")).value(QStringLiteral("uuid")).toString(), uuid);
        QCOMPARE(settings.value(QStringLiteral("802-11-wireless-security")).value(QStringLiteral("psk")).toString(), QStringLiteral("second password"));
        QCOMPARE(settings.value(QStringLiteral("802-11-wireless")).value(QStringLiteral("hidden")).toBool(), true);

        // A code without the flag makes the network a visible one again.
        message = joinAndWait(parsed(QStringLiteral("WIFI:S:Home;T:WPA;P:second password;;")), &joined);
        QVERIFY2(joined, qPrintable(message));
        QCOMPARE(settingsOf(first.constFirst()).value(QStringLiteral("802-11-wireless")).value(QStringLiteral("hidden")), QVariant(false));
    }

    void joinsAskedForTogetherTakeTurns()
    {
        // A double click: the second join must find the connection that the first one saves.
        QVERIFY(startNetworkManager());
        NetworkJoiner joiner;
        QSignalSpy joinedSpy(&joiner, &NetworkJoiner::joined);
        QSignalSpy failedSpy(&joiner, &NetworkJoiner::failed);
        joiner.join(parsed(QStringLiteral("WIFI:S:Home;T:WPA;P:first password;;")));
        joiner.join(parsed(QStringLiteral("WIFI:S:Home;T:WPA;P:second password;;")));
        QTRY_COMPARE_WITH_TIMEOUT(joinedSpy.count() + failedSpy.count(), 2, deadline);
        QCOMPARE(joinedSpy.count(), 2);
        const auto connections = savedConnections();
        QCOMPARE(connections.size(), 1);
        QCOMPARE(settingsOf(connections.constFirst()).value(QStringLiteral("802-11-wireless-security")).value(QStringLiteral("psk")).toString(),
                 QStringLiteral("second password"));
    }

    void updatesTheConnectionSavedElsewhere()
    {
        // Saved by hand under a name of the user's own, with addresses of its own, beside another network.
        QVERIFY(startNetworkManager());
        const QString uuid = QStringLiteral("0f4a3c1e-5b7d-4e29-9a61-2c8d0b3f7e15");
        addConnection(
            {{QStringLiteral("connection"), {{QStringLiteral("id"), QStringLiteral("Wired")}, {QStringLiteral("type"), QStringLiteral("802-3-ethernet")}}}});
        const QDBusObjectPath saved = addConnection(
            {{QStringLiteral("connection"),
              {{QStringLiteral("id"), QStringLiteral("Upstairs")},
               {QStringLiteral("uuid"), uuid},
               {QStringLiteral("type"), QStringLiteral("802-11-wireless")}}},
             {QStringLiteral("802-11-wireless"), {{QStringLiteral("ssid"), QByteArray("Home")}, {QStringLiteral("mode"), QStringLiteral("infrastructure")}}},
             {QStringLiteral("ipv4"),
              {{QStringLiteral("method"), QStringLiteral("manual")},
               {QStringLiteral("address-data"),
                QVariant::fromValue(QList<QVariantMap>{{{QStringLiteral("address"), QStringLiteral("192.0.2.7")}, {QStringLiteral("prefix"), 24U}}})}}}});
        // NetworkManager replaces a connection's settings with those of an update; the mock would merge them.
        const QDBusMessage replacing =
            call(saved.path(),
                 QStringLiteral("org.freedesktop.DBus.Mock"),
                 QStringLiteral("AddMethod"),
                 {connectionInterface, QStringLiteral("Update"), QStringLiteral("a{sa{sv}}"), QString(), QStringLiteral("self.settings = args[0]")});
        QCOMPARE(replacing.type(), QDBusMessage::ReplyMessage);

        bool joined = false;
        const QString message = joinAndWait(parsed(QStringLiteral("WIFI:S:Home;T:WPA;P:correct horse;;")), &joined);
        QVERIFY2(joined, qPrintable(message));
        QCOMPARE(savedConnections().size(), 2);
        const SettingsMap settings = settingsOf(saved);
        QCOMPARE(settings.value(QStringLiteral("connection")).value(QStringLiteral("uuid")).toString(), uuid);
        QCOMPARE(settings.value(QStringLiteral("connection")).value(QStringLiteral("id")).toString(), QStringLiteral("Upstairs"));
        QCOMPARE(settings.value(QStringLiteral("ipv4")).value(QStringLiteral("method")).toString(), QStringLiteral("manual"));
        // Values of nested types come back from NetworkManager as they were, and go back to it so.
        const auto addresses = settings.value(QStringLiteral("ipv4")).value(QStringLiteral("address-data")).value<QDBusArgument>();
        QCOMPARE(addresses.currentSignature(), QStringLiteral("aa{sv}"));
        const auto addressData = qdbus_cast<QList<QVariantMap>>(addresses);
        QCOMPARE(addressData.size(), 1);
        QCOMPARE(addressData.constFirst().value(QStringLiteral("address")).toString(), QStringLiteral("192.0.2.7"));
        QCOMPARE(addressData.constFirst().value(QStringLiteral("prefix")).toUInt(), 24U);
        QCOMPARE(settings.value(QStringLiteral("802-11-wireless-security")).value(QStringLiteral("psk")).toString(), QStringLiteral("correct horse"));
        QCOMPARE(activatedConnections(), QList<QDBusObjectPath>{saved});
    }

    void namesAreComparedByTheirBytes()
    {
        // "Café" in Latin-1 is another network than "Café" in UTF-8, however alike the two look.
        QVERIFY(startNetworkManager());
        const QDBusObjectPath latin1 = addConnection(
            {{QStringLiteral("connection"), {{QStringLiteral("id"), QStringLiteral("Café")}, {QStringLiteral("type"), QStringLiteral("802-11-wireless")}}},
             {QStringLiteral("802-11-wireless"), {{QStringLiteral("ssid"), QByteArray("Caf\xe9")}}}});

        bool joined = false;
        const QString message = joinAndWait(parsed(QStringLiteral("WIFI:S:Café;T:WPA;P:correct horse;;")), &joined);
        QVERIFY2(joined, qPrintable(message));
        const auto connections = savedConnections();
        QCOMPARE(connections.size(), 2);
        QVERIFY(!settingsOf(latin1).contains(QStringLiteral("802-11-wireless-security")));
        QCOMPARE(settingsOf(connections.at(1)).value(QStringLiteral("802-11-wireless")).value(QStringLiteral("ssid")).toByteArray(), QByteArray("Caf\xc3\xa9"));
    }

    void refusesANetworkThatFailedItsChecks_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("no name") << QStringLiteral("WIFI:T:WPA;P:correct horse;;");
        QTest::newRow("name of 33 bytes") << QStringLiteral("WIFI:S:%1;T:WPA;P:correct horse;;").arg(QString(33, QLatin1Char('n')));
        QTest::newRow("WPA password of 7 bytes") << QStringLiteral("WIFI:S:Home;T:WPA;P:1234567;;");
        QTest::newRow("WEP key of 6 characters") << QStringLiteral("WIFI:S:Home;T:WEP;P:abcdef;;");
        QTest::newRow("unknown security") << QStringLiteral("WIFI:S:Home;T:WPA4;P:correct horse;;");
    }

    void refusesANetworkThatFailedItsChecks()
    {
        QFETCH(QString, code);
        QVERIFY(startNetworkManager());
        bool joined = true;
        const QString message = joinAndWait(parsed(code), &joined);
        QVERIFY(!joined);
        QVERIFY(!message.isEmpty());
        QVERIFY(savedConnections().isEmpty());
    }

    void reportsWhatNetworkManagerRefuses_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("inSignature");
        QTest::addColumn<QString>("outSignature");
        QTest::addColumn<int>("savedCount");
        QTest::addColumn<QString>("sentence");

        QTest::newRow("not saved") << settingsPath << settingsInterface << QStringLiteral("AddConnection") << QStringLiteral("a{sa{sv}}") << QStringLiteral("o")
                                   << 0 << QStringLiteral("did not save the network “Home”");
        QTest::newRow("saved, not joined") << QStringLiteral("/org/freedesktop/NetworkManager") << service << QStringLiteral("ActivateConnection")
                                           << QStringLiteral("ooo") << QStringLiteral("o") << 1 << QStringLiteral("The network “Home” is saved, but");
    }

    void reportsWhatNetworkManagerRefuses()
    {
        QFETCH(QString, path);
        QFETCH(QString, interface);
        QFETCH(QString, method);
        QFETCH(QString, inSignature);
        QFETCH(QString, outSignature);
        QFETCH(int, savedCount);
        QFETCH(QString, sentence);
        QVERIFY(startNetworkManager());
        // As NetworkManager answers a user whom its policy does not allow the change.
        const QDBusMessage refusing = call(path,
                                           QStringLiteral("org.freedesktop.DBus.Mock"),
                                           QStringLiteral("AddMethod"),
                                           {interface,
                                            method,
                                            inSignature,
                                            outSignature,
                                            QStringLiteral("raise dbus.exceptions.DBusException('Insufficient privileges', "
                                                           "name='org.freedesktop.NetworkManager.PermissionDenied')")});
        QCOMPARE(refusing.type(), QDBusMessage::ReplyMessage);

        bool joined = true;
        const QString message = joinAndWait(parsed(QStringLiteral("WIFI:S:Home;T:WPA;P:correct horse;;")), &joined);
        QVERIFY(!joined);
        QVERIFY2(message.contains(sentence) && message.contains(QLatin1String("Insufficient privileges")), qPrintable(message));
        QVERIFY2(!message.contains(QLatin1String("correct horse")), qPrintable(message));
        QCOMPARE(savedConnections().size(), savedCount);
    }

    void savedWithoutAWifiDevice()
    {
        QVERIFY(startNetworkManager(false));
        bool joined = true;
        const QString message = joinAndWait(parsed(QStringLiteral("WIFI:S:Home;T:WPA;P:correct horse;;")), &joined);
        QVERIFY(!joined);
        QVERIFY2(message.contains(QLatin1String("saved")) && message.contains(QLatin1String("Home")), qPrintable(message));
        QCOMPARE(savedConnections().size(), 1);
        QVERIFY(activatedConnections().isEmpty());
    }
};

QTEST_GUILESS_MAIN(NetworkJoinerTest)

#include "networkjoinertest.moc"
