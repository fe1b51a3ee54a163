// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "screenscanner.h"

#include "brevlinder_imagesource_debug.h"
#include "tool.h"

#include <KLocalizedString>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace Brevlinder
{
namespace ImageSource
{

namespace
{
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString screenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// What the portal answers when the user dismissed its dialog.
constexpr uint portalResponseCancelled = 1;

// Long enough for the windows that our window uncovered to paint themselves.
constexpr int repaintDelayMilliseconds = 300;

bool portalOffered()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) {
        return false;
    }
    // Portals are usually started on demand, so an activatable name counts as offered.
    return bus.interface()->isServiceRegistered(portalService).value() || bus.interface()->activatableServiceNames().value().contains(portalService);
}

// The path on which the portal will answer a request made with \p token, known before the call so that the
// answer cannot arrive before anyone listens.
QString requestPathFor(const QString &token)
{
    QString sender = QDBusConnection::sessionBus().baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}
}

ScreenScanner::Method ScreenScanner::availableMethod()
{
    return methodFor(portalOffered(), QGuiApplication::platformName());
}

ScreenScanner::Method ScreenScanner::methodFor(bool portalOffered, const QString &platformName)
{
    if (portalOffered) {
        return Method::Portal;
    }
    if (platformName == QLatin1String("xcb")) {
        return Method::X11Grab;
    }
    return Method::Unavailable;
}

QString ScreenScanner::unavailableReason()
{
    return ki18nc("@info:tooltip", "The screen cannot be read here: the desktop offers no screenshot portal, and the windowing system allows no grab.")
        .toString();
}

ScreenScanner::ScreenScanner(Tool *tool, QWidget *window)
    : QObject(window)
    , m_tool(tool)
    , m_window(window)
{
}

void ScreenScanner::start(Method method)
{
    switch (method) {
    case Method::Portal:
        requestPortalScreenshot();
        return;
    case Method::X11Grab:
        grabScreensAfterRepaint();
        return;
    case Method::Unavailable:
        finish();
        return;
    }
}

void ScreenScanner::requestPortalScreenshot()
{
    const QString token = QStringLiteral("brevlinder%1").arg(QRandomGenerator::global()->generate());
    m_requestPath = requestPathFor(token);
    QDBusConnection::sessionBus()
        .connect(portalService, m_requestPath, requestInterface, QStringLiteral("Response"), this, SLOT(handlePortalResponse(uint, QVariantMap)));

    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, screenshotInterface, QStringLiteral("Screenshot"));
    const QVariantMap options{{QStringLiteral("handle_token"), token}, {QStringLiteral("interactive"), true}, {QStringLiteral("modal"), true}};
    call << QString() << options;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *watcher) {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (reply.isError()) {
            handlePortalCallFailed(reply.error().message());
        }
    });
}

void ScreenScanner::handlePortalResponse(uint response, const QVariantMap &results)
{
    QDBusConnection::sessionBus()
        .disconnect(portalService, m_requestPath, requestInterface, QStringLiteral("Response"), this, SLOT(handlePortalResponse(uint, QVariantMap)));
    const QUrl url(results.value(QStringLiteral("uri")).toString());
    if (response == 0 && !url.isEmpty()) {
        m_tool->load(url, i18nc("@title:window the image is a picture of the screen", "Screen"));
    } else if (response != portalResponseCancelled) {
        m_tool->showErrorMessage(i18n("The desktop could not take a screenshot."));
    }
    // A cancelled dialog leaves everything as it was.
    finish();
}

void ScreenScanner::handlePortalCallFailed(const QString &reason)
{
    m_tool->showErrorMessage(i18n("The desktop could not take a screenshot: %1", reason));
    finish();
}

void ScreenScanner::grabScreensAfterRepaint()
{
    if (m_window) {
        m_window->hide();
    }
    QTimer::singleShot(repaintDelayMilliseconds, this, &ScreenScanner::grabScreens);
}

void ScreenScanner::grabScreens()
{
    const QImage desktop = grabVirtualDesktop();
    if (m_window) {
        m_window->show();
    }
    m_tool->scanImage(desktop, i18nc("@title:window the image is a picture of the screen", "Screen"));
    finish();
}

void ScreenScanner::finish()
{
    Q_EMIT finished();
    deleteLater();
}

QImage grabVirtualDesktop()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.isEmpty()) {
        return QImage();
    }
    QRect desktop;
    for (const QScreen *screen : screens) {
        desktop |= screen->geometry();
    }
    if (screens.size() == 1) {
        return screens.constFirst()->grabWindow(0).toImage();
    }
    QImage joined(desktop.size(), QImage::Format_RGB32);
    joined.fill(Qt::black);
    QPainter painter(&joined);
    for (QScreen *screen : screens) {
        const QPixmap grab = screen->grabWindow(0);
        // A screen with a scale factor grabs more pixels than its logical size: fit them into its place.
        painter.drawPixmap(QRect(screen->geometry().topLeft() - desktop.topLeft(), screen->geometry().size()), grab);
    }
    return joined;
}

}
}
