// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "tool.h"

#include "abstractsourcetool.h"

#include <KLocalizedString>

#include <QAction>
#include <QDialogButtonBox>
#include <QIcon>
#include <QToolButton>

namespace Brevlinder
{
namespace SourceNavigation
{

Tool::Tool(AbstractSourceTool *sourceTool)
    : AbstractNavigateSourceTool(nullptr)
    , m_sourceTool(sourceTool)
{
}

void Tool::setupButtons(QDialogButtonBox *buttonBox)
{
    // One action, shared by every button added.
    if (!m_action) {
        m_action = new QAction(QIcon::fromTheme(QStringLiteral("view-refresh")), i18nc("@action", "Choose Another Source"), this);
        m_action->setEnabled(!m_sourceTool->isInPickView());
        connect(m_action, &QAction::triggered, m_sourceTool, &AbstractSourceTool::switchToPickView);
        connect(m_sourceTool, &AbstractSourceTool::isInPickViewChanged, this, &Tool::handleInPickViewChanged);
    }
    auto *button = new QToolButton(buttonBox);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setDefaultAction(m_action);
    buttonBox->addButton(button, QDialogButtonBox::ActionRole);
}

void Tool::handleInPickViewChanged(bool isInPickView)
{
    m_action->setEnabled(!isInPickView);
}

}
}
