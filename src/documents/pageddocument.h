// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QImage>

namespace Brevlinder::Documents
{

/**
 * A document of pages that are read one by one, each as an image: a PDF file, or an image file that holds
 * several frames or pages.
 */
class PagedDocument
{
public:
    virtual ~PagedDocument();

    /// At least 2 for anything opened as a document of images; a PDF of one page is a document of 1 page.
    virtual int pageCount() const = 0;
    /**
     * Page @p index (from 0) as an image at the resolution its codes are read at; a null image when the page
     * cannot be rendered or read. Callable from any thread: calls are serialised inside.
     */
    virtual QImage page(int index) = 0;

protected:
    PagedDocument() = default;
    Q_DISABLE_COPY_MOVE(PagedDocument)
};

}
