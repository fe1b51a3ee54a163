// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "cardcontents.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace Brevlinder::ContentDisplay
{

namespace Ui
{
class CardWidget;
}

class ActionRunner;

/**
 * Shows a card: a group box titled with the kind, its warnings, each value beside its name, and a row of buttons
 * for what can be done with it. The values are plain text with every character visible.
 */
class CardWidget : public QWidget
{
    Q_OBJECT

public:
    explicit CardWidget(QWidget *parent = nullptr);
    ~CardWidget() override;

    /// Shows @p contents instead of the card before, and forgets what the actions of that one reported.
    void setContents(const CardContents &contents);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void clear();
    void updateFieldsAreaHeight();
    void addWarning(const QString &text);
    void addRow(const CardRow &row);
    void addAction(const CardAction &action);
    void updateTabOrder();
    void handleActionReport(const QString &message, bool failed);

    const std::unique_ptr<Ui::CardWidget> m_ui;
    CardContents m_contents;
    /// What the current card added, in the order Tab should reach it.
    QList<QPointer<QWidget>> m_focusOrder;
    QList<QPointer<QWidget>> m_parts;
    ActionRunner *m_runner = nullptr;
};

}
