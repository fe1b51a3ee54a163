// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "contactcard.h"
#include "mecard.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

namespace
{

// "value|kind", one a line, so that a table row reads like the card.
QStringList entries(const QList<ContactCard::Entry> &list)
{
    QStringList result;
    for (const ContactCard::Entry &entry : list) {
        result.append(entry.value + u'|' + entry.kind);
    }
    return result;
}

QString crlf(const QString &text)
{
    QString result = text;
    return result.replace(u"\n"_s, u"\r\n"_s);
}

}

class ContactCardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void birthday_data();
    void birthday();
    void ownCard_data();
    void ownCard();
    void notCard_data();
    void notCard();
    void hostile_data();
    void hostile();
    void fromMeCard();
};

void ContactCardTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    // Organization, title, note.
    QTest::addColumn<QStringList>("rest");
    QTest::addColumn<QStringList>("phones");
    QTest::addColumn<QStringList>("emails");
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<QStringList>("webAddresses");
    QTest::addColumn<int>("warningCount");

    const QStringList none;

    QTest::newRow("vCard 4.0 example") << crlf(
        u"BEGIN:VCARD\nVERSION:4.0\nFN:Simon Perreault\nN:Perreault;Simon;;;ing. jr,M.Sc.\nBDAY:--0203\nANNIVERSARY:20090808T1430-0500\nGENDER:M\n"
        "LANG;PREF=1:fr\nLANG;PREF=2:en\nORG;TYPE=work:Viagenie\nADR;TYPE=work:;Suite D2-630;2875 Laurier;\n Quebec;QC;G1V 2M2;Canada\n"
        "TEL;VALUE=uri;TYPE=\"work,voice\";PREF=1:tel:+1-418-656-9254;ext=102\nTEL;VALUE=uri;TYPE=\"work,cell,voice,video,text\":tel:+1-418-262-6501\n"
        "EMAIL;TYPE=work:simon.perreault@viagenie.ca\nGEO;TYPE=work:geo:46.772673\\,-71.282945\nKEY;TYPE=work;VALUE=uri:\n"
        " http://www.viagenie.ca/simon.perreault/simon.asc\nTZ:-0500\nURL;TYPE=home:http://nomis80.org\nEND:VCARD\n"_s)
                                       << u"Simon Perreault"_s << QStringList{u"Viagenie"_s, QString(), QString()}
                                       << QStringList{u"+1-418-656-9254;ext=102|work"_s, u"+1-418-262-6501|work, mobile, video"_s}
                                       << QStringList{u"simon.perreault@viagenie.ca|work"_s}
                                       << QStringList{u"Suite D2-630\n2875 Laurier\nG1V 2M2 Quebec\nQC\nCanada|work"_s} << QStringList{u"http://nomis80.org"_s}
                                       << 0;
    QTest::newRow("vCard 3.0 example") << crlf(
        u"BEGIN:vCard\nVERSION:3.0\nFN:Frank Dawson\nORG:Lotus Development Corporation\nADR;TYPE=WORK,POSTAL,PARCEL:;;6544 Battleford Drive\n"
        " ;Raleigh;NC;27613-3502;U.S.A.\nTEL;TYPE=VOICE,MSG,WORK:+1-919-676-9515\nTEL;TYPE=FAX,WORK:+1-919-676-9564\nEMAIL;TYPE=INTERNET,PREF:Frank_Dawson@"
        "Lotus.com\n"
        "EMAIL;TYPE=INTERNET:fdawson@earthlink.net\nURL:http://home.earthlink.net/~fdawson\nEND:vCard\n"_s)
                                       << u"Frank Dawson"_s << QStringList{u"Lotus Development Corporation"_s, QString(), QString()}
                                       << QStringList{u"+1-919-676-9515|work, messages"_s, u"+1-919-676-9564|work, fax"_s}
                                       << QStringList{u"Frank_Dawson@Lotus.com|"_s, u"fdawson@earthlink.net|"_s}
                                       << QStringList{u"6544 Battleford Drive\n27613-3502 Raleigh\nNC\nU.S.A.|work, postal, parcels"_s}
                                       << QStringList{u"http://home.earthlink.net/~fdawson"_s} << 0;
    QTest::newRow("line feeds only, name from its parts, title and role")
        << u"BEGIN:VCARD\nVERSION:3.0\nN:Doe;John;Q.;Dr.;Jr.\nTITLE:Engineer\nROLE:Lead\nORG:Example Inc.;Research\nEND:VCARD"_s << u"Dr. John Q. Doe Jr."_s
        << QStringList{u"Example Inc., Research"_s, u"Engineer"_s, QString()} << none << none << none << none << 0;
    QTest::newRow("role without title") << u"BEGIN:VCARD\nVERSION:3.0\nFN:A\nROLE:Lead\nEND:VCARD"_s << u"A"_s << QStringList{QString(), u"Lead"_s, QString()}
                                        << none << none << none << none << 0;
    QTest::newRow("vCard 2.1 quoted-printable and charsets")
        << crlf(
               u"BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCrgen\n"
               "TEL;CELL;VOICE:+49 170 1234567\nTEL;WORK;FAX:+49 30 1234\n"
               "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=ISO-8859-1:Gr=FC=DFe=0Aand a line that goes on =\nand on\nEND:VCARD\n"_s)
        << u"Jürgen Müller"_s << QStringList{QString(), QString(), u"Grüße\nand a line that goes on and on"_s}
        << QStringList{u"+49 170 1234567|mobile"_s, u"+49 30 1234|work, fax"_s} << none << none << none << 0;
    QTest::newRow("vCard 2.1 charset of text already decoded")
        << crlf(u"BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=ISO-8859-1:Øster;Åse\nEND:VCARD\n"_s) << u"Åse Øster"_s << QStringList{QString(), QString(), QString()}
        << none << none << none << none << 0;
    QTest::newRow("folded in the middle of a word and of a character pair")
        << crlf(u"BEGIN:VCARD\nVERSION:3.0\nFN:Fo\n ld\n\ted\nNOTE:😀\n 😀\nEND:VCARD\n"_s) << u"Folded"_s << QStringList{QString(), QString(), u"😀😀"_s} << none
        << none << none << none << 0;
    QTest::newRow("escapes") << u"BEGIN:VCARD\nVERSION:3.0\nFN:A\\, B\nNOTE:a\\, b\\; c\\\\d\\ne\\Nf\nEND:VCARD"_s << u"A, B"_s
                             << QStringList{QString(), QString(), u"a, b; c\\d\ne\nf"_s} << none << none << none << none << 0;
    QTest::newRow("Apple groups") << u"BEGIN:VCARD\nVERSION:3.0\nFN:A\nitem1.TEL;type=pref:+1 555 0100\nitem1.X-ABLabel:Lab\n"
                                     "item2.EMAIL;type=INTERNET;type=HOME:a@example.org\nitem3.URL:https://example.org/\nEND:VCARD"_s
                                  << u"A"_s << QStringList{QString(), QString(), QString()} << QStringList{u"+1 555 0100|"_s}
                                  << QStringList{u"a@example.org|home"_s} << none << QStringList{u"https://example.org/"_s} << 0;
    QTest::newRow("lower case names, blank lines, leading blanks")
        << u"\n  begin:vcard\nversion:3.0\n\nfn:A\ntel;type=home:1\nend:vcard\n"_s << u"A"_s << QStringList{QString(), QString(), QString()}
        << QStringList{u"1|home"_s} << none << none << none << 0;
    QTest::newRow("second card ignored") << u"BEGIN:VCARD\nVERSION:3.0\nFN:First\nEND:VCARD\nBEGIN:VCARD\nVERSION:3.0\nFN:Second\nTEL:2\nEND:VCARD"_s
                                         << u"First"_s << QStringList{QString(), QString(), QString()} << none << none << none << none << 0;
    QTest::newRow("unterminated") << u"BEGIN:VCARD\nVERSION:3.0\nFN:Cut\nTEL:1"_s << u"Cut"_s << QStringList{QString(), QString(), QString()}
                                  << QStringList{u"1|"_s} << none << none << none << 1;
    QTest::newRow("NUL and control characters") << u"BEGIN:VCARD\nVERSION:3.0\nFN:a\0b\nNOTE:x\u001by\nEND:VCARD"_s << u"a\0b"_s
                                                << QStringList{QString(), QString(), u"x\u001by"_s} << none << none << none << none << 0;

    // As long as a message split over many codes can be.
    const QString longNote = u"x"_s.repeated(60000);
    QTest::newRow("longest note") << (u"BEGIN:VCARD\nVERSION:3.0\nFN:A\nNOTE:"_s + longNote + u"\nEND:VCARD"_s) << u"A"_s
                                  << QStringList{QString(), QString(), longNote} << none << none << none << none << 0;
    const QString largestNote(95 * 1024, u'x');
    QTest::newRow("largest card read") << (u"BEGIN:VCARD\nVERSION:3.0\nFN:A\nNOTE:"_s + largestNote + u"\nEND:VCARD"_s) << u"A"_s
                                       << QStringList{QString(), QString(), largestNote} << none << none << none << none << 0;
    QStringList manyPhones;
    QString manyPhonesCard = u"BEGIN:VCARD\nVERSION:3.0\nFN:A\n"_s;
    for (int i = 0; i < 3000; ++i) {
        if (i < 200) {
            manyPhones.append(u"%1|"_s.arg(i));
        }
        manyPhonesCard += u"TEL:%1\n"_s.arg(i);
    }
    // Beyond a few hundred, the parser underneath would take too long; what is left out is said.
    QTest::newRow("most phones") << (manyPhonesCard + u"END:VCARD"_s) << u"A"_s << QStringList{QString(), QString(), QString()} << manyPhones << none << none
                                 << none << 1;
    QTest::newRow("most folds") << (u"BEGIN:VCARD\nVERSION:3.0\nFN:A\nNOTE:"_s + u"abcd\n "_s.repeated(10000) + u"\nEND:VCARD"_s) << u"A"_s
                                << QStringList{QString(), QString(), u"abcd"_s.repeated(10000)} << none << none << none << none << 0;
}

