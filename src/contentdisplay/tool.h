// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "abstractdisplaytool.h"

#include <memory>

namespace Brevlinder::ContentDisplay
{

class CardWidget;

/**
 * Shows what the latest scan's code carries as a card of labelled values and actions: a Wi-Fi network, a contact,
 * a payment and the other kinds that are understood. Hidden for plain text and before any result.
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
    const std::unique_ptr<CardWidget> m_widget;
};

}
