// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QStringList>
#include <QUrl>

namespace Brevlinder
{

/**
 * The URL the program starts with: the first positional argument, resolved against \p currentPath when it
 * has no scheme; else "stdin:/" when standard input is not a terminal; else an empty URL (the pick view).
 */
QUrl startUrl(const QStringList &positionalArguments, bool standardInputIsTerminal, const QString &currentPath);

}
