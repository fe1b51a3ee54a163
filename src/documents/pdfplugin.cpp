// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "pdfplugin.h"

#include "pdfdocument.h"

namespace Brevlinder::Documents
{

PdfOpener::Opened PdfPlugin::open(const QByteArray &data) const
{
    PdfDocument::Opened opened = PdfDocument::open(data);
    return {std::move(opened.document), opened.failure};
}

}

#include "moc_pdfplugin.cpp"
