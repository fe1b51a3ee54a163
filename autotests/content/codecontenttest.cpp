// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "codecontent.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

namespace
{

template<typename T>
int indexOf()
{
    return int(Kind(T()).index());
}

const QString swissBill = QStringList{u"SPC"_s,
                                      u"0200"_s,
                                      u"1"_s,
                                      u"CH4431999123000889012"_s,
                                      u"S"_s,
                                      u"Robert Schneider AG"_s,
                                      u"Rue du Lac"_s,
                                      u"1268"_s,
                                      u"2501"_s,
                                      u"Biel"_s,
                                      u"CH"_s,
                                      QString(),
                                      QString(),
                                      QString(),
                                      QString(),
                                      QString(),
                                      QString(),
                                      QString(),
                                      u"1949.75"_s,
                                      u"CHF"_s,
                                      u"S"_s,
                                      u"Pia-Maria Rutschmann-Schnyder"_s,
                                      u"Grosse Marktgasse"_s,
                                      u"28"_s,
                                      u"9400"_s,
                                      u"Rorschach"_s,
                                      u"CH"_s,
                                      u"QRR"_s,
                                      u"210000000003139471430009017"_s,
                                      u"Order dated 18.06.2020"_s,
                                      u"EPD"_s}
                                .join(u'\n');

const QString epcPayment = u"BCD\n001\n1\nSCT\nBPOTBEB1\nRed Cross of Belgium\nBE72000000001616\nEUR1\nCHAR\n\nUrgency fund\nSample EPC QR code"_s;

}

class CodeContentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data();
    void read();
};

void CodeContentTest::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isGs1");
    QTest::addColumn<int>("kind");

    // One of every kind.
    QTest::newRow("plain text") << u"Hello, world"_s << false << indexOf<PlainText>();
    QTest::newRow("Wi-Fi") << u"WIFI:T:WPA;S:Home;P:secret;;"_s << false << indexOf<WifiNetwork>();
    QTest::newRow("vCard") << u"BEGIN:VCARD\nVERSION:3.0\nFN:Jane Roe\nTEL:+4712345678\nEND:VCARD"_s << false << indexOf<ContactCard>();
    QTest::newRow("MeCard") << u"MECARD:N:Doe,John;TEL:13035551212;;"_s << false << indexOf<ContactCard>();
    QTest::newRow("bare event") << u"BEGIN:VEVENT\nDTSTART:20260315T090000Z\nSUMMARY:Talk\nEND:VEVENT"_s << false << indexOf<CalendarEvent>();
    QTest::newRow("calendar") << u"BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:x\nBEGIN:VEVENT\nUID:1\nDTSTART:20260315T090000Z\nSUMMARY:Talk\nEND:VEVENT\n"
                                 "END:VCALENDAR"_s
                              << false << indexOf<CalendarEvent>();
    QTest::newRow("geo") << u"geo:48.2010,16.3695,183"_s << false << indexOf<GeoLocation>();
    QTest::newRow("tel") << u"tel:+1-201-555-0123"_s << false << indexOf<PhoneNumber>();
    QTest::newRow("mailto") << u"mailto:chris@example.com"_s << false << indexOf<MailMessage>();
    QTest::newRow("MATMSG") << u"MATMSG:TO:chris@example.com;SUB:Hi;BODY:There;;"_s << false << indexOf<MailMessage>();
    QTest::newRow("sms") << u"sms:+15105550101?body=hello"_s << false << indexOf<SmsMessage>();
    QTest::newRow("otpauth") << u"otpauth://totp/alice@google.com?secret=JBSWY3DPEHPK3PXP"_s << false << indexOf<OtpSetup>();
    QTest::newRow("EPC") << epcPayment << false << indexOf<EpcPayment>();
    QTest::newRow("Swiss QR-bill") << swissBill << false << indexOf<SwissQrBill>();
    QTest::newRow("GS1 Digital Link") << u"https://id.gs1.org/01/09506000134352"_s << false << indexOf<Gs1Elements>();
    QTest::newRow("web address") << u"https://example.org/a?b=c"_s << false << indexOf<WebAddress>();

    // The GS1 flag decides, whatever the text looks like.
    QTest::newRow("GS1 elements with the flag") << u"(01)09506000134352(17)201225(10)ABC"_s << true << indexOf<Gs1Elements>();
    QTest::newRow("a web address with the GS1 flag") << u"https://example.org/"_s << true << indexOf<PlainText>();

    // Look-alikes stay plain text.
    QTest::newRow("GS1 elements without the flag") << u"(01)09506000134352(17)201225(10)ABC"_s << false << indexOf<PlainText>();
    QTest::newRow("sentence starting with BEGIN:") << u"BEGIN: the meeting starts at nine"_s << false << indexOf<PlainText>();
    QTest::newRow("sentence starting with BEGIN:VCARD") << u"BEGIN:VCARD is how a card starts"_s << false << indexOf<PlainText>();
    QTest::newRow("sentence starting with BEGIN:VEVENT") << u"BEGIN:VEVENT is how an event starts"_s << false << indexOf<PlainText>();
    QTest::newRow("a to-do") << u"BEGIN:VTODO\nUID:1\nSUMMARY:Buy milk\nEND:VTODO"_s << false << indexOf<PlainText>();
    QTest::newRow("URL containing WIFI:") << u"https://example.org/WIFI:S:x;;"_s << false << indexOf<WebAddress>();
    QTest::newRow("text containing WIFI:") << u"Our WIFI:S:x;; is free"_s << false << indexOf<PlainText>();
    QTest::newRow("geo without colon") << u"geo 48.2010,16.3695"_s << false << indexOf<PlainText>();
    QTest::newRow("the word geo") << u"geography"_s << false << indexOf<PlainText>();
    QTest::newRow("non-web URL") << u"ftp://example.org/file"_s << false << indexOf<PlainText>();
    QTest::newRow("web URL with spaces") << u"https://example.org/a b"_s << false << indexOf<PlainText>();
    QTest::newRow("empty") << QString() << false << indexOf<PlainText>();
    QTest::newRow("1 MB vCard") << (u"BEGIN:VCARD\nVERSION:3.0\nFN:A\nNOTE:"_s + QString(1 << 20, u'x') + u"\nEND:VCARD"_s) << false << indexOf<PlainText>();
    QTest::newRow("1 MB event") << (u"BEGIN:VEVENT\nDTSTART:20260315T090000Z\nDESCRIPTION:"_s + QString(1 << 20, u'x') + u"\nEND:VEVENT"_s) << false
                                << indexOf<PlainText>();
}

void CodeContentTest::read()
{
    QFETCH(QString, text);
    QFETCH(bool, isGs1);
    QFETCH(int, kind);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    const Kind read = CodeContent::read(text, text.toUtf8(), isGs1);
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));
    QCOMPARE(int(read.index()), kind);
}

QTEST_GUILESS_MAIN(CodeContentTest)

#include "codecontenttest.moc"
