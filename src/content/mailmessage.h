// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "checkedvalue.h"

#include <QList>
#include <QString>

#include <optional>

namespace Brevlinder::Content
{

/**
 * An e-mail ready to be written, from a mailto: address: its recipients, subject and body. Only the parts a mail
 * program can take without risk are kept; the rest (attachments, arbitrary headers) is named in a warning.
 */
struct MailMessage {
    /// Each address with a problem when it is none.
    QList<CheckedValue> to;
    QList<CheckedValue> cc;
    /// Recipients the others would not see; always named in a warning as well.
    QList<CheckedValue> bcc;
    QString subject;
    QString body;
    QString inReplyTo;
    QList<KLocalizedString> warnings;

    /// A "mailto:" address; std::nullopt for any other text.
    static std::optional<MailMessage> parse(const QString &text);
};

}
