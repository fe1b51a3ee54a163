// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QStringList>
#include <QUrl>

namespace Brevlinder
{

/**
 * The URL the program starts with: the first positional argument, resolved against \p currentPath when it
 * has no scheme; else "stdin:/" when standard input may carry an image; else an empty URL (the pick view).
 */
QUrl startUrl(const QStringList &positionalArguments, bool standardInputMayCarryImage, const QString &currentPath);

/**
 * Whether the open descriptor \p fileDescriptor may carry an image: a pipe, a socket or a regular file that is
 * not empty. A terminal, /dev/null and other devices, a directory, an empty file or a closed descriptor carry
 * none; a program started from a desktop launcher usually has one of those.
 */
bool mayCarryImage(int fileDescriptor);

}
