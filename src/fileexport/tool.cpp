// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "tool.h"

#include "menutoolbutton.h"

#include <KLocalizedString>
#include <KStandardAction>

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSaveFile>

namespace Brevlinder
{
namespace FileExport
{

namespace
{

QByteArray textOf(const ScanResult &scanResult)
{
    return scanResult.text().toUtf8();
}

QByteArray dataOf(const ScanResult &scanResult)
{
    return scanResult.data();
}

void reportFailure(const QString &fileName, const QString &reason)
{
    const QString message = i18n("Could not save to file %1: %2", QDir::toNativeSeparators(fileName), reason);
    QMessageBox::warning(nullptr, i18nc("@title:window", "Save Failed"), message);
}

}

Tool::Tool()
    : AbstractExportTool(nullptr)
    , m_saveTextAsAction(KStandardAction::saveAs(this, &Tool::saveTextAs, this))
    , m_saveDataAsAction(new QAction(m_saveTextAsAction->icon(), i18nc("@action", "Save Data As…"), this))
{
    // The standard action keeps its icon and shortcut, but its texts speak of a document with a name.
    m_saveTextAsAction->setText(i18nc("@action", "Save Text As…"));
    m_saveTextAsAction->setToolTip(i18nc("@info:tooltip", "Save the decoded text to a file"));
    m_saveDataAsAction->setToolTip(i18nc("@info:tooltip", "Save the raw bytes of the code to a file"));
    connect(m_saveDataAsAction, &QAction::triggered, this, &Tool::saveDataAs);
    // Nothing to save before the first valid result, whenever the buttons are set up.
    m_saveTextAsAction->setEnabled(false);
    m_saveDataAsAction->setEnabled(false);
}

Tool::~Tool() = default;

void Tool::setupButtons(QDialogButtonBox *buttonBox)
{
    addMenuToolButton(buttonBox, {m_saveTextAsAction, m_saveDataAsAction});
}

void Tool::setScanResult(const ScanResult &scanResult)
{
    m_scanResult = scanResult;
    m_saveTextAsAction->setEnabled(m_scanResult.isValid());
    m_saveDataAsAction->setEnabled(m_scanResult.isValid());
}

void Tool::saveTextAs()
{
    saveAs(i18nc("@title:window", "Save Text As"), textOf);
}

void Tool::saveDataAs()
{
    saveAs(i18nc("@title:window", "Save Data As"), dataOf);
}

void Tool::saveAs(const QString &caption, QByteArray (*contentOf)(const ScanResult &))
{
    const QString fileName = QFileDialog::getSaveFileName(nullptr, caption);
    if (fileName.isEmpty()) {
        return;
    }

    // A new file replaces the old one only once it is complete: a failed save leaves what was there untouched.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        reportFailure(fileName, file.errorString());
        return;
    }
    // QSaveFile remembers a failed write (a full disk) and then refuses to commit.
    file.write(contentOf(m_scanResult));
    if (!file.commit()) {
        reportFailure(fileName, file.errorString());
    }
}

}
}
