// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "scanimagerunner.h"

#include <ZXing/ReadBarcode.h>

#include <QPainter>
#include <QSysInfo>

#include <limits>
#include <optional>
#include <utility>

namespace Brevlinder
{

namespace
{

// Format_RGB32 and Format_ARGB32 store each pixel as one 32-bit word 0xAARRGGBB, so the byte order in
// memory follows the machine's.
constexpr ZXing::ImageFormat argb32Layout()
{
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? ZXing::ImageFormat::BGRA : ZXing::ImageFormat::ARGB;
}

// zxing-cpp addresses pixels with int offsets; a larger buffer would overflow them.
bool fitsDecoder(const QImage &image)
{
    const qint64 byteCount = qint64(image.bytesPerLine()) * image.height();
    return !image.isNull() && byteCount <= std::numeric_limits<int>::max();
}

qint64 bytesPerLine(int width, QImage::Format format)
{
    // Scan lines are padded to 32 bits.
    return (qint64(width) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
}

ZXing::ReaderOptions readerOptions()
{
    ZXing::ReaderOptions options;
    options.setFormats(ZXing::BarcodeFormat::Any);
    return options;
}

// Transparent pixels are usually stored as transparent black, which the decoder, ignoring alpha, reads as
// black: a dark code on a transparent background would be black on black. Shown on white, it reads as meant.
QImage onWhiteBackground(const QImage &image)
{
    QImage composed(image.size(), QImage::Format_RGB32);
    composed.fill(Qt::white);
    QPainter painter(&composed);
    painter.drawImage(0, 0, image);
    return composed;
}

QPolygon toPolygon(const ZXing::Position &position)
{
    QPolygon polygon;
    for (const ZXing::PointI &corner : position) {
        polygon.append(QPoint(corner.x, corner.y));
    }
    return polygon;
}

ScanResult toScanResult(const ZXing::Barcode &barcode)
{
    if (!barcode.isValid()) {
        return {};
    }
    const std::string text = barcode.text();
    const ZXing::ByteArray &bytes = barcode.bytes();
    ScanResult::Code code;
    code.symbology = QString::fromStdString(ZXing::ToString(barcode.format()));
    code.position = toPolygon(barcode.position());
    code.isGs1 = barcode.contentType() == ZXing::ContentType::GS1;
    if (barcode.isPartOfSequence()) {
        code.sequenceIndex = barcode.sequenceIndex();
        code.sequenceSize = barcode.sequenceSize();
        code.sequenceId = QString::fromStdString(barcode.sequenceId());
    }
    return ScanResult(QString::fromUtf8(text.data(), qsizetype(text.size())),
                      QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())),
                      code);
}

// The decoder's view of \p original, in a layout it reads, or none when it has no pixels it can address.
std::optional<std::pair<QImage, ZXing::ImageView>> decoderView(const QImage &original)
{
    QImage image = ScanImageRunner::decoderImage(original);
    // A null image (also what a failed conversion gives) has no pixels for the decoder to look at.
    if (!fitsDecoder(image)) {
        return std::nullopt;
    }
    const ZXing::ImageView view(image.constBits(),
                                image.width(),
                                image.height(),
                                ScanImageRunner::decoderImageFormat(image.format()),
                                int(image.bytesPerLine()));
    return std::make_pair(std::move(image), view);
}

// Looking for every code, the DataBar reader pairs finder patterns from all over the picture, and the noise of a
// photo holds many of them: now and then a pair with valid check digits by chance makes a phantom symbol. Its
// outline gives it away: a real DataBar symbol is wider than tall, with its corners in reading order (clockwise),
// while a phantom joins patterns from far apart rows into a sliver thousands of pixels tall, often mirrored.
bool isPhantomDataBar(const ZXing::Barcode &barcode)
{
    const ZXing::BarcodeFormats dataBar = ZXing::BarcodeFormat::DataBar | ZXing::BarcodeFormat::DataBarLimited | ZXing::BarcodeFormat::DataBarExpanded;
    if (!dataBar.testFlag(barcode.format())) {
        return false;
    }
    const ZXing::Position &corners = barcode.position();
    for (int i = 0; i < 4; ++i) {
        const ZXing::PointI edge = corners[(i + 1) % 4] - corners[i];
        const ZXing::PointI next = corners[(i + 2) % 4] - corners[(i + 1) % 4];
        if (qint64(edge.x) * next.y - qint64(edge.y) * next.x < 0) {
            return true;
        }
    }
    const double width = ZXing::distance(corners.topLeft(), corners.topRight());
    const double height = std::max(ZXing::distance(corners.topRight(), corners.bottomRight()), ZXing::distance(corners.bottomLeft(), corners.topLeft()));
    return height > 2 * std::max(width, 1.0);
}

QList<ScanResult> decodeEvery(const QImage &original)
{
    const auto view = decoderView(original);
    if (!view) {
        return {};
    }
    QList<ScanResult> results;
    for (const ZXing::Barcode &barcode : ZXing::ReadBarcodes(view->second, readerOptions())) {
        if (barcode.isValid() && !isPhantomDataBar(barcode)) {
            results.append(toScanResult(barcode));
        }
    }
    return results;
}

ScanResult decode(const QImage &original)
{
    const auto view = decoderView(original);
    if (!view) {
        return {};
    }
    return toScanResult(ZXing::ReadBarcode(view->second, readerOptions()));
}

}

ScanResult scanImage(const QImage &image)
{
    // Scans run on pool threads, where an escaping exception would end the program: whatever the decoder
    // refuses or fails on is a scan without result.
    try {
        ScanResult result = decode(image);
        // Only a failed scan pays for the second look, so opaque images and readable ones cost nothing more.
        if (!result.isValid() && image.hasAlphaChannel() && fitsDecoder(image)) {
            result = decode(onWhiteBackground(image));
        }
        return result;
    } catch (...) {
        return {};
    }
}

QList<ScanResult> scanImageForEveryCode(const QImage &image)
{
    // As scanImage: nothing the decoder throws escapes, and a transparent image gets its second look on white.
    try {
        QList<ScanResult> results = decodeEvery(image);
        if (results.isEmpty() && image.hasAlphaChannel() && fitsDecoder(image)) {
            results = decodeEvery(onWhiteBackground(image));
        }
        return results;
    } catch (...) {
        return {};
    }
}

ScanImageRunner::ScanImageRunner(const QImage &image)
    : m_image(image)
{
}

void ScanImageRunner::run()
{
    Q_EMIT scanFinished(scanImage(m_image));
}

ZXing::ImageFormat ScanImageRunner::decoderImageFormat(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        return argb32Layout();
    case QImage::Format_RGB888:
        return ZXing::ImageFormat::RGB;
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
        return ZXing::ImageFormat::RGBA;
    case QImage::Format_Grayscale8:
        return ZXing::ImageFormat::Lum;
    default:
        return ZXing::ImageFormat::None;
    }
}

QImage ScanImageRunner::decoderImage(const QImage &image)
{
    if (decoderImageFormat(image.format()) != ZXing::ImageFormat::None) {
        return image;
    }
    return image.convertToFormat(QImage::Format_RGBX8888);
}

bool ScanImageRunner::decoderCanAddress(QSize size, QImage::Format format)
{
    if (size.isEmpty()) {
        return false;
    }
    const bool direct = format != QImage::Format_Invalid && decoderImageFormat(format) != ZXing::ImageFormat::None;
    const QImage::Format decoded = direct ? format : QImage::Format_RGBX8888;
    return bytesPerLine(size.width(), decoded) * size.height() <= std::numeric_limits<int>::max();
}

}

#include "moc_scanimagerunner.cpp"
