// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <KLocalizedString>

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace Brevlinder::Content
{

/**
 * A web address (http or https) that is the whole of a code's text, with the host it leads to.
 */
struct WebAddress {
    QUrl url;
    /// Where the address leads, the part a user should check before opening it.
    QString host;
    /// What the user should know before opening it: a user name before the host that looks like a host itself.
    QList<KLocalizedString> warnings;

    /// The address that @p text is, or nullopt if it is not exactly one web address.
    static std::optional<WebAddress> parse(const QString &text);
};

}
