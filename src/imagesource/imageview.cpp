// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "imageview.h"

#include "imageselector.h"
#include "proportionalimagelabel.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>

#include <QImage>
#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>

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
}

void ImageView::setImage(const QImage &image)
{
    m_imageLabel->setPixmap(QPixmap::fromImage(image, Qt::AutoColor));
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
    event->setAccepted(m_dropSelector && m_dropSelector->load(event->mimeData()));
}

}
}
