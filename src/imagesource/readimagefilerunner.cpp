// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "readimagefilerunner.h"

#include "imageframesdocument.h"
#include "pdfopener.h"
#include "scanimagerunner.h"

#include <KLocalizedString>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeDatabase>

#include <atomic>
#include <cerrno>
#include <limits>
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

// What was read from standard input, or why nothing was.
struct StandardInput {
    std::optional<QByteArray> data;
    ImageReadResult failure;
};

// Reads standard input to its end, in slices that never block for long. No data if the read failed, the
// application quits or the reader is asked to stop meanwhile, or the stream is too large.
StandardInput readStandardInput(const std::function<bool()> &stopRequested)
{
    QByteArray data;
    char chunk[64 * 1024];
    while (!applicationQuitting && !(stopRequested && stopRequested())) {
        pollfd standardInput{STDIN_FILENO, POLLIN, 0};
        const int ready = ::poll(&standardInput, 1, standardInputPollMilliseconds);
        if (ready < 0 && errno != EINTR) {
            return {std::nullopt, ImageReadResult::failure(qt_error_string(errno))};
        }
        if (ready <= 0) {
            continue;
        }
        if ((standardInput.revents & POLLNVAL) != 0) {
            return {std::nullopt, ImageReadResult::failure(qt_error_string(EBADF))};
        }
        // Readable, or hung up: either way read() answers at once, with data or with the end of the stream.
        const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (count == 0) {
            return {data, {}};
        }
        if (count < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            return {std::nullopt, ImageReadResult::failure(qt_error_string(errno))};
        }
        if (data.size() + count > maximumStandardInputSize) {
            return {std::nullopt, ImageReadResult::failure(ki18n("It holds more than %1 MB.").subs(maximumStandardInputSize >> 20))};
        }
        data.append(chunk, count);
    }
    // Nobody is left to read the reason.
    return {};
}

QByteArray imageFormatFor(const QMimeType &mimeType)
{
    if (!mimeType.isValid()) {
        return {};
    }
    const QList<QByteArray> formats = QImageReader::imageFormatsForMimeType(mimeType.name().toLatin1());
    return formats.isEmpty() ? QByteArray() : formats.constFirst();
}

// Qt refuses to allocate an image beyond its allocation limit, and the decoder cannot address an image whose
// bytes overflow an int; Qt then only says that it could not read the data. The size in the header tells the
// user why, and checking it first spares the attempt.
KLocalizedString tooLargeReason(QImageReader &reader)
{
    const QSize size = reader.size();
    if (!size.isValid()) {
        return KLocalizedString();
    }
    const QImage::Format format = reader.imageFormat();
    const qint64 bitsPerPixel = format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
    const qint64 bytesPerLine = (size.width() * bitsPerPixel + 31) / 32 * 4;
    const qint64 limitMegabytes = QImageReader::allocationLimit();
    const bool withinAllocationLimit = limitMegabytes <= 0 || bytesPerLine * size.height() <= limitMegabytes << 20;
    if (withinAllocationLimit && ScanImageRunner::decoderCanAddress(size, format)) {
        return KLocalizedString();
    }
    return ki18n("The image is %1 × %2 pixels, too large to load.").subs(size.width()).subs(size.height());
}

// The formats whose files may hold several images and whose readers count them without decoding them all. Only
// these are kept in memory and counted; every other image is read straight from its file as before.
bool mayHoldSeveralImages(const QByteArray &format)
{
    static const QList<QByteArray> formats{"gif", "tif", "tiff", "webp"};
    return formats.contains(format.toLower());
}

ImageReadResult readPdf(QIODevice &device)
{
    // The document keeps the bytes: a download's temporary file goes away after the load, standard input after
    // the read.
    const Documents::PdfOpener::Opened opened = Documents::PdfOpener::openWithPlugin(device.readAll());
    if (!opened.document) {
        return ImageReadResult::failure(opened.failure);
    }
    const QImage firstPage = opened.document->page(0);
    if (firstPage.isNull()) {
        return ImageReadResult::failure(ki18n("The first page of the document cannot be shown."));
    }
    return ImageReadResult(firstPage, opened.document);
}

