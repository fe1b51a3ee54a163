// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <ZXing/BarcodeFormat.h>

#include <QImage>
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

}
