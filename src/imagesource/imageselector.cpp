// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "imageselector.h"

#include "screenscanner.h"
#include "tool.h"

#include <KLocalizedString>

#include <QFileDialog>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QMimeDatabase>
#include <QUrl>

namespace Brevlinder
{
namespace ImageSource
{

namespace
{

// The files that the dialog lists at first: every image type that the installed plugins read, and PDF documents.
// Any other file can still be picked, since a file's data, not its name, decides how it is read.
QString openFileFilter()
{
    const QMimeDatabase mimeDatabase;
    QStringList patterns;
    for (const QByteArray &mimeType : QImageReader::supportedMimeTypes()) {
        patterns += mimeDatabase.mimeTypeForName(QString::fromLatin1(mimeType)).globPatterns();
    }
    patterns += mimeDatabase.mimeTypeForName(QStringLiteral("application/pdf")).globPatterns();
    patterns.removeDuplicates();
    return i18nc("@item:inlistbox file types, then their name patterns", "Images and PDF Documents (%1)", patterns.join(QLatin1Char(' '))) + QLatin1String(";;")
        + i18nc("@item:inlistbox file types", "All Files (*)");
}

}

ImageSelector::ImageSelector(Tool *tool)
    : m_tool(tool)
{
}

bool ImageSelector::canLoad(const QMimeData *mimeData) const
{
    if (!mimeData) {
        return false;
    }
    if (mimeData->hasImage()) {
        return true;
    }
    return mimeData->hasUrls() && mimeData->urls().size() == 1;
}

bool ImageSelector::load(const QMimeData *mimeData, Via via) const
{
    if (!mimeData) {
        return false;
    }
    // Image data wins over URLs that come along with it.
    if (mimeData->hasImage()) {
        const QString imageName = via == Via::Clipboard ? i18nc("@title:window an image pasted from the clipboard", "Clipboard")
                                                        : i18nc("@title:window an image dropped on the window", "Dropped Image");
        m_tool->scanImage(qvariant_cast<QImage>(mimeData->imageData()), imageName);
        return true;
    }
    if (!mimeData->hasUrls()) {
        return false;
    }
    const QList<QUrl> urls = mimeData->urls();
    if (urls.size() != 1) {
        return false;
    }
    m_tool->load(urls.constFirst());
    return true;
}

void ImageSelector::selectFile() const
{
    const QString caption = ki18nc("@title:window", "Open Image").toString();
    const QUrl url = QFileDialog::getOpenFileUrl(nullptr, caption, QUrl(), openFileFilter(), nullptr, QFileDialog::Options(), QStringList());
    if (url.isEmpty()) {
        return;
    }
    m_tool->load(url);
}

ScreenScanner *ImageSelector::createScreenScanner(QWidget *window) const
{
    return new ScreenScanner(m_tool, window);
}

}
}
