// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "loadimagejob.h"

#include "connectionprobe.h"
#include "readimagefilerunner.h"

#include <KIO/TransferJob>
#include <KLocalizedString>

#include <QPromise>
#include <QTemporaryFile>
#include <QtConcurrentRun>

using namespace std::chrono_literals;

namespace Brevlinder::ImageSource
{

namespace
{
const QLatin1String stdinScheme("stdin");

// A load that takes longer than this says what it is loading; quicker ones pass without a flicker.
constexpr auto loadingMessageDelay = 400ms;
constexpr auto defaultNoDataTimeout = 30s;

// Messages are sentences: a reason from below (KIO, the system) that ends without a full stop gets one.
QString asSentence(const QString &reason)
{
    static const QString sentenceEnds = QStringLiteral(".!?…");
    if (reason.isEmpty() || sentenceEnds.contains(reason.back())) {
        return reason;
    }
    return reason + QLatin1Char('.');
}
}

LoadImageJob::LoadImageJob(const QUrl &url)
    : m_url(url)
    // The promise is finished exactly once: by the read, right after it, or else, when no read came or the read
    // was cancelled, by its destruction along with the job, which tells its waiters that no image comes.
    , m_imagePromise(std::make_shared<QPromise<QImage>>())
{
    allowDecodableImages();
    m_imagePromise->start();
    m_loadingTimer.setSingleShot(true);
    m_loadingTimer.setInterval(loadingMessageDelay);
    connect(&m_loadingTimer, &QTimer::timeout, this, &LoadImageJob::showLoading);
    m_noDataTimer.setSingleShot(true);
    m_noDataTimer.setInterval(noDataTimeout());
    connect(&m_noDataTimer, &QTimer::timeout, this, &LoadImageJob::handleNoDataTimeout);
    connect(&m_readWatcher, &QFutureWatcherBase::finished, this, &LoadImageJob::handleReadFinished);
    // Killable, so that a user can give up on a slow download or a silent standard input.
    setCapabilities(KJob::Killable);
}

LoadImageJob::~LoadImageJob()
{
    stopDownloading();
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

void LoadImageJob::start()
{
    m_loadingTimer.start();
    if (isStandardInput(m_url)) {
        startReading(QString());
    } else if (m_url.isLocalFile()) {
        startReading(m_url.toLocalFile());
    } else {
        download();
    }
}

QImage LoadImageJob::image() const
{
    return m_image;
}

std::shared_ptr<Documents::PagedDocument> LoadImageJob::document() const
{
    return m_document;
}

QFuture<QImage> LoadImageJob::imageFuture() const
{
    return m_imagePromise->future();
}

bool LoadImageJob::doKill()
{
    stopDownloading();
    // A read of standard input stops waiting; a read of a file ends soon on its own, and nobody hears of it.
    m_readWatcher.future().cancel();
    m_readWatcher.disconnect(this);
    m_loadingTimer.stop();
    m_noDataTimer.stop();
    return true;
}

bool LoadImageJob::isStandardInput(const QUrl &url)
{
    return url.scheme() == stdinScheme;
}

void LoadImageJob::download()
{
    m_tempFile = std::make_unique<QTemporaryFile>();
    if (!m_tempFile->open()) {
        finish(KJob::UserDefinedError, m_tempFile->errorString());
        return;
    }
    // One transfer through KIO, with its proxy, certificate and authentication handling like every other download
    // of the desktop; the data goes straight into the temporary file.
    m_transferJob = KIO::get(m_url, KIO::NoReload, KIO::HideProgressInfo);
    // An error page is no image: the server's error is the reason.
    m_transferJob->addMetaData(QStringLiteral("errorPage"), QStringLiteral("false"));
    connect(m_transferJob, &KIO::TransferJob::data, this, &LoadImageJob::handleDataArrived);
    connect(m_transferJob, &KIO::TransferJob::mimeTypeFound, this, &LoadImageJob::handleMimeTypeFound);
    connect(m_transferJob, &KJob::finished, this, &LoadImageJob::handleDownloadFinished);
    m_noDataTimer.start();
}

void LoadImageJob::startReading(const QString &fileName)
{
    // The read fulfils the image promise on its own thread, right after the read: whoever chained work to the
    // image future starts then, not once the GUI thread has come round to this job.
    const auto imagePromise = m_imagePromise;
    QFuture<ImageReadResult> read = QtConcurrent::run(
        [](QPromise<ImageReadResult> &promise, const QString &fileName, const QString &mimeTypeHint) {
            promise.addResult(readImageFile(fileName, mimeTypeHint, [&promise] {
                return promise.isCanceled();
            }));
        },
        fileName,
        m_mimeType);
    m_readWatcher.setFuture(read);
    read.then([imagePromise](const ImageReadResult &imageReadResult) {
        if (imageReadResult.isValid()) {
            imagePromise->addResult(imageReadResult.image());
        }
        imagePromise->finish();
    });
}

void LoadImageJob::handleMimeTypeFound(KIO::Job *job, const QString &mimeType)
{
    Q_UNUSED(job)
    m_mimeType = mimeType;
    m_noDataTimer.start();
}

void LoadImageJob::handleDataArrived(KIO::Job *job, const QByteArray &data)
{
    Q_UNUSED(job)
    // Every piece of data that arrives gives the server another full period.
    m_noDataTimer.start();
    if (m_tempFile->write(data) != data.size()) {
        const QString reason = m_tempFile->errorString();
        stopDownloading();
        finish(KJob::UserDefinedError, loadErrorText(reason));
    }
}

void LoadImageJob::handleDownloadFinished(KJob *job)
{
    m_transferJob = nullptr;
    m_noDataTimer.stop();
    if (job->error()) {
        // KIO's own code passes through; its text says what went wrong with the transfer.
        finish(job->error(), loadErrorText(job->errorString()));
        return;
    }
    if (!m_tempFile->flush()) {
        finish(KJob::UserDefinedError, loadErrorText(m_tempFile->errorString()));
        return;
    }
    if (nothingArrived(static_cast<KIO::TransferJob *>(job))) {
        findWhyNothingArrived();
        return;
    }
    startReading(m_tempFile->fileName());
}

bool LoadImageJob::nothingArrived(KIO::TransferJob *job) const
{
    // KIO's web worker reports a connection that failed before any answer (refused, host unknown) as an empty
    // download without error; what shows it is that no web server answered at all, not even with a status.
    const bool web = m_url.scheme() == QLatin1String("http") || m_url.scheme() == QLatin1String("https");
    return web && job->queryMetaData(QStringLiteral("responsecode")).toInt() == 0 && m_tempFile->size() == 0;
}

void LoadImageJob::findWhyNothingArrived()
{
    // The probe sends no request, so the server never sees a second download; the no-data timeout still holds.
    auto *probe = new ConnectionProbe(m_url, this);
    connect(probe, &ConnectionProbe::finished, this, [this](const QString &reason) {
        finish(KJob::UserDefinedError, loadErrorText(reason));
    });
    m_noDataTimer.start();
}

void LoadImageJob::handleNoDataTimeout()
{
    stopDownloading();
    finish(KJob::UserDefinedError, loadErrorText(noDataText()));
}

QString LoadImageJob::noDataText()
{
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(noDataTimeout()).count();
    return ki18np("No data arrived for %1 second.", "No data arrived for %1 seconds.").subs(seconds).toString();
}

void LoadImageJob::handleReadFinished()
{
    const QFuture<ImageReadResult> read = m_readWatcher.future();
    const ImageReadResult imageReadResult = read.resultCount() > 0 ? read.result() : ImageReadResult();
    if (!imageReadResult.isValid()) {
        finish(KJob::UserDefinedError, loadErrorText(imageReadResult.errorString()));
        return;
    }
    m_image = imageReadResult.image();
    m_document = imageReadResult.document();
    finish();
}

void LoadImageJob::showLoading()
{
    const QString message = isStandardInput(m_url) ? ki18n("Loading image from stdin…").toString()
                                      : ki18n("Loading image from %1…").subs(m_url.toDisplayString()).toString();
    Q_EMIT infoMessage(this, message);
}

void LoadImageJob::stopDownloading()
{
    if (!m_transferJob) {
        return;
    }
    // Killing the transfer makes it emit finished; this job must not answer that with a result of its own.
    disconnect(m_transferJob, nullptr, this, nullptr);
    m_transferJob->kill(KJob::Quietly);
    m_transferJob = nullptr;
}

void LoadImageJob::finish(int error, const QString &errorText)
{
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
    if (isStandardInput(m_url)) {
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
    return ki18nc("@info what failed, then why", "%1 %2").subs(loadErrorText()).subs(asSentence(reason)).toString();
}

}

#include "moc_loadimagejob.cpp"
