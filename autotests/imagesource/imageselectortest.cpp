// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "imageselector.h"
#include "codeimages.h"
#include "documentfiles.h"
#include "modalanswers.h"
#include "scanrecorder.h"
#include "tool.h"

#include <KMessageWidget>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <functional>
#include <memory>

using Brevlinder::ImageSource::ImageSelector;
using Brevlinder::ImageSource::Tool;
using Brevlinder::Test::ModalAnswers;
using Brevlinder::Test::ScanRecorder;

namespace
{
using MimeDataMaker = std::function<std::unique_ptr<QMimeData>(const QUrl &codeFile, const QUrl &otherFile)>;

QImage codeImage(const QString &text)
{
    return Brevlinder::Test::codeImage(ZXing::BarcodeFormat::QRCode, text);
}

KMessageWidget *messageWidget(Tool &tool)
{
    return tool.widget()->findChild<KMessageWidget *>(QStringLiteral("messageWidget"));
}

// Lets every load and scan in flight end and its outcome arrive.
void settle(Tool &tool)
{
    QTRY_VERIFY(tool.widget()->isEnabled());
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

}

Q_DECLARE_METATYPE(MimeDataMaker)

class ImageSelectorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        QVERIFY(m_directory.isValid());
        m_codeFile = QUrl::fromLocalFile(m_directory.filePath(QStringLiteral("code.png")));
        QVERIFY(codeImage(QStringLiteral("from the file")).save(m_codeFile.toLocalFile()));
        m_otherFile = QUrl::fromLocalFile(m_directory.filePath(QStringLiteral("other.png")));
        QVERIFY(codeImage(QStringLiteral("from the other file")).save(m_otherFile.toLocalFile()));
    }

    // What the selector makes of each kind of data, shown by what the real tool then does with it.
    void load_data()
    {
        QTest::addColumn<MimeDataMaker>("makeMimeData");
        QTest::addColumn<bool>("usable");
        // What the tool reads in the end: empty for nothing at all, or the message and decoded text.
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("decodedText");

        const QString scanned = QStringLiteral("Code in the image successfully scanned.");
        const auto withImage = [](const QString &text) {
            auto data = std::make_unique<QMimeData>();
            data->setImageData(codeImage(text));
            return data;
        };
        const auto withUrls = [](const QList<QUrl> &urls) {
            auto data = std::make_unique<QMimeData>();
            data->setUrls(urls);
            return data;
        };

        QTest::newRow("image only") << MimeDataMaker([=](const QUrl &, const QUrl &) {
            return withImage(QStringLiteral("from the image"));
        }) << true << scanned << QStringLiteral("from the image");
        QTest::newRow("one URL") << MimeDataMaker([=](const QUrl &code, const QUrl &) {
            return withUrls({code});
        }) << true << scanned << QStringLiteral("from the file");
        QTest::newRow("two URLs") << MimeDataMaker([=](const QUrl &code, const QUrl &other) {
            return withUrls({code, other});
        }) << false << QString() << QString();
        QTest::newRow("empty URL list") << MimeDataMaker([=](const QUrl &, const QUrl &) {
            return withUrls({});
        }) << false << QString() << QString();
        QTest::newRow("text only") << MimeDataMaker([](const QUrl &code, const QUrl &) {
            auto data = std::make_unique<QMimeData>();
            data->setText(code.toString());
            return data;
        }) << false << QString() << QString();
        QTest::newRow("image and URL: the image wins") << MimeDataMaker([=](const QUrl &code, const QUrl &) {
            auto data = withImage(QStringLiteral("from the image"));
            data->setUrls({code});
            return data;
        }) << true << scanned << QStringLiteral("from the image");
        QTest::newRow("null image data") << MimeDataMaker([](const QUrl &, const QUrl &) {
            auto data = std::make_unique<QMimeData>();
            data->setImageData(QImage());
            return data;
        }) << true << QStringLiteral("Could not scan code in the image.")
                                         << QString();
        QTest::newRow("no data object") << MimeDataMaker([](const QUrl &, const QUrl &) {
            return std::unique_ptr<QMimeData>();
        }) << false << QString() << QString();
    }

    void load()
    {
        QFETCH(MimeDataMaker, makeMimeData);
        QFETCH(bool, usable);
        QFETCH(QString, message);
        QFETCH(QString, decodedText);

        Tool tool;
        tool.switchToPickView();
        ScanRecorder scans(tool);
        ImageSelector selector(&tool);
        const std::unique_ptr<QMimeData> data = makeMimeData(m_codeFile, m_otherFile);

        QCOMPARE(selector.canLoad(data.get()), usable);
        QCOMPARE(selector.load(data.get(), ImageSelector::Via::Clipboard), usable);
        settle(tool);

        QCOMPARE(messageWidget(tool)->text(), message);
        QCOMPARE(scans.count(), usable ? 1 : 0);
        QCOMPARE(tool.isInPickView(), !usable);
        if (usable) {
            QCOMPARE(scans.results.at(0).isValid(), !decodedText.isEmpty());
            QCOMPARE(scans.results.at(0).text(), decodedText);
        }
    }

    void chosenFileIsLoaded()
    {
        Tool tool;
        tool.switchToPickView();
        ScanRecorder scans(tool);
        const QString chosen = m_codeFile.toLocalFile();
        ModalAnswers answers({[chosen](QWidget *dialog) {
            auto *fileName = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (!qobject_cast<QFileDialog *>(dialog) || !fileName) {
                dialog->close();
                return;
            }
            fileName->setText(chosen);
            QTest::keyClick(fileName, Qt::Key_Return);
        }});
        ImageSelector(&tool).selectFile();
        settle(tool);

        QCOMPARE(answers.seen, QStringList{QStringLiteral("Open Image|")});

        QCOMPARE(scans.count(), 1);
        QCOMPARE(scans.results.at(0).text(), QStringLiteral("from the file"));
        QVERIFY(!tool.isInPickView());
    }

    // The dialog lists images and PDF documents at first, and every file on request; a PDF file chosen is read.
    void chosenDocumentIsLoaded()
    {
        const QString chosen = m_directory.filePath(QStringLiteral("pages.pdf"));
        QFile pdf(chosen);
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.write(Brevlinder::Test::pdfOfCodes({QStringLiteral("from the first page"), QStringLiteral("from the second page")}));
        pdf.close();
        Tool tool;
        tool.switchToPickView();
        ScanRecorder scans(tool);
        QStringList nameFilters;
        ModalAnswers answers({[chosen, &nameFilters](QWidget *dialog) {
            auto *fileDialog = qobject_cast<QFileDialog *>(dialog);
            auto *fileName = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (!fileDialog || !fileName) {
                dialog->close();
                return;
            }
            nameFilters = fileDialog->nameFilters();
            fileName->setText(chosen);
            QTest::keyClick(fileName, Qt::Key_Return);
        }});
        ImageSelector(&tool).selectFile();
        settle(tool);

        QCOMPARE(nameFilters.size(), 2);
        const QStringList offered = nameFilters.at(0).section(QLatin1Char('('), 1).chopped(1).split(QLatin1Char(' '));
        for (const QString &pattern : {QStringLiteral("*.pdf"), QStringLiteral("*.png"), QStringLiteral("*.jpg"), QStringLiteral("*.tiff"), QStringLiteral("*.gif")}) {
            QVERIFY2(offered.contains(pattern), qPrintable(nameFilters.at(0)));
        }
        QCOMPARE(nameFilters.at(1), QStringLiteral("All Files (*)"));
        QCOMPARE(scans.count(), 1);
        QCOMPARE(scans.results.at(0).text(), QStringLiteral("from the first page"));
    }

    void cancelledDialogChangesNothing()
    {
        Tool tool;
        tool.switchToPickView();
        ScanRecorder scans(tool);
        ModalAnswers answers({[](QWidget *dialog) {
            QMetaObject::invokeMethod(qobject_cast<QDialog *>(dialog), &QDialog::reject, Qt::QueuedConnection);
        }});
        ImageSelector(&tool).selectFile();
        settle(tool);

        QCOMPARE(answers.seen, QStringList{QStringLiteral("Open Image|")});
        QCOMPARE(scans.count(), 0);
        QVERIFY(tool.isInPickView());
        QVERIFY(messageWidget(tool)->text().isEmpty());
    }

private:
    QTemporaryDir m_directory;
    QUrl m_codeFile;
    QUrl m_otherFile;
};

QTEST_MAIN(ImageSelectorTest)

#include "imageselectortest.moc"
