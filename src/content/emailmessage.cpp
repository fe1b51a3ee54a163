// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "emailmessage.h"
#include "mecardfields.h"

#include <algorithm>

namespace Brevlinder::Content
{

std::optional<EmailMessage> EmailMessage::parse(const QString &text)
{
    const auto fields = MeCardFields::parse(text, QLatin1StringView("MATMSG:"));
    if (!fields) {
        return std::nullopt;
    }
    const auto isMessageField = [](const MeCardFields::Field &field) {
        return field.key == QLatin1String("TO") || field.key == QLatin1String("SUB") || field.key == QLatin1String("BODY");
    };
    if (std::none_of(fields->fields.cbegin(), fields->fields.cend(), isMessageField)) {
        return std::nullopt;
    }

    EmailMessage message;
    for (const auto &field : fields->all(QLatin1StringView("TO"))) {
        // Generators that take several recipients separate them with commas.
        for (const QString &part : field.split(QLatin1Char(','))) {
            const QString recipient = part.trimmed();
            if (!recipient.isEmpty()) {
                message.recipients.append(recipient);
            }
        }
    }
    const auto subjects = fields->all(QLatin1StringView("SUB"));
    const auto bodies = fields->all(QLatin1StringView("BODY"));
    if (!subjects.isEmpty()) {
        message.subject = subjects.constFirst().value();
    }
    if (!bodies.isEmpty()) {
        message.body = bodies.constFirst().value();
    }
    // A second body could hide what the message really says behind the one that is shown.
    const auto differ = [](const QList<MeCardFields::Field> &repeats) {
        return std::any_of(repeats.cbegin(), repeats.cend(), [&repeats](const MeCardFields::Field &field) {
            return field.raw != repeats.constFirst().raw;
        });
    };
    if (differ(subjects) || differ(bodies)) {
        message.warnings.append(ki18nc("@info", "The code gives a field more than once with different values; the first of each is used."));
    }
    return message;
}

}
