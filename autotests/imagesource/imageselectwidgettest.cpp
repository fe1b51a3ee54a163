// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "imageselectwidget.h"
#include "codeimages.h"
#include "imageview.h"
#include "scanrecorder.h"
#include "tool.h"

#include <KMessageWidget>

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QStackedLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <memory>

using Brevlinder::ImageSource::ImageSelectWidget;
using Brevlinder::ImageSource::ImageView;
using Brevlinder::ImageSource::Tool;
using Brevlinder::Test::ScanRecorder;

namespace
{
const QString noSuitableData = QStringLiteral("No suitable data on the clipboard.");

QImage codeImage(const QString &text)
{
    return Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, text);
}

std::unique_ptr<QMimeData> imageData(const QString &text)
{
    auto data = std::make_unique<QMimeData>();
    data->setImageData(codeImage(text));
    return data;
}

std::unique_ptr<QMimeData> urlData(const QList<QUrl> &urls)
{
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

std::unique_ptr<QMimeData> textData()
{
    auto data = std::make_unique<QMimeData>();
    data->setText(QStringLiteral("just words"));
    return data;
}

KMessageWidget *messageWidget(Tool &tool)
{
    return tool.widget()->findChild<KMessageWidget *>(QStringLiteral("messageWidget"));
}

QPushButton *pasteButton(Tool &tool)
{
    return tool.widget()->findChild<QPushButton *>(QStringLiteral("pasteFromClipboardButton"));
}

ImageSelectWidget *pickView(Tool &tool)
{
    return tool.widget()->findChild<ImageSelectWidget *>();
}

ImageView *imageView(Tool &tool)
{
    return tool.widget()->findChild<ImageView *>();
}

void settle(Tool &tool)
{
    QTRY_VERIFY(tool.widget()->isEnabled());
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// A drag that enters \p target, moves over it and is dropped, as Qt delivers it. Returns whether the drop was
// accepted; \p entered tells whether the drag was welcome on entering and moving.
bool dragAndDrop(QWidget *target, const QMimeData *data, bool *entered)
{
    const QPoint centre = target->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(centre, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    *entered = enter.isAccepted() && move.isAccepted();
    if (!*entered) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(target, &leave);
        return false;
    }
    QDropEvent drop(QPointF(centre), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}
}

class ImageSelectWidgetTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_directory.isValid());
        m_codeFile = QUrl::fromLocalFile(m_directory.filePath(QStringLiteral("code.png")));
        QVERIFY(codeImage(QStringLiteral("from the file")).save(m_codeFile.toLocalFile()));
        m_textFile = QUrl::fromLocalFile(m_directory.filePath(QStringLiteral("words.png")));
        QFile words(m_textFile.toLocalFile());
        QVERIFY(words.open(QIODevice::WriteOnly));
        words.write("these are words, not an image\n");
    }

    void formHasItsTexts()
    {
        Tool tool;
        tool.switchToPickView();
        QCOMPARE(pickView(tool)->objectName(), QStringLiteral("Brevlinder__ImageSource__ImageSelectWidget"));
        QCOMPARE(pickView(tool)->findChild<QPushButton *>(QStringLiteral("openFileButton"))->text(), QStringLiteral("Select a File"));
        QCOMPARE(pasteButton(tool)->text(), QStringLiteral("Paste from Clipboard"));
        QCOMPARE(pickView(tool)->findChild<QLabel *>(QStringLiteral("label"))->text(), QStringLiteral("or"));
        QCOMPARE(pickView(tool)->findChild<QLabel *>(QStringLiteral("dropMessage"))->text(), QStringLiteral("Drop an image here"));
        QVERIFY(pickView(tool)->acceptDrops());
    }

    // The button follows the clipboard by itself, with no action in the window.
    void pasteButtonFollowsTheClipboard()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("just words"));
        Tool tool;
        tool.switchToPickView();
        QVERIFY(!pasteButton(tool)->isEnabled());
        QCOMPARE(pasteButton(tool)->toolTip(), noSuitableData);

        QGuiApplication::clipboard()->setImage(codeImage(QStringLiteral("on the clipboard")));
        QTRY_VERIFY(pasteButton(tool)->isEnabled());
        QVERIFY(pasteButton(tool)->toolTip().isEmpty());

        QGuiApplication::clipboard()->setMimeData(urlData({m_codeFile, m_textFile}).release());
        QTRY_VERIFY(!pasteButton(tool)->isEnabled());
        QCOMPARE(pasteButton(tool)->toolTip(), noSuitableData);

        QGuiApplication::clipboard()->setMimeData(urlData({m_codeFile}).release());
        QTRY_VERIFY(pasteButton(tool)->isEnabled());
        QVERIFY(pasteButton(tool)->toolTip().isEmpty());
    }

    // The button and the paste key both load what the clipboard holds, here one URL.
    void pasteLoadsTheClipboard_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("button") << false;
        QTest::newRow("paste key") << true;
    }

    void pasteLoadsTheClipboard()
    {
        QFETCH(bool, byKey);
        QGuiApplication::clipboard()->setMimeData(urlData({m_codeFile}).release());
        Tool tool;
        ScanRecorder scans(tool);
        tool.switchToPickView();
        tool.widget()->show();
        QVERIFY(QTest::qWaitForWindowActive(tool.widget()));
        QTRY_VERIFY(pasteButton(tool)->isEnabled());

        if (byKey) {
            QTest::keySequence(tool.widget(), QKeySequence::Paste);
        } else {
            QTest::mouseClick(pasteButton(tool), Qt::LeftButton);
        }
        settle(tool);

        QCOMPARE(scans.count(), 1);
        QCOMPARE(scans.results.at(0).text(), QStringLiteral("from the file"));
        QVERIFY(!tool.isInPickView());
    }

    void pasteKeyDoesNothingWhileTheButtonIsDisabled()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("just words"));
        Tool tool;
        ScanRecorder scans(tool);
        tool.switchToPickView();
        tool.widget()->show();
        QVERIFY(QTest::qWaitForWindowActive(tool.widget()));
        QVERIFY(!pasteButton(tool)->isEnabled());

        QTest::keySequence(tool.widget(), QKeySequence::Paste);
        settle(tool);
        QCOMPARE(scans.count(), 0);
        QVERIFY(tool.isInPickView());
        QVERIFY(messageWidget(tool)->text().isEmpty());
    }

    void dragsWithUnusableDataAreRefused_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("text only") << 0;
        QTest::newRow("two URLs") << 1;
        QTest::newRow("no URL") << 2;
    }

    void dragsWithUnusableDataAreRefused()
    {
        QFETCH(int, kind);
        const std::unique_ptr<QMimeData> data = kind == 0 ? textData() : urlData(kind == 1 ? QList<QUrl>{m_codeFile, m_textFile} : QList<QUrl>{});
        Tool tool;
        ScanRecorder scans(tool);
        tool.switchToPickView();

        bool entered = true;
        QVERIFY(!dragAndDrop(pickView(tool), data.get(), &entered));
        QVERIFY(!entered);
        settle(tool);
        QVERIFY(tool.isInPickView());
        QCOMPARE(scans.count(), 0);
    }

    void droppedImageIsShownAtOnce()
    {
        Tool tool;
        ScanRecorder scans(tool);
        tool.switchToPickView();
        const std::unique_ptr<QMimeData> data = imageData(QStringLiteral("dropped"));

        bool entered = false;
        QVERIFY(dragAndDrop(pickView(tool), data.get(), &entered));
        QVERIFY(entered);
        QVERIFY(!tool.isInPickView());
        QVERIFY(tool.widget()->isEnabled());
        settle(tool);
        QCOMPARE(scans.count(), 1);
        QCOMPARE(scans.results.at(0).text(), QStringLiteral("dropped"));
    }

    void droppedUrlOfNoImageShowsTheErrorUnderThePickView()
    {
        Tool tool;
        ScanRecorder scans(tool);
        tool.switchToPickView();
        const std::unique_ptr<QMimeData> data = urlData({m_textFile});

        bool entered = false;
        QVERIFY(dragAndDrop(pickView(tool), data.get(), &entered));
        QVERIFY(!pickView(tool)->isEnabled());
        settle(tool);
        QCOMPARE(messageWidget(tool)->messageType(), KMessageWidget::Error);
        QVERIFY(messageWidget(tool)->text().startsWith(QStringLiteral("Could not load image from file %1.").arg(m_textFile.toDisplayString())));
        QVERIFY(tool.isInPickView());
        QVERIFY(pickView(tool)->isEnabled());
        // What showed before is cleared, as after a failed scan.
        QCOMPARE(scans.count(), 1);
        QVERIFY(!scans.results.at(0).isValid());
    }

    void dragLeaveIsAccepted()
    {
        Tool tool;
        tool.switchToPickView();
        QDragLeaveEvent leave;
        leave.setAccepted(false);
        QApplication::sendEvent(pickView(tool), &leave);
        QVERIFY(leave.isAccepted());
        QVERIFY(tool.isInPickView());
    }

    // After a scan a second image can be dropped on the shown image, unless drops there are off.
    void dropOnTheImageView_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::newRow("taken") << true;
        QTest::newRow("refused") << false;
    }

    void dropOnTheImageView()
    {
        QFETCH(bool, enabled);
        Tool tool;
        tool.setDropOnImageViewEnabled(enabled);
        ScanRecorder scans(tool);
        tool.scanImage(codeImage(QStringLiteral("first")));
        settle(tool);
        QCOMPARE(imageView(tool)->acceptDrops(), enabled);

        for (const auto &data : {imageData(QStringLiteral("second")), urlData({m_codeFile})}) {
            bool entered = !enabled;
            QCOMPARE(dragAndDrop(imageView(tool), data.get(), &entered), enabled);
            QCOMPARE(entered, enabled);
            settle(tool);
        }
        QStringList texts;
        for (const auto &result : std::as_const(scans.results)) {
            texts.append(result.text());
        }
        QCOMPARE(texts,
                 enabled ? QStringList({QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("from the file")})
                         : QStringList({QStringLiteral("first")}));

        const std::unique_ptr<QMimeData> unusable = textData();
        bool entered = true;
        QVERIFY(!dragAndDrop(imageView(tool), unusable.get(), &entered));
        QVERIFY(!entered);
    }

private:
    QTemporaryDir m_directory;
    QUrl m_codeFile;
    QUrl m_textFile;
};

QTEST_MAIN(ImageSelectWidgetTest)

#include "imageselectwidgettest.moc"
