// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

// Prints, one a line, the MIME types of every image format that the installed Qt image plugins read.

#include <QGuiApplication>
#include <QImageReader>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    for (const QByteArray &mimeType : QImageReader::supportedMimeTypes()) {
        std::printf("%s\n", mimeType.constData());
    }
    return 0;
}
