// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "ui_widget.h"

#include <QWidget>

class QImage;
class QString;

namespace Brevlinder
{
namespace ImageSource
{

class ImageSelectWidget;
class ImageSelector;
class ImageView;

/**
 * The image source's face: a stack of the image view and the pick view, one of them shown, above a message
 * line for the outcome of loads and scans. It reports each change between the two views and decides nothing
 * about loading or scanning itself.
 */
class Widget : public QWidget
{
    Q_OBJECT

public:
    explicit Widget(QWidget *parent = nullptr);

    /// Shows \p image in the image view and makes the image view current.
    void setImage(const QImage &image);
    /// Makes the pick view for \p imageSelector current, creating it on the first call.
    void showImageSelectWidget(ImageSelector *imageSelector);
    /// Makes the existing pick view current; only valid after showImageSelectWidget.
    void switchToPickView();
    bool isInPickView() const;
    /// Lets drops of an image or one URL on the image view go to \p imageSelector; null refuses them.
    void setImageViewDropSelector(ImageSelector *imageSelector);

    void showSuccessMessage(const QString &message);
    void showErrorMessage(const QString &message);
    void showInformationMessage(const QString &message);

Q_SIGNALS:
    void isInPickViewChanged(bool isInPickView);

private Q_SLOTS:
    void handleCurrentViewChanged();

private:
    void showMessage(KMessageWidget::MessageType type, const QString &message);

    Ui::Widget m_ui;
    ImageView *m_imageView;
    // The pick view, null until showImageSelectWidget creates it; a child of this widget from then on.
    ImageSelectWidget *m_imageSelectWidget = nullptr;
};

}
}
