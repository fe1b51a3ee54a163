// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "scanimagerunner.h"
#include "codeimages.h"
#include "poolresults.h"

#include <QDebug>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>
#include <QThreadPool>
#include <QtMath>

#include <algorithm>
#include <cmath>

using namespace Brevlinder;

namespace
{

// The layouts the decoder reads in place.
const QList<QImage::Format> directFormats = {
    QImage::Format_RGB32,
    QImage::Format_ARGB32,
    QImage::Format_RGB888,
    QImage::Format_RGBX8888,
    QImage::Format_RGBA8888,
    QImage::Format_Grayscale8,
};

const QList<QImage::Format> convertedFormats = {
    QImage::Format_ARGB32_Premultiplied,
    QImage::Format_Mono,
    QImage::Format_Indexed8,
    QImage::Format_BGR888,
    QImage::Format_Grayscale16,
    QImage::Format_RGBA64,
};

QString formatName(QImage::Format format)
{
    QString name;
    QDebug(&name).noquote().nospace() << format;
    return name;
}

QList<ScanResult> scanOnPool(const QImage &image)
{
    return Test::resultsFromPool(new ScanImageRunner(image), &ScanImageRunner::scanFinished);
}

}

class ScanImageRunnerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void testChannelOrder_data();
    void testChannelOrder();
    void testDecoderImage_data();
    void testDecoderImage();
    void testDecode_data();
    void testDecode();
    void testPaddedScanLines_data();
    void testPaddedScanLines();
    void testBinaryPayload();
    void testGs1Flag_data();
    void testGs1Flag();
    void testSeveralCodes();
    void testEveryCode_data();
    void testEveryCode();
    void testRotatedCodeHasARotatedOutline();
    void testTransparentBackground_data();
    void testTransparentBackground();
    void testNoResult_data();
    void testNoResult();
    void testNoiseHoldsNoPhantomCodes();
};

void ScanImageRunnerTest::initTestCase()
{
    qRegisterMetaType<ScanResult>();
}

void ScanImageRunnerTest::testChannelOrder_data()
{
    QTest::addColumn<int>("format");

    const QList<QImage::Format> colourFormats = {
        QImage::Format_RGB32,
        QImage::Format_ARGB32,
        QImage::Format_RGB888,
        QImage::Format_RGBX8888,
        QImage::Format_RGBA8888,
        QImage::Format_ARGB32_Premultiplied,
        QImage::Format_RGBA8888_Premultiplied,
        QImage::Format_BGR888,
        QImage::Format_RGBA64,
    };
    for (const QImage::Format format : colourFormats) {
        QTest::addRow("%s", qPrintable(formatName(format))) << int(format);
    }
}

// Two codes in two colour channels, the third channel even: the decoder weighs green about twice as much as red
// and red about three times as much as blue, so it reads the heavier channel's code exactly when it is told the
// right byte order. Red against blue catches red and blue swapped; red against green catches a layout that is
// off by one byte. Black-and-white codes read the same whichever order is assumed.
void ScanImageRunnerTest::testChannelOrder()
{
    QFETCH(int, format);

    const QImage first = Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("first code"));
    const QImage second = Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("second code, a longer one"));
    const QSize size = first.size().expandedTo(second.size());
    const auto lightAt = [](const QImage &code, int x, int y) {
        return !code.valid(x, y) || qGray(code.pixel(x, y)) >= 128;
    };
    const auto channelsImage = [&](auto rgbAt) {
        QImage colours(size, QImage::Format_ARGB32);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                colours.setPixel(x, y, rgbAt(lightAt(first, x, y) ? 255 : 0, lightAt(second, x, y) ? 255 : 0));
            }
        }
        return colours.convertToFormat(QImage::Format(format));
    };
    const QImage redOverBlue = channelsImage([](int first, int second) {
        return qRgb(first, 128, second);
    });
    const QImage greenOverRed = channelsImage([](int first, int second) {
        return qRgb(second, first, 128);
    });
    QCOMPARE(redOverBlue.format(), QImage::Format(format));

    for (const QImage &image : {redOverBlue, greenOverRed}) {
        const QList<ScanResult> results = scanOnPool(image);
        QCOMPARE(results.size(), 1);
        QVERIFY(results.first().isValid());
        QCOMPARE(results.first().text(), QStringLiteral("first code"));
    }
}

