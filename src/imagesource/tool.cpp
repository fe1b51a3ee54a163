// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "tool.h"

#include "imageselector.h"
#include "loadimagejob.h"
#include "pageddocument.h"
#include "readimagefilerunner.h"
#include "scanimagerunner.h"
#include "symbology.h"
#include "widget.h"

#include <KLocalizedString>

#include <QHash>
#include <QImage>
#include <QLocale>
#include <QtConcurrentRun>

#include <utility>

namespace Brevlinder::ImageSource
{

Tool::Tool()
    : AbstractSourceTool(nullptr)
{
    connect(&m_scanWatcher, &QFutureWatcherBase::finished, this, &Tool::handleScanFinished);
    connect(&m_everyCodeWatcher, &QFutureWatcherBase::resultsReadyAt, this, &Tool::handlePagesScanned);
    // One document at a time: a new one's scan starts once the old one's has stopped at the end of its page.
    m_backgroundPool.setMaxThreadCount(1);
    connect(&m_pageWatcher, &QFutureWatcherBase::finished, this, &Tool::handlePageRendered);
    // Big photos come from the clipboard and drops as well as from files.
    allowDecodableImages();
}

Tool::~Tool()
{
    stopLoad();
    // A long document's pages need not be read to their end for nobody; the page being read is finished first.
    m_everyCodeWatcher.future().cancel();
    m_backgroundPool.waitForDone();
}

void Tool::load(const QUrl &url)
{
    load(url, imageNameFor(url));
}

void Tool::load(const QUrl &url, const QString &imageName)
{
    if (url.isEmpty()) {
        switchToPickView();
        return;
    }
    stopLoad();
    m_loadingImageName = imageName;
    auto *job = new LoadImageJob(url);
    m_loadJob = job;
    connect(job, &KJob::result, this, &Tool::handleLoadResult);
    // A slow load says what it is loading, and offers to stop; its result replaces that message.
    connect(job, &KJob::infoMessage, this, [this](KJob *, const QString &message) {
        sourceWidget()->showLoadingMessage(message);
    });
    scan(job->imageFuture());
    job->start();
    // The views take no input until the load has ended, so that no second load starts meanwhile; the message
    // line stays usable, for its Cancel. At start-up this makes the program's first widgets, while the start
    // image is already being read. A load that failed at once has already enabled them again.
    if (m_loadJob) {
        sourceWidget()->setViewsEnabled(false);
    }
}

QWidget *Tool::widget()
{
    return sourceWidget();
}

Widget *Tool::sourceWidget()
{
    if (!m_widget) {
        m_widget = std::make_unique<Widget>();
        connect(m_widget.get(), &Widget::isInPickViewChanged, this, &AbstractSourceTool::isInPickViewChanged);
        connect(m_widget.get(), &Widget::cancelRequested, this, &Tool::cancelLoad);
        connect(m_widget.get(), &Widget::codeClicked, this, &Tool::chooseCode);
        connect(m_widget.get(), &Widget::codeChosen, this, &Tool::chooseCode);
        connect(m_widget.get(), &Widget::previousPageRequested, this, [this] {
            turnToPage(m_requestedPage - 1);
        });
        connect(m_widget.get(), &Widget::nextPageRequested, this, [this] {
            turnToPage(m_requestedPage + 1);
        });
    }
    return m_widget.get();
}

void Tool::switchToPickView()
{
    // Creates the pick view on the first call; later calls make the same pick view current again.
    sourceWidget()->showImageSelectWidget(imageSelector());
}

bool Tool::isInPickView() const
{
    return m_widget && m_widget->isInPickView();
}

void Tool::scanImage(const QImage &image, const QString &imageName)
{
    stopLoad();
    showImage(image, imageName);
    scan(QtFuture::makeReadyValueFuture(image));
}

void Tool::showErrorMessage(const QString &message)
{
    sourceWidget()->showErrorMessage(message);
}

void Tool::setDropOnImageViewEnabled(bool enabled)
{
    sourceWidget()->setImageViewDropSelector(enabled ? imageSelector() : nullptr);
}

void Tool::cancelLoad()
{
    if (!m_loadJob) {
        return;
    }
    stopLoad();
    sourceWidget()->restoreMessageBeforeLoading();
}

QString Tool::imageNameFor(const QUrl &url)
{
    if (LoadImageJob::isStandardInput(url)) {
        return i18nc("@title:window the image came on standard input", "Standard Input");
    }
    const QString fileName = url.fileName();
    return fileName.isEmpty() ? url.toDisplayString(QUrl::RemoveUserInfo) : fileName;
}

ImageSelector *Tool::imageSelector()
{
    if (!m_imageSelector) {
        m_imageSelector = std::make_unique<ImageSelector>(this);
    }
    return m_imageSelector.get();
}

void Tool::scan(QFuture<QImage> image)
{
    // The one place where scans start: on the pool, as soon as the image is there.
    m_scanEndedBeforeImageShown = false;
    m_scanWatcher.setFuture(image.then(QtFuture::Launch::Async, [](const QFuture<QImage> &read) {
        return read.resultCount() > 0 ? Brevlinder::scanImage(read.result()) : ScanResult();
    }));
}

void Tool::showImage(const QImage &image, const QString &imageName, const std::shared_ptr<Documents::PagedDocument> &document)
{
    forgetCodes();
    m_imageName = imageName;
    m_document = document;
    m_firstPage = image;
    sourceWidget()->setImage(image, pageName(0));
    Q_EMIT imageNameChanged(imageName);
}

void Tool::stopLoad()
{
    if (m_widget) {
        m_widget->setViewsEnabled(true);
    }
    if (!m_loadJob) {
        return;
    }
    disconnect(m_loadJob, nullptr, this, nullptr);
    m_loadJob->kill();
    m_loadJob = nullptr;
    // Its scan, chained to the image that will not come, is of no interest either.
    dropScan();
}

void Tool::dropScan()
{
    m_scanEndedBeforeImageShown = false;
    m_scanWatcher.setFuture(QFuture<ScanResult>());
}

void Tool::handleLoadResult(KJob *job)
{
    m_loadJob = nullptr;
    sourceWidget()->setViewsEnabled(true);
    if (job->error() != 0) {
        dropScan();
        forgetCodes();
        sourceWidget()->showErrorMessage(job->errorString());
        // Nothing of the image before stays beside the error: no picture, no text, nothing to copy or save.
        sourceWidget()->clearImage();
        Q_EMIT imageNameChanged(QString());
        Q_EMIT scanFinished(ScanResult());
        return;
    }
    // Its scan is already running, or done.
    const auto *loadImageJob = static_cast<LoadImageJob *>(job);
    showImage(loadImageJob->image(), m_loadingImageName, loadImageJob->document());
    if (std::exchange(m_scanEndedBeforeImageShown, false)) {
        reportScan();
    }
}

void Tool::handleScanFinished()
{
    // The image comes first, then what its scan found.
    if (m_loadJob) {
        m_scanEndedBeforeImageShown = true;
        return;
    }
    reportScan();
}

void Tool::reportScan()
{
    const QFuture<ScanResult> scanning = m_scanWatcher.future();
    // A load that failed or was stopped, or a scan that a newer image replaced.
    if (scanning.isCanceled() || scanning.resultCount() == 0) {
        return;
    }
    const ScanResult scanResult = scanning.result();
    m_foundCodes.setQuickCode(scanResult);
    // The first code shows now; the others follow from the scan for every code. An image without any code has
    // nothing more to give, but a document's later pages may hold some.
    if (m_document) {
        scanEveryCode();
        reportCodes();
    } else if (scanResult.isValid()) {
        sourceWidget()->showSuccessMessage(ki18n("Code in the image successfully scanned.").toString());
        scanEveryCode();
    } else {
        sourceWidget()->showErrorMessage(ki18n("Could not scan code in the image.").toString());
    }
    updateCodeViews();
    Q_EMIT scanFinished(scanResult);
}

void Tool::forgetCodes()
{
    m_everyCodeWatcher.future().cancel();
    m_everyCodeWatcher.setFuture(QFuture<PageCodes>());
    m_pageWatcher.setFuture(QFuture<QImage>());
    m_foundCodes.clear();
    m_document.reset();
    m_firstPage = QImage();
    m_pageInView = 0;
    m_requestedPage = 0;
    m_scannedPages = 0;
    m_unreadablePages.clear();
    if (m_widget) {
        updateCodeViews();
    }
}

int Tool::pageCount() const
{
    return m_document ? m_document->pageCount() : 1;
}

void Tool::scanEveryCode()
{
    m_everyCodeWatcher.setFuture(QtConcurrent::run(&m_backgroundPool, &scanEveryPage, m_firstPage, m_document));
}

void Tool::handlePagesScanned(int begin, int end)
{
    const ScanResult before = m_foundCodes.currentCode();
    for (int i = begin; i < end; ++i) {
        const PageCodes pageCodes = m_everyCodeWatcher.resultAt(i);
        m_foundCodes.addPage(pageCodes.page, pageCodes.codes);
        if (!pageCodes.readable) {
            m_unreadablePages.append(pageCodes.page);
        }
        m_scannedPages = pageCodes.page + 1;
    }
    const ScanResult current = m_foundCodes.currentCode();
    const bool currentChanged = current.isValid() != before.isValid() || current.text() != before.text() || current.data() != before.data();
    // A document's first code may be on a later page, which is then shown.
    if (currentChanged && current.code().page != m_requestedPage) {
        showPage(current.code().page);
    }
    updateCodeViews();
    reportCodes();
    if (currentChanged) {
        Q_EMIT scanFinished(current);
    }
}

void Tool::reportCodes()
{
    Widget *widget = sourceWidget();
    if (m_scannedPages < pageCount()) {
        if (m_document) {
            widget->showProgressMessage(i18nc("@info:status", "Scanning page %1 of %2…", m_scannedPages + 1, pageCount()));
        }
        return;
    }
    const qsizetype count = m_foundCodes.codes().size();
    const QStringList problems = scanProblems();
    if (!m_document && count == 1 && problems.isEmpty()) {
        // Said already, when the quick scan found it.
        return;
    }
    QString found;
    if (count == 0) {
        found = i18np("No code found on the document's page.", "No code found on any of the document's %1 pages.", pageCount());
    } else if (m_document) {
        found = i18np("One code found in the document.", "%1 codes found in the document.", count);
    } else {
        found = i18np("One code found in the image.", "%1 codes found in the image.", count);
    }
    const QString message = QStringList(QStringList{found} + problems).join(QLatin1Char(' '));
    if (count == 0) {
        widget->showErrorMessage(message);
    } else if (!problems.isEmpty()) {
        widget->showWarningMessage(message);
    } else {
        widget->showSuccessMessage(message);
    }
}

QStringList Tool::scanProblems() const
{
    const QLocale locale;
    QStringList problems;
    const QList<StructuredAppend::Gap> gaps = m_foundCodes.gaps();
    for (const StructuredAppend::Gap &gap : gaps) {
        QStringList missing;
        for (int part : gap.missingParts) {
            missing.append(locale.toString(part));
        }
        problems.append(i18ncp("@info %2 part numbers, %3 the number of parts, %4 a symbology",
                               "Part %2 of a code split over %3 %4 symbols is missing.",
                               "Parts %2 of a code split over %3 %4 symbols are missing.",
                               missing.size(),
                               locale.createSeparatedList(missing),
                               gap.sequenceSize,
                               symbologyDisplayName(gap.symbology)));
    }
    if (!m_unreadablePages.isEmpty()) {
        QStringList pages;
        for (int page : m_unreadablePages) {
            pages.append(locale.toString(page + 1));
        }
        problems.append(
            i18ncp("@info %2 page numbers", "Page %2 could not be read.", "Pages %2 could not be read.", pages.size(), locale.createSeparatedList(pages)));
    }
    return problems;
}

void Tool::updateCodeViews()
{
    Widget *widget = sourceWidget();
    const int current = m_foundCodes.current();
    widget->setCodeChoices(codeChoices(), current);
    widget->setOutlines(m_foundCodes.outlinesOn(m_pageInView), current);
    widget->setPages(m_requestedPage, m_document ? pageCount() : 0);
}

QStringList Tool::codeChoices() const
{
    const QList<ScanResult> &codes = m_foundCodes.codes();
    // In a document, codes are counted on their page; a long one may hold hundreds, so this stays one pass each.
    QHash<int, int> codesOnPage;
    if (m_document) {
        for (const ScanResult &code : codes) {
            ++codesOnPage[code.code().page];
        }
    }
    QHash<int, int> numberedOnPage;
    QStringList choices;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const ScanResult::Code &code = codes[i].code();
        const QString symbology = symbologyDisplayName(code.symbology);
        if (m_document) {
            choices.append(Widget::codeChoiceText(++numberedOnPage[code.page], codesOnPage.value(code.page), symbology, codes[i].text(), code.page));
        } else {
            choices.append(Widget::codeChoiceText(int(i) + 1, int(codes.size()), symbology, codes[i].text(), -1));
        }
    }
    return choices;
}

