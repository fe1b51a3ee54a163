// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "networkjoiner.h"

#include "wifinetwork.h"

#include <KLocalizedString>

namespace Brevlinder::WifiConnect
{

NetworkJoiner::NetworkJoiner(QObject *parent)
    : QObject(parent)
{
}

NetworkJoiner::~NetworkJoiner() = default;

QString NetworkJoiner::unavailableReason()
{
    return i18nc("@info:tooltip", "NetworkManager is not running.");
}

void NetworkJoiner::join(const Content::WifiNetwork &network)
{
    Q_UNUSED(network)
    Q_EMIT failed(unavailableReason());
}

}
