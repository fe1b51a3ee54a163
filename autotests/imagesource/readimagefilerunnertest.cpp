// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "readimagefilerunner.h"
#include "imagereadresult.h"
#include "poolresults.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QtEndian>

using namespace Brevlinder::ImageSource;

namespace
{

QList<ImageReadResult> readOnPool(const QString &fileName)
{
    return Brevlinder::Test::resultsFromPool(new ReadImageFileRunner(fileName), &ReadImageFileRunner::readFinished);
}

QByteArray encode(const QImage &image, const char *format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(100);
    return writer.write(image) ? data : QByteArray();
}

bool writeFile(const QString &fileName, const QByteArray &data)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xffffffff;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
        }
    }
    return ~crc;
}

QByteArray pngChunk(const QByteArray &type, const QByteArray &content)
{
    QByteArray length(4, '\0');
    qToBigEndian(quint32(content.size()), length.data());
    QByteArray crc(4, '\0');
    qToBigEndian(crc32(type + content), crc.data());
    return length + type + content + crc;
}

// A well-formed PNG that declares a grey image of the given size but carries only a few rows of it.
QByteArray pngDeclaring(quint32 width, quint32 height)
{
    QByteArray header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = 8; // bit depth
    header[9] = 0; // grey
    const QByteArray rows = qCompress(QByteArray(1024, '\0')).mid(4); // the zlib stream without Qt's length
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", rows) + pngChunk("IEND", {});
}

// A JPEG of @p image carrying an Exif orientation tag with the value @p orientation (1 to 8).
QByteArray jpegWithOrientation(const QImage &image, quint16 orientation)
{
    const QByteArray jpeg = encode(image, "jpeg");
    // Exif header, little-endian TIFF header, one IFD with the single entry 0x0112 (SHORT, 1 value).
    QByteArray exif("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 24);
    exif.append(char(orientation & 0xff)).append(char(orientation >> 8)).append(QByteArray(2, '\0'));
    exif.append(QByteArray(4, '\0')); // no further IFD
    QByteArray segment("\xff\xe1", 2);
    segment.append(char((exif.size() + 2) >> 8)).append(char((exif.size() + 2) & 0xff)).append(exif);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// Four quadrants of distinct colours in a wide image, so that every rotation and mirroring shows.
QImage quadrants()
{
    QImage image(64, 32, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, 32, 16, Qt::red);
    painter.fillRect(32, 0, 32, 16, Qt::green);
    painter.fillRect(0, 16, 32, 16, Qt::blue);
    painter.fillRect(32, 16, 32, 16, Qt::white);
    return image;
}

bool closeTo(QRgb actual, QRgb expected)
{
    constexpr int tolerance = 24;
    return qAbs(qRed(actual) - qRed(expected)) < tolerance && qAbs(qGreen(actual) - qGreen(expected)) < tolerance
        && qAbs(qBlue(actual) - qBlue(expected)) < tolerance;
}

}

class ReadImageFileRunnerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void testRead();
    void testNoImage_data();
    void testNoImage();
    void testAllocationLimit();
    void testOrientation_data();
    void testOrientation();

private:
    QTemporaryDir m_dir;
    QImage m_image;
    QString m_pngFileName;
};

void ReadImageFileRunnerTest::initTestCase()
{
    qRegisterMetaType<ImageReadResult>();
    QVERIFY(m_dir.isValid());
    m_image = QImage(320, 240, QImage::Format_RGB32);
    m_image.fill(Qt::darkCyan);
    m_pngFileName = m_dir.filePath(QStringLiteral("image.png"));
    QVERIFY(writeFile(m_pngFileName, encode(m_image, "png")));
}

void ReadImageFileRunnerTest::testRead()
{
    const QList<ImageReadResult> results = readOnPool(m_pngFileName);

    QCOMPARE(results.size(), 1);
    QVERIFY(results.first().isValid());
    QCOMPARE(results.first().image().convertToFormat(m_image.format()), m_image);
}

