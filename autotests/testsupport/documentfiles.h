// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "codeimages.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace Brevlinder::Test
{

/**
 * A PDF file of one page per entry of @p pageTexts, of @p pageSize: each page shows a QR code of its text near its
 * top left corner, or nothing for an empty text. Drawn at 300 dpi, each module @p moduleSize dots wide, as one bit a
 * pixel so that no lossy compression blurs it.
 */
inline QByteArray pdfOfCodes(const QStringList &pageTexts, const QPageSize &pageSize = QPageSize(QPageSize::A4), int moduleSize = 4)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(pageSize);
    writer.setPageMargins(QMarginsF());
    writer.setResolution(300);
    QPainter painter(&writer);
    for (qsizetype index = 0; index < pageTexts.size(); ++index) {
        if (index > 0) {
            writer.newPage();
        }
        if (!pageTexts.at(index).isEmpty()) {
            const QImage code = codeImage(ZXing::BarcodeFormat::QRCode, pageTexts.at(index), moduleSize).convertToFormat(QImage::Format_Mono);
            painter.drawImage(QPoint(150, 150), code);
        }
    }
    painter.end();
    return data;
}

/// Runs the command-line @p tool with @p arguments to its successful end; false, with its output, otherwise.
inline bool runTool(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        qWarning() << tool << "is not installed";
        return false;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(60000);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning().noquote() << tool << "failed:" << process.readAll();
        return false;
    }
    return true;
}

/**
 * An image file @p fileName (its suffix names its format, such as .tif or .gif) of one image a QR code of each of
 * @p texts, put together by ImageMagick from PNG files of the codes written beside it.
 */
inline bool imagesOfCodes(const QString &fileName, const QStringList &texts)
{
    QList<QImage> codes;
    QSize size;
    for (const QString &text : texts) {
        codes.append(codeImage(ZXing::BarcodeFormat::QRCode, text, 4));
        size = size.expandedTo(codes.constLast().size());
    }
    QStringList arguments;
    for (qsizetype index = 0; index < codes.size(); ++index) {
        // Every image the same size on white, so that the frames of an animation cover each other whole.
        QImage image(size, QImage::Format_Grayscale8);
        image.fill(Qt::white);
        QPainter(&image).drawImage(0, 0, codes.at(index));
        const QString png = fileName + QStringLiteral(".%1.png").arg(index);
        if (!image.save(png)) {
            return false;
        }
        arguments << png;
    }
    return runTool(QStringLiteral("convert"), arguments << fileName);
}

/// Writes to @p locked a copy of the PDF file @p plain that opens only with the password "user", made by qpdf.
inline bool passwordProtectedCopy(const QString &plain, const QString &locked)
{
    return runTool(QStringLiteral("qpdf"),
                   {QStringLiteral("--encrypt"), QStringLiteral("user"), QStringLiteral("owner"), QStringLiteral("256"), QStringLiteral("--"), plain, locked});
}

inline QByteArray fileContents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}
