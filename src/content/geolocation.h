// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "checkedvalue.h"

#include <QList>
#include <QString>

#include <optional>

namespace Brevlinder::Content
{

/**
 * A place given as a geo: address: coordinates in degrees, an altitude and an accuracy in metres, or, in the form
 * that phones write with 0,0 as a stand-in, a search for a label or an address.
 */
struct GeoLocation {
    /// Degrees as written, north positive; a problem when beyond the poles.
    CheckedValue latitude;
    /// Degrees as written, east positive; a problem when beyond ±180.
    CheckedValue longitude;
    /// Metres as written, empty when the code gives none.
    QString altitude;
    /// The radius in metres within which the place lies, empty when the code gives none.
    QString uncertainty;
    /// The reference system; a problem for any but WGS 84, whose coordinates no map here would place right.
    CheckedValue coordinateSystem;
    /// The name the code gives the place, from "q=lat,lon(Label)".
    QString label;
    /// A search ("q=address") instead of, or besides, the coordinates.
    QString query;
    /// The map zoom level the code asks for, empty when none.
    QString zoom;
    /// True when the coordinates are the 0,0 stand-in for a search and name no place themselves.
    bool coordinatesArePlaceholder = false;
    QList<KLocalizedString> warnings;

    static std::optional<GeoLocation> parse(const QString &text);
};

}
