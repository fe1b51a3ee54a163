// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QExplicitlySharedDataPointer>
#include <QImage>
#include <QMetaType>

namespace Brevlinder::ImageSource
{

class ImageReadResultData;

/**
 * The outcome of reading one image: the image, and whether one was read at all.
 *
 * Copies share one record, which nobody changes once the result has been handed on, so a result can travel
 * from a pool thread to the GUI thread cheaply.
 */
class ImageReadResult
{
public:
    /// No image read: a null image, not valid.
    ImageReadResult();
    /// The result of a read that gave @p image; valid exactly when the image is not null.
    explicit ImageReadResult(const QImage &image);
    ImageReadResult(const ImageReadResult &other);
    ~ImageReadResult();
    ImageReadResult &operator=(const ImageReadResult &other);

    const QImage &image() const;
    bool isValid() const;

private:
    QExplicitlySharedDataPointer<ImageReadResultData> d;
};

}

Q_DECLARE_METATYPE(Brevlinder::ImageSource::ImageReadResult)
