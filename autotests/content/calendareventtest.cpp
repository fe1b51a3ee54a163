// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "calendarevent.h"

#include "parsingtimer.h"
#include <QLocale>
#include <QTest>
#include <QTimeZone>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

namespace
{

QString crlf(const QString &text)
{
    QString result = text;
    return result.replace(u"\n"_s, u"\r\n"_s);
}

// A bare event, as most codes carry it, with @p lines between its begin and end.
QString bareEvent(const QString &lines)
{
    return u"BEGIN:VEVENT\nUID:1@example.org\nDTSTAMP:20260101T000000Z\n"_s + lines + u"\nEND:VEVENT"_s;
}

QString longDate(int year, int month, int day)
{
    return QLocale().toString(QDate(year, month, day), QLocale::LongFormat);
}

const QTimeZone utc = QTimeZone::UTC;
const QTimeZone local = QTimeZone::LocalTime;

}

class CalendarEventTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void times_data();
    void times();
    void texts_data();
    void texts();
    void repetition_data();
    void repetition();
    void ownCalendar_data();
    void ownCalendar();
    void notEvent_data();
    void notEvent();
    void hostile_data();
    void hostile();
};

void CalendarEventTest::times_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("start");
    // Invalid when the event has no end.
    QTest::addColumn<QDateTime>("end");
    QTest::addColumn<bool>("allDay");
    QTest::addColumn<QString>("timeZoneName");
    QTest::addColumn<int>("warningCount");

    const QTimeZone newYork("America/New_York");
    QTest::newRow("UTC") << bareEvent(u"DTSTART:19960918T143000Z\nDTEND:19960920T220000Z"_s) << QDateTime(QDate(1996, 9, 18), QTime(14, 30), utc)
                         << QDateTime(QDate(1996, 9, 20), QTime(22, 0), utc) << false << u"UTC"_s << 0;
    QTest::newRow("TZID without VTIMEZONE") << bareEvent(u"DTSTART;TZID=America/New_York:19970903T163000\nDTEND;TZID=America/New_York:19970903T190000"_s)
                                            << QDateTime(QDate(1997, 9, 3), QTime(16, 30), newYork) << QDateTime(QDate(1997, 9, 3), QTime(19, 0), newYork)
                                            << false << u"America/New_York"_s << 0;
    QTest::newRow("TZID with VTIMEZONE")
        << crlf(u"BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Example//EN\nBEGIN:VTIMEZONE\nTZID:Europe/Oslo\nBEGIN:STANDARD\nDTSTART:19701025T030000\n"
                "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\nTZOFFSETFROM:+0200\nTZOFFSETTO:+0100\nEND:STANDARD\nBEGIN:DAYLIGHT\nDTSTART:19700329T020000\n"
                "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\nTZOFFSETFROM:+0100\nTZOFFSETTO:+0200\nEND:DAYLIGHT\nEND:VTIMEZONE\nBEGIN:VEVENT\nUID:2@example.org\n"
                "DTSTAMP:20260101T000000Z\nDTSTART;TZID=Europe/Oslo:20260615T090000\nDTEND;TZID=Europe/Oslo:20260615T100000\nSUMMARY:x\nEND:VEVENT\n"
                "END:VCALENDAR\n"_s)
        << QDateTime(QDate(2026, 6, 15), QTime(9, 0), QTimeZone("Europe/Oslo")) << QDateTime(QDate(2026, 6, 15), QTime(10, 0), QTimeZone("Europe/Oslo"))
        << false << u"Europe/Oslo"_s << 0;
    QTest::newRow("floating") << bareEvent(u"DTSTART:20260315T090000\nDTEND:20260315T100000"_s) << QDateTime(QDate(2026, 3, 15), QTime(9, 0), local)
                              << QDateTime(QDate(2026, 3, 15), QTime(10, 0), local) << false << QString() << 0;
    QTest::newRow("no end") << bareEvent(u"DTSTART:20260315T090000Z"_s) << QDateTime(QDate(2026, 3, 15), QTime(9, 0), utc) << QDateTime() << false << u"UTC"_s
                            << 0;
    QTest::newRow("duration") << bareEvent(u"DTSTART:20260315T090000Z\nDURATION:PT1H30M"_s) << QDateTime(QDate(2026, 3, 15), QTime(9, 0), utc)
                              << QDateTime(QDate(2026, 3, 15), QTime(10, 30), utc) << false << u"UTC"_s << 0;
    QTest::newRow("all day, end is the day after") << bareEvent(u"DTSTART;VALUE=DATE:20070628\nDTEND;VALUE=DATE:20070709"_s)
                                                   << QDateTime(QDate(2007, 6, 28), QTime(0, 0), local) << QDateTime(QDate(2007, 7, 8), QTime(0, 0), local)
                                                   << true << QString() << 0;
    QTest::newRow("all day without end") << bareEvent(u"DTSTART;VALUE=DATE:19971102"_s) << QDateTime(QDate(1997, 11, 2), QTime(0, 0), local)
                                         << QDateTime(QDate(1997, 11, 2), QTime(0, 0), local) << true << QString() << 0;
    QTest::newRow("all day with duration") << bareEvent(u"DTSTART;VALUE=DATE:20260301\nDURATION:P3D"_s) << QDateTime(QDate(2026, 3, 1), QTime(0, 0), local)
                                           << QDateTime(QDate(2026, 3, 3), QTime(0, 0), local) << true << QString() << 0;
    QTest::newRow("unknown time zone") << bareEvent(u"DTSTART;TZID=Mars/Olympus_Mons:20260315T090000"_s) << QDateTime(QDate(2026, 3, 15), QTime(9, 0), local)
                                       << QDateTime() << false << u"Mars/Olympus_Mons"_s << 1;
    QTest::newRow("no start") << bareEvent(u"SUMMARY:When?"_s) << QDateTime() << QDateTime() << false << QString() << 1;
}

