// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "imageselector.h"

#include "screenscanner.h"
#include "tool.h"

#include <KLocalizedString>

#include <QFileDialog>
#include <QImage>
#include <QMimeData>
#include <QUrl>

namespace Brevlinder
{
namespace ImageSource
{

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

bool ImageSelector::load(const QMimeData *mimeData) const
{
    if (!mimeData) {
        return false;
    }
    // Image data wins over URLs that come along with it.
    if (mimeData->hasImage()) {
        m_tool->scanImage(qvariant_cast<QImage>(mimeData->imageData()));
        return true;
    }
    if (!mimeData->hasUrls()) {
        return false;
    }
    const QList<QUrl> urls = mimeData->urls();
    if (urls.size() != 1) {
        return false;
    }
    static_cast<AbstractSourceTool *>(m_tool)->load(urls.constFirst());
    return true;
}

void ImageSelector::selectFile() const
{
    const QString caption = ki18nc("@title:window", "Open Image").toString();
    const QUrl url = QFileDialog::getOpenFileUrl(nullptr, caption, QUrl(), QString(), nullptr, QFileDialog::Options(), QStringList());
    if (url.isEmpty()) {
        return;
    }
    static_cast<AbstractSourceTool *>(m_tool)->load(url);
}

ScreenScanner *ImageSelector::createScreenScanner(QWidget *window) const
{
    return new ScreenScanner(m_tool, window);
}

}
}
