// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "codeimages.h"
#include "proportionalimagelabel.h"
#include "scanrecorder.h"
#include "scanresult.h"
#include "sourcetoolparts.h"
#include "tool.h"

#include <KMessageWidget>

#include <QComboBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using Brevlinder::ScanResult;
using Brevlinder::ImageSource::ProportionalImageLabel;
using Brevlinder::ImageSource::Tool;
using Brevlinder::Test::PlacedCode;
using Brevlinder::Test::ScanRecorder;
using namespace Brevlinder::Test;

namespace
{

// Where a point of the image lies in the shown widget: the label fits the whole image into its contents.
QPoint shownAt(Tool &tool, QSize imageSize, QPointF imagePoint)
{
    auto *label = tool.widget()->findChild<ProportionalImageLabel *>();
    const QRect picture = label->contentsRect();
    const double scale = double(picture.width()) / imageSize.width();
    return label->mapTo(tool.widget(), picture.topLeft() + (imagePoint * scale).toPoint());
}

// A click as the user makes it: on whatever widget is on top at that place.
void clickAt(QWidget *top, QPoint place)
{
    QWidget *target = top->childAt(place);
    QVERIFY2(target, qPrintable(QDebug::toString(place)));
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(top, place));
}

const QList<PlacedCode> twoCodes = {
    {ZXing::BarcodeFormat::QRCode, QStringLiteral("https://example.org/ticket"), {40, 40}},
    {ZXing::BarcodeFormat::DataMatrix, QStringLiteral("Data Matrix beside it"), {700, 420}},
};
const QList<PlacedCode> threeCodes = {
    {ZXing::BarcodeFormat::QRCode, QStringLiteral("QR"), {40, 40}},
    {ZXing::BarcodeFormat::Aztec, QStringLiteral("Aztec on a boarding pass"), {600, 40}},
    {ZXing::BarcodeFormat::EAN13, QStringLiteral("4006381333931"), {300, 450}},
};
const QList<PlacedCode> sixCodes = {
    {ZXing::BarcodeFormat::QRCode, QStringLiteral("QR code one"), {40, 40}},
    {ZXing::BarcodeFormat::DataMatrix, QStringLiteral("Data Matrix two"), {560, 40}},
    {ZXing::BarcodeFormat::Aztec, QStringLiteral("Aztec three"), {1100, 40}},
    {ZXing::BarcodeFormat::EAN13, QStringLiteral("4006381333931"), {40, 560}},
    {ZXing::BarcodeFormat::Code128, QStringLiteral("C128"), {560, 560}},
    {ZXing::BarcodeFormat::PDF417, QStringLiteral("PDF417"), {1000, 560}},
};

}

class CodeChoiceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyCodeIsFoundAndClickable_data()
    {
        QTest::addColumn<QList<PlacedCode>>("codes");
        QTest::addColumn<QSize>("sheetSize");
        QTest::addColumn<QSize>("viewSize");

        QTest::newRow("2 codes, small window") << twoCodes << QSize(1200, 800) << QSize(420, 330);
        QTest::newRow("2 codes, large window") << twoCodes << QSize(1200, 800) << QSize(1100, 800);
        QTest::newRow("3 codes, small window") << threeCodes << QSize(1200, 800) << QSize(420, 330);
        QTest::newRow("3 codes, tall window") << threeCodes << QSize(1200, 800) << QSize(500, 900);
        QTest::newRow("6 codes, small window") << sixCodes << QSize(1600, 1000) << QSize(480, 360);
        QTest::newRow("6 codes, large window") << sixCodes << QSize(1600, 1000) << QSize(1300, 900);
    }

    // Every code is found and offered; a click inside a code's outline makes it the result, as a new scan would.
    void everyCodeIsFoundAndClickable()
    {
        QFETCH(QList<PlacedCode>, codes);
        QFETCH(QSize, sheetSize);
        QFETCH(QSize, viewSize);
        const Brevlinder::Test::CodeSheet sheet = Brevlinder::Test::codeSheet(codes, sheetSize);

        Tool tool;
        ScanRecorder scans(tool);
        tool.widget()->resize(viewSize);
        tool.widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(tool.widget()));
        tool.scanImage(sheet.image, QStringLiteral("Sheet"));

        QTRY_COMPARE(messageWidget(tool)->text(), QStringLiteral("%1 codes found in the image.").arg(codes.size()));
        QCOMPARE(messageWidget(tool)->messageType(), KMessageWidget::Positive);
        QCOMPARE(scans.count(), 1);
        QVERIFY(codeChooser(tool)->isVisible());
        QCOMPARE(codeChooser(tool)->count(), codes.size());

        // From the last code to the first, so that each click changes the current code.
        for (qsizetype i = codes.size() - 1; i >= 0; --i) {
            const QRect symbol = sheet.symbols.at(i);
            if (lastText(scans) == codes.at(i).text) {
                continue;
            }
            const qsizetype before = scans.count();
            clickAt(tool.widget(), shownAt(tool, sheet.image.size(), QRectF(symbol).center()));
            QTRY_COMPARE(scans.count(), before + 1);
            QCOMPARE(lastText(scans), codes.at(i).text);
            QVERIFY2(codeChooser(tool)->currentText().contains(codes.at(i).text.left(10)), qPrintable(codeChooser(tool)->currentText()));
        }

        // A click on the current code, or beside every code, changes nothing.
        const qsizetype settled = scans.count();
        clickAt(tool.widget(), shownAt(tool, sheet.image.size(), QRectF(sheet.symbols.first()).center()));
        clickAt(tool.widget(), shownAt(tool, sheet.image.size(), QPointF(sheetSize.width() - 5, sheetSize.height() - 5)));
        QCoreApplication::processEvents();
        QCOMPARE(scans.count(), settled);
    }

    // A code turned askew is chosen by a click inside its turned outline, not by one in the corner of the
    // rectangle around it.
    void rotatedCodeIsChosenInsideItsOutline()
    {
        const QImage code = Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, QStringLiteral("turned"), 6);
        QImage sheet(1000, 700, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        painter.drawImage(40, 40, Brevlinder::Test::codeImage(ZXing::BarcodeFormat::DataMatrix, QStringLiteral("upright")));
        painter.translate(650, 350);
        painter.rotate(45);
        painter.drawImage(-code.width() / 2, -code.height() / 2, code);
        painter.end();

        Tool tool;
        ScanRecorder scans(tool);
        tool.widget()->resize(700, 520);
        tool.widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(tool.widget()));
        tool.scanImage(sheet, QStringLiteral("Sheet"));
        QTRY_COMPARE(messageWidget(tool)->text(), QStringLiteral("2 codes found in the image."));
        if (lastText(scans) == QStringLiteral("turned")) {
            clickAt(tool.widget(), shownAt(tool, sheet.size(), QPointF(100, 100)));
            QTRY_COMPARE(lastText(scans), QStringLiteral("upright"));
        }

        // The symbol's half diagonal is about 1.4 times its half side: a point on the diagonal of the upright
        // square around the turned symbol, just inside that square, lies outside the symbol.
        const double halfSide = (code.width() - 2 * 4 * 6) / 2.0;
        const qsizetype before = scans.count();
        clickAt(tool.widget(), shownAt(tool, sheet.size(), QPointF(650 - halfSide * 1.3, 350 - halfSide * 1.3)));
        QCoreApplication::processEvents();
        QCOMPARE(scans.count(), before);
        clickAt(tool.widget(), shownAt(tool, sheet.size(), QPointF(650, 350 - halfSide * 1.2)));
        QTRY_COMPARE(lastText(scans), QStringLiteral("turned"));
    }

    // Tab reaches the chooser, and the arrow keys go through the codes.
    void chooserWorksByKeyboard()
    {
        const Brevlinder::Test::CodeSheet sheet = Brevlinder::Test::codeSheet(threeCodes);
        Tool tool;
        ScanRecorder scans(tool);
        tool.widget()->resize(600, 450);
        tool.widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(tool.widget()));
        tool.widget()->activateWindow();
        tool.scanImage(sheet.image, QStringLiteral("Sheet"));
        QTRY_COMPARE(codeChooser(tool)->count(), 3);

        for (int tab = 0; tab < 10 && !codeChooser(tool)->hasFocus(); ++tab) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : tool.widget(), Qt::Key_Tab);
        }
        QVERIFY(codeChooser(tool)->hasFocus());
        const int first = codeChooser(tool)->currentIndex();
        const qsizetype before = scans.count();
        QTest::keyClick(codeChooser(tool), first == 2 ? Qt::Key_Up : Qt::Key_Down);
        QTRY_COMPARE(scans.count(), before + 1);
        const int chosen = codeChooser(tool)->currentIndex();
        QVERIFY(chosen != first);
        QVERIFY2(codeChooser(tool)->itemText(chosen).contains(lastText(scans).left(10)), qPrintable(codeChooser(tool)->itemText(chosen)));
        QVERIFY2(codeChooser(tool)->itemText(chosen).startsWith(QStringLiteral("%1 of 3 · ").arg(chosen + 1)), qPrintable(codeChooser(tool)->itemText(chosen)));
    }

    // The parts of a structured-append sequence in one image give one text; a missing part is named.
    void structuredAppendIsJoined_data()
    {
        QTest::addColumn<QList<int>>("shownParts");
        QTest::addColumn<QString>("message");

        QTest::newRow("all parts") << QList<int>{1, 0, 2} << QStringLiteral("Code in the image successfully scanned.");
        QTest::newRow("part 2 missing") << QList<int>{0, 2}
                                        << QStringLiteral("2 codes found in the image. Part 2 of a code split over 3 QR Code symbols is missing.");
    }

    void structuredAppendIsJoined()
    {
        QFETCH(QList<int>, shownParts);
        QFETCH(QString, message);
        const QString text = QStringLiteral(
            "Structured append splits one message over several QR codes; a reader joins the parts into the whole text, "
            "in the order of their numbers, whatever order they were found in.");
        const QTemporaryDir directory;
        const QList<QImage> parts = Brevlinder::Test::structuredAppendParts(text, directory.path());
        QCOMPARE(parts.size(), 3);
        QList<QImage> shown;
        for (int part : shownParts) {
            shown.append(parts.at(part));
        }

        Tool tool;
        ScanRecorder scans(tool);
        tool.scanImage(Brevlinder::Test::sideBySide(shown), QStringLiteral("Parts"));

        if (shownParts.size() == parts.size()) {
            QTRY_COMPARE(lastText(scans), text);
            QCOMPARE(scans.results.constLast().data(), text.toUtf8());
            QVERIFY(codeChooser(tool)->isHidden());
        } else {
            QTRY_COMPARE(messageWidget(tool)->text(), message);
            QCOMPARE(messageWidget(tool)->messageType(), KMessageWidget::Warning);
            QCOMPARE(codeChooser(tool)->count(), 2);
        }
        QCOMPARE(messageWidget(tool)->text(), message);
    }
};

QTEST_MAIN(CodeChoiceTest)

#include "codechoicetest.moc"
