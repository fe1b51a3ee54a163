// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "codecontent.h"

#include "emailmessage.h"
#include "mecard.h"
#include "scanresult.h"

namespace Brevlinder::Content
{

namespace
{

// MATMSG codes say less than mailto: addresses, and are shown and sent the same way.
MailMessage toMailMessage(const EmailMessage &email)
{
    MailMessage mail;
    for (const QString &recipient : email.recipients) {
        mail.to.append(CheckedValue{recipient, KLocalizedString()});
    }
    mail.subject = email.subject;
    mail.body = email.body;
    mail.warnings = email.warnings;
    return mail;
}

// Tries each parser in turn; every one of them rejects a text that is not its kind by its first characters, so
// this costs little more than the parser that takes the text.
template<typename T>
bool take(Kind &kind, std::optional<T> &&parsed)
{
    if (!parsed) {
        return false;
    }
    kind = std::move(*parsed);
    return true;
}

}

Kind CodeContent::read(const QString &text, const QByteArray &data, bool isGs1)
{
    Kind kind = PlainText();
    if (isGs1) {
        take(kind, Gs1Elements::parse(text, true));
        return kind;
    }
    if (take(kind, WifiNetwork::parse(text)) || take(kind, ContactCard::parse(text)) || take(kind, CalendarEvent::parse(text))
        || take(kind, GeoLocation::parse(text)) || take(kind, PhoneNumber::parse(text)) || take(kind, MailMessage::parse(text))
        || take(kind, SmsMessage::parse(text)) || take(kind, OtpSetup::parse(text)) || take(kind, EpcPayment::parse(data))
        || take(kind, SwissQrBill::parse(text)) || take(kind, Gs1Elements::parse(text, false)) || take(kind, WebAddress::parse(text))) {
        return kind;
    }
    if (const std::optional<MeCard> meCard = MeCard::parse(text)) {
        return ContactCard::fromMeCard(*meCard);
    }
    if (const std::optional<EmailMessage> email = EmailMessage::parse(text)) {
        return toMailMessage(*email);
    }
    return kind;
}

Kind CodeContent::read(const ScanResult &scanResult)
{
    if (!scanResult.isValid()) {
        return PlainText();
    }
    return read(scanResult.text(), scanResult.data(), scanResult.code().isGs1);
}

}
