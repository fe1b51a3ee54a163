// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "imagereadresult.h"

#include <QObject>
#include <QRunnable>
#include <QString>

namespace Brevlinder::ImageSource
{

/**
 * Reads and decodes one image file, or standard input, on a thread of the thread pool.
 *
 * readFinished comes exactly once, with a result that is not valid when nothing could be opened or decoded.
 * Standard input is read to its end without ever blocking the quitting application.
 * The pool deletes the runner after it ran.
 */
class ReadImageFileRunner : public QObject, public QRunnable
{
    Q_OBJECT

public:
    /// An empty @p fileName stands for standard input.
    explicit ReadImageFileRunner(const QString &fileName);

    void run() override;

Q_SIGNALS:
    void readFinished(const Brevlinder::ImageSource::ImageReadResult &imageReadResult);

private:
    ImageReadResult read() const;

    QString m_fileName;
};

}
