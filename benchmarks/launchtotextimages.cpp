// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

// Writes the images that launch-to-text opens: launchtotextimages DIRECTORY NAME... where NAME is one of
// small.png (a QR code of about 110 pixels), large.png (a QR code of 2000 x 2000 pixels), photo.jpg (a 6000 x
// 4000 photo-like JPEG with a 360 pixel QR code pasted in, turned by 7 degrees), photo108.jpg (12000 x 9000)
// and photo200.jpg (16320 x 12240), photo6.jpg (6000 x 4000 with six codes of six symbologies, two of them turned)
// and document200.pdf (200 A4 pages, a code on pages 1, 100 and 200). Existing files are kept.

#include "codeimages.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTransform>

#include <cmath>
#include <cstdio>

using namespace Brevlinder;

namespace
{

const QString codeText = QStringLiteral("https://example.org/brevlinder/launch-to-text");

QImage code(int moduleSize)
{
    return Test::codeImage(ZXing::BarcodeFormat::QRCode, codeText, moduleSize);
}

// A code pasted into a photo: its picture, where its centre goes (as parts of the photo's size), its turn.
struct Pasted {
    QImage image;
    QPointF centre;
    double degrees;
};

// Soft gradients, codes pasted in, and sensor-like noise, as a phone's photo of codes on a poster looks to the
// decoder.
QImage photoWith(QSize size, const QList<Pasted> &codes)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, QColor(90, 140, 200));
    sky.setColorAt(0.6, QColor(200, 180, 150));
    sky.setColorAt(1, QColor(60, 80, 40));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const Pasted &pasted : codes) {
        painter.save();
        painter.translate(size.width() * pasted.centre.x(), size.height() * pasted.centre.y());
        painter.rotate(pasted.degrees);
        painter.drawImage(-pasted.image.width() / 2, -pasted.image.height() / 2, pasted.image);
        painter.restore();
    }
    painter.end();
    Test::addSensorNoise(image, 2026);
    return image;
}

// A code of codeSide pixels turned by 7 degrees.
QImage photo(QSize size, int codeSide)
{
    return photoWith(size, {{code(1).scaled(codeSide, codeSide, Qt::IgnoreAspectRatio, Qt::FastTransformation), {0.6, 0.55}, 7}});
}

QImage photoWithSixCodes()
{
    const auto drawn = [](ZXing::BarcodeFormat format, const QString &text, int moduleSize) {
        return Test::codeImage(format, text, moduleSize);
    };
    return photoWith(QSize(6000, 4000),
                     {
                         {drawn(ZXing::BarcodeFormat::QRCode, codeText, 10), {0.15, 0.2}, 7},
                         {drawn(ZXing::BarcodeFormat::DataMatrix, QStringLiteral("Data Matrix on a label"), 12), {0.5, 0.2}, 0},
                         {drawn(ZXing::BarcodeFormat::Aztec, QStringLiteral("Aztec on a boarding pass"), 12), {0.85, 0.2}, -20},
                         {drawn(ZXing::BarcodeFormat::EAN13, QStringLiteral("4006381333931"), 8), {0.15, 0.7}, 0},
                         {drawn(ZXing::BarcodeFormat::Code128, QStringLiteral("PARCEL-2026-42"), 6), {0.5, 0.7}, 0},
                         {drawn(ZXing::BarcodeFormat::PDF417, QStringLiteral("PDF417 on a ticket"), 6), {0.85, 0.7}, 0},
                     });
}

// 200 A4 pages at 300 dpi, a QR code on pages 1, 100 and 200; one bit a pixel, so that no lossy compression blurs
// the codes.
bool writeDocument(const QString &fileName)
{
    QPdfWriter writer(fileName);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF());
    writer.setResolution(300);
    QPainter painter(&writer);
    for (int page = 1; page <= 200; ++page) {
        if (page > 1) {
            writer.newPage();
        }
        painter.drawText(QRect(150, 3000, 2000, 200), QStringLiteral("Page %1 of 200").arg(page));
        if (page == 1 || page == 100 || page == 200) {
            const QString text = QStringLiteral("https://example.org/document/page-%1").arg(page);
            painter.drawImage(QPoint(300, 300), Test::codeImage(ZXing::BarcodeFormat::QRCode, text, 4).convertToFormat(QImage::Format_Mono));
        }
    }
    return painter.end();
}

QImage make(const QString &name)
{
    if (name == QLatin1String("small.png")) {
        return code(3);
    }
    if (name == QLatin1String("large.png")) {
        return code(1).scaled(2000, 2000, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    if (name == QLatin1String("photo.jpg")) {
        return photo(QSize(6000, 4000), 360);
    }
    // The code keeps its share of the picture, as when the same poster is taken with a finer sensor.
    if (name == QLatin1String("photo6.jpg")) {
        return photoWithSixCodes();
    }
    if (name == QLatin1String("photo108.jpg")) {
        return photo(QSize(12000, 9000), int(360 * std::sqrt(108.0 / 24.0)));
    }
    if (name == QLatin1String("photo200.jpg")) {
        return photo(QSize(16320, 12240), int(360 * std::sqrt(200.0 / 24.0)));
    }
    return {};
}

}

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: launchtotextimages DIRECTORY NAME...\n");
        return 2;
    }
    const QDir directory(arguments.constFirst());
    directory.mkpath(QStringLiteral("."));
    for (const QString &name : arguments.mid(1)) {
        const QString path = directory.filePath(name);
        if (QFileInfo::exists(path)) {
            continue;
        }
        if (name == QLatin1String("document200.pdf")) {
            if (!writeDocument(path + QStringLiteral(".part")) || !QFile::rename(path + QStringLiteral(".part"), path)) {
                std::fprintf(stderr, "could not write %s\n", qPrintable(path));
                return 1;
            }
            continue;
        }
        const QImage image = make(name);
        if (image.isNull()) {
            std::fprintf(stderr, "unknown image %s\n", qPrintable(name));
            return 2;
        }
        QImageWriter writer(path + QStringLiteral(".part"), QFileInfo(name).suffix().toLatin1());
        writer.setQuality(90);
        if (!writer.write(image) || !QFile::rename(path + QStringLiteral(".part"), path)) {
            std::fprintf(stderr, "could not write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
            return 1;
        }
    }
    return 0;
}
