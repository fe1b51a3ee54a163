// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "smsmessage.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

class SmsMessageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testParse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("recognised");
        // Each recipient's dialable number, followed by "!" when it is none.
        QTest::addColumn<QStringList>("recipients");
        QTest::addColumn<QString>("body");

        QTest::newRow("one recipient") << u"sms:+15105550101"_s << true << QStringList{u"+15105550101"_s} << QString();
        QTest::newRow("two recipients and a body") << u"sms:+15105550101,+15105550102?body=hello%20there"_s << true
                                                   << QStringList{u"+15105550101"_s, u"+15105550102"_s} << u"hello there"_s;
        QTest::newRow("local number with context, body with a plus")
            << u"SMS:4711;phone-context=+49?body=1+1%3D2"_s << true << QStringList{u"4711"_s} << u"1+1=2"_s;
        QTest::newRow("only a body") << u"sms:?body=hi"_s << true << QStringList{} << u"hi"_s;
        QTest::newRow("other fields are no body") << u"sms:+4712345678?subject=x&body=y&body=z"_s << true << QStringList{u"+4712345678"_s} << u"y"_s;
        QTest::newRow("SMSTO: the text keeps its colons and escapes")
            << u"SMSTO:+4712345678:Meet at 10:30, 100%20"_s << true << QStringList{u"+4712345678"_s} << u"Meet at 10:30, 100%20"_s;
        QTest::newRow("smsto without text") << u"smsto:+47 123 45 678"_s << true << QStringList{u"+4712345678"_s} << QString();
        QTest::newRow("sms written like SMSTO") << u"sms:+4712345678:Hello"_s << true << QStringList{u"+4712345678"_s} << u"Hello"_s;
        QTest::newRow("recipient that is no number") << u"sms:+47abc,+4712"_s << true << QStringList{u"+47!"_s, u"+4712"_s} << QString();
        QTest::newRow("NUL in the text") << u"SMSTO:+4712:a\0b"_s << true << QStringList{u"+4712"_s} << u"a\0b"_s;
        QTest::newRow("prose") << u"Text sms:+4712"_s << false << QStringList{} << QString();
        QTest::newRow("other scheme") << u"smsfoo"_s << false << QStringList{} << QString();
    }

    void testParse()
    {
        QFETCH(QString, text);
        QFETCH(bool, recognised);
        QFETCH(QStringList, recipients);
        QFETCH(QString, body);

        const std::optional<SmsMessage> message = SmsMessage::parse(text);
        QCOMPARE(message.has_value(), recognised);
        if (!message) {
            return;
        }
        QStringList shown;
        for (const PhoneNumber &recipient : message->recipients) {
            shown.append(recipient.dialable + (recipient.number.isSound() ? QString() : u"!"_s));
        }
        QCOMPARE(shown, recipients);
        QCOMPARE(message->body, body);
    }

    void testLargePayloads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("recognised");

        QTest::newRow("a chain of linked symbols of recipients") << (u"sms:"_s + u"+4712,"_s.repeated(47 * 1024 / 6)) << true;
        QTest::newRow("1 MB text") << (u"SMSTO:+4712:"_s + u"x"_s.repeated(1024 * 1024)) << false;
    }

    void testLargePayloads()
    {
        QFETCH(QString, text);
        QFETCH(bool, recognised);

        Brevlinder::Test::ParsingTimer timer;
        timer.start();
        const std::optional<SmsMessage> message = SmsMessage::parse(text);
        QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(message.has_value(), recognised);
    }
};

QTEST_GUILESS_MAIN(SmsMessageTest)

#include "smsmessagetest.moc"
