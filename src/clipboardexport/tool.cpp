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
{
}

Tool::~Tool() = default;

void Tool::setupButtons(QDialogButtonBox *buttonBox)
{
    if (!m_copyTextAction) {
        m_copyTextAction = KStandardAction::copy(this, &Tool::copyTextToClipboard, this);
        m_copyTextAction->setText(i18nc("@action", "Copy Text to Clipboard"));
        m_copyTextAction->setEnabled(false);
    }
    if (!m_copyDataAction) {
        m_copyDataAction = new QAction(m_copyTextAction->icon(), i18nc("@action", "Copy Data to Clipboard"), this);
        m_copyDataAction->setEnabled(false);
        connect(m_copyDataAction, &QAction::triggered, this, &Tool::copyDataToClipboard);
    }
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
