// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "cardcontents.h"
#include "cardwidget.h"
#include "modalanswers.h"
#include "networkjoiner.h"
#include "scanresult.h"
#include "tool.h"

#include <KCalendarCore/Event>
#include <KCalendarCore/ICalFormat>
#include <KCalendarCore/MemoryCalendar>
#include <KContacts/Addressee>
#include <KContacts/VCardConverter>
#include <KMessageWidget>

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimeZone>

using namespace Brevlinder;
using namespace Brevlinder::ContentDisplay;
using Brevlinder::Test::ModalAnswers;

namespace
{

QGroupBox *cardOf(QWidget *widget)
{
    return widget->findChild<QGroupBox *>(QStringLiteral("cardBox"));
}

/// The first button in @p layout or the layouts inside it.
QPushButton *buttonIn(QLayout *layout)
{
    for (int i = 0; layout && i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (auto *button = qobject_cast<QPushButton *>(item->widget())) {
            return button;
        }
        if (QPushButton *button = buttonIn(item->layout())) {
            return button;
        }
    }
    return nullptr;
}

/// The button in the field that @p label names, if there is one.
QPushButton *buttonBeside(QLabel *label)
{
    auto *form = cardOf(label->window())->findChild<QFormLayout *>();
    int row = -1;
    QFormLayout::ItemRole role;
    form->getWidgetPosition(label, &row, &role);
    QLayoutItem *field = row < 0 ? nullptr : form->itemAt(row, QFormLayout::FieldRole);
    return field ? buttonIn(field->layout()) : nullptr;
}

/// Each field as "Label:|shown value", with "|problem" when the value has one and "|[Copy FIELD]" when a button
/// beside it copies it, in the order the card shows them.
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
        if (QPushButton *copy = buttonBeside(label)) {
            row += QStringLiteral("|[%1%2]").arg(copy->accessibleName(), copy->isEnabled() ? QString() : QStringLiteral(" disabled: ") + copy->toolTip());
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

QString swissBill()
{
    return QStringList{QStringLiteral("SPC"),
                       QStringLiteral("0200"),
                       QStringLiteral("1"),
                       QStringLiteral("CH4431999123000889012"),
                       QStringLiteral("S"),
                       QStringLiteral("Robert Schneider AG"),
                       QStringLiteral("Rue du Lac"),
                       QStringLiteral("1268"),
                       QStringLiteral("2501"),
                       QStringLiteral("Biel"),
                       QStringLiteral("CH"),
                       QString(),
                       QString(),
                       QString(),
                       QString(),
                       QString(),
                       QString(),
                       QString(),
                       QStringLiteral("1949.75"),
                       QStringLiteral("CHF"),
                       QStringLiteral("S"),
                       QStringLiteral("Pia-Maria Rutschmann-Schnyder"),
                       QStringLiteral("Grosse Marktgasse"),
                       QStringLiteral("28"),
                       QStringLiteral("9400"),
                       QStringLiteral("Rorschach"),
                       QStringLiteral("CH"),
                       QStringLiteral("QRR"),
                       QStringLiteral("210000000003139471430009017"),
                       QStringLiteral("Order dated 18.06.2020"),
                       QStringLiteral("EPD")}
        .join(QLatin1Char('\n'));
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
    void initTestCase()
    {
        // Far from the events' own zone, so that the card has to convert their times.
        qputenv("TZ", "America/New_York");
        QVERIFY(m_directory.isValid());
    }

    void kindsShowTheirFieldsAndActions_data()
    {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<bool>("isGs1");

        const QString latitudeProblem = QStringLiteral("The latitude lies beyond the poles: it must be between -90 and 90 degrees.");
        const QString notBase32 = QStringLiteral("The secret is not in base32: it may hold only the letters A to Z and the digits 2 to 7.");
        const QString keepSecret = QStringLiteral("Whoever has this code can produce the second-factor codes of the account: keep it as secret as a password.");
        const QString wpaTooShort = QStringLiteral("A WPA password has 8 to 63 bytes, or 64 hexadecimal digits; this one has neither.");
        QTest::newRow("Wi-Fi WPA") << QStringLiteral("WIFI:S:CaféNet;T:WPA;P:correct horse;H:true;;") << QStringLiteral("Wi-Fi Network")
                                   << QStringList{QStringLiteral("Network name:|CaféNet"),
                                                  QStringLiteral("Security:|WPA/WPA2 Personal"),
                                                  QStringLiteral("Password:|correct horse"),
                                                  QStringLiteral("Hidden network:|Yes")}
                                   << QStringList{QStringLiteral("Connect to “CaféNet”") + connectDisabled(), QStringLiteral("Copy Password")} << QStringList()
                                   << false;
        QTest::newRow("Wi-Fi password too short") << QStringLiteral("WIFI:T:WPA;S:Short;P:1234567;;") << QStringLiteral("Wi-Fi Network")
                                                  << QStringList{QStringLiteral("Network name:|Short"),
                                                                 QStringLiteral("Security:|WPA/WPA2 Personal"),
                                                                 QStringLiteral("Password:|1234567|") + wpaTooShort,
                                                                 QStringLiteral("Hidden network:|No")}
                                                  << QStringList{QStringLiteral("Connect to “Short”") + connectDisabled(wpaTooShort),
                                                                 QStringLiteral("Copy Password|disabled|") + wpaTooShort}
                                                  << QStringList() << false;
        QTest::newRow("Wi-Fi open") << QStringLiteral("WIFI:S:Lobby;T:nopass;;") << QStringLiteral("Wi-Fi Network")
                                    << QStringList{QStringLiteral("Network name:|Lobby"),
                                                   QStringLiteral("Security:|None (open network)"),
                                                   QStringLiteral("Hidden network:|No")}
                                    << QStringList{QStringLiteral("Connect to “Lobby”") + connectDisabled()} << QStringList() << false;
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
                                   << QStringList{QStringLiteral(
                                          "The code carries no certificate or domain to check the network's server by, so any server that takes "
                                          "this network's name could receive the password.")}
                                   << false;

        const QString longDate = QLocale().toString(QDate(2026, 12, 31), QLocale::LongFormat);
        QTest::newRow("place") << QStringLiteral("geo:52.5163,13.3777;u=20") << QStringLiteral("Place")
                               << QStringList{QStringLiteral("Latitude:|52.5163"), QStringLiteral("Longitude:|13.3777"), QStringLiteral("Uncertainty:|20 m")}
                               << QStringList{QStringLiteral("Open Map"), QStringLiteral("Copy Coordinates")} << QStringList() << false;
        QTest::newRow("place beyond the pole") << QStringLiteral("geo:91,13") << QStringLiteral("Place")
                                               << QStringList{QStringLiteral("Latitude:|91|") + latitudeProblem, QStringLiteral("Longitude:|13")}
                                               << QStringList{QStringLiteral("Open Map|disabled|") + latitudeProblem,
                                                              QStringLiteral("Copy Coordinates|disabled|") + latitudeProblem}
                                               << QStringList() << false;
        QTest::newRow("phone") << QStringLiteral("tel:+49-30-1234567") << QStringLiteral("Phone Number")
                               << QStringList{QStringLiteral("Number:|+49-30-1234567")} << QStringList{QStringLiteral("Call +49-30-1234567")} << QStringList()
                               << false;
        QTest::newRow("e-mail with a hidden recipient")
            << QStringLiteral("mailto:alice@example.org?subject=Minutes&bcc=eve@example.org&body=Hello%20there") << QStringLiteral("E-mail")
            << QStringList{QStringLiteral("To:|alice@example.org"),
                           QStringLiteral("Bcc:|eve@example.org"),
                           QStringLiteral("Subject:|Minutes"),
                           QStringLiteral("Message:|Hello there")}
            << QStringList{QStringLiteral("Write E-mail to alice@example.org")}
            << QStringList{QStringLiteral("The message would also go to eve@example.org, hidden from the other recipients.")} << false;
        QTest::newRow("text message") << QStringLiteral("SMSTO:+4917012345678:See you at 8") << QStringLiteral("Text Message")
                                      << QStringList{QStringLiteral("To:|+4917012345678"), QStringLiteral("Message:|See you at 8")}
                                      << QStringList{QStringLiteral("Send Message to +4917012345678")} << QStringList() << false;
        QTest::newRow("one-time password") << QStringLiteral("otpauth://totp/Example:alice@example.org?secret=JBSWY3DPEHPK3PXP&issuer=Example")
                                           << QStringLiteral("One-Time Password Set-up")
                                           << QStringList{QStringLiteral("Issuer:|Example"),
                                                          QStringLiteral("Account:|alice@example.org"),
                                                          QStringLiteral("Type:|Time-based (TOTP)"),
                                                          QStringLiteral("Algorithm:|SHA1"),
                                                          QStringLiteral("Digits:|6"),
                                                          QStringLiteral("Period:|30"),
                                                          QStringLiteral("Secret:|JBSWY3DPEHPK3PXP")}
                                           << QStringList{QStringLiteral("Add to Authenticator"), QStringLiteral("Copy Secret")} << QStringList{keepSecret}
                                           << false;
        QTest::newRow("one-time password, secret not base32")
            << QStringLiteral("otpauth://totp/Example:bob?secret=JBSW1890&issuer=Example") << QStringLiteral("One-Time Password Set-up")
            << QStringList{QStringLiteral("Issuer:|Example"),
                           QStringLiteral("Account:|bob"),
                           QStringLiteral("Type:|Time-based (TOTP)"),
                           QStringLiteral("Algorithm:|SHA1"),
                           QStringLiteral("Digits:|6"),
                           QStringLiteral("Period:|30"),
                           QStringLiteral("Secret:|JBSW1890|") + notBase32}
            << QStringList{QStringLiteral("Add to Authenticator|disabled|") + notBase32, QStringLiteral("Copy Secret|disabled|") + notBase32}
            << QStringList{keepSecret} << false;
        const QString epc = QStringLiteral("BCD\n002\n1\nSCT\nBFSWDE33BER\nWikimedia Foerdergesellschaft\n%1\nEUR123.45\n\n\nDonation for Wikipedia");
        QTest::newRow("SEPA payment") << epc.arg(QStringLiteral("DE33100205000001194700")) << QStringLiteral("Payment")
                                      << QStringList{QStringLiteral("Beneficiary:|Wikimedia Foerdergesellschaft"),
                                                     QStringLiteral("IBAN:|DE33 1002 0500 0001 1947 00|[Copy IBAN]"),
                                                     QStringLiteral("BIC:|BFSWDE33BER"),
                                                     QStringLiteral("Amount:|123.45 EUR|[Copy Amount]"),
                                                     QStringLiteral("Remittance information:|Donation for Wikipedia")}
                                      << QStringList() << QStringList() << false;
        QTest::newRow("SEPA payment, wrong IBAN")
            << epc.arg(QStringLiteral("DE34100205000001194700")) << QStringLiteral("Payment")
            << QStringList{QStringLiteral("Beneficiary:|Wikimedia Foerdergesellschaft"),
                           QStringLiteral(
                               "IBAN:|DE34100205000001194700|The IBAN's check digits are wrong.|[Copy IBAN disabled: The IBAN's check digits are wrong.]"),
                           QStringLiteral("BIC:|BFSWDE33BER"),
                           QStringLiteral("Amount:|123.45 EUR|[Copy Amount]"),
                           QStringLiteral("Remittance information:|Donation for Wikipedia")}
            << QStringList() << QStringList() << false;
        QTest::newRow("Swiss QR-bill") << swissBill() << QStringLiteral("Payment")
                                       << QStringList{QStringLiteral("Beneficiary:|Robert Schneider AG\nRue du Lac 1268\n2501 Biel\nCH"),
                                                      QStringLiteral("IBAN:|CH44 3199 9123 0008 8901 2|[Copy IBAN]"),
                                                      QStringLiteral("Amount:|1949.75 CHF|[Copy Amount]"),
                                                      QStringLiteral("Reference:|210000000003139471430009017|[Copy Reference]"),
                                                      QStringLiteral("Remittance information:|Order dated 18.06.2020"),
                                                      QStringLiteral("Debtor:|Pia-Maria Rutschmann-Schnyder\nGrosse Marktgasse 28\n9400 Rorschach\nCH")}
                                       << QStringList() << QStringList() << false;
        QTest::newRow("GS1") << QStringLiteral("(01)09506000134352(17)261231(10)ABC123") << QStringLiteral("GS1 Data")
                             << QStringList{QStringLiteral("GTIN:|09506000134352|[Copy GTIN]"),
                                            QStringLiteral("Expiry date:|") + longDate + QStringLiteral("|[Copy Expiry date]"),
                                            QStringLiteral("Batch or lot:|ABC123|[Copy Batch or lot]")}
                             << QStringList() << QStringList() << true;
        QTest::newRow("web address") << QStringLiteral("https://kde.org/applications/") << QStringLiteral("Web Address")
                                     << QStringList{QStringLiteral("Host:|kde.org"), QStringLiteral("Address:|https://kde.org/applications/")}
                                     << QStringList{QStringLiteral("Open Link"), QStringLiteral("Copy Link Address")} << QStringList() << false;

        QTest::newRow("vCard") << QStringLiteral(
            "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Mustermann;Erika;;;\r\nFN:Erika <b>Mustermann</b>\r\nORG:KDE e.V.\r\nTEL;TYPE=WORK:+49 30 1234567\r\n"
            "EMAIL:erika@example.org\r\nEND:VCARD\r\n")
                               << QStringLiteral("Contact")
                               << QStringList{QStringLiteral("Name:|Erika <b>Mustermann</b>"),
                                              QStringLiteral("Organization:|KDE e.V."),
                                              QStringLiteral("Phone:|+49 30 1234567 (work)"),
                                              QStringLiteral("E-mail:|erika@example.org")}
                               << QStringList{QStringLiteral("Save Contact…"), QStringLiteral("Open in Address Book")} << QStringList() << false;
        QTest::newRow("MeCard") << QStringLiteral("MECARD:N:Doe,John;TEL:+1 555 0100;EMAIL:john@example.org;;") << QStringLiteral("Contact")
                                << QStringList{QStringLiteral("Name:|John Doe"),
                                               QStringLiteral("Phone:|+1 555 0100"),
                                               QStringLiteral("E-mail:|john@example.org")}
                                << QStringList{QStringLiteral("Save Contact…"), QStringLiteral("Open in Address Book")} << QStringList() << false;
        const QDateTime sprintStart = QDateTime(QDate(2026, 12, 10), QTime(10, 0), QTimeZone("Europe/Berlin")).toLocalTime();
        const QDateTime sprintEnd = QDateTime(QDate(2026, 12, 10), QTime(11, 30), QTimeZone("Europe/Berlin")).toLocalTime();
        const QLocale locale;
        QTest::newRow("event")
            << QStringLiteral(
                   "BEGIN:VEVENT\r\nUID:sprint@example.org\r\nSUMMARY:Sprint\r\nLOCATION:Berlin\r\nDTSTART;TZID=Europe/Berlin:20261210T100000\r\n"
                   "DTEND;TZID=Europe/Berlin:20261210T113000\r\nEND:VEVENT\r\n")
            << QStringLiteral("Event")
            << QStringList{QStringLiteral("Title:|Sprint"),
                           QStringLiteral("Starts:|%1, %2")
                               .arg(locale.toString(sprintStart.date(), QLocale::LongFormat), locale.toString(sprintStart.time(), QLocale::ShortFormat)),
                           QStringLiteral("Ends:|%1, %2")
                               .arg(locale.toString(sprintEnd.date(), QLocale::LongFormat), locale.toString(sprintEnd.time(), QLocale::ShortFormat)),
                           QStringLiteral("Time zone:|Europe/Berlin (starts at %1 there)").arg(locale.toString(QTime(10, 0), QLocale::ShortFormat)),
                           QStringLiteral("Location:|Berlin")}
            << QStringList{QStringLiteral("Save Event…"), QStringLiteral("Open in Calendar")} << QStringList() << false;
    }

    void kindsShowTheirFieldsAndActions()
    {
        QFETCH(bool, isGs1);
        QFETCH(QString, payload);
        QFETCH(QString, title);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, actions);
        QFETCH(QStringList, warnings);

        ContentDisplay::Tool tool;
        ScanResult::Code code;
        code.symbology = isGs1 ? QStringLiteral("DataMatrix") : QStringLiteral("QRCode");
        code.isGs1 = isGs1;
        tool.setScanResult(ScanResult(payload, payload.toUtf8(), code));
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
        network.security = Content::WifiNetwork::Security::Unknown;
        network.securityName = ssid;

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
        QCOMPARE(connect->text(), QStringLiteral("Connect to “%1”").arg(QString(shown).replace(QLatin1Char('&'), QStringLiteral("&&"))));
        // The reason it is disabled names the security as the code gives it; the tooltip shows it as characters.
        const QString reason = QStringLiteral("The code names a kind of security that is not known: “%1”.").arg(shown);
        QVERIFY(!connect->isEnabled());
        QTextDocument toolTip;
        toolTip.setHtml(connect->toolTip());
        QCOMPARE(Qt::mightBeRichText(connect->toolTip()) ? toolTip.toPlainText() : connect->toolTip(), reason);
        QCOMPARE(connect->accessibleDescription(), reason);
        QCOMPARE(valueOf(&widget, QStringLiteral("Security:"))->text(), shown);
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

    // What each Copy button puts on the clipboard: the IBAN without its groups, the amount as a number; secrets
    // marked so that clipboard managers keep no history of them.
    void copyButtonsFillTheClipboard_data()
    {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<bool>("isGs1");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("copied");
        QTest::addColumn<bool>("secret");

        const QString epc =
            QStringLiteral("BCD\n002\n1\nSCT\n\nWikimedia Foerdergesellschaft\nDE33100205000001194700\nEUR123.45\n\nRF18539007547034\n\nThanks");
        QTest::newRow("Wi-Fi password") << QStringLiteral("WIFI:S:Home;T:WPA;P:correct horse;;") << false << QStringLiteral("Copy Password")
                                        << QStringLiteral("correct horse") << true;
        QTest::newRow("one-time secret") << QStringLiteral("otpauth://totp/Example:alice?secret=JBSWY3DPEHPK3PXP") << false << QStringLiteral("Copy Secret")
                                         << QStringLiteral("JBSWY3DPEHPK3PXP") << true;
        // Shown in groups of four, copied without them.
        QTest::newRow("IBAN") << epc << false << QStringLiteral("Copy IBAN") << QStringLiteral("DE33100205000001194700") << false;
        QTest::newRow("amount") << epc << false << QStringLiteral("Copy Amount") << QStringLiteral("123.45") << false;
        QTest::newRow("reference") << epc << false << QStringLiteral("Copy Reference") << QStringLiteral("RF18539007547034") << false;
        QTest::newRow("GS1 date") << QStringLiteral("(01)09506000134352(17)261231") << true << QStringLiteral("Copy Expiry date")
                                  << QStringLiteral("2026-12-31") << false;
        QTest::newRow("coordinates") << QStringLiteral("geo:52.5163,13.3777;u=20") << false << QStringLiteral("Copy Coordinates")
                                     << QStringLiteral("52.5163,13.3777") << false;
        QTest::newRow("link address") << QStringLiteral("https://kde.org/ä?q=1") << false << QStringLiteral("Copy Link Address")
                                      << QStringLiteral("https://kde.org/%C3%A4?q=1") << false;
    }

    void copyButtonsFillTheClipboard()
    {
        QFETCH(QString, payload);
        QFETCH(bool, isGs1);
        QFETCH(QString, button);
        QFETCH(QString, copied);
        QFETCH(bool, secret);

        ContentDisplay::Tool tool;
        ScanResult::Code code;
        code.isGs1 = isGs1;
        tool.setScanResult(ScanResult(payload, payload.toUtf8(), code));
        QWidget *widget = tool.widget();
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget));
        QPushButton *copy = nullptr;
        for (QPushButton *candidate : cardOf(widget)->findChildren<QPushButton *>()) {
            if (candidate->text() == button || candidate->accessibleName() == button) {
                copy = candidate;
            }
        }
        QVERIFY(copy);
        QVERIFY(copy->isEnabled());
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::mouseClick(copy, Qt::LeftButton);
        const QMimeData *mimeData = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mimeData);
        QCOMPARE(mimeData->text(), copied);
        QCOMPARE(mimeData->data(QStringLiteral("x-kde-passwordManagerHint")), secret ? QByteArrayLiteral("secret") : QByteArray());
    }

    // What the open buttons hand to the desktop: the code's own address where it is one, else one made of the shown
    // fields alone, so that what the card left out does not reach the mail or message program.
    void openButtonsOpenTheShownFields_data()
    {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<QString>("url");
        QTest::newRow("e-mail") << QStringLiteral("mailto:alice@example.org?subject=A%26B%3Dc&bcc=eve@example.org&body=Hi%20there&attach=/etc/passwd")
                                << QStringLiteral("mailto:alice@example.org?bcc=eve%40example.org&subject=A%26B%3Dc&body=Hi%20there");
        QTest::newRow("MATMSG") << QStringLiteral("MATMSG:TO:bob@example.org;SUB:Hello;BODY:Line one;;")
                                << QStringLiteral("mailto:bob@example.org?subject=Hello&body=Line%20one");
        QTest::newRow("SMSTO") << QStringLiteral("SMSTO:+49 170 1234567:See you & bye") << QStringLiteral("sms:+491701234567?body=See%20you%20%26%20bye");
        QTest::newRow("phone") << QStringLiteral("tel:+49-30-1234567") << QStringLiteral("tel:+49-30-1234567");
        QTest::newRow("place") << QStringLiteral("geo:52.5163,13.3777;u=20?z=12") << QStringLiteral("geo:52.5163,13.3777;u=20?z=12");
        QTest::newRow("authenticator") << QStringLiteral("otpauth://totp/Example:alice?secret=JBSWY3DPEHPK3PXP")
                                       << QStringLiteral("otpauth://totp/Example:alice?secret=JBSWY3DPEHPK3PXP");
        QTest::newRow("web") << QStringLiteral("https://kde.org/ä") << QStringLiteral("https://kde.org/%C3%A4");
    }

    void openButtonsOpenTheShownFields()
    {
        QFETCH(QString, payload);
        QFETCH(QString, url);
        const std::optional<CardContents> card = CardContents::of(Content::CodeContent::read(payload, payload.toUtf8(), false), payload);
        QVERIFY(card);
        QCOMPARE(card->actions.first().kind, CardAction::Kind::OpenUrl);
        QCOMPARE(card->actions.first().url.toString(QUrl::FullyEncoded), url);
    }

    // Saved contacts read back with KContacts as the code gives them; the dialog suggests the contact's name.
    void saveContactWritesTheCard()
    {
        const QByteArray vCard(
            "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Mustermann;Erika;;;\r\nFN:Erika Mustermann\r\nTEL;TYPE=WORK:+49 30 1234567\r\n"
            "TEL;TYPE=CELL:+49 170 7654321\r\nEMAIL:erika@example.org\r\nEND:VCARD\r\n");
        Content::ContactCard contact;
        contact.name = QStringLiteral("Erika Mustermann");
        contact.phones = {{QStringLiteral("+49 30 1234567"), QStringLiteral("work")}, {QStringLiteral("+49 170 7654321"), QStringLiteral("mobile")}};
        contact.emails = {{QStringLiteral("erika@example.org"), QString()}};
        contact.vCard = vCard;

        const QString fileName = m_directory.filePath(QStringLiteral("erika.vcf"));
        QString suggested;
        QVERIFY(save(contact, QStringLiteral("Save Contact…"), fileName, &suggested));
        QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("Erika Mustermann.vcf"));

        QFile file(fileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const KContacts::Addressee::List read = KContacts::VCardConverter().parseVCards(file.readAll());
        QCOMPARE(read.size(), 1);
        QCOMPARE(read.first().formattedName(), QStringLiteral("Erika Mustermann"));
        QCOMPARE(read.first().familyName(), QStringLiteral("Mustermann"));
        QStringList phones;
        for (const KContacts::PhoneNumber &phone : read.first().phoneNumbers()) {
            phones.append(phone.number());
        }
        QCOMPARE(phones, (QStringList{QStringLiteral("+49 30 1234567"), QStringLiteral("+49 170 7654321")}));
        QCOMPARE(read.first().emails(), QStringList{QStringLiteral("erika@example.org")});
    }

    // Saved events read back with KCalendarCore in their own time zone; the card shows them in the user's.
    void eventShowsTheUsersTimeAndSavesTheCodesOwn()
    {
        const QByteArray iCalendar(
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\nBEGIN:VEVENT\r\nUID:1@example.org\r\nDTSTAMP:20261201T000000Z\r\n"
            "SUMMARY:Akademy <b>talk</b>\r\nDTSTART;TZID=Europe/Berlin:20261210T100000\r\nDTEND;TZID=Europe/Berlin:20261210T113000\r\n"
            "END:VEVENT\r\nEND:VCALENDAR\r\n");
        const QTimeZone berlin("Europe/Berlin");
        Content::CalendarEvent event;
        event.summary = QStringLiteral("Akademy <b>talk</b>");
        event.start = QDateTime(QDate(2026, 12, 10), QTime(10, 0), berlin);
        event.end = QDateTime(QDate(2026, 12, 10), QTime(11, 30), berlin);
        event.timeZoneName = QStringLiteral("Europe/Berlin");
        event.iCalendar = iCalendar;

        CardWidget widget;
        widget.setContents(*CardContents::of(event, QString()));
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        const QLocale locale;
        const QDateTime localStart = event.start.toLocalTime();
        const QDateTime localEnd = event.end.toLocalTime();
        QStringList expected{
            QStringLiteral("Title:|Akademy <b>talk</b>"),
            QStringLiteral("Starts:|%1, %2")
                .arg(locale.toString(localStart.date(), QLocale::LongFormat), locale.toString(localStart.time(), QLocale::ShortFormat)),
            QStringLiteral("Ends:|%1, %2").arg(locale.toString(localEnd.date(), QLocale::LongFormat), locale.toString(localEnd.time(), QLocale::ShortFormat))};
        // The test runs in New York's time, so the event's own zone is named.
        QCOMPARE_NE(localStart.offsetFromUtc(), event.start.offsetFromUtc());
        expected.append(QStringLiteral("Time zone:|Europe/Berlin (starts at %1 there)").arg(locale.toString(QTime(10, 0), QLocale::ShortFormat)));
        QCOMPARE(rowsOf(&widget), expected);

        const QString fileName = m_directory.filePath(QStringLiteral("talk.ics"));
        QString suggested;
        QVERIFY(save(event, QStringLiteral("Save Event…"), fileName, &suggested));
        QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("Akademy <b>talk<_b>.ics"));

        QFile file(fileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        auto calendar = KCalendarCore::MemoryCalendar::Ptr(new KCalendarCore::MemoryCalendar(QTimeZone::utc()));
        QVERIFY(KCalendarCore::ICalFormat().fromRawString(calendar, file.readAll()));
        const KCalendarCore::Event::List events = calendar->events();
        QCOMPARE(events.size(), 1);
        QCOMPARE(events.first()->summary(), QStringLiteral("Akademy <b>talk</b>"));
        QCOMPARE(events.first()->dtStart(), event.start);
        QCOMPARE(events.first()->dtEnd(), event.end);
        QCOMPARE(events.first()->dtStart().timeZone().id(), QByteArrayLiteral("Europe/Berlin"));
    }

    // An all-day event shows its dates alone, the last day it takes up as its end; a one-day event has no end.
    void allDayEventShowsDates_data()
    {
        QTest::addColumn<QDate>("lastDay");
        QTest::addColumn<QStringList>("rows");
        const QLocale locale;
        QTest::newRow("three days") << QDate(2026, 7, 3)
                                    << QStringList{QStringLiteral("Title:|Akademy"),
                                                   QStringLiteral("Starts:|") + locale.toString(QDate(2026, 7, 1), QLocale::LongFormat),
                                                   QStringLiteral("Ends:|") + locale.toString(QDate(2026, 7, 3), QLocale::LongFormat)};
        QTest::newRow("one day") << QDate(2026, 7, 1)
                                 << QStringList{QStringLiteral("Title:|Akademy"),
                                                QStringLiteral("Starts:|") + locale.toString(QDate(2026, 7, 1), QLocale::LongFormat)};
    }

    void allDayEventShowsDates()
    {
        QFETCH(QDate, lastDay);
        QFETCH(QStringList, rows);
        Content::CalendarEvent event;
        event.summary = QStringLiteral("Akademy");
        event.allDay = true;
        // Midnight in UTC is the evening before in New York: only the dates count.
        event.start = QDateTime(QDate(2026, 7, 1), QTime(0, 0), QTimeZone::UTC);
        event.end = QDateTime(lastDay, QTime(0, 0), QTimeZone::UTC);
        CardWidget widget;
        widget.setContents(*CardContents::of(event, QString()));
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QCOMPARE(rowsOf(&widget), rows);
    }

    // A contact's name with markup shows its characters; a web address's host is set in bold, not with markup.
    void namesStayLiteralAndHostsStandOut()
    {
        Content::ContactCard contact;
        contact.name = QStringLiteral("<img src=x> <b>Erika</b>");
        CardWidget contactCard;
        contactCard.setContents(*CardContents::of(contact, QString()));
        contactCard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&contactCard));
        QCOMPARE(valueOf(&contactCard, QStringLiteral("Name:"))->text(), contact.name);
        QCOMPARE(valueOf(&contactCard, QStringLiteral("Name:"))->textFormat(), Qt::PlainText);

        ContentDisplay::Tool tool;
        tool.setScanResult(scanOf(QStringLiteral("https://bank.example@elsewhere.example/login")));
        tool.widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(tool.widget()));
        QLabel *host = valueOf(tool.widget(), QStringLiteral("Host:"));
        QVERIFY(host);
        QCOMPARE(host->text(), QStringLiteral("elsewhere.example"));
        QVERIFY(host->font().bold());
        QVERIFY(!valueOf(tool.widget(), QStringLiteral("Address:"))->font().bold());
        QCOMPARE(warningsOf(tool.widget()), QStringList{QStringLiteral("The address begins with a user name, “bank.example”; it leads to elsewhere.example.")});
    }

    // A save that fails says why in the card, and leaves the card as it was.
    void failedSaveIsShownInTheCard()
    {
        Content::ContactCard contact;
        contact.name = QStringLiteral("Erika");
        contact.vCard = QByteArrayLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Erika\r\nN:;Erika;;;\r\nEND:VCARD\r\n");
        QFile blocker(m_directory.filePath(QStringLiteral("plain")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString fileName = m_directory.filePath(QStringLiteral("plain/erika.vcf"));

        CardWidget widget;
        QVERIFY(saveWith(widget, contact, QStringLiteral("Save Contact…"), fileName, nullptr));
        auto *result = widget.findChild<KMessageWidget *>(QStringLiteral("resultMessage"));
        QVERIFY(result);
        QTRY_VERIFY(result->isVisible());
        QCOMPARE(result->messageType(), KMessageWidget::Error);
        QVERIFY2(result->text().startsWith(QStringLiteral("Could not save to file %1: ").arg(fileName)), qPrintable(result->text()));
        QCOMPARE(result->textFormat(), Qt::PlainText);
        QVERIFY(!QFileInfo::exists(fileName));
    }

    // A contact and an event from codes, saved and read back with KContacts and KCalendarCore, are the code's own.
    void savedCodesReadBack()
    {
        ContentDisplay::Tool contactTool;
        contactTool.setScanResult(
            scanOf(QStringLiteral("BEGIN:VCARD\r\nVERSION:2.1\r\nN:Mustermann;Erika\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Erika M=C3=BCller\r\n"
                                  "TEL;WORK:+49 30 1234567\r\nTEL;CELL:+49 170 7654321\r\nEMAIL:erika@example.org\r\nEND:VCARD\r\n")));
        const QString vcf = m_directory.filePath(QStringLiteral("from-code.vcf"));
        QString suggested;
        QVERIFY(pressSave(contactTool.widget(), QStringLiteral("Save Contact…"), vcf, &suggested));
        QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("Erika Müller.vcf"));
        QFile contactFile(vcf);
        QVERIFY(contactFile.open(QIODevice::ReadOnly));
        const KContacts::Addressee::List contacts = KContacts::VCardConverter().parseVCards(contactFile.readAll());
        QCOMPARE(contacts.size(), 1);
        QCOMPARE(contacts.first().formattedName(), QStringLiteral("Erika Müller"));
        QStringList phones;
        for (const KContacts::PhoneNumber &phone : contacts.first().phoneNumbers()) {
            phones.append(phone.number());
        }
        QCOMPARE(phones, (QStringList{QStringLiteral("+49 30 1234567"), QStringLiteral("+49 170 7654321")}));
        QCOMPARE(contacts.first().emails(), QStringList{QStringLiteral("erika@example.org")});

        ContentDisplay::Tool eventTool;
        eventTool.setScanResult(
            scanOf(QStringLiteral("BEGIN:VEVENT\r\nUID:sprint@example.org\r\nSUMMARY:Sprint\r\nDTSTART;TZID=Europe/Berlin:20261210T100000\r\n"
                                  "DTEND;TZID=Europe/Berlin:20261210T113000\r\nEND:VEVENT\r\n")));
        const QString ics = m_directory.filePath(QStringLiteral("from-code.ics"));
        QVERIFY(pressSave(eventTool.widget(), QStringLiteral("Save Event…"), ics, &suggested));
        QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("Sprint.ics"));
        QFile eventFile(ics);
        QVERIFY(eventFile.open(QIODevice::ReadOnly));
        auto calendar = KCalendarCore::MemoryCalendar::Ptr(new KCalendarCore::MemoryCalendar(QTimeZone::utc()));
        QVERIFY(KCalendarCore::ICalFormat().fromRawString(calendar, eventFile.readAll()));
        QCOMPARE(calendar->events().size(), 1);
        const KCalendarCore::Event::Ptr event = calendar->events().first();
        QCOMPARE(event->summary(), QStringLiteral("Sprint"));
        QCOMPARE(event->dtStart(), QDateTime(QDate(2026, 12, 10), QTime(10, 0), QTimeZone("Europe/Berlin")));
        QCOMPARE(event->dtEnd(), QDateTime(QDate(2026, 12, 10), QTime(11, 30), QTimeZone("Europe/Berlin")));
        QCOMPARE(event->dtStart().timeZone().id(), QByteArrayLiteral("Europe/Berlin"));
    }

    // A new code that replaces the card while the save dialog is open does not lose the save the user asked for.
    void saveSurvivesANewCard()
    {
        Content::ContactCard contact;
        contact.name = QStringLiteral("Erika");
        contact.vCard = QByteArrayLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Erika\r\nN:;Erika;;;\r\nEND:VCARD\r\n");
        const QString fileName = m_directory.filePath(QStringLiteral("replaced.vcf"));

        CardWidget widget;
        widget.setContents(*CardContents::of(contact, QString()));
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        Content::WifiNetwork network;
        network.ssid.value = QStringLiteral("Later");
        ModalAnswers answers({[&widget, &network, fileName](QWidget *modal) {
            widget.setContents(*CardContents::of(network, QString()));
            auto *edit = modal->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            auto *buttons = modal->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
            if (!edit || !buttons) {
                QMetaObject::invokeMethod(modal, &QWidget::close, Qt::QueuedConnection);
                return;
            }
            edit->setText(fileName);
            QMetaObject::invokeMethod(buttons->button(QDialogButtonBox::Save), &QAbstractButton::click, Qt::QueuedConnection);
        }});
        QTest::mouseClick(actionButton(&widget, QStringLiteral("Save Contact…")), Qt::LeftButton);
        QCOMPARE(answers.seen.size(), 1);
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), contact.vCard);
        QCOMPARE(cardOf(&widget)->title(), QStringLiteral("Wi-Fi Network"));
        QVERIFY(!widget.findChild<KMessageWidget *>(QStringLiteral("resultMessage"))->isVisible());
    }

