// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "codeimages.h"

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

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

QList<QImage> structuredAppendParts(const QString &text, const QString &directory)
{
    const QString qrencode = QStandardPaths::findExecutable(QStringLiteral("qrencode"));
    if (qrencode.isEmpty()) {
        return {};
    }
    QProcess process;
    process.setWorkingDirectory(directory);
    process.start(qrencode,
                  {QStringLiteral("-S"),
                   QStringLiteral("-v"),
                   QStringLiteral("4"),
                   QStringLiteral("-s"),
                   QStringLiteral("4"),
                   QStringLiteral("-o"),
                   QStringLiteral("part.png"),
                   text});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return {};
    }
    QList<QImage> parts;
    const QStringList files = QDir(directory).entryList({QStringLiteral("part-*.png")}, QDir::Files, QDir::Name);
    for (const QString &file : files) {
        parts.append(QImage(QDir(directory).filePath(file)));
    }
    return parts;
}

QImage sideBySide(const QList<QImage> &images)
{
    int width = 0;
    int height = 0;
    for (const QImage &image : images) {
        width += image.width();
        height = std::max(height, image.height());
    }
    QImage sheet(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int x = 0;
    for (const QImage &image : images) {
        painter.drawImage(x, 0, image);
        x += image.width();
    }
    return sheet;
}

void addSensorNoise(QImage &image, quint32 seed)
{
    QRandomGenerator random(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(random.generate() % 24u) - 12;
            line[x] = qRgb(qBound(0, qRed(line[x]) + noise, 255), qBound(0, qGreen(line[x]) + noise, 255), qBound(0, qBlue(line[x]) + noise, 255));
        }
    }
}

}
