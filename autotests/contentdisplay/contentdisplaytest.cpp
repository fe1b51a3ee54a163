// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "cardcontents.h"
#include "cardwidget.h"
#include "networkjoiner.h"
#include "scanresult.h"
#include "tool.h"

#include <KMessageWidget>

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

using namespace Brevlinder;
using namespace Brevlinder::ContentDisplay;

namespace
{

QGroupBox *cardOf(QWidget *widget)
{
    return widget->findChild<QGroupBox *>(QStringLiteral("cardBox"));
}

/// Each field as "Label:|shown value", with "|problem" when the value has one, in the order the card shows them.
QStringList rowsOf(QWidget *widget)
{
    QStringList rows;
    for (QLabel *label : cardOf(widget)->findChildren<QLabel *>()) {
        auto *value = qobject_cast<QLabel *>(label->buddy());
        if (!value) {
            continue;
        }
        QString row = label->text() + QLatin1Char('|') + value->text();
        if (!value->accessibleDescription().isEmpty()) {
            row += QLatin1Char('|') + value->accessibleDescription();
        }
        rows.append(row);
    }
    return rows;
}

QLabel *valueOf(QWidget *widget, const QString &label)
{
    for (QLabel *candidate : cardOf(widget)->findChildren<QLabel *>()) {
        if (candidate->text() == label && candidate->buddy()) {
            return qobject_cast<QLabel *>(candidate->buddy());
        }
    }
    return nullptr;
}

/// The action buttons as "Text", with "|disabled|tooltip" for a disabled one.
QStringList actionsOf(QWidget *widget)
{
    QStringList actions;
    for (QPushButton *button : cardOf(widget)->findChildren<QPushButton *>(Qt::FindDirectChildrenOnly)) {
        QString action = button->text();
        if (!button->isEnabled()) {
            action += QLatin1String("|disabled|") + button->toolTip();
        }
        actions.append(action);
    }
    return actions;
}

QPushButton *actionButton(QWidget *widget, const QString &text)
{
    for (QPushButton *button : cardOf(widget)->findChildren<QPushButton *>(Qt::FindDirectChildrenOnly)) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

QStringList warningsOf(QWidget *widget)
{
    QStringList warnings;
    for (KMessageWidget *message : cardOf(widget)->findChildren<KMessageWidget *>()) {
        if (message->objectName() != QLatin1String("resultMessage")) {
            warnings.append(message->textFormat() == Qt::PlainText ? message->text() : QStringLiteral("<not plain text>"));
        }
    }
    return warnings;
}

// What the Connect button says when no network can be joined on this machine.
QString connectDisabled(const QString &ownReason = QString())
{
    const QString reason = ownReason.isEmpty() ? WifiConnect::NetworkJoiner::unavailableReason() : ownReason;
    return reason.isEmpty() ? QString() : QLatin1String("|disabled|") + reason;
}

ScanResult scanOf(const QString &text)
{
    return ScanResult(text, text.toUtf8());
}

}

class ContentDisplayTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kindsShowTheirFieldsAndActions_data()
    {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("warnings");

