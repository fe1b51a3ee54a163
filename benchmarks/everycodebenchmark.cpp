// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later
// How much longer finding every code takes than finding the first: everycodebenchmark FILE [RUNS]. Reads FILE as the
// program does (an image, or the first page of a PDF or a multi-page image), then scans it RUNS times (default 7)
// for its first code and for every code on every page, the two alternating, and prints the medians, their ratio,
// what each found and the process's peak memory.

#include "imagereadresult.h"
#include "pageddocument.h"
#include "pagescan.h"
#include "readimagefilerunner.h"
#include "scanimagerunner.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QtConcurrentRun>

#include <algorithm>
#include <cstdio>

using namespace Brevlinder;

namespace
{

template<typename Scan>
double secondsOf(Scan scan)
{
    QElapsedTimer timer;
    timer.start();
    scan();
    return timer.nsecsElapsed() / 1e9;
}

QList<ScanResult> everyCodeOnEveryPage(const ImageSource::ImageReadResult &read)
{
    QList<ScanResult> codes;
    const QList<ImageSource::PageCodes> pages = QtConcurrent::run(&ImageSource::scanEveryPage, read.image(), read.document()).results();
    for (const ImageSource::PageCodes &page : pages) {
        codes.append(page.codes);
    }
    return codes;
}

// The most memory the process has held, in megabytes.
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').constFirst().toDouble() / 1024;
        }
    }
    return 0;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

}

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.isEmpty()) {
        std::fprintf(stderr, "usage: everycodebenchmark IMAGE [RUNS]\n");
        return 2;
    }
    ImageSource::allowDecodableImages();
    const ImageSource::ImageReadResult read = ImageSource::readImageFile(arguments.constFirst());
    if (!read.isValid()) {
        std::fprintf(stderr, "could not read %s: %s\n", qPrintable(arguments.constFirst()), qPrintable(read.errorString()));
        return 1;
    }
    const QImage image = read.image();
    const int runs = arguments.size() > 1 ? std::max(1, arguments.at(1).toInt()) : 7;

    QList<double> first;
    QList<double> every;
    ScanResult firstCode;
    QList<ScanResult> everyCode;
    for (int run = 0; run < runs; ++run) {
        first.append(secondsOf([&] {
            firstCode = scanImage(image);
        }));
        every.append(secondsOf([&] {
            everyCode = everyCodeOnEveryPage(read);
        }));
    }
    std::printf("%d x %d pixels, %d page(s), %d runs each\n", image.width(), image.height(), read.document() ? read.document()->pageCount() : 1, runs);
    std::printf("first code: %.3f s  (%s)\n", median(first), qPrintable(firstCode.code().symbology));
    std::printf("every code: %.3f s  (%lld found:", median(every), static_cast<long long>(everyCode.size()));
    for (const ScanResult &code : std::as_const(everyCode)) {
        std::printf(" %s", qPrintable(code.code().symbology));
        if (qEnvironmentVariableIsSet("EVERY_CODE_TEXTS")) {
            std::printf("[%s %s]", qPrintable(code.text()), qPrintable(QDebug::toString(code.code().position)));
        }
    }
    std::printf(")\nevery ÷ first = %.2f×\npeak memory: %.0f MB\n", median(every) / median(first), peakMegabytes());
    return 0;
}
