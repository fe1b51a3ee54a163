// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "abstractmenutool.h"

namespace Brevlinder
{

AbstractMenuTool::AbstractMenuTool(QObject *parent)
    : QObject(parent)
{
}

AbstractMenuTool::~AbstractMenuTool() = default;

}
