// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "readimagefilerunner.h"
#include "documentfiles.h"
#include "imagereadresult.h"
#include "pageddocument.h"
#include "poolresults.h"
#include "scanimagerunner.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QtEndian>

using namespace Brevlinder::ImageSource;

namespace
{

QList<ImageReadResult> readOnPool(const QString &fileName, const QString &mimeTypeHint = QString())
{
    return Brevlinder::Test::resultsFromPool(new ReadImageFileRunner(fileName, mimeTypeHint), &ReadImageFileRunner::readFinished);
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
QByteArray pngDeclaring(quint32 width, quint32 height, char bitDepth = 8)
{
    QByteArray header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = bitDepth;
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

// An uncompressed true-colour TGA of 2 × 2 pixels, top row first. The format has no signature: only the
// file name or a MIME type tell it from other data.
QByteArray smallTga()
{
    QByteArray tga(18, '\0');
    tga[2] = 2; // uncompressed true colour
    tga[12] = 2; // width
    tga[14] = 2; // height
    tga[16] = 24; // bits per pixel
    tga[17] = 0x20; // top left origin
    tga.append("\x00\x00\xff" "\x00\xff\x00" "\xff\x00\x00" "\xff\xff\xff", 12); // blue green red
    return tga;
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
    void init();
    void testRead();
    void testNoImage_data();
    void testNoImage();
    void testAllocationLimit();
    void testFirstPageBeyondTheLimit();
    void testMimeTypeHint_data();
    void testMimeTypeHint();
    void testOrientation_data();
    void testOrientation();
    void testDocument_data();
    void testDocument();

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

void ReadImageFileRunnerTest::init()
{
    // Plugins that are asked about data not theirs complain on the terminal; the reader asks the right one.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("canRead\\(\\)")));
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
    // What the result gives as the reason, a pattern.
    QTest::addColumn<QString>("reason");

    const QByteArray png = encode(m_image, "png");
    const auto addFile = [this](const char *name, const QByteArray &data, const QString &reason) {
        const QString fileName = m_dir.filePath(QString::fromLatin1(name));
        QVERIFY(writeFile(fileName, data));
        QTest::newRow(name) << fileName << reason;
    };

    QTest::newRow("missing") << m_dir.filePath(QStringLiteral("missing.png")) << QStringLiteral("^No such file or directory$");
    QTest::newRow("directory") << m_dir.path() << QStringLiteral("^It is a folder, not a file\\.$");
    addFile("empty", {}, QStringLiteral("^It is empty\\.$"));
    addFile("not an image", QByteArrayLiteral("This is text, not an image.\n"), QStringLiteral("^It is text, not an image\\.$"));
    addFile("short text named .png", QByteArrayLiteral("hi\n"), QStringLiteral("^It is text, not an image\\.$"));
    addFile("binary, not an image", QByteArray(32, '\x01') + QByteArray(32, '\xfe'), QStringLiteral(".+"));
    addFile("truncated png", png.left(png.size() / 2), QStringLiteral("^Unable to read image data$"));
    QByteArray corrupt = png;
    corrupt.replace(60, corrupt.size() - 80, QByteArray(corrupt.size() - 80, '\x5a'));
    addFile("corrupt png", corrupt, QStringLiteral("^Unable to read image data$"));
    // Far beyond Qt's allocation limit: refused from the header, before anything is allocated.
    addFile("png of 100000 x 100000 pixels", pngDeclaring(100000, 100000), QStringLiteral("^The image is 100.?000 × 100.?000 pixels, too large to load\\.$"));
    // Small enough for Qt at one bit a pixel, but four bytes a pixel for the decoder overflow its offsets.
    addFile("1-bit png of 40000 x 40000 pixels", pngDeclaring(40000, 40000, 1), QStringLiteral("^The image is 40.?000 × 40.?000 pixels, too large to load\\.$"));

    addFile("empty pdf.pdf", {}, QStringLiteral("^It is empty\\.$"));
    addFile("damaged pdf", QByteArray("%PDF-1.4\n" + QByteArray(500, '\x5a')), QStringLiteral("^The document is damaged and cannot be read\\.$"));
    const QByteArray pdf = Brevlinder::Test::pdfOfCodes({QStringLiteral("locked away")});
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("plain.pdf")), pdf));
    const QString locked = m_dir.filePath(QStringLiteral("protected pdf"));
    QVERIFY(Brevlinder::Test::passwordProtectedCopy(m_dir.filePath(QStringLiteral("plain.pdf")), locked));
    QTest::newRow("protected pdf") << locked << QStringLiteral("^The document is protected by a password\\.$");
    const QString noPages = m_dir.filePath(QStringLiteral("pdf without pages"));
    QVERIFY(Brevlinder::Test::runTool(QStringLiteral("qpdf"), {QStringLiteral("--empty"), noPages}));
    QTest::newRow("pdf without pages") << noPages << QStringLiteral("^The document has no pages\\.$");
}

void ReadImageFileRunnerTest::testNoImage()
{
    QFETCH(QString, fileName);
    QFETCH(QString, reason);

    const QList<ImageReadResult> results = readOnPool(fileName);

    QCOMPARE(results.size(), 1);
    QVERIFY(!results.first().isValid());
    QVERIFY(results.first().image().isNull());
    QVERIFY2(QRegularExpression(reason).match(results.first().errorString()).hasMatch(), qPrintable(results.first().errorString()));
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
    QVERIFY2(QRegularExpression(QStringLiteral("^The image is 1.?024 × 1.?024 pixels, too large to load\\.$")).match(results.first().errorString()).hasMatch(),
             qPrintable(results.first().errorString()));
}

void ReadImageFileRunnerTest::testFirstPageBeyondTheLimit()
{
    // A page of 200 × 200 inches does not fit into a megabyte at any resolution that shows a code.
    const int defaultLimit = QImageReader::allocationLimit();
    const QString fileName = m_dir.filePath(QStringLiteral("large page.pdf"));
    QVERIFY(writeFile(fileName, Brevlinder::Test::pdfOfCodes({QStringLiteral("too large")}, QPageSize(QSizeF(14400, 14400), QPageSize::Point))));

    QImageReader::setAllocationLimit(1);
    const QList<ImageReadResult> results = readOnPool(fileName);
    QImageReader::setAllocationLimit(defaultLimit);

    QCOMPARE(results.size(), 1);
    QVERIFY(!results.first().isValid());
    QVERIFY(!results.first().document());
    QCOMPARE(results.first().errorString(), QStringLiteral("The first page of the document cannot be shown."));
}

void ReadImageFileRunnerTest::testMimeTypeHint_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("mimeTypeHint");
    QTest::addColumn<bool>("valid");