void ContactCardTest::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(QStringList, rest);
    QFETCH(QStringList, phones);
    QFETCH(QStringList, emails);
    QFETCH(QStringList, addresses);
    QFETCH(QStringList, webAddresses);
    QFETCH(int, warningCount);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    const auto card = ContactCard::parse(text);
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));

    QVERIFY(card);
    QCOMPARE(card->name, name);
    QCOMPARE((QStringList{card->organization, card->title, card->note}), rest);
    QCOMPARE(entries(card->phones), phones);
    QCOMPARE(entries(card->emails), emails);
    QCOMPARE(entries(card->addresses), addresses);
    QCOMPARE(card->webAddresses, webAddresses);
    QCOMPARE(card->warnings.size(), warningCount);
}

void ContactCardTest::birthday_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("sound");

    QTest::newRow("basic") << u"BDAY:19960415"_s << u"19960415"_s << QDate(1996, 4, 15) << true;
    QTest::newRow("extended") << u"BDAY:1996-04-15"_s << u"1996-04-15"_s << QDate(1996, 4, 15) << true;
    QTest::newRow("with a time") << u"BDAY:1953-10-15T23:10:00Z"_s << u"1953-10-15T23:10:00Z"_s << QDate(1953, 10, 15) << true;
    QTest::newRow("without a year") << u"BDAY:--0203"_s << u"--0203"_s << QDate() << true;
    QTest::newRow("29 February without a year") << u"BDAY:--02-29"_s << u"--02-29"_s << QDate() << true;
    QTest::newRow("in words, as text") << u"BDAY;VALUE=text:circa 1800"_s << u"circa 1800"_s << QDate() << true;
    QTest::newRow("folded") << u"BDAY:1996\n 0415"_s << u"19960415"_s << QDate(1996, 4, 15) << true;
    QTest::newRow("grouped") << u"item1.BDAY:19960415"_s << u"19960415"_s << QDate(1996, 4, 15) << true;
    QTest::newRow("29 February of no leap year") << u"BDAY:19990229"_s << u"19990229"_s << QDate() << false;
    QTest::newRow("month 13") << u"BDAY:19991301"_s << u"19991301"_s << QDate() << false;
    QTest::newRow("words") << u"BDAY:next May"_s << u"next May"_s << QDate() << false;
    QTest::newRow("day 31 of no year") << u"BDAY:--0431"_s << u"--0431"_s << QDate() << false;
    QTest::newRow("empty") << u"BDAY:"_s << QString() << QDate() << false;
}

