// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

// Writes the images that launch-to-text opens: launchtotextimages DIRECTORY NAME... where NAME is one of
// small.png (a QR code of about 110 pixels), large.png (a QR code of 2000 x 2000 pixels), photo.jpg (a 6000 x
// 4000 photo-like JPEG with a 360 pixel QR code pasted in, turned by 7 degrees), photo108.jpg (12000 x 9000)
// and photo200.jpg (16320 x 12240). Existing files are kept.

#include "codeimages.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
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

// Soft gradients, a code of codeSide pixels turned by 7 degrees, and sensor-like noise, as a phone's photo of a
// code on a poster looks to the decoder.
QImage photo(QSize size, int codeSide)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, QColor(90, 140, 200));
    sky.setColorAt(0.6, QColor(200, 180, 150));
    sky.setColorAt(1, QColor(60, 80, 40));
    painter.fillRect(image.rect(), sky);
    const QImage qr = code(1).scaled(codeSide, codeSide, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(size.width() * 0.6, size.height() * 0.55);
    painter.rotate(7);
    painter.drawImage(-codeSide / 2, -codeSide / 2, qr);
    painter.end();
    QRandomGenerator random(2026);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const quint32 bits = random.generate();
            const int noise = int(bits % 24u) - 12;
            line[x] = qRgb(qBound(0, qRed(line[x]) + noise, 255), qBound(0, qGreen(line[x]) + noise, 255), qBound(0, qBlue(line[x]) + noise, 255));
        }
    }
    return image;
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
