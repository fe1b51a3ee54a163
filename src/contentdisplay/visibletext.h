// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QString>
#include <QStringView>

class QFontMetrics;

namespace Brevlinder::ContentDisplay
{

/**
 * A code's values as they can be shown safely: every character visible, nothing read as markup or as a button's
 * shortcut letter.
 */
struct VisibleText {
    /**
     * @p value with control characters as their Unicode pictures (U+2400…, ␡ for DEL), so that a NUL does not end
     * it and a line break or escape cannot hide what follows. Line breaks stay line breaks in a @p multiLine value.
     */
    static QString of(QStringView value, bool multiLine = false);

    /// @p text as a tooltip that is never taken for rich text, whatever it holds, its control characters visible.
    static QString toolTip(const QString &text);

    /// @p target for a button's text: visible, shortened in the middle beyond about 40 characters.
    static QString shortened(const QString &target, const QFontMetrics &metrics);

    /// @p text with its ampersands doubled, so that a button shows them instead of underlining the next letter.
    static QString withoutMnemonics(QString text);
};

}
