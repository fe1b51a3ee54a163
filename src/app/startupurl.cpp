// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "startupurl.h"

#include <sys/stat.h>

namespace Brevlinder
{

QUrl startUrl(const QStringList &positionalArguments, bool standardInputMayCarryImage, const QString &currentPath)
{
    // Further arguments are ignored, and an argument wins over piped data, which is then never read.
    if (!positionalArguments.isEmpty()) {
        return QUrl::fromUserInput(positionalArguments.constFirst(), currentPath, QUrl::AssumeLocalFile);
    }
    if (standardInputMayCarryImage) {
        return QUrl(QStringLiteral("stdin:/"), QUrl::TolerantMode);
    }
    return QUrl();
}

bool mayCarryImage(int fileDescriptor)
{
    struct stat status;
    if (fstat(fileDescriptor, &status) != 0) {
        return false;
    }
    if (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode)) {
        return true;
    }
    return S_ISREG(status.st_mode) && status.st_size > 0;
}

}