void ContactCardTest::birthday()
{
    QFETCH(QString, line);
    QFETCH(QString, value);
    QFETCH(QDate, date);
    QFETCH(bool, sound);

    const auto card = ContactCard::parse(u"BEGIN:VCARD\nVERSION:3.0\nFN:A\n"_s + line + u"\nEND:VCARD\n"_s);
    QVERIFY(card);
    QCOMPARE(card->birthday.value, value);
    QCOMPARE(card->birthDate, date);
    QCOMPARE(card->birthday.isSound(), sound);
    QVERIFY(sound || !card->birthday.problem.toString().isEmpty());
}

void ContactCardTest::ownCard_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString card = u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Jürgen\r\nX-CUSTOM;X-PARAM=1:kept as it is\r\nNOTE:a\r\n b\r\nEND:VCARD\r\n"_s;
    QTest::newRow("whole card") << card << card;
    QTest::newRow("first of two cards") << card + u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Second\r\nEND:VCARD\r\n"_s << card;
    QTest::newRow("text around it") << u"\r\n"_s + card + u"trailing words"_s << card;
    QTest::newRow("unterminated") << u"BEGIN:VCARD\nVERSION:3.0\nFN:A"_s << u"BEGIN:VCARD\nVERSION:3.0\nFN:A\r\nEND:VCARD\r\n"_s;
    QTest::newRow("unterminated after a line break") << u"BEGIN:VCARD\nVERSION:3.0\nFN:A\n"_s << u"BEGIN:VCARD\nVERSION:3.0\nFN:A\nEND:VCARD\r\n"_s;
}