void ReadImageFileRunnerTest::testNoImage_data()
{
    QTest::addColumn<QString>("fileName");

    const QByteArray png = encode(m_image, "png");
    const auto addFile = [this](const char *name, const QByteArray &data) {
        const QString fileName = m_dir.filePath(QString::fromLatin1(name));
        QVERIFY(writeFile(fileName, data));
        QTest::newRow(name) << fileName;
    };

    QTest::newRow("missing") << m_dir.filePath(QStringLiteral("missing.png"));
    QTest::newRow("directory") << m_dir.path();
    addFile("empty", {});
    addFile("not an image", QByteArrayLiteral("This is text, not an image.\n"));
    addFile("truncated png", png.left(png.size() / 2));
    QByteArray corrupt = png;
    corrupt.replace(60, corrupt.size() - 80, QByteArray(corrupt.size() - 80, '\x5a'));
    addFile("corrupt png", corrupt);
    // Far beyond Qt's allocation limit: refused from the header, before anything is allocated.
    addFile("png of 100000 x 100000 pixels", pngDeclaring(100000, 100000));
}

void ReadImageFileRunnerTest::testNoImage()
{
    QFETCH(QString, fileName);

    const QList<ImageReadResult> results = readOnPool(fileName);

    QCOMPARE(results.size(), 1);
    QVERIFY(!results.first().isValid());
    QVERIFY(results.first().image().isNull());
}

void ReadImageFileRunnerTest::testAllocationLimit()
{
    // A complete, valid image that needs more memory than the reader may allocate.
    const int defaultLimit = QImageReader::allocationLimit();
    QImage large(1024, 1024, QImage::Format_RGB32);
    large.fill(Qt::gray);
    const QString fileName = m_dir.filePath(QStringLiteral("large.png"));
    QVERIFY(writeFile(fileName, encode(large, "png")));

    QImageReader::setAllocationLimit(1);
    const QList<ImageReadResult> results = readOnPool(fileName);
    QImageReader::setAllocationLimit(defaultLimit);

    QCOMPARE(results.size(), 1);
    QVERIFY(!results.first().isValid());
    QVERIFY(results.first().image().isNull());
}

void ReadImageFileRunnerTest::testOrientation_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QImage>("stored");
    QTest::addColumn<int>("transformation");

    // What a camera stores, and the tag that says how to turn it upright.
    const QImage upright = quadrants();
    QTest::newRow("upright") << 1 << upright << int(QImageIOHandler::TransformationNone);
    QTest::newRow("mirrored") << 2 << upright.mirrored(true, false) << int(QImageIOHandler::TransformationMirror);
    QTest::newRow("upside down") << 3 << upright.transformed(QTransform().rotate(180)) << int(QImageIOHandler::TransformationRotate180);
    QTest::newRow("turned left") << 6 << upright.transformed(QTransform().rotate(-90)) << int(QImageIOHandler::TransformationRotate90);
    QTest::newRow("turned right") << 8 << upright.transformed(QTransform().rotate(90)) << int(QImageIOHandler::TransformationRotate270);
}

void ReadImageFileRunnerTest::testOrientation()
{
    QFETCH(int, orientation);
    QFETCH(QImage, stored);
    QFETCH(int, transformation);

    const QByteArray jpeg = jpegWithOrientation(stored, quint16(orientation));
    QBuffer buffer;
    buffer.setData(jpeg);
    QCOMPARE(int(QImageReader(&buffer).transformation()), transformation);
    const QString fileName = m_dir.filePath(QStringLiteral("orientation%1.jpg").arg(orientation));
    QVERIFY(writeFile(fileName, jpeg));

    const QList<ImageReadResult> results = readOnPool(fileName);

    QCOMPARE(results.size(), 1);
    QVERIFY(results.first().isValid());
    const QImage image = results.first().image();
    const QImage upright = quadrants();
    QCOMPARE(image.size(), upright.size());
    for (const QPoint point : {QPoint(16, 8), QPoint(48, 8), QPoint(16, 24), QPoint(48, 24)}) {
        QVERIFY2(closeTo(image.pixel(point), upright.pixel(point)), qPrintable(QStringLiteral("at %1, %2").arg(point.x()).arg(point.y())));
    }
}

QTEST_MAIN(ReadImageFileRunnerTest)

#include "readimagefilerunnertest.moc"
