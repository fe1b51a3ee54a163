// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "mecard.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

class MeCardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void notMeCard_data();
    void notMeCard();
};

void MeCardTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    // Family name, given name.
    QTest::addColumn<QStringList>("nameParts");
    QTest::addColumn<QStringList>("phones");
    QTest::addColumn<QStringList>("emails");
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<QString>("birthday");
    // Invalid when the birthday is missing or no date.
    QTest::addColumn<QDate>("birthDate");
    QTest::addColumn<bool>("birthdaySound");
    QTest::addColumn<QStringList>("urls");
    // Sound, note, organization, nicknames joined by '|'.
    QTest::addColumn<QStringList>("rest");
    QTest::addColumn<int>("warningCount");

    const QStringList none;
    const QStringList noRest{QString(), QString(), QString(), QString()};

    QTest::newRow("DoCoMo's example") << u"MECARD:N:Doe,John;TEL:13035551212;EMAIL:john.doe@example.com;;"_s << u"John Doe"_s
                                      << QStringList{u"Doe"_s, u"John"_s} << QStringList{u"13035551212"_s} << QStringList{u"john.doe@example.com"_s} << none
                                      << QString() << QDate() << true << none << noRest << 0;
    QTest::newRow("every field") << u"MECARD:N:Sato,Hanako;SOUND:satou,hanako;TEL:+81312345678;TEL:+819012345678;TEL-AV:+81311112222;"
                                    "EMAIL:hanako@example.jp;ADR:1-2-3 Chiyoda, Tokyo;BDAY:19800214;URL:https://example.jp/;NOTE:Met at the fair;"
                                    "NICKNAME:Hana;ORG:Example KK;;"_s
                                 << u"Hanako Sato"_s << QStringList{u"Sato"_s, u"Hanako"_s} << QStringList{u"+81312345678"_s, u"+819012345678"_s}
                                 << QStringList{u"hanako@example.jp"_s} << QStringList{u"1-2-3 Chiyoda, Tokyo"_s} << u"19800214"_s << QDate(1980, 2, 14) << true
                                 << QStringList{u"https://example.jp/"_s} << QStringList{u"satou,hanako"_s, u"Met at the fair"_s, u"Example KK"_s, u"Hana"_s}
                                 << 0;
    QTest::newRow("any order, lower case, no final separators")
        << u"mecard:email:a@example.org;n:Roe,Jane;tel:1;email:b@example.org"_s << u"Jane Roe"_s << QStringList{u"Roe"_s, u"Jane"_s} << QStringList{u"1"_s}
        << QStringList{u"a@example.org"_s, u"b@example.org"_s} << none << QString() << QDate() << true << none << noRest << 0;
    QTest::newRow("name in one piece") << u"MECARD:N:Prince;;"_s << u"Prince"_s << QStringList{u"Prince"_s, QString()} << none << none << none << QString()
                                       << QDate() << true << none << noRest << 0;
    QTest::newRow("given name only") << u"MECARD:N:,Jane;;"_s << u"Jane"_s << QStringList{QString(), u"Jane"_s} << none << none << none << QString() << QDate()
                                     << true << none << noRest << 0;
    QTest::newRow("escaped comma in the family name") << uR"(MECARD:N:Doe\, Jr.,John;;)"_s << u"John Doe, Jr."_s << QStringList{u"Doe, Jr."_s, u"John"_s}
                                                      << none << none << none << QString() << QDate() << true << none << noRest << 0;
    QTest::newRow("escaped separators in address and note")
        << uR"(MECARD:N:A;ADR:Flat 1\; Main St\, 5;NOTE:a\:b\\c;;)"_s << u"A"_s << QStringList{u"A"_s, QString()} << none << none
        << QStringList{u"Flat 1; Main St, 5"_s} << QString() << QDate() << true << none << QStringList{QString(), uR"(a:b\c)"_s, QString(), QString()} << 0;
    QTest::newRow("URL with unescaped colons") << u"MECARD:N:A;URL:http://example.org:8080/a;;"_s << u"A"_s << QStringList{u"A"_s, QString()} << none << none
                                               << none << QString() << QDate() << true << QStringList{u"http://example.org:8080/a"_s} << noRest << 0;
    QTest::newRow("ISO birthday") << u"MECARD:N:A;BDAY:2000-02-29;;"_s << u"A"_s << QStringList{u"A"_s, QString()} << none << none << none << u"2000-02-29"_s
                                  << QDate(2000, 2, 29) << true << none << noRest << 0;
    QTest::newRow("birthday on no day") << u"MECARD:N:A;BDAY:19990229;;"_s << u"A"_s << QStringList{u"A"_s, QString()} << none << none << none << u"19990229"_s
                                        << QDate() << false << none << noRest << 0;
    QTest::newRow("birthday of month 13") << u"MECARD:N:A;BDAY:19991301;;"_s << u"A"_s << QStringList{u"A"_s, QString()} << none << none << none
                                          << u"19991301"_s << QDate() << false << none << noRest << 0;
    QTest::newRow("birthday as words") << u"MECARD:N:A;BDAY:next May;;"_s << u"A"_s << QStringList{u"A"_s, QString()} << none << none << none << u"next May"_s
                                       << QDate() << false << none << noRest << 0;
    QTest::newRow("birthday with a sign") << u"MECARD:N:A;BDAY:+1990101;;"_s << u"A"_s << QStringList{u"A"_s, QString()} << none << none << none
                                          << u"+1990101"_s << QDate() << false << none << noRest << 0;
    QTest::newRow("birthday before the year 0") << u"MECARD:N:A;BDAY:-0010101;;"_s << u"A"_s << QStringList{u"A"_s, QString()} << none << none << none
                                                << u"-0010101"_s << QDate() << false << none << noRest << 0;
    QTest::newRow("empty birthday") << u"MECARD:N:A;BDAY:;;"_s << u"A"_s << QStringList{u"A"_s, QString()} << none << none << none << QString() << QDate()
                                    << false << none << noRest << 0;
    QTest::newRow("two different names") << u"MECARD:N:Doe,John;N:Roe,Richard;;"_s << u"John Doe"_s << QStringList{u"Doe"_s, u"John"_s} << none << none << none
                                         << QString() << QDate() << true << none << noRest << 1;
    QTest::newRow("empty phones skipped") << u"MECARD:N:A;TEL:;TEL:2;;"_s << u"A"_s << QStringList{u"A"_s, QString()} << QStringList{u"2"_s} << none << none
                                          << QString() << QDate() << true << none << noRest << 0;
    QTest::newRow("no name") << u"MECARD:TEL:1;;"_s << QString() << QStringList{QString(), QString()} << QStringList{u"1"_s} << none << none << QString()
                             << QDate() << true << none << noRest << 0;
    QTest::newRow("NUL and control characters") << QStringLiteral("MECARD:N:a\0b,c\x1b;NOTE:x\0y;;") << QStringLiteral("c\x1b a\0b")
                                                << QStringList{QStringLiteral("a\0b"), QStringLiteral("c\x1b")} << none << none << none << QString() << QDate()
                                                << true << none << QStringList{QString(), QStringLiteral("x\0y"), QString(), QString()} << 0;
    QTest::newRow("unterminated escape") << uR"(MECARD:N:A;NOTE:end\)"_s << u"A"_s << QStringList{u"A"_s, QString()} << none << none << none << QString()
                                         << QDate() << true << none << QStringList{QString(), uR"(end\)"_s, QString(), QString()} << 0;

    // As long as a message split over many codes can be.
    const QString longest(60000, u'x');
    QTest::newRow("longest note") << (u"MECARD:N:A;NOTE:"_s + longest + u";;"_s) << u"A"_s << QStringList{u"A"_s, QString()} << none << none << none
                                  << QString() << QDate() << true << none << QStringList{QString(), longest, QString(), QString()} << 0;
    QStringList manyPhones;
    for (int i = 0; i < 60000 / 10; ++i) {
        manyPhones.append(u"%1"_s.arg(i, 3, 10, QLatin1Char('0')));
    }
    QTest::newRow("most phones") << (u"MECARD:N:A;TEL:"_s + manyPhones.join(u";TEL:"_s) + u";;"_s) << u"A"_s << QStringList{u"A"_s, QString()} << manyPhones
                                 << none << none << QString() << QDate() << true << none << noRest << 0;
    QTest::newRow("most commas in a name") << (u"MECARD:N:"_s + u"a,"_s.repeated(30000) + u";;"_s) << (u"a,"_s.repeated(29999) + u" a"_s)
                                           << QStringList{u"a"_s, u"a,"_s.repeated(29999)} << none << none << none << QString() << QDate() << true << none
                                           << noRest << 0;
}