private:
    template<typename Kind>
    bool save(const Kind &kind, const QString &buttonText, const QString &fileName, QString *suggested)
    {
        CardWidget widget;
        return saveWith(widget, kind, buttonText, fileName, suggested);
    }

    // Presses the card's save button and answers the dialog with @p fileName, noting the name it suggested.
    template<typename Kind>
    bool saveWith(CardWidget &widget, const Kind &kind, const QString &buttonText, const QString &fileName, QString *suggested)
    {
        widget.setContents(*CardContents::of(kind, QString()));
        return pressSave(&widget, buttonText, fileName, suggested);
    }

    bool pressSave(QWidget *widget, const QString &buttonText, const QString &fileName, QString *suggested)
    {
        widget->show();
        if (!QTest::qWaitForWindowExposed(widget)) {
            return false;
        }
        QPushButton *button = actionButton(widget, buttonText);
        if (!button || !button->isEnabled()) {
            return false;
        }
        ModalAnswers answers({[fileName, suggested](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            auto *edit = dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
            auto *buttons = dialog ? dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox")) : nullptr;
            QPushButton *saveButton = buttons ? buttons->button(QDialogButtonBox::Save) : nullptr;
            if (!edit || !saveButton) {
                QMetaObject::invokeMethod(modal, &QWidget::close, Qt::QueuedConnection);
                return;
            }
            if (suggested) {
                *suggested = dialog->selectedFiles().value(0);
            }
            edit->setText(fileName);
            QMetaObject::invokeMethod(saveButton, &QAbstractButton::click, Qt::QueuedConnection);
        }});
        QTest::mouseClick(button, Qt::LeftButton);
        return answers.seen.size() == 1;
    }

    QTemporaryDir m_directory;
};

QTEST_MAIN(ContentDisplayTest)

#include "contentdisplaytest.moc"
