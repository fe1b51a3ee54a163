// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "pdfopener.h"

#include <QObject>

namespace Brevlinder::Documents
{

/// The plugin that opens PDF files with Poppler.
class PdfPlugin : public QObject, public PdfOpener
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID BrevlinderPdfOpener_iid FILE "pdfplugin.json")
    Q_INTERFACES(Brevlinder::Documents::PdfOpener)

public:
    Opened open(const QByteArray &data) const override;
};

}
