// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "tool.h"
#include "codeimages.h"
#include "loadimagejob.h"
#include "imageview.h"
#include "pipedstandardinput.h"
#include "scanrecorder.h"
#include "scanresult.h"

#include <KMessageWidget>

#include <QGuiApplication>
#include <QImageWriter>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QToolButton>

using Brevlinder::ScanResult;
using Brevlinder::ImageSource::LoadImageJob;
using Brevlinder::ImageSource::Tool;
using Brevlinder::Test::ScanRecorder;

namespace
{
KMessageWidget *messageWidget(Tool &tool)
{
    return tool.widget()->findChild<KMessageWidget *>(QStringLiteral("messageWidget"));
}

Brevlinder::ImageSource::ImageView *imageView(Tool &tool)
{
    return tool.widget()->findChild<Brevlinder::ImageSource::ImageView *>();
}

QImage blankImage()
{
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The "Cancel" beside a loading message, if the message line shows one.
QToolButton *cancelButton(Tool &tool)
{
    for (auto *button : messageWidget(tool)->findChildren<QToolButton *>()) {
        if (button->text() == QStringLiteral("Cancel") && button->isVisible()) {
            return button;
        }
    }
    return nullptr;
}

// Lets every scan in flight finish and every queued result arrive.
void drainScans()
{
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}
}

class ToolTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadedImageIsShownThenScanned()
    {
        QTemporaryDir directory;
        const QString fileName = directory.filePath(QStringLiteral("code.png"));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("loaded & scanned")).save(fileName));

        Tool tool;
        ScanRecorder scans(tool);
        tool.load(QUrl::fromLocalFile(fileName));
        QVERIFY(!imageView(tool)->isEnabled());

        QTRY_COMPARE(scans.count(), 1);
        QVERIFY(imageView(tool)->isEnabled());
        const auto result = scans.results.at(0);
        QVERIFY(result.isValid());
        QCOMPARE(result.text(), QStringLiteral("loaded & scanned"));
        QCOMPARE(messageWidget(tool)->messageType(), KMessageWidget::Positive);
        QCOMPARE(messageWidget(tool)->text(), QStringLiteral("Code in the image successfully scanned."));
        QVERIFY(!tool.isInPickView());
    }

    void imageWithoutCodeReportsFailureAndStillEmits()
    {
        Tool tool;
        ScanRecorder scans(tool);
        tool.scanImage(blankImage());

        QTRY_COMPARE(scans.count(), 1);
        const auto result = scans.results.at(0);
        QVERIFY(!result.isValid());
        QVERIFY(result.text().isEmpty());
        QCOMPARE(messageWidget(tool)->messageType(), KMessageWidget::Error);
        QCOMPARE(messageWidget(tool)->text(), QStringLiteral("Could not scan code in the image."));
    }

    void nullImageIsScannedWithoutCrash()
    {
        Tool tool;
        ScanRecorder scans(tool);
        tool.scanImage(QImage());
        QTRY_COMPARE(scans.count(), 1);
        QVERIFY(!scans.results.at(0).isValid());
    }

    // A failed load leaves nothing of the image before: the view is empty and an invalid result clears the text
    // and the export tools, as a failed scan does.
    void failedLoadClearsTheImageBefore()
    {
        QTemporaryDir directory;
        const QUrl missing = QUrl::fromLocalFile(directory.filePath(QStringLiteral("missing.png")));

        Tool tool;
        ScanRecorder scans(tool);
        QStringList imageNames;
        connect(&tool, &Tool::imageNameChanged, &tool, [&imageNames](const QString &name) {
            imageNames.append(name);
        });
        tool.scanImage(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("before")), QStringLiteral("Clipboard"));
        QTRY_COMPARE(scans.count(), 1);
        const auto *label = imageView(tool)->findChild<QLabel *>();
        QVERIFY(!label->pixmap().isNull());

        tool.load(missing);
        QTRY_COMPARE(scans.count(), 2);
        drainScans();

        QCOMPARE(scans.count(), 2);
        QVERIFY(!scans.results.at(1).isValid());
        QVERIFY(label->pixmap().isNull());
        QVERIFY(imageView(tool)->isEnabled());
        QCOMPARE(imageNames, QStringList({QStringLiteral("Clipboard"), QString()}));
        QCOMPARE(messageWidget(tool)->messageType(), KMessageWidget::Error);
        QCOMPARE(messageWidget(tool)->text(), QStringLiteral("Could not load image from file %1. No such file or directory.").arg(missing.toDisplayString()));
    }

    void emptyUrlStartsNoLoad()
    {
        Tool tool;
        ScanRecorder scans(tool);
        tool.load(QUrl());
        QVERIFY(tool.widget()->isEnabled());
        drainScans();
        QCOMPARE(scans.count(), 0);
        QVERIFY(messageWidget(tool)->text().isEmpty());
    }

    // A scan overtaken by a newer image must not speak for the image on screen.
    void supersededScanIsDropped()
    {
        Tool tool;
        ScanRecorder scans(tool);
        tool.scanImage(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("old image")));
        tool.scanImage(blankImage());
        drainScans();

        QCOMPARE(scans.count(), 1);
        QVERIFY(!scans.results.at(0).isValid());
        QCOMPARE(messageWidget(tool)->text(), QStringLiteral("Could not scan code in the image."));
    }

    void everyScanOfTheLatestImageIsReported()
    {
        Tool tool;
        ScanRecorder scans(tool);
        const QImage image = Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("again"));
        tool.scanImage(image);
        QTRY_COMPARE(scans.count(), 1);
        tool.scanImage(image);
        QTRY_COMPARE(scans.count(), 2);
        QCOMPARE(scans.results.at(1).text(), QStringLiteral("again"));
    }

    // The scan follows the read on the pool at once: the start image is read and scanned while the GUI thread
    // is still busy building the window, and both arrive together once it is free.
    void scanStartsWithoutTheGuiThread()
    {
        QTemporaryDir directory;
        const QString fileName = directory.filePath(QStringLiteral("early.png"));
        // Large enough that its scan takes a while, so that a scan started only by the GUI thread is not done yet.
        const QImage code = Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("read early"), 40);
        QVERIFY(code.save(fileName));

        Tool tool;
        ScanRecorder scans(tool);
        tool.load(QUrl::fromLocalFile(fileName));
        // The GUI thread does nothing while the pool reads and scans.
        QThreadPool::globalInstance()->waitForDone();
        QCOMPARE(scans.count(), 0);

        QCoreApplication::sendPostedEvents();
        QCOMPARE(scans.count(), 1);
        QCOMPARE(scans.results.at(0).text(), QStringLiteral("read early"));
        QCOMPARE(messageWidget(tool)->text(), QStringLiteral("Code in the image successfully scanned."));
    }

    void cancelGoesBackToWhereTheUserWas_data()
    {
        QTest::addColumn<bool>("imageBefore");
        QTest::newRow("from the pick view") << false;
        QTest::newRow("from an image shown before") << true;
    }

    // Standard input that never ends: the user clicks "Cancel" beside the loading message, the read stops, and
    // the window is as it was before, without an error.
    void cancelGoesBackToWhereTheUserWas()
    {
        QFETCH(bool, imageBefore);
        const Brevlinder::Test::PipedStandardInput silentInput(QByteArray(), Brevlinder::Test::PipedStandardInput::WriterKeptOpen);
        Tool tool;
        tool.widget()->resize(480, 360);
        tool.widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(tool.widget()));
        ScanRecorder scans(tool);
        if (imageBefore) {
            tool.scanImage(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("before")));
            QTRY_COMPARE(scans.count(), 1);
        } else {
            tool.switchToPickView();
        }
        const QString messageBefore = messageWidget(tool)->text();
        const bool messageShownBefore = messageWidget(tool)->isVisible();
        const QPixmap pixmapBefore = imageView(tool)->findChild<QLabel *>()->pixmap();

        tool.load(QUrl(QStringLiteral("stdin:/")));
        QTRY_VERIFY(cancelButton(tool));
        QCOMPARE(messageWidget(tool)->text(), QStringLiteral("Loading image from stdin…"));
        QTest::mouseClick(cancelButton(tool), Qt::LeftButton);

        QCOMPARE(messageWidget(tool)->text(), messageBefore);
        QTRY_COMPARE(messageWidget(tool)->isVisible(), messageShownBefore);
        QVERIFY(!cancelButton(tool));
        QCOMPARE(tool.isInPickView(), !imageBefore);
        QVERIFY(imageView(tool)->isEnabled());
        QCOMPARE(imageView(tool)->findChild<QLabel *>()->pixmap().cacheKey(), pixmapBefore.cacheKey());
        // The read of standard input has given up.
        QVERIFY(QThreadPool::globalInstance()->waitForDone(30000));
        drainScans();
        QCOMPARE(scans.count(), imageBefore ? 1 : 0);
        QCOMPARE(messageWidget(tool)->text(), messageBefore);
    }

    // A phone's photo of 108 megapixels, far beyond Qt's default allocation limit, loads, is shown from a copy
    // no larger than the screen, and scans.
    void bigPhotoLoadsAndScans()
    {
        QTemporaryDir directory;
        const QString fileName = directory.filePath(QStringLiteral("photo.jpg"));
        const QString text = QStringLiteral("https://example.org/108-megapixels");
        {
            QImage photo(12000, 9000, QImage::Format_RGB32);
            photo.fill(QColor(180, 170, 150));
            QPainter painter(&photo);
            const QImage code = Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, text, 1);
            painter.drawImage(QRect(7000, 4000, 1200, 1200), code);
            painter.end();
            QImageWriter writer(fileName, "jpeg");
            writer.setQuality(85);
            QVERIFY2(writer.write(photo), qPrintable(writer.errorString()));
        }

        Tool tool;
        ScanRecorder scans(tool);
        tool.load(QUrl::fromLocalFile(fileName));
        // Decoding a photo this size takes seconds, and far longer under a sanitizer.
        QTRY_COMPARE_WITH_TIMEOUT(scans.count(), 1, 240000);

        QVERIFY(scans.results.at(0).isValid());
        QCOMPARE(scans.results.at(0).text(), text);
        QCOMPARE(messageWidget(tool)->text(), QStringLiteral("Code in the image successfully scanned."));
        const auto *view = tool.widget()->findChild<Brevlinder::ImageSource::ImageView *>();
        QVERIFY(view);
        const auto *label = view->findChild<QLabel *>();
        QVERIFY(label);
        QTRY_VERIFY(!label->pixmap().isNull());
        const QScreen *screen = QGuiApplication::primaryScreen();
        QVERIFY(label->pixmap().width() <= screen->size().width() * screen->devicePixelRatio());
        QVERIFY(label->pixmap().height() <= screen->size().height() * screen->devicePixelRatio());
    }
};

QTEST_MAIN(ToolTest)

#include "tooltest.moc"
