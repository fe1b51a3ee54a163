// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "scanresult.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QRunnable>

#include <cstdint>

namespace ZXing
{
// Declared here so that users of the runner need not include zxing-cpp's headers, which throw.
enum class ImageFormat : uint32_t;
}

namespace Brevlinder
{

/**
 * Decodes the code shown in \p image: the one scan that every caller uses, on whatever thread it runs. The
 * result is not valid when no code was found or the image could not be decoded at all; it never throws.
 */
ScanResult scanImage(const QImage &image);

/**
 * Decodes every code shown in \p image, each with its symbology, position and structured-append place; an empty
 * list when there is none. Slower than scanImage, which stops at the first code.
 */
QList<ScanResult> scanImageForEveryCode(const QImage &image);

/**
 * Decodes the code shown in one image on a thread of the thread pool.
 *
 * Create one runner per image, connect to scanFinished and hand the runner to QThreadPool::start; the pool
 * deletes it after it ran. The signal comes exactly once, with a result that is not valid when no code was
 * found or the image could not be decoded at all.
 */
class ScanImageRunner : public QObject, public QRunnable
{
    Q_OBJECT

public:
    explicit ScanImageRunner(const QImage &image);

    void run() override;

    /**
     * The decoder's description of the bytes of an image in @p format, or ZXing::ImageFormat::None when the
     * decoder cannot read that layout in place and the image has to be converted first.
     */
    static ZXing::ImageFormat decoderImageFormat(QImage::Format format);

    /**
     * @p image itself (sharing its pixels) when the decoder reads its layout in place; otherwise a copy
     * converted once to QImage::Format_RGBX8888.
     */
    static QImage decoderImage(const QImage &image);

    /**
     * Whether the decoder can address an image of @p size in @p format, in the layout it reaches the decoder
     * (its own, or four bytes a pixel after the conversion): the decoder's offsets are int.
     */
    static bool decoderCanAddress(QSize size, QImage::Format format);

Q_SIGNALS:
    void scanFinished(Brevlinder::ScanResult scanResult);

private:
    QImage m_image;
};

}