void ContactCardTest::ownCard()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    const auto card = ContactCard::parse(text);
    QVERIFY(card);
    QCOMPARE(QString::fromUtf8(card->vCard), expected);
}

void ContactCardTest::notCard_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("sentence starting with BEGIN:") << u"BEGIN: the meeting starts at nine"_s;
    QTest::newRow("sentence starting with BEGIN:VCARD") << u"BEGIN:VCARD is how a card starts, and END:VCARD how it ends"_s;
    QTest::newRow("notes with card-like lines") << u"BEGIN: meeting notes\nNote: bring the slides\nTel: call Anna first\nEND: at five"_s;
    QTest::newRow("BEGIN:VCARD then words on its line") << u"BEGIN:VCARD, as cards start\nFN:Jane Roe\nEND:VCARD"_s;
    QTest::newRow("begin line only") << u"BEGIN:VCARD"_s;
    QTest::newRow("begin line and a line break") << u"BEGIN:VCARD\n"_s;
    QTest::newRow("nothing a card says") << u"BEGIN:VCARD\nVERSION:3.0\nEND:VCARD"_s;
    QTest::newRow("words, no properties") << u"BEGIN:VCARD\nhello there\nEND:VCARD"_s;
    QTest::newRow("an event") << u"BEGIN:VEVENT\nSUMMARY:x\nEND:VEVENT"_s;
    QTest::newRow("a URL containing it") << u"https://example.org/?BEGIN:VCARD"_s;
    QTest::newRow("a MeCard") << u"MECARD:N:Doe,John;;"_s;
    QTest::newRow("note beyond twice the longest message") << (u"BEGIN:VCARD\nVERSION:3.0\nFN:A\nNOTE:"_s + QString(96 * 1024, u'x') + u"\nEND:VCARD"_s);
    QTest::newRow("1 MB note") << (u"BEGIN:VCARD\nVERSION:3.0\nFN:A\nNOTE:"_s + QString(1 << 20, u'x') + u"\nEND:VCARD"_s);
}

