// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "proportionalimagelabel.h"

#include <QBrush>
#include <QColor>
#include <QMargins>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QSize>

namespace Brevlinder
{
namespace ImageSource
{

namespace
{

// Two light greys, as image editors show transparency: light enough for dark codes, and told apart from a
// white background.
QBrush checkerboard()
{
    constexpr int square = 8;
    QPixmap tile(2 * square, 2 * square);
    tile.fill(QColor(0xff, 0xff, 0xff));
    QPainter painter(&tile);
    const QColor grey(0xd8, 0xd8, 0xd8);
    painter.fillRect(square, 0, square, square, grey);
    painter.fillRect(0, square, square, square, grey);
    return QBrush(tile);
}

}

void ProportionalImageLabel::setPixmap(const QPixmap &pixmap, QSize imageSize)
{
    const QSize proportions = pixmap.isNull() || !imageSize.isValid() ? pixmap.size() : imageSize;
    m_pixmapWidth = proportions.width();
    m_pixmapHeight = proportions.height();
    m_pixmapHasAlpha = pixmap.hasAlphaChannel();
    // Margins first, so the pixmap is never drawn into the contents rectangle of the previous one.
    updateMargins();
    QLabel::setPixmap(pixmap);
}

QMargins ProportionalImageLabel::marginsFor(QSize labelSize, QSize pixmapSize, const QMargins &currentMargins)
{
    if (pixmapSize.width() <= 0 || pixmapSize.height() <= 0) {
        return currentMargins;
    }
    if (labelSize.width() <= 0 || labelSize.height() <= 0) {
        return currentMargins;
    }

    // Two ints multiplied need up to 62 bits: in 32 bits a huge pixmap against a big label would wrap around.
    const qint64 w = labelSize.width();
    const qint64 h = labelSize.height();
    const qint64 pw = pixmapSize.width();
    const qint64 ph = pixmapSize.height();

    if (w * ph > h * pw) {
        // Wider than the pixmap: full height, strips left and right. The scaled width is below w.
        const qint64 scaledWidth = (h * pw) / ph;
        const int margin = static_cast<int>((w - scaledWidth) / 2);
        return QMargins(margin, 0, margin, 0);
    }
    // Taller than the pixmap, or its exact proportions: full width, strips above and below. The scaled height
    // is at most h.
    const qint64 scaledHeight = (w * ph) / pw;
    const int margin = static_cast<int>((h - scaledHeight) / 2);
    return QMargins(0, margin, 0, margin);
}

void ProportionalImageLabel::resizeEvent(QResizeEvent *event)
{
    updateMargins();
    QLabel::resizeEvent(event);
}

void ProportionalImageLabel::paintEvent(QPaintEvent *event)
{
    if (m_pixmapHasAlpha) {
        QPainter painter(this);
        painter.fillRect(contentsRect(), checkerboard());
    }
    QLabel::paintEvent(event);
}

void ProportionalImageLabel::updateMargins()
{
    // Setting the margins that are already set does nothing, so the resize event that a real change sends
    // to this label ends here without another change.
    setContentsMargins(marginsFor(size(), QSize(m_pixmapWidth, m_pixmapHeight), contentsMargins()));
}

}
}
