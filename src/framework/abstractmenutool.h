// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QObject>

class QDialogButtonBox;

namespace Brevlinder
{

/**
 * Offers a menu through a button in the window's button box.
 */
class AbstractMenuTool : public QObject
{
    Q_OBJECT

public:
    explicit AbstractMenuTool(QObject *parent = nullptr);
    ~AbstractMenuTool() override;

    /// Adds the tool's menu button to \p buttonBox, which becomes its Qt parent.
    virtual void setupButtons(QDialogButtonBox *buttonBox) = 0;
};

}
