// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "phonenumber.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

class PhoneNumberTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testParse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("recognised");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("sound");
        QTest::addColumn<QString>("dialable");
        // "extension|subaddress|context"
        QTest::addColumn<QString>("parameters");
        QTest::addColumn<int>("warnings");

        QTest::newRow("global number with separators") << u"tel:+1-201-555-0123"_s << true << u"+1-201-555-0123"_s << true << u"+12015550123"_s << u"||"_s << 0;
        QTest::newRow("local number with context and extension")
            << u"tel:7042;phone-context=example.com"_s << true << u"7042"_s << true << u"7042"_s << u"||example.com"_s << 0;
        QTest::newRow("parameters in any case and order")
            << u"TEL:+1 (201) 555.0123;EXT=1234;isub=%41B"_s << true << u"+1 (201) 555.0123"_s << true << u"+12015550123"_s << u"1234|AB|"_s << 0;
        QTest::newRow("local number without context") << u"tel:863-1234"_s << true << u"863-1234"_s << true << u"8631234"_s << u"||"_s << 1;
        QTest::newRow("service code") << u"tel:*%2306%23"_s << true << u"*#06#"_s << true << u"*#06#"_s << u"||"_s << 2;
        QTest::newRow("service code with country code") << u"tel:+47*21*1234%23"_s << true << u"+47*21*1234#"_s << true << u"+47*21*1234#"_s << u"||"_s << 1;
        QTest::newRow("too many digits") << u"tel:+1234567890123456"_s << true << u"+1234567890123456"_s << false << u"+1234567890123456"_s << u"||"_s << 0;
        QTest::newRow("letters") << u"tel:+1-800-FLOWERS"_s << true << u"+1-800-FLOWERS"_s << false << u"+1800"_s << u"||"_s << 0;
        QTest::newRow("plus in the middle") << u"tel:12+34"_s << true << u"12+34"_s << false << u"1234"_s << u"||"_s << 0;
        QTest::newRow("nothing") << u"tel:"_s << true << QString() << false << QString() << u"||"_s << 0;
        QTest::newRow("NUL inside") << u"tel:+47\0 12"_s << true << u"+47\0 12"_s << false << u"+4712"_s << u"||"_s << 0;
        QTest::newRow("unterminated escape") << u"tel:+4712%2"_s << true << u"+4712%2"_s << false << u"+47122"_s << u"||"_s << 0;
        QTest::newRow("other scheme") << u"telnet:host"_s << false << QString() << false << QString() << QString() << 0;
        QTest::newRow("prose") << u"Call tel:+4712345678"_s << false << QString() << false << QString() << QString() << 0;
    }

    void testParse()
    {
        QFETCH(QString, text);
        QFETCH(bool, recognised);
        QFETCH(QString, number);
        QFETCH(bool, sound);
        QFETCH(QString, dialable);
        QFETCH(QString, parameters);
        QFETCH(int, warnings);

        const std::optional<PhoneNumber> phone = PhoneNumber::parse(text);
        QCOMPARE(phone.has_value(), recognised);
        if (!phone) {
            return;
        }
        QCOMPARE(phone->number.value, number);
        QCOMPARE(phone->number.isSound(), sound);
        QCOMPARE(phone->dialable, dialable);
        QCOMPARE(QStringList({phone->extension, phone->isdnSubaddress, phone->phoneContext}).join(u'|'), parameters);
        QCOMPARE(phone->warnings.size(), warnings);
    }

    void testLargePayloads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("recognised");

        QTest::newRow("a chain of linked symbols of parameters") << (u"tel:+4712345678"_s + u";ext=1"_s.repeated(47 * 1024 / 6)) << true;
        QTest::newRow("1 MB of digits") << (u"tel:+"_s + u"1"_s.repeated(1024 * 1024)) << false;
    }

    void testLargePayloads()
    {
        QFETCH(QString, text);
        QFETCH(bool, recognised);

        Brevlinder::Test::ParsingTimer timer;
        timer.start();
        const std::optional<PhoneNumber> phone = PhoneNumber::parse(text);
        QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(phone.has_value(), recognised);
    }
};

QTEST_GUILESS_MAIN(PhoneNumberTest)

#include "phonenumbertest.moc"