void ScanImageRunnerTest::testDecoderImage_data()
{
    QTest::addColumn<int>("format");

    for (int format = QImage::Format_Mono; format < QImage::NImageFormats; ++format) {
        QTest::addRow("%s", qPrintable(formatName(QImage::Format(format)))) << format;
    }
}

void ScanImageRunnerTest::testDecoderImage()
{
    QFETCH(int, format);

    QImage gradient(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < gradient.height(); ++y) {
        for (int x = 0; x < gradient.width(); ++x) {
            gradient.setPixel(x, y, qRgb(x * 6, y * 8, 128));
        }
    }
    const QImage image = gradient.convertToFormat(QImage::Format(format));
    QCOMPARE(image.format(), QImage::Format(format));

    const QImage decoderImage = ScanImageRunner::decoderImage(image);
    if (directFormats.contains(image.format())) {
        // Handed over in place: the very same pixel buffer.
        QCOMPARE(decoderImage.constBits(), image.constBits());
    } else {
        QCOMPARE(decoderImage.format(), QImage::Format_RGBX8888);
        QCOMPARE(decoderImage.size(), image.size());
        QVERIFY(decoderImage.constBits() != image.constBits());
    }
    QCOMPARE(decoderImage.format() == image.format(), directFormats.contains(image.format()));
}

void ScanImageRunnerTest::testDecode_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QString>("text");

    const QList<std::pair<ZXing::BarcodeFormat, QString>> codes = {
        {ZXing::BarcodeFormat::QRCode, QStringLiteral("https://example.org/brevlinder?q=1")},
        {ZXing::BarcodeFormat::DataMatrix, QStringLiteral("Brevlinder Data Matrix")},
        {ZXing::BarcodeFormat::Aztec, QStringLiteral("Brevlinder Aztec")},
        {ZXing::BarcodeFormat::PDF417, QStringLiteral("Brevlinder PDF417")},
        {ZXing::BarcodeFormat::EAN13, QStringLiteral("4006381333931")},
        {ZXing::BarcodeFormat::Code128, QStringLiteral("Brevlinder-128")},
    };
    const QList<QImage::Format> formats = directFormats + convertedFormats;

    for (const auto &[codeFormat, text] : codes) {
        const QImage code = Test::codeImage(codeFormat, text);
        for (const QImage::Format format : std::as_const(formats)) {
            const QImage image = code.convertToFormat(format);
            QTest::addRow("%s %s", qPrintable(Test::formatName(codeFormat)), qPrintable(formatName(format))) << image << text;
        }
    }
}

void ScanImageRunnerTest::testDecode()
{
    QFETCH(QImage, image);
    QFETCH(QString, text);

    const QList<ScanResult> results = scanOnPool(image);

    QCOMPARE(results.size(), 1);
    QVERIFY(results.first().isValid());
    QCOMPARE(results.first().text(), text);
    QCOMPARE(results.first().data(), text.toUtf8());
}

void ScanImageRunnerTest::testGs1Flag_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isGs1");

    // zxing-cpp's writer starts a Code 128 with FNC1, which makes it GS1-128, for a leading U+00F1. Its Data Matrix
    // writer has no way to write a GS1 DataMatrix.
    const QString digits = QStringLiteral("010950600013435210ABC");
    QTest::newRow("GS1-128") << Test::codeImage(ZXing::BarcodeFormat::Code128, QStringLiteral("\u00f1") + digits) << QStringLiteral("(01)09506000134352(10)ABC")
                             << true;
    QTest::newRow("Code 128 with the same digits") << Test::codeImage(ZXing::BarcodeFormat::Code128, digits) << digits << false;
    QTest::newRow("Data Matrix with the same digits") << Test::codeImage(ZXing::BarcodeFormat::DataMatrix, digits) << digits << false;
}

