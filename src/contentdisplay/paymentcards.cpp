// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "kindcards.h"

#include "iban.h"

#include <QLocale>

namespace Brevlinder::ContentDisplay
{

namespace
{

void addChecked(CardContents &card, const QString &label, const Content::CheckedValue &value)
{
    if (!value.value.isEmpty() || !value.isSound()) {
        card.rows.append(KindCards::checkedRow(label, value));
    }
}

// A value that the payer types into a banking app, with a Copy button beside it; nothing is copied of a value
// that fails its check.
void addCopyable(CardContents &card, const QString &label, const QString &copyName, const Content::CheckedValue &value, const QString &shown)
{
    CardRow row = KindCards::checkedRow(label, value);
    row.value = shown;
    row.copyText = value.value;
    row.copyName = copyName;
    card.rows.append(row);
}

void addIban(CardContents &card, const Content::CheckedValue &iban)
{
    // Grouped in fours as on the bill, to compare it group by group; copied without the spaces.
    addCopyable(card, i18nc("@label", "IBAN:"), i18nc("@action:button", "Copy IBAN"), iban, iban.isSound() ? Content::Iban::grouped(iban.value) : iban.value);
}

void addAmount(CardContents &card, const Content::CheckedValue &amount, const QString &currency)
{
    if (amount.value.isEmpty() && amount.isSound()) {
        KindCards::addRow(card, i18nc("@label", "Amount:"), i18nc("@label payment amount", "Not given; the payer enters it"));
        return;
    }
    const QString shown = currency.isEmpty() ? amount.value : i18nc("@label %1 is an amount, %2 its currency", "%1 %2", amount.value, currency);
    addCopyable(card, i18nc("@label", "Amount:"), i18nc("@action:button", "Copy Amount"), amount, shown);
}

void addReference(CardContents &card, const Content::CheckedValue &reference)
{
    if (!reference.value.isEmpty() || !reference.isSound()) {
        addCopyable(card, i18nc("@label", "Reference:"), i18nc("@action:button", "Copy Reference"), reference, reference.value);
    }
}

QString addressText(const Content::SwissQrBill::Address &address)
{
    QStringList lines{address.name, address.streetOrLine1};
    if (address.type == QLatin1String("S")) {
        lines[1] = QStringList{address.streetOrLine1, address.buildingNumberOrLine2}.join(QLatin1Char(' ')).trimmed();
        lines.append(QStringList{address.postalCode, address.town}.join(QLatin1Char(' ')).trimmed());
    } else {
        lines.append(address.buildingNumberOrLine2);
    }
    lines.append(address.country);
    lines.removeAll(QString());
    return lines.join(QLatin1Char('\n'));
}

void addAddress(CardContents &card, const QString &label, const Content::SwissQrBill::Address &address)
{
    CardRow row;
    row.label = label;
    row.value = addressText(address);
    row.problem = address.problem.isEmpty() ? QString() : address.problem.toString();
    row.multiLine = true;
    card.rows.append(row);
}

}

CardContents KindCards::epcPayment(const Content::EpcPayment &payment)
{
    CardContents card;
    card.title = i18nc("@title:group", "Payment");
    card.warnings = sentences(payment.warnings);
    card.rows.append(checkedRow(i18nc("@label", "Beneficiary:"), payment.beneficiaryName));
    addIban(card, payment.iban);
    addChecked(card, i18nc("@label", "BIC:"), payment.bic);
    addAmount(card, payment.amount, payment.currency);
    addChecked(card, i18nc("@label", "Purpose:"), payment.purpose);
    addReference(card, payment.reference);
    addChecked(card, i18nc("@label", "Remittance information:"), payment.remittanceText);
    addChecked(card, i18nc("@label", "Information:"), payment.information);
    return card;
}

CardContents KindCards::swissPayment(const Content::SwissQrBill &bill)
{
    CardContents card;
    card.title = i18nc("@title:group", "Payment");
    card.warnings = sentences(bill.warnings);
    addAddress(card, i18nc("@label", "Beneficiary:"), bill.creditor);
    addIban(card, bill.iban);
    if (!bill.currency.isSound()) {
        card.rows.append(checkedRow(i18nc("@label", "Currency:"), bill.currency));
    }
    addAmount(card, bill.amount, bill.currency.value);
    addReference(card, bill.reference);
    KindCards::addRow(card, i18nc("@label", "Remittance information:"), bill.message, true);
    KindCards::addRow(card, i18nc("@label", "Billing information:"), bill.billingInformation);
    if (bill.debtor && !bill.debtor->isEmpty()) {
        addAddress(card, i18nc("@label", "Debtor:"), *bill.debtor);
    }
    return card;
}

CardContents KindCards::gs1(const Content::Gs1Elements &gs1)
{
    CardContents card;
    card.title = i18nc("@title:group", "GS1 Data");
    card.warnings = sentences(gs1.warnings);
    KindCards::addRow(card, i18nc("@label", "Host:"), gs1.host);
    for (const Content::Gs1Element &element : gs1.elements) {
        const QString name = element.name.isEmpty() ? i18nc("@label a GS1 application identifier", "AI (%1)", element.ai) : element.name.toString();
        const QString readable = element.readable.isEmpty() ? element.value.value : element.readable;
        CardRow row = checkedRow(i18nc("@label a field's name before its value", "%1:", name), element.value);
        row.value = element.date.isValid() ? QLocale().toString(element.date, QLocale::LongFormat) : readable;
        row.copyText = readable;
        row.copyName = i18nc("@action:button %1 is a field's name", "Copy %1", name);
        card.rows.append(row);
    }
    return card;
}

}