ImageReadResult decode(QIODevice &device, const QString &mimeTypeHint)
{
    if (!device.isSequential() && device.size() == 0) {
        return ImageReadResult::failure(ki18n("It is empty."));
    }
    const KLocalizedString isText = ki18n("It is text, not an image.");

    // The format is taken from the data's own signature first, which no file name or server can get wrong,
    // else from the MIME type that the name or the source of the data gave.
    const QMimeDatabase mimeDatabase;
    const QMimeType content = mimeDatabase.mimeTypeForData(&device);
    if (content.inherits(QStringLiteral("application/pdf"))) {
        return readPdf(device);
    }
    QByteArray format = imageFormatFor(content);
    const bool textWithoutSignature = format.isEmpty() && content.inherits(QStringLiteral("text/plain"));
    if (format.isEmpty() && !mimeTypeHint.isEmpty()) {
        format = imageFormatFor(mimeDatabase.mimeTypeForName(mimeTypeHint));
    }
    if (textWithoutSignature && format.isEmpty()) {
        return ImageReadResult::failure(isText);
    }

    QByteArray data;
    QBuffer buffer(&data);
    QIODevice *source = &device;
    if (mayHoldSeveralImages(format)) {
        data = device.readAll();
        buffer.open(QIODevice::ReadOnly);
        source = &buffer;
    }
    QImageReader reader(source);
    if (!format.isEmpty()) {
        // Only the plugin for this format gets to look at the data. Letting every plugin probe it costs time,
        // and some of them complain on the terminal about data that is not theirs.
        reader.setFormat(format);
        reader.setAutoDetectImageFormat(false);
        // A few image formats are text; any other plugin turns a text down here, before its decoder would.
        if (textWithoutSignature && !reader.canRead()) {
            return ImageReadResult::failure(isText);
        }
    }
    // Counted before anything else is read: the TIFF reader counts from where the device stands.
    const int imageCount = source == &buffer ? reader.imageCount() : 1;
    // Photos from cameras and phones store their orientation in a tag; apply it so the image is upright.
    reader.setAutoTransform(true);
    // An image too large for Qt's allocation limit or for the decoder is refused here, not allocated.
    if (const KLocalizedString tooLarge = tooLargeReason(reader); !tooLarge.isEmpty()) {
        return ImageReadResult::failure(tooLarge);
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        return ImageReadResult::failure(reader.errorString());
    }
    if (imageCount > 1) {
        return ImageReadResult(image, std::make_shared<Documents::ImageFramesDocument>(data, format, imageCount));
    }
    return ImageReadResult(image);
}

}

void allowDecodableImages()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Qt's default limit of 256 MB refuses every photo above about 64 megapixels. The decoder addresses
        // the pixels with int offsets, so up to that much may be allocated; anything beyond is refused with
        // its size before it is read.
        constexpr int decoderLimitMegabytes = std::numeric_limits<int>::max() >> 20;
        if (const int limit = QImageReader::allocationLimit(); limit > 0 && limit < decoderLimitMegabytes) {
            QImageReader::setAllocationLimit(decoderLimitMegabytes);
        }
    });
}

ReadImageFileRunner::ReadImageFileRunner(const QString &fileName, const QString &mimeTypeHint)
    : m_fileName(fileName)
    , m_mimeTypeHint(mimeTypeHint)
{
}

void ReadImageFileRunner::run()
{
    Q_EMIT readFinished(readImageFile(m_fileName, m_mimeTypeHint));
}

ImageReadResult readImageFile(const QString &fileName, const QString &mimeTypeHint, const std::function<bool()> &stopRequested)
{
    if (fileName.isEmpty()) {
        watchForQuit();
        // Standard input stays open and belongs to the process; what was read is gone from the stream, so a
        // later read starts where this one ended.
        StandardInput standardInput = readStandardInput(stopRequested);
        if (!standardInput.data) {
            return standardInput.failure;
        }
        QBuffer buffer(&*standardInput.data);
        buffer.open(QIODevice::ReadOnly);
        return decode(buffer, mimeTypeHint);
    }
    if (QFileInfo(fileName).isDir()) {
        return ImageReadResult::failure(ki18n("It is a folder, not a file."));
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return ImageReadResult::failure(file.errorString());
    }
    // A downloaded file has a name of no meaning, but its source may have named the type; a local file's name
    // tells its type where its data has no signature.
    const QString typeHint = mimeTypeHint.isEmpty() ? QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension).name() : mimeTypeHint;
    return decode(file, typeHint);
}

}

#include "moc_readimagefilerunner.cpp"
