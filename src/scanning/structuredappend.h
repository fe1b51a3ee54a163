// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "scanresult.h"

#include <QList>
#include <QString>

namespace Brevlinder
{

/**
 * Structured append splits one message over several codes, each knowing its place and the number of parts. The
 * parts found in one image, or on the pages of one document, are joined here into the one code they stand for.
 */
class StructuredAppend
{
public:
    /// A sequence of which some parts were not found.
    struct Gap {
        QString symbology;
        int sequenceSize = 0;
        /// The numbers of the missing parts, from 1, ascending.
        QList<int> missingParts;
    };

    /**
     * \p codes with every complete sequence joined into one code: its text and bytes are the parts' in sequence
     * order, it takes the list place of the part listed first, and its position and page are its first part's.
     * Parts of incomplete sequences, and of sequences that do not say their size, stay as they are; a part seen
     * twice counts once.
     */
    static QList<ScanResult> join(const QList<ScanResult> &codes);

    /// The sequences in \p codes that miss parts, in the order their first parts are listed.
    static QList<Gap> gaps(const QList<ScanResult> &codes);
};

}
