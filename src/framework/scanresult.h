// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QExplicitlySharedDataPointer>
#include <QList>
#include <QMetaType>
#include <QPolygon>
#include <QString>

namespace Brevlinder
{

class ScanResultData;

/**
 * The outcome of one scan: whether a code was decoded, its text and its raw bytes.
 *
 * Copies share one record and nobody writes to it once a result has been handed on, so copies are cheap
 * and may travel between threads. A result that is not valid has empty text and data.
 */
class ScanResult
{
public:
    /// What and where the decoded code is.
    struct Code {
        /// The symbology, by the decoder's name for it ("QRCode", "EAN13", "DataMatrix", …).
        QString symbology;
        /// The code's four corners in the image's pixels: its top left, top right, bottom right and bottom left,
        /// as the code is read, so a rotated code has a rotated outline.
        QPolygon position;
        /// Its place in a structured-append sequence: index from 0, and the number of parts; -1 for a code that is
        /// not part of one. Parts of one sequence share the id.
        int sequenceIndex = -1;
        int sequenceSize = -1;
        QString sequenceId;
        /// Whether the code carries GS1 element strings (its symbology identifier says so, e.g. a GS1-128 barcode or
        /// a GS1 DataMatrix); its text then names each element's application identifier in brackets.
        bool isGs1 = false;
        /// The page of the document that shows it, from 0; 0 in an image of one page.
        int page = 0;

        /// Where one part of a joined code is.
        struct Part {
            int page = 0;
            QPolygon position;
        };
        /// For a code joined from the parts of a structured-append sequence, every part in sequence order, and the
        /// code's position and page are its first part's; empty for any other code.
        QList<Part> parts;
    };

    /// A result that is not valid, with a record of its own.
    ScanResult();
    /// A valid result holding a decoded code.
    ScanResult(const QString &text, const QByteArray &data);
    /// A valid result holding a decoded code, found as \p code says.
    ScanResult(const QString &text, const QByteArray &data, const Code &code);
    ScanResult(const ScanResult &other);
    ~ScanResult();
    ScanResult &operator=(const ScanResult &other);

    bool isValid() const;
    const QString &text() const;
    const QByteArray &data() const;
    const Code &code() const;

private:
    QExplicitlySharedDataPointer<ScanResultData> d;
};

}

Q_DECLARE_METATYPE(Brevlinder::ScanResult)
