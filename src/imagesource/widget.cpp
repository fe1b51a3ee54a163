// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "widget.h"

#include "brevlinder_imagesource_debug.h"
#include "imageselectwidget.h"
#include "imageview.h"

#include <KLocalizedString>
#include <KMessageWidget>

#include <QAccessible>
#include <QAction>
#include <QIcon>

#include <QComboBox>
#include <QImage>
#include <QKeySequence>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QString>
#include <QStyle>
#include <QToolButton>

#include <utility>

namespace Brevlinder
{
namespace ImageSource
{

Widget::Widget(QWidget *parent)
    : QWidget(parent)
    , m_previousPageAction(new QAction(i18nc("@action:button", "Previous Page"), this))
    , m_nextPageAction(new QAction(i18nc("@action:button", "Next Page"), this))
    , m_imageView(new ImageView(this))
{
    m_ui.setupUi(this);
    m_imageView->setAccessibleName(i18nc("@label", "Image"));
    m_ui.widgetStackLayout->addWidget(m_imageView);
    connect(m_imageView, &ImageView::codeClicked, this, &Widget::codeClicked);
    // setCodeChoices blocks the chooser's signals, so this reports the user's choices only.
    connect(m_ui.codeChooser, &QComboBox::currentIndexChanged, this, &Widget::codeChosen);

    // Page Up and Page Down turn pages wherever the focus is in this widget: the chooser, which would take them
    // for its own entries, lets the shortcuts have them first.
    const struct {
        QAction *action;
        QToolButton *button;
        Qt::Key key;
        QString toolTip;
        void (Widget::*requested)();
    } pageActions[] = {
        {m_previousPageAction,
         m_ui.previousPageButton,
         Qt::Key_PageUp,
         i18nc("@info:tooltip %1 is a key", "Show the codes on the previous page (%1)", QKeySequence(Qt::Key_PageUp).toString(QKeySequence::NativeText)),
         &Widget::previousPageRequested},
        {m_nextPageAction,
         m_ui.nextPageButton,
         Qt::Key_PageDown,
         i18nc("@info:tooltip %1 is a key", "Show the codes on the next page (%1)", QKeySequence(Qt::Key_PageDown).toString(QKeySequence::NativeText)),
         &Widget::nextPageRequested},
    };
    for (const auto &page : pageActions) {
        page.action->setToolTip(page.toolTip);
        page.action->setShortcut(page.key);
        page.action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        page.action->setEnabled(false);
        addAction(page.action);
        page.button->setDefaultAction(page.action);
        connect(page.action, &QAction::triggered, this, page.requested);
    }
    setCodeChoices({}, -1);
    setPages(0, 0);
    // Connected only now: the image view becoming current as the first entry is no change of view.
    connect(m_ui.widgetStackLayout, &QStackedLayout::currentChanged, this, &Widget::handleCurrentViewChanged);
}

Widget::~Widget()
{
    QAccessible::removeActivationObserver(this);
}

void Widget::setImage(const QImage &image, const QString &imageName)
{
    m_imageView->setImage(image, imageName);
    m_ui.widgetStackLayout->setCurrentWidget(m_imageView);
}

void Widget::clearImage()
{
    m_imageView->setImage(QImage(), QString());
}

void Widget::setViewsEnabled(bool enabled)
{
    m_imageView->setEnabled(enabled);
    if (m_imageSelectWidget) {
        m_imageSelectWidget->setEnabled(enabled);
    }
}

void Widget::showImageSelectWidget(ImageSelector *imageSelector)
{
    if (!m_imageSelectWidget) {
        m_imageSelectWidget = new ImageSelectWidget(imageSelector, this);
        m_ui.widgetStackLayout->addWidget(m_imageSelectWidget);
    }
    m_ui.widgetStackLayout->setCurrentWidget(m_imageSelectWidget);
}

void Widget::switchToPickView()
{
    if (!m_imageSelectWidget) {
        qCWarning(BREVLINDER_IMAGESOURCE, "Tried switching to not existing m_imageSelectWidget.");
        return;
    }
    m_ui.widgetStackLayout->setCurrentWidget(m_imageSelectWidget);
}

bool Widget::isInPickView() const
{
    // The stack always has a current widget, so without a pick view this is false.
    return m_ui.widgetStackLayout->currentWidget() == m_imageSelectWidget;
}

void Widget::setImageViewDropSelector(ImageSelector *imageSelector)
{
    m_imageView->setDropSelector(imageSelector);
}

void Widget::setOutlines(const QList<CodeOutline> &outlines, int currentCode)
{
    m_imageView->setOutlines(outlines, currentCode);
}

void Widget::setCodeChoices(const QStringList &entries, int current)
{
    const QSignalBlocker blocker(m_ui.codeChooser);
    QStringList shownEntries;
    for (int i = 0; i < m_ui.codeChooser->count(); ++i) {
        shownEntries.append(m_ui.codeChooser->itemText(i));
    }
    // The same entries stay, so that a screen reader is not told of a new list whenever the current code changes.
    if (shownEntries != entries) {
        m_ui.codeChooser->clear();
        m_ui.codeChooser->addItems(entries);
    }
    m_ui.codeChooser->setCurrentIndex(current);
    const bool shown = entries.size() >= 2;
    m_ui.codeLabel->setVisible(shown);
    m_ui.codeChooser->setVisible(shown);
    updateCodeNavigationVisibility();
}

QString Widget::codeChoiceText(int number, int count, const QString &symbologyName, const QString &text, int page)
{
    // Enough of the text to tell codes apart, on the one line of an entry.
    constexpr qsizetype shownLength = 30;
    QString shortText = text.simplified();
    if (shortText.size() > shownLength) {
        qsizetype cut = shownLength - 1;
        if (shortText.at(cut - 1).isHighSurrogate()) {
            --cut;
        }
        shortText = shortText.left(cut) + u'…';
    }
    QString entry = i18nc("@item:inlistbox a code's number among all codes, and its symbology", "%1 of %2 · %3", number, count, symbologyName);
    if (!shortText.isEmpty()) {
        entry = i18nc("@item:inlistbox a code's number and symbology, then the start of its text", "%1 · %2", entry, shortText);
    }
    if (page >= 0) {
        entry = i18nc("@item:inlistbox the page of the document that shows a code, before the rest of its entry", "page %1 · %2", page + 1, entry);
    }
    return entry;
}

void Widget::setPages(int currentPage, int pageCount)
{
    const bool shown = pageCount >= 2;
    if (shown && m_previousPageAction->icon().isNull()) {
        // Looked up only for a document of pages: an icon lookup holds up the start.
        m_previousPageAction->setIcon(QIcon::fromTheme(QStringLiteral("go-previous"), style()->standardIcon(QStyle::SP_ArrowBack)));
        m_nextPageAction->setIcon(QIcon::fromTheme(QStringLiteral("go-next"), style()->standardIcon(QStyle::SP_ArrowForward)));
    }
    m_ui.pageLabel->setText(shown ? i18nc("@label", "Page %1 of %2", currentPage + 1, pageCount) : QString());
    m_previousPageAction->setEnabled(shown && currentPage > 0);
    m_nextPageAction->setEnabled(shown && currentPage < pageCount - 1);
    m_ui.previousPageButton->setVisible(shown);
    m_ui.pageLabel->setVisible(shown);
    m_ui.nextPageButton->setVisible(shown);
    updateCodeNavigationVisibility();
}

void Widget::updateCodeNavigationVisibility()
{
    m_ui.codeNavigation->setVisible(!m_ui.codeChooser->isHidden() || !m_ui.pageLabel->isHidden());
}

void Widget::showSuccessMessage(const QString &message)
{
    showMessage(KMessageWidget::Positive, message);
}

void Widget::showErrorMessage(const QString &message)
{
    showMessage(KMessageWidget::Error, message);
}

void Widget::showInformationMessage(const QString &message)
{
    showMessage(KMessageWidget::Information, message);
}

void Widget::showWarningMessage(const QString &message)
{
    showMessage(KMessageWidget::Warning, message);
}

void Widget::showProgressMessage(const QString &message)
{
    showMessage(KMessageWidget::Information, message, Announce::No);
}

void Widget::showLoadingMessage(const QString &message)
{
    const Message before = m_messageBeforeLoading.value_or(
        Message{m_ui.messageWidget->messageType(), m_ui.messageWidget->text(), m_ui.messageWidget->isVisibleTo(this)});
    showMessage(KMessageWidget::Information, message);
    m_ui.messageWidget->addAction(cancelAction());
    m_messageBeforeLoading = before;
}

QAction *Widget::cancelAction()
{
    // Made on first use: looking up its icon would hold up the start, while the start image is being read.
    if (!m_cancelAction) {
        m_cancelAction = new QAction(QIcon::fromTheme(QStringLiteral("dialog-cancel")), i18nc("@action:button stop loading the image", "Cancel"), this);
        m_cancelAction->setToolTip(i18nc("@info:tooltip", "Stop loading this image and go back to what was shown before"));
        connect(m_cancelAction, &QAction::triggered, this, &Widget::cancelRequested);
    }
    return m_cancelAction;
}

void Widget::restoreMessageBeforeLoading()
{
    const std::optional<Message> before = std::exchange(m_messageBeforeLoading, std::nullopt);
    m_ui.messageWidget->removeAction(m_cancelAction);
    if (!before) {
        return;
    }
    setMessage(before->type, before->text);
    m_ui.messageWidget->setVisible(before->shown);
}

void Widget::showMessage(KMessageWidget::MessageType type, const QString &message, Announce spoken)
{
    // A new message ends whatever loading message was there, and its Cancel with it.
    m_messageBeforeLoading.reset();
    m_ui.messageWidget->removeAction(m_cancelAction);
    setMessage(type, message);
    m_ui.messageWidget->animatedShow();
    if (spoken == Announce::No) {
        return;
    }
    // A screen reader speaks the outcome without the user having to look for it; an error interrupts.
    announce(message, type == KMessageWidget::Error ? QAccessible::AnnouncementPoliteness::Assertive : QAccessible::AnnouncementPoliteness::Polite);
}

void Widget::announce(const QString &message, QAccessible::AnnouncementPoliteness politeness)
{
    if (!QAccessible::isActive()) {
        // The message of the start image can come before the program has reached the screen reader, which would
        // never hear it: it is held until then. Only the latest message counts.
        m_heldAnnouncement = Announcement{message, politeness};
        QAccessible::installActivationObserver(this);
        return;
    }
    QAccessibleAnnouncementEvent announcement(m_ui.messageWidget, message);
    announcement.setPoliteness(politeness);
    QAccessible::updateAccessibility(&announcement);
}

void Widget::accessibilityActiveChanged(bool active)
{
    // Called while the bridge is being set up; it can take events once that is done.
    if (active) {
        QMetaObject::invokeMethod(this, &Widget::announceHeldMessage, Qt::QueuedConnection);
    }
}

void Widget::announceHeldMessage()
{
    QAccessible::removeActivationObserver(this);
    if (const std::optional<Announcement> held = std::exchange(m_heldAnnouncement, std::nullopt)) {
        announce(held->message, held->politeness);
    }
}

void Widget::setMessage(KMessageWidget::MessageType type, const QString &message)
{
    m_ui.messageWidget->setMessageType(type);
    m_ui.messageWidget->setText(message);
}

void Widget::handleCurrentViewChanged()
{
    Q_EMIT isInPickViewChanged(isInPickView());
}

}
}
