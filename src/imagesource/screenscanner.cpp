// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "screenscanner.h"

#include "brevlinder_imagesource_debug.h"
#include "tool.h"

#include <KLocalizedString>

#include <QDBusConnection>
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
// What the window calls a picture of the screen, however it was taken.
QString screenImageName()
{
    return i18nc("@title:window the image is a picture of the screen", "Screen");
}

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString screenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// What the portal answers when the user dismissed its dialog.
constexpr uint portalResponseCancelled = 1;

// Long enough for the windows that our window uncovered to paint themselves.
constexpr int repaintDelayMilliseconds = 300;

/*
 * Asks for the version of the portal's Screenshot interface. The portal's service is often installed (and so
 * activatable) without a backend that takes screenshots; only the interface on its object tells, and an error
 * instead of a version means there is none. The call starts a portal that is not running yet. \p handler gets
 * whether screenshots are offered.
 */
void askPortal(QObject *context, const std::function<void(bool offered)> &handler)
{
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << screenshotInterface << QStringLiteral("version");
    // Without a session bus the call fails at once, and the watcher reports that like any other error.
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [handler](QDBusPendingCallWatcher *watcher) {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *watcher;
        if (reply.isError()) {
            qCDebug(BREVLINDER_IMAGESOURCE) << "No screenshot portal:" << reply.error().name() << reply.error().message();
            handler(false);
            return;
        }
        const uint version = reply.value().variant().toUInt();
        qCDebug(BREVLINDER_IMAGESOURCE) << "Screenshot portal version" << version;
        handler(version > 0);
    });
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

ScreenScanner::Method ScreenScanner::methodWithoutPortal()
{
    return methodFor(false, QGuiApplication::platformName());
}

void ScreenScanner::findMethod(QObject *context, const std::function<void(Method)> &handler)
{
    askPortal(context, [handler](bool offered) {
        handler(methodFor(offered, QGuiApplication::platformName()));
    });
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

void ScreenScanner::start()
{
    askPortal(this, [this](bool offered) {
        startWith(methodFor(offered, QGuiApplication::platformName()));
    });
}

void ScreenScanner::startWith(Method method)
{
    switch (method) {
    case Method::Portal:
        requestPortalScreenshot();
        return;
    case Method::X11Grab:
        grabScreensAfterRepaint();
        return;
    case Method::Unavailable:
        // The button said otherwise when it was enabled: the portal has gone since.
        m_tool->showErrorMessage(unavailableReason());
        finish();
        return;
    }
}

void ScreenScanner::requestPortalScreenshot()
{
    const QString token = QStringLiteral("brevlinder%1").arg(QRandomGenerator::global()->generate());
    m_requestPath = requestPathFor(token);
    // Listening to any sender, as Qt's own portal clients do: naming the portal would make Qt look up the owner
    // of its name with a blocking call, and the path is ours alone anyway.
    QDBusConnection::sessionBus()
        .connect(QString(), m_requestPath, requestInterface, QStringLiteral("Response"), this, SLOT(handlePortalResponse(uint, QVariantMap)));

    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, screenshotInterface, QStringLiteral("Screenshot"));
    const QVariantMap options{{QStringLiteral("handle_token"), token}, {QStringLiteral("interactive"), true}, {QStringLiteral("modal"), true}};
    call << QString() << options;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *watcher) {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (reply.isError()) {
            stopListeningForResponse();
            qCInfo(BREVLINDER_IMAGESOURCE) << "The screenshot portal refused the request:" << reply.error().name() << reply.error().message();
            handlePortalFailure(reply.error().message());
        }
    });
}

void ScreenScanner::stopListeningForResponse()
{
    QDBusConnection::sessionBus()
        .disconnect(QString(), m_requestPath, requestInterface, QStringLiteral("Response"), this, SLOT(handlePortalResponse(uint, QVariantMap)));
}

void ScreenScanner::handlePortalResponse(uint response, const QVariantMap &results)
{
    stopListeningForResponse();
    const QUrl url(results.value(QStringLiteral("uri")).toString());
    if (response == 0 && !url.isEmpty()) {
        m_tool->load(url, screenImageName());
        finish();
    } else if (response == portalResponseCancelled) {
        // A cancelled dialog leaves everything as it was.
        finish();
    } else {
        qCInfo(BREVLINDER_IMAGESOURCE) << "The screenshot portal answered" << response << "without a picture";
        handlePortalFailure(QString());
    }
}

void ScreenScanner::handlePortalFailure(const QString &reason)
{
    // A portal without a working backend is common on X11 desktops, where the screen can still be grabbed.
    if (methodWithoutPortal() == Method::X11Grab) {
        qCInfo(BREVLINDER_IMAGESOURCE) << "Grabbing the screen, as the screenshot portal could not take a screenshot";
        grabScreensAfterRepaint();
        return;
    }
    m_tool->showErrorMessage(reason.isEmpty() ? i18n("The desktop could not take a screenshot.") : i18n("The desktop could not take a screenshot: %1", reason));
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
    m_tool->scanImage(desktop, screenImageName());
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
