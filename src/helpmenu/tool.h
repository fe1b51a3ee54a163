// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "abstractmenutool.h"

namespace Brevlinder
{
namespace HelpMenu
{

/**
 * Adds the standard help button with the standard help menu, built from the application's about data. The program
 * has no handbook and no What's This texts, so the menu offers neither.
 */
class Tool : public AbstractMenuTool
{
    Q_OBJECT

public:
    Tool();
    ~Tool() override;

    void setupButtons(QDialogButtonBox *buttonBox) override;
};

}
}
