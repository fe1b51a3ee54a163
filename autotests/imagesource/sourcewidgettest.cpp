// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "brevlinder_imagesource_debug.h"
#include "imageselector.h"
#include "imageselectwidget.h"
#include "imageview.h"
#include "widget.h"

#include <KMessageWidget>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QStackedLayout>
#include <QTest>
#include <QToolButton>

using namespace Brevlinder::ImageSource;

namespace
{

struct LogEntry {
    QtMsgType type;
    QString category;
    QString message;
};

QList<LogEntry> s_log;

void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    s_log.append({type, QString::fromUtf8(context.category), message});
}

QStackedLayout *stackOf(Widget &widget)
{
    return widget.findChild<QStackedLayout *>(QStringLiteral("widgetStackLayout"));
}

KMessageWidget *messageWidgetOf(Widget &widget)
{
    return widget.findChild<KMessageWidget *>(QStringLiteral("messageWidget"));
}

QImage whiteImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

template<typename T>
T *childOf(Widget &widget, const char *name)
{
    auto *child = widget.findChild<T *>(QString::fromLatin1(name));
    Q_ASSERT(child);
    return child;
}

// Tabs from wherever the focus is to \p target, as a user would; false when the tab chain never reaches it.
bool tabTo(QWidget *target)
{
    for (int i = 0; i < 20 && QApplication::focusWidget() != target; ++i) {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : target->window(), Qt::Key_Tab);
    }
    return QApplication::focusWidget() == target;
}

const QStringList threeCodes = {QStringLiteral("1 of 3 · QR Code · one"), QStringLiteral("2 of 3 · Aztec · two"), QStringLiteral("3 of 3 · EAN-13 · 3")};

}

class SourceWidgetTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newWidgetShowsEmptyImageView();
    void setImageShowsImage_data();
    void setImageShowsImage();
    void messages_data();
    void messages();
    void switchToMissingPickViewWarns();
    void pickViewComesAndGoes();
    void codeChoiceText_data();
    void codeChoiceText();
    void codeChooserByKeyboard();
    void pages_data();
    void pages();
    void outlineClickReported();
};

void SourceWidgetTest::newWidgetShowsEmptyImageView()
{
    Widget widget;
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));

    QCOMPARE(widget.objectName(), QStringLiteral("Brevlinder__ImageSource__Widget"));
    QVERIFY(!widget.isInPickView());
    QStackedLayout *stack = stackOf(widget);
    QVERIFY(stack);
    QCOMPARE(stack->count(), 1);
    QVERIFY(qobject_cast<ImageView *>(stack->currentWidget()));
    QVERIFY(stack->currentWidget()->findChild<QLabel *>()->pixmap().isNull());

    KMessageWidget *messageWidget = messageWidgetOf(widget);
    QVERIFY(messageWidget);
    QVERIFY(messageWidget->isHidden());
    QVERIFY(!messageWidget->isCloseButtonVisible());
}

void SourceWidgetTest::setImageShowsImage_data()
{
    QTest::addColumn<QImage>("image");

    QTest::newRow("image") << whiteImage(QSize(30, 20));
    QTest::newRow("null image") << QImage();
}

// The image view is current already, so showing an image there is no change of view.
void SourceWidgetTest::setImageShowsImage()
{
    QFETCH(QImage, image);

    Widget widget;
    QSignalSpy spy(&widget, &Widget::isInPickViewChanged);
    widget.setImage(whiteImage(QSize(5, 5)));
    widget.setImage(image);

    QCOMPARE(spy.count(), 0);
    QVERIFY(!widget.isInPickView());
    QWidget *current = stackOf(widget)->currentWidget();
    QVERIFY(qobject_cast<ImageView *>(current));
    QCOMPARE(current->findChild<QLabel *>()->pixmap().size(), image.size());
}

void SourceWidgetTest::messages_data()
{
    QTest::addColumn<QList<bool>>("positive");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<KMessageWidget::MessageType>("expectedType");

    const QString success = QStringLiteral("Code in the image successfully scanned.");
    const QString failure = QStringLiteral("Could not scan code in the image.");

    QTest::newRow("success") << QList<bool>{true} << QStringList{success} << KMessageWidget::Positive;
    QTest::newRow("error") << QList<bool>{false} << QStringList{failure} << KMessageWidget::Error;
    QTest::newRow("success, then error") << QList<bool>{true, false} << QStringList{success, failure} << KMessageWidget::Error;
    QTest::newRow("error, then success") << QList<bool>{false, true} << QStringList{failure, success} << KMessageWidget::Positive;
    QTest::newRow("empty error") << QList<bool>{true, false} << QStringList{success, QString()} << KMessageWidget::Error;
}

