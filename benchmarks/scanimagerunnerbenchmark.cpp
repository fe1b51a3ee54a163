// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

// Compares the cost of a scan through ScanImageRunner with a direct call of ZXing::ReadBarcode on the same
// pixels. For the layouts the decoder reads in place the two should cost the same; for the others the runner
// should cost what one conversion followed by the direct call costs.

#include "codeimages.h"
#include "scanimagerunner.h"

#include <ZXing/ReadBarcode.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>

using namespace Brevlinder;

namespace
{

const QString codeText = QStringLiteral("https://example.org/brevlinder/benchmark");

struct Sample {
    QString name;
    QImage image;
    int repetitions;
};

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// The fastest run: the least disturbed by other load on the machine.
double best(const QList<double> &values)
{
    return *std::min_element(values.begin(), values.end());
}

template<typename Function>
double milliseconds(Function function)
{
    QElapsedTimer timer;
    timer.start();
    function();
    return timer.nsecsElapsed() / 1e6;
}

QImage roundTrip(const QImage &image, const char *format, int quality = -1)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return QImage::fromData(data, format);
}

QImage smallPng()
{
    return roundTrip(Test::codeImage(ZXing::BarcodeFormat::QRCode, codeText, 4), "png");
}

QImage largeCode()
{
    const QImage code = Test::codeImage(ZXing::BarcodeFormat::QRCode, codeText, 1);
    return code.scaled(2000, 2000, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// A 6000 x 4000 picture with soft gradients and sensor-like noise, and one small code in it, saved as a
// JPEG and read back the way a photo arrives.
QImage photo()
{
    QImage image(6000, 4000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 6000, 4000);
    sky.setColorAt(0, QColor(90, 140, 200));
    sky.setColorAt(0.6, QColor(200, 180, 150));
    sky.setColorAt(1, QColor(60, 80, 40));
    painter.fillRect(image.rect(), sky);
    painter.drawImage(3400, 2300, Test::codeImage(ZXing::BarcodeFormat::QRCode, codeText, 5));
    painter.end();
    QRandomGenerator random(2026);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(random.bounded(24u)) - 12;
            line[x] = qRgb(qBound(0, qRed(line[x]) + noise, 255), qBound(0, qGreen(line[x]) + noise, 255), qBound(0, qBlue(line[x]) + noise, 255));
        }
    }
    return roundTrip(image, "jpeg", 90);
}

ScanResult scanWithRunner(const QImage &image)
{
    ScanResult result;
    ScanImageRunner runner(image);
    QObject::connect(
        &runner,
        &ScanImageRunner::scanFinished,
        &runner,
        [&result](const ScanResult &scanResult) {
            result = scanResult;
        },
        Qt::DirectConnection);
    runner.run();
    return result;
}

// The decoder called directly on pixels it reads in place.
QString scanDirectly(const QImage &image)
{
    const ZXing::ImageView view(image.constBits(),
                                image.width(),
                                image.height(),
                                ScanImageRunner::decoderImageFormat(image.format()),
                                int(image.bytesPerLine()));
    const ZXing::Barcode barcode = ZXing::ReadBarcode(view, ZXing::ReaderOptions().setFormats(ZXing::BarcodeFormat::Any));
    return QString::fromStdString(barcode.text());
}

void measure(const Sample &sample, QImage::Format format)
{
    const QImage image = sample.image.format() == format ? sample.image : sample.image.convertToFormat(format);
    const bool direct = ScanImageRunner::decoderImageFormat(format) != ZXing::ImageFormat::None;
    // The pixels the decoder gets: the image itself, or for other layouts its conversion, made beforehand.
    const QImage decoderImage = ScanImageRunner::decoderImage(image);

    QList<double> runnerTimes, directTimes, convertingTimes;
    bool found = true;
    const auto timeRunner = [&] {
        runnerTimes.append(milliseconds([&] {
            found = scanWithRunner(image).text() == codeText && found;
        }));
    };
    const auto timeDirectCall = [&] {
        directTimes.append(milliseconds([&] {
            found = scanDirectly(decoderImage) == codeText && found;
        }));
    };
    for (int repetition = 0; repetition < sample.repetitions; ++repetition) {
        // Alternating which goes first keeps warm caches and load changes from favouring either.
        if (repetition % 2 == 0) {
            timeRunner();
            timeDirectCall();
        } else {
            timeDirectCall();
            timeRunner();
        }
        if (!direct) {
            // The least any caller pays for these pixels: one conversion of its own, then the decoder.
            convertingTimes.append(milliseconds([&] {
                found = scanDirectly(image.convertToFormat(QImage::Format_RGBX8888)) == codeText && found;
            }));
        }
    }

    const double runner = median(runnerTimes);
    const double zxing = median(directTimes);
    QString line = QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                       .arg(sample.name, -22)
                       .arg(QDebug::toString(format).remove(QLatin1String("QImage::Format_")), -22)
                       .arg(direct ? QStringLiteral("direct") : QStringLiteral("converted"), -10)
                       .arg(zxing, 10, 'f', 3)
                       .arg(runner, 10, 'f', 3)
                       .arg(runner / zxing, 7, 'f', 3)
                       .arg(best(runnerTimes) / best(directTimes), 7, 'f', 3);
    if (!direct) {
        const double converting = median(convertingTimes);
        line += QStringLiteral("  one conversion + zxing %1 ms, runner / that %2 (best %3)")
                    .arg(converting, 0, 'f', 3)
                    .arg(runner / converting, 0, 'f', 3)
                    .arg(best(runnerTimes) / best(convertingTimes), 0, 'f', 3);
    }
    if (!found) {
        line += QStringLiteral("  (code not found)");
    }
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

}

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);

    const QList<Sample> samples = {
        {QStringLiteral("small QR PNG"), smallPng(), 201},
        {QStringLiteral("2000x2000 QR"), largeCode(), 51},
        {QStringLiteral("24 MP photo (JPEG)"), photo(), 7},
    };

    std::printf("Medians of the repetitions; \"best\" compares the fastest runs.\n");
    std::printf("%-22s %-22s %-10s %10s %10s %7s %7s\n", "image", "format", "path", "zxing ms", "runner ms", "ratio", "best");
    for (const Sample &sample : samples) {
        QList<QImage::Format> formats = {sample.image.format()};
        for (const QImage::Format format : {QImage::Format_Grayscale8, QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_ARGB32_Premultiplied}) {
            if (!formats.contains(format)) {
                formats.append(format);
            }
        }
        for (const QImage::Format format : std::as_const(formats)) {
            measure(sample, format);
        }
    }
    return 0;
}
