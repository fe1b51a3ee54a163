// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "mailmessage.h"

#include "uricomponents.h"

#include <QStringList>

namespace Brevlinder::Content
{

namespace
{
CheckedValue checkedAddress(QStringView address)
{
    CheckedValue checked{address.trimmed().toString(), KLocalizedString()};
    const QString &value = checked.value;
    const qsizetype at = value.lastIndexOf(u'@');
    bool sound = at > 0 && at < value.size() - 1;
    // A quoted local part may hold spaces, commas and even "@"; control characters belong nowhere in an address.
    const bool quoted = sound && at >= 2 && value.startsWith(u'"') && value[at - 1] == u'"';
    for (qsizetype i = 0; sound && i < value.size(); ++i) {
        const QChar c = value[i];
        const bool special = c.isSpace() || c == u',' || c == u'<' || c == u'>' || c == u'@' || c == u'"';
        sound = c.category() != QChar::Other_Control && (!special || (quoted && i < at) || i == at);
    }
    if (sound) {
        const QStringView domain = QStringView(value).mid(at + 1);
        sound = !domain.startsWith(u'.') && !domain.endsWith(u'.') && !domain.contains(u"..") && !domain.contains(u'@');
    }
    if (!sound) {
        checked.problem = ki18n("This is not an e-mail address.");
    }
    return checked;
}

void appendAddresses(QList<CheckedValue> &addresses, QStringView list)
{
    for (const QStringView address : list.tokenize(u',')) {
        if (!address.trimmed().isEmpty()) {
            addresses.append(checkedAddress(address));
        }
    }
}

QStringList values(const QList<CheckedValue> &checked)
{
    QStringList list;
    list.reserve(checked.size());
    for (const CheckedValue &value : checked) {
        list.append(value.value);
    }
    return list;
}
}

std::optional<MailMessage> MailMessage::parse(const QString &text)
{
    if (!UriComponents::hasScheme(text, u"mailto:") || text.size() > UriComponents::maximumPayloadLength) {
        return std::nullopt;
    }
    const QStringView address = QStringView(text).mid(7).trimmed();
    const qsizetype questionMark = address.indexOf(u'?');

    MailMessage message;
    // Addresses are split before they are decoded: an escaped comma belongs to a quoted local part.
    for (const QStringView recipient : (questionMark < 0 ? address : address.left(questionMark)).tokenize(u',')) {
        if (!recipient.trimmed().isEmpty()) {
            message.to.append(checkedAddress(UriComponents::percentDecoded(recipient)));
        }
    }

    bool hasSubject = false;
    bool hasBody = false;
    bool hasInReplyTo = false;
    QStringList leftOut;
    bool asksForAttachment = false;
    const QStringView query = questionMark < 0 ? QStringView() : address.mid(questionMark + 1);
    for (const auto &[name, value] : UriComponents::queryItems(query)) {
        if (name == u"to") {
            appendAddresses(message.to, value);
        } else if (name == u"cc") {
            appendAddresses(message.cc, value);
        } else if (name == u"bcc") {
            appendAddresses(message.bcc, value);
        } else if (name == u"subject" && !hasSubject) {
            message.subject = value;
            hasSubject = true;
        } else if (name == u"body" && !hasBody) {
            message.body = value;
            hasBody = true;
        } else if (name == u"in-reply-to" && !hasInReplyTo) {
            message.inReplyTo = value;
            hasInReplyTo = true;
        } else if (name == u"subject" || name == u"body" || name == u"in-reply-to") {
            continue;
        } else if (name.startsWith(u"attach")) {
            asksForAttachment = true;
        } else if (!leftOut.contains(name) && leftOut.size() < 10) {
            // Ten names tell enough; a hostile code could otherwise make this list as long as itself.
            leftOut.append(name);
        }
    }

    if (!message.bcc.isEmpty()) {
        message.warnings.append(
            ki18n("The message would also go to %1, hidden from the other recipients.").subs(values(message.bcc).join(QStringLiteral(", "))));
    }
    if (asksForAttachment) {
        message.warnings.append(ki18n("The code asks to attach a file from this computer; that request is left out."));
    }
    if (!leftOut.isEmpty()) {
        message.warnings.append(ki18n("The code sets parts of the message that are left out: %1.").subs(leftOut.join(QStringLiteral(", "))));
    }
    return message;
}

}
