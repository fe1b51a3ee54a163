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
    ScanResult::Code code;
    bool valid = false;
};

ScanResult::ScanResult()
    : d(new ScanResultData)
{
}

ScanResult::ScanResult(const QString &text, const QByteArray &data)
    : ScanResult(text, data, Code())
{
}

ScanResult::ScanResult(const QString &text, const QByteArray &data, const Code &code)
    : d(new ScanResultData)
{
    d->text = text;
    d->data = data;
    d->code = code;
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

const ScanResult::Code &ScanResult::code() const
{
    return d->code;
}

}
