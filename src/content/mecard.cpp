// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "mecard.h"
#include "mecardfields.h"

#include <algorithm>

namespace Brevlinder::Content
{

namespace
{

QStringList valuesOf(const MeCardFields &fields, QLatin1StringView key)
{
    QStringList values;
    for (const auto &field : fields.all(key)) {
        if (!field.raw.isEmpty()) {
            values.append(field.value());
        }
    }
    return values;
}

QDate dateFrom(const QString &text)
{
    // The cards write YYYYMMDD; some generators write the ISO form with hyphens instead.
    if (text.size() == 8) {
        return QDate::fromString(text, QStringLiteral("yyyyMMdd"));
    }
    if (text.size() == 10) {
        return QDate::fromString(text, Qt::ISODate);
    }
    return {};
}

}

QString MeCard::displayName() const
{
    if (givenName.isEmpty()) {
        return familyName;
    }
    if (familyName.isEmpty()) {
        return givenName;
    }
    return givenName + QLatin1Char(' ') + familyName;
}

std::optional<MeCard> MeCard::parse(const QString &text)
{
    const auto fields = MeCardFields::parse(text, QLatin1StringView("MECARD:"));
    if (!fields) {
        return std::nullopt;
    }
    static const QLatin1StringView knownKeys[] = {QLatin1StringView("N"),
                                                  QLatin1StringView("SOUND"),
                                                  QLatin1StringView("TEL"),
                                                  QLatin1StringView("TEL-AV"),
                                                  QLatin1StringView("EMAIL"),
                                                  QLatin1StringView("ADR"),
                                                  QLatin1StringView("BDAY"),
                                                  QLatin1StringView("URL"),
                                                  QLatin1StringView("NOTE"),
                                                  QLatin1StringView("NICKNAME"),
                                                  QLatin1StringView("ORG")};
    const bool anyKnown = std::any_of(fields->fields.cbegin(), fields->fields.cend(), [](const MeCardFields::Field &field) {
        return std::find(std::begin(knownKeys), std::end(knownKeys), field.key) != std::end(knownKeys);
    });
    if (!anyKnown) {
        // "MECARD:https://…" is a link that happens to start so.
        return std::nullopt;
    }

    MeCard card;
    if (const auto name = fields->first(QLatin1StringView("N"))) {
        // Only the first comma separates: anything after it belongs to the given name.
        const QStringList parts = name->split(QLatin1Char(','));
        card.familyName = parts.constFirst();
        card.givenName = parts.mid(1).join(QLatin1Char(','));
    }
    if (const auto sound = fields->first(QLatin1StringView("SOUND"))) {
        card.sound = sound->value();
    }
    card.phones = valuesOf(*fields, QLatin1StringView("TEL"));
    card.videoPhones = valuesOf(*fields, QLatin1StringView("TEL-AV"));
    card.emails = valuesOf(*fields, QLatin1StringView("EMAIL"));
    card.addresses = valuesOf(*fields, QLatin1StringView("ADR"));
    card.urls = valuesOf(*fields, QLatin1StringView("URL"));
    card.nicknames = valuesOf(*fields, QLatin1StringView("NICKNAME"));
    card.note = valuesOf(*fields, QLatin1StringView("NOTE")).join(QLatin1Char('\n'));
    card.organization = valuesOf(*fields, QLatin1StringView("ORG")).join(QLatin1Char('\n'));

    if (const auto birthday = fields->first(QLatin1StringView("BDAY"))) {
        card.birthday.value = birthday->value();
        card.birthDate = dateFrom(card.birthday.value);
        if (!card.birthDate.isValid()) {
            card.birthday.problem = ki18nc("@info", "The birthday is not a valid date.");
        }
    }
    for (const auto key : {QLatin1StringView("N"), QLatin1StringView("SOUND"), QLatin1StringView("BDAY")}) {
        const auto repeats = fields->all(key);
        if (std::any_of(repeats.cbegin(), repeats.cend(), [&repeats](const MeCardFields::Field &field) {
                return field.raw != repeats.constFirst().raw;
            })) {
            card.warnings.append(ki18nc("@info", "The code gives a field more than once with different values; the first of each is used."));
            break;
        }
    }
    return card;
}

}
