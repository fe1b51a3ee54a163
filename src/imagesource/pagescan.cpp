// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "pagescan.h"

#include "pageddocument.h"
#include "scanimagerunner.h"

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace Brevlinder::ImageSource
{

namespace
{

// Where it competes for a core, the thread that reads the first code, renders a page for the view or paints the
// window comes first; on an idle machine the scan runs at full speed all the same. Linux gives each thread a nice
// value of its own. The threads of the scan's pool do nothing else, so theirs is never raised again.
void giveWayToInteractiveWork()
{
#ifdef Q_OS_LINUX
    constexpr int backgroundNiceness = 5;
    setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), backgroundNiceness);
#endif
}

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
    giveWayToInteractiveWork();
    const int pageCount = document ? document->pageCount() : 1;
    promise.setProgressRange(0, pageCount);
    for (int page = 0; page < pageCount && !promise.isCanceled(); ++page) {
        // Rendered here, one page at a time: a long document never needs the memory of all its pages.
        promise.addResult(codesOn(page, page == 0 ? firstPage : document->page(page)));
        promise.setProgressValue(page + 1);
    }
}

}
