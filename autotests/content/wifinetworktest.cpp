// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "wifinetwork.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

using Security = WifiNetwork::Security;
Q_DECLARE_METATYPE(Security)

class WifiNetworkTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void notWifi_data();
    void notWifi();
};

void WifiNetworkTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("ssid");
    QTest::addColumn<bool>("ssidSound");
    QTest::addColumn<Security>("security");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("passwordSound");
    QTest::addColumn<bool>("hidden");
    // EAP method, anonymous identity, identity, phase 2 method.
    QTest::addColumn<QStringList>("eap");
    // A word from each warning, in order.
    QTest::addColumn<QStringList>("warnings");

    const QStringList noEap{QString(), QString(), QString(), QString()};

    // The examples that generators and the Wi-Fi URI grammar give.
    QTest::newRow("WPA") << u"WIFI:T:WPA;S:mynetwork;P:mypass123;;"_s << u"mynetwork"_s << true << Security::WpaPersonal << u"mypass123"_s << true << false
                         << noEap << QStringList{};
    QTest::newRow("grammar order with SAE-PK") << u"WIFI:T:WPA;R:1;S:MyNet;P:a4Yd-fpN4-L2kS;K:MDkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDIgAC/;;"_s << u"MyNet"_s << true
                                               << Security::Sae << u"a4Yd-fpN4-L2kS"_s << true << false << noEap << QStringList{};
    QTest::newRow("open, no T") << u"WIFI:S:lobby;;"_s << u"lobby"_s << true << Security::Open << QString() << true << false << noEap << QStringList{};
    QTest::newRow("nopass") << u"WIFI:T:nopass;S:lobby;;"_s << u"lobby"_s << true << Security::Open << QString() << true << false << noEap << QStringList{};
    QTest::newRow("open with a password") << u"WIFI:T:nopass;S:lobby;P:secret12;;"_s << u"lobby"_s << true << Security::Open << u"secret12"_s << false << false
                                          << noEap << QStringList{};
    QTest::newRow("lower case T and keys") << u"wifi:t:wpa2;s:home;p:password1;h:TRUE;;"_s << u"home"_s << true << Security::WpaPersonal << u"password1"_s
                                           << true << true << noEap << QStringList{};
    QTest::newRow("WPA3") << u"WIFI:T:WPA3;S:home;P:pw;;"_s << u"home"_s << true << Security::Sae << u"pw"_s << true << false << noEap << QStringList{};
    QTest::newRow("SAE from Android") << u"WIFI:S:home;T:SAE;P:x;H:false;;"_s << u"home"_s << true << Security::Sae << u"x"_s << true << false << noEap
                                      << QStringList{};
    QTest::newRow("K alone means SAE") << u"WIFI:S:home;P:short;K:key;;"_s << u"home"_s << true << Security::Sae << u"short"_s << true << false << noEap
                                       << QStringList{};
    QTest::newRow("SAE without a password") << u"WIFI:T:SAE;S:home;;"_s << u"home"_s << true << Security::Sae << QString() << false << false << noEap
                                            << QStringList{};
    QTest::newRow("unknown security") << u"WIFI:T:WPA4;S:home;P:x;;"_s << u"home"_s << true << Security::Unknown << u"x"_s << true << false << noEap
                                      << QStringList{u"WPA4"_s};

    // WPA pre-shared keys: 8 to 63 bytes, or 64 hexadecimal digits.
    const QString hex64 = u"0123456789abcdef"_s.repeated(4);
    QTest::newRow("WPA 7 bytes") << u"WIFI:T:WPA;S:n;P:1234567;;"_s << u"n"_s << true << Security::WpaPersonal << u"1234567"_s << false << false << noEap
                                 << QStringList{};
    QTest::newRow("WPA 8 bytes") << u"WIFI:T:WPA;S:n;P:12345678;;"_s << u"n"_s << true << Security::WpaPersonal << u"12345678"_s << true << false << noEap
                                 << QStringList{};
    QTest::newRow("WPA 63 bytes") << (u"WIFI:T:WPA;S:n;P:"_s + QString(63, u'x')) << u"n"_s << true << Security::WpaPersonal << QString(63, u'x') << true
                                  << false << noEap << QStringList{};
    QTest::newRow("WPA 64 characters, not hex") << (u"WIFI:T:WPA;S:n;P:"_s + QString(64, u'x')) << u"n"_s << true << Security::WpaPersonal << QString(64, u'x')
                                                << false << false << noEap << QStringList{};
    QTest::newRow("WPA 64 hex digits") << (u"WIFI:T:WPA;S:n;P:"_s + hex64) << u"n"_s << true << Security::WpaPersonal << hex64 << true << false << noEap
                                       << QStringList{};
    QTest::newRow("WPA 64 hex digits quoted") << (u"WIFI:T:WPA;S:n;P:\""_s + hex64 + u"\""_s) << u"n"_s << true << Security::WpaPersonal << hex64 << false
                                              << false << noEap << QStringList{};
    QTest::newRow("WPA 65 hex digits") << (u"WIFI:T:WPA;S:n;P:"_s + hex64 + u"0"_s) << u"n"_s << true << Security::WpaPersonal << (hex64 + u"0"_s) << false
                                       << false << noEap << QStringList{};
    // Five characters, but 15 bytes in UTF-8: within the limit; 22 of them are 66 bytes.
    QTest::newRow("WPA multi-byte within limit") << u"WIFI:T:WPA;S:n;P:パスワード;;"_s << u"n"_s << true << Security::WpaPersonal << u"パスワード"_s << true
                                                 << false << noEap << QStringList{};
    QTest::newRow("WPA multi-byte over limit") << (u"WIFI:T:WPA;S:n;P:"_s + QString(22, u'パ')) << u"n"_s << true << Security::WpaPersonal << QString(22, u'パ')
                                               << false << false << noEap << QStringList{};
    QTest::newRow("WPA without a password") << u"WIFI:T:WPA;S:n;;"_s << u"n"_s << true << Security::WpaPersonal << QString() << false << false << noEap
                                            << QStringList{};

    // WEP keys: 5 or 13 characters, or 10 or 26 hexadecimal digits.
    QTest::newRow("WEP 5 characters") << u"WIFI:T:WEP;S:n;P:abcde;;"_s << u"n"_s << true << Security::Wep << u"abcde"_s << true << false << noEap
                                      << QStringList{};
    QTest::newRow("WEP 13 characters") << u"WIFI:T:wep;S:n;P:abcdefghijklm;;"_s << u"n"_s << true << Security::Wep << u"abcdefghijklm"_s << true << false
                                       << noEap << QStringList{};
    QTest::newRow("WEP 10 hex digits") << u"WIFI:T:WEP;S:n;P:0123456789;;"_s << u"n"_s << true << Security::Wep << u"0123456789"_s << true << false << noEap
                                       << QStringList{};
    QTest::newRow("WEP 26 hex digits") << (u"WIFI:T:WEP;S:n;P:"_s + hex64.left(26)) << u"n"_s << true << Security::Wep << hex64.left(26) << true << false
                                       << noEap << QStringList{};
    QTest::newRow("WEP 10 characters, not hex") << u"WIFI:T:WEP;S:n;P:abcdefghij;;"_s << u"n"_s << true << Security::Wep << u"abcdefghij"_s << false << false
                                                << noEap << QStringList{};
    QTest::newRow("WEP 6 characters") << u"WIFI:T:WEP;S:n;P:abcdef;;"_s << u"n"_s << true << Security::Wep << u"abcdef"_s << false << false << noEap
                                      << QStringList{};

    // Network names: at most 32 bytes, never trimmed, quotes dropped.
    QTest::newRow("SSID 32 bytes") << (u"WIFI:S:"_s + QString(32, u'n') + u";;"_s) << QString(32, u'n') << true << Security::Open << QString() << true << false
                                   << noEap << QStringList{};
    QTest::newRow("SSID 33 bytes") << (u"WIFI:S:"_s + QString(33, u'n') + u";;"_s) << QString(33, u'n') << false << Security::Open << QString() << true << false
                                   << noEap << QStringList{};
    QTest::newRow("SSID 11 characters, 33 bytes") << u"WIFI:S:ネットワークの名前です;;"_s << u"ネットワークの名前です"_s << false << Security::Open << QString()
                                                  << true << false << noEap << QStringList{};
    QTest::newRow("SSID with spaces") << u"WIFI:S: my net ;;"_s << u" my net "_s << true << Security::Open << QString() << true << false << noEap
                                      << QStringList{};
    QTest::newRow("no SSID") << u"WIFI:T:WPA;P:password1;;"_s << QString() << false << Security::WpaPersonal << u"password1"_s << true << false << noEap
                             << QStringList{};
    QTest::newRow("empty SSID") << u"WIFI:S:;;"_s << QString() << false << Security::Open << QString() << true << false << noEap << QStringList{};
    QTest::newRow("hex-looking SSID") << u"WIFI:S:414243;;"_s << u"414243"_s << true << Security::Open << QString() << true << false << noEap
                                      << QStringList{u"414243"_s};
    QTest::newRow("quoted hex-looking SSID") << u"WIFI:S:\"414243\";;"_s << u"414243"_s << true << Security::Open << QString() << true << false << noEap
                                             << QStringList{};
    QTest::newRow("odd hex-looking SSID") << u"WIFI:S:abc;;"_s << u"abc"_s << true << Security::Open << QString() << true << false << noEap << QStringList{};
    QTest::newRow("escaped separators") << uR"(WIFI:S:a\;b\,c\:d\"e\\;T:WPA;P:p\;ssword;;)"_s << uR"(a;b,c:d"e\)"_s << true << Security::WpaPersonal
                                        << u"p;ssword"_s << true << false << noEap << QStringList{};
    QTest::newRow("quoted value with separators") << uR"(WIFI:S:"a;b";T:WPA;P:"pass:word";;)"_s << u"a;b"_s << true << Security::WpaPersonal << u"pass:word"_s
                                                  << true << false << noEap << QStringList{};
    QTest::newRow("percent kept") << u"WIFI:S:caf%C3%A9;T:WPA;P:pass%20word;;"_s << u"caf%C3%A9"_s << true << Security::WpaPersonal << u"pass%20word"_s << true
                                  << false << noEap << QStringList{u"percent"_s};
    QTest::newRow("percent without hex digits") << u"WIFI:S:100%;T:WPA;P:100% safe;;"_s << u"100%"_s << true << Security::WpaPersonal << u"100% safe"_s << true
                                                << false << noEap << QStringList{};
    QTest::newRow("conflicting SSIDs") << u"WIFI:S:shown;T:WPA;P:password1;S:other;;"_s << u"shown"_s << true << Security::WpaPersonal << u"password1"_s << true
                                       << false << noEap << QStringList{u"more than once"_s};

    // EAP, with the older H for phase 2 and the AI alias.
    QTest::newRow("EAP") << u"WIFI:T:WPA2-EAP;S:corp;E:PEAP;A:anon;I:user;P:pw;PH2:MSCHAPV2;;"_s << u"corp"_s << true << Security::Wpa2Eap << u"pw"_s << true
                         << false << QStringList{u"PEAP"_s, u"anon"_s, u"user"_s, u"MSCHAPV2"_s} << QStringList{u"certificate"_s};
    QTest::newRow("EAP, phase 2 in H, AI") << u"WIFI:T:WPA2-EAP;S:corp;E:TTLS;AI:anon;I:user;P:pw;H:PAP;;"_s << u"corp"_s << true << Security::Wpa2Eap
                                           << u"pw"_s << true << false << QStringList{u"TTLS"_s, u"anon"_s, u"user"_s, u"PAP"_s}
                                           << QStringList{u"certificate"_s};
    QTest::newRow("EAP hidden") << u"WIFI:T:wpa2-eap;S:corp;E:TLS;I:user;H:true;;"_s << u"corp"_s << true << Security::Wpa2Eap << QString() << true << true
                                << QStringList{u"TLS"_s, QString(), u"user"_s, QString()} << QStringList{u"certificate"_s};

    // Hostile payloads: kept as they are, in linear time.
    QTest::newRow("NUL in SSID") << QStringLiteral("WIFI:S:a\0b;T:WPA;P:pass\x01word;;") << QStringLiteral("a\0b") << true << Security::WpaPersonal
                                 << QStringLiteral("pass\x01word") << true << false << noEap << QStringList{};
    QTest::newRow("unterminated escape") << uR"(WIFI:T:WPA;S:n;P:password\)"_s << u"n"_s << true << Security::WpaPersonal << uR"(password\)"_s << true << false
                                         << noEap << QStringList{};
    // As long as a message split over many codes can be.
    const QString longest(60000, u'x');
    QTest::newRow("longest SSID") << (u"WIFI:T:WPA;P:password1;S:"_s + longest + u";;"_s) << longest << false << Security::WpaPersonal << u"password1"_s << true
                                  << false << noEap << QStringList{};
    QTest::newRow("longest repetition of fields") << (u"WIFI:"_s + u"S:a;T:WPA;P:password1;"_s.repeated(60000 / 22) + u"S:b;"_s) << u"a"_s << true
                                                  << Security::WpaPersonal << u"password1"_s << true << false << noEap << QStringList{u"more than once"_s};
}

