// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace Brevlinder::Content
{

/**
 * The lines of a vCard or iCalendar text, as far as this program reads them itself, beside the parsers underneath:
 * where an object starts and ends, and the parameters of a property exactly as the code writes them.
 */
namespace FoldedLines
{

/// One physical line, without its line break (CRLF, LF or CR).
struct Line {
    QStringView text;
    /// Where the next line starts.
    qsizetype next = 0;
};

Line lineAt(QStringView text, qsizetype position);

/// Whether @p line is @p wanted, in any case and with blanks around it.
bool isLine(QStringView line, QLatin1StringView wanted);

struct Property {
    QStringList parameters;
    /// With the folds taken out: a line that starts with a space or tab goes on the one before, without that one
    /// character.
    QString value;

    /// The value of the parameter NAME=value, empty when the property has none.
    QString parameter(QLatin1StringView name) const;
};

/// The first property named @p name (in any case, in any group) of @p text.
std::optional<Property> firstProperty(QStringView text, QLatin1StringView name);

}

}
