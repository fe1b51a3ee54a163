// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "scanresult.h"
#include "tool.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHelpEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

using namespace Brevlinder;

namespace
{

// Every byte value that text handling tends to damage: NUL, controls, line ends, and the upper half.
QByteArray binaryPayload()
{
    QByteArray payload("\x00\x01\r\n\x7f", 5);
    for (int value = 0x80; value <= 0xff; ++value) {
        payload.append(char(value));
    }
    payload.append('\0');
    return payload;
}

}

class ClipboardExportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_buttonBox = std::make_unique<QDialogButtonBox>();
        m_tool = std::make_unique<ClipboardExport::Tool>();
        m_tool->setupButtons(m_buttonBox.get());
        m_button = m_buttonBox->findChild<QToolButton *>();
        QVERIFY(m_button);
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("before"), QClipboard::Clipboard);
        if (clipboard->supportsSelection()) {
            clipboard->setText(QStringLiteral("selected before"), QClipboard::Selection);
        }
    }

    void cleanup()
    {
        m_tool.reset();
        m_buttonBox.reset();
    }

    void buttonShowsTheTextActionAndTheMenuBothEntries()
    {
        QCOMPARE(m_button->text(), QStringLiteral("Copy Text to Clipboard"));
        QCOMPARE(m_button->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        QCOMPARE(m_button->popupMode(), QToolButton::MenuButtonPopup);
        const QList<QAction *> actions = m_button->menu()->actions();
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions.at(0)->text(), QStringLiteral("Copy Text to Clipboard"));
        QCOMPARE(actions.at(1)->text(), QStringLiteral("Copy Data to Clipboard"));
        QCOMPARE(actions.at(1)->toolTip(), QStringLiteral("Copy the raw bytes of the code to the clipboard"));
    }

    // The button says what it copies, not the standard action's words about a selection.
    void buttonToolTipSaysWhatItDoes()
    {
        m_tool->setScanResult(ScanResult(QStringLiteral("text"), QByteArrayLiteral("data")));
        m_buttonBox->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_buttonBox.get()));
        const QPoint position(5, m_button->height() / 2);
        QHelpEvent event(QEvent::ToolTip, position, m_button->mapToGlobal(position));
        QCoreApplication::sendEvent(m_button, &event);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("Copy the decoded text to the clipboard"));
    }

    void clickingTheButtonCopiesTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QStringLiteral("Hello, clipboard");
        QTest::newRow("beyond ascii, several lines") << QStringLiteral("Grüße\n日本語 ✓\r\nend");
        QTest::newRow("empty") << QString();
    }

    void clickingTheButtonCopiesTheText()
    {
        QFETCH(QString, text);
        m_tool->setScanResult(ScanResult(text, binaryPayload()));
        m_buttonBox->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_buttonBox.get()));

        // The main part of the button, away from its menu arrow.
        QTest::mouseClick(m_button, Qt::LeftButton, {}, QPoint(5, m_button->height() / 2));

        const QClipboard *clipboard = QGuiApplication::clipboard();
        QCOMPARE(clipboard->text(QClipboard::Clipboard), text);
        // The selection belongs to whatever the user last selected; the end-to-end test checks it on X11.
        if (clipboard->supportsSelection()) {
            QCOMPARE(clipboard->text(QClipboard::Selection), QStringLiteral("selected before"));
        }
    }

    void dataGoesAsExactlyOneFormatWithTheBytesUnchanged()
    {
        const QByteArray payload = binaryPayload();
        m_tool->setScanResult(ScanResult(QStringLiteral("decoded text"), payload));

        m_button->menu()->actions().at(1)->trigger();

        const QMimeData *mimeData = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
        QVERIFY(mimeData);
        QCOMPARE(mimeData->formats(), QStringList{QStringLiteral("application/octet-stream")});
        QCOMPARE(mimeData->data(QStringLiteral("application/octet-stream")), payload);
        QVERIFY(!mimeData->hasText());
    }

    void latestResultIsTheOneCopied()
    {
        m_tool->setScanResult(ScanResult(QStringLiteral("first"), QByteArrayLiteral("1")));
        m_tool->setScanResult(ScanResult(QStringLiteral("second"), QByteArrayLiteral("2")));

        m_button->menu()->actions().at(0)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("second"));
        m_button->menu()->actions().at(1)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("application/octet-stream")), QByteArrayLiteral("2"));
    }

private:
    std::unique_ptr<QDialogButtonBox> m_buttonBox;
    std::unique_ptr<ClipboardExport::Tool> m_tool;
    QToolButton *m_button = nullptr;
};

QTEST_MAIN(ClipboardExportTest)

#include "clipboardexporttest.moc"
