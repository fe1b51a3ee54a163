// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <ZXing/BarcodeFormat.h>

#include <QImage>
#include <QList>
#include <QMetaType>
#include <QPoint>
#include <QRect>
#include <QString>

namespace Brevlinder::Test
{

/**
 * A black-on-white Format_Grayscale8 image of @p text encoded as @p format by zxing-cpp's writer, each module
 * @p moduleSize pixels wide, with a quiet zone around it. Linear codes are drawn 80 pixels high.
 */
QImage codeImage(ZXing::BarcodeFormat format, const QString &text, int moduleSize = 4);

/// A quick name of @p format for test rows and messages.
QString formatName(ZXing::BarcodeFormat format);

/// A code to draw onto a sheet: its symbology, what it says, and where the top left of its picture goes.
struct PlacedCode {
    ZXing::BarcodeFormat format;
    QString text;
    QPoint place;
};

/// A white sheet with codes drawn on it, and where each code's symbol (without its quiet zone) lies.
struct CodeSheet {
    QImage image;
    QList<QRect> symbols;
};

/**
 * The QR codes that qrencode's structured mode splits @p text into (version 4, module size 4), in sequence
 * order; none if qrencode failed. Its files go to @p directory.
 */
QList<QImage> structuredAppendParts(const QString &text, const QString &directory);

/// @p images side by side on a white Format_RGB32 sheet, in the order given.
QImage sideBySide(const QList<QImage> &images);

/// Adds sensor-like noise, up to 12 levels up or down a pixel, to a Format_RGB32 @p image, the same for the same @p seed.
void addSensorNoise(QImage &image, quint32 seed);

/// Draws @p codes, each with codeImage's module size 4, onto a Format_RGB32 sheet of @p size.
CodeSheet codeSheet(const QList<PlacedCode> &codes, QSize size = QSize(1200, 800));

}

Q_DECLARE_METATYPE(QList<Brevlinder::Test::PlacedCode>)
