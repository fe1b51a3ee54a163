// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "calendarevent.h"

#include "foldedlines.h"

#include <KCalendarCore/ICalFormat>
#include <KCalendarCore/MemoryCalendar>
#include <KCalendarCore/Recurrence>

#include <QLocale>
#include <QTimeZone>

namespace Brevlinder::Content
{

namespace
{

using namespace FoldedLines;

// Far more than a code can carry (about 47 KB when split over many codes), little enough for the iCalendar parser
// underneath to take well under the time a scan may spend on it.
constexpr qsizetype maximumCalendarLength = 256 * 1024;

// From a line that is exactly @p begin to the line that is exactly @p end, both included; to the end of @p text
// when the code was cut short.
struct Block {
    QStringView text;
    bool terminated = false;
};

std::optional<Block> blockFrom(QStringView text, qsizetype start, QLatin1StringView end)
{
    const Line first = lineAt(text, start);
    for (qsizetype position = first.next; position < text.size();) {
        const Line line = lineAt(text, position);
        if (isLine(line.text, end)) {
            return Block{text.sliced(start, line.next - start), true};
        }
        position = line.next;
    }
    return Block{text.sliced(start), false};
}

std::optional<Block> firstEventIn(QStringView text)
{
    for (qsizetype position = 0; position < text.size();) {
        const Line line = lineAt(text, position);
        if (isLine(line.text, QLatin1StringView("BEGIN:VEVENT"))) {
            return blockFrom(text, position, QLatin1StringView("END:VEVENT"));
        }
        position = line.next;
    }
    return std::nullopt;
}

bool hasTimeZone(QStringView calendar, const QString &id)
{
    for (qsizetype position = 0; position < calendar.size();) {
        const qsizetype lineStart = position;
        const Line line = lineAt(calendar, position);
        position = line.next;
        if (!isLine(line.text, QLatin1StringView("BEGIN:VTIMEZONE"))) {
            continue;
        }
        const std::optional<Block> zone = blockFrom(calendar, lineStart, QLatin1StringView("END:VTIMEZONE"));
        const std::optional<Property> zoneId = firstProperty(zone->text, QLatin1StringView("TZID"));
        if (zoneId && zoneId->value.trimmed() == id) {
            return true;
        }
    }
    return false;
}

KLocalizedString weekdayName(int day)
{
    switch (day) {
    case 1:
        return ki18nc("@item:intext weekday in a repetition", "Monday");
    case 2:
        return ki18nc("@item:intext weekday in a repetition", "Tuesday");
    case 3:
        return ki18nc("@item:intext weekday in a repetition", "Wednesday");
    case 4:
        return ki18nc("@item:intext weekday in a repetition", "Thursday");
    case 5:
        return ki18nc("@item:intext weekday in a repetition", "Friday");
    case 6:
        return ki18nc("@item:intext weekday in a repetition", "Saturday");
    default:
        return ki18nc("@item:intext weekday in a repetition", "Sunday");
    }
}

// "Monday", "Monday and Friday", "Monday, Wednesday and Friday".
KLocalizedString listOf(const QList<KLocalizedString> &items)
{
    KLocalizedString list = items.constLast();
    if (items.size() >= 2) {
        list = ki18nc("@item:intext the last two of a list", "%1 and %2").subs(items.at(items.size() - 2)).subs(list);
    }
    for (qsizetype i = items.size() - 3; i >= 0; --i) {
        list = ki18nc("@item:intext the first items of a list, before the rest", "%1, %2").subs(items.at(i)).subs(list);
    }
    return list;
}

KLocalizedString otherRule()
{
    return ki18nc("@info", "Repeats by a rule this program does not show in words.");
}

// Says in words the rules that most events repeat by; anything with more to it is said to be a rule.
KLocalizedString repetitionOf(const KCalendarCore::Recurrence &recurrence)
{
    const KCalendarCore::RecurrenceRule::List rules = recurrence.rRules();
    if (rules.size() != 1 || !recurrence.exRules().isEmpty() || !recurrence.rDates().isEmpty() || !recurrence.rDateTimes().isEmpty()) {
        return otherRule();
    }
    const KCalendarCore::RecurrenceRule &rule = *rules.constFirst();
    const int interval = int(rule.frequency());
    if (interval < 1 || !rule.bySeconds().isEmpty() || !rule.byMinutes().isEmpty() || !rule.byHours().isEmpty() || !rule.byYearDays().isEmpty()
        || !rule.byWeekNumbers().isEmpty() || !rule.bySetPos().isEmpty()) {
        return otherRule();
    }
    const bool onlyDays = rule.byMonthDays().isEmpty() && rule.byMonths().isEmpty();
    KLocalizedString sentence;
    switch (rule.recurrenceType()) {
    case KCalendarCore::RecurrenceRule::rDaily:
        if (!onlyDays || !rule.byDays().isEmpty()) {
            return otherRule();
        }
        sentence = ki18ncp("@info", "Every day", "Every %1 days").subs(interval);
        break;
    case KCalendarCore::RecurrenceRule::rWeekly:
        if (!onlyDays) {
            return otherRule();
        }
        if (rule.byDays().isEmpty()) {
            sentence = ki18ncp("@info", "Every week", "Every %1 weeks").subs(interval);
        } else {
            QList<KLocalizedString> days;
            for (const KCalendarCore::RecurrenceRule::WDayPos &day : rule.byDays()) {
                if (day.pos() != 0 || day.day() < 1 || day.day() > 7) {
                    return otherRule();
                }
                days.append(weekdayName(day.day()));
            }
            sentence = ki18ncp("@info %2 is a list of weekdays", "Every week on %2", "Every %1 weeks on %2").subs(interval).subs(listOf(days));
        }
        break;
    case KCalendarCore::RecurrenceRule::rMonthly:
        if (!rule.byDays().isEmpty() || !rule.byMonths().isEmpty() || rule.byMonthDays().size() > 1) {
            return otherRule();
        }
        if (rule.byMonthDays().isEmpty()) {
            sentence = ki18ncp("@info", "Every month", "Every %1 months").subs(interval);
        } else if (rule.byMonthDays().constFirst() > 0) {
            sentence = ki18ncp("@info %2 is a day of the month", "Every month on day %2", "Every %1 months on day %2")
                           .subs(interval)
                           .subs(rule.byMonthDays().constFirst());
        } else {
            return otherRule();
        }
        break;
    case KCalendarCore::RecurrenceRule::rYearly:
        // A rule that names the start's own month and day says no more than "every year".
        if (!rule.byDays().isEmpty() || rule.byMonths().size() > 1 || rule.byMonthDays().size() > 1
            || (!rule.byMonths().isEmpty() && rule.byMonths().constFirst() != rule.startDt().date().month())
            || (!rule.byMonthDays().isEmpty() && rule.byMonthDays().constFirst() != rule.startDt().date().day())) {
            return otherRule();
        }
        sentence = ki18ncp("@info", "Every year", "Every %1 years").subs(interval);
        break;
    default:
        return otherRule();
    }
    if (rule.duration() > 0) {
        return ki18ncp("@info %2 is how often something repeats, e.g. Every week", "%2, once", "%2, %1 times").subs(rule.duration()).subs(sentence);
    }
    if (rule.duration() == 0 && rule.endDt().isValid()) {
        return ki18nc("@info %1 is how often something repeats, e.g. Every week; %2 a date", "%1, until %2")
            .subs(sentence)
            .subs(QLocale().toString(rule.endDt().date(), QLocale::LongFormat));
    }
    return sentence;
}

// A private-use character that @p text does not hold, to stand in for NULs; a text that holds every one of them
// loses its NULs to the replacement character.
QChar unusedCharacter(QStringView text)
{
    constexpr char16_t first = 0xe000;
    constexpr char16_t last = 0xf8ff;
    QList<bool> used(last - first + 1, false);
    for (const QChar c : text) {
        if (c.unicode() >= first && c.unicode() <= last) {
            used[c.unicode() - first] = true;
        }
    }
    const qsizetype unused = used.indexOf(false);
    return unused < 0 ? QChar(QChar::ReplacementCharacter) : QChar(char16_t(first + unused));
}

QString withNuls(QString text, QChar standIn)
{
    return text.replace(standIn, QChar(0));
}

// The event the code gives first: the one its first VEVENT names, else the earliest.
KCalendarCore::Event::Ptr firstEvent(const KCalendarCore::Event::List &events, const std::optional<Block> &firstBlock)
{
    if (firstBlock) {
        if (const std::optional<Property> uid = firstProperty(firstBlock->text, QLatin1StringView("UID"))) {
            for (const KCalendarCore::Event::Ptr &event : events) {
                if (event->uid() == uid->value) {
                    return event;
                }
            }
        }
    }
    KCalendarCore::Event::Ptr first = events.constFirst();
    for (const KCalendarCore::Event::Ptr &event : events) {
        if (event->dtStart() < first->dtStart()) {
            first = event;
        }
    }
    return first;
}

}

std::optional<CalendarEvent> CalendarEvent::parse(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && (text[start].isSpace() || text[start] == QChar::ByteOrderMark)) {
        ++start;
    }
    const Line firstLine = lineAt(text, start);
    const bool isCalendar = isLine(firstLine.text, QLatin1StringView("BEGIN:VCALENDAR"));
    // A sentence that merely starts with the words is no event: the first line must be the object's own.
    if ((!isCalendar && !isLine(firstLine.text, QLatin1StringView("BEGIN:VEVENT"))) || firstLine.next >= text.size()) {
        return std::nullopt;
    }
    const std::optional<Block> object =
        blockFrom(text, start, isCalendar ? QLatin1StringView("END:VCALENDAR") : QLatin1StringView("END:VEVENT"));
    if (object->text.size() > maximumCalendarLength) {
        return std::nullopt;
    }

