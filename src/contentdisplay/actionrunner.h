// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "cardcontents.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace Brevlinder::WifiConnect
{
class NetworkJoiner;
}

namespace Brevlinder::ContentDisplay
{

/**
 * Does what a card's button offers: copies, saves, hands a link or a file to the desktop's handler, joins a
 * network. What comes of it, when the user should know, is reported as a sentence for the card to show.
 */
class ActionRunner : public QObject
{
    Q_OBJECT

public:
    /// Dialogs are centred on @p window.
    explicit ActionRunner(QWidget *window, QObject *parent = nullptr);
    ~ActionRunner() override;

    /// Takes @p action, one of the actions of @p contents; a disabled action is never taken.
    void run(const CardAction &action, const CardContents &contents);

Q_SIGNALS:
    /// @p message tells the user what came of an action; @p failed when it did not do what it offered.
    void reported(const QString &message, bool failed);

private:
    void copy(const CardAction &action);
    void save(const CardAction &action);
    void openUrl(const QUrl &url);
    void openFile(const CardAction &action);
    void connectNetwork(const Content::WifiNetwork &network);
    void handleJoined(const QString &networkName);

    QPointer<QWidget> m_window;
    WifiConnect::NetworkJoiner *m_joiner = nullptr;
};

}
