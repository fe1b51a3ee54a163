// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace Brevlinder::Test
{

/**
 * Standard input replaced by a pipe holding @p data, for the lifetime of the object. The data must fit into the
 * pipe's buffer. Its writing end is closed, unless @p writer is WriterKeptOpen: then a read waits for more.
 */
class PipedStandardInput
{
public:
    enum Writer {
        WriterClosed,
        WriterKeptOpen,
    };

    explicit PipedStandardInput(const QByteArray &data, Writer writer = WriterClosed)
        : m_savedInput(dup(STDIN_FILENO))
    {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            qFatal("no pipe");
        }
        if (fcntl(pipeEnds[1], F_GETPIPE_SZ) < data.size() || write(pipeEnds[1], data.constData(), data.size()) != data.size()) {
            qFatal("cannot fill the pipe");
        }
        if (writer == WriterKeptOpen) {
            m_writer = pipeEnds[1];
        } else {
            close(pipeEnds[1]);
        }
        dup2(pipeEnds[0], STDIN_FILENO);
        close(pipeEnds[0]);
        clearerr(stdin);
    }

    ~PipedStandardInput()
    {
        if (m_writer != -1) {
            close(m_writer);
        }
        dup2(m_savedInput, STDIN_FILENO);
        close(m_savedInput);
        clearerr(stdin);
    }

    Q_DISABLE_COPY_MOVE(PipedStandardInput)

private:
    int m_savedInput;
    int m_writer = -1;
};

}
