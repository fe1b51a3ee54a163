// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "connectionprobe.h"

#include <KLocalizedString>

#include <QHostInfo>
#include <QTcpSocket>

namespace Brevlinder::ImageSource
{

namespace
{
int defaultPort(const QUrl &url)
{
    return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
}
}

ConnectionProbe::ConnectionProbe(const QUrl &url, QObject *parent)
    : QObject(parent)
    , m_url(url)
{
    QHostInfo::lookupHost(m_url.host(), this, &ConnectionProbe::handleHostFound);
}

void ConnectionProbe::handleHostFound(const QHostInfo &hostInfo)
{
    if (hostInfo.error() != QHostInfo::NoError || hostInfo.addresses().isEmpty()) {
        Q_EMIT finished(i18nc("@info the server's name is unknown", "Host %1 not found.", m_url.host()));
        return;
    }
    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::connected, this, &ConnectionProbe::handleConnected);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &ConnectionProbe::handleConnectionFailed);
    m_socket->connectToHost(hostInfo.addresses().constFirst(), quint16(defaultPort(m_url)));
}

void ConnectionProbe::handleConnected()
{
    m_socket->abort();
    Q_EMIT finished(i18n("The server sent no data."));
}

void ConnectionProbe::handleConnectionFailed()
{
    Q_EMIT finished(m_socket->errorString());
}

}

#include "moc_connectionprobe.cpp"
