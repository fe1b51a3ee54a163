// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QString>

namespace Brevlinder
{

/**
 * The name that users know a symbology by ("QR Code", "EAN-13", "Data Matrix"), translated, for the decoder's
 * name of it as ScanResult::Code::symbology holds it ("QRCode", "EAN-13", "DataMatrix"). Case, hyphens and
 * underscores in \p decoderName do not matter; a name this function does not know is returned unchanged.
 */
QString symbologyDisplayName(const QString &decoderName);

}
