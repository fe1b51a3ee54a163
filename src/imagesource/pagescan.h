// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "scanresult.h"

#include <QImage>
#include <QList>
#include <QPromise>

#include <memory>

namespace Brevlinder
{
namespace Documents
{
class PagedDocument;
}

namespace ImageSource
{

/// What the scan for every code found on one page.
struct PageCodes {
    int page = 0;
    /// Every code on the page, each knowing its page.
    QList<ScanResult> codes;
    /// False when the page could not be rendered.
    bool readable = true;
};

/**
 * Looks for every code on each page in turn: the first page is \p firstPage, the others are rendered from
 * \p document (none: an image of one page). Adds one PageCodes a page to \p promise, in page order, and reports
 * the pages done as its progress; stops between pages once the promise is cancelled. Meant for a pool of its own:
 * the thread it runs on gives way to the rest of the program from then on.
 */
void scanEveryPage(QPromise<PageCodes> &promise, const QImage &firstPage, const std::shared_ptr<Documents::PagedDocument> &document);

}
}

Q_DECLARE_METATYPE(Brevlinder::ImageSource::PageCodes)
