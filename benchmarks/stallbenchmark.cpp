// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

// How long the GUI thread stays away from its event loop at worst: a 1 ms heartbeat timer runs while the
// window loads, shows and scans an image, and then while the window is resized 30 times. Prints the longest
// gap between two beats in each phase. stallbenchmark IMAGE [--onescan]; run it on a real X server (the
// launch-to-text script does that with --stall).

#include "window.h"

#include <KMessageWidget>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QUrl>

#include <cstdio>

namespace
{

constexpr int resizes = 30;
constexpr int resizeIntervalMilliseconds = 40;

class Heartbeat
{
public:
    Heartbeat()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            beat();
        });
        m_sinceLastBeat.start();
        m_timer.start();
    }

    // The longest gap since the last call, in milliseconds.
    double takeLongestGap()
    {
        beat();
        const double longest = m_longestGap / 1e6;
        m_longestGap = 0;
        return longest;
    }

private:
    void beat()
    {
        m_longestGap = std::max(m_longestGap, m_sinceLastBeat.nsecsElapsed());
        m_sinceLastBeat.restart();
    }

    QTimer m_timer;
    QElapsedTimer m_sinceLastBeat;
    qint64 m_longestGap = 0;
};

}

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: stallbenchmark IMAGE [--onescan]\n");
        return 2;
    }
    const QUrl url = QUrl::fromLocalFile(arguments.at(1));

    auto *window = new Brevlinder::Window(arguments.contains(QLatin1String("--onescan")));
    window->resize(800, 600);
    window->show();

    Heartbeat heartbeat;
    QElapsedTimer clock;
    auto *message = window->findChild<KMessageWidget *>();
    const QString success = QStringLiteral("Code in the image successfully scanned.");
    QTimer watch;
    int resized = 0;
    double loadStall = 0;
    double loadMilliseconds = 0;

    // Settle first: the first paint of the window is not what is measured.
    QTimer::singleShot(500, window, [&] {
        heartbeat.takeLongestGap();
        clock.start();
        window->load(url);
        watch.start(1);
    });
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (message->text() != success || !message->isVisible()) {
            if (clock.elapsed() > 60000) {
                std::fprintf(stderr, "no success message after a minute: %s\n", qPrintable(message->text()));
                application.exit(1);
            }
            return;
        }
        watch.stop();
        loadStall = heartbeat.takeLongestGap();
        loadMilliseconds = clock.elapsed();
        auto *resizer = new QTimer(window);
        QObject::connect(resizer, &QTimer::timeout, [&, resizer] {
            if (resized == resizes) {
                resizer->stop();
                QTimer::singleShot(300, [&] {
                    const double resizeStall = heartbeat.takeLongestGap();
                    std::printf("load, show and scan (%.0f ms): longest stall %.1f ms\n", loadMilliseconds, loadStall);
                    std::printf("%d resizes: longest stall %.1f ms\n", resizes, resizeStall);
                    std::fflush(stdout);
                    application.quit();
                });
                return;
            }
            ++resized;
            window->resize(resized % 2 ? QSize(1000, 700) : QSize(640, 520));
        });
        resizer->start(resizeIntervalMilliseconds);
    });

    // Like the program, which ends its event loop with the window still open.
    return application.exec();
}
