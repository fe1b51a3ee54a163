// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "imageframesdocument.h"

#include <QImageReader>

namespace Brevlinder::Documents
{

ImageFramesDocument::ImageFramesDocument(const QByteArray &data, const QByteArray &format, int pageCount)
    : m_data(data)
    , m_format(format)
    , m_pageCount(pageCount)
{
    m_buffer.setData(m_data);
    rewind();
}

ImageFramesDocument::~ImageFramesDocument() = default;

int ImageFramesDocument::pageCount() const
{
    return m_pageCount;
}

QImage ImageFramesDocument::page(int index)
{
    const QMutexLocker locker(&m_mutex);
    if (index < 0 || index >= m_pageCount) {
        return {};
    }
    // TIFF jumps to any page; GIF only reads on, as each frame is drawn over the one before.
    if (!m_reader->jumpToImage(index)) {
        if (index < m_nextIndex) {
            rewind();
        }
        while (m_nextIndex < index) {
            if (m_reader->read().isNull()) {
                rewind();
                return {};
            }
            ++m_nextIndex;
        }
    }
    const QImage image = m_reader->read();
    if (image.isNull()) {
        // A damaged frame leaves the reader somewhere unknown.
        rewind();
        return {};
    }
    m_nextIndex = index + 1;
    return image;
}

void ImageFramesDocument::rewind()
{
    m_reader.reset();
    m_buffer.close();
    m_buffer.open(QIODevice::ReadOnly);
    m_reader = std::make_unique<QImageReader>(&m_buffer, m_format);
    m_reader->setAutoDetectImageFormat(false);
    // Pages scanned crooked carry their orientation like photos do.
    m_reader->setAutoTransform(true);
    m_nextIndex = 0;
}

}
