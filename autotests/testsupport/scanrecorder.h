// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "abstractsourcetool.h"
#include "scanresult.h"

#include <QList>
#include <QObject>

namespace Brevlinder::Test
{

/**
 * Keeps every result that a source tool announces. QSignalSpy cannot: the signal names its parameter type
 * without the namespace, and there is no metatype under that name.
 */
struct ScanRecorder {
    explicit ScanRecorder(AbstractSourceTool &tool)
    {
        QObject::connect(&tool, &AbstractSourceTool::scanFinished, &tool, [this](const ScanResult &result) {
            results.append(result);
        });
    }
    qsizetype count() const
    {
        return results.size();
    }
    QList<ScanResult> results;
};

}