void CalendarEventTest::times()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);
    QFETCH(bool, allDay);
    QFETCH(QString, timeZoneName);
    QFETCH(int, warningCount);

    const auto parsed = CalendarEvent::parse(text);
    QVERIFY(parsed);
    QCOMPARE(parsed->allDay, allDay);
    if (allDay) {
        QCOMPARE(parsed->start.date(), start.date());
        QCOMPARE(parsed->end.date(), end.date());
    } else {
        QCOMPARE(parsed->start, start);
        QCOMPARE(parsed->end, end);
        if (start.isValid()) {
            // The same instant is not enough: the event is shown in its own zone, or as floating.
            QCOMPARE(parsed->start.timeSpec() == Qt::LocalTime, start.timeSpec() == Qt::LocalTime);
            QCOMPARE(parsed->start.timeZone().id(), start.timeZone().id());
        }
    }
    QCOMPARE(parsed->timeZoneName, timeZoneName);
    QCOMPARE(parsed->warnings.size(), warningCount);
}

void CalendarEventTest::texts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("warningCount");

    QTest::newRow("whole calendar, folded and escaped")
        << crlf(u"BEGIN:VCALENDAR\nPRODID:-//xyz Corp//NONSGML PDA Calendar Version 1.0//EN\nVERSION:2.0\nBEGIN:VEVENT\nDTSTAMP:19960704T120000Z\n"
                "UID:uid1@example.com\nORGANIZER:mailto:jsmith@example.com\nDTSTART:19960918T143000Z\nDTEND:19960920T220000Z\nSTATUS:CONFIRMED\n"
                "CATEGORIES:CONFERENCE\nSUMMARY:Networld+Interop Conference\nDESCRIPTION:Networld+Interop Conference\n  and Exhibit\\nAtlanta World "
                "Congress Center\\n\n Atlanta\\, Georgia\nEND:VEVENT\nEND:VCALENDAR\n"_s)
        << u"Networld+Interop Conference"_s << QString() << u"Networld+Interop Conference and Exhibit\nAtlanta World Congress Center\nAtlanta, Georgia"_s << 0;
    QTest::newRow("bare event, line feeds only") << bareEvent(u"DTSTART:20260315T090000Z\nSUMMARY:Talk\nLOCATION:Room 1\\; east wing"_s) << u"Talk"_s
                                                 << u"Room 1; east wing"_s << QString() << 0;
    QTest::newRow("lower case, blank lines before") << u"\n\n  begin:vevent\ndtstart:20260315T090000Z\nsummary:Talk\nend:vevent\n"_s << u"Talk"_s << QString()
                                                    << QString() << 0;
    QTest::newRow("first of two events") << u"BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:x\nBEGIN:VEVENT\nUID:b\nDTSTART:20300101T000000Z\nSUMMARY:First\n"
                                            "END:VEVENT\nBEGIN:VEVENT\nUID:a\nDTSTART:20200101T000000Z\nSUMMARY:Second\nEND:VEVENT\nEND:VCALENDAR"_s
                                         << u"First"_s << QString() << QString() << 0;
    QTest::newRow("unterminated event") << u"BEGIN:VEVENT\nDTSTART:20260315T090000Z\nSUMMARY:Cut"_s << u"Cut"_s << QString() << QString() << 1;
    QTest::newRow("unterminated calendar") << u"BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\nDTSTART:20260315T090000Z\nSUMMARY:Cut\nEND:VEVENT"_s << u"Cut"_s
                                           << QString() << QString() << 1;
    QTest::newRow("NUL and control characters") << bareEvent(u"DTSTART:20260315T090000Z\nSUMMARY:a\0b\u001bc"_s) << u"a\0b\u001bc"_s << QString() << QString()
                                                << 0;

    // As long as a message split over many codes can be.
    const QString longText = u"x"_s.repeated(60000);
    QTest::newRow("longest description") << bareEvent(u"DTSTART:20260315T090000Z\nSUMMARY:A\nDESCRIPTION:"_s + longText) << u"A"_s << QString() << longText
                                         << 0;
    QTest::newRow("most folds") << bareEvent(u"DTSTART:20260315T090000Z\nSUMMARY:A\nDESCRIPTION:"_s + u"abcd\n "_s.repeated(10000)) << u"A"_s << QString()
                                << u"abcd"_s.repeated(10000) << 0;
}

