// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "codecontent.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

using namespace Brevlinder::Content;

namespace
{

// Reads every string so that a value that points where it should not is found here, not in the window.
qsizetype touched(const QString &text)
{
    qsizetype sum = text.size();
    for (const QChar c : text) {
        sum += c.unicode();
    }
    return sum;
}

qsizetype touched(const KLocalizedString &text)
{
    return text.isEmpty() ? 0 : touched(text.toString());
}

qsizetype touched(const QList<KLocalizedString> &warnings)
{
    qsizetype sum = 0;
    for (const KLocalizedString &warning : warnings) {
        sum += touched(warning);
    }
    return sum;
}

qsizetype touched(const ContactCard &card)
{
    qsizetype sum = touched(card.name) + touched(card.organization) + touched(card.title) + touched(card.note) + card.vCard.size();
    for (const auto *entries : {&card.phones, &card.emails, &card.addresses}) {
        for (const ContactCard::Entry &entry : *entries) {
            sum += touched(entry.value) + touched(entry.kind);
        }
    }
    for (const QString &address : card.webAddresses) {
        sum += touched(address);
    }
    return sum + touched(card.birthday.value) + touched(card.birthday.problem) + card.birthDate.day() + touched(card.warnings);
}

qsizetype touched(const CalendarEvent &event)
{
    return touched(event.summary) + touched(event.location) + touched(event.description) + touched(event.timeZoneName) + touched(event.start.toString())
        + touched(event.end.toString()) + touched(event.repetition) + event.iCalendar.size() + touched(event.warnings);
}

template<typename T>
qsizetype touched(const T &kind)
{
    if constexpr (requires { kind.warnings; }) {
        return touched(kind.warnings);
    }
    return 0;
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *input, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const bool isGs1 = input[0] & 1;
    const QByteArray data(reinterpret_cast<const char *>(input + 1), qsizetype(size - 1));
    const Kind kind = CodeContent::read(QString::fromUtf8(data), data, isGs1);
    volatile qsizetype sink = std::visit(
        [](const auto &read) {
            return touched(read);
        },
        kind);
    (void)sink;
    return 0;
}
