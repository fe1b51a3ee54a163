// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "screenscanner.h"
#include "ui_imageselectwidget.h"

#include <QPointer>
#include <QWidget>

namespace Brevlinder
{
namespace ImageSource
{

class ImageSelector;

/**
 * The pick view: a button for the "Open Image" dialog, a button that pastes from the clipboard (usable exactly
 * while the clipboard holds something the selector takes), a button that reads a code shown on the screen, and
 * a drop target. Every decision about the data is the selector's.
 */
class ImageSelectWidget : public QWidget
{
    Q_OBJECT

public:
    ImageSelectWidget(ImageSelector *imageSelector, QWidget *parent);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private Q_SLOTS:
    void updatePasteFromClipboardButton();

private:
    void openFile();
    void pasteFromClipboard();
    void pasteFromClipboardIfPossible();
    void setUpScanScreenButton();
    void updateScanScreenButton(ScreenScanner::Method method);
    void scanScreen();

    Ui::ImageSelectWidget m_ui;
    ImageSelector *const m_imageSelector;
    // The one screen read in progress, if any; a second press waits for it.
    QPointer<QObject> m_screenScan;
};

}
}