void CalendarEventTest::texts()
{
    QFETCH(QString, text);
    QFETCH(QString, summary);
    QFETCH(QString, location);
    QFETCH(QString, description);
    QFETCH(int, warningCount);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    const auto parsed = CalendarEvent::parse(text);
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));

    QVERIFY(parsed);
    QCOMPARE(parsed->summary, summary);
    QCOMPARE(parsed->location, location);
    QCOMPARE(parsed->description, description);
    QCOMPARE(parsed->warnings.size(), warningCount);
}

void CalendarEventTest::repetition_data()
{
    QTest::addColumn<QString>("rule");
    // Empty when the event does not repeat.
    QTest::addColumn<QString>("sentence");

    const QString other = u"Repeats by a rule this program does not show in words."_s;
    QTest::newRow("none") << QString() << QString();
    QTest::newRow("daily") << u"RRULE:FREQ=DAILY"_s << u"Every day"_s;
    QTest::newRow("daily, 10 times") << u"RRULE:FREQ=DAILY;COUNT=10"_s << u"Every day, 10 times"_s;
    QTest::newRow("every other day") << u"RRULE:FREQ=DAILY;INTERVAL=2"_s << u"Every 2 days"_s;
    QTest::newRow("weekly") << u"RRULE:FREQ=WEEKLY"_s << u"Every week"_s;
    QTest::newRow("weekly on two days, until") << u"RRULE:FREQ=WEEKLY;UNTIL=19971007T000000Z;WKST=SU;BYDAY=TU,TH"_s
                                               << u"Every week on Tuesday and Thursday, until "_s + longDate(1997, 10, 7);
    QTest::newRow("every other week on three days, 8 times") << u"RRULE:FREQ=WEEKLY;INTERVAL=2;COUNT=8;WKST=SU;BYDAY=MO,WE,FR"_s
                                                             << u"Every 2 weeks on Monday, Wednesday and Friday, 8 times"_s;
    QTest::newRow("monthly") << u"RRULE:FREQ=MONTHLY"_s << u"Every month"_s;
    QTest::newRow("monthly on a day") << u"RRULE:FREQ=MONTHLY;BYMONTHDAY=15"_s << u"Every month on day 15"_s;
    QTest::newRow("yearly") << u"RRULE:FREQ=YEARLY"_s << u"Every year"_s;
    QTest::newRow("yearly on its own day") << u"RRULE:FREQ=YEARLY;BYMONTH=9;BYMONTHDAY=18"_s << u"Every year"_s;
    QTest::newRow("every other year, once") << u"RRULE:FREQ=YEARLY;INTERVAL=2;COUNT=1"_s << u"Every 2 years, once"_s;
    QTest::newRow("first Friday of the month") << u"RRULE:FREQ=MONTHLY;BYDAY=1FR"_s << other;
    QTest::newRow("last day of the month") << u"RRULE:FREQ=MONTHLY;BYMONTHDAY=-1"_s << other;
    QTest::newRow("yearly in other months") << u"RRULE:FREQ=YEARLY;BYMONTH=1,2"_s << other;
    QTest::newRow("hourly") << u"RRULE:FREQ=HOURLY;INTERVAL=3"_s << other;
    QTest::newRow("by set position") << u"RRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1"_s << other;
    QTest::newRow("two rules") << u"RRULE:FREQ=DAILY\nRRULE:FREQ=WEEKLY"_s << other;
    QTest::newRow("extra dates") << u"RRULE:FREQ=DAILY\nRDATE:19970920T143000Z"_s << other;
    QTest::newRow("extra dates alone") << u"RDATE:19970920T143000Z"_s << other;
    QTest::newRow("huge count") << u"RRULE:FREQ=DAILY;COUNT=2000000000"_s << u"Every day, %1 times"_s.arg(QLocale().toString(2000000000));
}

