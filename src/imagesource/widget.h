// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "codeoutline.h"
#include "ui_widget.h"

#include <QAccessible>
#include <QWidget>

#include <optional>

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
 * The image source's face: a stack of the image view and the pick view, one of them shown, above a row that
 * picks among the codes found and the pages of a document, and a message line for the outcome of loads and
 * scans. It reports each change between the two views and each choice of the user, and decides nothing about
 * loading or scanning itself.
 */
class Widget : public QWidget, private QAccessible::ActivationObserver
{
    Q_OBJECT

public:
    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

    /// Shows \p image, named \p imageName for screen readers, in the image view and makes the image view current.
    void setImage(const QImage &image, const QString &imageName = QString());
    /// Empties the image view, without changing which view is current.
    void clearImage();
    /// Enables or disables the image view and the pick view; the message line stays usable.
    void setViewsEnabled(bool enabled);
    /// Makes the pick view for \p imageSelector current, creating it on the first call.
    void showImageSelectWidget(ImageSelector *imageSelector);
    /// Makes the existing pick view current; only valid after showImageSelectWidget.
    void switchToPickView();
    bool isInPickView() const;
    /// Lets drops of an image or one URL on the image view go to \p imageSelector; null refuses them.
    void setImageViewDropSelector(ImageSelector *imageSelector);

    /// Outlines the codes in the image view, \p currentCode emphasised; see ImageView::setOutlines.
    void setOutlines(const QList<CodeOutline> &outlines, int currentCode);
    /// Fills the code chooser with one entry a code (see codeChoiceText) and selects \p current; hidden with fewer
    /// than two entries. Emits no codeChosen.
    void setCodeChoices(const QStringList &entries, int current);
    /**
     * A code chooser's entry: "2 of 3 · QR Code · https://example.org/…" for the code numbered \p number of
     * \p count, and "page 2 · 1 of 2 · Aztec · …" with \p page, counted from 0 as ScanResult::Code::page does;
     * -1 leaves the page out. The text is cut short, on one line.
     */
    static QString codeChoiceText(int number, int count, const QString &symbologyName, const QString &text, int page = -1);
    /// Shows "Page 2 of 4" for \p currentPage (from 0) between the page buttons; hidden when \p pageCount < 2.
    void setPages(int currentPage, int pageCount);

    void showSuccessMessage(const QString &message);
    void showErrorMessage(const QString &message);
    void showInformationMessage(const QString &message);
    void showWarningMessage(const QString &message);
    /// Shows how far a long piece of work has got, without announcing it: a screen reader would hear every step.
    void showProgressMessage(const QString &message);
    /// Shows what is being loaded, with a "Cancel" button that emits cancelRequested.
    void showLoadingMessage(const QString &message);
    /// Brings back the message that the loading message replaced (or none), without announcing it again.
    void restoreMessageBeforeLoading();

Q_SIGNALS:
    void isInPickViewChanged(bool isInPickView);
    /// The user pressed "Cancel" beside the loading message.
    void cancelRequested();
    /// The user clicked the outline of \p code, another than the current one, in the image view.
    void codeClicked(int code);
    /// The user picked the entry \p index in the code chooser.
    void codeChosen(int index);
    /// The user asked for the previous page: its button, or Page Up.
    void previousPageRequested();
    /// The user asked for the next page: its button, or Page Down.
    void nextPageRequested();

private Q_SLOTS:
    void handleCurrentViewChanged();

private:
    enum class Announce {
        Yes,
        No,
    };
    void showMessage(KMessageWidget::MessageType type, const QString &message, Announce spoken = Announce::Yes);
    void setMessage(KMessageWidget::MessageType type, const QString &message);
    QAction *cancelAction();
    void updateCodeNavigationVisibility();
    void announce(const QString &message, QAccessible::AnnouncementPoliteness politeness);
    void accessibilityActiveChanged(bool active) override;
    void announceHeldMessage();

    // What the message line said before a loading message replaced it.
    struct Message {
        KMessageWidget::MessageType type = KMessageWidget::Information;
        QString text;
        bool shown = false;
    };

    struct Announcement {
        QString message;
        QAccessible::AnnouncementPoliteness politeness;
    };

    Ui::Widget m_ui;
    QAction *m_cancelAction = nullptr;
    QAction *m_previousPageAction;
    QAction *m_nextPageAction;
    std::optional<Message> m_messageBeforeLoading;
    // A message that came before the screen reader could hear it.
    std::optional<Announcement> m_heldAnnouncement;
    ImageView *m_imageView;
    // The pick view, null until showImageSelectWidget creates it; a child of this widget from then on.
    ImageSelectWidget *m_imageSelectWidget = nullptr;
};

}
}
