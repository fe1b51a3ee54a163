// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "imageselectwidget.h"

#include "imageselector.h"

#include <KLocalizedString>

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QShortcut>

namespace Brevlinder
{
namespace ImageSource
{

namespace
{
const QMimeData *clipboardData()
{
    return QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
}
}

ImageSelectWidget::ImageSelectWidget(ImageSelector *imageSelector, QWidget *parent)
    : QWidget(parent)
    , m_imageSelector(imageSelector)
{
    m_ui.setupUi(this);
    setAcceptDrops(true);
    updatePasteFromClipboardButton();

    connect(m_ui.openFileButton, &QAbstractButton::clicked, this, &ImageSelectWidget::openFile);
    connect(m_ui.pasteFromClipboardButton, &QAbstractButton::clicked, this, &ImageSelectWidget::pasteFromClipboard);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &ImageSelectWidget::updatePasteFromClipboardButton);

    // The paste key works wherever the focus is in the window while the pick view is shown.
    auto *pasteShortcut = new QShortcut(QKeySequence::Paste, this, nullptr, nullptr, Qt::WindowShortcut);
    connect(pasteShortcut, &QShortcut::activated, this, &ImageSelectWidget::pasteFromClipboardIfPossible);
}

void ImageSelectWidget::dragEnterEvent(QDragEnterEvent *event)
{
    event->setAccepted(m_imageSelector->canLoad(event->mimeData()));
}

void ImageSelectWidget::dragMoveEvent(QDragMoveEvent *event)
{
    event->setAccepted(m_imageSelector->canLoad(event->mimeData()));
}

void ImageSelectWidget::dragLeaveEvent(QDragLeaveEvent *event)
{
    event->setAccepted(true);
}

void ImageSelectWidget::dropEvent(QDropEvent *event)
{
    event->setAccepted(m_imageSelector->load(event->mimeData()));
}

void ImageSelectWidget::updatePasteFromClipboardButton()
{
    const bool canPaste = m_imageSelector->canLoad(clipboardData());
    m_ui.pasteFromClipboardButton->setEnabled(canPaste);
    m_ui.pasteFromClipboardButton->setToolTip(canPaste ? QString() : ki18nc("@info:tooltip", "No suitable data on the clipboard.").toString());
}

void ImageSelectWidget::openFile()
{
    m_imageSelector->selectFile();
}

void ImageSelectWidget::pasteFromClipboard()
{
    m_imageSelector->load(clipboardData());
}

void ImageSelectWidget::pasteFromClipboardIfPossible()
{
    // The key does what the button does, and nothing while the button cannot be pressed.
    if (m_ui.pasteFromClipboardButton->isEnabled()) {
        pasteFromClipboard();
    }
}

}
}
