// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "window.h"
#include "codeimages.h"
#include "imageselectwidget.h"
#include "imageview.h"

#include <KMessageWidget>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

using Brevlinder::Window;

namespace
{
struct WindowParts {
    KMessageWidget *message;
    QTextBrowser *display;
    QLabel *image;
};

WindowParts partsOf(Window &window)
{
    return {window.findChild<KMessageWidget *>(QStringLiteral("messageWidget")),
            window.findChild<QTextBrowser *>(QStringLiteral("plainTextView")),
            qobject_cast<QLabel *>(window.findChild<QScrollArea *>()->widget())};
}
}

class WindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_directory.isValid());
    }

    void codeImageIsShownScannedAndDisplayed()
    {
        const QString fileName = m_directory.filePath(QStringLiteral("code.png"));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("Hello  window")).save(fileName));

        auto *window = new Window(false);
        window->show();
        window->load(QUrl::fromLocalFile(fileName));
        const WindowParts parts = partsOf(*window);
        QVERIFY(parts.message && parts.display && parts.image);

        QTRY_COMPARE(parts.message->text(), QStringLiteral("Code in the image successfully scanned."));
        QCOMPARE(parts.message->messageType(), KMessageWidget::Positive);
        QVERIFY(!parts.image->pixmap().isNull());
        QVERIFY(parts.display->isEnabled());
        QCOMPARE(parts.display->toPlainText(), QStringLiteral("Hello  window"));
        delete window;
    }

    // A failed scan after a good one, in the same window, takes the old text away.
    void imageWithoutCodeClearsTheDisplay()
    {
        const QString codeFile = m_directory.filePath(QStringLiteral("code.png"));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("the first text")).save(codeFile));
        const QString fileName = m_directory.filePath(QStringLiteral("blank.png"));
        QImage blank(64, 64, QImage::Format_RGB32);
        blank.fill(Qt::white);
        QVERIFY(blank.save(fileName));

        Window window(true);
        window.show();
        const WindowParts parts = partsOf(window);
        window.load(QUrl::fromLocalFile(codeFile));
        QTRY_COMPARE(parts.display->toPlainText(), QStringLiteral("the first text"));
        QVERIFY(parts.display->isEnabled());

        window.load(QUrl::fromLocalFile(fileName));
        QTRY_COMPARE(parts.message->text(), QStringLiteral("Could not scan code in the image."));
        QCOMPARE(parts.message->messageType(), KMessageWidget::Error);
        QVERIFY(!parts.image->pixmap().isNull());
        QVERIFY(!parts.display->isEnabled());
        QVERIFY(parts.display->toPlainText().isEmpty());
    }

    void missingFileShowsTheLoadError()
    {
        const QUrl missing = QUrl::fromLocalFile(m_directory.filePath(QStringLiteral("missing.png")));
        Window window(false);
        window.show();
        window.load(missing);
        const WindowParts parts = partsOf(window);

        QTRY_COMPARE(parts.message->text(), QStringLiteral("Could not load image from file %1. No such file or directory").arg(missing.toDisplayString()));
        QCOMPARE(parts.message->messageType(), KMessageWidget::Error);
        QVERIFY(parts.image->pixmap().isNull());
        QVERIFY(!parts.display->isEnabled());
        QVERIFY(parts.display->toPlainText().isEmpty());
    }

    // Only in normal mode is there a way back to the pick view, and a drop on the shown image is taken.
    void navigationOnlyInNormalMode_data()
    {
        QTest::addColumn<bool>("oneScanMode");
        QTest::newRow("normal mode") << false;
        QTest::newRow("one-scan mode") << true;
    }

    void navigationOnlyInNormalMode()
    {
        QFETCH(bool, oneScanMode);
        Window window(oneScanMode);
        window.show();
        window.load(QUrl());

        QVERIFY(window.findChild<Brevlinder::ImageSource::ImageSelectWidget *>());
        QToolButton *navigation = nullptr;
        for (auto *button : window.findChildren<QToolButton *>()) {
            if (button->text() == QStringLiteral("Choose Another Source")) {
                navigation = button;
            }
        }
        QCOMPARE(navigation != nullptr, !oneScanMode);
        if (navigation) {
            QVERIFY(!navigation->isEnabled());
        }
        QCOMPARE(window.findChild<Brevlinder::ImageSource::ImageView *>()->acceptDrops(), !oneScanMode);
    }

    void closingDeletesTheWindowAndItsTools()
    {
        QPointer<Window> window = new Window(false);
        QPointer<QTextBrowser> display = partsOf(*window).display;
        QPointer<KMessageWidget> message = partsOf(*window).message;
        window->show();
        window->close();
        QTRY_VERIFY(window.isNull());
        QVERIFY(display.isNull());
        QVERIFY(message.isNull());
    }

private:
    QTemporaryDir m_directory;
};

QTEST_MAIN(WindowTest)

#include "windowtest.moc"
