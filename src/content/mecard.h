// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "checkedvalue.h"

#include <KLocalizedString>

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Brevlinder::Content
{

/**
 * A contact from a `MECARD:N:family,given;TEL:…;EMAIL:…;;` code, as business cards and phones write them.
 */
struct MeCard {
    QString familyName;
    /// Empty when the code writes the name as one piece; it is then in familyName.
    QString givenName;
    /// How the name is read aloud (SOUND), as Japanese cards give it.
    QString sound;
    QStringList phones;
    /// The numbers for video calls (TEL-AV).
    QStringList videoPhones;
    QStringList emails;
    /// Each address as written: its commas are often plain text rather than separators.
    QStringList addresses;
    /// As the code writes it; a problem when it is no date.
    CheckedValue birthday;
    /// The birthday, when it is a valid date.
    QDate birthDate;
    QStringList urls;
    QString note;
    QStringList nicknames;
    QString organization;

    /// What the user should know about the code as a whole.
    QList<KLocalizedString> warnings;

    /// The name in the order it is said: given name, then family name.
    QString displayName() const;

    /// The contact that @p text describes, or nullopt if it is no MeCard.
    static std::optional<MeCard> parse(const QString &text);
};

}
