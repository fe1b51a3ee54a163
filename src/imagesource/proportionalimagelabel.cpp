// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "proportionalimagelabel.h"

#include <QBrush>
#include <QColor>
#include <QCursor>
#include <QLineF>
#include <QMargins>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPen>
#include <QPixmap>
#include <QPolygonF>
#include <QResizeEvent>
#include <QSize>
#include <QTransform>

#include <algorithm>
#include <utility>

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

// An outline narrower than this, in logical pixels, is widened to it, so that a code drawn small, or reported as
// a line, still shows and takes a click.
constexpr qreal minimumOutlineBreadth = 10;
// How far, in logical pixels, an outline's corners lie outside the code's.
constexpr qreal outlineClearance = 4;

}

ProportionalImageLabel::ProportionalImageLabel(QWidget *parent)
    : QLabel(parent)
{
    // For the pointing hand over a code that can be clicked.
    setMouseTracking(true);
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
    if (!showsOutlines()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The current code last, so that nothing covers it.
    for (const CodeOutline &outline : std::as_const(m_outlines)) {
        if (outline.code != m_currentCode) {
            paintOutline(painter, outline, false);
        }
    }
    for (const CodeOutline &outline : std::as_const(m_outlines)) {
        if (outline.code == m_currentCode) {
            paintOutline(painter, outline, true);
        }
    }
}

void ProportionalImageLabel::setOutlines(const QList<CodeOutline> &outlines, int currentCode)
{
    m_outlines = outlines;
    m_currentCode = currentCode;
    m_pressedCode = -1;
    update();
    // The pointer may now rest on a code that became current, or on one that became clickable.
    updateCursor(mapFromGlobal(QCursor::pos()));
}

QTransform ProportionalImageLabel::imageToLabel() const
{
    // The pixmap fills the contents rectangle; the image it was made from may be larger, with the same proportions.
    const QRect contents = contentsRect();
    QTransform transform;
    transform.translate(contents.x(), contents.y());
    transform.scale(qreal(contents.width()) / m_pixmapWidth, qreal(contents.height()) / m_pixmapHeight);
    // A corner names a pixel: the outline runs through the pixel's middle, at every scale.
    transform.translate(0.5, 0.5);
    return transform;
}

QPointF ProportionalImageLabel::labelPoint(QPointF imagePoint) const
{
    return imageToLabel().map(imagePoint);
}

bool ProportionalImageLabel::showsOutlines() const
{
    return !m_outlines.isEmpty() && m_pixmapWidth > 0 && m_pixmapHeight > 0 && !pixmap().isNull();
}

QPainterPath ProportionalImageLabel::outlineShape(const CodeOutline &outline) const
{
    QPolygonF corners = imageToLabel().map(QPolygonF(outline.corners));
    QPainterPath shape;
    if (corners.isEmpty()) {
        return shape;
    }
    if (corners.size() > 2) {
        // A little outside the code, so that the line does not cover its outer modules.
        QPointF centre;
        for (const QPointF corner : std::as_const(corners)) {
            centre += corner;
        }
        centre /= corners.size();
        for (QPointF &corner : corners) {
            const QLineF outwards(centre, corner);
            if (outwards.length() > 0) {
                corner += (outwards.unitVector().p2() - centre) * outlineClearance;
            }
        }
    }
    shape.addPolygon(corners);
    shape.closeSubpath();

    // The breadth across the longest side: the area over that side's length.
    qreal doubleArea = 0;
    qreal longestSide = 0;
    for (qsizetype i = 0; i < corners.size(); ++i) {
        const QPointF from = corners.at(i);
        const QPointF to = corners.at((i + 1) % corners.size());
        doubleArea += from.x() * to.y() - to.x() * from.y();
        longestSide = std::max(longestSide, QLineF(from, to).length());
    }
    if (longestSide < 1) {
        QPainterPath dot;
        dot.addEllipse(shape.boundingRect().center(), minimumOutlineBreadth / 2, minimumOutlineBreadth / 2);
        return dot;
    }
    if (qAbs(doubleArea) / 2 / longestSide >= minimumOutlineBreadth) {
        return shape;
    }
    // A line, or a code too small at this scale: a band around it with rounded ends.
    QPainterPathStroker stroker;
    stroker.setWidth(minimumOutlineBreadth);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(shape).united(shape);
}

void ProportionalImageLabel::paintOutline(QPainter &painter, const CodeOutline &outline, bool current) const
{
    const QPainterPath shape = outlineShape(outline);
    const QColor highlight = palette().color(QPalette::Highlight);
    // A dark halo under a bright line: the outline shows on light and dark images alike.
    if (current) {
        QColor fill = highlight;
        fill.setAlpha(60);
        painter.fillPath(shape, fill);
    }
    painter.strokePath(shape, QPen(QColor(0, 0, 0, current ? 170 : 150), current ? 6.5 : 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.strokePath(shape, QPen(current ? highlight : QColor(Qt::white), current ? 3.5 : 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

int ProportionalImageLabel::codeAt(QPointF position) const
{
    if (!showsOutlines()) {
        return -1;
    }
    bool inCurrent = false;
    for (const CodeOutline &outline : m_outlines) {
        if (outlineShape(outline).contains(position)) {
            if (outline.code != m_currentCode) {
                return outline.code;
            }
            inCurrent = true;
        }
    }
    return inCurrent ? m_currentCode : -1;
}

void ProportionalImageLabel::updateCursor(QPointF position)
{
    const int code = codeAt(position);
    if (code >= 0 && code != m_currentCode) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
}

void ProportionalImageLabel::mouseMoveEvent(QMouseEvent *event)
{
    updateCursor(event->position());
    QLabel::mouseMoveEvent(event);
}

void ProportionalImageLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const int code = codeAt(event->position());
        if (code >= 0 && code != m_currentCode) {
            m_pressedCode = code;
            event->accept();
            return;
        }
    }
    QLabel::mousePressEvent(event);
}

void ProportionalImageLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_pressedCode >= 0) {
        const int pressed = std::exchange(m_pressedCode, -1);
        event->accept();
        if (codeAt(event->position()) == pressed) {
            Q_EMIT codeClicked(pressed);
        }
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void ProportionalImageLabel::updateMargins()
{
    // Setting the margins that are already set does nothing, so the resize event that a real change sends
    // to this label ends here without another change.
    setContentsMargins(marginsFor(size(), QSize(m_pixmapWidth, m_pixmapHeight), contentsMargins()));
}

}
}
