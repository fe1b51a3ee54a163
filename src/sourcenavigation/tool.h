// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "abstractnavigatesourcetool.h"

class QAction;

namespace Brevlinder
{

class AbstractSourceTool;

namespace SourceNavigation
{

/**
 * The "Choose Another Source" button: brings the source tool back to its pick view, and can be pressed exactly
 * while the pick view is not shown.
 */
class Tool : public AbstractNavigateSourceTool
{
    Q_OBJECT

public:
    explicit Tool(AbstractSourceTool *sourceTool);

    void setupButtons(QDialogButtonBox *buttonBox) override;

private Q_SLOTS:
    void handleInPickViewChanged(bool isInPickView);

private:
    AbstractSourceTool *const m_sourceTool;
    QAction *m_action = nullptr;
};

}
}
