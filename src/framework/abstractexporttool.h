// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QObject>

class QDialogButtonBox;

namespace Brevlinder
{

class ScanResult;

/**
 * Exports the latest scan result through actions on buttons in the window's button box.
 */
class AbstractExportTool : public QObject
{
    Q_OBJECT

public:
    explicit AbstractExportTool(QObject *parent = nullptr);
    ~AbstractExportTool() override;

    /// Adds the tool's buttons to \p buttonBox, which becomes their Qt parent.
    virtual void setupButtons(QDialogButtonBox *buttonBox) = 0;
    /// The result that the tool's actions export from now on; called for every result, valid or not.
    virtual void setScanResult(const ScanResult &scanResult) = 0;
};

}
