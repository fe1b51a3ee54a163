// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QString>
#include <QUrl>

namespace Brevlinder
{
namespace PlainTextDisplay
{

/**
 * A link in the decoded text: where it leads and the text that shows it.
 *
 * A code can carry any address, so a link is only ever opened when it leads to a web page, an e-mail or a call
 * and its text shows where it leads; every other link can only be copied.
 */
class Link
{
public:
    /// What opening the link does.
    enum class Kind {
        WebPage, ///< http and https, in the default web browser
        EMail, ///< mailto, in the default e-mail program
        Call, ///< tel, in the default phone program
        CopyOnly, ///< anything else: never opened
    };

    /// A link to \p target, shown as \p text.
    Link(const QString &target, const QString &text);

    QUrl url() const;
    QString text() const;
    Kind kind() const;

    /// The target as it is opened and copied, fully encoded, so that look-alike letters and hidden characters
    /// in it show as what they are.
    QString address() const;

    /// The address for a menu entry that names it: without the scheme for an e-mail or a call, and with a long
    /// path or query cut short, but never the part that says where the link leads.
    QString shortAddress() const;

private:
    bool textShowsTarget(const QString &prefix, const QString &separators) const;

    QString m_target;
    QString m_text;
    QUrl m_url;
};

}
}
