// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "visibletext.h"

#include <QFontMetrics>
#include <QTextDocument>

namespace Brevlinder::ContentDisplay
{

namespace
{
// How many characters of a target a button shows before it shortens it.
constexpr qsizetype shownTargetLength = 40;

constexpr char16_t controlPicturesStart = 0x2400;
constexpr char16_t deletePicture = 0x2421;
constexpr char16_t newlinePicture = 0x2424;
}

QString VisibleText::of(QStringView value, bool multiLine)
{
    QString shown;
    shown.reserve(value.size());
    for (qsizetype index = 0; index < value.size(); ++index) {
        const char16_t character = value.at(index).unicode();
        const bool lineBreak = character == u'\n' || character == u'\r' || character == QChar::LineSeparator || character == QChar::ParagraphSeparator;
        if (multiLine && lineBreak) {
            // CR LF is one break, as mail and vCard write them.
            if (character == u'\r' && index + 1 < value.size() && value.at(index + 1) == u'\n') {
                ++index;
            }
            shown.append(QLatin1Char('\n'));
        } else if (character < 0x20) {
            shown.append(QChar(char16_t(controlPicturesStart + character)));
        } else if (character == 0x7f) {
            shown.append(QChar(deletePicture));
        } else if (lineBreak) {
            // The Unicode separators break a label's line as a newline would.
            shown.append(QChar(newlinePicture));
        } else {
            shown.append(QChar(character));
        }
    }
    return shown;
}

QString VisibleText::toolTip(const QString &text)
{
    const QString shown = of(text);
    // A tooltip is rich text whenever it looks like it; escaped inside <qt> it shows its characters.
    if (Qt::mightBeRichText(shown)) {
        return QLatin1String("<qt>") + shown.toHtmlEscaped() + QLatin1String("</qt>");
    }
    return shown;
}

QString VisibleText::shortened(const QString &target, const QFontMetrics &metrics)
{
    const QString shown = of(target);
    if (shown.size() <= shownTargetLength) {
        return shown;
    }
    return metrics.elidedText(shown, Qt::ElideMiddle, metrics.averageCharWidth() * int(shownTargetLength));
}

QString VisibleText::withoutMnemonics(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

}