void ContactCardTest::notCard()
{
    QFETCH(QString, text);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    QVERIFY(!ContactCard::parse(text));
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));
}

void ContactCardTest::hostile_data()
{
    QTest::addColumn<QString>("text");

    const QString begin = u"BEGIN:VCARD\nVERSION:3.0\nFN:A\n"_s;
    QTest::newRow("NUL bytes everywhere") << QString(u"BEGIN:VCARD\nVERSION:3.0\nFN:A\0\nN\0:x\nTEL;\0TYPE=\0:1\0\n\0\nEND:VCARD"_s);
    QTest::newRow("broken quoted-printable") << (begin + u"NOTE;ENCODING=QUOTED-PRINTABLE:=ZZ=4\nEND:VCARD"_s);
    QTest::newRow("quoted-printable soft break before the end") << (begin + u"NOTE;ENCODING=QUOTED-PRINTABLE:a=\nEND:VCARD"_s);
    QTest::newRow("quoted-printable soft break at the end") << (begin + u"NOTE;ENCODING=QUOTED-PRINTABLE:a="_s);
    QTest::newRow("quoted-printable soft breaks doubled at the end") << (begin + u"NOTE;ENCODING=QUOTED-PRINTABLE:=="_s);
    QTest::newRow("quoted-printable soft breaks doubled before the end") << (begin + u"NOTE;ENCODING=QUOTED-PRINTABLE:a==\nEND:VCARD"_s);
    QTest::newRow("quoted-printable soft breaks on lines of their own") << (begin + u"NOTE;ENCODING=QUOTED-PRINTABLE:a=\n=\n=\nEND:VCARD"_s);
    QTest::newRow("quoted-printable soft breaks after a bare carriage return") << u"BEGIN:VCARD\r;QUOTED-PRINTABLE:=="_s;
    QTest::newRow("quoted-printable soft break in a folded line") << u"BEGIN:VCARD\n\t;QUOTED-PRINTABLE:="_s;
    QTest::newRow("quoted-printable named in a fold, before the end") << (begin + u"NOTE;ENCODING=\n QUOTED-PRINTABLE:a=\nEND:VCARD"_s);
    QTest::newRow("broken base64") << (begin + u"PHOTO;ENCODING=b;TYPE=JPEG:!!!*\nEND:VCARD"_s);
    QTest::newRow("unknown charset") << (begin + u"NOTE;CHARSET=NO-SUCH;ENCODING=QUOTED-PRINTABLE:=41\nEND:VCARD"_s);
    QTest::newRow("unterminated escape") << (begin + u"NOTE:end\\"_s);
    QTest::newRow("unterminated quoted parameter") << (begin + u"TEL;TYPE=\"work:1\nEND:VCARD"_s);
    QTest::newRow("nested cards") << (begin + u"AGENT:BEGIN:VCARD\nBEGIN:VCARD\nBEGIN:VCARD\nFN:B\nEND:VCARD\nEND:VCARD"_s);
    QTest::newRow("only separators") << (begin + u"N:"_s + u";"_s.repeated(200000) + u"\nADR:"_s + u";,"_s.repeated(100000) + u"\nEND:VCARD"_s);
    QTest::newRow("many parameters") << (begin + u"TEL"_s + u";TYPE=work"_s.repeated(20000) + u":1\nEND:VCARD"_s);
    QTest::newRow("many lines of folds only") << (begin + u"NOTE:x\n"_s + u" \n"_s.repeated(100000) + u"END:VCARD"_s);
    QTest::newRow("many empty lines") << (begin + u"\n"_s.repeated(200000) + u"END:VCARD"_s);
    QTest::newRow("control characters") << (begin + u"\u0001\u0002:\u0003\n\u007f;\u0008=:\nEND:VCARD"_s);
    QTest::newRow("carriage returns only") << u"BEGIN:VCARD\rVERSION:3.0\rFN:A\rEND:VCARD\r"_s;
}

