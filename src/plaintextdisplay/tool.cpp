// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "tool.h"

#include "scanresult.h"
#include "symbology.h"
#include "widget.h"

namespace Brevlinder
{
namespace PlainTextDisplay
{

Tool::Tool()
    : AbstractDisplayTool(nullptr)
    , m_widget(std::make_unique<Widget>())
{
    // Nothing to show before the first scan.
    m_widget->setEnabled(false);
}

Tool::~Tool() = default;

void Tool::setScanResult(const ScanResult &scanResult)
{
    m_widget->setEnabled(scanResult.isValid());
    // A result that is not valid has empty text, so this clears the view.
    m_widget->setText(scanResult.text());
    m_widget->setSymbology(scanResult.isValid() ? symbologyDisplayName(scanResult.code().symbology) : QString());
}

QWidget *Tool::widget()
{
    return m_widget.get();
}

}
}
