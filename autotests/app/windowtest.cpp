// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "window.h"
#include "codeimages.h"
#include "imageselectwidget.h"
#include "imageview.h"

#include <KMessageWidget>

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
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

QDialogButtonBox *buttonBoxOf(Window &window)
{
    return window.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"), Qt::FindDirectChildrenOnly);
}

// The export tools' buttons, clipboard first, in the order the button box holds them.
QList<QToolButton *> exportButtonsOf(Window &window)
{
    const QStringList texts{QStringLiteral("Copy Text to Clipboard"), QStringLiteral("Save Text As…")};
    QList<QToolButton *> found;
    for (QAbstractButton *button : buttonBoxOf(window)->buttons()) {
        auto *toolButton = qobject_cast<QToolButton *>(button);
        if (toolButton && texts.contains(toolButton->text())) {
            found.append(toolButton);
        }
    }
    return found;
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

    // A failed scan or a failed load after a good one, in the same window, takes the old text away and disables
    // the exports: nothing is copied or saved of a code that the user no longer looks at.
    void failureClearsTheDisplay_data()
    {
        QTest::addColumn<QString>("secondFile");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("imageShown");
        QTest::newRow("image without code") << QStringLiteral("blank.png") << QStringLiteral("Could not scan code in the image.") << true;
        QTest::newRow("text, not an image") << QStringLiteral("notes.png") << QStringLiteral("Could not load image from file %1. It is text, not an image.")
                                            << false;
    }

    void failureClearsTheDisplay()
    {
        QFETCH(QString, secondFile);
        QFETCH(QString, message);
        QFETCH(bool, imageShown);
        const QString codeFile = m_directory.filePath(QStringLiteral("code.png"));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("the first text")).save(codeFile));
        QImage blank(64, 64, QImage::Format_RGB32);
        blank.fill(Qt::white);
        QVERIFY(blank.save(m_directory.filePath(QStringLiteral("blank.png"))));
        QFile notes(m_directory.filePath(QStringLiteral("notes.png")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("a shopping list, not a picture\n");
        notes.close();
        const QUrl secondUrl = QUrl::fromLocalFile(m_directory.filePath(secondFile));

        Window window(true);
        window.show();
        const WindowParts parts = partsOf(window);
        const QList<QToolButton *> exportButtons = exportButtonsOf(window);
        QCOMPARE(exportButtons.size(), 2);
        for (const QToolButton *button : exportButtons) {
            QVERIFY(!button->isEnabled());
        }

        window.load(QUrl::fromLocalFile(codeFile));
        QTRY_COMPARE(parts.display->toPlainText(), QStringLiteral("the first text"));
        QVERIFY(parts.display->isEnabled());
        QCOMPARE(window.windowTitle(), QStringLiteral("code.png"));
        for (const QToolButton *button : exportButtons) {
            QVERIFY(button->isEnabled());
            QVERIFY(button->menu()->actions().at(1)->isEnabled());
        }

        window.load(secondUrl);
        QTRY_COMPARE(parts.message->text(), message.arg(secondUrl.toDisplayString()));
        QCOMPARE(parts.message->messageType(), KMessageWidget::Error);
        QCOMPARE(!parts.image->pixmap().isNull(), imageShown);
        QCOMPARE(window.windowTitle(), imageShown ? secondFile : QGuiApplication::applicationDisplayName());
        QVERIFY(!parts.display->isEnabled());
        QVERIFY(parts.display->toPlainText().isEmpty());
        for (const QToolButton *button : exportButtons) {
            QVERIFY(!button->isEnabled());
            QVERIFY(!button->menu()->actions().at(1)->isEnabled());
        }
    }

    // The start image enters the road while the window is being built; it is named in the title.
    void startImageIsReadWhileTheWindowIsBuilt()
    {
        const QString fileName = m_directory.filePath(QStringLiteral("start.png"));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("from the start")).save(fileName));
        Window window(false, QUrl::fromLocalFile(fileName));
        QCOMPARE(window.windowTitle(), QGuiApplication::applicationDisplayName());
        window.show();
        const WindowParts parts = partsOf(window);
        QTRY_COMPARE(parts.display->toPlainText(), QStringLiteral("from the start"));
        QCOMPARE(parts.message->text(), QStringLiteral("Code in the image successfully scanned."));
        QCOMPARE(window.windowTitle(), QStringLiteral("start.png"));
        QCOMPARE(parts.image->accessibleName(), QStringLiteral("start.png"));
        QVERIFY(!parts.image->accessibleDescription().isEmpty());
    }

    void missingFileShowsTheLoadError()
    {
        const QUrl missing = QUrl::fromLocalFile(m_directory.filePath(QStringLiteral("missing.png")));
        Window window(false);
        window.show();
        window.load(missing);
        const WindowParts parts = partsOf(window);

        QTRY_COMPARE(parts.message->text(), QStringLiteral("Could not load image from file %1. No such file or directory.").arg(missing.toDisplayString()));
        QCOMPARE(parts.message->messageType(), KMessageWidget::Error);
        QVERIFY(parts.image->pixmap().isNull());
        QVERIFY(!parts.display->isEnabled());
        QVERIFY(parts.display->toPlainText().isEmpty());
    }

    // A long message, such as a load error naming a deep folder, wraps in the message line: it widens neither the
    // window nor its minimum width, so that the window never grows past its screen because of a message. A name
    // with no place to break it cannot wrap; the window keeps its width all the same.
    void longMessageWraps_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("wholeMessageShown");

        QString deepFolder;
        for (int level = 0; level < 12; ++level) {
            deepFolder += QStringLiteral("/a-rather-long-folder-name-%1").arg(level);
        }
        QTest::newRow("deep folder") << deepFolder << true;
        QTest::newRow("name without a break") << QStringLiteral("/%1").arg(QString(200, QLatin1Char('x'))) << false;
    }

    void longMessageWraps()
    {
        QFETCH(QString, folder);
        QFETCH(bool, wholeMessageShown);

        const QUrl missing = QUrl::fromLocalFile(m_directory.path() + folder + QStringLiteral("/missing.png"));
        Window window(false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int widthBefore = window.width();
        const int screenWidth = window.screen()->availableGeometry().width();
        QCOMPARE_LE(widthBefore, screenWidth);

        window.load(missing);
        const WindowParts parts = partsOf(window);
        QTRY_VERIFY(parts.message->text().contains(missing.toDisplayString()));
        QTRY_VERIFY(!parts.message->isShowAnimationRunning());
        QCOMPARE(window.width(), widthBefore);
        QCOMPARE_LE(window.minimumWidth(), widthBefore);
        QCOMPARE_LE(window.minimumSizeHint().width(), widthBefore);

        if (wholeMessageShown) {
            QLabel *label = nullptr;
            for (QLabel *candidate : parts.message->findChildren<QLabel *>()) {
                if (candidate->text() == parts.message->text()) {
                    label = candidate;
                }
            }
            QVERIFY(label);
            // Every line of it has room: the label is as high as its text is at its width.
            QTRY_COMPARE_GE(label->height(), label->heightForWidth(label->width()));
            QCOMPARE_GT(label->height(), 2 * label->fontMetrics().height());
            QCOMPARE_LE(label->geometry().right(), parts.message->width());
        }
    }

    void buttonBoxOfEachMode_data()
    {
        QTest::addColumn<bool>("oneScanMode");
        QTest::newRow("normal") << false;
        QTest::newRow("one scan") << true;
    }

    // Only normal mode has a way back to the pick view (and takes a drop on the shown image) and a help menu.
    void buttonBoxOfEachMode()
    {
        QFETCH(bool, oneScanMode);
        Window window(oneScanMode);
        window.show();
        window.load(QUrl());
        QVERIFY(window.findChild<Brevlinder::ImageSource::ImageSelectWidget *>());

        QToolButton *navigation = nullptr;
        for (auto *button : buttonBoxOf(window)->findChildren<QToolButton *>()) {
            if (button->text() == QStringLiteral("Choose Another Source")) {
                navigation = button;
            }
        }
        QCOMPARE(navigation != nullptr, !oneScanMode);
        if (navigation) {
            QVERIFY(!navigation->isEnabled());
        }
        QCOMPARE(window.findChild<Brevlinder::ImageSource::ImageView *>()->acceptDrops(), !oneScanMode);

        QStringList actionButtons;
        for (QAbstractButton *button : buttonBoxOf(window)->buttons()) {
            if (buttonBoxOf(window)->buttonRole(button) == QDialogButtonBox::ActionRole) {
                actionButtons.append(button->text());
            }
        }
        QStringList expected{QStringLiteral("Copy Text to Clipboard"), QStringLiteral("Save Text As…")};
        if (!oneScanMode) {
            expected.prepend(QStringLiteral("Choose Another Source"));
        }
        QCOMPARE(actionButtons, expected);

        const QList<QToolButton *> exportButtons = exportButtonsOf(window);
        QCOMPARE(exportButtons.size(), 2);
        QCOMPARE(exportButtons.at(0)->text(), QStringLiteral("Copy Text to Clipboard"));
        QCOMPARE(exportButtons.at(1)->text(), QStringLiteral("Save Text As…"));
        const QPushButton *helpButton = buttonBoxOf(window)->button(QDialogButtonBox::Help);
        QCOMPARE(helpButton != nullptr, !oneScanMode);
        if (helpButton) {
            QVERIFY(helpButton->menu());
            QVERIFY(!helpButton->autoDefault());
        }
    }

    // Tab goes through every usable control once, top to bottom: the pick view, the message (selectable, so that
    // it can be read and copied), the text (and its links), the buttons below.
    void tabReachesEveryControlInOrder()
    {
        const QString codeFile = m_directory.filePath(QStringLiteral("tab-code.png"));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("Tab to https://kde.org/ and on")).save(codeFile));
        QGuiApplication::clipboard()->setImage(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("on the clipboard")));

        Window window(false);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.load(QUrl::fromLocalFile(codeFile));
        QTRY_COMPARE(partsOf(window).message->text(), QStringLiteral("Code in the image successfully scanned."));
        for (auto *button : buttonBoxOf(window)->findChildren<QToolButton *>()) {
            if (button->text() == QStringLiteral("Choose Another Source")) {
                button->click();
            }
        }
        QVERIFY(window.findChild<Brevlinder::ImageSource::ImageSelectWidget *>()->isVisible());

        const auto describe = [](QWidget *widget) {
            if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
                return button->text();
            }
            if (auto *label = qobject_cast<QLabel *>(widget)) {
                return label->text();
            }
            return widget->accessibleName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className()) : widget->accessibleName();
        };
        QStringList stops;
        window.findChild<QPushButton *>(QStringLiteral("openFileButton"))->setFocus(Qt::TabFocusReason);
        for (int press = 0; press < 20; ++press) {
            const QString stop = describe(QApplication::focusWidget());
            if (stops.isEmpty() || stops.constLast() != stop) {
                if (stops.contains(stop)) {
                    break;
                }
                stops.append(stop);
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(stops,
                 QStringList({QStringLiteral("Select a File"),
                              QStringLiteral("Paste from Clipboard"),
                              QStringLiteral("Code in the image successfully scanned."),
                              QStringLiteral("Decoded text"),
                              QStringLiteral("Copy Text to Clipboard"),
                              QStringLiteral("Save Text As…"),
                              QStringLiteral("Help")}));
    }

    // A code chosen by a click in the picture is what the display shows and the exports copy: its text, and its
    // bytes.
    void chosenCodeGoesToTheDisplayAndTheExports()
    {
        const Brevlinder::Test::CodeSheet sheet = Brevlinder::Test::codeSheet({
            {ZXing::BarcodeFormat::QRCode, QStringLiteral("https://example.org/first"), {40, 40}},
            {ZXing::BarcodeFormat::Aztec, QStringLiteral("Aztec on a boarding pass"), {600, 40}},
            {ZXing::BarcodeFormat::EAN13, QStringLiteral("4006381333931"), {300, 450}},
        });
        const QString fileName = m_directory.filePath(QStringLiteral("sheet.png"));
        QVERIFY(sheet.image.save(fileName));

        Window window(false, QUrl::fromLocalFile(fileName));
        window.resize(800, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const WindowParts parts = partsOf(window);
        QTRY_COMPARE(parts.message->text(), QStringLiteral("3 codes found in the image."));
        const QString first = parts.display->toPlainText();

        // Where the Aztec code's middle is shown: the label fits the whole image into its contents.
        const QRect picture = parts.image->contentsRect();
        const QPointF middle = QRectF(sheet.symbols.at(first == QStringLiteral("Aztec on a boarding pass") ? 2 : 1)).center();
        const QPoint shown = parts.image->mapTo(&window, picture.topLeft() + (middle * picture.width() / sheet.image.width()).toPoint());
        QWidget *target = window.childAt(shown);
        QVERIFY(target);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(&window, shown));
        const QString chosen =
            first == QStringLiteral("Aztec on a boarding pass") ? QStringLiteral("4006381333931") : QStringLiteral("Aztec on a boarding pass");
        QTRY_COMPARE(parts.display->toPlainText(), chosen);
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("symbologyLabel"))->text(),
                 chosen.startsWith(QLatin1Char('A')) ? QStringLiteral("Aztec") : QStringLiteral("EAN-13"));

        QToolButton *copy = exportButtonsOf(window).at(0);
        QTest::mouseClick(copy, Qt::LeftButton, {}, QPoint(5, copy->height() / 2));
        QCOMPARE(QGuiApplication::clipboard()->text(), chosen);

        // The bytes, through the button's menu.
        QTimer chooseFromMenu;
        chooseFromMenu.setInterval(20);
        connect(&chooseFromMenu, &QTimer::timeout, this, [&chooseFromMenu] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu || !menu->isVisible()) {
                return;
            }
            chooseFromMenu.stop();
            // By keyboard: on a small screen the menu may cover its button, which then takes the mouse.
            QTest::keyClick(menu, Qt::Key_Down);
            if (menu->activeAction() != menu->actions().at(1)) {
                QTest::keyClick(menu, Qt::Key_Down);
            }
            QTest::keyClick(menu, Qt::Key_Return);
        });
        chooseFromMenu.start();
        QTest::mouseClick(copy, Qt::LeftButton, {}, QPoint(copy->width() - 4, copy->height() / 2));
        QTRY_COMPARE(QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("application/octet-stream")), chosen.toUtf8());
    }

    // What a code carries shows as a card above its text; plain text has none, and a new code's card replaces the
    // old one. Tab reaches the card's values and buttons after the picture and before the text.
    void contentCardShowsAboveTheText()
    {
        const QString cafe = m_directory.filePath(QStringLiteral("cafe.png"));
        const QString prose = m_directory.filePath(QStringLiteral("prose.png"));
        const QString hotel = m_directory.filePath(QStringLiteral("hotel.png"));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("WIFI:S:CaféNet;T:WPA;P:correct horse;;")).save(cafe));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("Only words here")).save(prose));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("WIFI:S:Hotel;T:nopass;;")).save(hotel));

        Window window(true);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const WindowParts parts = partsOf(window);
        auto *card = window.findChild<QGroupBox *>(QStringLiteral("cardBox"));
        QVERIFY(card);
        QVERIFY(!card->isVisible());

        window.load(QUrl::fromLocalFile(cafe));
        QTRY_VERIFY(parts.display->toPlainText().startsWith(QStringLiteral("WIFI:S:CaféNet")));
        QVERIFY(card->isVisible());
        QCOMPARE(card->title(), QStringLiteral("Wi-Fi Network"));
        QCOMPARE_LE(card->mapTo(&window, QPoint(0, card->height())).y(), parts.display->mapTo(&window, QPoint(0, 0)).y());
        QCOMPARE_GE(card->mapTo(&window, QPoint(0, 0)).y(), parts.image->parentWidget()->mapTo(&window, QPoint(0, 0)).y());

        const auto describe = [](QWidget *widget) {
            if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
                return button->text();
            }
            if (auto *label = qobject_cast<QLabel *>(widget)) {
                return label->text();
            }
            return widget->accessibleName();
        };
        QLabel *firstValue = nullptr;
        for (QLabel *label : card->findChildren<QLabel *>()) {
            if (label->text() == QStringLiteral("Network name:")) {
                firstValue = qobject_cast<QLabel *>(label->buddy());
            }
        }
        QVERIFY(firstValue);
        firstValue->setFocus(Qt::TabFocusReason);
        QStringList stops{describe(QApplication::focusWidget())};
        while (stops.size() < 10 && stops.constLast() != QStringLiteral("Decoded text")) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            stops.append(describe(QApplication::focusWidget()));
        }
        // Connect is there, but Tab skips it where no network can be joined.
        QPushButton *connectButton = nullptr;
        for (QPushButton *button : card->findChildren<QPushButton *>()) {
            if (button->text() == QStringLiteral("Connect to “CaféNet”")) {
                connectButton = button;
            }
        }
        QVERIFY(connectButton);
        QStringList expectedStops{QStringLiteral("CaféNet"), QStringLiteral("WPA/WPA2 Personal"), QStringLiteral("correct horse"), QStringLiteral("No")};
        if (connectButton->isEnabled()) {
            expectedStops.append(connectButton->text());
        }
        expectedStops << QStringLiteral("Copy Password") << QStringLiteral("Decoded text");
        QCOMPARE(stops, expectedStops);
        // Back from the card's first value goes to the message above it.
        firstValue->setFocus(Qt::TabFocusReason);
        QTest::keyClick(firstValue, Qt::Key_Backtab);
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(describe(QApplication::focusWidget()), QStringLiteral("Code in the image successfully scanned."));

        window.load(QUrl::fromLocalFile(prose));
        QTRY_COMPARE(parts.display->toPlainText(), QStringLiteral("Only words here"));
        QVERIFY(!card->isVisible());

        window.load(QUrl::fromLocalFile(hotel));
        QTRY_VERIFY(card->isVisible());
        QCOMPARE(parts.display->toPlainText(), QStringLiteral("WIFI:S:Hotel;T:nopass;;"));
        QStringList shown;
        for (QLabel *label : card->findChildren<QLabel *>()) {
            shown.append(label->text());
        }
        QVERIFY(shown.contains(QStringLiteral("Hotel")));
        QVERIFY(!shown.contains(QStringLiteral("CaféNet")));
        QVERIFY(!shown.contains(QStringLiteral("correct horse")));
    }

    // At the window's own size a card of eight rows and a warning, or of five rows with Copy buttons, shows whole
    // below a picture that is still large enough to see the code in; each value is on its name's line.
    void cardFitsTheWindow_data()
    {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<int>("rows");
        QTest::newRow("Wi-Fi with EAP") << QStringLiteral("WIFI:S:Campus;T:WPA2-EAP;E:PEAP;PH2:MSCHAPV2;A:anon;I:alice@example.org;P:s3cret!!;H:true;;") << 8;
        QTest::newRow("payment") << QStringLiteral(
            "BCD\n002\n1\nSCT\nBFSWDE33BER\nWikimedia Foerdergesellschaft\nDE33100205000001194700\nEUR123.45\n\nRF18539007547034\n\n")
                                 << 5;
    }

    void cardFitsTheWindow()
    {
        QFETCH(QString, payload);
        QFETCH(int, rows);
        const QString fileName = m_directory.filePath(QStringLiteral("card.png"));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, payload).save(fileName));
        Window window(false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // A card that replaces a shown one gets its room as well as the first.
        const QString smallCardFileName = m_directory.filePath(QStringLiteral("smallcard.png"));
        QVERIFY(Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("geo:1,2")).save(smallCardFileName));
        window.load(QUrl::fromLocalFile(smallCardFileName));
        auto *card = window.findChild<QGroupBox *>(QStringLiteral("cardBox"));
        QVERIFY(card);
        QTRY_VERIFY(card->isVisible());
        QTRY_COMPARE(card->title(), QStringLiteral("Place"));
        window.load(QUrl::fromLocalFile(fileName));
        QTRY_VERIFY(card->title() != QStringLiteral("Place") && card->isVisible());
        const WindowParts parts = partsOf(window);
        QTRY_VERIFY(!parts.message->isShowAnimationRunning());

        QList<QLabel *> values;
        int lowestValue = 0;
        for (QLabel *label : card->findChildren<QLabel *>()) {
            auto *value = qobject_cast<QLabel *>(label->buddy());
            if (!value) {
                continue;
            }
            values.append(value);
            QVERIFY2(value->visibleRegion().boundingRect() == value->rect(), qPrintable(value->text()));
            QCOMPARE_LE(qAbs(value->mapTo(&window, value->rect().center()).y() - label->mapTo(&window, label->rect().center()).y()), 4);
            lowestValue = qMax(lowestValue, value->mapTo(&window, QPoint(0, value->height())).y());
        }
        QCOMPARE(values.size(), rows);
        for (QPushButton *button : card->findChildren<QPushButton *>(Qt::FindDirectChildrenOnly)) {
            QCOMPARE_GE(button->mapTo(&window, QPoint(0, 0)).y(), lowestValue);
        }
        QCOMPARE_GE(parts.image->parentWidget()->height(), 200);
        QCOMPARE_LE(window.height(), 720);
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
