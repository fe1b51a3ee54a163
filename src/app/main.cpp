// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "brevlinder_version.h"
#include "startupurl.h"
#include "window.h"

#include <KAboutData>
#include <KCrash>
#include <KLocalizedString>

#include <QApplication>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QUrl>

#include <unistd.h>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    KLocalizedString::setApplicationDomain(QByteArrayLiteral("brevlinder"));

    KAboutData aboutData(QStringLiteral("brevlinder"),
                         i18n("Brevlinder"),
                         QStringLiteral(BREVLINDER_VERSION_STRING),
                         i18n("Utility to scan data from codes in graphical sources."),
                         KAboutLicense::GPL_V2,
                         i18n("Copyright 2026, the Brevlinder developers"),
                         QString(),
                         QStringLiteral("https://brevlinder.example.org/"),
                         QStringLiteral("bugs@brevlinder.example.org"));
    aboutData.addAuthor(i18n("The Brevlinder developers"), i18n("Author"), QStringLiteral("developers@brevlinder.example.org"), QString(), QString());
    aboutData.setDesktopFileName(QStringLiteral("org.example.brevlinder"));
    KAboutData::setApplicationData(aboutData);
    // Outside a desktop that names its icon theme (a bare X session, another desktop) the buttons keep icons.
    QIcon::setFallbackThemeName(QStringLiteral("breeze"));
    // The installed theme icon wins; the built-in copy serves a program run from its build tree.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("brevlinder"), QIcon(QStringLiteral(":/icons/brevlinder.svg"))));
    KCrash::initialize();

    QCommandLineParser parser;
    aboutData.setupCommandLine(&parser);
    parser.addPositionalArgument(QStringLiteral("URL"), i18n("Image file to open."), QStringLiteral("[URL]"));
    QCommandLineOption oneScanOption(QStringLiteral("onescan"), i18n("Enable only one scan."));
    parser.addOption(oneScanOption);
    parser.process(application);
    aboutData.processCommandLine(&parser);

    const QUrl url = Brevlinder::startUrl(parser.positionalArguments(), Brevlinder::mayCarryImage(STDIN_FILENO), QDir::currentPath());
    const bool oneScanMode = parser.isSet(oneScanOption);

    auto *window = new Brevlinder::Window(oneScanMode, url);
    window->show();

    return application.exec();
}
