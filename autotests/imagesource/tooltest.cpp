// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "tool.h"
#include "codeimages.h"
#include "loadimagejob.h"
#include "imageview.h"
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

QImage blankImage()
{
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
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
        QVERIFY(!tool.widget()->isEnabled());

        QTRY_COMPARE(scans.count(), 1);
        QVERIFY(tool.widget()->isEnabled());
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

    void failedLoadShowsTheErrorAndEmitsNothing()
    {
        QTemporaryDir directory;
        const QUrl missing = QUrl::fromLocalFile(directory.filePath(QStringLiteral("missing.png")));

        Tool tool;
        ScanRecorder scans(tool);
        tool.load(missing);
        QTRY_VERIFY(tool.widget()->isEnabled());
        drainScans();

        QCOMPARE(scans.count(), 0);
        QCOMPARE(messageWidget(tool)->messageType(), KMessageWidget::Error);
        QCOMPARE(messageWidget(tool)->text(), QStringLiteral("Could not load image from file %1. No such file or directory").arg(missing.toDisplayString()));
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

    // A read started before the window was built is taken over by the load for the same URL: one result,
    // the same messages as any load.
    void earlyLoadIsTakenOver()
    {
        QTemporaryDir directory;
        const QString fileName = directory.filePath(QStringLiteral("early.png"));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("read early")).save(fileName));
        const QUrl url = QUrl::fromLocalFile(fileName);

        LoadImageJob::startEarly(url);
        QCOMPARE(LoadImageJob::takeEarlyJob(QUrl::fromLocalFile(directory.filePath(QStringLiteral("other.png")))), nullptr);
        Tool tool;
        ScanRecorder scans(tool);
        tool.load(url);
        QVERIFY(!tool.widget()->isEnabled());
        QCOMPARE(LoadImageJob::takeEarlyJob(url), nullptr);

        QTRY_COMPARE(scans.count(), 1);
        drainScans();
        QCOMPARE(scans.count(), 1);
        QVERIFY(tool.widget()->isEnabled());
        QCOMPARE(scans.results.at(0).text(), QStringLiteral("read early"));
        QCOMPARE(messageWidget(tool)->text(), QStringLiteral("Code in the image successfully scanned."));
    }

    // An early read that nobody takes over ends on its own; a later load of its URL reads afresh. Downloads are
    // not started early.
    void untakenEarlyLoadEnds()
    {
        QTemporaryDir directory;
        const QString fileName = directory.filePath(QStringLiteral("untaken.png"));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("untaken")).save(fileName));
        const QUrl url = QUrl::fromLocalFile(fileName);

        LoadImageJob::startEarly(QUrl(QStringLiteral("http://127.0.0.1:9/code.png")));
        QCOMPARE(LoadImageJob::takeEarlyJob(QUrl(QStringLiteral("http://127.0.0.1:9/code.png"))), nullptr);

        LoadImageJob::startEarly(url);
        drainScans();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(LoadImageJob::takeEarlyJob(url), nullptr);

        Tool tool;
        ScanRecorder scans(tool);
        tool.load(url);
        QTRY_COMPARE(scans.count(), 1);
        QCOMPARE(scans.results.at(0).text(), QStringLiteral("untaken"));
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
