// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "pagescan.h"

#include "pageddocument.h"
#include "scanimagerunner.h"

namespace Brevlinder::ImageSource
{

namespace
{

PageCodes codesOn(int page, const QImage &image)
{
    if (image.isNull()) {
        return PageCodes{page, {}, false};
    }
    QList<ScanResult> codes = scanImageForEveryCode(image);
    for (ScanResult &found : codes) {
        ScanResult::Code code = found.code();
        code.page = page;
        found = ScanResult(found.text(), found.data(), code);
    }
    return PageCodes{page, codes, true};
}

}

void scanEveryPage(QPromise<PageCodes> &promise, const QImage &firstPage, const std::shared_ptr<Documents::PagedDocument> &document)
{
    const int pageCount = document ? document->pageCount() : 1;
    promise.setProgressRange(0, pageCount);
    for (int page = 0; page < pageCount && !promise.isCanceled(); ++page) {
        // Rendered here, one page at a time: a long document never needs the memory of all its pages.
        promise.addResult(codesOn(page, page == 0 ? firstPage : document->page(page)));
        promise.setProgressValue(page + 1);
    }
}

}
