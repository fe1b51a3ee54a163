// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "abstractexporttool.h"
#include "scanresult.h"

class QAction;

namespace Brevlinder
{
namespace ClipboardExport
{

/**
 * Copies the latest scan result to the clipboard, as text or as its raw bytes, from a tool button with a menu.
 * Both actions are enabled exactly while the latest result is valid.
 */
class Tool : public AbstractExportTool
{
    Q_OBJECT

public:
    Tool();
    ~Tool() override;

    void setupButtons(QDialogButtonBox *buttonBox) override;
    void setScanResult(const ScanResult &scanResult) override;

private:
    void copyTextToClipboard();
    void copyDataToClipboard();

    QAction *const m_copyTextAction;
    QAction *const m_copyDataAction;
    ScanResult m_scanResult;
};

}
}
