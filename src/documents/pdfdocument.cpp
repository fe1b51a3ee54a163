// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "pdfdocument.h"

#include "brevlinder_documents_debug.h"
#include "scanimagerunner.h"

#include <poppler-qt6.h>

#include <QImageReader>
#include <QtMath>

#include <cmath>
#include <limits>
#include <mutex>

namespace Brevlinder::Documents
{

namespace
{

// Fine enough for the smallest printed codes; a higher one only costs time and memory.
constexpr double preferredResolution = 300;
// Below this no code on an ordinary page can be read any more; a page that does not fit even so is not rendered.
constexpr double smallestResolution = 9;
constexpr double pointsPerInch = 72;
// Poppler renders RGB32 words: four bytes a pixel.
constexpr QImage::Format renderedFormat = QImage::Format_RGB32;

void logPopplerMessage(const QString &message, const QVariant &closure)
{
    Q_UNUSED(closure)
    // Damaged files make Poppler talk a lot; the user hears of it through the result, not the terminal.
    qCDebug(BREVLINDER_DOCUMENTS) << "Poppler:" << message;
}

QSize pixelSize(QSizeF pointSize, double resolution)
{
    // One pixel more on each side than Poppler's own rounding could make of it.
    return QSize(qCeil(pointSize.width() * resolution / pointsPerInch) + 1, qCeil(pointSize.height() * resolution / pointsPerInch) + 1);
}

bool fits(QSize size)
{
    const qint64 limitMegabytes = QImageReader::allocationLimit();
    const qint64 bytes = qint64(size.width()) * 4 * size.height();
    return (limitMegabytes <= 0 || bytes <= limitMegabytes << 20) && ScanImageRunner::decoderCanAddress(size, renderedFormat);
}

}

PdfDocument::PdfDocument(std::unique_ptr<Poppler::Document> document)
    : m_document(std::move(document))
    , m_pageCount(m_document->numPages())
{
}

PdfDocument::~PdfDocument() = default;

PdfDocument::Opened PdfDocument::open(const QByteArray &data)
{
    static std::once_flag once;
    std::call_once(once, [] {
        Poppler::setDebugErrorFunction(logPopplerMessage, QVariant());
    });

    std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(data);
    if (!document) {
        return {nullptr, ki18n("The document is damaged and cannot be read.")};
    }
    if (document->isLocked()) {
        return {nullptr, ki18n("The document is protected by a password.")};
    }
    if (document->numPages() <= 0) {
        return {nullptr, ki18n("The document has no pages.")};
    }
    return {std::shared_ptr<PdfDocument>(new PdfDocument(std::move(document))), KLocalizedString()};
}

int PdfDocument::pageCount() const
{
    return m_pageCount;
}

QImage PdfDocument::page(int index)
{
    const QMutexLocker locker(&m_mutex);
    if (index < 0 || index >= m_pageCount) {
        return {};
    }
    const std::unique_ptr<Poppler::Page> page(m_document->page(index));
    if (!page) {
        return {};
    }
    const double resolution = renderResolution(page->pageSizeF());
    if (resolution <= 0) {
        qCWarning(BREVLINDER_DOCUMENTS) << "page" << index + 1 << "of" << page->pageSizeF() << "points is too large to render";
        return {};
    }
    // Poppler renders on its white paper into RGB32 words, which the decoder reads in place.
    return page->renderToImage(resolution, resolution);
}

double PdfDocument::renderResolution(QSizeF pointSize)
{
    if (pointSize.isEmpty()) {
        return 0;
    }
    if (fits(pixelSize(pointSize, preferredResolution))) {
        return preferredResolution;
    }
    // The pixel count grows with the square of the resolution: start near the largest that fits, then step down
    // past the rounding.
    const QSize preferredSize = pixelSize(pointSize, preferredResolution);
    const qint64 limitMegabytes = QImageReader::allocationLimit();
    qint64 allowedBytes = std::numeric_limits<int>::max();
    if (limitMegabytes > 0) {
        allowedBytes = std::min(allowedBytes, limitMegabytes << 20);
    }
    const double preferredBytes = double(preferredSize.width()) * 4 * preferredSize.height();
    double resolution = preferredResolution * std::sqrt(double(allowedBytes) / preferredBytes);
    while (resolution >= smallestResolution && !fits(pixelSize(pointSize, resolution))) {
        resolution *= 0.98;
    }
    return resolution >= smallestResolution ? resolution : 0;
}

}
