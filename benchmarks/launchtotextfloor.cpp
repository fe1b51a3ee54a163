// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

// The least a program can do to show the text of a code in an image file: read the image with its orientation
// applied, decode it once over every format, and show the text with the success message in a window. One step
// after another, nothing else. launch-to-text measures Brevlinder against it.

#include <ZXing/ReadBarcode.h>

#include <QApplication>
#include <QImageReader>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <climits>

namespace
{

ZXing::ImageFormat decoderFormat(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        return ZXing::ImageFormat::BGRA;
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

QString decode(QImage image)
{
    if (decoderFormat(image.format()) == ZXing::ImageFormat::None) {
        image = image.convertToFormat(QImage::Format_RGBX8888);
    }
    const ZXing::ImageView view(image.constBits(), image.width(), image.height(), decoderFormat(image.format()), int(image.bytesPerLine()));
    return QString::fromStdString(ZXing::ReadBarcode(view, ZXing::ReaderOptions().setFormats(ZXing::BarcodeFormat::Any)).text());
}

}

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (application.arguments().size() != 2) {
        return 2;
    }
    // Big photos: as much as the decoder can address, as Brevlinder allows.
    QImageReader::setAllocationLimit(INT_MAX >> 20);
    QImageReader reader(application.arguments().at(1));
    reader.setAutoTransform(true);
    const QString text = decode(reader.read());

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(text));
    layout->addWidget(new QLabel(text.isEmpty() ? QStringLiteral("Could not scan code in the image.") : QStringLiteral("Code in the image successfully scanned.")));
    window.resize(400, 300);
    window.show();
    return application.exec();
}
