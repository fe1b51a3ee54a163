// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "screenscanner.h"
#include "codeimages.h"
#include "tool.h"

#include <KMessageWidget>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <signal.h>
#include <sys/prctl.h>

using Brevlinder::ImageSource::ScreenScanner;
using Brevlinder::ImageSource::Tool;

namespace
{
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString noPortal;
// Generous: a portal that the bus starts is a Python program, and the machine may be busy.
constexpr int answerTimeout = 30000;

// A helper process dies with the test, however the test ends, so that no bus or portal outlives a crash.
void endWithTest(QProcess &process)
{
    process.setChildProcessModifier([] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
}

/*
 * The test's own session bus, with no service but those a test row installs: the bus of the surrounding session
 * may have a portal of its own. It is set up before the application exists, as nothing may have used the session
 * bus before it.
 */
class PrivateBus
{
public:
    bool start()
    {
        if (!m_directory.isValid() || !QDir().mkpath(serviceDirectory())) {
            return false;
        }
        const QString address = QStringLiteral("unix:path=%1").arg(m_directory.filePath(QStringLiteral("bus")));
        QFile config(m_directory.filePath(QStringLiteral("bus.conf")));
        if (!config.open(QIODevice::WriteOnly)) {
            return false;
        }
        config.write(
            QStringLiteral("<busconfig><type>session</type><listen>%1</listen><servicedir>%2</servicedir>"
                           "<policy context=\"default\"><allow send_destination=\"*\"/><allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>")
                .arg(address, serviceDirectory())
                .toUtf8());
        config.close();
        // Set before the bus starts, so that the services it starts find it too.
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        endWithTest(m_daemon);
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        // The address comes once the bus listens.
        return m_daemon.waitForReadyRead(30000);
    }

    ~PrivateBus()
    {
        m_daemon.terminate();
        m_daemon.waitForFinished(10000);
    }

    QString filePath(const QString &name) const
    {
        return m_directory.filePath(name);
    }

    QString serviceDirectory() const
    {
        return filePath(QStringLiteral("services"));
    }

private:
    QTemporaryDir m_directory;
    QProcess m_daemon;
};

PrivateBus *s_bus = nullptr;

void reloadBusConfiguration()
{
    QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                                      QStringLiteral("/org/freedesktop/DBus"),
                                                                      QStringLiteral("org.freedesktop.DBus"),
                                                                      QStringLiteral("ReloadConfig")));
}

/*
 * fakeportal.py answering \p answer, for one test row and ended with it. Either it runs from the start, or it is
 * only installed, as a portal usually is: the bus starts it when it is first asked.
 */
class FakePortal
{
public:
    FakePortal(const QString &answer, bool installedOnly)
        : m_installedOnly(installedOnly)
    {
        const QStringList arguments{QStringLiteral(FAKE_PORTAL), answer, callsFile()};
        if (installedOnly) {
            QFile service(serviceFile());
            if (service.open(QIODevice::WriteOnly)) {
                service.write(QStringLiteral("[D-BUS Service]\nName=%1\nExec=%2 %3\n")
                                  .arg(portalService, QStringLiteral(PYTHON_EXECUTABLE), arguments.join(QLatin1Char(' ')))
                                  .toUtf8());
            }
            service.close();
            reloadBusConfiguration();
            return;
        }
        endWithTest(m_process);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(PYTHON_EXECUTABLE), arguments);
        m_process.waitForReadyRead(30000);
    }

    ~FakePortal()
    {
        if (m_installedOnly) {
            QFile::remove(serviceFile());
            reloadBusConfiguration();
        }
        // Ended through the bus, which knows it also when the bus started it; then its name is free for the next row.
        QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
        const QDBusReply<uint> pid = bus->servicePid(portalService);
        if (pid.isValid()) {
            ::kill(static_cast<pid_t>(pid.value()), SIGTERM);
        }
        const QDeadlineTimer deadline(30000);
        while (bus->isServiceRegistered(portalService).value() && !deadline.hasExpired()) {
            QTest::qWait(20);
        }
        m_process.waitForFinished(10000);
    }

    bool isReady() const
    {
        return m_installedOnly || m_process.canReadLine();
    }

    // The options of every Screenshot call the portal was asked, as JSON.
    QByteArrayList calls() const
    {
        QByteArrayList calls;
        QFile file(callsFile());
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArrayList lines = file.readAll().split('\n');
            for (const QByteArray &line : lines) {
                if (!line.isEmpty()) {
                    calls.append(line);
                }
            }
        }
        return calls;
    }

    static QString callsFile()
    {
        return s_bus->filePath(QStringLiteral("calls.jsonl"));
    }

