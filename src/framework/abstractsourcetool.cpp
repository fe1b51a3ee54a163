// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "abstractsourcetool.h"

namespace Brevlinder
{

AbstractSourceTool::AbstractSourceTool(QObject *parent)
    : QObject(parent)
{
}

AbstractSourceTool::~AbstractSourceTool() = default;

}
