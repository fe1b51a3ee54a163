// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <KLocalizedString>

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Brevlinder::Content
{

/**
 * An e-mail to write, from a `MATMSG:TO:…;SUB:…;BODY:…;;` code.
 */
struct EmailMessage {
    QStringList recipients;
    QString subject;
    QString body;

    /// What the user should know about the code as a whole before sending.
    QList<KLocalizedString> warnings;

    /// The message that @p text describes, or nullopt if it is no MATMSG code.
    static std::optional<EmailMessage> parse(const QString &text);
};

}