        const QString wpaTooShort = QStringLiteral("A WPA password has 8 to 63 bytes, or 64 hexadecimal digits; this one has neither.");
        QTest::newRow("Wi-Fi WPA") << QStringLiteral("WIFI:S:CaféNet;T:WPA;P:correct horse;H:true;;") << QStringLiteral("Wi-Fi Network")
                                   << QStringList{QStringLiteral("Network name:|CaféNet"),
                                                  QStringLiteral("Security:|WPA/WPA2 Personal"),
                                                  QStringLiteral("Password:|correct horse"),
                                                  QStringLiteral("Hidden network:|Yes")}
                                   << QStringList{QStringLiteral("Connect to “CaféNet”") + connectDisabled(), QStringLiteral("Copy Password")} << QStringList();
        QTest::newRow("Wi-Fi password too short") << QStringLiteral("WIFI:T:WPA;S:Short;P:1234567;;") << QStringLiteral("Wi-Fi Network")
                                                  << QStringList{QStringLiteral("Network name:|Short"),
                                                                 QStringLiteral("Security:|WPA/WPA2 Personal"),
                                                                 QStringLiteral("Password:|1234567|") + wpaTooShort,
                                                                 QStringLiteral("Hidden network:|No")}
                                                  << QStringList{QStringLiteral("Connect to “Short”") + connectDisabled(wpaTooShort),
                                                                 QStringLiteral("Copy Password|disabled|") + wpaTooShort}
                                                  << QStringList();
        QTest::newRow("Wi-Fi open") << QStringLiteral("WIFI:S:Lobby;T:nopass;;") << QStringLiteral("Wi-Fi Network")
                                    << QStringList{QStringLiteral("Network name:|Lobby"),
                                                   QStringLiteral("Security:|None (open network)"),
                                                   QStringLiteral("Hidden network:|No")}
                                    << QStringList{QStringLiteral("Connect to “Lobby”") + connectDisabled()} << QStringList();
        QTest::newRow("Wi-Fi EAP") << QStringLiteral("WIFI:S:Campus;T:WPA2-EAP;E:PEAP;PH2:MSCHAPV2;A:anon;I:alice;P:s3cret!!;;")
                                   << QStringLiteral("Wi-Fi Network")
                                   << QStringList{QStringLiteral("Network name:|Campus"),
                                                  QStringLiteral("Security:|WPA2 Enterprise (EAP)"),
                                                  QStringLiteral("Password:|s3cret!!"),
                                                  QStringLiteral("Hidden network:|No"),
                                                  QStringLiteral("EAP method:|PEAP"),
                                                  QStringLiteral("Identity:|alice"),
                                                  QStringLiteral("Anonymous identity:|anon"),
                                                  QStringLiteral("Inner authentication:|MSCHAPV2")}
                                   << QStringList{QStringLiteral("Connect to “Campus”") + connectDisabled(), QStringLiteral("Copy Password")}
                                   << QStringList{
                                          QStringLiteral("The code carries no certificate or domain to check the network's server by, so any server that takes "
                                                         "this network's name could receive the password.")};
    }

    void kindsShowTheirFieldsAndActions()
    {
        QFETCH(QString, payload);
        QFETCH(QString, title);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, actions);
        QFETCH(QStringList, warnings);

