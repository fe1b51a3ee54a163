// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "calendarevent.h"

namespace Brevlinder::Content
{

std::optional<CalendarEvent> CalendarEvent::parse(const QString &text)
{
    Q_UNUSED(text)
    return std::nullopt;
}

}
