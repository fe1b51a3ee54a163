// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "imageview.h"

#include "imageselector.h"
#include "proportionalimagelabel.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>

#include <KLocalizedString>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QtConcurrentRun>

namespace Brevlinder
{
namespace ImageSource
{

ImageView::ImageView(QWidget *parent)
    : QWidget(parent)
    , m_scrollArea(new QScrollArea)
    , m_imageLabel(new ProportionalImageLabel)
{
    // With ignored size policies and a resizable scroll area widget the label takes exactly the viewport's
    // size, and its margins fit the pixmap into it.
    m_imageLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_imageLabel->setScaledContents(true);

    m_scrollArea->setBackgroundRole(QPalette::Dark);
    m_scrollArea->setAlignment(Qt::AlignCenter);
    m_scrollArea->setWidget(m_imageLabel);
    m_scrollArea->setWidgetResizable(true);

    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(QMargins());
    layout->addWidget(m_scrollArea);
    setLayout(layout);

    connect(&m_shownImageWatcher, &QFutureWatcherBase::finished, this, &ImageView::handleShownImageScaled);
    connect(m_imageLabel, &ProportionalImageLabel::codeClicked, this, &ImageView::codeClicked);
}

void ImageView::setImage(const QImage &image, const QString &imageName)
{
    m_imageSize = image.size();
    m_imageLabel->setOutlines({}, -1);
    // The picture is what a screen reader user asks about: what it is and how large.
    m_imageLabel->setAccessibleName(imageName);
    m_imageLabel->setAccessibleDescription(image.isNull() ? QString() : i18nc("@info the size of the shown image", "%1 × %2 pixels", image.width(), image.height()));
    const QSize screenPixels = largestScreenPixels();
    if (fitsScreen(image, screenPixels)) {
        m_shownImageWatcher.setFuture(QFuture<QImage>());
        m_imageLabel->setPixmap(QPixmap::fromImage(image, Qt::AutoColor), image.size());
        return;
    }
    // Scaling a photo down reads tens of megabytes, too long for the GUI thread: it is done on the thread pool,
    // and the view stays empty until the copy is there.
    m_imageLabel->setPixmap(QPixmap());
    m_shownImageWatcher.setFuture(QtConcurrent::run(&ImageView::shownImage, image, screenPixels));
}

void ImageView::setOutlines(const QList<CodeOutline> &outlines, int currentCode)
{
    m_imageLabel->setOutlines(outlines, currentCode);
}

void ImageView::handleShownImageScaled()
{
    const QFuture<QImage> scaled = m_shownImageWatcher.future();
    if (!scaled.isCanceled() && scaled.resultCount() > 0) {
        m_imageLabel->setPixmap(QPixmap::fromImage(scaled.result(), Qt::AutoColor), m_imageSize);
    }
}

bool ImageView::fitsScreen(const QImage &image, QSize screenPixels)
{
    return screenPixels.isEmpty() || (image.width() <= screenPixels.width() && image.height() <= screenPixels.height());
}

QSize ImageView::largestScreenPixels()
{
    QSize largest;
    const auto screens = QGuiApplication::screens();
    for (const QScreen *screen : screens) {
        largest = largest.expandedTo(screen->size() * screen->devicePixelRatio());
    }
    return largest;
}

QImage ImageView::shownImage(const QImage &image, QSize screenPixels)
{
    if (fitsScreen(image, screenPixels)) {
        return image;
    }
    // No screen shows more pixels than it has: a photo from a phone is shown from a copy that fits the
    // largest screen, which keeps the view's memory small and each repaint after a resize quick.
    const QSize shownSize = image.size().scaled(screenPixels, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    // Averaging every pixel of a photo of a hundred megapixels takes long: where the image is more than twice
    // as large, it is first sampled down to twice the size, then averaged.
    const QSize halfSize = image.size() / 2;
    if (halfSize.width() >= shownSize.width() && halfSize.height() >= shownSize.height()) {
        return image.scaled(shownSize * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
            .scaled(shownSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return image.scaled(shownSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void ImageView::setDropSelector(ImageSelector *imageSelector)
{
    m_dropSelector = imageSelector;
    setAcceptDrops(m_dropSelector != nullptr);
}

void ImageView::dragEnterEvent(QDragEnterEvent *event)
{
    event->setAccepted(m_dropSelector && m_dropSelector->canLoad(event->mimeData()));
}

void ImageView::dragMoveEvent(QDragMoveEvent *event)
{
    event->setAccepted(m_dropSelector && m_dropSelector->canLoad(event->mimeData()));
}

void ImageView::dropEvent(QDropEvent *event)
{
    event->setAccepted(m_dropSelector && m_dropSelector->load(event->mimeData(), ImageSelector::Via::Drop));
}

}
}
