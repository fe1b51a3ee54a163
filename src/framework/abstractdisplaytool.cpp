// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "abstractdisplaytool.h"

namespace Brevlinder
{

AbstractDisplayTool::AbstractDisplayTool(QObject *parent)
    : QObject(parent)
{
}

AbstractDisplayTool::~AbstractDisplayTool() = default;

}
