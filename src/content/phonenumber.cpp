// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "phonenumber.h"

#include "uricomponents.h"

namespace Brevlinder::Content
{

namespace
{
// Longer numbers exist in no numbering plan; a code that carries one is more likely a service code in disguise.
constexpr qsizetype maximumInternationalDigits = 15;

bool isVisualSeparator(QChar c)
{
    // Spaces are not allowed in the address, but printed codes carry them often enough that refusing would only
    // hide an otherwise good number.
    return c == u'-' || c == u'.' || c == u'(' || c == u')' || c == u' ';
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
}

std::optional<PhoneNumber> PhoneNumber::parse(const QString &text)
{
    if (!UriComponents::hasScheme(text, u"tel:") || text.size() > UriComponents::maximumPayloadLength) {
        return std::nullopt;
    }
    return fromSubscriber(QStringView(text).mid(4).trimmed());
}

PhoneNumber PhoneNumber::fromSubscriber(QStringView subscriber)
{
    PhoneNumber phone;
    const qsizetype firstParameter = subscriber.indexOf(u';');
    phone.number.value = UriComponents::percentDecoded(firstParameter < 0 ? subscriber : subscriber.left(firstParameter));
    if (firstParameter >= 0) {
        for (const QStringView parameter : subscriber.mid(firstParameter + 1).tokenize(u';')) {
            const qsizetype equals = parameter.indexOf(u'=');
            const QString name = UriComponents::percentDecoded(equals < 0 ? parameter : parameter.left(equals)).toLower();
            const QString value = equals < 0 ? QString() : UriComponents::percentDecoded(parameter.mid(equals + 1));
            if (name == u"ext") {
                phone.extension = value;
            } else if (name == u"isub") {
                phone.isdnSubaddress = value;
            } else if (name == u"phone-context") {
                phone.phoneContext = value;
            }
        }
    }

    const QString &number = phone.number.value;
    const bool international = number.startsWith(u'+');
    bool serviceCode = false;
    bool wellFormed = true;
    qsizetype digits = 0;
    phone.dialable.reserve(number.size());
    if (international) {
        phone.dialable += u'+';
    }
    for (qsizetype i = international ? 1 : 0; i < number.size(); ++i) {
        const QChar c = number[i];
        if (isAsciiDigit(c)) {
            ++digits;
            phone.dialable += c;
        } else if (c == u'*' || c == u'#') {
            serviceCode = true;
            phone.dialable += c;
        } else if (!isVisualSeparator(c)) {
            wellFormed = false;
        }
    }

    if (!wellFormed || digits == 0) {
        phone.number.problem = ki18n("This is not a phone number: it may hold only digits, a leading + and the separators - . ( ).");
    } else if (international && digits > maximumInternationalDigits) {
        phone.number.problem = ki18n("A phone number has at most 15 digits.");
    } else if (!international && phone.phoneContext.isEmpty()) {
        phone.warnings.append(ki18n("The number has no country code: it may reach a different phone depending on where it is dialled."));
    }
    if (serviceCode) {
        phone.warnings.append(ki18n("The number holds * or #: a phone dialling it would run it as a service code, which can change the phone's settings."));
    }
    return phone;
}

}
