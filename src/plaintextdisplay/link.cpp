// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "link.h"

namespace Brevlinder
{
namespace PlainTextDisplay
{

namespace
{
// How many characters of a path or query a menu entry shows.
constexpr qsizetype shownRestLength = 40;
}

Link::Link(const QString &target, const QString &text)
    : m_target(target)
    , m_text(text)
    , m_url(target)
{
}

QUrl Link::url() const
{
    return m_url;
}

QString Link::text() const
{
    return m_text;
}

Link::Kind Link::kind() const
{
    if (!m_url.isValid()) {
        return Kind::CopyOnly;
    }
    const QString scheme = m_url.scheme();
    if ((scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !m_url.host().isEmpty() && textShowsTarget(QString(), QString())) {
        return Kind::WebPage;
    }
    if (scheme == QLatin1String("mailto") && !m_url.path().isEmpty() && textShowsTarget(QStringLiteral("mailto:"), QString())) {
        return Kind::EMail;
    }
    // Phone numbers are shown as written, with the separators the converter drops from the link.
    if (scheme == QLatin1String("tel") && !m_url.path().isEmpty() && textShowsTarget(QStringLiteral("tel:"), QStringLiteral(" ()-/"))) {
        return Kind::Call;
    }
    return Kind::CopyOnly;
}

QString Link::address() const
{
    return m_url.isValid() ? m_url.toString(QUrl::FullyEncoded) : m_target;
}

QString Link::shortAddress() const
{
    const Kind linkKind = kind();
    QUrl::FormattingOptions options(QUrl::FullyEncoded);
    if (linkKind == Kind::EMail || linkKind == Kind::Call) {
        options |= QUrl::RemoveScheme;
    }
    const QString full = m_url.isValid() ? m_url.toString(options) : m_target;
    if (linkKind == Kind::CopyOnly) {
        return full;
    }
    // What says where the link leads: a web page's host, an e-mail address or a phone number.
    options |= QUrl::RemoveQuery | QUrl::RemoveFragment;
    if (linkKind == Kind::WebPage) {
        options |= QUrl::RemovePath;
    }
    const QString destination = m_url.toString(options);
    if (!full.startsWith(destination) || full.size() - destination.size() <= shownRestLength) {
        return full;
    }
    return full.left(destination.size() + shownRestLength - 1) + QChar(0x2026);
}

// Whether the link's text is its target, or the target without \p prefix and with \p separators dropped, as
// the converter makes links of bare e-mail addresses and phone numbers. A text that shows anything else, such
// as "www.example.org" for "http://www.example.org", does not show the exact target.
bool Link::textShowsTarget(const QString &prefix, const QString &separators) const
{
    if (m_text == m_target) {
        return true;
    }
    QString compact = m_text;
    compact.removeIf([&separators](QChar character) {
        return separators.contains(character);
    });
    return !prefix.isEmpty() && prefix + compact == m_target;
}

}
}
