// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "loadimagejob.h"

#include "imagereadresult.h"
#include "readimagefilerunner.h"
#include "scanimagerunner.h"

#include <KIO/FileCopyJob>
#include <KLocalizedString>

#include <QNetworkAccessManager>
#include <QPointer>
#include <QPromise>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTemporaryFile>
#include <QThreadPool>

using namespace std::chrono_literals;

namespace Brevlinder::ImageSource
{

namespace
{
const QLatin1String stdinScheme("stdin");

// A load that takes longer than this says what it is loading; quicker ones pass without a flicker.
constexpr auto loadingMessageDelay = 400ms;
constexpr auto defaultNoDataTimeout = 30s;

// The job started early for the start URL, until its user takes it over. GUI thread only.
QPointer<LoadImageJob> earlyJob;
}

LoadImageJob::LoadImageJob(const QUrl &url)
    : m_url(url)
{
    allowDecodableImages();
    m_loadingTimer.setSingleShot(true);
    m_loadingTimer.setInterval(loadingMessageDelay);
    connect(&m_loadingTimer, &QTimer::timeout, this, &LoadImageJob::showLoading);
    m_noDataTimer.setSingleShot(true);
    m_noDataTimer.setInterval(noDataTimeout());
    connect(&m_noDataTimer, &QTimer::timeout, this, &LoadImageJob::handleNoDataTimeout);
}

LoadImageJob::~LoadImageJob()
{
    stopCopying();
}

std::chrono::milliseconds LoadImageJob::noDataTimeout()
{
    // Read once: tests shorten the wait, the program keeps it for the whole run.
    static const std::chrono::milliseconds timeout = [] {
        bool ok = false;
        const int milliseconds = qEnvironmentVariableIntValue("BREVLINDER_LOAD_TIMEOUT_MS", &ok);
        return ok && milliseconds > 0 ? std::chrono::milliseconds(milliseconds) : std::chrono::milliseconds(defaultNoDataTimeout);
    }();
    return timeout;
}

void LoadImageJob::startEarly(const QUrl &url)
{
    // Reads of local files and standard input report only through the event loop, so the job cannot end
    // before its user connects to it; a download may, and is not worth starting ahead anyway.
    auto *job = new LoadImageJob(url);
    if (!job->isStdin() && !url.isLocalFile()) {
        delete job;
        return;
    }
    earlyJob = job;
    job->m_scanAhead = true;
    job->start();
}

LoadImageJob *LoadImageJob::takeEarlyJob(const QUrl &url)
{
    if (!earlyJob || earlyJob->m_url != url) {
        return nullptr;
    }
    LoadImageJob *job = earlyJob;
    earlyJob = nullptr;
    return job;
}

void LoadImageJob::start()
{
    m_loadingTimer.start();
    if (isStdin()) {
        readImageFile(QString());
    } else if (m_url.isLocalFile()) {
        readImageFile(m_url.toLocalFile());
    } else {
        copyToTemporaryFile();
    }
}

QImage LoadImageJob::image() const
{
    return m_image;
}

bool LoadImageJob::isStdin() const
{
    return m_url.scheme() == stdinScheme;
}

void LoadImageJob::copyToTemporaryFile()
{
    m_tempFile = std::make_unique<QTemporaryFile>();
    if (!m_tempFile->open()) {
        finish(KJob::UserDefinedError, m_tempFile->errorString());
        return;
    }
    // The temporary file already exists, hence Overwrite; it stays open while KIO writes to it by name.
    auto *copyJob = KIO::file_copy(m_url, QUrl::fromLocalFile(m_tempFile->fileName()), -1, KIO::Overwrite);
    m_copyJob = copyJob;
    connect(copyJob, &KJob::finished, this, &LoadImageJob::handleFileCopyFinished);
    connect(copyJob, &KIO::FileCopyJob::mimeTypeFound, this, &LoadImageJob::handleMimeTypeFound);
    // Every piece of data that arrives gives the server another full period.
    connect(copyJob, &KJob::processedAmountChanged, &m_noDataTimer, qOverload<>(&QTimer::start));
    m_noDataTimer.start();
    copyJob->start();
}

QFuture<ScanResult> LoadImageJob::earlyScan() const
{
    return m_earlyScan;
}

void LoadImageJob::readImageFile(const QString &fileName)
{
    auto *reader = new ReadImageFileRunner(fileName, m_mimeType);
    qRegisterMetaType<ImageReadResult>();
    connect(reader, &ReadImageFileRunner::readFinished, this, &LoadImageJob::handleReadFinished);
    if (m_scanAhead) {
        scanOnReaderThread(reader);
    }
    QThreadPool::globalInstance()->start(reader, 0);
}

void LoadImageJob::scanOnReaderThread(ReadImageFileRunner *reader)
{
    // The start image is scanned right after it was read, on the same pool thread, while the GUI thread is
    // still building the window or showing the image. The result waits in the future until the source tool
    // asks for it; the image and the messages come in the same order as for any scan.
    auto promise = std::make_shared<QPromise<ScanResult>>();
    m_earlyScan = promise->future();
    promise->start();
    connect(
        reader,
        &ReadImageFileRunner::readFinished,
        reader,
        [promise](const ImageReadResult &imageReadResult) {
            if (imageReadResult.isValid()) {
                ScanImageRunner runner(imageReadResult.image());
                connect(
                    &runner,
                    &ScanImageRunner::scanFinished,
                    &runner,
                    [&promise](const ScanResult &scanResult) {
                        promise->addResult(scanResult);
                    },
                    Qt::DirectConnection);
                runner.run();
            }
            promise->finish();
        },
        Qt::DirectConnection);
}

void LoadImageJob::handleMimeTypeFound(KIO::Job *job, const QString &mimeType)
{
    Q_UNUSED(job)
    m_mimeType = mimeType;
    m_noDataTimer.start();
}

void LoadImageJob::handleFileCopyFinished(KJob *job)
{
    m_copyJob = nullptr;
    m_noDataTimer.stop();
    if (job->error()) {
        // KIO's own code passes through; its text says what went wrong with the transfer.
        finish(job->error(), loadErrorText(job->errorString()));
        return;
    }
    if (nothingArrived()) {
        askWhyNothingArrived();
        return;
    }
    readImageFile(m_tempFile->fileName());
}

bool LoadImageJob::nothingArrived() const
{
    // Any answer of a web server comes with a MIME type, even an empty one.
    const bool web = m_url.scheme() == QLatin1String("http") || m_url.scheme() == QLatin1String("https");
    return web && m_mimeType.isEmpty() && m_tempFile->size() == 0;
}

void LoadImageJob::askWhyNothingArrived()
{
    // KIO's web worker reports a connection that failed before any answer (refused, host unknown) as an empty
    // download without error. Asking the server once more, directly, brings the reason to light. The user
    // name and password stay out of it, and out of any message about it.
    auto *network = new QNetworkAccessManager(this);
    QNetworkRequest request(m_url.adjusted(QUrl::RemoveUserInfo));
    request.setTransferTimeout(noDataTimeout());
    QNetworkReply *reply = network->head(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        handleWhyNothingArrived(reply);
    });
}

