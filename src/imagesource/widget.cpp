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

#include <QImage>
#include <QStackedLayout>
#include <QString>

#include <utility>

namespace Brevlinder
{
namespace ImageSource
{

Widget::Widget(QWidget *parent)
    : QWidget(parent)
    , m_imageView(new ImageView(this))
{
    m_ui.setupUi(this);
    m_imageView->setAccessibleName(i18nc("@label", "Image"));
    m_ui.widgetStackLayout->addWidget(m_imageView);
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

void Widget::showMessage(KMessageWidget::MessageType type, const QString &message)
{
    // A new message ends whatever loading message was there, and its Cancel with it.
    m_messageBeforeLoading.reset();
    m_ui.messageWidget->removeAction(m_cancelAction);
    setMessage(type, message);
    m_ui.messageWidget->animatedShow();
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