void ScanImageRunnerTest::testGs1Flag()
{
    QFETCH(QImage, image);
    QFETCH(QString, text);
    QFETCH(bool, isGs1);

    const QList<ScanResult> results = scanOnPool(image);

    QCOMPARE(results.size(), 1);
    QVERIFY(results.first().isValid());
    QCOMPARE(results.first().text(), text);
    QCOMPARE(results.first().code().isGs1, isGs1);
}

void ScanImageRunnerTest::testPaddedScanLines_data()
{
    QTest::addColumn<int>("format");

    QTest::newRow("Grayscale8") << int(QImage::Format_Grayscale8);
    QTest::newRow("RGB888") << int(QImage::Format_RGB888);
}

void ScanImageRunnerTest::testPaddedScanLines()
{
    QFETCH(int, format);

    const QString text = QStringLiteral("padded scan lines");
    const QImage code = Test::codeImage(ZXing::BarcodeFormat::QRCode, text, 3);
    // One white column more than the code needs, so that the width is odd and every scan line padded.
    QImage image(code.width() | 1, code.height(), QImage::Format_Grayscale8);
    image.fill(255);
    QPainter(&image).drawImage(0, 0, code);
    image.convertTo(QImage::Format(format));
    QCOMPARE(image.width() % 4 == 0, false);
    QVERIFY(image.bytesPerLine() > image.width() * image.depth() / 8);

    const QList<ScanResult> results = scanOnPool(image);

    QCOMPARE(results.size(), 1);
    QVERIFY(results.first().isValid());
    QCOMPARE(results.first().text(), text);
}

void ScanImageRunnerTest::testBinaryPayload()
{
    const QString qrencode = QStandardPaths::findExecutable(QStringLiteral("qrencode"));
    QVERIFY2(!qrencode.isEmpty(), "qrencode is needed to make a code with a binary payload");
    QByteArray payload;
    for (int byte = 0; byte < 256; ++byte) {
        payload.append(char(255 - byte));
    }

    QProcess process;
    process.start(qrencode, {QStringLiteral("--8bit"), QStringLiteral("--size=4"), QStringLiteral("--output=-")});
    process.write(payload);
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
    const QImage image = QImage::fromData(process.readAllStandardOutput(), "PNG");
    QVERIFY(!image.isNull());

    const QList<ScanResult> results = scanOnPool(image);

    QCOMPARE(results.size(), 1);
    QVERIFY(results.first().isValid());
    QCOMPARE(results.first().data(), payload);
}

void ScanImageRunnerTest::testSeveralCodes()
{
    const QImage first = Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("first"));
    const QImage second = Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("second"));
    QImage image(first.width() + second.width(), qMax(first.height(), second.height()), QImage::Format_Grayscale8);
    image.fill(255);
    QPainter painter(&image);
    painter.drawImage(0, 0, first);
    painter.drawImage(first.width(), 0, second);
    painter.end();

    const QList<ScanResult> results = scanOnPool(image);

    QCOMPARE(results.size(), 1);
    QVERIFY(results.first().isValid());
    QVERIFY2(QStringList({QStringLiteral("first"), QStringLiteral("second")}).contains(results.first().text()), qPrintable(results.first().text()));
}

using Test::PlacedCode;