private:
    static QString serviceFile()
    {
        return s_bus->serviceDirectory() + QStringLiteral("/portal.service");
    }

    const bool m_installedOnly;
    QProcess m_process;
};

QPushButton *scanScreenButtonOf(Tool &tool)
{
    return tool.widget()->findChild<QPushButton *>(QStringLiteral("scanScreenButton"));
}

KMessageWidget *messageWidgetOf(Tool &tool)
{
    return tool.widget()->findChild<KMessageWidget *>(QStringLiteral("messageWidget"));
}
}

class ScreenScannerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QFile::remove(FakePortal::callsFile());
    }

    // A portal wins wherever it is offered (it asks for consent, and works on Wayland and in a sandbox); without
    // one only X11 lets a program grab the screen.
    void methodFor_data()
    {
        QTest::addColumn<bool>("portalOffered");
        QTest::addColumn<QString>("platformName");
        QTest::addColumn<ScreenScanner::Method>("expected");

        QTest::newRow("portal on X11") << true << QStringLiteral("xcb") << ScreenScanner::Method::Portal;
        QTest::newRow("portal on Wayland") << true << QStringLiteral("wayland") << ScreenScanner::Method::Portal;
        QTest::newRow("X11 without portal") << false << QStringLiteral("xcb") << ScreenScanner::Method::X11Grab;
        QTest::newRow("Wayland without portal") << false << QStringLiteral("wayland") << ScreenScanner::Method::Unavailable;
        QTest::newRow("offscreen without portal") << false << QStringLiteral("offscreen") << ScreenScanner::Method::Unavailable;
    }

    void methodFor()
    {
        QFETCH(bool, portalOffered);
        QFETCH(QString, platformName);
        QFETCH(ScreenScanner::Method, expected);
        QCOMPARE(ScreenScanner::methodFor(portalOffered, platformName), expected);
    }

    // Here (offscreen) only a portal that takes screenshots can read the screen. A portal service that is there
    // (running, or only installed) but has no Screenshot interface is no such portal. The pick view's button
    // follows the answer, which comes without the pick view waiting for it.
    void findMethod_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("installedOnly");
        QTest::addColumn<ScreenScanner::Method>("expected");

        const QString picture = QStringLiteral("file:///nonexistent/screenshot.png");
        const QString withoutScreenshot = QStringLiteral("--without-screenshot");
        QTest::newRow("no portal") << noPortal << false << ScreenScanner::Method::Unavailable;
        QTest::newRow("running portal") << picture << false << ScreenScanner::Method::Portal;
        QTest::newRow("running portal without Screenshot") << withoutScreenshot << false << ScreenScanner::Method::Unavailable;
        QTest::newRow("installed portal, started by the question") << picture << true << ScreenScanner::Method::Portal;
        QTest::newRow("installed portal without Screenshot") << withoutScreenshot << true << ScreenScanner::Method::Unavailable;
    }

    void findMethod()
    {
        QFETCH(QString, answer);
        QFETCH(bool, installedOnly);
        QFETCH(ScreenScanner::Method, expected);

        std::optional<FakePortal> portal;
        if (!answer.isEmpty()) {
            portal.emplace(answer, installedOnly);
            QVERIFY(portal->isReady());
        }
        Tool tool;
        tool.switchToPickView();
        QPushButton *button = scanScreenButtonOf(tool);
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("Scan Screen"));

        QObject context;
        std::optional<ScreenScanner::Method> found;
        ScreenScanner::findMethod(&context, [&found](ScreenScanner::Method method) {
            found = method;
        });
        QTRY_VERIFY_WITH_TIMEOUT(found.has_value(), answerTimeout);
        QCOMPARE(*found, expected);
        // The pick view asked first, on the same bus, so its answer is in too.
        QCOMPARE(button->isEnabled(), expected != ScreenScanner::Method::Unavailable);
        if (expected == ScreenScanner::Method::Unavailable) {
            QCOMPARE(button->toolTip(), ScreenScanner::unavailableReason());
            QVERIFY(button->toolTip().contains(QStringLiteral("no screenshot portal")));
        } else {
            QCOMPARE(button->toolTip(), QStringLiteral("Read a code shown anywhere on the screen (Ctrl+Shift+R)"));
        }
        // Asking takes no screenshot.
        QVERIFY(!portal || portal->calls().isEmpty());
    }

    // A press asks the portal for a screenshot. Where the screen cannot be grabbed either, its failures are
    // errors in the message line; a cancelled dialog changes nothing.
    void portalAnswersPress_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<KMessageWidget::MessageType>("messageType");
        QTest::addColumn<QString>("message");

        QTest::newRow("picture") << QStringLiteral("picture") << KMessageWidget::Positive << QStringLiteral("Code in the image successfully scanned.");
        QTest::newRow("cancelled") << QStringLiteral("--cancel") << KMessageWidget::Information << QString();
        QTest::newRow("failed") << QStringLiteral("--fail") << KMessageWidget::Error << QStringLiteral("The desktop could not take a screenshot.");
        QTest::newRow("refused") << QStringLiteral("--refuse") << KMessageWidget::Error
                                 << QStringLiteral("The desktop could not take a screenshot: No screenshot backend is running");
    }

    void portalAnswersPress()
    {
        QFETCH(QString, answer);
        QFETCH(KMessageWidget::MessageType, messageType);
        QFETCH(QString, message);

        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        if (answer == QLatin1String("picture")) {
            const QString picture = directory.filePath(QStringLiteral("screenshot.png"));
            QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("from the portal")).save(picture));
            answer = QUrl::fromLocalFile(picture).toString();
        }
        FakePortal portal(answer, false);
        QVERIFY(portal.isReady());
        Tool tool;
        tool.switchToPickView();
        tool.widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(tool.widget()));
        QPushButton *button = scanScreenButtonOf(tool);
        QTRY_VERIFY_WITH_TIMEOUT(button->isEnabled(), answerTimeout);

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(tool.widget()->findChild<ScreenScanner *>());
        // The scanner is gone once the portal's answer is handled.
        QTRY_VERIFY_WITH_TIMEOUT(!tool.widget()->findChild<ScreenScanner *>(), answerTimeout);
        QCOMPARE(portal.calls().size(), 1);
        QVERIFY(portal.calls().constFirst().contains("\"interactive\": true"));

        KMessageWidget *messageWidget = messageWidgetOf(tool);
        if (message.isEmpty()) {
            QVERIFY(messageWidget->isHidden());
            QVERIFY(messageWidget->text().isEmpty());
            QVERIFY(tool.isInPickView());
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(messageWidget->text(), message, answerTimeout);
        QCOMPARE(messageWidget->messageType(), messageType);
        QCOMPARE(tool.isInPickView(), messageType != KMessageWidget::Positive);
    }

    // The portal was there when the pick view was made and has gone by the press: the press tells why nothing
    // can be done.
    void portalGoneSinceThePickViewWasMade()
    {
        Tool tool;
        {
            FakePortal portal(QStringLiteral("--cancel"), false);
            QVERIFY(portal.isReady());
            tool.switchToPickView();
            tool.widget()->show();
            QVERIFY(QTest::qWaitForWindowExposed(tool.widget()));
            QTRY_VERIFY_WITH_TIMEOUT(scanScreenButtonOf(tool)->isEnabled(), answerTimeout);
        }
        QTest::mouseClick(scanScreenButtonOf(tool), Qt::LeftButton);
        KMessageWidget *messageWidget = messageWidgetOf(tool);
        QTRY_COMPARE_WITH_TIMEOUT(messageWidget->text(), ScreenScanner::unavailableReason(), answerTimeout);
        QCOMPARE(messageWidget->messageType(), KMessageWidget::Error);
    }
};

int main(int argc, char **argv)
{
    PrivateBus bus;
    if (!bus.start()) {
        qCritical("The test's own session bus did not start");
        return 1;
    }
    s_bus = &bus;
    QApplication application(argc, argv);
    ScreenScannerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "screenscannertest.moc"