        ContentDisplay::Tool tool;
        tool.setScanResult(scanOf(payload));
        QWidget *widget = tool.widget();
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget));
        QVERIFY(cardOf(widget)->isVisible());
        QCOMPARE(cardOf(widget)->title(), title);
        QCOMPARE(rowsOf(widget), rows);
        QCOMPARE(actionsOf(widget), actions);
        QCOMPARE(warningsOf(widget), warnings);
        for (QLabel *label : cardOf(widget)->findChildren<QLabel *>()) {
            if (!qobject_cast<KMessageWidget *>(label->parentWidget())) {
                QCOMPARE(label->textFormat(), Qt::PlainText);
            }
        }
    }

    // Plain text, and no result at all, show no card.
    void plainTextHidesTheCard()
    {
        ContentDisplay::Tool tool;
        QWidget *widget = tool.widget();
        QVERIFY(widget->isHidden());
        tool.setScanResult(scanOf(QStringLiteral("WIFI:S:Net;T:WPA;P:password1;;")));
        QVERIFY(!widget->isHidden());
        tool.setScanResult(scanOf(QStringLiteral("Just a sentence about WIFI:S:Net;")));
        QVERIFY(widget->isHidden());
        tool.setScanResult(scanOf(QStringLiteral("WIFI:S:Net;T:WPA;P:password1;;")));
        QVERIFY(!widget->isHidden());
        tool.setScanResult(ScanResult());
        QVERIFY(widget->isHidden());
    }

    // Markup stays its characters, control characters show as their pictures, and a NUL keeps what follows.
    void valuesShowEveryCharacter_data()
    {
        QTest::addColumn<QString>("ssid");
        QTest::addColumn<QString>("shown");
        QTest::newRow("bold") << QStringLiteral("<b>x</b>") << QStringLiteral("<b>x</b>");
        QTest::newRow("image") << QStringLiteral("<img src=x>") << QStringLiteral("<img src=x>");
        QTest::newRow("escape and bell") << QStringLiteral("a\x1b[2Jb\x07") << QStringLiteral("a\u241b[2Jb\u2407");
        QTest::newRow("NUL in the middle") << QString(QStringLiteral("front\0back").data(), 10) << QStringLiteral("front\u2400back");
        QTest::newRow("line break and delete") << QStringLiteral("one\ntwo\x7f") << QStringLiteral("one\u240atwo\u2421");
        QTest::newRow("ampersand") << QStringLiteral("Tom & Jerry") << QStringLiteral("Tom & Jerry");
    }

    void valuesShowEveryCharacter()
    {
        QFETCH(QString, ssid);
        QFETCH(QString, shown);
        Content::WifiNetwork network;
        network.ssid.value = ssid;
        network.security = Content::WifiNetwork::Security::WpaPersonal;
        network.password.value = QStringLiteral("password1");

        CardWidget widget;
        widget.setContents(*CardContents::of(network, QString()));
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QLabel *value = valueOf(&widget, QStringLiteral("Network name:"));
        QVERIFY(value);
        QCOMPARE(value->text(), shown);
        QCOMPARE(value->textFormat(), Qt::PlainText);
        // The button names the network as the value does; its tooltip, rich text or not, shows the same characters.
        QPushButton *connect = nullptr;
        for (QPushButton *button : cardOf(&widget)->findChildren<QPushButton *>(Qt::FindDirectChildrenOnly)) {
            if (button->text().startsWith(QStringLiteral("Connect"))) {
                connect = button;
            }
        }
        QVERIFY(connect);
        QString buttonText = connect->text();
        QCOMPARE(buttonText.replace(QStringLiteral("&&"), QStringLiteral("&")), QStringLiteral("Connect to “%1”").arg(shown));
        if (connect->isEnabled()) {
            QTextDocument toolTip;
            toolTip.setHtml(connect->toolTip());
            QCOMPARE(Qt::mightBeRichText(connect->toolTip()) ? toolTip.toPlainText() : connect->toolTip(), shown);
        }
    }

    // A long target is shortened in the middle on the button; the tooltip names it whole.
    void longTargetIsShortened()
    {
        const QString ssid = QStringLiteral("The-quite-long-network-name-of-the-conference-hall-north");
        Content::WifiNetwork network;
        network.ssid.value = ssid;
        network.security = Content::WifiNetwork::Security::Open;
        CardWidget widget;
        widget.setContents(*CardContents::of(network, QString()));
        widget.show();
        const QStringList actions = actionsOf(&widget);
        QCOMPARE(actions.size(), 1);
        QVERIFY(actions.at(0).startsWith(QStringLiteral("Connect to “The-")));
        QVERIFY(actions.at(0).contains(QChar(0x2026)));
        QVERIFY(!actions.at(0).contains(ssid));
        QVERIFY(actions.at(0).contains(QStringLiteral("north”")));
    }

    void copyButtonsFillTheClipboard()
    {
        ContentDisplay::Tool tool;
        tool.setScanResult(scanOf(QStringLiteral("WIFI:S:Home;T:WPA;P:correct horse;;")));
        QWidget *widget = tool.widget();
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget));
        QGuiApplication::clipboard()->clear();
        QPushButton *copy = actionButton(widget, QStringLiteral("Copy Password"));
        QVERIFY(copy);
        QTest::mouseClick(copy, Qt::LeftButton);
        const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied);
        QCOMPARE(copied->text(), QStringLiteral("correct horse"));
        QCOMPARE(copied->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArrayLiteral("secret"));
    }
};

QTEST_MAIN(ContentDisplayTest)

#include "contentdisplaytest.moc"
