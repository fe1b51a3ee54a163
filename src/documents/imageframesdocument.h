// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "pageddocument.h"

#include <QBuffer>
#include <QByteArray>
#include <QMutex>

#include <memory>

class QImageReader;

namespace Brevlinder::Documents
{

/**
 * An image file that holds several images, as pages: the pages of a TIFF file, the frames of an animated GIF
 * or WebP image. Each page is read as Qt's image reader gives it, upright.
 *
 * Formats that cannot jump to an image are read frame after frame; the reader stays where it is between
 * calls, so reading the pages in order reads every frame once.
 */
class ImageFramesDocument : public PagedDocument
{
public:
    /// The @p pageCount images in @p data, of the Qt image format @p format.
    ImageFramesDocument(const QByteArray &data, const QByteArray &format, int pageCount);
    ~ImageFramesDocument() override;

    int pageCount() const override;
    QImage page(int index) override;

private:
    void rewind();

    QMutex m_mutex;
    const QByteArray m_data;
    const QByteArray m_format;
    const int m_pageCount;
    QBuffer m_buffer;
    std::unique_ptr<QImageReader> m_reader;
    // The page that the reader reads next.
    int m_nextIndex = 0;
};

}
