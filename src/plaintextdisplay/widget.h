// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "ui_widget.h"

#include <QWidget>

class QString;

namespace Brevlinder
{
namespace PlainTextDisplay
{

/**
 * The symbology of a decoded code above a read-only view of its text, in which web addresses, e-mail addresses and phone numbers are links.
 *
 * A click on a link neither navigates to it, which would replace the text, nor hands it to another program;
 * links are opened or copied only on purpose, through their context menu (see TextView).
 */
class Widget : public QWidget
{
    Q_OBJECT

public:
    explicit Widget(QWidget *parent = nullptr);

    /// Shows \p text, replacing what was shown before.
    void setText(const QString &text);
    /// Names the symbology of the shown code, such as "QR Code", above the text; an empty name hides it.
    void setSymbology(const QString &name);

private:
    Ui::Widget m_ui;
};

}
}
