// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QDBusMessage;
class QImage;
class QWidget;

namespace Brevlinder
{
namespace ImageSource
{

class Tool;

/**
 * Reads a code that is shown on the screen. Where the desktop offers its screenshot portal, the portal asks the
 * user for consent and a region and hands back a file, which is loaded like any other; elsewhere on X11 the
 * program's window steps aside, every screen is grabbed and the picture is scanned. One object serves one press
 * and deletes itself when it is done.
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

    /// The way the screen can be read here, asking the session bus whether a screenshot portal is offered.
    static Method availableMethod();
    /// The way for a platform plugin called \p platformName, with or without a screenshot portal.
    static Method methodFor(bool portalOffered, const QString &platformName);
    /// Why the screen cannot be read, for the button's tooltip.
    static QString unavailableReason();

    /// Prepares to read the screen for \p tool; \p window is the program's window, which steps aside for a grab.
    ScreenScanner(Tool *tool, QWidget *window);

    /// Starts the one read this object serves.
    void start(Method method);

Q_SIGNALS:
    /// The read has ended: scanned, loading, cancelled or failed. The object deletes itself after this.
    void finished();

private Q_SLOTS:
    void handlePortalResponse(uint response, const QVariantMap &results);

private:
    void requestPortalScreenshot();
    void handlePortalCallFailed(const QString &reason);
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
