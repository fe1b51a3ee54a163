// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "scanrecorder.h"
#include "tool.h"

#include <KMessageWidget>

#include <QComboBox>
#include <QStringList>

namespace Brevlinder::Test
{

/// The source tool's message line.
inline KMessageWidget *messageWidget(ImageSource::Tool &tool)
{
    return tool.widget()->findChild<KMessageWidget *>(QStringLiteral("messageWidget"));
}

/// The chooser of the codes found.
inline QComboBox *codeChooser(ImageSource::Tool &tool)
{
    return tool.widget()->findChild<QComboBox *>(QStringLiteral("codeChooser"));
}

inline QStringList entriesOf(const QComboBox *comboBox)
{
    QStringList texts;
    for (int i = 0; i < comboBox->count(); ++i) {
        texts.append(comboBox->itemText(i));
    }
    return texts;
}

/// The text of the latest result, empty before the first.
inline QString lastText(const ScanRecorder &scans)
{
    return scans.results.isEmpty() ? QString() : scans.results.constLast().text();
}

}
