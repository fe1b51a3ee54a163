// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "textview.h"

#include <KIO/JobUiDelegate>
#include <KIO/OpenUrlJob>
#include <KLocalizedString>

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolTip>

namespace Brevlinder
{
namespace PlainTextDisplay
{

namespace
{

// The characters from \c start to \c end of the document that link to \c target.
struct LinkRange {
    int start = 0;
    int end = 0;
    QString target;
    QString text;
};

// The link that holds the character at \p position, if any.
std::optional<LinkRange> linkRangeAt(const QTextDocument *document, int position)
{
    std::optional<LinkRange> range;
    const QTextBlock block = document->findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        const QString target = format.isAnchor() ? format.anchorHref() : QString();
        if (range && range->target == target && range->end == fragment.position()) {
            range->end += fragment.length();
            range->text += fragment.text();
            continue;
        }
        if (range && position < range->end) {
            break;
        }
        range.reset();
        if (!target.isEmpty()) {
            range = LinkRange{fragment.position(), fragment.position() + fragment.length(), target, fragment.text()};
        }
    }
    if (range && range->start <= position && position < range->end) {
        return range;
    }
    return std::nullopt;
}

// The link under \p viewportPosition of \p view, if any.
std::optional<LinkRange> linkRangeAt(const QTextEdit *view, const QPoint &viewportPosition)
{
    const QPoint documentPosition = viewportPosition + QPoint(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
    const int position = view->document()->documentLayout()->hitTest(documentPosition, Qt::ExactHit);
    if (position < 0) {
        return std::nullopt;
    }
    return linkRangeAt(view->document(), position);
}

// KIO's dialogs for a link that cannot be opened as it is: the choice of a program when the desktop has none
// for the scheme, and the reason when opening fails. KIO hands these out through a factory only when its
// widgets library is loaded anyway; deriving makes sure it is.
class OpenLinkUiDelegate : public KIO::JobUiDelegate
{
public:
    explicit OpenLinkUiDelegate(QWidget *window)
        : KIO::JobUiDelegate(KJobUiDelegate::AutoHandlingEnabled, window)
    {
    }
};

// Escapes the ampersands in \p text, which would otherwise mark a menu entry's shortcut letter.
QString withoutMnemonics(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString openActionText(const Link &link)
{
    const QString address = withoutMnemonics(link.shortAddress());
    switch (link.kind()) {
    case Link::Kind::WebPage:
        return i18nc("@action", "Open Link %1", address);
    case Link::Kind::EMail:
        return i18nc("@action", "Send E-mail to %1", address);
    case Link::Kind::Call:
        return i18nc("@action", "Call %1", address);
    case Link::Kind::CopyOnly:
        break;
    }
    return QString();
}

}

TextView::TextView(QWidget *parent)
    : QTextBrowser(parent)
{
}

std::optional<Link> TextView::linkAt(const QPoint &viewportPosition) const
{
    const std::optional<LinkRange> range = linkRangeAt(this, viewportPosition);
    if (!range) {
        return std::nullopt;
    }
    return Link(range->target, range->text);
}

std::optional<Link> TextView::focusedLink() const
{
    // Tab selects the whole of the link it moves to.
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        return std::nullopt;
    }
    const std::optional<LinkRange> range = linkRangeAt(document(), cursor.selectionStart());
    if (!range || range->start != cursor.selectionStart() || range->end != cursor.selectionEnd()) {
        return std::nullopt;
    }
    return Link(range->target, range->text);
}

QMenu *TextView::createContextMenu(const QPoint &viewportPosition, const std::optional<Link> &link)
{
    const QPoint documentPosition = viewportPosition + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    QMenu *menu = createStandardContextMenu(documentPosition);
    // Replaced by our own entry, which copies the address exactly as it would be opened.
    delete menu->findChild<QAction *>(QStringLiteral("link-copy"));
    if (link) {
        insertLinkActions(menu, *link);
    }
    // The entries for a link name it shortened; their tool tips give the whole address.
    menu->setToolTipsVisible(true);
    return menu;
}

void TextView::contextMenuEvent(QContextMenuEvent *event)
{
    QPoint viewportPosition = event->pos();
    std::optional<Link> link;
    if (event->reason() == QContextMenuEvent::Keyboard) {
        // The Menu key acts where the keyboard is: on the link reached with Tab, with the menu below it.
        link = focusedLink();
        viewportPosition = cursorRect().bottomLeft();
    } else {
        link = linkAt(viewportPosition);
    }
    QMenu *menu = createContextMenu(viewportPosition, link);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(viewport()->mapToGlobal(viewportPosition));
    event->accept();
}

bool TextView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        showLinkToolTip(static_cast<QHelpEvent *>(event));
        return true;
    }
    return QTextBrowser::viewportEvent(event);
}

void TextView::insertLinkActions(QMenu *menu, const Link &link)
{
    QAction *firstStandardAction = menu->actions().value(0);
    const QString address = link.address();

    const QString openText = openActionText(link);
    if (!openText.isEmpty()) {
        auto *openAction = new QAction(openText, menu);
        openAction->setToolTip(address);
        connect(openAction, &QAction::triggered, this, [this, link]() {
            openLink(link);
        });
        menu->insertAction(firstStandardAction, openAction);
    }

    auto *copyAction = new QAction(QIcon::fromTheme(QStringLiteral("edit-copy")), i18nc("@action", "Copy Link Address"), menu);
    copyAction->setToolTip(address);
    connect(copyAction, &QAction::triggered, this, [address]() {
        QGuiApplication::clipboard()->setText(address);
    });
    menu->insertAction(firstStandardAction, copyAction);
    menu->insertSeparator(firstStandardAction);
}

void TextView::openLink(const Link &link)
{
    if (link.kind() == Link::Kind::CopyOnly) {
        return;
    }
    // Straight to the desktop's handler for the scheme: finding out first what a web address holds would have
    // this program fetch it.
    const QUrl url = link.url();
    auto *job = new KIO::OpenUrlJob(url, QLatin1String("x-scheme-handler/") + url.scheme(), this);
    job->setUiDelegate(new OpenLinkUiDelegate(window()));
    job->start();
}

void TextView::showLinkToolTip(const QHelpEvent *event)
{
    const std::optional<LinkRange> range = linkRangeAt(this, event->pos());
    if (!range) {
        QToolTip::hideText();
        return;
    }
    // Shown until the mouse leaves the link.
    QTextCursor cursor(document());
    cursor.setPosition(range->start);
    QRect area = cursorRect(cursor);
    cursor.setPosition(range->end);
    area = area.united(cursorRect(cursor));
    QToolTip::showText(event->globalPos(), Link(range->target, range->text).address(), viewport(), area);
}

}
}
