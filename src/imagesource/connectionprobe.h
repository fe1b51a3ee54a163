// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QHostInfo;
class QTcpSocket;

namespace Brevlinder::ImageSource
{

/**
 * Finds out why a server never answered: its name is unknown, or it refuses or ignores connections.
 *
 * KIO's web worker reports a connection that failed before any answer as an empty download, without a reason.
 * The probe asks the name service for the host, then opens and at once closes a bare connection to its port:
 * it sends no request and no credentials, so the server sees no second download. It reports once, through
 * finished; deleting it stops it.
 */
class ConnectionProbe : public QObject
{
    Q_OBJECT

public:
    /// Probes the host and port of \p url.
    ConnectionProbe(const QUrl &url, QObject *parent);

Q_SIGNALS:
    /// Why nothing came, as a sentence for the user.
    void finished(const QString &reason);

private:
    void handleHostFound(const QHostInfo &hostInfo);
    void handleConnected();
    void handleConnectionFailed();

    QUrl m_url;
    QTcpSocket *m_socket = nullptr;
};

}
