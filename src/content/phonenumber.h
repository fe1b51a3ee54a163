// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "checkedvalue.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace Brevlinder::Content
{

/**
 * A phone number from a tel: address, or one recipient of a text message, with the parts that decide which phone
 * it reaches: an extension, an ISDN subaddress and, for a number without country code, where it is meant to be
 * dialled.
 */
struct PhoneNumber {
    /// The number as the code writes it, separators kept; a problem when it is no number a phone can dial.
    CheckedValue number;
    /// Only what is dialled: the leading "+" and the digits (and "*" or "#" where the code has them).
    QString dialable;
    QString extension;
    QString isdnSubaddress;
    /// The area or domain that a number without country code belongs to.
    QString phoneContext;
    QList<KLocalizedString> warnings;

    /// A "tel:" address; std::nullopt for any other text.
    static std::optional<PhoneNumber> parse(const QString &text);
    /// The number and its ";name=value" parameters as tel: and sms: addresses write them after the scheme.
    static PhoneNumber fromSubscriber(QStringView subscriber);
};

}
