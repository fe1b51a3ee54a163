// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "pageddocument.h"

#include <KLocalizedString>

#include <QByteArray>
#include <QMutex>
#include <QSizeF>

#include <memory>

namespace Poppler
{
class Document;
}

namespace Brevlinder::Documents
{

/**
 * A PDF file whose pages are rendered as images, on white paper, at a resolution that its codes read well at.
 */
class PdfDocument : public PagedDocument
{
public:
    /// A document that opened, or why none did.
    struct Opened {
        std::shared_ptr<PdfDocument> document;
        KLocalizedString failure;
    };

    /// Opens the PDF file held in @p data, which the document keeps: a downloaded file may go away meanwhile.
    static Opened open(const QByteArray &data);

    ~PdfDocument() override;

    int pageCount() const override;
    QImage page(int index) override;

    /**
     * The resolution in dots per inch that a page of @p pointSize (in points, 1/72 inch) renders at: 300, or
     * less for a page so large that its image would exceed what the image loader may allocate or what the
     * decoder can address. 0 when not even the smallest resolution fits.
     */
    static double renderResolution(QSizeF pointSize);

private:
    explicit PdfDocument(std::unique_ptr<Poppler::Document> document);

    // Poppler's document is not meant for use by two threads at once.
    mutable QMutex m_mutex;
    std::unique_ptr<Poppler::Document> m_document;
    int m_pageCount = 0;
};

}
