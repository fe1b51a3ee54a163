// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "imageview.h"
#include "codeimages.h"
#include "proportionalimagelabel.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMargins>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

#include <limits>

using namespace Brevlinder::ImageSource;

namespace
{

// An image with codes at known places, and their outlines: a QR code (0), a Data Matrix (1), an Aztec code (2),
// maybe rotated, and a Code 128 (3) whose outline is a line across it, as the decoder reports linear codes.
struct Scene {
    QImage image;
    QList<CodeOutline> outlines;
};

Scene codeScene(int scale, qreal aztecAngle)
{
    Scene scene;
    scene.image = QImage(QSize(460, 420) * scale, QImage::Format_RGB32);
    scene.image.fill(Qt::white);
    QPainter painter(&scene.image);
    const struct {
        ZXing::BarcodeFormat format;
        const char *text;
        QPointF at;
        qreal angle;
    } codes[] = {
        {ZXing::BarcodeFormat::QRCode, "https://example.org/one", {20, 20}, 0},
        {ZXing::BarcodeFormat::DataMatrix, "two", {330, 40}, 0},
        {ZXing::BarcodeFormat::Aztec, "three", {200, 150}, aztecAngle},
        {ZXing::BarcodeFormat::Code128, "four", {40, 290}, 0},
    };
    for (const auto &code : codes) {
        const int moduleSize = code.format == ZXing::BarcodeFormat::Code128 ? 2 : 3;
        const QImage codeImage = Brevlinder::Test::codeImage(code.format, QString::fromLatin1(code.text), moduleSize);
        const QSizeF size = codeImage.size();
        // Each step applies to the points before the ones written ahead of it: turned about its middle, placed, scaled.
        const QTransform toImage = QTransform()
                                       .scale(scale, scale)
                                       .translate(code.at.x() + size.width() / 2, code.at.y() + size.height() / 2)
                                       .rotate(code.angle)
                                       .translate(-size.width() / 2, -size.height() / 2);
        painter.setTransform(toImage);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QPointF(), codeImage);

        const int quietZone = (code.format == ZXing::BarcodeFormat::Code128 ? 10 : 4) * moduleSize;
        const QRectF symbol = QRectF(QPointF(), size).adjusted(quietZone, quietZone, -quietZone, -quietZone);
        QPolygonF corners;
        if (code.format == ZXing::BarcodeFormat::Code128) {
            corners << QPointF(symbol.left(), symbol.center().y()) << QPointF(symbol.right(), symbol.center().y());
        } else {
            corners << symbol.topLeft() << symbol.topRight() << symbol.bottomRight() << symbol.bottomLeft();
        }
        scene.outlines.append(CodeOutline{int(scene.outlines.size()), toImage.map(corners).toPolygon()});
    }
    return scene;
}

QPointF centreOf(const QPolygonF &polygon)
{
    QPointF sum;
    for (const QPointF point : polygon) {
        sum += point;
    }
    return sum / polygon.size();
}

int colourDistance(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
}

// Whether any pixel within \p radius of \p point, in logical pixels, meets \p test.
template<typename Test>
bool anyNear(const QImage &image, QPointF point, int radius, Test test)
{
    const qreal ratio = image.devicePixelRatio();
    const QPoint centre = (point * ratio).toPoint();
    const int reach = qRound(radius * ratio);
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const QPoint at = centre + QPoint(dx, dy);
            if (image.rect().contains(at) && test(at)) {
                return true;
            }
        }
    }
    return false;
}

}

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
    void outlinesDrawnOverCodes_data();
    void outlinesDrawnOverCodes();
    void outlinesClicked_data();
    void outlinesClicked();

private:
    static void addSceneRows();
    // Where the image's pixel \p imagePoint shows, by the label's contents rectangle, in the label's coordinates.
    static QPointF shownAt(QLabel *label, QSize imageSize, QPointF imagePoint);
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

void ImageViewTest::addSceneRows()
{
    QTest::addColumn<QSize>("viewSize");
    QTest::addColumn<int>("scale");
    QTest::addColumn<qreal>("aztecAngle");

    QTest::newRow("small view") << QSize(260, 240) << 1 << 0.0;
    QTest::newRow("large view, rotated code") << QSize(700, 520) << 1 << 30.0;
    QTest::newRow("image larger than the screen, rotated code") << QSize(520, 400) << 4 << -20.0;
}

QPointF ImageViewTest::shownAt(QLabel *label, QSize imageSize, QPointF imagePoint)
{
    const QRectF contents = label->contentsRect();
    return contents.topLeft()
        + QPointF((imagePoint.x() + 0.5) * contents.width() / imageSize.width(), (imagePoint.y() + 0.5) * contents.height() / imageSize.height());
}

void ImageViewTest::outlinesDrawnOverCodes_data()
{
    addSceneRows();
}

