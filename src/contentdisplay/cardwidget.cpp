// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "cardwidget.h"

#include "actionrunner.h"
#include "networkjoiner.h"
#include "ui_cardwidget.h"
#include "visibletext.h"

#include <KLocalizedString>
#include <KMessageWidget>

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Brevlinder::ContentDisplay
{

namespace
{

QLabel *plainLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(parent);
    // A value is data: whatever it holds is shown as its characters, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

void setDisabledReason(QWidget *widget, const QString &reason)
{
    widget->setEnabled(false);
    widget->setToolTip(VisibleText::toolTip(reason));
    widget->setAccessibleDescription(VisibleText::of(reason));
}

}

CardWidget::CardWidget(QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::CardWidget>())
{
    m_ui->setupUi(this);
    // The decoded text below takes the height the card does not need.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    m_ui->fieldsArea->viewport()->setAutoFillBackground(false);
    m_ui->fieldsWidget->setAutoFillBackground(false);
    m_ui->fieldsWidget->installEventFilter(this);
}

CardWidget::~CardWidget() = default;

void CardWidget::setContents(const CardContents &contents)
{
    clear();
    m_contents = contents;
    // A report of the card before (a network joined late) must not show on this one.
    m_runner = new ActionRunner(window(), this);
    connect(m_runner, &ActionRunner::reported, this, &CardWidget::handleActionReport);

    m_ui->cardBox->setTitle(contents.title);
    for (const QString &warning : contents.warnings) {
        addWarning(warning);
    }
    for (const CardRow &row : contents.rows) {
        addRow(row);
    }
    for (const CardAction &action : contents.actions) {
        addAction(action);
    }
    updateTabOrder();
    updateFieldsAreaHeight();
}

bool CardWidget::eventFilter(QObject *watched, QEvent *event)
{
    // Rows added to a card on show are shown themselves only a moment later, and until then the layout counts
    // them as empty: the room they need is known once their layout asks for it.
    if (watched == m_ui->fieldsWidget && event->type() == QEvent::LayoutRequest) {
        updateFieldsAreaHeight();
    }
    return QWidget::eventFilter(watched, event);
}

void CardWidget::updateFieldsAreaHeight()
{
    // The card keeps room for its first eight rows, and for no more than about fourteen lines of text, so that
    // the picture above neither squeezes them out of sight nor is squeezed out itself; a longer card scrolls. It
    // never takes more room than its rows need, which goes to the picture and the decoded text instead.
    const QFormLayout *form = m_ui->fieldsLayout;
    const int spacing = qMax(0, form->verticalSpacing());
    int allRows = 0;
    int firstRows = 0;
    for (int row = 0; row < form->rowCount(); ++row) {
        int rowHeight = 0;
        for (const QFormLayout::ItemRole role : {QFormLayout::LabelRole, QFormLayout::FieldRole}) {
            if (QLayoutItem *item = form->itemAt(row, role)) {
                rowHeight = qMax(rowHeight, item->sizeHint().height());
            }
        }
        allRows += rowHeight + (row > 0 ? spacing : 0);
        if (row < 8) {
            firstRows = allRows;
        }
    }
    const QMargins margins = form->contentsMargins();
    const int frame = margins.top() + margins.bottom() + 2 * m_ui->fieldsArea->frameWidth();
    const int mostRoomKept = 14 * fontMetrics().lineSpacing();
    m_ui->fieldsArea->setMinimumHeight(qMin(firstRows, mostRoomKept) + frame);
    m_ui->fieldsArea->setMaximumHeight(allRows + frame);
}

void CardWidget::clear()
{
    delete m_runner;
    m_runner = nullptr;
    m_ui->resultMessage->hide();
    while (m_ui->fieldsLayout->rowCount() > 0) {
        m_ui->fieldsLayout->removeRow(0);
    }
    for (const QPointer<QWidget> &part : std::as_const(m_parts)) {
        delete part.data();
    }
    m_parts.clear();
    m_focusOrder.clear();
}

void CardWidget::addWarning(const QString &text)
{
    auto *warning = new KMessageWidget(m_ui->cardBox);
    warning->setMessageType(KMessageWidget::Warning);
    warning->setTextFormat(Qt::PlainText);
    warning->setWordWrap(true);
    warning->setCloseButtonVisible(false);
    warning->setText(VisibleText::of(text, true));
    m_ui->warningsLayout->addWidget(warning);
    m_parts.append(warning);
}

void CardWidget::addRow(const CardRow &row)
{
    // The value, its Copy button and its problem are laid out without a widget of their own around them: a label
    // is taken as the label of its buddy, for a screen reader, only where the two are siblings.
    QWidget *field = m_ui->fieldsWidget;
    auto *fieldLayout = new QVBoxLayout;
    auto *valueLayout = new QHBoxLayout;
    fieldLayout->addLayout(valueLayout);

    auto *value = plainLabel(VisibleText::of(row.value, row.multiLine), field);
    m_parts.append(value);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Tab reaches each value, to read it with a screen reader and select it with the keyboard.
    value->setFocusPolicy(Qt::StrongFocus);
    value->setWordWrap(true);
    // A long value without spaces is cut at the card's edge rather than widening the window past its screen.
    value->setMinimumWidth(value->fontMetrics().averageCharWidth() * 10);
    if (row.emphasised) {
        QFont font = value->font();
        font.setBold(true);
        value->setFont(font);
    }
    valueLayout->addWidget(value, 1);
    m_focusOrder.append(value);

    if (!row.copyText.isEmpty()) {
        auto *copy = new QPushButton(QIcon::fromTheme(QStringLiteral("edit-copy")), i18nc("@action:button", "Copy"), field);
        copy->setAccessibleName(row.copyName);
        copy->setAutoDefault(false);
        if (row.problem.isEmpty()) {
            copy->setToolTip(VisibleText::toolTip(row.copyName));
        } else {
            setDisabledReason(copy, row.problem);
        }
        const QString copyText = row.copyText;
        connect(copy, &QPushButton::clicked, this, [this, copyText]() {
            CardAction action;
            action.kind = CardAction::Kind::Copy;
            action.text = copyText;
            m_runner->run(action, m_contents);
        });
        valueLayout->addWidget(copy, 0, Qt::AlignTop);
        m_parts.append(copy);
        m_focusOrder.append(copy);
    }

    if (!row.problem.isEmpty()) {
        auto *problem = plainLabel(VisibleText::of(row.problem, true), field);
        problem->setWordWrap(true);
        QPalette palette = problem->palette();
        palette.setColor(QPalette::WindowText, QColor(0xda, 0x44, 0x53));
        problem->setPalette(palette);
        fieldLayout->addWidget(problem);
        m_parts.append(problem);
        value->setAccessibleDescription(VisibleText::of(row.problem));
    }

    auto *label = plainLabel(row.label, m_ui->fieldsWidget);
    label->setBuddy(value);
    m_parts.append(label);
    m_ui->fieldsLayout->addRow(label, fieldLayout);
}

void CardWidget::addAction(const CardAction &action)
{
    const QString text = action.target.isEmpty()
        ? action.label.toString()
        : action.label.subs(VisibleText::withoutMnemonics(VisibleText::shortened(action.target, fontMetrics()))).toString();
    auto *button = new QPushButton(text, m_ui->cardBox);
    button->setAutoDefault(false);
    QString disabledReason = action.disabledReason;
    if (action.kind == CardAction::Kind::Connect && disabledReason.isEmpty()) {
        disabledReason = WifiConnect::NetworkJoiner::unavailableReason();
    }
    if (!disabledReason.isEmpty()) {
        setDisabledReason(button, disabledReason);
    } else if (!action.details.isEmpty() || !action.target.isEmpty()) {
        button->setToolTip(VisibleText::toolTip(VisibleText::of(action.details.isEmpty() ? action.target : action.details)));
    }
    connect(button, &QPushButton::clicked, this, [this, action]() {
        m_ui->resultMessage->hide();
        m_runner->run(action, m_contents);
    });
    // Before the spacer that keeps the buttons together at the left.
    m_ui->buttonsLayout->insertWidget(m_ui->buttonsLayout->count() - 1, button);
    m_parts.append(button);
    m_focusOrder.append(button);
}

void CardWidget::updateTabOrder()
{
    // Widgets made after the window are put at the end of its Tab chain; the card's belong where the card is,
    // after the last widget before it that Tab reaches. The chain only moves behind such a widget.
    QWidget *previous = previousInFocusChain();
    while (previous != this && (isAncestorOf(previous) || !(previous->focusPolicy() & Qt::TabFocus))) {
        previous = previous->previousInFocusChain();
    }
    if (previous == this) {
        return;
    }
    for (const QPointer<QWidget> &widget : std::as_const(m_focusOrder)) {
        if (widget) {
            setTabOrder(previous, widget);
            previous = widget;
        }
    }
}

void CardWidget::handleActionReport(const QString &message, bool failed)
{
    m_ui->resultMessage->setMessageType(failed ? KMessageWidget::Error : KMessageWidget::Positive);
    m_ui->resultMessage->setText(message);
    m_ui->resultMessage->animatedShow();
}

}
