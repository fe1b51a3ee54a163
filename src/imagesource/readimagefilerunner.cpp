// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "readimagefilerunner.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <optional>

#include <poll.h>
#include <unistd.h>

namespace Brevlinder::ImageSource
{

namespace
{

// Set when the application quits or its last window closes. A read of standard input that still waits for a
// writer then gives up: nobody would see its image, the running load keeps the application from quitting, and
// the ending program waits for the thread pool, while the writer may never come.
std::atomic_bool applicationQuitting = false;

// How long one wait for standard input lasts before the quit flag is looked at again.
constexpr int standardInputPollMilliseconds = 100;

// No encoded image that Qt's allocation limit lets through comes near this; an endless stream is refused
// here instead of filling the memory.
constexpr qsizetype maximumStandardInputSize = qsizetype(1) << 30;

void watchForQuit()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const auto stopReading = [] {
            applicationQuitting = true;
        };
        if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            QObject::connect(application, &QGuiApplication::lastWindowClosed, application, stopReading);
        }
        if (QCoreApplication *application = QCoreApplication::instance()) {
            QObject::connect(application, &QCoreApplication::aboutToQuit, application, stopReading);
        }
    });
}

// Reads standard input to its end, in slices that never block for long. Nothing if the read failed, the
// application quits meanwhile, or the stream is too large.
std::optional<QByteArray> readStandardInput()
{
    QByteArray data;
    char chunk[64 * 1024];
    while (!applicationQuitting) {
        pollfd standardInput{STDIN_FILENO, POLLIN, 0};
        const int ready = ::poll(&standardInput, 1, standardInputPollMilliseconds);
        if (ready < 0 && errno != EINTR) {
            return std::nullopt;
        }
        if (ready <= 0) {
            continue;
        }
        if ((standardInput.revents & POLLNVAL) != 0) {
            return std::nullopt;
        }
        // Readable, or hung up: either way read() answers at once, with data or with the end of the stream.
        const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (count == 0) {
            return data;
        }
        if (count < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            return std::nullopt;
        }
        if (data.size() + count > maximumStandardInputSize) {
            return std::nullopt;
        }
        data.append(chunk, count);
    }
    return std::nullopt;
}

ImageReadResult decode(QIODevice &device)
{
    QImageReader reader(&device);
    // Photos from cameras and phones store their orientation in a tag; apply it so the image is upright.
    reader.setAutoTransform(true);
    // Qt's allocation limit stays in force: an image too large for it is refused here, not allocated.
    return ImageReadResult(reader.read());
}

}

ReadImageFileRunner::ReadImageFileRunner(const QString &fileName)
    : m_fileName(fileName)
{
    if (m_fileName.isEmpty()) {
        watchForQuit();
    }
}

void ReadImageFileRunner::run()
{
    Q_EMIT readFinished(read());
}

ImageReadResult ReadImageFileRunner::read() const
{
    if (m_fileName.isEmpty()) {
        // Standard input stays open and belongs to the process; what was read is gone from the stream, so a
        // later read starts where this one ended.
        std::optional<QByteArray> data = readStandardInput();
        if (!data) {
            return {};
        }
        QBuffer buffer(&*data);
        buffer.open(QIODevice::ReadOnly);
        return decode(buffer);
    }
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return decode(file);
}

}

#include "moc_readimagefilerunner.cpp"
