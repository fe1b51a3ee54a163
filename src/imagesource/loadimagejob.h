// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <KJob>

#include "imagereadresult.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QImage>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <memory>

class QTemporaryFile;

template<typename T>
class QPromise;

namespace KIO
{
class Job;
class TransferJob;
}

namespace Brevlinder::ImageSource
{

/**
 * Loads the image at a URL: standard input for the scheme "stdin", a local file directly, anything else
 * after KIO fetched it into a temporary file.
 *
 * The outcome comes the KJob way: on failure error() and errorString() tell what went wrong and why, on
 * success image() holds the image, and document() the document of several pages that it is the first page of,
 * if any. A load that is still running after a moment says what it loads through infoMessage. A download that
 * receives no data for a while (30 seconds, or the milliseconds in the environment variable
 * BREVLINDER_LOAD_TIMEOUT_MS) ends with a timeout. kill() stops a download or a read of standard input at once.
 * The job deletes itself after its result, and with it the temporary file.
 */
class LoadImageJob : public KJob
{
    Q_OBJECT

public:
    explicit LoadImageJob(const QUrl &url);
    ~LoadImageJob() override;

    void start() override;

    /// The loaded image; meaningful when the job ended without error.
    QImage image() const;
    /// The document of several pages whose first page image() is; null for a plain image. Meaningful when the job
    /// ended without error.
    std::shared_ptr<Documents::PagedDocument> document() const;
    /**
     * The image the moment it has been read, on the thread that read it: work chained to this future starts
     * there and then, without waiting for the GUI thread, while the job's result is still on its way. The
     * future ends without a result when the load fails or is killed.
     */
    QFuture<QImage> imageFuture() const;

    /// How long a download may go without receiving data.
    static std::chrono::milliseconds noDataTimeout();
    /// Whether \p url stands for the process's standard input: the scheme "stdin", whatever its path.
    static bool isStandardInput(const QUrl &url);

protected:
    bool doKill() override;

private:
    void download();
    void startReading(const QString &fileName);
    void handleMimeTypeFound(KIO::Job *job, const QString &mimeType);
    void handleDataArrived(KIO::Job *job, const QByteArray &data);
    void handleDownloadFinished(KJob *job);
    bool nothingArrived(KIO::TransferJob *job) const;
    void findWhyNothingArrived();
    void handleReadFinished();
    void handleNoDataTimeout();
    static QString noDataText();
    void showLoading();
    void stopDownloading();
    void finish(int error = 0, const QString &errorText = QString());
    QString loadErrorText() const;
    QString loadErrorText(const QString &reason) const;

    QUrl m_url;
    QImage m_image;
    std::shared_ptr<Documents::PagedDocument> m_document;
    KIO::TransferJob *m_transferJob = nullptr;
    std::unique_ptr<QTemporaryFile> m_tempFile;
    // The MIME type that KIO reported for a download, a hint at the image format.
    QString m_mimeType;
    // Shared with the read on the pool, which fulfils it as soon as the image is there.
    std::shared_ptr<QPromise<QImage>> m_imagePromise;
    QFutureWatcher<ImageReadResult> m_readWatcher;
    QTimer m_loadingTimer;
    QTimer m_noDataTimer;
};

}
