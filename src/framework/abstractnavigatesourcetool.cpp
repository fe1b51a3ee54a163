// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "abstractnavigatesourcetool.h"

namespace Brevlinder
{

AbstractNavigateSourceTool::AbstractNavigateSourceTool(QObject *parent)
    : QObject(parent)
{
}

AbstractNavigateSourceTool::~AbstractNavigateSourceTool() = default;

}
