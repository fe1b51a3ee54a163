// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QObject>
#include <QString>

namespace Brevlinder::Content
{
struct WifiNetwork;
}

namespace Brevlinder::WifiConnect
{

/**
 * Joins the Wi-Fi network that a code describes, through NetworkManager: the saved connection for the same network
 * name is updated, or a new one added, and then activated.
 */
class NetworkJoiner : public QObject
{
    Q_OBJECT

public:
    explicit NetworkJoiner(QObject *parent = nullptr);
    ~NetworkJoiner() override;

    /// Empty when NetworkManager can be asked to join a network; otherwise why not, as a sentence for a tooltip.
    static QString unavailableReason();

    /// Starts joining @p network; ends with joined() or failed(). The network's checks must have passed.
    void join(const Content::WifiNetwork &network);

Q_SIGNALS:
    /// NetworkManager holds the connection and has been asked to activate it.
    void joined(const QString &networkName);
    /// Nothing was joined, for the reason that @p message gives as a sentence.
    void failed(const QString &message);
};

}
