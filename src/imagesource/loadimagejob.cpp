// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "loadimagejob.h"

#include "imagereadresult.h"
#include "readimagefilerunner.h"

#include <KIO/FileCopyJob>
#include <KLocalizedString>

#include <QTemporaryFile>
#include <QThreadPool>

namespace Brevlinder::ImageSource
{

namespace
{
const QLatin1String stdinScheme("stdin");
}

LoadImageJob::LoadImageJob(const QUrl &url)
    : m_url(url)
{
}

LoadImageJob::~LoadImageJob()
{
    if (m_copyJob) {
        // Killing the copy job makes it emit finished; this job is going away and must not answer that with
        // a result of its own.
        disconnect(m_copyJob, nullptr, this, nullptr);
        m_copyJob->kill(KJob::Quietly);
    }
}

void LoadImageJob::start()
{
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
        setError(KJob::UserDefinedError);
        setErrorText(m_tempFile->errorString());
        emitResult();
        return;
    }
    // The temporary file already exists, hence Overwrite; it stays open while KIO writes to it by name.
    m_copyJob = KIO::file_copy(m_url, QUrl::fromLocalFile(m_tempFile->fileName()), -1, KIO::Overwrite);
    connect(m_copyJob, &KJob::finished, this, &LoadImageJob::handleFileCopyFinished);
    m_copyJob->start();
}

void LoadImageJob::readImageFile(const QString &fileName)
{
    auto *reader = new ReadImageFileRunner(fileName);
    qRegisterMetaType<ImageReadResult>();
    connect(reader, &ReadImageFileRunner::readFinished, this, &LoadImageJob::handleReadFinished);
    QThreadPool::globalInstance()->start(reader, 0);
}

void LoadImageJob::handleFileCopyFinished(KJob *job)
{
    m_copyJob = nullptr;
    if (job->error()) {
        // KIO's own code and text tell the user best what went wrong with the transfer.
        setError(job->error());
        setErrorText(job->errorText());
        emitResult();
        return;
    }
    readImageFile(m_tempFile->fileName());
}

void LoadImageJob::handleReadFinished(const ImageReadResult &imageReadResult)
{
    if (imageReadResult.isValid()) {
        m_image = imageReadResult.image();
    } else {
        setError(KJob::UserDefinedError);
        setErrorText(readErrorText());
    }
    emitResult();
}

QString LoadImageJob::readErrorText() const
{
    if (isStdin()) {
        return ki18n("Could not load image from stdin.").toString();
    }
    // The URL the job was given, also for a download; its display form never shows a password.
    return ki18n("Could not load image from file %1.").subs(m_url.toDisplayString()).toString();
}

}

#include "moc_loadimagejob.cpp"