void CalendarEventTest::repetition()
{
    QFETCH(QString, rule);
    QFETCH(QString, sentence);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    const auto parsed = CalendarEvent::parse(bareEvent(u"DTSTART:19960918T143000Z\nSUMMARY:x\n"_s + rule));
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));
    QVERIFY(parsed);
    QCOMPARE(parsed->repetition.isEmpty() ? QString() : parsed->repetition.toString(), sentence);
}

void CalendarEventTest::ownCalendar_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString calendar = u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VEVENT\r\nUID:1\r\nDTSTART:20260315T090000Z\r\nX-KEPT;X-P=1:as it is\r\n"
                             "END:VEVENT\r\nEND:VCALENDAR\r\n"_s;
    QTest::newRow("whole calendar") << calendar << calendar;
    QTest::newRow("text after it") << calendar + u"trailing words"_s << calendar;
    const QString bare = u"BEGIN:VEVENT\r\nUID:1\r\nDTSTART:20260315T090000Z\r\nEND:VEVENT\r\n"_s;
    QTest::newRow("bare event") << bare << u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//KDE//Brevlinder//EN\r\n"_s + bare + u"END:VCALENDAR\r\n"_s;
    QTest::newRow("bare event without a last line break") << bare.chopped(2)
                                                          << u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//KDE//Brevlinder//EN\r\n"_s + bare
            + u"END:VCALENDAR\r\n"_s;
}

void CalendarEventTest::ownCalendar()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    const auto parsed = CalendarEvent::parse(text);
    QVERIFY(parsed);
    QCOMPARE(QString::fromUtf8(parsed->iCalendar), expected);
}

