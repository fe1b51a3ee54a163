// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "uricomponents.h"

namespace Brevlinder::Content::UriComponents
{

namespace
{
int hexValue(QChar c)
{
    if (c >= u'0' && c <= u'9') {
        return c.unicode() - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c.unicode() - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c.unicode() - u'A' + 10;
    }
    return -1;
}
}

bool hasScheme(QStringView text, QStringView scheme)
{
    return text.startsWith(scheme, Qt::CaseInsensitive);
}

QString percentDecoded(QStringView encoded, bool plusIsSpace)
{
    // Escaped bytes are gathered first, since one character's UTF-8 sequence spans several escapes.
    QString decoded;
    decoded.reserve(encoded.size());
    QByteArray pending;
    const auto flush = [&] {
        if (!pending.isEmpty()) {
            decoded += QString::fromUtf8(pending);
            pending.clear();
        }
    };
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const QChar c = encoded[i];
        if (c == u'%' && i + 2 < encoded.size() && hexValue(encoded[i + 1]) >= 0 && hexValue(encoded[i + 2]) >= 0) {
            pending += char(hexValue(encoded[i + 1]) * 16 + hexValue(encoded[i + 2]));
            i += 2;
            continue;
        }
        flush();
        decoded += (plusIsSpace && c == u'+') ? QChar(u' ') : c;
    }
    flush();
    return decoded;
}

QList<std::pair<QString, QString>> queryItems(QStringView query, bool plusIsSpace)
{
    QList<std::pair<QString, QString>> items;
    for (const QStringView item : query.tokenize(u'&')) {
        if (item.isEmpty()) {
            continue;
        }
        const qsizetype equals = item.indexOf(u'=');
        const QStringView name = equals < 0 ? item : item.left(equals);
        const QStringView value = equals < 0 ? QStringView() : item.mid(equals + 1);
        items.append({percentDecoded(name, plusIsSpace).toLower(), percentDecoded(value, plusIsSpace)});
    }
    return items;
}

}
