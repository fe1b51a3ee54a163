// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

// Writes a GS1-128 barcode of ELEMENTS to OUTPUT.png for contentcardstest.py: the element string without brackets,
// with a group separator (0x1D) after each variable-length element that another follows. qrencode makes the
// test's QR codes, but only zxing-cpp's writer puts the FNC1 marker first that tells a reader the data is GS1.

#include "codeimages.h"

#include <QGuiApplication>

#include <cstdio>

using namespace Brevlinder;

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: gs1barcodefile OUTPUT.png ELEMENTS\n");
        return 2;
    }
    // The Code 128 writer takes "ñ" for FNC1: first in the symbol it marks GS1 data, later it separates elements.
    const QChar fnc1(0x00f1);
    QString text = arguments.at(2);
    text.replace(QChar(0x1d), fnc1);
    const QImage image = Test::codeImage(ZXing::BarcodeFormat::Code128, fnc1 + text, 3);
    if (image.isNull() || !image.save(arguments.at(1))) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    return 0;
}
