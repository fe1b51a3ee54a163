// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "brevlinder_imagesource_debug.h"
#include "imageselector.h"
#include "imageselectwidget.h"
#include "imageview.h"
#include "widget.h"

#include <KMessageWidget>

#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QStackedLayout>
#include <QTest>

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

QTEST_MAIN(SourceWidgetTest)

#include "sourcewidgettest.moc"
