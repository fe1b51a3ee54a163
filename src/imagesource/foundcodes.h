// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "codeoutline.h"
#include "scanresult.h"
#include "structuredappend.h"

#include <QList>

namespace Brevlinder::ImageSource
{

/**
 * The codes found in what is shown, page by page as the scan of every code reports them, and which of them is
 * the current one: the code whose text the display and the export tools hold.
 *
 * The quick scan's code comes first and stays current when the full scan finds it again, so that the text the
 * user saw first does not change under them. The parts of a structured-append sequence are offered as one code
 * once all of them have been found.
 */
class FoundCodes
{
public:
    void clear();
    /// The quick scan's code on the first page, which becomes current.
    void setQuickCode(const ScanResult &code);
    /// Every code found on \p page; pages come in order.
    void addPage(int page, const QList<ScanResult> &codes);

    /// The codes to choose from, joined sequences as one.
    const QList<ScanResult> &codes() const;
    /// The current code's number in codes(), -1 while there is none.
    int current() const;
    ScanResult currentCode() const;
    void setCurrent(int code);
    /// The number of the first code on \p page, -1 if the page shows none.
    int firstCodeOn(int page) const;
    /// Every outline on \p page, each with its code's number in codes(); a joined code has one for each part there.
    QList<CodeOutline> outlinesOn(int page) const;
    /// The sequences that still miss parts.
    QList<StructuredAppend::Gap> gaps() const;

private:
    void rejoin();
    int indexOf(const ScanResult &code) const;

    // Every code as found, parts of sequences apart, in page order.
    QList<ScanResult> m_found;
    QList<ScanResult> m_codes;
    ScanResult m_current;
};

}
