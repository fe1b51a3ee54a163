// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QPoint>
#include <QRect>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

namespace Brevlinder::Test
{

// The middle of the first character of the link to \p href, in viewport coordinates; null if there is none.
inline QPoint anchorPosition(QTextBrowser *browser, const QString &href)
{
    const QTextDocument *document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment textFragment = fragment.fragment();
            if (textFragment.charFormat().anchorHref() == href) {
                QTextCursor cursor(browser->document());
                cursor.setPosition(textFragment.position());
                const QRect before = browser->cursorRect(cursor);
                cursor.setPosition(textFragment.position() + 1);
                const QRect after = browser->cursorRect(cursor);
                return QPoint((before.left() + after.left()) / 2, before.center().y());
            }
        }
    }
    return QPoint();
}

}
