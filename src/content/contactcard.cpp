// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "contactcard.h"

#include "mecard.h"

namespace Brevlinder::Content
{

std::optional<ContactCard> ContactCard::parse(const QString &text)
{
    Q_UNUSED(text)
    return std::nullopt;
}

ContactCard ContactCard::fromMeCard(const MeCard &meCard)
{
    ContactCard card;
    card.name = meCard.displayName();
    return card;
}

}
