// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "structuredappend.h"

#include <QHash>

#include <map>

namespace Brevlinder
{

namespace
{

// Parts belong together when they agree on the symbology, the sequence's id and its size.
QString sequenceKey(const ScanResult::Code &code)
{
    return code.symbology + QLatin1Char('\n') + code.sequenceId + QLatin1Char('\n') + QString::number(code.sequenceSize);
}

bool isKnownSizePart(const ScanResult &result)
{
    const ScanResult::Code &code = result.code();
    return result.isValid() && code.sequenceSize > 0 && code.sequenceIndex >= 0 && code.sequenceIndex < code.sequenceSize;
}

struct Sequence {
    // The list place of the part listed first.
    qsizetype firstListed = 0;
    // Each part once, by its index.
    std::map<int, ScanResult> parts;

    bool isComplete() const
    {
        return !parts.empty() && int(parts.size()) == parts.begin()->second.code().sequenceSize;
    }
};

QHash<QString, Sequence> sequencesIn(const QList<ScanResult> &codes)
{
    QHash<QString, Sequence> sequences;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        if (!isKnownSizePart(codes[i])) {
            continue;
        }
        const QString key = sequenceKey(codes[i].code());
        auto found = sequences.find(key);
        if (found == sequences.end()) {
            found = sequences.insert(key, Sequence{i, {}});
        }
        found->parts.emplace(codes[i].code().sequenceIndex, codes[i]);
    }
    return sequences;
}

ScanResult joined(const Sequence &sequence)
{
    QString text;
    QByteArray data;
    ScanResult::Code code = sequence.parts.begin()->second.code();
    code.sequenceIndex = -1;
    code.sequenceSize = -1;
    for (const auto &[index, part] : sequence.parts) {
        text += part.text();
        data += part.data();
        code.parts.append(ScanResult::Code::Part{part.code().page, part.code().position});
    }
    return ScanResult(text, data, code);
}

}

QList<ScanResult> StructuredAppend::join(const QList<ScanResult> &codes)
{
    const QHash<QString, Sequence> sequences = sequencesIn(codes);
    QList<ScanResult> result;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        if (!isKnownSizePart(codes[i])) {
            result.append(codes[i]);
            continue;
        }
        const Sequence &sequence = sequences[sequenceKey(codes[i].code())];
        if (!sequence.isComplete()) {
            result.append(codes[i]);
        } else if (sequence.firstListed == i) {
            result.append(joined(sequence));
        }
    }
    return result;
}

QList<StructuredAppend::Gap> StructuredAppend::gaps(const QList<ScanResult> &codes)
{
    const QHash<QString, Sequence> sequences = sequencesIn(codes);
    std::map<qsizetype, Gap> gapsInListOrder;
    for (const Sequence &sequence : sequences) {
        if (sequence.isComplete()) {
            continue;
        }
        const ScanResult::Code &code = sequence.parts.begin()->second.code();
        Gap gap{code.symbology, code.sequenceSize, {}};
        for (int index = 0; index < code.sequenceSize; ++index) {
            if (!sequence.parts.contains(index)) {
                gap.missingParts.append(index + 1);
            }
        }
        gapsInListOrder.emplace(sequence.firstListed, gap);
    }
    QList<Gap> result;
    for (const auto &[place, gap] : gapsInListOrder) {
        result.append(gap);
    }
    return result;
}

}
