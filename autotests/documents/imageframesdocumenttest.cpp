// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "imageframesdocument.h"
#include "documentfiles.h"
#include "scanimagerunner.h"

#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrentRun>

#include <memory>

using namespace Brevlinder;
using Brevlinder::Documents::ImageFramesDocument;

namespace
{
const QStringList texts{QStringLiteral("frame one"), QStringLiteral("frame two"), QStringLiteral("frame six")};
}

class ImageFramesDocumentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void testPages_data();
    void testPages();
    void testOrientation();
    void testPagesFromTwoThreads();

private:
    QTemporaryDir m_dir;
};

void ImageFramesDocumentTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void ImageFramesDocumentTest::testPages_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QByteArray>("format");
    // The order the pages are asked for, from 0.
    QTest::addColumn<QList<int>>("order");

    const QList<int> inOrder{0, 1, 2};
    const QList<int> backAndForth{2, 0, 2, 1, 1, 0, 2};
    QTest::newRow("tiff, in order") << QStringLiteral("tif") << QByteArray("tiff") << inOrder;
    QTest::newRow("tiff, back and forth") << QStringLiteral("tif") << QByteArray("tiff") << backAndForth;
    QTest::newRow("gif, in order") << QStringLiteral("gif") << QByteArray("gif") << inOrder;
    QTest::newRow("gif, back and forth") << QStringLiteral("gif") << QByteArray("gif") << backAndForth;
}

void ImageFramesDocumentTest::testPages()
{
    QFETCH(QString, suffix);
    QFETCH(QByteArray, format);
    QFETCH(QList<int>, order);
    const QString fileName = m_dir.filePath(QStringLiteral("codes.") + suffix);
    if (!QFile::exists(fileName)) {
        QVERIFY(Test::imagesOfCodes(fileName, texts));
    }
    const QByteArray data = Test::fileContents(fileName);
    QCOMPARE(QImageReader(fileName, format).imageCount(), 3);

    ImageFramesDocument document(data, format, 3);

    QCOMPARE(document.pageCount(), 3);
    for (const int index : order) {
        QCOMPARE(scanImage(document.page(index)).text(), texts.at(index));
    }
    QVERIFY(document.page(3).isNull());
    QVERIFY(document.page(-1).isNull());
    // The end of the pages leaves the reader able to read them all again.
    QCOMPARE(scanImage(document.page(1)).text(), texts.at(1));
}

void ImageFramesDocumentTest::testOrientation()
{
    // Pages scanned on their side carry the turn in a tag, as photos do; every page comes upright.
    QImage wide(200, 100, QImage::Format_Grayscale8);
    wide.fill(Qt::white);
    const QString png = m_dir.filePath(QStringLiteral("wide.png"));
    QVERIFY(wide.save(png));
    const QString fileName = m_dir.filePath(QStringLiteral("turned.tif"));
    QVERIFY(Test::runTool(QStringLiteral("convert"), {png, png, QStringLiteral("-orient"), QStringLiteral("RightTop"), fileName}));
    ImageFramesDocument document(Test::fileContents(fileName), "tiff", 2);

    QCOMPARE(document.page(0).size(), QSize(100, 200));
    QCOMPARE(document.page(1).size(), QSize(100, 200));
}

void ImageFramesDocumentTest::testPagesFromTwoThreads()
{
    // The reading of every page and the showing of one run on two pool threads at once, over one reader.
    const QString fileName = m_dir.filePath(QStringLiteral("codes.gif"));
    if (!QFile::exists(fileName)) {
        QVERIFY(Test::imagesOfCodes(fileName, texts));
    }
    ImageFramesDocument document(Test::fileContents(fileName), "gif", 3);
    const auto readPages = [&document](QList<int> order) {
        QStringList read;
        for (int round = 0; round < 20; ++round) {
            for (const int index : order) {
                read += scanImage(document.page(index)).text();
            }
        }
        return read;
    };
    const auto expected = [](QList<int> order) {
        QStringList read;
        for (int round = 0; round < 20; ++round) {
            for (const int index : order) {
                read += texts.at(index);
            }
        }
        return read;
    };

    QFuture<QStringList> forward = QtConcurrent::run(readPages, QList<int>{0, 1, 2});
    QFuture<QStringList> backward = QtConcurrent::run(readPages, QList<int>{2, 1, 0});

    QCOMPARE(forward.result(), expected({0, 1, 2}));
    QCOMPARE(backward.result(), expected({2, 1, 0}));
}

QTEST_MAIN(ImageFramesDocumentTest)

#include "imageframesdocumenttest.moc"