void WifiNetworkTest::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, ssid);
    QFETCH(bool, ssidSound);
    QFETCH(Security, security);
    QFETCH(QString, password);
    QFETCH(bool, passwordSound);
    QFETCH(bool, hidden);
    QFETCH(QStringList, eap);
    QFETCH(QStringList, warnings);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    const auto network = WifiNetwork::parse(text);
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));

    QVERIFY(network);
    QCOMPARE(network->ssid.value, ssid);
    QCOMPARE(network->ssid.isSound(), ssidSound);
    QCOMPARE(network->security, security);
    QCOMPARE(network->password.value, password);
    QCOMPARE(network->password.isSound(), passwordSound);
    QCOMPARE(network->hidden, hidden);
    QCOMPARE((QStringList{network->eapMethod, network->anonymousIdentity, network->identity, network->phase2Method}), eap);

    QStringList actualWarnings;
    for (const KLocalizedString &warning : network->warnings) {
        actualWarnings.append(warning.toString());
    }
    QCOMPARE(actualWarnings.size(), warnings.size());
    for (qsizetype i = 0; i < warnings.size(); ++i) {
        QVERIFY2(actualWarnings.at(i).contains(warnings.at(i)), qPrintable(actualWarnings.at(i)));
    }
    // A problem always comes with a text to show.
    QVERIFY(ssidSound || !network->ssid.problem.toString().isEmpty());
    QVERIFY(passwordSound || !network->password.problem.toString().isEmpty());
}

void WifiNetworkTest::notWifi_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("prose") << u"WIFI: is free in the lobby; ask at the desk"_s;
    QTest::newRow("URL containing it") << u"https://example.org/?q=WIFI:S:x;;"_s;
    QTest::newRow("prefix only") << u"WIFI:"_s;
    QTest::newRow("link after the prefix") << u"WIFI:https://example.org/hotspot"_s;
    QTest::newRow("unknown keys only") << u"WIFI:X:1;Y:2;;"_s;
    QTest::newRow("other kind") << u"MECARD:N:Doe,John;;"_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("1 MB") << (u"WIFI:T:WPA;P:password1;S:"_s + QString(1 << 20, u'x'));
}

void WifiNetworkTest::notWifi()
{
    QFETCH(QString, text);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    QVERIFY(!WifiNetwork::parse(text));
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));
}

QTEST_GUILESS_MAIN(WifiNetworkTest)

#include "wifinetworktest.moc"
