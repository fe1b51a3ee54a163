// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "codeimages.h"

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <QPainter>

namespace Brevlinder::Test
{

namespace
{
constexpr uchar black = 0;
constexpr uchar white = 255;
constexpr int linearHeight = 80;
}

QImage codeImage(ZXing::BarcodeFormat format, const QString &text, int moduleSize)
{
    const bool linear = ZXing::BarcodeFormats(ZXing::BarcodeFormat::LinearCodes).testFlag(format);
    const ZXing::BitMatrix bits = ZXing::MultiFormatWriter(format).setMargin(0).encode(text.toStdString(), 0, 0);
    // Linear codes want a wider quiet zone than matrix codes.
    const int quietZone = (linear ? 10 : 4) * moduleSize;
    const int width = bits.width() * moduleSize + 2 * quietZone;
    const int height = linear ? linearHeight + 2 * quietZone : bits.height() * moduleSize + 2 * quietZone;

    QImage image(width, height, QImage::Format_Grayscale8);
    image.fill(white);
    for (int y = quietZone; y < height - quietZone; ++y) {
        uchar *line = image.scanLine(y);
        const int row = linear ? 0 : (y - quietZone) / moduleSize;
        for (int x = quietZone; x < width - quietZone; ++x) {
            if (bits.get((x - quietZone) / moduleSize, row)) {
                line[x] = black;
            }
        }
    }
    return image;
}

QString formatName(ZXing::BarcodeFormat format)
{
    return QString::fromStdString(ZXing::ToString(format));
}

CodeSheet codeSheet(const QList<PlacedCode> &codes, QSize size)
{
    CodeSheet sheet{QImage(size, QImage::Format_RGB32), {}};
    sheet.image.fill(Qt::white);
    QPainter painter(&sheet.image);
    for (const PlacedCode &code : codes) {
        const QImage image = codeImage(code.format, code.text);
        const bool linear = ZXing::BarcodeFormats(ZXing::BarcodeFormat::LinearCodes).testFlag(code.format);
        const int quietZone = (linear ? 10 : 4) * 4;
        painter.drawImage(code.place, image);
        sheet.symbols.append(QRect(code.place, image.size()).adjusted(quietZone, quietZone, -quietZone, -quietZone));
    }
    return sheet;
}

}
