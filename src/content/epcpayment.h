// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "checkedvalue.h"

#include <KLocalizedString>

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace Brevlinder::Content
{

/**
 * A SEPA credit transfer as printed on European invoices ("GiroCode"): the lines after "BCD", in the character set
 * that the code names on its third line.
 */
struct EpcPayment {
    /// "001" or "002"; in "002" the BIC may be left out.
    QString version;
    /// 1 to 8 as the code gives it: UTF-8, then ISO 8859-1, -2, -4, -5, -7, -10 and -15.
    int characterSet = 0;
    QString identification;
    CheckedValue bic;
    CheckedValue beneficiaryName;
    CheckedValue iban;
    /// "EUR" when the amount names it; an amount without it is kept whole in amount.value, with its problem.
    QString currency;
    /// The number without its currency; empty when the payer is to enter the amount.
    CheckedValue amount;
    /// A four-letter purpose code such as "CHAR" or "GDDS".
    CheckedValue purpose;
    /// A structured creditor reference, checked when it is an "RF" one.
    CheckedValue reference;
    CheckedValue remittanceText;
    CheckedValue information;
    /// What is wrong with the payload as a whole (its size, version, character set, both kinds of remittance).
    QList<KLocalizedString> warnings;

    /// The payment in @p data, or nothing when @p data does not begin with "BCD" or lacks the lines of one.
    static std::optional<EpcPayment> parse(const QByteArray &data);
};

}
