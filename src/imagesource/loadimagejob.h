// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <KJob>

#include <QImage>
#include <QUrl>

#include <memory>

class QTemporaryFile;

namespace Brevlinder::ImageSource
{

class ImageReadResult;

/**
 * Loads the image at a URL: standard input for the scheme "stdin", a local file directly, anything else
 * after KIO copied it into a temporary file.
 *
 * The outcome comes the KJob way: on failure error() and errorString() tell what went wrong, on success
 * image() holds the image. The job deletes itself after its result, and with it the temporary file.
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

private Q_SLOTS:
    void handleReadFinished(const Brevlinder::ImageSource::ImageReadResult &imageReadResult);
    void handleFileCopyFinished(KJob *job);

private:
    bool isStdin() const;
    void copyToTemporaryFile();
    void readImageFile(const QString &fileName);
    QString readErrorText() const;

    QUrl m_url;
    QImage m_image;
    KJob *m_copyJob = nullptr;
    std::unique_ptr<QTemporaryFile> m_tempFile;
};

}
