// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QCoreApplication>
#include <QList>
#include <QObject>
#include <QThreadPool>

#include <type_traits>

namespace Brevlinder::Test
{

/**
 * Runs @p runner on the global thread pool, the way the program does, and returns every result that its
 * @p finished signal delivered to this thread. The pool deletes the runner.
 */
template<typename Runner, typename Argument>
QList<std::decay_t<Argument>> resultsFromPool(Runner *runner, void (Runner::*finished)(Argument))
{
    QList<std::decay_t<Argument>> results;
    QObject receiver;
    QObject::connect(runner, finished, &receiver, [&results](Argument result) {
        results.append(result);
    });
    QThreadPool::globalInstance()->start(runner);
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents(&receiver, QEvent::MetaCall);
    return results;
}

}
