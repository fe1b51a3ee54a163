// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "abstractdisplaytool.h"

#include <memory>

namespace Brevlinder
{
namespace PlainTextDisplay
{

class Widget;

/**
 * Shows the decoded text of the latest scan, with links, and its symbology; the view is disabled until a valid result arrives.
 */
class Tool : public AbstractDisplayTool
{
    Q_OBJECT

public:
    Tool();
    ~Tool() override;

    void setScanResult(const ScanResult &scanResult) override;
    QWidget *widget() override;

private:
    const std::unique_ptr<Widget> m_widget;
};

}
}
