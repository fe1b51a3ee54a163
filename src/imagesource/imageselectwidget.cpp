// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "imageselectwidget.h"

#include "imageselector.h"
#include "screenscanner.h"

#include <KLocalizedString>

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QIcon>
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

    setUpScanScreenButton();
}

void ImageSelectWidget::setUpScanScreenButton()
{
    m_ui.scanScreenButton->setIcon(QIcon::fromTheme(QStringLiteral("view-barcode-qr"), QIcon::fromTheme(QStringLiteral("camera-photo"))));
    // Ctrl+Shift+S is Save As; R as in "read the screen" is taken by no standard action.
    m_ui.scanScreenButton->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    connect(m_ui.scanScreenButton, &QAbstractButton::clicked, this, &ImageSelectWidget::scanScreen);
    // X11 lets the screen be grabbed whatever the portal says, so only elsewhere is the portal asked, and not
    // waited for: the pick view shows at start-up, which must not hang on the session bus.
    const ScreenScanner::Method withoutPortal = ScreenScanner::methodWithoutPortal();
    updateScanScreenButton(withoutPortal);
    if (withoutPortal == ScreenScanner::Method::Unavailable) {
        ScreenScanner::findMethod(this, [this](ScreenScanner::Method method) {
            updateScanScreenButton(method);
        });
    }
}

void ImageSelectWidget::updateScanScreenButton(ScreenScanner::Method method)
{
    const bool available = method != ScreenScanner::Method::Unavailable;
    m_ui.scanScreenButton->setEnabled(available);
    m_ui.scanScreenButton->setToolTip(
        available
            ? i18nc("@info:tooltip", "Read a code shown anywhere on the screen (%1)", m_ui.scanScreenButton->shortcut().toString(QKeySequence::NativeText))
            : ScreenScanner::unavailableReason());
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
    event->setAccepted(m_imageSelector->load(event->mimeData(), ImageSelector::Via::Drop));
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
    m_imageSelector->load(clipboardData(), ImageSelector::Via::Clipboard);
}

void ImageSelectWidget::scanScreen()
{
    if (m_screenScan) {
        return;
    }
    // The scanner asks the portal again: it may have come or gone since the pick view was made.
    auto *scanner = m_imageSelector->createScreenScanner(window());
    m_screenScan = scanner;
    scanner->start();
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
