// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QObject>

class QUrl;
class QWidget;

namespace Brevlinder
{

class ScanResult;

/**
 * The window's source of images and scans. It shows its widget in the window's source stack and announces
 * every finished scan, successful or not.
 */
class AbstractSourceTool : public QObject
{
    Q_OBJECT

public:
    explicit AbstractSourceTool(QObject *parent = nullptr);
    ~AbstractSourceTool() override;

    /// Loads the image at \p url and scans it; an empty URL shows the pick view instead.
    virtual void load(const QUrl &url) = 0;
    /// The tool's own widget; the tool keeps ownership, every call returns the same widget.
    virtual QWidget *widget() = 0;
    /// Shows the pick view, creating it on first use.
    virtual void switchToPickView() = 0;
    virtual bool isInPickView() const = 0;

Q_SIGNALS:
    /// A scan has ended, or a load failed; a result that is not valid clears what showed the one before.
    void scanFinished(const ScanResult &scanResult);
    void isInPickViewChanged(bool isInPickView);
    /// What the image view shows has a new name: a file name, "Clipboard", "Screen"; empty when it shows none.
    void imageNameChanged(const QString &imageName);
};

}
