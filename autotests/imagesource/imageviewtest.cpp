// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "imageview.h"
#include "proportionalimagelabel.h"

#include <QImage>
#include <QLabel>
#include <QMargins>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <QThreadPool>

#include <limits>

using namespace Brevlinder::ImageSource;

class ImageViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void marginsFor_data();
    void marginsFor();
    void labelFollowsView_data();
    void labelFollowsView();
    void emptyImagesKeepMargins();
    void shownImage_data();
    void shownImage();
    void largeImageShownScaledDown();
    void transparencyShownLight();

private:
    static QLabel *imageLabel(ImageView &view);
    static bool laidOut(ImageView &view, QSize viewSize);
    static void verifyFitted(QLabel *label, QSize imageSize);
};

void ImageViewTest::marginsFor_data()
{
    QTest::addColumn<QSize>("labelSize");
    QTest::addColumn<QSize>("pixmapSize");
    QTest::addColumn<QMargins>("currentMargins");
    QTest::addColumn<QMargins>("expected");

    const QMargins previous(7, 0, 7, 0);
    constexpr int maxInt = std::numeric_limits<int>::max();

    QTest::newRow("square in landscape") << QSize(400, 300) << QSize(100, 100) << QMargins() << QMargins(50, 0, 50, 0);
    QTest::newRow("wide in landscape") << QSize(400, 300) << QSize(200, 100) << QMargins() << QMargins(0, 50, 0, 50);
    QTest::newRow("odd width left over") << QSize(401, 300) << QSize(100, 100) << QMargins() << QMargins(50, 0, 50, 0);
    QTest::newRow("odd height left over") << QSize(300, 401) << QSize(100, 100) << QMargins() << QMargins(0, 50, 0, 50);
    QTest::newRow("fraction dropped") << QSize(100, 100) << QSize(3, 2) << QMargins() << QMargins(0, 17, 0, 17);
    QTest::newRow("tie") << QSize(200, 100) << QSize(400, 200) << previous << QMargins();
    QTest::newRow("tie, square") << QSize(1, 1) << QSize(5000, 5000) << previous << QMargins();
    QTest::newRow("single odd pixel left over") << QSize(201, 100) << QSize(400, 200) << QMargins() << QMargins(0, 0, 0, 0);
    QTest::newRow("null pixmap") << QSize(400, 300) << QSize(0, 0) << previous << previous;
    QTest::newRow("pixmap without width") << QSize(400, 300) << QSize(0, 10) << previous << previous;
    QTest::newRow("pixmap without height") << QSize(400, 300) << QSize(10, 0) << previous << previous;
    QTest::newRow("label without width") << QSize(0, 300) << QSize(100, 100) << previous << previous;
    QTest::newRow("label without height") << QSize(400, 0) << QSize(100, 100) << previous << previous;
    QTest::newRow("invalid label size") << QSize(-1, -1) << QSize(100, 100) << previous << previous;
    // Cross products beyond 32 bits: 4000 * 1000000 fits in unsigned 32 bits but 3000 * 2000000 does not, and
    // wrapped the comparison would pick the wrong side.
    QTest::newRow("wraps: wrong side in 32 bits") << QSize(4000, 3000) << QSize(2000000, 1000000) << QMargins() << QMargins(0, 500, 0, 500);
    QTest::newRow("wraps: wrong quotient in 32 bits") << QSize(5000, 3000) << QSize(2000000, 1000000) << QMargins() << QMargins(0, 250, 0, 250);
    QTest::newRow("wraps: tall pixmap") << QSize(3000, 5000) << QSize(1000000, 2000000) << QMargins() << QMargins(250, 0, 250, 0);
    QTest::newRow("largest sides, tall") << QSize(3000, 2000) << QSize(1, maxInt) << QMargins() << QMargins(1500, 0, 1500, 0);
    QTest::newRow("largest sides, wide") << QSize(3000, 2000) << QSize(maxInt, 1) << QMargins() << QMargins(0, 1000, 0, 1000);
    QTest::newRow("largest label and pixmap") << QSize(maxInt, maxInt - 1) << QSize(maxInt, maxInt) << QMargins() << QMargins(0, 0, 0, 0);
    QTest::newRow("largest label, small pixmap") << QSize(maxInt, maxInt) << QSize(2, 1) << QMargins() << QMargins(0, 536870912, 0, 536870912);
}

