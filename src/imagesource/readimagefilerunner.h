// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "imagereadresult.h"

#include <QObject>
#include <QRunnable>
#include <QString>

#include <functional>

namespace Brevlinder::ImageSource
{

/**
 * Lets Qt's image readers allocate every image that the decoder can address, far beyond Qt's default limit,
 * so that photos of 100 megapixels and more load. Done once; the image source calls it before it reads.
 */
void allowDecodableImages();

/**
 * Reads and decodes the image in the file @p fileName, or on standard input when it is empty: the one read that
 * every caller uses, on whatever thread it runs. The result is not valid, and says why, when nothing could be
 * opened or decoded. @p mimeTypeHint is the MIME type that the data's source reported, if any. A read of
 * standard input that still waits for data gives up once @p stopRequested answers true.
 */
ImageReadResult readImageFile(const QString &fileName, const QString &mimeTypeHint = QString(), const std::function<bool()> &stopRequested = {});

/**
 * Reads and decodes one image file, or standard input, on a thread of the thread pool.
 *
 * readFinished comes exactly once, with a result that is not valid, and says why, when nothing could be
 * opened or decoded. The image format is taken from the data's signature where it has one, else from a MIME
 * type that the data's source reported or from the file name, and only else found by asking every image
 * plugin. Text without the signature of an image format is refused without asking any.
 * Standard input is read to its end without ever blocking the quitting application.
 * The pool deletes the runner after it ran.
 */
class ReadImageFileRunner : public QObject, public QRunnable
{
    Q_OBJECT

public:
    /// An empty @p fileName stands for standard input. @p mimeTypeHint is the MIME type that the data's
    /// source reported, if any, such as a web server's content type.
    explicit ReadImageFileRunner(const QString &fileName, const QString &mimeTypeHint = QString());

    void run() override;

Q_SIGNALS:
    void readFinished(const Brevlinder::ImageSource::ImageReadResult &imageReadResult);

private:
    QString m_fileName;
    QString m_mimeTypeHint;
};

}
