// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <KLocalizedString>

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace Brevlinder::Content
{

/**
 * An event, from an iCalendar VEVENT (a whole VCALENDAR or a bare VEVENT, as many codes carry).
 */
struct CalendarEvent {
    QString summary;
    /// In the event's own time zone, in UTC, or in local time for a floating time (QDateTime's own time spec says
    /// which). For an all-day event only the dates count.
    QDateTime start;
    /// Invalid when the event gives neither an end nor a duration. For an all-day event, the last day it takes up
    /// (iCalendar's end date is the day after).
    QDateTime end;
    bool allDay = false;
    /// The event's own time zone as the code names it ("Europe/Berlin"), "UTC", or empty for a floating time or
    /// an all-day event.
    QString timeZoneName;
    QString location;
    QString description;
    /// How the event repeats, as a sentence ("Every week on Monday and Wednesday, 10 times"); empty when it does
    /// not repeat.
    KLocalizedString repetition;

    /// The event as an iCalendar VCALENDAR in UTF-8, for saving it to an .ics file and handing it to a calendar.
    QByteArray iCalendar;

    /// What the user should know about the code as a whole (an unknown time zone taken as local time, a missing start).
    QList<KLocalizedString> warnings;

    /// The first event of @p text, or nullopt if it is no iCalendar event.
    static std::optional<CalendarEvent> parse(const QString &text);
};

}
