// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "tool.h"

#include "imageselector.h"
#include "loadimagejob.h"
#include "readimagefilerunner.h"
#include "scanimagerunner.h"
#include "scanresult.h"
#include "widget.h"

#include <KLocalizedString>

#include <QFutureWatcher>
#include <QThreadPool>

namespace Brevlinder::ImageSource
{

Tool::Tool()
    : AbstractSourceTool(nullptr)
    , m_widget(std::make_unique<Widget>())
{
    connect(m_widget.get(), &Widget::isInPickViewChanged, this, &AbstractSourceTool::isInPickViewChanged);
    // Big photos come from the clipboard and drops as well as from files.
    allowDecodableImages();
}

Tool::~Tool() = default;

void Tool::load(const QUrl &url)
{
    if (url.isEmpty()) {
        switchToPickView();
        return;
    }
    // Nothing in the widget takes input until the load has ended, so no second load can start meanwhile.
    m_widget->setEnabled(false);
    // The program may have started reading its start image while it built the window.
    LoadImageJob *earlyJob = LoadImageJob::takeEarlyJob(url);
    auto *job = earlyJob ? earlyJob : new LoadImageJob(url);
    connect(job, &KJob::result, this, &Tool::handleLoadResult);
    // A slow load says what it is loading; its result replaces that message.
    connect(job, &KJob::infoMessage, this, [this](KJob *, const QString &message) {
        m_widget->showInformationMessage(message);
    });
    if (!earlyJob) {
        job->start();
    }
}

QWidget *Tool::widget()
{
    return m_widget.get();
}

void Tool::switchToPickView()
{
    // Creates the pick view on the first call; later calls make the same pick view current again.
    m_widget->showImageSelectWidget(imageSelector());
}

bool Tool::isInPickView() const
{
    return m_widget->isInPickView();
}

void Tool::scanImage(const QImage &image)
{
    m_widget->setImage(image);

    auto *runner = new ScanImageRunner(image);
    qRegisterMetaType<ScanResult>();
    // Scans are not cancelled: a scan overtaken by a newer image still finishes, and its result is dropped.
    connect(runner, &ScanImageRunner::scanFinished, this, [this, scan = ++m_latestScan](const ScanResult &scanResult) {
        handleScanFinished(scan, scanResult);
    });
    QThreadPool::globalInstance()->start(runner);
}

void Tool::showScannedImage(const QImage &image, const QFuture<ScanResult> &scanning)
{
    m_widget->setImage(image);

    // The same as scanImage, but the scan is already running or done.
    auto *watcher = new QFutureWatcher<ScanResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, scan = ++m_latestScan] {
        watcher->deleteLater();
        const QFuture<ScanResult> future = watcher->future();
        handleScanFinished(scan, future.resultCount() > 0 ? future.result() : ScanResult());
    });
    watcher->setFuture(scanning);
}

void Tool::showErrorMessage(const QString &message)
{
    m_widget->showErrorMessage(message);
}

void Tool::setDropOnImageViewEnabled(bool enabled)
{
    m_widget->setImageViewDropSelector(enabled ? imageSelector() : nullptr);
}

ImageSelector *Tool::imageSelector()
{
    if (!m_imageSelector) {
        m_imageSelector = std::make_unique<ImageSelector>(this);
    }
    return m_imageSelector.get();
}

void Tool::handleLoadResult(KJob *job)
{
    m_widget->setEnabled(true);
    if (job->error() != 0) {
        m_widget->showErrorMessage(job->errorString());
        return;
    }
    const auto *loadJob = static_cast<LoadImageJob *>(job);
    const QFuture<ScanResult> earlyScan = loadJob->earlyScan();
    if (earlyScan.isValid()) {
        showScannedImage(loadJob->image(), earlyScan);
        return;
    }
    scanImage(loadJob->image());
}

void Tool::handleScanFinished(quint64 scan, const ScanResult &scanResult)
{
    if (scan != m_latestScan) {
        return;
    }
    if (scanResult.isValid()) {
        m_widget->showSuccessMessage(ki18n("Code in the image successfully scanned.").toString());
    } else {
        m_widget->showErrorMessage(ki18n("Could not scan code in the image.").toString());
    }
    Q_EMIT scanFinished(scanResult);
}

}
