// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "checkedvalue.h"

#include <KLocalizedString>

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Brevlinder::Content
{

/**
 * The payment part of a Swiss QR-bill: the lines after "SPC", each element on its own line, empty ones kept.
 */
struct SwissQrBill {
    /// A creditor's or debtor's address, either structured (street, number, postcode and town apart) or combined.
    struct Address {
        /// "S" for structured, "K" for combined (two free address lines).
        QString type;
        QString name;
        /// The street, or the first address line of a combined address.
        QString streetOrLine1;
        /// The building number, or the second address line (postcode and town) of a combined address.
        QString buildingNumberOrLine2;
        QString postalCode;
        QString town;
        QString country;
        /// Empty when the address is complete and every part fits.
        KLocalizedString problem;

        bool isEmpty() const;
    };

    enum class ReferenceType {
        QrReference,
        CreditorReference,
        NoReference,
        Unknown,
    };

    QString version;
    /// The creditor's IBAN; a QR-IBAN when the reference is a QR reference.
    CheckedValue iban;
    Address creditor;
    /// Empty when the payer is to enter the amount.
    CheckedValue amount;
    /// "CHF" or "EUR".
    CheckedValue currency;
    /// Absent when the bill leaves the payer's address to be filled in.
    std::optional<Address> debtor;
    ReferenceType referenceType = ReferenceType::Unknown;
    /// Checked as the reference type asks, and against the kind of IBAN it is paid to.
    CheckedValue reference;
    QString message;
    /// Structured billing information for the payer's accounting, e.g. "//S1/10/…".
    QString billingInformation;
    /// Up to two lines for other payment schemes.
    QStringList alternativeSchemes;
    /// What is wrong with the bill as a whole (its length, version, coding, characters).
    QList<KLocalizedString> warnings;

    /// The bill in @p text, or nothing when @p text does not begin with "SPC" or lacks the lines of one.
    static std::optional<SwissQrBill> parse(const QString &text);
};

}
