// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "kindcards.h"

#include <QUrl>

namespace Brevlinder::ContentDisplay
{

namespace
{

QString metres(const QString &value)
{
    return value.isEmpty() ? QString() : i18nc("@label a distance in metres", "%1 m", value);
}

}

CardContents KindCards::place(const Content::GeoLocation &place, const QString &text)
{
    CardContents card;
    card.title = i18nc("@title:group", "Place");
    card.warnings = sentences(place.warnings);
    if (!place.coordinatesArePlaceholder) {
        card.rows.append(checkedRow(i18nc("@label", "Latitude:"), place.latitude));
        card.rows.append(checkedRow(i18nc("@label", "Longitude:"), place.longitude));
    }
    KindCards::addRow(card, i18nc("@label", "Altitude:"), metres(place.altitude));
    KindCards::addRow(card, i18nc("@label", "Uncertainty:"), metres(place.uncertainty));
    if (!place.coordinateSystem.isSound()) {
        card.rows.append(checkedRow(i18nc("@label", "Coordinate system:"), place.coordinateSystem));
    }
    KindCards::addRow(card, i18nc("@label", "Label:"), place.label);
    KindCards::addRow(card, i18nc("@label", "Search:"), place.query);

    QString problem;
    for (const Content::CheckedValue *value : {&place.latitude, &place.longitude, &place.coordinateSystem}) {
        if (problem.isEmpty() && !value->isSound()) {
            problem = value->problem.toString();
        }
    }

    CardAction open;
    open.kind = CardAction::Kind::OpenUrl;
    open.label = ki18nc("@action:button", "Open Map");
    // As the code gives it: a map program knows the geo: address's every parameter.
    open.url = QUrl(text.trimmed(), QUrl::StrictMode);
    open.details = text.trimmed();
    open.disabledReason = problem;
    card.actions.append(open);

    CardAction copy;
    copy.kind = CardAction::Kind::Copy;
    copy.label = ki18nc("@action:button", "Copy Coordinates");
    copy.text = place.latitude.value + QLatin1Char(',') + place.longitude.value;
    copy.details = copy.text;
    copy.disabledReason = place.coordinatesArePlaceholder ? i18nc("@info:tooltip", "The code gives no coordinates, only a search.") : problem;
    card.actions.append(copy);
    return card;
}

CardContents KindCards::otp(const Content::OtpSetup &otp, const QString &text)
{
    CardContents card;
    card.title = i18nc("@title:group", "One-Time Password Set-up");
    card.warnings = sentences(otp.warnings);
    const auto addChecked = [&card](const QString &label, const Content::CheckedValue &value) {
        if (!value.value.isEmpty() || !value.isSound()) {
            card.rows.append(checkedRow(label, value));
        }
    };
    KindCards::addRow(card, i18nc("@label", "Issuer:"), otp.issuer);
    KindCards::addRow(card, i18nc("@label", "Account:"), otp.account);
    KindCards::addRow(card,
                      i18nc("@label", "Type:"),
                      otp.kind == Content::OtpSetup::Kind::TimeBased ? i18nc("@label one-time password type", "Time-based (TOTP)")
                                                                     : i18nc("@label one-time password type", "Counter-based (HOTP)"));
    addChecked(i18nc("@label", "Algorithm:"), otp.algorithm);
    addChecked(i18nc("@label", "Digits:"), otp.digits);
    addChecked(i18nc("@label", "Period:"), otp.period);
    addChecked(i18nc("@label", "Counter:"), otp.counter);
    card.rows.append(checkedRow(i18nc("@label", "Secret:"), otp.secret));

    QString problem;
    for (const Content::CheckedValue *value : {&otp.secret, &otp.algorithm, &otp.digits, &otp.period, &otp.counter}) {
        if (problem.isEmpty() && !value->isSound()) {
            problem = value->problem.toString();
        }
    }

    CardAction add;
    add.kind = CardAction::Kind::OpenUrl;
    add.label = ki18nc("@action:button", "Add to Authenticator");
    add.url = QUrl(text.trimmed(), QUrl::StrictMode);
    add.disabledReason = problem;
    card.actions.append(add);

    CardAction copy;
    copy.kind = CardAction::Kind::Copy;
    copy.label = ki18nc("@action:button", "Copy Secret");
    copy.text = otp.secret.value;
    copy.secret = true;
    copy.disabledReason = otp.secret.isSound() ? QString() : otp.secret.problem.toString();
    card.actions.append(copy);
    return card;
}

}
