// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "pdfdocument.h"
#include "documentfiles.h"
#include "scanimagerunner.h"

#include <QImageReader>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrentRun>

#include <limits>

using namespace Brevlinder;
using Brevlinder::Documents::PdfDocument;

namespace
{

const QStringList pageTexts{QStringLiteral("the code on page one"), QString(), QStringLiteral("the code on page three"), QString()};

// A4 at 300 dpi: 210 × 297 mm.
const QSize a4At300Dpi(2480, 3508);

bool isWhite(const QImage &image, QPoint point)
{
    return image.pixel(point) == qRgb(255, 255, 255);
}

}

class PdfDocumentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void testPages();
    void testPagesFromTwoThreads();
    void testOpenFailure_data();
    void testOpenFailure();
    void testRenderResolution_data();
    void testRenderResolution();
    void testPageBeyondTheLimit();

private:
    QTemporaryDir m_dir;
    QByteArray m_pdf;
};

void PdfDocumentTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_pdf = Test::pdfOfCodes(pageTexts);
    QVERIFY(m_pdf.startsWith("%PDF-"));
}

void PdfDocumentTest::testPages()
{
    const PdfDocument::Opened opened = PdfDocument::open(m_pdf);
    QVERIFY(opened.document);
    QVERIFY(opened.failure.isEmpty());
    QCOMPARE(opened.document->pageCount(), 4);

    for (int index = 0; index < pageTexts.size(); ++index) {
        const QImage page = opened.document->page(index);
        QVERIFY(!page.isNull());
        // About 300 dpi, in a layout the decoder reads in place, on opaque white paper.
        QVERIFY2(qAbs(page.width() - a4At300Dpi.width()) <= 2 && qAbs(page.height() - a4At300Dpi.height()) <= 2,
                 qPrintable(QStringLiteral("%1 × %2").arg(page.width()).arg(page.height())));
        QVERIFY(page.format() == QImage::Format_RGB32 || page.format() == QImage::Format_ARGB32);
        QVERIFY(isWhite(page, QPoint(page.width() - 1, page.height() - 1)));
        const ScanResult scanResult = scanImage(page);
        QCOMPARE(scanResult.isValid(), !pageTexts.at(index).isEmpty());
        QCOMPARE(scanResult.text(), pageTexts.at(index));
    }
    QVERIFY(opened.document->page(-1).isNull());
    QVERIFY(opened.document->page(4).isNull());
}

void PdfDocumentTest::testPagesFromTwoThreads()
{
    // The reading of every page and the showing of one run on two pool threads at once.
    const std::shared_ptr<PdfDocument> document = PdfDocument::open(m_pdf).document;
    QVERIFY(document);
    const auto readPage = [document](int index) {
        QStringList texts;
        for (int round = 0; round < 6; ++round) {
            texts += scanImage(document->page(index)).text();
        }
        return texts;
    };
    QFuture<QStringList> first = QtConcurrent::run(readPage, 0);
    QFuture<QStringList> third = QtConcurrent::run(readPage, 2);
    QCOMPARE(first.result(), QStringList(6, pageTexts.at(0)));
    QCOMPARE(third.result(), QStringList(6, pageTexts.at(2)));
}

void PdfDocumentTest::testOpenFailure_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason");

    const QString plain = m_dir.filePath(QStringLiteral("plain.pdf"));
    QFile plainFile(plain);
    QVERIFY(plainFile.open(QIODevice::WriteOnly) && plainFile.write(m_pdf) == m_pdf.size());
    plainFile.close();
    const QString locked = m_dir.filePath(QStringLiteral("locked.pdf"));
    QVERIFY(Test::passwordProtectedCopy(plain, locked));
    const QString empty = m_dir.filePath(QStringLiteral("no pages.pdf"));
    QVERIFY(Test::runTool(QStringLiteral("qpdf"), {QStringLiteral("--empty"), empty}));

    QTest::newRow("protected by a password") << Test::fileContents(locked) << QStringLiteral("The document is protected by a password.");
    QTest::newRow("garbage after the header") << QByteArray("%PDF-1.4\n" + QByteArray(2000, '\x5a'))
                                              << QStringLiteral("The document is damaged and cannot be read.");
    QTest::newRow("only the header") << QByteArray("%PDF-1.4\n") << QStringLiteral("The document is damaged and cannot be read.");
    QTest::newRow("no pages") << Test::fileContents(empty) << QStringLiteral("The document has no pages.");
}