void LoadImageJob::handleWhyNothingArrived(QNetworkReply *reply)
{
    reply->deleteLater();
    QString reason;
    if (reply->error() == QNetworkReply::OperationCanceledError) {
        reason = noDataText();
    } else if (reply->error() != QNetworkReply::NoError) {
        reason = reply->errorString();
    } else {
        reason = ki18n("The server sent no data.").toString();
    }
    finish(KJob::UserDefinedError, loadErrorText(reason));
}

void LoadImageJob::handleNoDataTimeout()
{
    stopCopying();
    finish(KJob::UserDefinedError, loadErrorText(noDataText()));
}

QString LoadImageJob::noDataText()
{
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(noDataTimeout()).count();
    return ki18np("No data arrived for %1 second.", "No data arrived for %1 seconds.").subs(seconds).toString();
}

void LoadImageJob::handleReadFinished(const ImageReadResult &imageReadResult)
{
    if (!imageReadResult.isValid()) {
        finish(KJob::UserDefinedError, loadErrorText(imageReadResult.errorString()));
        return;
    }
    m_image = imageReadResult.image();
    finish();
}

void LoadImageJob::showLoading()
{
    const QString message = isStdin() ? ki18n("Loading image from stdin…").toString()
                                      : ki18n("Loading image from %1…").subs(m_url.toDisplayString()).toString();
    Q_EMIT infoMessage(this, message);
}

void LoadImageJob::stopCopying()
{
    if (!m_copyJob) {
        return;
    }
    // Killing the copy job makes it emit finished; this job must not answer that with a result of its own.
    disconnect(m_copyJob, nullptr, this, nullptr);
    disconnect(m_copyJob, nullptr, &m_noDataTimer, nullptr);
    m_copyJob->kill(KJob::Quietly);
    m_copyJob = nullptr;
}

void LoadImageJob::finish(int error, const QString &errorText)
{
    // An early job that nobody took over is of no use to anyone now.
    if (earlyJob == this) {
        earlyJob = nullptr;
    }
    m_loadingTimer.stop();
    m_noDataTimer.stop();
    if (error != 0) {
        setError(error);
        setErrorText(errorText);
    }
    emitResult();
}

QString LoadImageJob::loadErrorText() const
{
    if (isStdin()) {
        return ki18n("Could not load image from stdin.").toString();
    }
    // The URL the job was given, also for a download; its display form never shows a password.
    return ki18n("Could not load image from file %1.").subs(m_url.toDisplayString()).toString();
}

QString LoadImageJob::loadErrorText(const QString &reason) const
{
    if (reason.isEmpty()) {
        return loadErrorText();
    }
    return ki18nc("@info what failed, then why", "%1 %2").subs(loadErrorText()).subs(reason).toString();
}

}

#include "moc_loadimagejob.cpp"
