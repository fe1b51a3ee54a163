// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "abstractexporttool.h"

namespace Brevlinder
{

AbstractExportTool::AbstractExportTool(QObject *parent)
    : QObject(parent)
{
}

AbstractExportTool::~AbstractExportTool() = default;

}
