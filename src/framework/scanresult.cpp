// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "scanresult.h"

#include <QSharedData>

namespace Brevlinder
{

class ScanResultData : public QSharedData
{
public:
    QString text;
    QByteArray data;
    bool valid = false;
};

ScanResult::ScanResult()
    : d(new ScanResultData)
{
}

ScanResult::ScanResult(const QString &text, const QByteArray &data)
    : d(new ScanResultData)
{
    d->text = text;
    d->data = data;
    d->valid = true;
}

ScanResult::ScanResult(const ScanResult &other) = default;
ScanResult::~ScanResult() = default;
ScanResult &ScanResult::operator=(const ScanResult &other) = default;

bool ScanResult::isValid() const
{
    return d->valid;
}

const QString &ScanResult::text() const
{
    return d->text;
}

const QByteArray &ScanResult::data() const
{
    return d->data;
}

}