void PdfDocumentTest::testOpenFailure()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);
    QVERIFY(!data.isEmpty());

    const PdfDocument::Opened opened = PdfDocument::open(data);

    QVERIFY(!opened.document);
    QCOMPARE(opened.failure.toString(), reason);
}

void PdfDocumentTest::testRenderResolution_data()
{
    QTest::addColumn<QSizeF>("pointSize");
    // Qt's allocation limit in megabytes; 0 for none.
    QTest::addColumn<int>("limitMegabytes");
    QTest::addColumn<bool>("preferred");

    const QSizeF a4 = QPageSize(QPageSize::A4).sizePoints();
    // The largest page that a PDF file can describe: 200 inches a side.
    const QSizeF largest(14400, 14400);
    QTest::newRow("A4") << a4 << 256 << true;
    QTest::newRow("A4, under a low limit") << a4 << 8 << false;
    QTest::newRow("largest page") << largest << 256 << false;
    QTest::newRow("largest page, no limit but the decoder's") << largest << 0 << false;
}

void PdfDocumentTest::testRenderResolution()
{
    QFETCH(QSizeF, pointSize);
    QFETCH(int, limitMegabytes);
    QFETCH(bool, preferred);
    const int savedLimit = QImageReader::allocationLimit();
    const auto restoreLimit = qScopeGuard([savedLimit] {
        QImageReader::setAllocationLimit(savedLimit);
    });
    QImageReader::setAllocationLimit(limitMegabytes);

    const double resolution = PdfDocument::renderResolution(pointSize);

    QVERIFY(resolution > 0);
    QCOMPARE(resolution == 300, preferred);
    const qint64 pixels = qint64(std::ceil(pointSize.width() * resolution / 72) + 1) * qint64(std::ceil(pointSize.height() * resolution / 72) + 1);
    const qint64 limitBytes = limitMegabytes > 0 ? qint64(limitMegabytes) << 20 : std::numeric_limits<int>::max();
    QVERIFY2(pixels * 4 <= limitBytes, qPrintable(QString::number(resolution)));
    // Lowered no further than needed.
    QVERIFY2(preferred || pixels * 4 > limitBytes * 0.8, qPrintable(QString::number(resolution)));
}

void PdfDocumentTest::testPageBeyondTheLimit()
{
    const int savedLimit = QImageReader::allocationLimit();
    const auto restoreLimit = qScopeGuard([savedLimit] {
        QImageReader::setAllocationLimit(savedLimit);
    });
    const std::shared_ptr<PdfDocument> document = PdfDocument::open(Test::pdfOfCodes({QStringLiteral("still read")}, QPageSize(QPageSize::A4), 8)).document;
    QVERIFY(document);
    const std::shared_ptr<PdfDocument> largest =
        PdfDocument::open(Test::pdfOfCodes({QStringLiteral("too large")}, QPageSize(QSizeF(14400, 14400), QPageSize::Point))).document;
    QVERIFY(largest);

    // Rendered smaller, and still read.
    QImageReader::setAllocationLimit(8);
    const QImage smaller = document->page(0);
    QVERIFY(!smaller.isNull());
    QVERIFY(smaller.sizeInBytes() <= 8 << 20);
    QCOMPARE(scanImage(smaller).text(), QStringLiteral("still read"));

    // Not even the coarsest rendering fits: no image, and the document renders again once it fits.
    QImageReader::setAllocationLimit(1);
    QVERIFY(largest->page(0).isNull());
    QImageReader::setAllocationLimit(16);
    QVERIFY(!largest->page(0).isNull());
}

QTEST_MAIN(PdfDocumentTest)

#include "pdfdocumenttest.moc"