void ContactCardTest::hostile()
{
    QFETCH(QString, text);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    const auto card = ContactCard::parse(text);
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));
    // Whatever it makes of such a card, it keeps the card to hand on.
    if (card) {
        QVERIFY(card->vCard.startsWith("BEGIN:VCARD"));
    }
}

void ContactCardTest::fromMeCard()
{
    const auto meCard = MeCard::parse(
        u"MECARD:N:Sato,Hanako;TEL:+81312345678;TEL-AV:+81311112222;EMAIL:hanako@example.jp;ADR:1-2-3 Chiyoda\\, Tokyo;"
        "BDAY:19800214;URL:https://example.jp/;NOTE:Met at the fair;NICKNAME:Hana;ORG:Example KK;;"_s);
    QVERIFY(meCard);
    const ContactCard card = ContactCard::fromMeCard(*meCard);
    QCOMPARE(card.name, u"Hanako Sato"_s);
    QCOMPARE(card.organization, u"Example KK"_s);
    QCOMPARE(entries(card.phones), (QStringList{u"+81312345678|"_s, u"+81311112222|video"_s}));
    QCOMPARE(entries(card.emails), QStringList{u"hanako@example.jp|"_s});
    QCOMPARE(entries(card.addresses), QStringList{u"1-2-3 Chiyoda, Tokyo|"_s});
    QCOMPARE(card.webAddresses, QStringList{u"https://example.jp/"_s});
    QCOMPARE(card.birthDate, QDate(1980, 2, 14));
    QVERIFY(card.birthday.isSound());
    QCOMPARE(card.note, u"Met at the fair"_s);

    // The card written for an address book says what the MeCard says.
    const auto written = ContactCard::parse(QString::fromUtf8(card.vCard));
    QVERIFY(written);
    QVERIFY(card.vCard.contains("VERSION:3.0"));
    QCOMPARE(written->name, card.name);
    QCOMPARE(written->organization, card.organization);
    QCOMPARE(written->phones.size(), 2);
    QCOMPARE(written->phones.at(0).value, u"+81312345678"_s);
    QCOMPARE(written->phones.at(1).value, u"+81311112222"_s);
    QCOMPARE(entries(written->emails), entries(card.emails));
    QCOMPARE(entries(written->addresses), entries(card.addresses));
    QCOMPARE(written->webAddresses, card.webAddresses);
    QCOMPARE(written->birthDate, card.birthDate);
    QCOMPARE(written->note, card.note);

    // A birthday that is no date stays out of the written card, and its problem stays with the field.
    const auto badBirthday = MeCard::parse(u"MECARD:N:A;BDAY:19991301;;"_s);
    QVERIFY(badBirthday);
    const ContactCard withBadBirthday = ContactCard::fromMeCard(*badBirthday);
    QCOMPARE(withBadBirthday.birthday.value, u"19991301"_s);
    QVERIFY(!withBadBirthday.birthday.isSound());
    QVERIFY(!withBadBirthday.vCard.contains("BDAY"));
}

QTEST_GUILESS_MAIN(ContactCardTest)

#include "contactcardtest.moc"
