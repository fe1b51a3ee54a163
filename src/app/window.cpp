// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "window.h"

#include "abstractdisplaytool.h"
#include "abstractexporttool.h"
#include "abstractmenutool.h"
#include "abstractnavigatesourcetool.h"
#include "abstractsourcetool.h"
#include "clipboardexport/tool.h"
#include "contentdisplay/tool.h"
#include "fileexport/tool.h"
#include "helpmenu/tool.h"
#include "imagesource/tool.h"
#include "plaintextdisplay/tool.h"
#include "scanresult.h"
#include "sourcenavigation/tool.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QShortcut>

namespace Brevlinder
{

Window::Window(bool oneScanMode, const QUrl &startUrl)
    : QDialog()
{
    setAttribute(Qt::WA_DeleteOnClose);

    auto imageSourceTool = std::make_unique<ImageSource::Tool>();
    // The start image takes the same road as any other; it only starts it first thing, so that it is read and
    // scanned while the rest is built. Its results come through the event loop, once everything below is there.
    if (!startUrl.isEmpty()) {
        imageSourceTool->load(startUrl);
    }
    // With a way back to the pick view, an image dropped on the shown image is taken as on the pick view.
    imageSourceTool->setDropOnImageViewEnabled(!oneScanMode);
    m_sourceTool = std::move(imageSourceTool);
    connect(m_sourceTool.get(), &AbstractSourceTool::imageNameChanged, this, &Window::updateWindowTitle);

    m_ui.setupUi(this);
    updateWindowTitle(QString());
    m_ui.sourceWidgetStackLayout->addWidget(m_sourceTool->widget());

    m_displayTools.reserve(2);
    m_displayTools.push_back(std::make_unique<ContentDisplay::Tool>());
    m_displayTools.push_back(std::make_unique<PlainTextDisplay::Tool>());
    for (const auto &displayTool : m_displayTools) {
        m_ui.displayLayout->addWidget(displayTool->widget());
    }
    connect(m_sourceTool.get(), &AbstractSourceTool::scanFinished, this, &Window::handleScanFinished);

    if (!oneScanMode) {
        m_navigateSourceTool = std::make_unique<SourceNavigation::Tool>(m_sourceTool.get());
        m_navigateSourceTool->setupButtons(m_ui.buttonBox);
    }

    m_exportTools.reserve(2);
    m_exportTools.push_back(std::make_unique<ClipboardExport::Tool>());
    m_exportTools.push_back(std::make_unique<FileExport::Tool>());
    for (const auto &exportTool : m_exportTools) {
        exportTool->setupButtons(m_ui.buttonBox);
    }

    if (!oneScanMode) {
        m_menuTool = std::make_unique<HelpMenu::Tool>();
        m_menuTool->setupButtons(m_ui.buttonBox);
        auto *quitShortcut = new QShortcut(QKeySequence::Quit, this, nullptr, nullptr, Qt::WindowShortcut);
        connect(quitShortcut, &QShortcut::activated, QCoreApplication::instance(), &QCoreApplication::quit);
    }

    // Without a start image the pick view shows. It is made last, as when it is made later on, so that Tab goes
    // through it before the message line, the text and the buttons.
    if (startUrl.isEmpty()) {
        m_sourceTool->switchToPickView();
    }
}

Window::~Window()
{
    // The tools own their widgets: take them back from the layouts before the tools delete them.
    for (const auto &displayTool : m_displayTools) {
        m_ui.displayLayout->removeWidget(displayTool->widget());
        displayTool->widget()->setParent(nullptr);
    }
    m_ui.sourceWidgetStackLayout->removeWidget(m_sourceTool->widget());
    m_sourceTool->widget()->setParent(nullptr);
    // The other tools go in the reverse order of their creation.
    m_menuTool.reset();
    while (!m_exportTools.empty()) {
        m_exportTools.pop_back();
    }
    m_navigateSourceTool.reset();
    while (!m_displayTools.empty()) {
        m_displayTools.pop_back();
    }
    m_sourceTool.reset();
}

void Window::load(const QUrl &url)
{
    m_sourceTool->load(url);
}

void Window::updateWindowTitle(const QString &imageName)
{
    // As KDE's viewers do: what the window shows, then the program's name, which the platform adds. A window
    // that shows nothing yet is called after the program, so a screen reader never meets a nameless window.
    setWindowTitle(imageName.isEmpty() ? QGuiApplication::applicationDisplayName() : imageName);
}

void Window::handleScanFinished(const ScanResult &scanResult)
{
    for (const auto &displayTool : m_displayTools) {
        displayTool->setScanResult(scanResult);
    }
    for (const auto &exportTool : m_exportTools) {
        exportTool->setScanResult(scanResult);
    }
}

}
