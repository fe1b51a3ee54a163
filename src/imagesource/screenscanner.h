// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QImage;
class QWidget;

namespace Brevlinder
{
namespace ImageSource
{

class Tool;

/**
 * Reads a code that is shown on the screen. Where the desktop's screenshot portal can take a screenshot, the
 * portal asks the user for consent and a region and hands back a file, which is loaded like any other; on X11,
 * where there is no such portal or it fails, the program's window steps aside, every screen is grabbed and the
 * picture is scanned. One object serves one press and deletes itself when it is done.
 */
class ScreenScanner : public QObject
{
    Q_OBJECT

public:
    enum class Method {
        Portal,
        X11Grab,
        Unavailable,
    };

    /// The way for a platform plugin called \p platformName, with or without a screenshot portal.
    static Method methodFor(bool portalOffered, const QString &platformName);
    /// The way the screen can be read on this platform without asking anyone: known at once, never the portal.
    static Method methodWithoutPortal();
    /**
     * Asks the session bus, without waiting for the answer, whether the desktop's portal offers screenshots,
     * which starts a portal that is installed but not yet running. \p handler gets the way the screen can be
     * read here, in \p context's thread; it is not called once \p context is gone.
     */
    static void findMethod(QObject *context, const std::function<void(Method)> &handler);
    /// Why the screen cannot be read, for the button's tooltip.
    static QString unavailableReason();

    /// Prepares to read the screen for \p tool; \p window is the program's window, which steps aside for a grab.
    ScreenScanner(Tool *tool, QWidget *window);

    /// Starts the one read this object serves: asks for the portal, then reads the screen the way it allows.
    void start();

Q_SIGNALS:
    /// The read has ended: scanned, loading, cancelled or failed. The object deletes itself after this.
    void finished();

private Q_SLOTS:
    void handlePortalResponse(uint response, const QVariantMap &results);

private:
    void startWith(Method method);
    void requestPortalScreenshot();
    void stopListeningForResponse();
    void handlePortalFailure(const QString &reason);
    void grabScreensAfterRepaint();
    void grabScreens();
    void finish();

    Tool *const m_tool;
    QPointer<QWidget> m_window;
    QString m_requestPath;
};

/// Every screen, joined as the virtual desktop lays them out; areas that no screen covers stay black.
QImage grabVirtualDesktop();

}
}