    CalendarEvent event;
    QString calendarText;
    if (isCalendar) {
        calendarText = object->text.toString();
        if (!object->terminated) {
            calendarText += QLatin1StringView("\r\nEND:VCALENDAR\r\n");
        }
    } else {
        calendarText = QLatin1StringView("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//KDE//Brevlinder//EN\r\n") + object->text;
        if (!object->terminated) {
            calendarText += QLatin1StringView("\r\nEND:VEVENT");
        }
        if (!calendarText.endsWith(u'\n')) {
            calendarText += QLatin1StringView("\r\n");
        }
        calendarText += QLatin1StringView("END:VCALENDAR\r\n");
    }
    if (!object->terminated) {
        event.warnings.append(ki18nc("@info", "The event ends before its end mark; parts of it may be missing."));
    }

    const KCalendarCore::MemoryCalendar::Ptr calendar(new KCalendarCore::MemoryCalendar(QTimeZone::utc()));
    KCalendarCore::ICalFormat format;
    // The parser underneath reads C strings, which end at the first NUL.
    const QChar nulStandIn = unusedCharacter(calendarText);
    if (!format.fromString(calendar, QString(calendarText).replace(QChar(0), nulStandIn))) {
        return std::nullopt;
    }
    const KCalendarCore::Event::List events = calendar->rawEvents();
    if (events.isEmpty()) {
        return std::nullopt;
    }
    const std::optional<Block> firstBlock = firstEventIn(calendarText);
    const KCalendarCore::Event::Ptr found = firstEvent(events, firstBlock);

