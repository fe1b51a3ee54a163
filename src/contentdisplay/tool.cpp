// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "tool.h"

#include "cardcontents.h"
#include "cardwidget.h"
#include "codecontent.h"
#include "scanresult.h"

namespace Brevlinder::ContentDisplay
{

Tool::Tool()
    : AbstractDisplayTool(nullptr)
    , m_widget(std::make_unique<CardWidget>())
{
    m_widget->setVisible(false);
}

Tool::~Tool() = default;

void Tool::setScanResult(const ScanResult &scanResult)
{
    const std::optional<CardContents> contents = CardContents::of(Content::CodeContent::read(scanResult), scanResult.text());
    if (!contents) {
        m_widget->setVisible(false);
        m_widget->setContents(CardContents());
        return;
    }
    m_widget->setContents(*contents);
    m_widget->setVisible(true);
}

QWidget *Tool::widget()
{
    return m_widget.get();
}

}
