// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "foundcodes.h"

#include <algorithm>

namespace Brevlinder::ImageSource
{

namespace
{

bool sameCode(const ScanResult &a, const ScanResult &b)
{
    return a.text() == b.text() && a.data() == b.data() && a.code().symbology == b.code().symbology;
}

bool samePlace(const ScanResult &a, const ScanResult &b)
{
    return a.code().page == b.code().page && a.code().position == b.code().position;
}

bool hasPartAt(const ScanResult &joined, const ScanResult &part)
{
    const QList<ScanResult::Code::Part> &parts = joined.code().parts;
    return std::any_of(parts.cbegin(), parts.cend(), [&part](const ScanResult::Code::Part &joinedPart) {
        return joinedPart.page == part.code().page && joinedPart.position == part.code().position;
    });
}

// The quick scan and the full scan look at the same pixels in the same way, so they agree on where a code is;
// the text alone decides where they do not.
qsizetype findQuickCode(const QList<ScanResult> &codes, const ScanResult &quick)
{
    for (qsizetype i = 0; i < codes.size(); ++i) {
        if (sameCode(codes[i], quick) && samePlace(codes[i], quick)) {
            return i;
        }
    }
    for (qsizetype i = 0; i < codes.size(); ++i) {
        if (sameCode(codes[i], quick)) {
            return i;
        }
    }
    return -1;
}

}

void FoundCodes::clear()
{
    m_found.clear();
    m_codes.clear();
    m_current = ScanResult();
}

void FoundCodes::setQuickCode(const ScanResult &code)
{
    clear();
    if (code.isValid()) {
        m_found.append(code);
        m_current = code;
    }
    rejoin();
}

void FoundCodes::addPage(int page, const QList<ScanResult> &codes)
{
    if (page == 0 && !m_found.isEmpty()) {
        // The quick code is found again; it keeps its place first, and the full scan's copy of it goes.
        QList<ScanResult> others = codes;
        const qsizetype again = findQuickCode(others, m_found.constFirst());
        if (again >= 0) {
            others.removeAt(again);
        }
        m_found.append(others);
    } else {
        m_found.append(codes);
    }
    rejoin();
}

void FoundCodes::rejoin()
{
    m_codes = StructuredAppend::join(m_found);
    // The first code found becomes current when there is none yet; a current part joined with the rest of its
    // sequence hands over to the joined code.
    const int current = indexOf(m_current);
    m_current = current >= 0 ? m_codes[current] : m_codes.value(0);
}

int FoundCodes::indexOf(const ScanResult &code) const
{
    if (!code.isValid()) {
        return -1;
    }
    for (qsizetype i = 0; i < m_codes.size(); ++i) {
        if (sameCode(m_codes[i], code) && samePlace(m_codes[i], code)) {
            return int(i);
        }
    }
    for (qsizetype i = 0; i < m_codes.size(); ++i) {
        if (hasPartAt(m_codes[i], code)) {
            return int(i);
        }
    }
    return -1;
}

const QList<ScanResult> &FoundCodes::codes() const
{
    return m_codes;
}

int FoundCodes::current() const
{
    return indexOf(m_current);
}

ScanResult FoundCodes::currentCode() const
{
    return m_current;
}

void FoundCodes::setCurrent(int code)
{
    if (code >= 0 && code < m_codes.size()) {
        m_current = m_codes[code];
    }
}

int FoundCodes::firstCodeOn(int page) const
{
    for (qsizetype i = 0; i < m_codes.size(); ++i) {
        if (m_codes[i].code().page == page) {
            return int(i);
        }
    }
    return -1;
}

QList<CodeOutline> FoundCodes::outlinesOn(int page) const
{
    QList<CodeOutline> outlines;
    for (qsizetype i = 0; i < m_codes.size(); ++i) {
        const ScanResult::Code &code = m_codes[i].code();
        if (code.parts.isEmpty()) {
            if (code.page == page) {
                outlines.append(CodeOutline{int(i), code.position});
            }
            continue;
        }
        for (const ScanResult::Code::Part &part : code.parts) {
            if (part.page == page) {
                outlines.append(CodeOutline{int(i), part.position});
            }
        }
    }
    return outlines;
}

QList<StructuredAppend::Gap> FoundCodes::gaps() const
{
    return StructuredAppend::gaps(m_found);
}

}
