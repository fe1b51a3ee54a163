// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <KJob>

#include "scanresult.h"

#include <QFuture>
#include <QImage>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <memory>

class QNetworkReply;
class QTemporaryFile;

namespace KIO
{
class Job;
}

namespace Brevlinder::ImageSource
{

class ImageReadResult;
class ReadImageFileRunner;

/**
 * Loads the image at a URL: standard input for the scheme "stdin", a local file directly, anything else
 * after KIO copied it into a temporary file.
 *
 * The outcome comes the KJob way: on failure error() and errorString() tell what went wrong and why, on
 * success image() holds the image. A load that is still running after a moment says what it loads through
 * infoMessage. A download that receives no data for a while (30 seconds, or the milliseconds in the
 * environment variable BREVLINDER_LOAD_TIMEOUT_MS) ends with a timeout. The job deletes itself after its
 * result, and with it the temporary file.
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
    /**
     * The scan of the loaded image, started on the thread pool as soon as the image was read, for a job
     * started early; an invalid future for any other job.
     */
    QFuture<ScanResult> earlyScan() const;

    /// How long a download may go without receiving data.
    static std::chrono::milliseconds noDataTimeout();

    /**
     * Starts reading the image at @p url, a local file or standard input, before anyone asks for it: the
     * program reads its start image while it builds its window. Other URLs are left for an ordinary load.
     */
    static void startEarly(const QUrl &url);
    /**
     * The job that startEarly started for @p url, still running, for its user to connect to (and not to
     * start again); null if there is none. A job is handed out once.
     */
    static LoadImageJob *takeEarlyJob(const QUrl &url);

private Q_SLOTS:
    void handleReadFinished(const Brevlinder::ImageSource::ImageReadResult &imageReadResult);
    void handleFileCopyFinished(KJob *job);

private:
    bool isStdin() const;
    void copyToTemporaryFile();
    void readImageFile(const QString &fileName);
    void scanOnReaderThread(ReadImageFileRunner *reader);
    void handleMimeTypeFound(KIO::Job *job, const QString &mimeType);
    void handleNoDataTimeout();
    bool nothingArrived() const;
    void askWhyNothingArrived();
    void handleWhyNothingArrived(QNetworkReply *reply);
    static QString noDataText();
    void showLoading();
    void stopCopying();
    void finish(int error = 0, const QString &errorText = QString());
    QString loadErrorText() const;
    QString loadErrorText(const QString &reason) const;

    QUrl m_url;
    QImage m_image;
    KJob *m_copyJob = nullptr;
    std::unique_ptr<QTemporaryFile> m_tempFile;
    // The MIME type that KIO reported for a download, a hint at the image format.
    QString m_mimeType;
    // A job started early scans its image right after the read, on the reader's thread.
    bool m_scanAhead = false;
    QFuture<ScanResult> m_earlyScan;
    QTimer m_loadingTimer;
    QTimer m_noDataTimer;
};

}
