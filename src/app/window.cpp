// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "window.h"

#include "abstractdisplaytool.h"
#include "abstractexporttool.h"
#include "abstractmenutool.h"
#include "abstractnavigatesourcetool.h"
#include "abstractsourcetool.h"
#include "scanresult.h"

#include <QCoreApplication>
#include <QShortcut>

namespace Brevlinder
{

Window::Window(bool oneScanMode)
    : QDialog()
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_ui.setupUi(this);

    if (!oneScanMode) {
        auto *quitShortcut = new QShortcut(QKeySequence::Quit, this, nullptr, nullptr, Qt::WindowShortcut);
        connect(quitShortcut, &QShortcut::activated, QCoreApplication::instance(), &QCoreApplication::quit);
    }
}

Window::~Window()
{
    // The tools own their widgets: take them back from the layouts before the tools delete them.
    if (m_displayTool) {
        m_ui.displayWidgetStackLayout->removeWidget(m_displayTool->widget());
        m_displayTool->widget()->setParent(nullptr);
    }
    if (m_sourceTool) {
        m_ui.sourceWidgetStackLayout->removeWidget(m_sourceTool->widget());
        m_sourceTool->widget()->setParent(nullptr);
    }
    m_menuTool.reset();
    while (!m_exportTools.empty()) {
        m_exportTools.pop_back();
    }
    m_navigateSourceTool.reset();
    m_displayTool.reset();
    m_sourceTool.reset();
}

void Window::load(const QUrl &url)
{
    if (m_sourceTool) {
        m_sourceTool->load(url);
    }
}

void Window::handleScanFinished(const ScanResult &scanResult)
{
    if (m_displayTool) {
        m_displayTool->setScanResult(scanResult);
    }
    for (const auto &exportTool : m_exportTools) {
        exportTool->setScanResult(scanResult);
    }
}

}
