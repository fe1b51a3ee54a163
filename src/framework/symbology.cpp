// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "symbology.h"

#include <KLocalizedString>

#include <QLatin1StringView>

namespace Brevlinder
{

using namespace Qt::StringLiterals;

QString symbologyDisplayName(const QString &decoderName)
{
    // The decoder writes "EAN-13" where its enumerator says "EAN13": both are known.
    QString key = decoderName.toLower();
    key.remove(u'-');
    key.remove(u'_');
    if (key == "qrcode"_L1) {
        return i18nc("@item a barcode symbology", "QR Code");
    }
    if (key == "microqrcode"_L1) {
        return i18nc("@item a barcode symbology", "Micro QR Code");
    }
    if (key == "rmqrcode"_L1) {
        return i18nc("@item a barcode symbology", "rMQR Code");
    }
    if (key == "aztec"_L1) {
        return i18nc("@item a barcode symbology", "Aztec");
    }
    if (key == "datamatrix"_L1) {
        return i18nc("@item a barcode symbology", "Data Matrix");
    }
    if (key == "pdf417"_L1) {
        return i18nc("@item a barcode symbology", "PDF417");
    }
    if (key == "maxicode"_L1) {
        return i18nc("@item a barcode symbology", "MaxiCode");
    }
    if (key == "ean13"_L1) {
        return i18nc("@item a barcode symbology", "EAN-13");
    }
    if (key == "ean8"_L1) {
        return i18nc("@item a barcode symbology", "EAN-8");
    }
    if (key == "upca"_L1) {
        return i18nc("@item a barcode symbology", "UPC-A");
    }
    if (key == "upce"_L1) {
        return i18nc("@item a barcode symbology", "UPC-E");
    }
    if (key == "code128"_L1) {
        return i18nc("@item a barcode symbology", "Code 128");
    }
    if (key == "code39"_L1) {
        return i18nc("@item a barcode symbology", "Code 39");
    }
    if (key == "code93"_L1) {
        return i18nc("@item a barcode symbology", "Code 93");
    }
    if (key == "codabar"_L1) {
        return i18nc("@item a barcode symbology", "Codabar");
    }
    if (key == "itf"_L1) {
        return i18nc("@item a barcode symbology, Interleaved 2 of 5", "ITF");
    }
    if (key == "databar"_L1) {
        return i18nc("@item a barcode symbology", "DataBar");
    }
    if (key == "databarexpanded"_L1) {
        return i18nc("@item a barcode symbology", "DataBar Expanded");
    }
    if (key == "databarlimited"_L1) {
        return i18nc("@item a barcode symbology", "DataBar Limited");
    }
    if (key == "dxfilmedge"_L1) {
        return i18nc("@item a barcode symbology, the code on the edge of a photographic film", "DX Film Edge");
    }
    return decoderName;
}

}
