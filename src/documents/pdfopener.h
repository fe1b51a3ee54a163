// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "pageddocument.h"

#include <KLocalizedString>

#include <QByteArray>
#include <QtPlugin>

#include <memory>

namespace Brevlinder::Documents
{

/**
 * Opens PDF files. Poppler and the twenty libraries it brings take the program's start several milliseconds to
 * load, which every start would pay while few ever read a PDF: the opener lives in a plugin that is loaded when
 * the first PDF arrives.
 */
class PdfOpener
{
public:
    /// A document that opened, or why none did.
    struct Opened {
        std::shared_ptr<PagedDocument> document;
        KLocalizedString failure;
    };

    virtual ~PdfOpener();

    /// Opens the PDF file held in @p data, which the document keeps.
    virtual Opened open(const QByteArray &data) const = 0;

    /// Opens @p data with the plugin's opener, loading the plugin on the first call; says why when the plugin is
    /// missing. Callable from any thread.
    static Opened openWithPlugin(const QByteArray &data);
};

}

#define BrevlinderPdfOpener_iid "org.example.brevlinder.PdfOpener/1.0"
Q_DECLARE_INTERFACE(Brevlinder::Documents::PdfOpener, BrevlinderPdfOpener_iid)
