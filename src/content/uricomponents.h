// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <utility>

namespace Brevlinder::Content::UriComponents
{

/// Codes are small; anything far beyond what a chain of linked symbols can hold is refused before it is parsed.
constexpr qsizetype maximumPayloadLength = 64 * 1024;

/// Whether @p text starts with @p scheme (given in lower case, with its colon), in any case.
bool hasScheme(QStringView text, QStringView scheme);

/**
 * %XX escapes decoded as UTF-8. A broken escape stays as it was written rather than being dropped, so that a
 * malformed code still shows everything it carries.
 */
QString percentDecoded(QStringView encoded, bool plusIsSpace = false);

/// The query's name=value pairs in their order, names decoded and in lower case, values decoded.
QList<std::pair<QString, QString>> queryItems(QStringView query, bool plusIsSpace = false);

}