// Each message replaces type and text of the one before in the one message line, which stays visible through
// later changes of the image.
void SourceWidgetTest::messages()
{
    QFETCH(QList<bool>, positive);
    QFETCH(QStringList, texts);
    QFETCH(KMessageWidget::MessageType, expectedType);

    Widget widget;
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    KMessageWidget *messageWidget = messageWidgetOf(widget);

    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (positive.at(i)) {
            widget.showSuccessMessage(texts.at(i));
        } else {
            widget.showErrorMessage(texts.at(i));
        }
    }

    QCOMPARE(widget.findChildren<KMessageWidget *>().size(), 1);
    QCOMPARE(messageWidget->messageType(), expectedType);
    QCOMPARE(messageWidget->text(), texts.constLast());
    QTRY_VERIFY(messageWidget->isVisible());
    QTRY_VERIFY(!messageWidget->isShowAnimationRunning());

    widget.setImage(whiteImage(QSize(8, 8)));
    QVERIFY(messageWidget->isVisible());
    QCOMPARE(messageWidget->text(), texts.constLast());
}

// Without a pick view there is nothing to switch to: a warning on the image source's category, and no change.
void SourceWidgetTest::switchToMissingPickViewWarns()
{
    const QLoggingCategory &category = BREVLINDER_IMAGESOURCE();
    QCOMPARE(category.categoryName(), "brevlinder.imagesource");
    QVERIFY(category.isWarningEnabled());
    QVERIFY(category.isInfoEnabled());
    QVERIFY(!category.isDebugEnabled());

    Widget widget;
    QWidget *imageView = stackOf(widget)->currentWidget();
    QSignalSpy spy(&widget, &Widget::isInPickViewChanged);

    s_log.clear();
    const QtMessageHandler previousHandler = qInstallMessageHandler(recordMessage);
    widget.switchToPickView();
    qInstallMessageHandler(previousHandler);

    QCOMPARE(s_log.size(), 1);
    QCOMPARE(s_log.constFirst().type, QtWarningMsg);
    QCOMPARE(s_log.constFirst().category, QStringLiteral("brevlinder.imagesource"));
    QCOMPARE(s_log.constFirst().message, QStringLiteral("Tried switching to not existing m_imageSelectWidget."));

    QCOMPARE(spy.count(), 0);
    QVERIFY(!widget.isInPickView());
    QCOMPARE(stackOf(widget)->currentWidget(), imageView);
    QCOMPARE(stackOf(widget)->count(), 1);
}

// The pick view is made once; every real change between it and the image view is reported once, with the
// new state, and making the current view current again reports nothing.
void SourceWidgetTest::pickViewComesAndGoes()
{
    ImageSelector selector(nullptr);
    ImageSelector otherSelector(nullptr);
    Widget widget;
    QStackedLayout *stack = stackOf(widget);
    QWidget *imageView = stack->currentWidget();
    QSignalSpy spy(&widget, &Widget::isInPickViewChanged);

    widget.showImageSelectWidget(&selector);
    auto *pickView = qobject_cast<ImageSelectWidget *>(stack->currentWidget());
    QVERIFY(pickView);
    QVERIFY(widget.isInPickView());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);

    widget.showImageSelectWidget(&otherSelector);
    widget.switchToPickView();
    QCOMPARE(stack->count(), 2);
    QCOMPARE(stack->currentWidget(), pickView);
    QCOMPARE(spy.count(), 1);

    widget.setImage(whiteImage(QSize(4, 4)));
    QCOMPARE(stack->currentWidget(), imageView);
    QVERIFY(!widget.isInPickView());
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).toBool(), false);

    widget.switchToPickView();
    QCOMPARE(stack->currentWidget(), pickView);
    QCOMPARE(stack->count(), 2);
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.at(2).at(0).toBool(), true);
    QCOMPARE(widget.findChildren<ImageSelectWidget *>().size(), 1);
}

