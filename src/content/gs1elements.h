// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "checkedvalue.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace Brevlinder::Content
{

/// One piece of GS1 data: a trade item's number, a batch, a date, a weight, each under its application identifier.
struct Gs1Element {
    /// The application identifier, "01" or "3103".
    QString ai;
    /// What the identifier stands for ("GTIN", "Expiry date").
    KLocalizedString name;
    /// The value as the code carries it; a problem when its check digit, length, digits or date are wrong.
    CheckedValue value;
    /// The value as a reader would write it: a date as YYYY-MM-DD, a weight or price with its decimal point.
    QString readable;
    /// The day a date stands for, invalid for every other element.
    QDate date;
};

/**
 * The elements of GS1 data, read from the bracketed text that a GS1 code's scan gives, "(01)09506000134352(10)ABC",
 * the same data with group separators, or a GS1 Digital Link, a web address whose path and query carry the elements.
 */
struct Gs1Elements {
    QList<Gs1Element> elements;
    /// A Digital Link's host, in its ASCII form so that a look-alike of a known name shows as what it is; empty for
    /// element strings.
    QString host;
    QList<KLocalizedString> warnings;

    /**
     * @p isGs1 tells that the scan found the marker of GS1 data; without it only a Digital Link is read, since
     * "(10)…" can as well be any text. @p today decides the century of two-digit years.
     */
    static std::optional<Gs1Elements> parse(const QString &text, bool isGs1, QDate today = QDate::currentDate());
};

}