void MeCardTest::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(QStringList, nameParts);
    QFETCH(QStringList, phones);
    QFETCH(QStringList, emails);
    QFETCH(QStringList, addresses);
    QFETCH(QString, birthday);
    QFETCH(QDate, birthDate);
    QFETCH(bool, birthdaySound);
    QFETCH(QStringList, urls);
    QFETCH(QStringList, rest);
    QFETCH(int, warningCount);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    const auto card = MeCard::parse(text);
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));

    QVERIFY(card);
    QCOMPARE(card->displayName(), name);
    QCOMPARE((QStringList{card->familyName, card->givenName}), nameParts);
    QCOMPARE(card->phones, phones);
    QCOMPARE(card->emails, emails);
    QCOMPARE(card->addresses, addresses);
    QCOMPARE(card->birthday.value, birthday);
    QCOMPARE(card->birthDate, birthDate);
    QCOMPARE(card->birthday.isSound(), birthdaySound);
    QVERIFY(birthdaySound || !card->birthday.problem.toString().isEmpty());
    QCOMPARE(card->urls, urls);
    QCOMPARE((QStringList{card->sound, card->note, card->organization, card->nicknames.join(u'|')}), rest);
    QCOMPARE(card->warnings.size(), warningCount);
}

void MeCardTest::notMeCard_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("prose") << u"MECARD: the easy way to share contacts"_s;
    QTest::newRow("URL containing it") << u"https://example.org/MECARD:N:x;;"_s;
    QTest::newRow("prefix only") << u"MECARD:"_s;
    QTest::newRow("link after the prefix") << u"MECARD:https://example.org/card"_s;
    QTest::newRow("Wi-Fi") << u"WIFI:S:x;;"_s;
    QTest::newRow("1 MB") << (u"MECARD:N:A;NOTE:"_s + QString(1 << 20, u'x'));
    QTest::newRow("vCard") << u"BEGIN:VCARD\nVERSION:3.0\nN:Doe;John\nEND:VCARD"_s;
}

void MeCardTest::notMeCard()
{
    QFETCH(QString, text);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    QVERIFY(!MeCard::parse(text));
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));
}

QTEST_GUILESS_MAIN(MeCardTest)

#include "mecardtest.moc"
