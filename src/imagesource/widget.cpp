// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "widget.h"

#include "brevlinder_imagesource_debug.h"
#include "imageselectwidget.h"
#include "imageview.h"

#include <KLocalizedString>
#include <KMessageWidget>

#include <QAccessible>

#include <QImage>
#include <QStackedLayout>
#include <QString>

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

void Widget::setImage(const QImage &image)
{
    m_imageView->setImage(image);
    m_ui.widgetStackLayout->setCurrentWidget(m_imageView);
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

void Widget::showMessage(KMessageWidget::MessageType type, const QString &message)
{
    m_ui.messageWidget->setMessageType(type);
    m_ui.messageWidget->setText(message);
    m_ui.messageWidget->animatedShow();
    // A screen reader speaks the outcome without the user having to look for it; an error interrupts.
    QAccessibleAnnouncementEvent announcement(m_ui.messageWidget, message);
    announcement.setPoliteness(type == KMessageWidget::Error ? QAccessible::AnnouncementPoliteness::Assertive : QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&announcement);
}

void Widget::handleCurrentViewChanged()
{
    Q_EMIT isInPickViewChanged(isInPickView());
}

}
}