void ImageViewTest::marginsFor()
{
    QFETCH(QSize, labelSize);
    QFETCH(QSize, pixmapSize);
    QFETCH(QMargins, currentMargins);
    QFETCH(QMargins, expected);

    QCOMPARE(ProportionalImageLabel::marginsFor(labelSize, pixmapSize, currentMargins), expected);
}

QLabel *ImageViewTest::imageLabel(ImageView &view)
{
    // The view's only label is the proportional one.
    auto *label = view.findChild<QLabel *>();
    Q_ASSERT(label);
    return label;
}

// The view has its new size and the label fills the scroll area's viewport again.
bool ImageViewTest::laidOut(ImageView &view, QSize viewSize)
{
    const auto *scrollArea = view.findChild<QScrollArea *>();
    const QLabel *label = imageLabel(view);
    return view.size() == viewSize && label->size() == scrollArea->viewport()->size();
}

// The contents rectangle spans one side of the label and has the image's proportions on the other, with the
// margins equal and any odd pixel given to the image.
void ImageViewTest::verifyFitted(QLabel *label, QSize imageSize)
{
    const QMargins margins = label->contentsMargins();
    QCOMPARE(margins.left(), margins.right());
    QCOMPARE(margins.top(), margins.bottom());
    QVERIFY(margins.left() == 0 || margins.top() == 0);

    const QSize contents = label->contentsRect().size();
    const qint64 w = label->width();
    const qint64 h = label->height();
    if (margins.left() > 0) {
        QCOMPARE(contents.height(), h);
        const qint64 exactWidth = h * imageSize.width() / imageSize.height();
        QVERIFY2(contents.width() == exactWidth || contents.width() == exactWidth + 1, qPrintable(QString::number(contents.width())));
    } else {
        QCOMPARE(contents.width(), w);
        const qint64 exactHeight = w * imageSize.height() / imageSize.width();
        QVERIFY2(contents.height() == exactHeight || contents.height() == exactHeight + 1, qPrintable(QString::number(contents.height())));
    }
}

void ImageViewTest::labelFollowsView_data()
{
    QTest::addColumn<QSize>("imageSize");
    QTest::addColumn<QSize>("firstViewSize");
    QTest::addColumn<QSize>("secondViewSize");

    QTest::newRow("square, landscape then portrait") << QSize(100, 100) << QSize(400, 300) << QSize(300, 500);
    QTest::newRow("wide, grown") << QSize(64, 16) << QSize(200, 200) << QSize(641, 503);
    QTest::newRow("tall, shrunk") << QSize(10, 30) << QSize(600, 400) << QSize(151, 97);
}

