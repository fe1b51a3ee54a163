// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QtGlobal>

#include <ctime>

namespace Brevlinder::Test
{

/**
 * Times work done on this thread by the processor time it takes, which a busy machine that keeps the thread
 * waiting for a core does not inflate: a deadline on it fails for slow code, not for a shared machine.
 */
class ParsingTimer
{
public:
    void start()
    {
        m_started = now();
    }

    /// Milliseconds of this thread's processor time since start().
    qint64 elapsed() const
    {
        return now() - m_started;
    }

    /// What parsing the largest payload may take: 100 ms, ten times that with the sanitizers, which slow every
    /// instruction of the program's own code.
    static qint64 deadlineMilliseconds()
    {
        return qEnvironmentVariableIsSet("ASAN_OPTIONS") ? 1000 : 100;
    }

private:
    static qint64 now()
    {
        timespec time{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
        return qint64(time.tv_sec) * 1000 + time.tv_nsec / 1000000;
    }

    qint64 m_started = now();
};

}
