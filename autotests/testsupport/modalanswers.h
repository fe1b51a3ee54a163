// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace Brevlinder::Test
{

/**
 * Answers the modal windows that open while it lives, one answer each in the order they appear, and records
 * what they showed. Each answer acts through a queued call, so that a window it opens in turn (the dialog's
 * question before replacing a file) is seen and answered too.
 */
class ModalAnswers : public QObject
{
public:
    using Answer = std::function<void(QWidget *)>;

    explicit ModalAnswers(QList<Answer> answers)
        : m_answers(std::move(answers))
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswers::answerNewModal);
        m_timer.start(20);
    }

    /// Window title and text of every modal window seen, in order.
    QStringList seen;

private:
    void answerNewModal()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || m_handled.contains(modal)) {
            return;
        }
        m_handled.append(modal);
        const auto *messageBox = qobject_cast<QMessageBox *>(modal);
        seen.append(modal->windowTitle() + QLatin1Char('|') + (messageBox ? messageBox->text() : QString()));
        if (m_answers.isEmpty()) {
            // Unexpected: close it, so that the test fails instead of hanging.
            QMetaObject::invokeMethod(modal, &QWidget::close, Qt::QueuedConnection);
            return;
        }
        m_answers.takeFirst()(modal);
    }

    QList<Answer> m_answers;
    QList<QPointer<QWidget>> m_handled;
    QTimer m_timer;
};

}
