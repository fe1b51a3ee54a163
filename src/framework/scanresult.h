// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QExplicitlySharedDataPointer>
#include <QMetaType>
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
    /// A result that is not valid, with a record of its own.
    ScanResult();
    /// A valid result holding a decoded code.
    ScanResult(const QString &text, const QByteArray &data);
    ScanResult(const ScanResult &other);
    ~ScanResult();
    ScanResult &operator=(const ScanResult &other);

    bool isValid() const;
    const QString &text() const;
    const QByteArray &data() const;

private:
    QExplicitlySharedDataPointer<ScanResultData> d;
};

}

Q_DECLARE_METATYPE(Brevlinder::ScanResult)
