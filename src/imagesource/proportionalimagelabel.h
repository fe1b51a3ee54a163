// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QLabel>

class QMargins;
class QPaintEvent;
class QPixmap;
class QResizeEvent;
class QSize;

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
 */
class ProportionalImageLabel : public QLabel
{
public:
    using QLabel::QLabel;

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

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void updateMargins();

    int m_pixmapWidth = 0;
    int m_pixmapHeight = 0;
    bool m_pixmapHasAlpha = false;
};

}
}
