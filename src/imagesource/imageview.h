// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "codeoutline.h"

#include <QFutureWatcher>
#include <QImage>
#include <QWidget>

class QScrollArea;

namespace Brevlinder
{
namespace ImageSource
{

class ImageSelector;
class ProportionalImageLabel;

/**
 * Shows one image scaled to fit the view, up or down, with its aspect ratio kept and centred on a dark
 * background, and the codes found in it outlined; a click on a code's outline asks for that code.
 */
class ImageView : public QWidget
{
    Q_OBJECT

public:
    explicit ImageView(QWidget *parent = nullptr);

    /// Shows \p image, named \p imageName for screen readers; a null image empties the view. One larger than the
    /// largest screen is shown from a copy scaled down to fit it, which is made on the thread pool and shown when
    /// it is there.
    void setImage(const QImage &image, const QString &imageName = QString());
    /// Outlines the codes in the image, \p currentCode emphasised; the corners are in the pixels of the image given
    /// to setImage, which drops the outlines.
    void setOutlines(const QList<CodeOutline> &outlines, int currentCode);

    /// The image that the view shows for \p image on screens of at most \p screenPixels device pixels.
    static QImage shownImage(const QImage &image, QSize screenPixels);
    /// Takes drops of an image or one URL through \p imageSelector; null (the default) refuses every drop.
    void setDropSelector(ImageSelector *imageSelector);

Q_SIGNALS:
    /// A left click went to the outline of \p code, another code than the current one.
    void codeClicked(int code);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    static QSize largestScreenPixels();
    static bool fitsScreen(const QImage &image, QSize screenPixels);
    void handleShownImageScaled();

    QScrollArea *m_scrollArea;
    ProportionalImageLabel *m_imageLabel;
    ImageSelector *m_dropSelector = nullptr;
    // Watches the copy of the latest image only: a newer image takes the watcher over.
    QFutureWatcher<QImage> m_shownImageWatcher;
    QSize m_imageSize;
};

}
}
