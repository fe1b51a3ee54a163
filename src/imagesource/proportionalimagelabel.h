// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "codeoutline.h"

#include <QLabel>

class QMargins;
class QMouseEvent;
class QPainterPath;
class QPaintEvent;
class QPainter;
class QPixmap;
class QResizeEvent;
class QSize;
class QTransform;

namespace Brevlinder
{
namespace ImageSource
{

/**
 * A label that draws its pixmap scaled to fit and keeps the pixmap's aspect ratio.
 *
 * The label is meant to show its pixmap with scaled contents; whenever its size or its pixmap changes it sets
 * its own contents margins so that the contents rectangle has the pixmap's proportions and sits centred.
 * A pixmap with transparency is drawn over a light checkerboard: a dark code on a transparent background stays
 * visible whatever the colours around the label.
 *
 * Over the pixmap it outlines codes, given in the pixels of the image the pixmap shows, and reports a click on
 * any of them but the current one.
 */
class ProportionalImageLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ProportionalImageLabel(QWidget *parent = nullptr);

    /**
     * Records the size of \p pixmap and fits the margins to it before showing it. Hides QLabel::setPixmap.
     * A pixmap scaled down from a larger image keeps that image's exact proportions when \p imageSize gives
     * its size.
     */
    void setPixmap(const QPixmap &pixmap, QSize imageSize = QSize());

    /**
     * The contents margins that give a label of \p labelSize a contents rectangle with the proportions of
     * \p pixmapSize, centred. Only one pair of opposite margins is non-zero, both of equal size; an odd
     * left-over pixel goes to the contents. When either size is empty there is nothing to fit, and
     * \p currentMargins is returned unchanged.
     */
    static QMargins marginsFor(QSize labelSize, QSize pixmapSize, const QMargins &currentMargins);

    /// Outlines \p outlines over the pixmap, \p currentCode emphasised, replacing the outlines before.
    void setOutlines(const QList<CodeOutline> &outlines, int currentCode);
    /// Where the image's pixel \p imagePoint is drawn, the centre of the pixel; meaningful while a pixmap is shown.
    QPointF labelPoint(QPointF imagePoint) const;

Q_SIGNALS:
    /// A left click went to the outline of \p code, which is not the current one.
    void codeClicked(int code);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void updateMargins();
    void updateCursor(QPointF position);
    QTransform imageToLabel() const;
    QPainterPath outlineShape(const CodeOutline &outline) const;
    void paintOutline(QPainter &painter, const CodeOutline &outline, bool current) const;
    /// The code whose outline takes a click at \p position: another code before the current one, as the current
    /// one may surround it; -1 for none.
    int codeAt(QPointF position) const;
    bool showsOutlines() const;

    int m_pixmapWidth = 0;
    int m_pixmapHeight = 0;
    bool m_pixmapHasAlpha = false;
    QList<CodeOutline> m_outlines;
    int m_currentCode = -1;
    // The code under the left button's press; a click is a press and release on the same code.
    int m_pressedCode = -1;
};

}
}