void Tool::chooseCode(int code)
{
    if (code == m_foundCodes.current() || code < 0 || code >= m_foundCodes.codes().size()) {
        return;
    }
    m_foundCodes.setCurrent(code);
    showPage(m_foundCodes.currentCode().code().page);
    updateCodeViews();
    Q_EMIT scanFinished(m_foundCodes.currentCode());
}

void Tool::turnToPage(int page)
{
    if (page < 0 || page >= pageCount() || page == m_requestedPage) {
        return;
    }
    showPage(page);
    // The text shown is of a code on the page shown, where it has any.
    const int first = m_foundCodes.firstCodeOn(page);
    if (first >= 0 && m_foundCodes.currentCode().code().page != page) {
        chooseCode(first);
        return;
    }
    updateCodeViews();
}

void Tool::showPage(int page)
{
    if (page == m_requestedPage) {
        return;
    }
    m_requestedPage = page;
    if (page == 0) {
        m_pageWatcher.setFuture(QFuture<QImage>());
        showPageInView(0, m_firstPage);
        return;
    }
    // Rendering a page takes a moment; the page shown until then stays.
    m_pageWatcher.setFuture(QtConcurrent::run([document = m_document, page] {
        return document->page(page);
    }));
}

void Tool::handlePageRendered()
{
    const QFuture<QImage> rendered = m_pageWatcher.future();
    if (rendered.isCanceled() || rendered.resultCount() == 0) {
        return;
    }
    const QImage page = rendered.result();
    if (page.isNull()) {
        sourceWidget()->showErrorMessage(i18nc("@info", "Page %1 could not be read.", m_requestedPage + 1));
        return;
    }
    showPageInView(m_requestedPage, page);
}

void Tool::showPageInView(int page, const QImage &image)
{
    m_pageInView = page;
    sourceWidget()->setImage(image, pageName(page));
    updateCodeViews();
}

QString Tool::pageName(int page) const
{
    if (!m_document) {
        return m_imageName;
    }
    return i18nc("@info the shown page of a document: its name, the page's number, the number of pages",
                 "%1, page %2 of %3",
                 m_imageName,
                 page + 1,
                 pageCount());
}

}

#include "moc_tool.cpp"
