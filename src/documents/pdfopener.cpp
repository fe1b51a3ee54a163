// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "pdfopener.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPluginLoader>

#include <mutex>

namespace Brevlinder::Documents
{

namespace
{

struct LoadedOpener {
    const PdfOpener *opener = nullptr;
    QString error;
};

// The installed plugin where the program's own installation put it; else wherever Qt looks for plugins, which in
// the build tree is beside the program.
QString pluginFileName()
{
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/" BREVLINDER_PLUGIN_DIR_FROM_PROGRAM "/pdfdocument.so");
    return QFileInfo::exists(installed) ? installed : QStringLiteral("brevlinder_documents/pdfdocument");
}

LoadedOpener loadOpener()
{
    QPluginLoader loader(pluginFileName());
    QObject *instance = loader.instance();
    if (!instance) {
        return {nullptr, loader.errorString()};
    }
    // Made on the pool thread that asked first, which may end; the opener takes no events anyway.
    if (QCoreApplication *application = QCoreApplication::instance()) {
        instance->moveToThread(application->thread());
    }
    const auto *opener = qobject_cast<PdfOpener *>(instance);
    return {opener, opener ? QString() : QStringLiteral("%1 is not a PDF opener").arg(loader.fileName())};
}

}

PdfOpener::~PdfOpener() = default;

PdfOpener::Opened PdfOpener::openWithPlugin(const QByteArray &data)
{
    static LoadedOpener loaded;
    static std::once_flag once;
    std::call_once(once, [] {
        loaded = loadOpener();
    });
    if (!loaded.opener) {
        return {nullptr, ki18n("PDF documents cannot be read here: %1").subs(loaded.error)};
    }
    return loaded.opener->open(data);
}

}
