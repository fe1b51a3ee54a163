// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "startupurl.h"

namespace Brevlinder
{

QUrl startUrl(const QStringList &positionalArguments, bool standardInputIsTerminal, const QString &currentPath)
{
    // Further arguments are ignored, and an argument wins over piped data, which is then never read.
    if (!positionalArguments.isEmpty()) {
        return QUrl::fromUserInput(positionalArguments.constFirst(), currentPath, QUrl::AssumeLocalFile);
    }
    if (!standardInputIsTerminal) {
        return QUrl(QStringLiteral("stdin:/"), QUrl::TolerantMode);
    }
    return QUrl();
}

}
