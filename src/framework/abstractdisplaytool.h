// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QObject>

class QWidget;

namespace Brevlinder
{

class ScanResult;

/**
 * Shows the result of the latest scan in the window's display stack.
 */
class AbstractDisplayTool : public QObject
{
    Q_OBJECT

public:
    explicit AbstractDisplayTool(QObject *parent = nullptr);
    ~AbstractDisplayTool() override;

    /// Shows \p scanResult; called for every result, valid or not.
    virtual void setScanResult(const ScanResult &scanResult) = 0;
    /// The tool's own widget; the tool keeps ownership, every call returns the same widget.
    virtual QWidget *widget() = 0;
};

}