// A real label inside a shown view: the margins follow every resize of the view in both directions.
void ImageViewTest::labelFollowsView()
{
    QFETCH(QSize, imageSize);
    QFETCH(QSize, firstViewSize);
    QFETCH(QSize, secondViewSize);

    ImageView view;
    QLabel *label = imageLabel(view);
    view.resize(firstViewSize);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_VERIFY(laidOut(view, firstViewSize));
    QCOMPARE(label->contentsMargins(), QMargins());

    QImage image(imageSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    view.setImage(image);
    QCOMPARE(label->pixmap().size(), imageSize);
    QVERIFY(!label->contentsMargins().isNull());
    verifyFitted(label, imageSize);

    view.resize(secondViewSize);
    QTRY_VERIFY(laidOut(view, secondViewSize));
    QVERIFY(!label->contentsMargins().isNull());
    verifyFitted(label, imageSize);
}

// Before any image, and after a null one, resizing leaves the margins where they were.
void ImageViewTest::emptyImagesKeepMargins()
{
    ImageView view;
    QLabel *label = imageLabel(view);
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    view.resize(300, 500);
    QTRY_VERIFY(laidOut(view, QSize(300, 500)));
    QCOMPARE(label->contentsMargins(), QMargins());

    QImage image(QSize(100, 100), QImage::Format_RGB32);
    image.fill(Qt::white);
    view.setImage(image);
    const QMargins fitted = label->contentsMargins();
    QCOMPARE(fitted.left(), 0);
    QVERIFY(fitted.top() > 0);

    view.setImage(QImage());
    QVERIFY(label->pixmap().isNull());
    QCOMPARE(label->contentsMargins(), fitted);
    view.resize(400, 300);
    QTRY_VERIFY(laidOut(view, QSize(400, 300)));
    QCOMPARE(label->contentsMargins(), fitted);
}

void ImageViewTest::shownImage_data()
{
    QTest::addColumn<QSize>("imageSize");
    QTest::addColumn<QSize>("screenPixels");
    QTest::addColumn<QSize>("shownSize");

    QTest::newRow("smaller than the screen") << QSize(300, 200) << QSize(1920, 1080) << QSize(300, 200);
    QTest::newRow("as large as the screen") << QSize(1920, 1080) << QSize(1920, 1080) << QSize(1920, 1080);
    QTest::newRow("one pixel too wide") << QSize(1921, 100) << QSize(1920, 1080) << QSize(1920, 99);
    QTest::newRow("24 MP photo, landscape") << QSize(6000, 4000) << QSize(1920, 1080) << QSize(1620, 1080);
    QTest::newRow("108 MP photo, portrait") << QSize(9000, 12000) << QSize(1920, 1080) << QSize(810, 1080);
    QTest::newRow("a line of pixels") << QSize(20000, 1) << QSize(1024, 768) << QSize(1024, 1);
}

// Only an image larger than the screens is scaled, to the largest size that fits, its proportions kept.
void ImageViewTest::shownImage()
{
    QFETCH(QSize, imageSize);
    QFETCH(QSize, screenPixels);
    QFETCH(QSize, shownSize);

    QImage image(imageSize, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QImage shown = ImageView::shownImage(image, screenPixels);

    QCOMPARE(shown.size(), shownSize);
    QCOMPARE(shown.pixel(shown.width() / 2, shown.height() / 2), QColor(Qt::darkGreen).rgb());
    if (shownSize == imageSize) {
        // Shared, not copied.
        QCOMPARE(shown.constBits(), image.constBits());
    }
}

// The view keeps no full-resolution copy of a photo, and the photo keeps its exact proportions on screen. A
// newer image wins over the copy of an older one that is still being made.
void ImageViewTest::largeImageShownScaledDown()
{
    ImageView view;
    QLabel *label = imageLabel(view);
    view.resize(500, 500);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_VERIFY(laidOut(view, QSize(500, 500)));

    const QSize screenPixels = view.screen()->size() * view.screen()->devicePixelRatio();
    const QSize imageSize(screenPixels.width() * 5 + 3, screenPixels.height() * 2);
    QImage image(imageSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    view.setImage(image);
    // The copy is made on the thread pool.
    QTRY_VERIFY(!label->pixmap().isNull());

    QVERIFY(label->pixmap().width() <= screenPixels.width());
    QVERIFY(label->pixmap().height() <= screenPixels.height());
    QCOMPARE(label->pixmap().width(), screenPixels.width());
    verifyFitted(label, imageSize);

    QImage small(40, 30, QImage::Format_RGB32);
    small.fill(Qt::black);
    view.setImage(image);
    view.setImage(small);
    QCOMPARE(label->pixmap().size(), small.size());
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCOMPARE(label->pixmap().size(), small.size());
}

// A dark code on a transparent background stays visible: the transparent parts show light, the dark parts
// dark, and the strips beside the image keep the view's background.
void ImageViewTest::transparencyShownLight()
{
    ImageView view;
    QLabel *label = imageLabel(view);
    view.resize(300, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_VERIFY(laidOut(view, QSize(300, 200)));

    QImage image(40, 40, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 10; y < 30; ++y) {
        for (int x = 10; x < 30; ++x) {
            image.setPixel(x, y, qRgba(0, 0, 0, 255));
        }
    }
    view.setImage(image);
    QVERIFY(label->contentsMargins().left() > 0);

    const QImage shown = view.grab().toImage();
    const QRect contents = label->contentsRect().translated(label->mapTo(&view, QPoint()));
    const QRgb strip = shown.pixel(contents.left() / 2, contents.center().y());
    QCOMPARE(strip, view.palette().color(QPalette::Dark).rgb());
    for (const QPoint offset : {QPoint(3, 3), QPoint(20, 3), QPoint(3, 60), QPoint(-4, -4)}) {
        const QPoint point = offset.x() < 0 ? contents.bottomRight() + offset : contents.topLeft() + offset;
        const int grey = qGray(shown.pixel(point));
        QVERIFY2(grey >= 200, qPrintable(QStringLiteral("grey %1 at %2, %3").arg(grey).arg(point.x()).arg(point.y())));
    }
    QVERIFY(qGray(shown.pixel(contents.center())) < 40);
}

QTEST_MAIN(ImageViewTest)

#include "imageviewtest.moc"