void SourceWidgetTest::codeChoiceText_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("symbology");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("expected");

    const QString aztec = QStringLiteral("Aztec");
    const QString qrCode = QStringLiteral("QR Code");
    QTest::newRow("short") << 2 << 3 << qrCode << QStringLiteral("https://example.org") << -1 << QStringLiteral("2 of 3 · QR Code · https://example.org");
    QTest::newRow("thirty characters kept") << 1 << 2 << qrCode << QStringLiteral("123456789012345678901234567890") << -1
                                            << QStringLiteral("1 of 2 · QR Code · 123456789012345678901234567890");
    QTest::newRow("longer cut") << 1 << 2 << qrCode << QStringLiteral("https://example.org/a/very/long/path") << -1
                                << QStringLiteral("1 of 2 · QR Code · https://example.org/a/very/lo…");
    QTest::newRow("lines on one line") << 1 << 2 << aztec << QStringLiteral("first\nsecond\r\n\tthird\n") << -1
                                       << QStringLiteral("1 of 2 · Aztec · first second third");
    QTest::newRow("emoji not split") << 1 << 2 << aztec << (QString(28, u'a') + QStringLiteral("😀😀")) << -1
                                     << QStringLiteral("1 of 2 · Aztec · ") + QString(28, u'a') + QStringLiteral("…");
    QTest::newRow("no text") << 1 << 2 << QStringLiteral("EAN-13") << QString() << -1 << QStringLiteral("1 of 2 · EAN-13");
    QTest::newRow("first page") << 1 << 2 << aztec << QStringLiteral("hello") << 0 << QStringLiteral("page 1 · 1 of 2 · Aztec · hello");
    QTest::newRow("second page") << 12 << 12 << aztec << QStringLiteral("hello") << 1 << QStringLiteral("page 2 · 12 of 12 · Aztec · hello");
}

void SourceWidgetTest::codeChoiceText()
{
    QFETCH(int, number);
    QFETCH(int, count);
    QFETCH(QString, symbology);
    QFETCH(QString, text);
    QFETCH(int, page);
    QFETCH(QString, expected);

    QCOMPARE(Widget::codeChoiceText(number, count, symbology, text, page), expected);
}

// The chooser shows only with two codes or more, is reached with Tab and changed with the arrow keys, and reports
// the user's choices, not the ones it is given.
void SourceWidgetTest::codeChooserByKeyboard()
{
    Widget widget;
    widget.resize(500, 400);
    widget.show();
    widget.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&widget));
    auto *chooser = childOf<QComboBox>(widget, "codeChooser");
    auto *row = childOf<QWidget>(widget, "codeNavigation");
    QSignalSpy chosen(&widget, &Widget::codeChosen);
    QVERIFY(!row->isVisible());

    widget.setCodeChoices({QStringLiteral("1 of 1 · QR Code · one")}, 0);
    QVERIFY(!row->isVisible());

    widget.setCodeChoices(threeCodes, 0);
    QVERIFY(chooser->isVisible());
    QVERIFY(childOf<QLabel>(widget, "codeLabel")->isVisible());
    QCOMPARE(chooser->currentText(), threeCodes.at(0));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(chooser);
    QVERIFY(accessible);
    // Here a combo box is named by its label, which a screen reader finds by the relation; elsewhere by its name.
    QCOMPARE(chooser->accessibleName(), QStringLiteral("Code"));
    const auto labels = accessible->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.constFirst().first->text(QAccessible::Name), QStringLiteral("Code:"));
    QCOMPARE(accessible->text(QAccessible::Value), threeCodes.at(0));

    QVERIFY(tabTo(chooser));
    QTest::keyClick(chooser, Qt::Key_Down);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.takeFirst().at(0).toInt(), 1);
    QCOMPARE(accessible->text(QAccessible::Value), threeCodes.at(1));
    QTest::keyClick(chooser, Qt::Key_Up);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.takeFirst().at(0).toInt(), 0);

    widget.setCodeChoices(threeCodes, 2);
    QCOMPARE(chooser->currentIndex(), 2);
    const QStringList twoCodes = {QStringLiteral("1 of 2 · Aztec · a"), QStringLiteral("2 of 2 · Aztec · b")};
    widget.setCodeChoices(twoCodes, 1);
    QCOMPARE(chooser->count(), 2);
    QCOMPARE(chooser->currentText(), twoCodes.at(1));
    QCOMPARE(chosen.count(), 0);

    widget.setCodeChoices({}, -1);
    QVERIFY(!row->isVisible());
    QCOMPARE(chosen.count(), 0);
}

