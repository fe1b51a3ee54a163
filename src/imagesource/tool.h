// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "abstractsourcetool.h"

#include <QFuture>

#include <memory>

class KJob;
class QImage;

namespace Brevlinder
{

class ScanResult;

namespace ImageSource
{

class ImageSelector;
class Widget;

/**
 * The program's source of images: loads an image from a URL (or takes one handed over), shows it, has it
 * scanned on the thread pool and reports the outcome in its widget's message line and through scanFinished.
 */
class Tool : public AbstractSourceTool
{
    Q_OBJECT

public:
    Tool();
    ~Tool() override;

    void load(const QUrl &url) override;
    QWidget *widget() override;
    void switchToPickView() override;
    bool isInPickView() const override;

    /// Shows \p image at once and starts decoding it; the outcome follows when the scan has finished.
    void scanImage(const QImage &image);
    /// Shows \p message as an error in the message line, for failures outside loads and scans.
    void showErrorMessage(const QString &message);
    /// Whether an image or one URL dropped on the image view is taken as on the pick view; off at first.
    void setDropOnImageViewEnabled(bool enabled);

private:
    ImageSelector *imageSelector();
    void handleLoadResult(KJob *job);
    void showScannedImage(const QImage &image, const QFuture<ScanResult> &scanning);
    void handleScanFinished(quint64 scan, const ScanResult &scanResult);

    // Declared before the widget, so that the pick view, which points to the selector, goes first.
    std::unique_ptr<ImageSelector> m_imageSelector;
    std::unique_ptr<Widget> m_widget;
    // Counts the scans started; only the latest one may speak for the image on screen.
    quint64 m_latestScan = 0;
};

}
}
