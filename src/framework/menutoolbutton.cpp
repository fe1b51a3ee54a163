// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "menutoolbutton.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QToolButton>

namespace Brevlinder
{

QToolButton *addMenuToolButton(QDialogButtonBox *buttonBox, const QList<QAction *> &actions)
{
    auto *menu = new QMenu(buttonBox);
    menu->addActions(actions);

    auto *button = new QToolButton(buttonBox);
    button->setMenu(menu);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    button->setDefaultAction(actions.constFirst());
    buttonBox->addButton(button, QDialogButtonBox::ActionRole);
    return button;
}

}
