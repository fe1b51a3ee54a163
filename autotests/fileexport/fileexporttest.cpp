// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "modalanswers.h"
#include "scanresult.h"
#include "tool.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <functional>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Brevlinder;
using Brevlinder::Test::ModalAnswers;

namespace
{

void clickLater(QAbstractButton *button)
{
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
}

/// Types \p fileName into the file dialog and presses its Save button.
ModalAnswers::Answer chooseFile(const QString &fileName)
{
    return [fileName](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        auto *edit = dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
        auto *buttons = dialog ? dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox")) : nullptr;
        QPushButton *save = buttons ? buttons->button(QDialogButtonBox::Save) : nullptr;
        if (!edit || !save) {
            QMetaObject::invokeMethod(modal, &QWidget::close, Qt::QueuedConnection);
            return;
        }
        edit->setText(fileName);
        clickLater(save);
    };
}

ModalAnswers::Answer cancelDialog(const QString &typedFileName)
{
    return [typedFileName](QWidget *modal) {
        if (auto *edit = modal->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
            edit->setText(typedFileName);
        }
        QMetaObject::invokeMethod(qobject_cast<QDialog *>(modal), &QDialog::reject, Qt::QueuedConnection);
    };
}

ModalAnswers::Answer pressMessageBoxButton(QMessageBox::StandardButton which)
{
    return [which](QWidget *modal) {
        auto *messageBox = qobject_cast<QMessageBox *>(modal);
        QAbstractButton *button = messageBox ? messageBox->button(which) : nullptr;
        if (!button) {
            QMetaObject::invokeMethod(modal, &QWidget::close, Qt::QueuedConnection);
            return;
        }
        clickLater(button);
    };
}

QByteArray contentOf(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &fileName, const QByteArray &content)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.flush();
}

QByteArray binaryPayload()
{
    QByteArray payload("\x00\x01\r\n\x1a\x7f", 6);
    for (int value = 0x80; value <= 0xff; ++value) {
        payload.append(char(value));
    }
    payload.append('\0');
    return payload;
}

QString reasonText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

enum class Content {
    Text,
    Data,
};

enum class Obstacle {
    NoWritePermission,
    FullDisk,
    FileInsteadOfFolder,
};

/**
 * Takes the permission to write into \p directory away for as long as it lives. Root may write anywhere, so a
 * test run as root drops to nobody's effective user id meanwhile; the directories above become readable for it.
 */
class WithoutWritePermission
{
public:
    WithoutWritePermission(const QString &root, const QString &directory)
        : m_directory(directory)
    {
        ::chmod(QFile::encodeName(root).constData(), 0755);
        ::chmod(QFile::encodeName(directory).constData(), 0555);
        if (::geteuid() == 0) {
            m_droppedRoot = ::seteuid(65534) == 0;
        }
    }
    ~WithoutWritePermission()
    {
        if (m_droppedRoot && ::seteuid(0) != 0) {
            qFatal("could not take the root user id back");
        }
        ::chmod(QFile::encodeName(m_directory).constData(), 0755);
    }

private:
    QString m_directory;
    bool m_droppedRoot = false;
};

/// Lowers the largest file this process may write to \p bytes for as long as it lives: a full disk, in effect.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        const rlimit lowered{bytes, m_saved.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
    }

private:
    rlimit m_saved{};
};

}

class FileExportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Drive Qt's own dialog, whatever platform dialog might be around.
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        // Writing beyond the file size limit must fail the write, not end the process.
        std::signal(SIGXFSZ, SIG_IGN);
    }

    void init()
    {
        m_directory = std::make_unique<QTemporaryDir>();
        QVERIFY(m_directory->isValid());
        m_buttonBox = std::make_unique<QDialogButtonBox>();
        m_tool = std::make_unique<FileExport::Tool>();
        m_tool->setupButtons(m_buttonBox.get());
        m_button = m_buttonBox->findChild<QToolButton *>();
        QVERIFY(m_button);
        m_buttonBox->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_buttonBox.get()));
    }

    void cleanup()
    {
        m_tool.reset();
        m_buttonBox.reset();
        m_directory.reset();
    }

    void buttonShowsTheTextActionAndTheMenuBothEntries()
    {
        QCOMPARE(m_button->text(), QStringLiteral("Save Text As…"));
        QCOMPARE(m_button->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        QCOMPARE(m_button->popupMode(), QToolButton::MenuButtonPopup);
        const QList<QAction *> actions = m_button->menu()->actions();
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions.at(0)->text(), QStringLiteral("Save Text As…"));
        QCOMPARE(actions.at(1)->text(), QStringLiteral("Save Data As…"));
        QCOMPARE(actions.at(1)->toolTip(), QStringLiteral("Save the raw bytes of the code to a file"));
    }

    // The button says what it saves, not the standard action's words about a document.
    void buttonToolTipSaysWhatItDoes()
    {
        m_tool->setScanResult(ScanResult(QStringLiteral("text"), QByteArrayLiteral("data")));
        const QPoint position(5, m_button->height() / 2);
        QHelpEvent event(QEvent::ToolTip, position, m_button->mapToGlobal(position));
        QCoreApplication::sendEvent(m_button, &event);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("Save the decoded text to a file"));
    }

    void savesWhatWasAskedFor_data()
    {
        QTest::addColumn<Content>("content");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("expected");

        const QString beyondAscii = QStringLiteral("Grüße aus Köln\n日本語 ✓ 😀");
        QTest::newRow("text beyond ascii, as utf-8 without byte-order mark") << Content::Text << beyondAscii << binaryPayload() << beyondAscii.toUtf8();
        QTest::newRow("empty text") << Content::Text << QString() << binaryPayload() << QByteArray();
        QTest::newRow("binary data byte for byte") << Content::Data << beyondAscii << binaryPayload() << binaryPayload();
        QTest::newRow("empty data") << Content::Data << beyondAscii << QByteArray() << QByteArray();
    }

    void savesWhatWasAskedFor()
    {
        QFETCH(Content, content);
        QFETCH(QString, text);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, expected);
        m_tool->setScanResult(ScanResult(text, data));
        const QString fileName = m_directory->filePath(QStringLiteral("saved"));

        const QStringList seen = save(content, {chooseFile(fileName)});

        QCOMPARE(seen, QStringList{(content == Content::Text ? QStringLiteral("Save Text As|") : QStringLiteral("Save Data As|"))});
        QVERIFY(QFile::exists(fileName));
        const QByteArray written = contentOf(fileName);
        QCOMPARE(written, expected);
        QVERIFY(!written.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(QDir(m_directory->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("saved")});
    }

    void resultArrivingWhileTheDialogIsOpenIsTheOneSaved()
    {
        m_tool->setScanResult(ScanResult(QStringLiteral("old"), QByteArrayLiteral("old")));
        const QString fileName = m_directory->filePath(QStringLiteral("saved.txt"));
        const ModalAnswers::Answer chooseAfterNewResult = [this, fileName](QWidget *modal) {
            m_tool->setScanResult(ScanResult(QStringLiteral("new"), QByteArrayLiteral("new")));
            chooseFile(fileName)(modal);
        };

        save(Content::Text, {chooseAfterNewResult});

        QCOMPARE(contentOf(fileName), QByteArrayLiteral("new"));
    }

    void existingFileIsReplacedWholeAfterTheQuestion()
    {
        const QString fileName = m_directory->filePath(QStringLiteral("existing.bin"));
        QVERIFY(writeFile(fileName, QByteArray(4096, 'x')));
        m_tool->setScanResult(ScanResult(QStringLiteral("text"), binaryPayload()));

        const QStringList seen = save(Content::Data, {chooseFile(fileName), pressMessageBoxButton(QMessageBox::Yes)});

        QCOMPARE(seen.size(), 2);
        QVERIFY2(seen.at(1).contains(QStringLiteral("existing.bin")), qPrintable(seen.at(1)));
        QCOMPARE(contentOf(fileName), binaryPayload());
        // No backup and no temporary file stays behind.
        QCOMPARE(QDir(m_directory->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("existing.bin")});
    }

    void cancellingWritesNothing_data()
    {
        QTest::addColumn<Content>("content");
        QTest::newRow("text") << Content::Text;
        QTest::newRow("data") << Content::Data;
    }

    void cancellingWritesNothing()
    {
        QFETCH(Content, content);
        m_tool->setScanResult(ScanResult(QStringLiteral("text"), QByteArrayLiteral("data")));

        const QStringList seen = save(content, {cancelDialog(m_directory->filePath(QStringLiteral("typed-then-cancelled")))});

        QCOMPARE(seen.size(), 1); // the dialog, and no message after it
        QVERIFY(QDir(m_directory->path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        QVERIFY(m_button->menu()->actions().at(0)->isEnabled());
    }

    void failedSaveIsReportedAndKeepsTheOldFile_data()
    {
        QTest::addColumn<Obstacle>("obstacle");
        QTest::addColumn<Content>("content");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("untouched");
        QTest::addColumn<int>("errorNumber");

        QTest::newRow("no write permission in the folder")
            << Obstacle::NoWritePermission << Content::Text << QStringLiteral("locked/code.txt") << QStringLiteral("locked/code.txt") << EACCES;
        QTest::newRow("full disk") << Obstacle::FullDisk << Content::Data << QStringLiteral("code.bin") << QStringLiteral("code.bin") << EFBIG;
        QTest::newRow("a file where a folder should be")
            << Obstacle::FileInsteadOfFolder << Content::Data << QStringLiteral("plain/code.bin") << QStringLiteral("plain") << ENOTDIR;
    }

    void failedSaveIsReportedAndKeepsTheOldFile()
    {
        QFETCH(Obstacle, obstacle);
        QFETCH(Content, content);
        QFETCH(QString, target);
        QFETCH(QString, untouched);
        QFETCH(int, errorNumber);
        const QString targetPath = m_directory->filePath(target);
        const QString untouchedPath = m_directory->filePath(untouched);
        QVERIFY(QDir(m_directory->path()).mkpath(QFileInfo(untouchedPath).path()));
        const QByteArray oldContent("the old content, which must survive\n");
        QVERIFY(writeFile(untouchedPath, oldContent));
        m_tool->setScanResult(ScanResult(QStringLiteral("new text"), binaryPayload()));
        const QStringList entriesBefore = allEntries();

        QList<ModalAnswers::Answer> answers{chooseFile(targetPath)};
        if (QFile::exists(targetPath)) {
            answers.append(pressMessageBoxButton(QMessageBox::Yes));
        }
        answers.append(pressMessageBoxButton(QMessageBox::Ok));
        QStringList seen;
        switch (obstacle) {
        case Obstacle::NoWritePermission: {
            WithoutWritePermission withoutPermission(m_directory->path(), QFileInfo(targetPath).path());
            seen = save(content, answers);
            break;
        }
        case Obstacle::FullDisk: {
            FileSizeLimit limit(0);
            seen = save(content, answers);
            break;
        }
        case Obstacle::FileInsteadOfFolder:
            seen = save(content, answers);
            break;
        }

        QCOMPARE(seen.size(), answers.size());
        const QString message = seen.last();
        QVERIFY2(message.startsWith(QStringLiteral("Save Failed|")), qPrintable(message));
        QVERIFY2(message.contains(targetPath), qPrintable(message));
        QVERIFY2(message.contains(reasonText(errorNumber)), qPrintable(message));
        QCOMPARE(contentOf(untouchedPath), oldContent);
        QCOMPARE(allEntries(), entriesBefore);
        // Nothing changed: the user may try again.
        QVERIFY(m_button->menu()->actions().at(1)->isEnabled());
    }

private:
    /// Triggers the text action by clicking the button's main part, or the data action from the menu, and
    /// answers the modal windows that appear meanwhile; returns what they showed.
    QStringList save(Content content, const QList<ModalAnswers::Answer> &answers)
    {
        ModalAnswers modalAnswers(answers);
        if (content == Content::Text) {
            QTest::mouseClick(m_button, Qt::LeftButton, {}, QPoint(5, m_button->height() / 2));
        } else {
            m_button->menu()->actions().at(1)->trigger();
        }
        return modalAnswers.seen;
    }

    QStringList allEntries() const
    {
        QStringList entries;
        const QDir root(m_directory->path());
        for (const QString &entry : root.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
            entries.append(entry);
            if (QFileInfo(root.filePath(entry)).isDir()) {
                for (const QString &inner : QDir(root.filePath(entry)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
                    entries.append(entry + QLatin1Char('/') + inner);
                }
            }
        }
        return entries;
    }

    std::unique_ptr<QTemporaryDir> m_directory;
    std::unique_ptr<QDialogButtonBox> m_buttonBox;
    std::unique_ptr<FileExport::Tool> m_tool;
    QToolButton *m_button = nullptr;
};

QTEST_MAIN(FileExportTest)

#include "fileexporttest.moc"