void ScanImageRunnerTest::testEveryCode_data()
{
    QTest::addColumn<QList<PlacedCode>>("codes");
    QTest::newRow("one") << QList<PlacedCode>{{ZXing::BarcodeFormat::QRCode, QStringLiteral("alone"), {400, 300}}};
    QTest::newRow("two") << QList<PlacedCode>{{ZXing::BarcodeFormat::QRCode, QStringLiteral("https://example.org/ticket"), {40, 40}},
                                              {ZXing::BarcodeFormat::DataMatrix, QStringLiteral("Data Matrix beside it"), {700, 420}}};
    QTest::newRow("three, mixed") << QList<PlacedCode>{{ZXing::BarcodeFormat::QRCode, QStringLiteral("QR"), {40, 40}},
                                                       {ZXing::BarcodeFormat::Aztec, QStringLiteral("Aztec on a boarding pass"), {600, 40}},
                                                       {ZXing::BarcodeFormat::EAN13, QStringLiteral("4006381333931"), {300, 450}}};
}

// Every code on a sheet is found, with its own text, symbology and place; the first code alone reads as before.
void ScanImageRunnerTest::testEveryCode()
{
    QFETCH(QList<PlacedCode>, codes);
    const Test::CodeSheet sheet = Test::codeSheet(codes);

    const QList<ScanResult> results = scanImageForEveryCode(sheet.image);

    QCOMPARE(results.size(), codes.size());
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const auto found = std::find_if(results.cbegin(), results.cend(), [&](const ScanResult &result) {
            return result.text() == codes.at(i).text;
        });
        QVERIFY2(found != results.cend(), qPrintable(codes.at(i).text));
        QCOMPARE(found->code().symbology, Test::formatName(codes.at(i).format));
        QCOMPARE(found->code().sequenceIndex, -1);
        // The outline lies on the symbol: within a few pixels of where it was drawn, never elsewhere.
        const QRect outline = found->code().position.boundingRect();
        const QRect symbol = sheet.symbols.at(i);
        QVERIFY2(symbol.adjusted(-4, -4, 4, 4).contains(outline),
                 qPrintable(QStringLiteral("%1 outside %2").arg(QDebug::toString(outline), QDebug::toString(symbol))));
        QVERIFY2(outline.width() >= symbol.width() - 8, qPrintable(QDebug::toString(outline)));
    }
    if (codes.size() == 1) {
        QCOMPARE(scanImage(sheet.image).text(), results.first().text());
        QCOMPARE(scanImage(sheet.image).code().position, results.first().code().position);
    }
}

// A code photographed askew is outlined askew: the outline's top edge runs at the code's angle.
void ScanImageRunnerTest::testRotatedCodeHasARotatedOutline()
{
    const QImage code = Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("turned"));
    QImage sheet(800, 800, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.translate(400, 400);
    painter.rotate(30);
    painter.drawImage(-code.width() / 2, -code.height() / 2, code);
    painter.end();

    const QList<ScanResult> results = scanImageForEveryCode(sheet);

    QCOMPARE(results.size(), 1);
    const QPolygon outline = results.first().code().position;
    QCOMPARE(outline.size(), 4);
    const QPoint topEdge = outline.at(1) - outline.at(0);
    const double angle = qRadiansToDegrees(std::atan2(double(topEdge.y()), double(topEdge.x())));
    QVERIFY2(qAbs(angle - 30) < 3, qPrintable(QString::number(angle)));
    QVERIFY(QRect(300, 300, 200, 200).contains(outline.boundingRect().center()));
}

void ScanImageRunnerTest::testTransparentBackground_data()
{
    QTest::addColumn<int>("format");

    QTest::newRow("ARGB32") << int(QImage::Format_ARGB32);
    QTest::newRow("RGBA8888") << int(QImage::Format_RGBA8888);
    QTest::newRow("ARGB32_Premultiplied") << int(QImage::Format_ARGB32_Premultiplied);
}

