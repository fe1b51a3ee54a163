// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "phonenumber.h"

#include <QList>
#include <QString>

#include <optional>

namespace Brevlinder::Content
{

/// A text message ready to be sent: its recipients and its text, from "sms:" or "SMSTO:".
struct SmsMessage {
    QList<PhoneNumber> recipients;
    QString body;
    QList<KLocalizedString> warnings;

    /// "sms:number,number?body=text" or "SMSTO:number:text"; std::nullopt for any other text.
    static std::optional<SmsMessage> parse(const QString &text);
};

}