// Each outline runs along its code's corners, as the image is scaled and placed; the current one stands out in
// the highlight colour over a tinted code, the others leave their codes' insides alone. A new image drops them.
void ImageViewTest::outlinesDrawnOverCodes()
{
    QFETCH(QSize, viewSize);
    QFETCH(int, scale);
    QFETCH(qreal, aztecAngle);

    const Scene scene = codeScene(scale, aztecAngle);
    ImageView view;
    QLabel *label = imageLabel(view);
    view.resize(viewSize);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_VERIFY(laidOut(view, viewSize));
    view.setImage(scene.image);
    QTRY_VERIFY(!label->pixmap().isNull());
    QCOMPARE(label->pixmap().size() == scene.image.size(), scale == 1);
    const QImage plain = label->grab().toImage();

    constexpr int current = 0;
    view.setOutlines(scene.outlines, current);
    const QImage outlined = label->grab().toImage();
    if (qEnvironmentVariableIsSet("BREVLINDER_SCREENSHOTS")) {
        QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
        const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-').remove(u',');
        QVERIFY(view.grab().save(QStringLiteral(SCREENSHOT_DIR "/outlines-%1.png").arg(name)));
    }

    const QRgb highlight = label->palette().color(QPalette::Highlight).rgb();
    const auto changed = [&](QPoint at) {
        return colourDistance(outlined.pixel(at), plain.pixel(at)) > 60;
    };
    const auto highlighted = [&](QPoint at) {
        return colourDistance(outlined.pixel(at), highlight) < 40;
    };
    for (const CodeOutline &outline : scene.outlines) {
        QPolygonF shown;
        for (const QPoint corner : outline.corners) {
            shown << shownAt(label, scene.image.size(), corner);
        }
        const QString code = QString::number(outline.code);
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const QPointF corner = shown.at(i);
            const QPointF middle = (corner + shown.at((i + 1) % shown.size())) / 2;
            // The outline keeps a few pixels clear of the code.
            QVERIFY2(anyNear(outlined, corner, 4, changed), qPrintable(code));
            QVERIFY2(anyNear(outlined, middle, 4, changed), qPrintable(code));
            QCOMPARE(anyNear(outlined, middle, 4, highlighted), outline.code == current);
        }
        if (shown.size() > 2) {
            QVERIFY2(anyNear(outlined, centreOf(shown), 1, changed) == (outline.code == current), qPrintable(code));
        }
    }
    const QPointF farFromCodes = shownAt(label, scene.image.size(), QPointF(200, 40) * scale);
    QVERIFY(!anyNear(outlined, farFromCodes, 3, changed));

    view.setImage(scene.image);
    QTRY_VERIFY(!label->pixmap().isNull());
    const QImage again = label->grab().toImage();
    const QPointF currentCorner = shownAt(label, scene.image.size(), scene.outlines.at(current).corners.at(0));
    QVERIFY(!anyNear(again, currentCorner, 4, [&](QPoint at) {
        return colourDistance(again.pixel(at), plain.pixel(at)) > 60;
    }));
}

void ImageViewTest::outlinesClicked_data()
{
    addSceneRows();
}

// A left click inside another code's outline, or on the line of a linear code, asks for that code, which the
// pointer shows as it passes; a click on the current code, beside the codes or with another button asks for
// nothing.
void ImageViewTest::outlinesClicked()
{
    QFETCH(QSize, viewSize);
    QFETCH(int, scale);
    QFETCH(qreal, aztecAngle);

    const Scene scene = codeScene(scale, aztecAngle);
    ImageView view;
    QLabel *label = imageLabel(view);
    view.resize(viewSize);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_VERIFY(laidOut(view, viewSize));
    view.setImage(scene.image);
    QTRY_VERIFY(!label->pixmap().isNull());
    QSignalSpy clicked(&view, &ImageView::codeClicked);

    constexpr int current = 2;
    view.setOutlines(scene.outlines, current);
    for (const CodeOutline &outline : scene.outlines) {
        const QPoint inside = shownAt(label, scene.image.size(), centreOf(QPolygonF(outline.corners))).toPoint();
        QTest::mouseMove(label, inside);
        QTRY_COMPARE(label->cursor().shape(), outline.code == current ? Qt::ArrowCursor : Qt::PointingHandCursor);
        QTest::mouseClick(label, Qt::RightButton, Qt::NoModifier, inside);
        QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, inside);
        if (outline.code == current) {
            QCOMPARE(clicked.count(), 0);
        } else {
            QCOMPARE(clicked.count(), 1);
            QCOMPARE(clicked.takeFirst().at(0).toInt(), outline.code);
        }
    }

    const QPoint beside = shownAt(label, scene.image.size(), QPointF(200, 40) * scale).toPoint();
    QTest::mouseMove(label, beside);
    QTRY_COMPARE(label->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, beside);
    QCOMPARE(clicked.count(), 0);

    // A new image drops the outlines, and with them their clicks.
    view.setImage(scene.image);
    QTRY_VERIFY(!label->pixmap().isNull());
    const QPoint formerCode = shownAt(label, scene.image.size(), centreOf(QPolygonF(scene.outlines.at(0).corners))).toPoint();
    QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, formerCode);
    QCOMPARE(clicked.count(), 0);
}

QTEST_MAIN(ImageViewTest)

#include "imageviewtest.moc"
