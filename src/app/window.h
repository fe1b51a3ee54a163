// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "ui_window.h"

#include <QDialog>
#include <QUrl>

#include <memory>
#include <vector>

namespace Brevlinder
{

class AbstractDisplayTool;
class AbstractExportTool;
class AbstractMenuTool;
class AbstractNavigateSourceTool;
class AbstractSourceTool;
class ScanResult;

/**
 * The program's only window. It creates one tool of each kind, lends the source and display tools' widgets
 * a place in its layout, lets the other tools add their buttons, and passes every scan result on.
 */
class Window : public QDialog
{
    Q_OBJECT

public:
    /**
     * In one-scan mode the window offers no way back to the pick view, no help menu and no Quit shortcut.
     * \p startUrl is loaded first thing, before the rest of the window is built, so that the image is read and
     * scanned meanwhile; an empty URL shows the pick view.
     */
    explicit Window(bool oneScanMode, const QUrl &startUrl = QUrl());
    ~Window() override;

    /// Hands \p url to the source tool; an empty URL shows the pick view.
    void load(const QUrl &url);

private:
    void handleScanFinished(const ScanResult &scanResult);
    void updateWindowTitle(const QString &imageName);

    Ui::Window m_ui;
    std::unique_ptr<AbstractSourceTool> m_sourceTool;
    /// The content card first, above the decoded text.
    std::vector<std::unique_ptr<AbstractDisplayTool>> m_displayTools;
    std::unique_ptr<AbstractNavigateSourceTool> m_navigateSourceTool;
    std::vector<std::unique_ptr<AbstractExportTool>> m_exportTools;
    std::unique_ptr<AbstractMenuTool> m_menuTool;
};

}
