// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "tool.h"

#include "imageselector.h"
#include "loadimagejob.h"
#include "readimagefilerunner.h"
#include "scanimagerunner.h"
#include "widget.h"

#include <KLocalizedString>

#include <QImage>

#include <utility>

namespace Brevlinder::ImageSource
{

Tool::Tool()
    : AbstractSourceTool(nullptr)
{
    connect(&m_scanWatcher, &QFutureWatcherBase::finished, this, &Tool::handleScanFinished);
    // Big photos come from the clipboard and drops as well as from files.
    allowDecodableImages();
}

Tool::~Tool()
{
    stopLoad();
}

void Tool::load(const QUrl &url)
{
    load(url, imageNameFor(url));
}

void Tool::load(const QUrl &url, const QString &imageName)
{
    if (url.isEmpty()) {
        switchToPickView();
        return;
    }
    stopLoad();
    m_loadingImageName = imageName;
    auto *job = new LoadImageJob(url);
    m_loadJob = job;
    connect(job, &KJob::result, this, &Tool::handleLoadResult);
    // A slow load says what it is loading, and offers to stop; its result replaces that message.
    connect(job, &KJob::infoMessage, this, [this](KJob *, const QString &message) {
        sourceWidget()->showLoadingMessage(message);
    });
    scan(job->imageFuture());
    job->start();
    // The views take no input until the load has ended, so that no second load starts meanwhile; the message
    // line stays usable, for its Cancel. At start-up this makes the program's first widgets, while the start
    // image is already being read. A load that failed at once has already enabled them again.
    if (m_loadJob) {
        sourceWidget()->setViewsEnabled(false);
    }
}

QWidget *Tool::widget()
{
    return sourceWidget();
}

Widget *Tool::sourceWidget()
{
    if (!m_widget) {
        m_widget = std::make_unique<Widget>();
        connect(m_widget.get(), &Widget::isInPickViewChanged, this, &AbstractSourceTool::isInPickViewChanged);
        connect(m_widget.get(), &Widget::cancelRequested, this, &Tool::cancelLoad);
    }
    return m_widget.get();
}

void Tool::switchToPickView()
{
    // Creates the pick view on the first call; later calls make the same pick view current again.
    sourceWidget()->showImageSelectWidget(imageSelector());
}

bool Tool::isInPickView() const
{
    return m_widget && m_widget->isInPickView();
}

void Tool::scanImage(const QImage &image, const QString &imageName)
{
    stopLoad();
    showImage(image, imageName);
    scan(QtFuture::makeReadyValueFuture(image));
}

void Tool::showErrorMessage(const QString &message)
{
    sourceWidget()->showErrorMessage(message);
}

void Tool::setDropOnImageViewEnabled(bool enabled)
{
    sourceWidget()->setImageViewDropSelector(enabled ? imageSelector() : nullptr);
}

void Tool::cancelLoad()
{
    if (!m_loadJob) {
        return;
    }
    stopLoad();
    sourceWidget()->restoreMessageBeforeLoading();
}

QString Tool::imageNameFor(const QUrl &url)
{
    if (LoadImageJob::isStandardInput(url)) {
        return i18nc("@title:window the image came on standard input", "Standard Input");
    }
    const QString fileName = url.fileName();
    return fileName.isEmpty() ? url.toDisplayString(QUrl::RemoveUserInfo) : fileName;
}

ImageSelector *Tool::imageSelector()
{
    if (!m_imageSelector) {
        m_imageSelector = std::make_unique<ImageSelector>(this);
    }
    return m_imageSelector.get();
}

void Tool::scan(QFuture<QImage> image)
{
    // The one place where scans start: on the pool, as soon as the image is there.
    m_scanEndedBeforeImageShown = false;
    m_scanWatcher.setFuture(image.then(QtFuture::Launch::Async, [](const QFuture<QImage> &read) {
        return read.resultCount() > 0 ? Brevlinder::scanImage(read.result()) : ScanResult();
    }));
}

void Tool::showImage(const QImage &image, const QString &imageName)
{
    sourceWidget()->setImage(image, imageName);
    Q_EMIT imageNameChanged(imageName);
}

void Tool::stopLoad()
{
    if (m_widget) {
        m_widget->setViewsEnabled(true);
    }
    if (!m_loadJob) {
        return;
    }
    disconnect(m_loadJob, nullptr, this, nullptr);
    m_loadJob->kill();
    m_loadJob = nullptr;
    // Its scan, chained to the image that will not come, is of no interest either.
    dropScan();
}

void Tool::dropScan()
{
    m_scanEndedBeforeImageShown = false;
    m_scanWatcher.setFuture(QFuture<ScanResult>());
}

void Tool::handleLoadResult(KJob *job)
{
    m_loadJob = nullptr;
    sourceWidget()->setViewsEnabled(true);
    if (job->error() != 0) {
        dropScan();
        sourceWidget()->showErrorMessage(job->errorString());
        // Nothing of the image before stays beside the error: no picture, no text, nothing to copy or save.
        sourceWidget()->clearImage();
        Q_EMIT imageNameChanged(QString());
        Q_EMIT scanFinished(ScanResult());
        return;
    }
    // Its scan is already running, or done.
    showImage(static_cast<LoadImageJob *>(job)->image(), m_loadingImageName);
    if (std::exchange(m_scanEndedBeforeImageShown, false)) {
        reportScan();
    }
}

void Tool::handleScanFinished()
{
    // The image comes first, then what its scan found.
    if (m_loadJob) {
        m_scanEndedBeforeImageShown = true;
        return;
    }
    reportScan();
}

void Tool::reportScan()
{
    const QFuture<ScanResult> scanning = m_scanWatcher.future();
    // A load that failed or was stopped, or a scan that a newer image replaced.
    if (scanning.isCanceled() || scanning.resultCount() == 0) {
        return;
    }
    const ScanResult scanResult = scanning.result();
    if (scanResult.isValid()) {
        sourceWidget()->showSuccessMessage(ki18n("Code in the image successfully scanned.").toString());
    } else {
        sourceWidget()->showErrorMessage(ki18n("Could not scan code in the image.").toString());
    }
    Q_EMIT scanFinished(scanResult);
}

}

#include "moc_tool.cpp"
