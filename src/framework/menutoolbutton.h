// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QList>

class QAction;
class QDialogButtonBox;
class QToolButton;

namespace Brevlinder
{

/**
 * Adds to \p buttonBox, as an action button, a tool button that shows and triggers the first of \p actions and
 * offers all of them, in order, in its drop-down menu. Button and menu become children of the button box.
 */
QToolButton *addMenuToolButton(QDialogButtonBox *buttonBox, const QList<QAction *> &actions);

}
