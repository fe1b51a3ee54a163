// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "tool.h"
#include "codeimages.h"
#include "scanrecorder.h"
#include "scanresult.h"

#include <KMessageWidget>

#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

using Brevlinder::ScanResult;
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
};

QTEST_MAIN(ToolTest)

#include "tooltest.moc"
