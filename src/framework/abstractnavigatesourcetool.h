// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QObject>

class QDialogButtonBox;

namespace Brevlinder
{

/**
 * Lets the user move within the source tool, through a button in the window's button box.
 */
class AbstractNavigateSourceTool : public QObject
{
    Q_OBJECT

public:
    explicit AbstractNavigateSourceTool(QObject *parent = nullptr);
    ~AbstractNavigateSourceTool() override;

    /// Adds the tool's button to \p buttonBox, which becomes its Qt parent.
    virtual void setupButtons(QDialogButtonBox *buttonBox) = 0;
};

}
