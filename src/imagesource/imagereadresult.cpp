// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "imagereadresult.h"

#include "pageddocument.h"

#include <QSharedData>

namespace Brevlinder::ImageSource
{

class ImageReadResultData : public QSharedData
{
public:
    QImage image;
    std::shared_ptr<Documents::PagedDocument> document;
    bool valid = false;
    // Translated only when asked for: the reader runs on a pool thread.
    KLocalizedString reason;
    QString systemReason;
};

ImageReadResult::ImageReadResult()
    : d(new ImageReadResultData)
{
}

ImageReadResult::ImageReadResult(const QImage &image)
    : d(new ImageReadResultData)
{
    d->valid = !image.isNull();
    if (d->valid) {
        d->image = image;
    }
}

ImageReadResult::ImageReadResult(const QImage &firstPage, const std::shared_ptr<Documents::PagedDocument> &document)
    : ImageReadResult(firstPage)
{
    if (d->valid) {
        d->document = document;
    }
}

ImageReadResult ImageReadResult::failure(const KLocalizedString &reason)
{
    ImageReadResult result;
    result.d->reason = reason;
    return result;
}

ImageReadResult ImageReadResult::failure(const QString &reason)
{
    ImageReadResult result;
    result.d->systemReason = reason;
    return result;
}

ImageReadResult::ImageReadResult(const ImageReadResult &other) = default;
ImageReadResult::~ImageReadResult() = default;
ImageReadResult &ImageReadResult::operator=(const ImageReadResult &other) = default;

const QImage &ImageReadResult::image() const
{
    return d->image;
}

std::shared_ptr<Documents::PagedDocument> ImageReadResult::document() const
{
    return d->document;
}

bool ImageReadResult::isValid() const
{
    return d->valid;
}

QString ImageReadResult::errorString() const
{
    return d->reason.isEmpty() ? d->systemReason : d->reason.toString();
}

}
