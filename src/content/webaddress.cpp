// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "webaddress.h"

#include "uricomponents.h"

namespace Brevlinder::Content
{

namespace
{

bool hasWhiteSpace(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.isSpace() || c.category() == QChar::Other_Control;
    });
}

}

std::optional<WebAddress> WebAddress::parse(const QString &text)
{
    const QStringView address = QStringView(text).trimmed();
    if (address.size() > UriComponents::maximumPayloadLength || hasWhiteSpace(address)) {
        return std::nullopt;
    }
    if (!UriComponents::hasScheme(address, u"http://") && !UriComponents::hasScheme(address, u"https://")) {
        return std::nullopt;
    }
    const QUrl url(address.toString(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) {
        return std::nullopt;
    }
    WebAddress webAddress;
    webAddress.url = url;
    webAddress.host = url.host();
    // "https://bank.example@elsewhere.example/" leads to elsewhere.example; the part before the @ only looks like
    // where it goes.
    if (!url.userInfo().isEmpty()) {
        webAddress.warnings.append(ki18n("The address begins with a user name, “%1”; it leads to %2.").subs(url.userInfo()).subs(webAddress.host));
    }
    return webAddress;
}

}
