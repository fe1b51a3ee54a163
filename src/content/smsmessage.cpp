// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "smsmessage.h"

#include "uricomponents.h"

namespace Brevlinder::Content
{

namespace
{
void appendRecipients(SmsMessage &message, QStringView recipients)
{
    for (const QStringView recipient : recipients.tokenize(u',')) {
        if (!recipient.trimmed().isEmpty()) {
            message.recipients.append(PhoneNumber::fromSubscriber(recipient.trimmed()));
        }
    }
}
}

std::optional<SmsMessage> SmsMessage::parse(const QString &text)
{
    if (text.size() > UriComponents::maximumPayloadLength) {
        return std::nullopt;
    }
    SmsMessage message;
    const bool smsTo = UriComponents::hasScheme(text, u"smsto:");
    // Some generators write "sms:number:text" as they would "SMSTO:"; no sms: address has a colon otherwise.
    if (smsTo || (UriComponents::hasScheme(text, u"sms:") && !text.contains(u'?') && text.indexOf(u':', 4) >= 0)) {
        // The text follows the first colon after the number and is taken as written: it may hold colons itself.
        const QStringView rest = QStringView(text).mid(smsTo ? 6 : 4);
        const qsizetype colon = rest.indexOf(u':');
        appendRecipients(message, colon < 0 ? rest : rest.left(colon));
        if (colon >= 0) {
            message.body = rest.mid(colon + 1).toString();
        }
        return message;
    }
    if (!UriComponents::hasScheme(text, u"sms:")) {
        return std::nullopt;
    }
    const QStringView address = QStringView(text).mid(4).trimmed();
    const qsizetype questionMark = address.indexOf(u'?');
    appendRecipients(message, questionMark < 0 ? address : address.left(questionMark));
    if (questionMark >= 0) {
        for (const auto &[name, value] : UriComponents::queryItems(address.mid(questionMark + 1))) {
            if (name == u"body") {
                message.body = value;
                break;
            }
        }
    }
    return message;
}

}
