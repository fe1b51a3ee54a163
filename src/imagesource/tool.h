// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "abstractsourcetool.h"
#include "foundcodes.h"
#include "pagescan.h"
#include "scanresult.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QThreadPool>

#include <memory>

class KJob;
class QImage;

namespace Brevlinder
{
namespace Documents
{
class PagedDocument;
}

namespace ImageSource
{

class ImageSelector;
class LoadImageJob;
class Widget;

/**
 * The program's source of images. Every image takes one road: it is read (from a URL through a load job, or
 * handed over as it is), shown, and scanned on the thread pool; the outcome goes to the widget's message line
 * and out through scanFinished. Scanning starts the moment the image has been read, while the GUI thread may
 * still be busy elsewhere, so the start image is scanned while the window is being built.
 *
 * The first scan stops at the first code, which shows at once. A second scan then looks for every code, on every
 * page of a document; each code found is outlined on its page and offered in the chooser, and the one chosen
 * goes out through scanFinished as a new scan would.
 *
 * A newer image or load replaces the one before: nothing of the old one shows afterwards.
 */
class Tool : public AbstractSourceTool
{
    Q_OBJECT

public:
    Tool();
    ~Tool() override;

    /// Loads the image at \p url, named after its file; an empty URL shows the pick view instead.
    void load(const QUrl &url) override;
    /// Loads the image at \p url, naming what the view then shows \p imageName (a screenshot's file: "Screen").
    void load(const QUrl &url, const QString &imageName);
    QWidget *widget() override;
    void switchToPickView() override;
    bool isInPickView() const override;

    /// Shows \p image, named \p imageName, at once and starts decoding it; the outcome follows when the scan
    /// has finished.
    void scanImage(const QImage &image, const QString &imageName = QString());
    /// Shows \p message as an error in the message line, for failures outside loads and scans.
    void showErrorMessage(const QString &message);
    /// Whether an image or one URL dropped on the image view is taken as on the pick view; off at first.
    void setDropOnImageViewEnabled(bool enabled);
    /// Stops the running load, if any; the view and the message line stay as they were before it.
    void cancelLoad();

    /// The name of what \p url holds, for the window's title: its file name, or failing that its address.
    static QString imageNameFor(const QUrl &url);

private:
    Widget *sourceWidget();
    ImageSelector *imageSelector();
    void scan(QFuture<QImage> image);
    void showImage(const QImage &image, const QString &imageName, const std::shared_ptr<Documents::PagedDocument> &document = {});
    void stopLoad();
    void dropScan();
    void handleLoadResult(KJob *job);
    void handleScanFinished();
    void reportScan();
    void forgetCodes();
    int pageCount() const;
    void scanEveryCode();
    void handlePagesScanned(int begin, int end);
    void reportCodes();
    QStringList scanProblems() const;
    void updateCodeViews();
    QStringList codeChoices() const;
    void chooseCode(int code);
    void turnToPage(int page);
    void showPage(int page);
    void handlePageRendered();
    void showPageInView(int page, const QImage &image);
    QString pageName(int page) const;

    // Declared before the widget, so that the pick view, which points to the selector, goes first.
    std::unique_ptr<ImageSelector> m_imageSelector;
    std::unique_ptr<Widget> m_widget;
    QPointer<LoadImageJob> m_loadJob;
    QString m_loadingImageName;
    // Watches the scan of the latest image only: a new scan takes the watcher over, so an older result never
    // arrives.
    QFutureWatcher<ScanResult> m_scanWatcher;
    // A scan may end before the result of its load has come round to the GUI thread.
    bool m_scanEndedBeforeImageShown = false;

    // What is shown: its name, its pages beyond the first when it is a document, and its first page.
    QString m_imageName;
    std::shared_ptr<Documents::PagedDocument> m_document;
    QImage m_firstPage;
    // The page the user asked for, and the page whose picture the view shows until that one is rendered.
    int m_requestedPage = 0;
    int m_pageInView = 0;
    // Watches the rendering of the page the user asked for; a newer request takes it over.
    QFutureWatcher<QImage> m_pageWatcher;
    // The scan for every code of what is shown, page by page, on a thread of its own that gives way to the rest of
    // the program: it must not slow down what the user waits for, the first code or a page they turn to.
    QThreadPool m_backgroundPool;
    QFutureWatcher<PageCodes> m_everyCodeWatcher;
    FoundCodes m_foundCodes;
    int m_scannedPages = 0;
    QList<int> m_unreadablePages;
};

}
}