void CalendarEventTest::notEvent_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("sentence starting with BEGIN:") << u"BEGIN: the meeting starts at nine"_s;
    QTest::newRow("sentence starting with BEGIN:VEVENT") << u"BEGIN:VEVENT is how an event starts"_s;
    QTest::newRow("begin line only") << u"BEGIN:VEVENT"_s;
    QTest::newRow("a calendar without events") << u"BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:x\nEND:VCALENDAR"_s;
    QTest::newRow("a to-do") << u"BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:x\nBEGIN:VTODO\nUID:1\nSUMMARY:Buy milk\nEND:VTODO\nEND:VCALENDAR"_s;
    QTest::newRow("a bare to-do") << u"BEGIN:VTODO\nUID:1\nSUMMARY:Buy milk\nEND:VTODO"_s;
    QTest::newRow("a contact") << u"BEGIN:VCARD\nVERSION:3.0\nFN:A\nEND:VCARD"_s;
    QTest::newRow("a URL containing it") << u"https://example.org/?BEGIN:VEVENT"_s;
    QTest::newRow("1 MB description") << bareEvent(u"DTSTART:20260315T090000Z\nDESCRIPTION:"_s + QString(1 << 20, u'x'));
}

void CalendarEventTest::notEvent()
{
    QFETCH(QString, text);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    QVERIFY(!CalendarEvent::parse(text));
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));
}

void CalendarEventTest::hostile_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("NUL bytes everywhere") << QString(u"BEGIN:VEVENT\nDTSTART\0:2026\0\nSUM\0MARY:\0\n\0\nEND:VEVENT"_s);
    QTest::newRow("broken dates") << bareEvent(u"DTSTART:2026-13-45T99:99:99\nDTEND;VALUE=DATE:x\nDURATION:PXYZ"_s);
    QTest::newRow("end before start") << bareEvent(u"DTSTART:20260315T090000Z\nDTEND:20200101T000000Z"_s);
    QTest::newRow("huge duration") << bareEvent(u"DTSTART:20260315T090000Z\nDURATION:P999999999999W"_s);
    QTest::newRow("broken rule") << bareEvent(u"DTSTART:20260315T090000Z\nRRULE:FREQ=;INTERVAL=-5;COUNT=x;BYDAY=ZZ"_s);
    QTest::newRow("huge interval") << bareEvent(u"DTSTART:20260315T090000Z\nRRULE:FREQ=DAILY;INTERVAL=4294967295"_s);
    QTest::newRow("unterminated quoted parameter") << bareEvent(u"DTSTART;TZID=\"Europe/Oslo:20260315T090000"_s);
    QTest::newRow("nested events") << u"BEGIN:VEVENT\nBEGIN:VEVENT\nBEGIN:VCALENDAR\nDTSTART:20260315T090000Z\nEND:VEVENT\nEND:VCALENDAR"_s;
    QTest::newRow("many alarms") << bareEvent(u"DTSTART:20260315T090000Z\n"_s + u"BEGIN:VALARM\nTRIGGER:-PT5M\nACTION:DISPLAY\nEND:VALARM\n"_s.repeated(1000));
    QTest::newRow("many days") << bareEvent(u"DTSTART:19960918T143000Z\nRRULE:FREQ=WEEKLY;BYDAY="_s + u"MO,"_s.repeated(5000) + u"TU"_s);
    QTest::newRow("many lines of folds only") << bareEvent(u"SUMMARY:x\n"_s + u" \n"_s.repeated(100000));
    QTest::newRow("many empty lines") << bareEvent(u"\n"_s.repeated(200000));
    QTest::newRow("control characters") << bareEvent(u"\u0001\u0002:\u0003\n\u007f;\u0008=:"_s);
    QTest::newRow("carriage returns only") << u"BEGIN:VEVENT\rDTSTART:20260315T090000Z\rEND:VEVENT\r"_s;
}

void CalendarEventTest::hostile()
{
    QFETCH(QString, text);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    const auto parsed = CalendarEvent::parse(text);
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));
    // Whatever it makes of such an event, it keeps a calendar to hand on.
    if (parsed) {
        QVERIFY(parsed->iCalendar.startsWith("BEGIN:VCALENDAR"));
    }
}

QTEST_GUILESS_MAIN(CalendarEventTest)

#include "calendareventtest.moc"
