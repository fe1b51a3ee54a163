// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "geolocation.h"

#include "uricomponents.h"

#include <cmath>

namespace Brevlinder::Content
{

namespace
{
// Only plain decimals: a code's "1e3" or "inf" is no place on earth, and toDouble() would take them.
bool isDecimal(QStringView text, bool signAllowed)
{
    qsizetype i = 0;
    if (signAllowed && text.startsWith(u'-')) {
        ++i;
    }
    const qsizetype integerStart = i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
    }
    if (i == integerStart) {
        return false;
    }
    if (i < text.size() && text[i] == u'.') {
        const qsizetype fractionStart = ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
        }
        if (i == fractionStart) {
            return false;
        }
    }
    return i == text.size();
}

CheckedValue checkedDegrees(QStringView text, double limit, const KLocalizedString &beyond)
{
    CheckedValue degrees{text.toString(), KLocalizedString()};
    if (std::abs(text.toDouble()) > limit) {
        degrees.problem = beyond;
    }
    return degrees;
}

KLocalizedString latitudeBeyondPoles()
{
    return ki18n("The latitude lies beyond the poles: it must be between -90 and 90 degrees.");
}

KLocalizedString longitudeOutOfRange()
{
    return ki18n("The longitude must be between -180 and 180 degrees.");
}

// "48.2,16.3(Vienna Opera)" or "48.2,16.3": the coordinates and the label that phones put into a search.
bool readCoordinateQuery(QStringView query, QStringView &latitude, QStringView &longitude, QString &label)
{
    QStringView coordinates = query.trimmed();
    const qsizetype open = coordinates.indexOf(u'(');
    if (open >= 0) {
        if (!coordinates.endsWith(u')')) {
            return false;
        }
        label = coordinates.mid(open + 1, coordinates.size() - open - 2).trimmed().toString();
        coordinates = coordinates.left(open).trimmed();
    }
    const qsizetype comma = coordinates.indexOf(u',');
    if (comma < 0) {
        return false;
    }
    latitude = coordinates.left(comma).trimmed();
    longitude = coordinates.mid(comma + 1).trimmed();
    return isDecimal(latitude, true) && isDecimal(longitude, true);
}
}

std::optional<GeoLocation> GeoLocation::parse(const QString &text)
{
    if (!UriComponents::hasScheme(text, u"geo:") || text.size() > UriComponents::maximumPayloadLength) {
        return std::nullopt;
    }
    const QStringView address = QStringView(text).mid(4).trimmed();
    const qsizetype questionMark = address.indexOf(u'?');
    const QStringView path = questionMark < 0 ? address : address.left(questionMark);
    const QStringView searchPart = questionMark < 0 ? QStringView() : address.mid(questionMark + 1);

    const qsizetype firstParameter = path.indexOf(u';');
    const QStringView coordinates = firstParameter < 0 ? path : path.left(firstParameter);
    const QList<QStringView> parts = coordinates.split(u',');
    if (parts.size() < 2 || parts.size() > 3) {
        return std::nullopt;
    }
    for (const QStringView part : parts) {
        if (!isDecimal(part, true)) {
            return std::nullopt;
        }
    }

    GeoLocation location;
    location.latitude = checkedDegrees(parts[0], 90, latitudeBeyondPoles());
    location.longitude = checkedDegrees(parts[1], 180, longitudeOutOfRange());
    if (parts.size() == 3) {
        location.altitude = parts[2].toString();
    }
    location.coordinateSystem.value = QStringLiteral("wgs84");

    if (firstParameter >= 0) {
        for (const QStringView parameter : path.mid(firstParameter + 1).tokenize(u';')) {
            const qsizetype equals = parameter.indexOf(u'=');
            const QString name = UriComponents::percentDecoded(equals < 0 ? parameter : parameter.left(equals)).toLower();
            const QString value = equals < 0 ? QString() : UriComponents::percentDecoded(parameter.mid(equals + 1));
            if (name == u"crs") {
                location.coordinateSystem.value = value;
                if (value.compare(u"wgs84", Qt::CaseInsensitive) != 0) {
                    location.coordinateSystem.problem =
                        ki18n("The coordinates are given in a reference system other than WGS 84; on a map they would show the wrong place.");
                }
            } else if (name == u"u") {
                location.uncertainty = value;
                if (!isDecimal(value, false)) {
                    location.warnings.append(ki18n("The accuracy is not a number of metres."));
                }
            }
        }
    }

    for (const auto &[name, value] : UriComponents::queryItems(searchPart, true)) {
        if (name == u"q" && location.query.isEmpty() && location.label.isEmpty()) {
            QStringView latitude;
            QStringView longitude;
            QString label;
            if (readCoordinateQuery(value, latitude, longitude, label)) {
                // The coordinates in the search are the place; those before it only stand in when they are 0,0.
                if (parts[0].toDouble() == 0 && parts[1].toDouble() == 0) {
                    location.latitude = checkedDegrees(latitude, 90, latitudeBeyondPoles());
                    location.longitude = checkedDegrees(longitude, 180, longitudeOutOfRange());
                }
                location.label = label;
            } else {
                location.query = value.trimmed();
            }
        } else if (name == u"z") {
            location.zoom = value;
        }
    }
    location.coordinatesArePlaceholder = !location.query.isEmpty() && location.latitude.value.toDouble() == 0 && location.longitude.value.toDouble() == 0;
    return location;
}

}