// Codes saved for the web often have a transparent background, whose pixels are stored as transparent black:
// read without their alpha they are black on black.
void ScanImageRunnerTest::testTransparentBackground()
{
    QFETCH(int, format);

    const QString text = QStringLiteral("dark modules, no background");
    const QImage code = Test::codeImage(ZXing::BarcodeFormat::QRCode, text);
    QImage image(code.size(), QImage::Format_ARGB32);
    for (int y = 0; y < code.height(); ++y) {
        for (int x = 0; x < code.width(); ++x) {
            image.setPixel(x, y, qGray(code.pixel(x, y)) < 128 ? qRgba(0, 0, 0, 255) : qRgba(0, 0, 0, 0));
        }
    }
    image.convertTo(QImage::Format(format));

    const QList<ScanResult> results = scanOnPool(image);

    QCOMPARE(results.size(), 1);
    QVERIFY(results.first().isValid());
    QCOMPARE(results.first().text(), text);
}

void ScanImageRunnerTest::testNoResult_data()
{
    QTest::addColumn<QImage>("image");

    QImage blank(300, 200, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QTest::newRow("blank") << blank;

    QImage noise(300, 200, QImage::Format_Grayscale8);
    QRandomGenerator random(4711);
    for (int y = 0; y < noise.height(); ++y) {
        random.fillRange(reinterpret_cast<quint32 *>(noise.scanLine(y)), noise.bytesPerLine() / 4);
    }
    QTest::newRow("noise") << noise;

    QTest::newRow("null") << QImage();
    QTest::newRow("null ARGB32_Premultiplied") << QImage(0, 0, QImage::Format_ARGB32_Premultiplied);
    QTest::newRow("zero width") << QImage(0, 100, QImage::Format_Grayscale8);
    QTest::newRow("zero height") << QImage(100, 0, QImage::Format_RGB32);

    // More bytes than the decoder can address. The buffer is tiny: reading it at all would be caught by
    // the address sanitizer, so the image must be refused before the decoder sees it.
    static const uchar tinyBuffer[16] = {};
    const QImage beyondAddressing(tinyBuffer, 46400, 46400, 46400, QImage::Format_Grayscale8);
    QVERIFY(!beyondAddressing.isNull());
    QTest::newRow("beyond the decoder's addressing") << beyondAddressing;
}

void ScanImageRunnerTest::testNoResult()
{
    QFETCH(QImage, image);

    const QList<ScanResult> results = scanOnPool(image);

    QCOMPARE(results.size(), 1);
    QVERIFY(!results.first().isValid());
    QVERIFY(results.first().text().isEmpty());
    QVERIFY(results.first().data().isEmpty());
}

// Sensor noise over a photo holds stretches that read as DataBar finder patterns; searching for every code, the
// decoder pairs them across the whole picture into DataBar symbols thousands of pixels tall and a few dozen wide,
// with valid check digits by chance. No such phantom is offered, and the real codes in the picture still are.
void ScanImageRunnerTest::testNoiseHoldsNoPhantomCodes()
{
    QImage photo(3000, 2000, QImage::Format_RGB32);
    QPainter painter(&photo);
    QLinearGradient sky(0, 0, photo.width(), photo.height());
    sky.setColorAt(0, QColor(90, 140, 200));
    sky.setColorAt(0.6, QColor(200, 180, 150));
    sky.setColorAt(1, QColor(60, 80, 40));
    painter.fillRect(photo.rect(), sky);
    painter.drawImage(200, 200, Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("real"), 8));
    painter.drawImage(1800, 1200, Test::codeImage(ZXing::BarcodeFormat::EAN13, QStringLiteral("4006381333931"), 6));
    painter.end();
    Test::addSensorNoise(photo, 2026);

    const QList<ScanResult> results = scanImageForEveryCode(photo);

    QStringList found;
    for (const ScanResult &result : results) {
        found.append(result.code().symbology + QLatin1Char(' ') + result.text());
    }
    found.sort();
    QCOMPARE(found, QStringList({QStringLiteral("EAN-13 4006381333931"), QStringLiteral("QRCode real")}));
}

QTEST_GUILESS_MAIN(ScanImageRunnerTest)

#include "scanimagerunnertest.moc"
