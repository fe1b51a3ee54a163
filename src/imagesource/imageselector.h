// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

class QMimeData;
class QWidget;

namespace Brevlinder
{
namespace ImageSource
{

class ScreenScanner;
class Tool;

/**
 * Turns what the user hands the pick view into work for the source tool: image data is scanned at once, a
 * single URL is loaded, and a file chosen in the "Open Image" dialog is loaded as well.
 */
class ImageSelector
{
public:
    /// How the data reached the program, which names image data that has no file name.
    enum class Via {
        Clipboard,
        Drop,
    };

    explicit ImageSelector(Tool *tool);

    /// Whether load() would take \p mimeData: an image, or exactly one URL. No data at all is unusable.
    bool canLoad(const QMimeData *mimeData) const;
    /// Hands the image or the one URL in \p mimeData to the tool; returns whether it handed anything on.
    bool load(const QMimeData *mimeData, Via via) const;
    /// Asks for a file in the "Open Image" dialog and loads it; cancelling does nothing.
    void selectFile() const;
    /// A reader of the screen for the tool, child of \p window, which steps aside while the screen is grabbed.
    ScreenScanner *createScreenScanner(QWidget *window) const;

private:
    Tool *const m_tool;
};

}
}
