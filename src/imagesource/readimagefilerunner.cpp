// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "readimagefilerunner.h"

#include <QFile>
#include <QImageReader>

#include <cstdio>

namespace Brevlinder::ImageSource
{

ReadImageFileRunner::ReadImageFileRunner(const QString &fileName)
    : m_fileName(fileName)
{
}

void ReadImageFileRunner::run()
{
    Q_EMIT readFinished(read());
}

ImageReadResult ReadImageFileRunner::read() const
{
    QFile file;
    if (!open(file)) {
        return {};
    }
    QImageReader reader(&file);
    // Photos from cameras and phones store their orientation in a tag; apply it so the image is upright.
    reader.setAutoTransform(true);
    // Qt's allocation limit stays in force: an image too large for it is refused here, not allocated.
    return ImageReadResult(reader.read());
}

bool ReadImageFileRunner::open(QFile &file) const
{
    if (m_fileName.isEmpty()) {
        // Standard input belongs to the process: read it without closing it afterwards. Unbuffered, so that
        // nothing is read ahead beyond what the image decoder asks for.
        return file.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle);
    }
    file.setFileName(m_fileName);
    return file.open(QIODevice::ReadOnly);
}

}

#include "moc_readimagefilerunner.cpp"
