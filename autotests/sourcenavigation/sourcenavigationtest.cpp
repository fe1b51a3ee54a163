// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "codeimages.h"
#include "imagesource/tool.h"
#include "scanrecorder.h"
#include "sourcenavigation/tool.h"

#include <QDialogButtonBox>
#include <QStackedLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using Brevlinder::Test::ScanRecorder;

class SourceNavigationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttonSitsInTheBox()
    {
        Brevlinder::ImageSource::Tool source;
        Brevlinder::SourceNavigation::Tool navigation(&source);
        QDialogButtonBox box;
        navigation.setupButtons(&box);

        const auto buttons = box.findChildren<QToolButton *>();
        QCOMPARE(buttons.size(), 1);
        QToolButton *button = buttons.constFirst();
        QCOMPARE(button->text(), QStringLiteral("Choose Another Source"));
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        QCOMPARE(box.buttonRole(button), QDialogButtonBox::ActionRole);
    }

    void startedOnThePickViewTheButtonWaitsForAnImage()
    {
        Brevlinder::ImageSource::Tool source;
        source.load(QUrl());
        Brevlinder::SourceNavigation::Tool navigation(&source);
        QDialogButtonBox box;
        navigation.setupButtons(&box);
        auto *button = box.findChild<QToolButton *>();
        QVERIFY(!button->isEnabled());

        source.scanImage(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("picked")));
        QVERIFY(button->isEnabled());
    }

    // Enabled while the image loads and after it shows; pressing it brings the same pick view back.
    void buttonBringsThePickViewBack()
    {
        QTemporaryDir directory;
        const QString fileName = directory.filePath(QStringLiteral("code.png"));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("first")).save(fileName));

        Brevlinder::ImageSource::Tool source;
        ScanRecorder scans(source);
        Brevlinder::SourceNavigation::Tool navigation(&source);
        QDialogButtonBox box;
        navigation.setupButtons(&box);
        auto *button = box.findChild<QToolButton *>();
        source.load(QUrl::fromLocalFile(fileName));
        QVERIFY(button->isEnabled());
        QTRY_COMPARE(scans.count(), 1);
        QVERIFY(button->isEnabled());

        button->click();
        QVERIFY(source.isInPickView());
        QVERIFY(!button->isEnabled());
        auto *stack = source.widget()->findChild<QStackedLayout *>(QStringLiteral("widgetStackLayout"));
        QWidget *pickView = stack->currentWidget();

        source.scanImage(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("second")));
        QVERIFY(button->isEnabled());
        button->click();
        QCOMPARE(stack->currentWidget(), pickView);
        QCOMPARE(stack->count(), 2);
        QVERIFY(!button->isEnabled());
    }
};

QTEST_MAIN(SourceNavigationTest)

#include "sourcenavigationtest.moc"
