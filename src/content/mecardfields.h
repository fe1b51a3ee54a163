// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace Brevlinder::Content
{

/**
 * The `KEY:value;KEY:value;;` fields after a prefix such as "WIFI:" or "MECARD:", as phones and generators write
 * them: in any order, keys in any case, keys repeated, the final ";;" often missing, and a backslash escaping
 * `\ ; , " :` (before any other character it is an ordinary character, as generators that escape too much intend).
 *
 * Splitting is done once, in one pass, so that a hostile payload of any size costs linear time.
 */
struct MeCardFields {
    struct Field {
        /// Upper case, as keys are compared without regard to case.
        QString key;
        /// As the code writes it, escapes and quotes intact; never trimmed.
        QString raw;

        /// The value with its escapes resolved.
        QString value() const;
        /// The value without the unescaped double quotes that wrap it, if it has them (Wi-Fi codes quote an
        /// ASCII value that could be read as hexadecimal digits).
        QString unquotedValue() const;
        /// Whether the value is wrapped in unescaped double quotes.
        bool isQuoted() const;
        /// The value cut at each unescaped @p separator, each part with its escapes resolved.
        QStringList split(QChar separator) const;
    };

    QList<Field> fields;

    /// Far more than a code holds, even one message split over many codes; anything longer is not read as fields.
    static constexpr qsizetype MaximumLength = 64 * 1024;

    /**
     * Reads the fields of @p text if it starts with @p prefix (in any case) and is at most MaximumLength long, or
     * nullopt. A segment that has no
     * `KEY:` of its own belongs to the field before it, as it comes from a `;` that its generator did not escape.
     */
    static std::optional<MeCardFields> parse(QStringView text, QLatin1StringView prefix);

    /// Every field with @p key, in the order of the code.
    QList<Field> all(QLatin1StringView key) const;
    /// The first field with @p key, if any.
    std::optional<Field> first(QLatin1StringView key) const;
    /// Whether a key occurs twice with different values, which makes a code say one thing and do another.
    bool hasConflictingRepeats() const;
};

}
