// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "abstractexporttool.h"
#include "scanresult.h"

class QAction;
class QByteArray;
class QString;

namespace Brevlinder
{
namespace FileExport
{

/**
 * Saves the latest scan result to a file the user chooses, as UTF-8 text or as its raw bytes, from a tool button
 * with a menu. Both actions are enabled exactly while the latest result is valid.
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
    void saveTextAs();
    void saveDataAs();
    /// The result is read only after the dialog has returned, so a result that arrived meanwhile is the one saved.
    void saveAs(const QString &caption, QByteArray (*contentOf)(const ScanResult &));

    QAction *const m_saveTextAsAction;
    QAction *const m_saveDataAsAction;
    ScanResult m_scanResult;
};

}
}
