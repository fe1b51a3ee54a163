// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <KLocalizedString>

#include <QExplicitlySharedDataPointer>
#include <QImage>
#include <QMetaType>
#include <QString>

#include <memory>

namespace Brevlinder::Documents
{
class PagedDocument;
}

namespace Brevlinder::ImageSource
{

class ImageReadResultData;

/**
 * The outcome of reading one image: the image, whether one was read at all, and if not, why. A file of several
 * pages (a PDF file, a TIFF file of pages, an animated image) also gives the document, whose first page the image is.
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
    /// The result of a read that opened @p document, whose page 0 is @p firstPage; valid exactly when the page is
    /// not null.
    ImageReadResult(const QImage &firstPage, const std::shared_ptr<Documents::PagedDocument> &document);
    /// A read that gave no image, for a reason of this program's own.
    static ImageReadResult failure(const KLocalizedString &reason);
    /// A read that gave no image, for a reason that the system or Qt gave, already translated.
    static ImageReadResult failure(const QString &reason);
    ImageReadResult(const ImageReadResult &other);
    ~ImageReadResult();
    ImageReadResult &operator=(const ImageReadResult &other);

    /// The image read, or the first page of the document.
    const QImage &image() const;
    /// The document of several pages that was read; null for a plain image and for a failed read.
    std::shared_ptr<Documents::PagedDocument> document() const;
    bool isValid() const;
    /// Why no image was read, translated: call it in the GUI thread, where the translations are set up.
    /// Empty for a valid result, and possibly for an invalid one.
    QString errorString() const;

private:
    QExplicitlySharedDataPointer<ImageReadResultData> d;
};

}

Q_DECLARE_METATYPE(Brevlinder::ImageSource::ImageReadResult)