    const QByteArray png = encode(m_image, "png");
    // Downloads land in files without a suffix; only the server's MIME type names a format without signature.
    QTest::newRow("tga, told by the server") << smallTga() << QStringLiteral("image/x-tga") << true;
    QTest::newRow("tga, told by an alias") << smallTga() << QStringLiteral("image/targa") << true;
    // The data's own signature outweighs what a server claims.
    QTest::newRow("png, said to be jpeg") << png << QStringLiteral("image/jpeg") << true;
    QTest::newRow("png, said to be text") << png << QStringLiteral("text/html") << true;
    QTest::newRow("png, unknown type") << png << QStringLiteral("no/such-type") << true;
    QTest::newRow("text, said to be png") << QByteArrayLiteral("<html>Not found</html>\n") << QStringLiteral("image/png") << false;
}

void ReadImageFileRunnerTest::testMimeTypeHint()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, mimeTypeHint);
    QFETCH(bool, valid);
    const QString fileName = m_dir.filePath(QStringLiteral("download"));
    QVERIFY(writeFile(fileName, data));

    const QList<ImageReadResult> results = readOnPool(fileName, mimeTypeHint);

    QCOMPARE(results.size(), 1);
    QCOMPARE(results.first().isValid(), valid);
    if (valid) {
        QVERIFY(!results.first().image().isNull());
    } else {
        QVERIFY(!results.first().errorString().isEmpty());
    }
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

void ReadImageFileRunnerTest::testDocument_data()
{
    QTest::addColumn<QString>("fileName");
    // The texts of the codes on the pages.
    QTest::addColumn<QStringList>("pageTexts");
    // Whether it is read as a document of pages, not as a plain image.
    QTest::addColumn<bool>("document");

    const QStringList fourPages{QStringLiteral("first page"), QString(), QStringLiteral("third page"), QString()};
    const QString pdf = m_dir.filePath(QStringLiteral("pages.pdf"));
    QVERIFY(writeFile(pdf, Brevlinder::Test::pdfOfCodes(fourPages)));
    QTest::newRow("pdf of 4 pages") << pdf << fourPages << true;
    // Its signature tells a PDF file whatever its name.
    const QString misnamed = m_dir.filePath(QStringLiteral("pages.png"));
    QVERIFY(writeFile(misnamed, Brevlinder::Test::pdfOfCodes(fourPages)));
    QTest::newRow("pdf named .png") << misnamed << fourPages << true;
    const QString onePage = m_dir.filePath(QStringLiteral("one page.pdf"));
    QVERIFY(writeFile(onePage, Brevlinder::Test::pdfOfCodes({QStringLiteral("the only page")})));
    QTest::newRow("pdf of 1 page") << onePage << QStringList{QStringLiteral("the only page")} << true;

    const QStringList threeFrames{QStringLiteral("frame 1"), QStringLiteral("frame 2"), QStringLiteral("frame 3")};
    for (const QString &suffix : {QStringLiteral("tif"), QStringLiteral("gif")}) {
        const QString frames = m_dir.filePath(QStringLiteral("frames.") + suffix);
        QVERIFY(Brevlinder::Test::imagesOfCodes(frames, threeFrames));
        QTest::newRow(qPrintable(suffix + QStringLiteral(" of 3 images"))) << frames << threeFrames << true;
        const QString single = m_dir.filePath(QStringLiteral("single.") + suffix);
        QVERIFY(Brevlinder::Test::imagesOfCodes(single, {QStringLiteral("one image")}));
        QTest::newRow(qPrintable(suffix + QStringLiteral(" of 1 image"))) << single << QStringList{QStringLiteral("one image")} << false;
    }
}

void ReadImageFileRunnerTest::testDocument()
{
    QFETCH(QString, fileName);
    QFETCH(QStringList, pageTexts);
    QFETCH(bool, document);

    const QList<ImageReadResult> results = readOnPool(fileName);

    QCOMPARE(results.size(), 1);
    const ImageReadResult &result = results.first();
    QVERIFY2(result.isValid(), qPrintable(result.errorString()));
    QCOMPARE(Brevlinder::scanImage(result.image()).text(), pageTexts.first());
    if (!document) {
        QVERIFY(!result.document());
        return;
    }
    QVERIFY(result.document());
    QCOMPARE(result.document()->pageCount(), pageTexts.size());
    for (int index = pageTexts.size() - 1; index >= 0; --index) {
        QCOMPARE(Brevlinder::scanImage(result.document()->page(index)).text(), pageTexts.at(index));
    }
}

QTEST_MAIN(ReadImageFileRunnerTest)

#include "readimagefilerunnertest.moc"
