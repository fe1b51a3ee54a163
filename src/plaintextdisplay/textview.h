// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "link.h"

#include <QTextBrowser>

#include <optional>

class QHelpEvent;
class QMenu;

namespace Brevlinder
{
namespace PlainTextDisplay
{

/**
 * The read-only view of a decoded text, whose links are opened or copied only on purpose.
 *
 * A click on a link opens nothing: a code can carry any address. Hovering a link shows the address it leads
 * to; its context menu, from the mouse or from the Menu key on a link reached with Tab, offers to open it with
 * the desktop's handler for its scheme, where that is safe (see Link), and to copy its address.
 */
class TextView : public QTextBrowser
{
    Q_OBJECT

public:
    explicit TextView(QWidget *parent = nullptr);

    /// The link at \p viewportPosition, if there is one.
    std::optional<Link> linkAt(const QPoint &viewportPosition) const;

    /// The link that has keyboard focus, if there is one.
    std::optional<Link> focusedLink() const;

    /// The context menu at \p viewportPosition: the view's usual entries, and above them what can be done with
    /// \p link. The caller owns the menu.
    QMenu *createContextMenu(const QPoint &viewportPosition, const std::optional<Link> &link);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void insertLinkActions(QMenu *menu, const Link &link);
    void openLink(const Link &link);
    void showLinkToolTip(const QHelpEvent *event);
};

}
}