void SourceWidgetTest::pages_data()
{
    QTest::addColumn<int>("currentPage");
    QTest::addColumn<int>("pageCount");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("expectedPrevious");
    QTest::addColumn<int>("expectedNext");

    const QString pageUp = QStringLiteral("Page Up");
    const QString pageDown = QStringLiteral("Page Down");
    const QString previousButton = QStringLiteral("previousPageButton");
    const QString nextButton = QStringLiteral("nextPageButton");
    QTest::newRow("middle, Page Up") << 1 << 3 << pageUp << 1 << 0;
    QTest::newRow("middle, Page Down") << 1 << 3 << pageDown << 0 << 1;
    QTest::newRow("first, Page Up") << 0 << 3 << pageUp << 0 << 0;
    QTest::newRow("last, Page Down") << 2 << 3 << pageDown << 0 << 0;
    QTest::newRow("middle, previous button") << 1 << 4 << previousButton << 1 << 0;
    QTest::newRow("middle, next button") << 2 << 4 << nextButton << 0 << 1;
    QTest::newRow("first, previous button") << 0 << 2 << previousButton << 0 << 0;
    QTest::newRow("last, next button") << 1 << 2 << nextButton << 0 << 0;
    QTest::newRow("one page, Page Down") << 0 << 1 << pageDown << 0 << 0;
    QTest::newRow("no pages, Page Up") << 0 << 0 << pageUp << 0 << 0;
}

// Page Up and Page Down turn pages also while the code chooser has the focus, which would otherwise take them;
// the buttons do it by mouse. At either end, and without pages, nothing turns.
void SourceWidgetTest::pages()
{
    QFETCH(int, currentPage);
    QFETCH(int, pageCount);
    QFETCH(QString, input);
    QFETCH(int, expectedPrevious);
    QFETCH(int, expectedNext);

    Widget widget;
    widget.resize(500, 400);
    widget.show();
    widget.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&widget));
    auto *chooser = childOf<QComboBox>(widget, "codeChooser");
    widget.setCodeChoices(threeCodes, 1);
    widget.setPages(currentPage, pageCount);
    QVERIFY(tabTo(chooser));
    QSignalSpy previous(&widget, &Widget::previousPageRequested);
    QSignalSpy next(&widget, &Widget::nextPageRequested);
    QSignalSpy chosen(&widget, &Widget::codeChosen);

    auto *pageLabel = childOf<QLabel>(widget, "pageLabel");
    auto *previousButton = childOf<QToolButton>(widget, "previousPageButton");
    auto *nextButton = childOf<QToolButton>(widget, "nextPageButton");
    const bool paged = pageCount >= 2;
    QCOMPARE(pageLabel->isVisible(), paged);
    QCOMPARE(previousButton->isVisible(), paged);
    QCOMPARE(nextButton->isVisible(), paged);
    if (paged) {
        QCOMPARE(pageLabel->text(), QStringLiteral("Page %1 of %2").arg(currentPage + 1).arg(pageCount));
        QCOMPARE(previousButton->isEnabled(), currentPage > 0);
        QCOMPARE(nextButton->isEnabled(), currentPage < pageCount - 1);
        QVERIFY(!previousButton->toolTip().isEmpty());
        QVERIFY(!nextButton->icon().isNull());
    }

    if (input == QLatin1String("Page Up")) {
        QTest::keyClick(chooser, Qt::Key_PageUp);
    } else if (input == QLatin1String("Page Down")) {
        QTest::keyClick(chooser, Qt::Key_PageDown);
    } else {
        auto *button = childOf<QToolButton>(widget, qPrintable(input));
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    }

    QCOMPARE(previous.count(), expectedPrevious);
    QCOMPARE(next.count(), expectedNext);
    if (expectedPrevious + expectedNext > 0) {
        // The key turned a page, not the chooser's entry.
        QCOMPARE(chooser->currentIndex(), 1);
        QCOMPARE(chosen.count(), 0);
    }
}

// A click on another code's outline in the image reaches the widget's users.
void SourceWidgetTest::outlineClickReported()
{
    Widget widget;
    widget.resize(300, 300);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    widget.setImage(whiteImage(QSize(100, 100)));
    widget.setOutlines({CodeOutline{0, QPolygon(QRect(10, 10, 30, 30))}, CodeOutline{1, QPolygon(QRect(60, 60, 30, 30))}}, 0);
    QSignalSpy clicked(&widget, &Widget::codeClicked);

    auto *label = stackOf(widget)->currentWidget()->findChild<QLabel *>();
    QTRY_VERIFY(label->contentsRect().width() > 100);
    const QRect contents = label->contentsRect();
    const auto at = [&](QPoint imagePoint) {
        return contents.topLeft() + imagePoint * contents.width() / 100;
    };
    QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, at(QPoint(25, 25)));
    QCOMPARE(clicked.count(), 0);
    QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, at(QPoint(75, 75)));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toInt(), 1);
}

QTEST_MAIN(SourceWidgetTest)

#include "sourcewidgettest.moc"
