// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "emailmessage.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

class EmailMessageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void notEmailMessage_data();
    void notEmailMessage();
};

void EmailMessageTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("recipients");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("warningCount");

    QTest::newRow("DoCoMo's example") << u"MATMSG:TO:example@example.com;SUB:Hello;BODY:How are you?;;"_s << QStringList{u"example@example.com"_s} << u"Hello"_s
                                      << u"How are you?"_s << 0;
    QTest::newRow("any order, lower case, no final separators")
        << u"matmsg:body:Hi;sub:Re: plans;to:a@example.org"_s << QStringList{u"a@example.org"_s} << u"Re: plans"_s << u"Hi"_s << 0;
    QTest::newRow("escaped semicolon in the body") << uR"(MATMSG:TO:a@example.org;SUB:x;BODY:first\; second\; third;;)"_s << QStringList{u"a@example.org"_s}
                                                   << u"x"_s << u"first; second; third"_s << 0;
    QTest::newRow("escapes in the subject") << uR"(MATMSG:TO:a@example.org;SUB:a\:b\,c\"d\\e\q;;)"_s << QStringList{u"a@example.org"_s} << uR"(a:b,c"d\e\q)"_s
                                            << QString() << 0;
    QTest::newRow("unescaped semicolons in the body") << u"MATMSG:TO:a@example.org;BODY:one;two;;three;;"_s << QStringList{u"a@example.org"_s} << QString()
                                                      << u"one;two;;three"_s << 0;
    QTest::newRow("body kept as written") << u"MATMSG:TO:a@example.org;BODY:  line one\nline two  ;;"_s << QStringList{u"a@example.org"_s} << QString()
                                          << u"  line one\nline two  "_s << 0;
    QTest::newRow("several recipients") << u"MATMSG:TO:a@example.org, b@example.org;TO:c@example.org;;"_s
                                        << QStringList{u"a@example.org"_s, u"b@example.org"_s, u"c@example.org"_s} << QString() << QString() << 0;
    QTest::newRow("escaped comma is no separator") << uR"(MATMSG:TO:"Doe\, John" <j@example.org>;;)"_s << QStringList{u"\"Doe, John\" <j@example.org>"_s}
                                                   << QString() << QString() << 0;
    QTest::newRow("no recipient") << u"MATMSG:SUB:Feedback;BODY:;;"_s << QStringList{} << u"Feedback"_s << QString() << 0;
    QTest::newRow("second body") << u"MATMSG:TO:a@example.org;BODY:Hello;BODY:Send me your password;;"_s << QStringList{u"a@example.org"_s} << QString()
                                 << u"Hello"_s << 1;
    QTest::newRow("second subject") << u"MATMSG:TO:a@example.org;SUB:a;SUB:b;;"_s << QStringList{u"a@example.org"_s} << u"a"_s << QString() << 1;
    QTest::newRow("NUL and control characters") << QStringLiteral("MATMSG:TO:a@example.org;BODY:a\0b\x07;;") << QStringList{u"a@example.org"_s} << QString()
                                                << QStringLiteral("a\0b\x07") << 0;
    QTest::newRow("unterminated escape") << uR"(MATMSG:TO:a@example.org;BODY:end\)"_s << QStringList{u"a@example.org"_s} << QString() << uR"(end\)"_s << 0;

    // As long as a message split over many codes can be.
    const QString longest = u"word; "_s.repeated(10000) + u"end"_s;
    QTest::newRow("longest body") << (u"MATMSG:TO:a@example.org;BODY:"_s + longest + u";;"_s) << QStringList{u"a@example.org"_s} << QString() << longest << 0;
    QTest::newRow("most escapes") << (u"MATMSG:BODY:"_s + uR"(\;)"_s.repeated(30000)) << QStringList{} << QString() << u";"_s.repeated(30000) << 0;
    QStringList many;
    for (int i = 0; i < 60000 / 20; ++i) {
        many.append(u"u%1@example.org"_s.arg(i));
    }
    QTest::newRow("most recipients") << (u"MATMSG:TO:"_s + many.join(u',') + u";;"_s) << many << QString() << QString() << 0;
}

void EmailMessageTest::parse()
{
    QFETCH(QString, text);
    QFETCH(QStringList, recipients);
    QFETCH(QString, subject);
    QFETCH(QString, body);
    QFETCH(int, warningCount);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    const auto message = EmailMessage::parse(text);
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));

    QVERIFY(message);
    QCOMPARE(message->recipients, recipients);
    QCOMPARE(message->subject, subject);
    QCOMPARE(message->body, body);
    QCOMPARE(message->warnings.size(), warningCount);
}

void EmailMessageTest::notEmailMessage_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("prose") << u"MATMSG: old-style mail codes"_s;
    QTest::newRow("URL containing it") << u"https://example.org/MATMSG:TO:a@example.org;;"_s;
    QTest::newRow("prefix only") << u"MATMSG:"_s;
    QTest::newRow("link after the prefix") << u"MATMSG:https://example.org/"_s;
    QTest::newRow("1 MB") << (u"MATMSG:TO:a@example.org;BODY:"_s + QString(1 << 20, u'x'));
    QTest::newRow("mailto") << u"mailto:a@example.org"_s;
}

void EmailMessageTest::notEmailMessage()
{
    QFETCH(QString, text);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    QVERIFY(!EmailMessage::parse(text));
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));
}

QTEST_GUILESS_MAIN(EmailMessageTest)

#include "emailmessagetest.moc"
