// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "tool.h"

#include "menutoolbutton.h"

#include <KLocalizedString>
#include <KStandardAction>

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QMimeData>

namespace Brevlinder
{
namespace ClipboardExport
{

Tool::Tool()
    : AbstractExportTool(nullptr)
    , m_copyTextAction(KStandardAction::copy(this, &Tool::copyTextToClipboard, this))
    , m_copyDataAction(new QAction(m_copyTextAction->icon(), i18nc("@action", "Copy Data to Clipboard"), this))
{
    // The standard action keeps its icon and shortcut, but its texts speak of a selection in a document.
    m_copyTextAction->setText(i18nc("@action", "Copy Text to Clipboard"));
    m_copyTextAction->setToolTip(i18nc("@info:tooltip", "Copy the decoded text to the clipboard"));
    m_copyDataAction->setToolTip(i18nc("@info:tooltip", "Copy the raw bytes of the code to the clipboard"));
    connect(m_copyDataAction, &QAction::triggered, this, &Tool::copyDataToClipboard);
    // Nothing to copy before the first valid result, whenever the buttons are set up.
    m_copyTextAction->setEnabled(false);
    m_copyDataAction->setEnabled(false);
}

Tool::~Tool() = default;

void Tool::setupButtons(QDialogButtonBox *buttonBox)
{
    addMenuToolButton(buttonBox, {m_copyTextAction, m_copyDataAction});
}

void Tool::setScanResult(const ScanResult &scanResult)
{
    m_scanResult = scanResult;
    m_copyTextAction->setEnabled(m_scanResult.isValid());
    m_copyDataAction->setEnabled(m_scanResult.isValid());
}

void Tool::copyTextToClipboard()
{
    QGuiApplication::clipboard()->setText(m_scanResult.text(), QClipboard::Clipboard);
}

void Tool::copyDataToClipboard()
{
    // Only the raw bytes, under one type: offering them as text too would invite a lossy paste of binary data.
    auto *mimeData = new QMimeData;
    mimeData->setData(QStringLiteral("application/octet-stream"), m_scanResult.data());
    QGuiApplication::clipboard()->setMimeData(mimeData, QClipboard::Clipboard);
}

}
}
