// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "mecardfields.h"

#include <QHash>

namespace Brevlinder::Content
{

namespace
{

const QChar Backslash = QLatin1Char('\\');
const QChar Quote = QLatin1Char('"');
const QChar Semicolon = QLatin1Char(';');

bool isEscapable(QChar c)
{
    return c == Backslash || c == Semicolon || c == QLatin1Char(',') || c == Quote || c == QLatin1Char(':');
}

bool isKeyCharacter(QChar c)
{
    // Letters, digits and '-' (DoCoMo's TEL-AV): anything else before a ':' is part of a value.
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
        || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-');
}

bool isSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// A backslash always takes the character after it along, whether it escapes it or stays literal before an
// ordinary one, so that "\\;" is a backslash and a separator while "\;" is a semicolon. Searching with indexOf
// keeps long values cheap; the next backslash is remembered so that many separators do not search again.
class Scanner
{
public:
    explicit Scanner(QStringView text)
        : m_text(text)
        , m_nextBackslash(text.indexOf(Backslash))
    {
    }

    /// The first unescaped @p separator from @p from on, or the text's size.
    qsizetype find(QChar separator, qsizetype from)
    {
        qsizetype found = indexOrSize(separator, from);
        while (true) {
            if (m_nextBackslash >= 0 && m_nextBackslash < from) {
                m_nextBackslash = m_text.indexOf(Backslash, from);
            }
            if (m_nextBackslash < 0 || m_nextBackslash > found) {
                return found;
            }
            from = m_nextBackslash + 2;
            if (from >= m_text.size()) {
                return m_text.size();
            }
            if (found < from) {
                found = indexOrSize(separator, from);
            }
        }
    }

private:
    qsizetype indexOrSize(QChar c, qsizetype from) const
    {
        const qsizetype index = m_text.indexOf(c, from);
        return index < 0 ? m_text.size() : index;
    }

    QStringView m_text;
    qsizetype m_nextBackslash;
};

QString unescape(QStringView raw)
{
    qsizetype backslash = raw.indexOf(Backslash);
    if (backslash < 0) {
        return raw.toString();
    }
    QString value;
    value.reserve(raw.size());
    qsizetype from = 0;
    while (backslash >= 0 && backslash + 1 < raw.size()) {
        const QChar next = raw.at(backslash + 1);
        // Drop an escaping backslash; keep one before an ordinary character.
        value.append(raw.sliced(from, isEscapable(next) ? backslash - from : backslash + 1 - from));
        value.append(next);
        from = backslash + 2;
        backslash = raw.indexOf(Backslash, from);
    }
    value.append(raw.sliced(from));
    return value;
}

// Where the segment's key ends at its ':', after any line breaks or spaces that a generator put between fields;
// -1 if the segment has no key of its own.
qsizetype keyStart(QStringView segment, qsizetype *colon)
{
    qsizetype start = 0;
    while (start < segment.size() && isSpace(segment.at(start))) {
        ++start;
    }
    qsizetype end = start;
    while (end < segment.size() && isKeyCharacter(segment.at(end))) {
        ++end;
    }
    if (end == start || end == segment.size() || segment.at(end) != QLatin1Char(':')) {
        return -1;
    }
    *colon = end;
    return start;
}

bool isBlank(QStringView text)
{
    for (const QChar c : text) {
        if (!isSpace(c)) {
            return false;
        }
    }
    return true;
}

}

QString MeCardFields::Field::value() const
{
    return unescape(raw);
}

bool MeCardFields::Field::isQuoted() const
{
    if (raw.size() < 2 || raw.front() != Quote || raw.back() != Quote) {
        return false;
    }
    // The closing quote must stand on its own, not be the second half of an escape.
    return Scanner(raw).find(Quote, 1) == raw.size() - 1;
}

QString MeCardFields::Field::unquotedValue() const
{
    return isQuoted() ? unescape(QStringView(raw).sliced(1, raw.size() - 2)) : value();
}

QStringList MeCardFields::Field::split(QChar separator) const
{
    QStringList parts;
    const QStringView text(raw);
    Scanner scanner(text);
    qsizetype start = 0;
    while (true) {
        const qsizetype end = scanner.find(separator, start);
        parts.append(unescape(text.sliced(start, end - start)));
        if (end == text.size()) {
            return parts;
        }
        start = end + 1;
    }
}

std::optional<MeCardFields> MeCardFields::parse(QStringView text, QLatin1StringView prefix)
{
    if (text.size() > MaximumLength || !text.startsWith(prefix, Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    const QStringView body = text.sliced(prefix.size());
    Scanner scanner(body);
    MeCardFields result;
    // Where the last field's text ends. Empty and blank segments after it are held back: ";;" and a line break end
    // the fields, unless text without a key of its own follows, as in a message body with ";;" in it; then the field
    // takes everything up to that text, as written.
    qsizetype fieldEnd = 0;
    qsizetype start = 0;
    while (start < body.size()) {
        const qsizetype end = scanner.find(Semicolon, start);
        const QStringView segment = body.sliced(start, end - start);
        qsizetype colon = 0;
        const qsizetype key = keyStart(segment, &colon);
        if (key >= 0) {
            result.fields.append({segment.sliced(key, colon - key).toString().toUpper(), segment.sliced(colon + 1).toString()});
            fieldEnd = end;
        } else if (isBlank(segment)) {
            // Held back.
        } else if (result.fields.isEmpty()) {
            result.fields.append({QString(), segment.toString()});
            fieldEnd = end;
        } else {
            result.fields.last().raw.append(body.sliced(fieldEnd, end - fieldEnd));
            fieldEnd = end;
        }
        start = end + 1;
    }
    return result;
}

QList<MeCardFields::Field> MeCardFields::all(QLatin1StringView key) const
{
    QList<Field> matching;
    for (const Field &field : fields) {
        if (field.key == key) {
            matching.append(field);
        }
    }
    return matching;
}

std::optional<MeCardFields::Field> MeCardFields::first(QLatin1StringView key) const
{
    for (const Field &field : fields) {
        if (field.key == key) {
            return field;
        }
    }
    return std::nullopt;
}

bool MeCardFields::hasConflictingRepeats() const
{
    QHash<QString, QString> seen;
    for (const Field &field : fields) {
        const auto known = seen.constFind(field.key);
        if (known == seen.cend()) {
            seen.insert(field.key, field.raw);
        } else if (*known != field.raw) {
            return true;
        }
    }
    return false;
}

}
