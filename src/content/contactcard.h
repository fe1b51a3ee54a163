// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "checkedvalue.h"

#include <KLocalizedString>

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Brevlinder::Content
{

struct MeCard;

/**
 * A contact, from a vCard (2.1, 3.0 or 4.0) or a MeCard, with what a user looks for on a business card.
 */
struct ContactCard {
    /// One phone number, e-mail or postal address, with what kind it is ("work", "mobile", …) as a translated word,
    /// empty when the card does not say.
    struct Entry {
        QString value;
        QString kind;
    };

    /// The name as it is said: the card's formatted name, or else given and family name.
    QString name;
    QString organization;
    /// The job title or role.
    QString title;
    QList<Entry> phones;
    QList<Entry> emails;
    /// Each address on lines of its own, as it is written on an envelope.
    QList<Entry> addresses;
    QStringList webAddresses;
    /// As the card writes it; a problem when it is no date.
    CheckedValue birthday;
    /// The birthday, when it is a valid date.
    QDate birthDate;
    QString note;

    /// The contact as a vCard in UTF-8, for saving it to a .vcf file and handing it to an address book: the code's
    /// own card when it is one, else one written from the fields.
    QByteArray vCard;

    /// What the user should know about the code as a whole.
    QList<KLocalizedString> warnings;

    /// The first contact of a vCard (`BEGIN:VCARD` … `END:VCARD`), or nullopt if @p text is no vCard.
    static std::optional<ContactCard> parse(const QString &text);
    static ContactCard fromMeCard(const MeCard &meCard);
};

}