    event.summary = withNuls(found->summary(), nulStandIn);
    event.location = withNuls(found->location(), nulStandIn);
    event.description = withNuls(found->description(), nulStandIn);
    event.allDay = found->allDay();
    event.start = found->dtStart();
    // The parser underneath makes an event without an end end when it starts.
    if (event.allDay || (firstBlock && (firstProperty(firstBlock->text, QLatin1StringView("DTEND")) || firstProperty(firstBlock->text, QLatin1StringView("DURATION"))))) {
        event.end = found->dtEnd();
    }
    if (!event.start.isValid()) {
        event.warnings.append(ki18nc("@info", "The event does not say when it starts."));
    }

    const std::optional<Property> startProperty = firstBlock ? firstProperty(firstBlock->text, QLatin1StringView("DTSTART")) : std::nullopt;
    const QString zoneId = startProperty ? startProperty->parameter(QLatin1StringView("TZID")) : QString();
    if (!event.allDay) {
        if (!zoneId.isEmpty()) {
            event.timeZoneName = zoneId;
            if (!hasTimeZone(calendarText, zoneId) && !QTimeZone::isTimeZoneIdAvailable(zoneId.toUtf8())) {
                event.warnings.append(ki18nc("@info %1 is the name of a time zone", "The time zone “%1” is unknown; the times are taken as local times.").subs(zoneId));
            }
        } else if (event.start.timeSpec() == Qt::UTC || (event.start.timeSpec() == Qt::TimeZone && event.start.timeZone() == QTimeZone::utc())) {
            event.timeZoneName = QStringLiteral("UTC");
        }
    }

    if (found->recurs()) {
        event.repetition = repetitionOf(*found->recurrence());
    }
    event.iCalendar = calendarText.toUtf8();
    return event;
}

}
