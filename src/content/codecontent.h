// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "calendarevent.h"
#include "contactcard.h"
#include "epcpayment.h"
#include "geolocation.h"
#include "gs1elements.h"
#include "mailmessage.h"
#include "otpsetup.h"
#include "phonenumber.h"
#include "smsmessage.h"
#include "swissqrbill.h"
#include "webaddress.h"
#include "wifinetwork.h"

#include <QByteArray>
#include <QString>

#include <variant>

namespace Brevlinder
{
class ScanResult;
}

namespace Brevlinder::Content
{

/// A code whose text is nothing more than text.
struct PlainText {
};

/// What a code carries, as one of the kinds that are understood.
using Kind = std::variant<PlainText,
                          WifiNetwork,
                          ContactCard,
                          CalendarEvent,
                          GeoLocation,
                          PhoneNumber,
                          MailMessage,
                          SmsMessage,
                          OtpSetup,
                          EpcPayment,
                          SwissQrBill,
                          Gs1Elements,
                          WebAddress>;

/**
 * Tells what a code carries, from its text, its bytes and whether the decoder saw GS1 data.
 *
 * The only place that knows which formats there are. Pure and bounded: it reads nothing but its arguments, and a
 * payload that only looks like a kind, or is too large for its format, is plain text.
 */
struct CodeContent {
    static Kind read(const QString &text, const QByteArray &data, bool isGs1);
    static Kind read(const ScanResult &scanResult);
};

}
