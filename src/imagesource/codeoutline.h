// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QList>
#include <QPolygon>

namespace Brevlinder
{
namespace ImageSource
{

/// Where one code lies in a shown image, to be outlined and clicked.
struct CodeOutline {
    /// The number by which the view reports a click on this outline.
    int code = -1;
    /// Its corners in the pixels of the image given to the view, in order around the code. Two points, or corners
    /// on one line, make a thin outline along them.
    QPolygon corners;
};

}
}
