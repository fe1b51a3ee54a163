// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "widget.h"

#include <KTextToHTML>

#include <QString>

namespace Brevlinder
{
namespace PlainTextDisplay
{

Widget::Widget(QWidget *parent)
    : QWidget(parent)
{
    m_ui.setupUi(this);
}

void Widget::setText(const QString &text)
{
    // The longest web and e-mail addresses still turned into links; no emphasis markup is interpreted, as a
    // decoded text is data, not prose.
    const QString html = KTextToHTML::convertToHtml(text, KTextToHTML::PreserveSpaces | KTextToHTML::ConvertPhoneNumbers, 4096, 255);
    m_ui.plainTextView->setHtml(html);
}

void Widget::setSymbology(const QString &name)
{
    m_ui.symbologyLabel->setText(name);
    m_ui.symbologyLabel->setVisible(!name.isEmpty());
    // A screen reader in the text hears what kind of code it came from, without leaving it for the label.
    m_ui.plainTextView->setAccessibleDescription(name);
}

}
}
