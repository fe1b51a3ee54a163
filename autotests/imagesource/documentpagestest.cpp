// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "documentfiles.h"
#include "imageview.h"
#include "scanrecorder.h"
#include "scanresult.h"
#include "sourcetoolparts.h"
#include "tool.h"

#include <KMessageWidget>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Brevlinder::ScanResult;
using Brevlinder::ImageSource::Tool;
using Brevlinder::Test::ScanRecorder;
using namespace Brevlinder::Test;

namespace
{

QString pageLabel(Tool &tool)
{
    return tool.widget()->findChild<QLabel *>(QStringLiteral("pageLabel"))->text();
}

QWidget *imageView(Tool &tool)
{
    return tool.widget()->findChild<Brevlinder::ImageSource::ImageView *>();
}

// Writes a PDF of one page a text (a QR code of it, or nothing for an empty one), A4 unless said otherwise, and
// gives its URL.
QUrl writtenPdf(const QTemporaryDir &directory, const QString &name, const QStringList &pageTexts, const QPageSize &pageSize = QPageSize(QPageSize::A4))
{
    const QString fileName = directory.filePath(name);
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(Brevlinder::Test::pdfOfCodes(pageTexts, pageSize)) < 0) {
        return {};
    }
    return QUrl::fromLocalFile(fileName);
}

}

class DocumentPagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Codes on pages 1 and 3 of 4: both offered with their pages; turning pages shows them and makes a page's code
    // the current one; choosing a code shows its page.
    void codesOnTwoPagesOfFour()
    {
        const QTemporaryDir directory;
        const QUrl url =
            writtenPdf(directory, QStringLiteral("tickets.pdf"), {QStringLiteral("first page"), QString(), QStringLiteral("third page"), QString()});
        Tool tool;
        ScanRecorder scans(tool);
        tool.widget()->resize(600, 500);
        tool.widget()->show();
        tool.widget()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(tool.widget()));
        tool.load(url);

        QTRY_COMPARE(messageWidget(tool)->text(), QStringLiteral("2 codes found in the document."));
        // Page Up and Page Down turn pages wherever the focus is in the picture's part of the window.
        QWidget *scrollArea = imageView(tool)->findChild<QScrollArea *>();
        scrollArea->setFocus(Qt::TabFocusReason);
        QVERIFY(scrollArea->hasFocus());
        QCOMPARE(scans.count(), 1);
        QCOMPARE(lastText(scans), QStringLiteral("first page"));
        QCOMPARE(entriesOf(codeChooser(tool)),
                 QStringList({QStringLiteral("page 1 · 1 of 1 · QR Code · first page"), QStringLiteral("page 3 · 1 of 1 · QR Code · third page")}));
        QCOMPARE(pageLabel(tool), QStringLiteral("Page 1 of 4"));
        QCOMPARE(imageView(tool)->findChild<QLabel *>()->accessibleName(), QStringLiteral("tickets.pdf, page 1 of 4"));

        // A page without a code keeps the text of the code before.
        QTest::keyClick(scrollArea, Qt::Key_PageDown);
        QTRY_COMPARE(imageView(tool)->findChild<QLabel *>()->accessibleName(), QStringLiteral("tickets.pdf, page 2 of 4"));
        QCOMPARE(pageLabel(tool), QStringLiteral("Page 2 of 4"));
        QCOMPARE(scans.count(), 1);

        QTest::keyClick(scrollArea, Qt::Key_PageDown);
        QTRY_COMPARE(lastText(scans), QStringLiteral("third page"));
        QTRY_COMPARE(imageView(tool)->findChild<QLabel *>()->accessibleName(), QStringLiteral("tickets.pdf, page 3 of 4"));
        QCOMPARE(codeChooser(tool)->currentIndex(), 1);

        codeChooser(tool)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(codeChooser(tool), Qt::Key_Up);
        QTRY_COMPARE(lastText(scans), QStringLiteral("first page"));
        QTRY_COMPARE(imageView(tool)->findChild<QLabel *>()->accessibleName(), QStringLiteral("tickets.pdf, page 1 of 4"));
        QCOMPARE(pageLabel(tool), QStringLiteral("Page 1 of 4"));
    }

    // In a document of several pages, the chooser counts codes on their own page: a TIFF file whose first page has
    // two codes and whose second has one.
    void codesAreCountedOnTheirPage()
    {
        const QTemporaryDir directory;
        const QString first = directory.filePath(QStringLiteral("first.png"));
        const QString second = directory.filePath(QStringLiteral("second.png"));
        QVERIFY(Brevlinder::Test::codeSheet({{ZXing::BarcodeFormat::QRCode, QStringLiteral("page one, left"), {40, 40}},
                                             {ZXing::BarcodeFormat::DataMatrix, QStringLiteral("page one, right"), {700, 420}}})
                    .image.save(first));
        QVERIFY(Brevlinder::Test::codeSheet({{ZXing::BarcodeFormat::Aztec, QStringLiteral("page two"), {300, 300}}}).image.save(second));
        const QString pages = directory.filePath(QStringLiteral("pages.tif"));
        QVERIFY(Brevlinder::Test::runTool(QStringLiteral("convert"), {first, second, pages}));

        Tool tool;
        ScanRecorder scans(tool);
        tool.load(QUrl::fromLocalFile(pages));

        QTRY_COMPARE(messageWidget(tool)->text(), QStringLiteral("3 codes found in the document."));
        QStringList starts;
        for (const QString &entry : entriesOf(codeChooser(tool))) {
            starts.append(entry.section(QStringLiteral(" · "), 0, 1));
        }
        QCOMPARE(starts, QStringList({QStringLiteral("page 1 · 1 of 2"), QStringLiteral("page 1 · 2 of 2"), QStringLiteral("page 2 · 1 of 1")}));
    }

    // A document whose first code is on a later page shows that page and its code when the page has been read.
    void firstCodeOnALaterPageIsShown()
    {
        const QTemporaryDir directory;
        const QUrl url = writtenPdf(directory, QStringLiteral("late.pdf"), {QString(), QString(), QStringLiteral("on page three")});
        Tool tool;
        ScanRecorder scans(tool);
        tool.load(url);

        QTRY_COMPARE(messageWidget(tool)->text(), QStringLiteral("One code found in the document."));
        QCOMPARE(lastText(scans), QStringLiteral("on page three"));
        QTRY_COMPARE(pageLabel(tool), QStringLiteral("Page 3 of 3"));
        QTRY_COMPARE(imageView(tool)->findChild<QLabel *>()->accessibleName(), QStringLiteral("late.pdf, page 3 of 3"));
        // The first page's empty quick scan cleared what was shown before, without a failure message.
        QVERIFY(!scans.results.constFirst().isValid());
    }

    void documentWithoutCodes()
    {
        const QTemporaryDir directory;
        Tool tool;
        ScanRecorder scans(tool);
        tool.load(writtenPdf(directory, QStringLiteral("blank.pdf"), {QString(), QString()}));

        QTRY_COMPARE(messageWidget(tool)->text(), QStringLiteral("No code found on any of the document's 2 pages."));
        QCOMPARE(messageWidget(tool)->messageType(), KMessageWidget::Error);
        QCOMPARE(scans.count(), 1);
        QVERIFY(!scans.results.constFirst().isValid());
    }

    // Documents that cannot be read say why, and leave nothing of what was shown before.
    void unreadableDocumentSaysWhy_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");

        QTest::newRow("protected by a password") << QStringLiteral("password") << QStringLiteral("The document is protected by a password.");
        QTest::newRow("damaged") << QStringLiteral("damaged") << QStringLiteral("The document is damaged and cannot be read.");
        QTest::newRow("empty file named .pdf") << QStringLiteral("empty") << QStringLiteral("It is empty.");
    }

    void unreadableDocumentSaysWhy()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QTemporaryDir directory;
        const QUrl plain = writtenPdf(directory, QStringLiteral("plain.pdf"), {QStringLiteral("a code before")});
        const QString fileName = directory.filePath(QStringLiteral("document.pdf"));
        if (kind == QLatin1String("password")) {
            QVERIFY(Brevlinder::Test::passwordProtectedCopy(plain.toLocalFile(), fileName));
        } else {
            QFile file(fileName);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(kind == QLatin1String("damaged") ? QByteArray("%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\ngarbage") : QByteArray());
        }

        Tool tool;
        ScanRecorder scans(tool);
        tool.load(plain);
        QTRY_COMPARE(lastText(scans), QStringLiteral("a code before"));
        tool.load(QUrl::fromLocalFile(fileName));

        QTRY_VERIFY2(messageWidget(tool)->text().endsWith(reason), qPrintable(messageWidget(tool)->text()));
        QCOMPARE(messageWidget(tool)->messageType(), KMessageWidget::Error);
        QVERIFY(!scans.results.constLast().isValid());
        QVERIFY(codeChooser(tool)->isHidden());
    }

    // Through a long document the window stays responsive, and the first page's code shows long before the last
    // page has been read.
    void longDocumentKeepsTheWindowResponsive()
    {
        QStringList pages(200);
        pages.first() = QStringLiteral("first of 200");
        pages.last() = QStringLiteral("last of 200");
        const QTemporaryDir directory;
        // Small pages: the length of the document is what counts here, and a busy machine reads them in time.
        const QUrl url = writtenPdf(directory, QStringLiteral("long.pdf"), pages, QPageSize(QPageSize::A7));
        Tool tool;
        ScanRecorder scans(tool);
        tool.widget()->resize(600, 500);
        tool.widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(tool.widget()));

        QString messageWhenFirstCodeShowed;
        connect(&tool, &Tool::scanFinished, this, [&](const ScanResult &result) {
            if (result.isValid() && messageWhenFirstCodeShowed.isEmpty()) {
                messageWhenFirstCodeShowed = messageWidget(tool)->text();
            }
        });
        // The longest the GUI thread went without turning its event loop while the document is read: the time on
        // the clock between two turns, less the time the thread only waited for a core. A busy machine that keeps
        // the thread waiting inflates the clock, not the thread's own work or its blocking waits.
        qint64 longestStall = 0;
        qint64 longestGap = 0;
        qint64 waitedBefore = waitedForCoreMilliseconds();
        QElapsedTimer sinceLastTurn;
        QTimer ticker;
        ticker.setInterval(2);
        connect(&ticker, &QTimer::timeout, this, [&] {
            const qint64 gap = sinceLastTurn.restart();
            const qint64 waitedNow = waitedForCoreMilliseconds();
            longestStall = std::max(longestStall, gap - (waitedNow - waitedBefore));
            longestGap = std::max(longestGap, gap);
            waitedBefore = waitedNow;
        });
        sinceLastTurn.start();
        ticker.start();
        tool.load(url);

        QTRY_COMPARE_WITH_TIMEOUT(messageWidget(tool)->text(), QStringLiteral("2 codes found in the document."), 240000);
        ticker.stop();
        QVERIFY2(messageWhenFirstCodeShowed.startsWith(QStringLiteral("Scanning page ")), qPrintable(messageWhenFirstCodeShowed));
        QCOMPARE(codeChooser(tool)->count(), 2);
        qInfo("longest stall of the GUI thread: %lld ms (on the clock, waits for a core included: %lld ms)", longestStall, longestGap);
        QVERIFY2(longestStall <= stallLimitMilliseconds(), qPrintable(QString::number(longestStall)));
    }

    // Another image while a document's pages are still being scanned: nothing of the document shows over it.
    void newImageDropsTheDocumentBefore()
    {
        QStringList pages(40);
        pages.first() = QStringLiteral("document, first page");
        pages.last() = QStringLiteral("document, last page");
        const QTemporaryDir directory;
        Tool tool;
        ScanRecorder scans(tool);
        tool.load(writtenPdf(directory, QStringLiteral("long.pdf"), pages));
        QTRY_COMPARE(lastText(scans), QStringLiteral("document, first page"));
        QVERIFY(messageWidget(tool)->text().startsWith(QStringLiteral("Scanning page ")));

        const Brevlinder::Test::CodeSheet sheet = Brevlinder::Test::codeSheet({
            {ZXing::BarcodeFormat::QRCode, QStringLiteral("sheet one"), {40, 40}},
            {ZXing::BarcodeFormat::DataMatrix, QStringLiteral("sheet two"), {700, 420}},
        });
        tool.scanImage(sheet.image, QStringLiteral("Sheet"));
        QTRY_COMPARE(messageWidget(tool)->text(), QStringLiteral("2 codes found in the image."));
        // The sheet's codes come from a scan that starts only once the document's has stopped at the end of its
        // page; whatever that found meanwhile, and still on its way, goes nowhere.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();

        QCOMPARE(messageWidget(tool)->text(), QStringLiteral("2 codes found in the image."));
        QVERIFY(!entriesOf(codeChooser(tool)).join(QLatin1Char('\n')).contains(QStringLiteral("page")));
        QCOMPARE(codeChooser(tool)->count(), 2);
        QVERIFY(!tool.widget()->findChild<QLabel *>(QStringLiteral("pageLabel"))->isVisibleTo(tool.widget()));
        QVERIFY(!lastText(scans).startsWith(QStringLiteral("document")));
        QCOMPARE(imageView(tool)->findChild<QLabel *>()->accessibleName(), QStringLiteral("Sheet"));
    }

private:
    // How long this thread has waited, runnable, for a core, from the kernel's scheduler statistics; 0 where they
    // are not kept.
    static qint64 waitedForCoreMilliseconds()
    {
        QFile schedulerStatistics(QStringLiteral("/proc/thread-self/schedstat"));
        if (!schedulerStatistics.open(QIODevice::ReadOnly)) {
            return 0;
        }
        const QList<QByteArray> fields = schedulerStatistics.readAll().split(' ');
        return fields.size() >= 2 ? fields.at(1).toLongLong() / 1000000 : 0;
    }

    static qint64 stallLimitMilliseconds()
    {
        // The sanitizers make every instruction of the GUI thread several times slower.
        return qEnvironmentVariableIsSet("ASAN_OPTIONS") ? 150 : 50;
    }
};

QTEST_MAIN(DocumentPagesTest)

#include "documentpagestest.moc"
