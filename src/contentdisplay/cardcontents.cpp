// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "cardcontents.h"

#include "kindcards.h"

namespace Brevlinder::ContentDisplay
{

namespace
{
template<class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
}

std::optional<CardContents> CardContents::of(const Content::Kind &kind, const QString &text)
{
    return std::visit(Overloaded{
                          [](const Content::PlainText &) -> std::optional<CardContents> {
                              return std::nullopt;
                          },
                          [](const Content::WifiNetwork &network) -> std::optional<CardContents> {
                              return KindCards::wifi(network);
                          },
                          [](const Content::ContactCard &contact) -> std::optional<CardContents> {
                              return KindCards::contact(contact);
                          },
                          [](const Content::CalendarEvent &event) -> std::optional<CardContents> {
                              return KindCards::event(event);
                          },
                          [&text](const Content::GeoLocation &place) -> std::optional<CardContents> {
                              return KindCards::place(place, text);
                          },
                          [&text](const Content::PhoneNumber &phone) -> std::optional<CardContents> {
                              return KindCards::phone(phone, text);
                          },
                          [](const Content::MailMessage &mail) -> std::optional<CardContents> {
                              return KindCards::mail(mail);
                          },
                          [](const Content::SmsMessage &sms) -> std::optional<CardContents> {
                              return KindCards::sms(sms);
                          },
                          [&text](const Content::OtpSetup &otp) -> std::optional<CardContents> {
                              return KindCards::otp(otp, text);
                          },
                          [](const Content::EpcPayment &payment) -> std::optional<CardContents> {
                              return KindCards::epcPayment(payment);
                          },
                          [](const Content::SwissQrBill &bill) -> std::optional<CardContents> {
                              return KindCards::swissPayment(bill);
                          },
                          [](const Content::Gs1Elements &gs1) -> std::optional<CardContents> {
                              return KindCards::gs1(gs1);
                          },
                          [](const Content::WebAddress &address) -> std::optional<CardContents> {
                              return KindCards::web(address);
                          },
                      },
                      kind);
}

QStringList KindCards::sentences(const QList<KLocalizedString> &warnings)
{
    QStringList texts;
    texts.reserve(warnings.size());
    for (const KLocalizedString &warning : warnings) {
        texts.append(warning.toString());
    }
    return texts;
}

void KindCards::addRow(CardContents &card, const QString &label, const QString &value, bool multiLine)
{
    if (!value.isEmpty()) {
        CardRow row;
        row.label = label;
        row.value = value;
        row.multiLine = multiLine;
        card.rows.append(row);
    }
}

CardRow KindCards::checkedRow(const QString &label, const Content::CheckedValue &value)
{
    CardRow row;
    row.label = label;
    row.value = value.value;
    row.problem = value.isSound() ? QString() : value.problem.toString();
    return row;
}

}
