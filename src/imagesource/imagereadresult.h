// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <KLocalizedString>

#include <QExplicitlySharedDataPointer>
#include <QImage>
#include <QMetaType>
#include <QString>

namespace Brevlinder::ImageSource
{

class ImageReadResultData;

/**
 * The outcome of reading one image: the image, whether one was read at all, and if not, why.
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
    /// A read that gave no image, for a reason of this program's own.
    static ImageReadResult failure(const KLocalizedString &reason);
    /// A read that gave no image, for a reason that the system or Qt gave, already translated.
    static ImageReadResult failure(const QString &reason);
    ImageReadResult(const ImageReadResult &other);
    ~ImageReadResult();
    ImageReadResult &operator=(const ImageReadResult &other);

    const QImage &image() const;
    bool isValid() const;
    /// Why no image was read, translated: call it in the GUI thread, where the translations are set up.
    /// Empty for a valid result, and possibly for an invalid one.
    QString errorString() const;

private:
    QExplicitlySharedDataPointer<ImageReadResultData> d;
};

}

Q_DECLARE_METATYPE(Brevlinder::ImageSource::ImageReadResult)
