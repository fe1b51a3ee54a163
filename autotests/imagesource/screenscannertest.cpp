// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "screenscanner.h"
#include "tool.h"

#include <QPushButton>
#include <QTest>

using Brevlinder::ImageSource::ScreenScanner;

class ScreenScannerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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

    // Here (offscreen, and a session bus that is not there) the button cannot work, and says why.
    void buttonIsDisabledWhereTheScreenCannotBeRead()
    {
        QCOMPARE(ScreenScanner::availableMethod(), ScreenScanner::Method::Unavailable);
        Brevlinder::ImageSource::Tool tool;
        tool.switchToPickView();
        auto *button = tool.widget()->findChild<QPushButton *>(QStringLiteral("scanScreenButton"));
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("Scan Screen"));
        QVERIFY(!button->isEnabled());
        QCOMPARE(button->toolTip(), ScreenScanner::unavailableReason());
        QVERIFY(button->toolTip().contains(QStringLiteral("no screenshot portal")));
    }
};

int main(int argc, char **argv)
{
    // No portal can be reached, whatever session the test runs in.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/brevlinder-test-bus");
    QApplication application(argc, argv);
    ScreenScannerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "screenscannertest.moc"
