// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "cardcontents.h"

namespace Brevlinder::ContentDisplay
{

/**
 * The card of each kind: which fields show under which names, which checks they carry, and what the buttons do.
 */
struct KindCards {
    static CardContents wifi(const Content::WifiNetwork &network);
    static CardContents contact(const Content::ContactCard &contact);
    static CardContents event(const Content::CalendarEvent &event);
    static CardContents place(const Content::GeoLocation &place, const QString &text);
    static CardContents phone(const Content::PhoneNumber &phone, const QString &text);
    static CardContents mail(const Content::MailMessage &mail);
    static CardContents sms(const Content::SmsMessage &sms);
    static CardContents otp(const Content::OtpSetup &otp, const QString &text);
    static CardContents epcPayment(const Content::EpcPayment &payment);
    static CardContents swissPayment(const Content::SwissQrBill &bill);
    static CardContents gs1(const Content::Gs1Elements &gs1);
    static CardContents web(const Content::WebAddress &address);

    /// The warnings of a kind, as sentences.
    static QStringList sentences(const QList<KLocalizedString> &warnings);
    /// Adds a row for @p value, unless it is empty.
    static void addRow(CardContents &card, const QString &label, const QString &value, bool multiLine = false);
    /// A row for a value with its check.
    static CardRow checkedRow(const QString &label, const Content::CheckedValue &value);
};

}
