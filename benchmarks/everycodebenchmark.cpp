// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later
// How much longer finding every code takes than finding the first: everycodebenchmark IMAGE [RUNS]. Decodes IMAGE
// once, then scans it RUNS times (default 7) for its first code and for every code, the two alternating, and prints
// the medians, their ratio and what each found.

#include "scanimagerunner.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageReader>

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
    QImageReader::setAllocationLimit(0);
    QImageReader reader(arguments.constFirst());
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "could not read %s: %s\n", qPrintable(arguments.constFirst()), qPrintable(reader.errorString()));
        return 1;
    }
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
            everyCode = scanImageForEveryCode(image);
        }));
    }
    std::printf("%d x %d pixels, %d runs each\n", image.width(), image.height(), runs);
    std::printf("first code: %.3f s  (%s)\n", median(first), qPrintable(firstCode.code().symbology));
    std::printf("every code: %.3f s  (%lld found:", median(every), static_cast<long long>(everyCode.size()));
    for (const ScanResult &code : std::as_const(everyCode)) {
        std::printf(" %s", qPrintable(code.code().symbology));
        if (qEnvironmentVariableIsSet("EVERY_CODE_TEXTS")) {
            std::printf("[%s %s]", qPrintable(code.text()), qPrintable(QDebug::toString(code.code().position)));
        }
    }
    std::printf(")\nevery ÷ first = %.2f×\n", median(every) / median(first));
    return 0;
}
