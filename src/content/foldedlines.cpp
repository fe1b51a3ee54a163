// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "foldedlines.h"

namespace Brevlinder::Content::FoldedLines
{

Line lineAt(QStringView text, qsizetype position)
{
    qsizetype end = position;
    while (end < text.size() && text[end] != u'\n' && text[end] != u'\r') {
        ++end;
    }
    qsizetype next = end;
    if (next < text.size() && text[next] == u'\r') {
        ++next;
    }
    if (next < text.size() && text[next] == u'\n') {
        ++next;
    }
    return Line{text.sliced(position, end - position), next};
}

bool isLine(QStringView line, QLatin1StringView wanted)
{
    return line.trimmed().compare(wanted, Qt::CaseInsensitive) == 0;
}

QString Property::parameter(QLatin1StringView name) const
{
    for (const QString &parameter : parameters) {
        if (parameter.size() > name.size() && parameter[name.size()] == u'=' && parameter.startsWith(name, Qt::CaseInsensitive)) {
            QString value = parameter.sliced(name.size() + 1);
            if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')) {
                value = value.sliced(1, value.size() - 2);
            }
            return value;
        }
    }
    return QString();
}

std::optional<Property> firstProperty(QStringView text, QLatin1StringView name)
{
    for (qsizetype position = 0; position < text.size();) {
        const Line line = lineAt(text, position);
        position = line.next;
        const qsizetype colon = line.text.indexOf(u':');
        if (colon < 0 || line.text[0] == u' ' || line.text[0] == u'\t') {
            continue;
        }
        QStringList parts = line.text.first(colon).toString().split(u';');
        QString found = parts.takeFirst();
        // Apple and others put properties into groups: "item1.BDAY".
        found = found.sliced(found.lastIndexOf(u'.') + 1);
        if (found.compare(name, Qt::CaseInsensitive) != 0) {
            continue;
        }
        QString value = line.text.sliced(colon + 1).toString();
        while (position < text.size()) {
            const Line folded = lineAt(text, position);
            if (folded.text.isEmpty() || (folded.text[0] != u' ' && folded.text[0] != u'\t')) {
                break;
            }
            value += folded.text.sliced(1);
            position = folded.next;
        }
        return Property{parts, value};
    }
    return std::nullopt;
}

}
