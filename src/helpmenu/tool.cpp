// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "tool.h"

#include <KAboutData>
#include <KHelpMenu>

#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>

namespace Brevlinder
{
namespace HelpMenu
{

Tool::Tool()
    : AbstractMenuTool(nullptr)
{
}

Tool::~Tool() = default;

void Tool::setupButtons(QDialogButtonBox *buttonBox)
{
    QPushButton *helpButton = buttonBox->addButton(QDialogButtonBox::Help);
    // Enter in the window must not pop up the help menu.
    helpButton->setAutoDefault(false);

    // The help button owns the help menu object, which owns the menu.
    auto *helpMenu = new KHelpMenu(helpButton, KAboutData::applicationData());
    // menu() builds the menu on its first call, so What's This has to be off before.
    helpMenu->setShowWhatsThis(false);
    QMenu *menu = helpMenu->menu();
    menu->removeAction(helpMenu->action(KHelpMenu::menuHelpContents));
    helpButton->setMenu(menu);
}

}
}
