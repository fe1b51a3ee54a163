// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "startupurl.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
// The kinds of standard input a program may be started with.
enum class Descriptor {
    Pipe,
    Socket,
    NonEmptyFile,
    EmptyFile,
    DevNull,
    Directory,
    Terminal,
    Closed,
};

// Opens a real descriptor of \p kind; the returned descriptors are closed by the caller, extra ones (the
// other end of a pipe or socket pair, a terminal's master) go to \p keepOpen.
int openDescriptor(Descriptor kind, const QTemporaryDir &directory, QList<int> &keepOpen)
{
    int pair[2];
    switch (kind) {
    case Descriptor::Pipe:
        if (pipe(pair) != 0) {
            return -1;
        }
        keepOpen.append(pair[1]);
        return pair[0];
    case Descriptor::Socket:
        if (socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) {
            return -1;
        }
        keepOpen.append(pair[1]);
        return pair[0];
    case Descriptor::NonEmptyFile:
    case Descriptor::EmptyFile: {
        const QByteArray name = QFile::encodeName(directory.filePath(QStringLiteral("input")));
        const int file = open(name.constData(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        if (file >= 0 && kind == Descriptor::NonEmptyFile && write(file, "\x89PNG", 4) != 4) {
            close(file);
            return -1;
        }
        return file;
    }
    case Descriptor::DevNull:
        return open("/dev/null", O_RDONLY);
    case Descriptor::Directory:
        return open(QFile::encodeName(directory.path()).constData(), O_RDONLY | O_DIRECTORY);
    case Descriptor::Terminal: {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
            return -1;
        }
        keepOpen.append(master);
        return open(ptsname(master), O_RDWR | O_NOCTTY);
    }
    case Descriptor::Closed: {
        const int file = open("/dev/null", O_RDONLY);
        close(file);
        return file;
    }
    }
    return -1;
}
}

class StartupUrlTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUrl_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("standardInputMayCarryImage");
        QTest::addColumn<QUrl>("expected");

        const QString here = QStringLiteral("/home/user/pictures");
        QTest::newRow("bare file name, missing") << QStringList{QStringLiteral("no-such-code.png")} << false
                                                 << QUrl::fromLocalFile(here + QStringLiteral("/no-such-code.png"));
        QTest::newRow("relative path") << QStringList{QStringLiteral("codes/qr.png")} << false << QUrl::fromLocalFile(here + QStringLiteral("/codes/qr.png"));
        QTest::newRow("absolute path") << QStringList{QStringLiteral("/tmp/qr.png")} << false << QUrl::fromLocalFile(QStringLiteral("/tmp/qr.png"));
        QTest::newRow("remote URL") << QStringList{QStringLiteral("https://example.org/qr.png")} << false << QUrl(QStringLiteral("https://example.org/qr.png"));
        QTest::newRow("file URL") << QStringList{QStringLiteral("file:///tmp/qr.png")} << false << QUrl(QStringLiteral("file:///tmp/qr.png"));
        QTest::newRow("only the first argument") << QStringList{QStringLiteral("first.png"), QStringLiteral("second.png")} << false
                                                 << QUrl::fromLocalFile(here + QStringLiteral("/first.png"));
        QTest::newRow("argument wins over piped input")
            << QStringList{QStringLiteral("qr.png")} << true << QUrl::fromLocalFile(here + QStringLiteral("/qr.png"));
        QTest::newRow("piped input") << QStringList{} << true << QUrl(QStringLiteral("stdin:/"));
        QTest::newRow("nothing on standard input, no argument") << QStringList{} << false << QUrl();
    }

    void startUrl()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, standardInputMayCarryImage);
        QFETCH(QUrl, expected);

        const QUrl url = Brevlinder::startUrl(arguments, standardInputMayCarryImage, QStringLiteral("/home/user/pictures"));
        QCOMPARE(url, expected);
        QCOMPARE(url.isEmpty(), expected.isEmpty());
    }

    void existingFileBecomesTheSameFileUrl()
    {
        QTemporaryDir directory;
        QFile file(directory.filePath(QStringLiteral("code.png")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QUrl url = Brevlinder::startUrl({QStringLiteral("code.png")}, false, directory.path());
        QCOMPARE(url, QUrl::fromLocalFile(file.fileName()));
    }

    void mayCarryImage_data()
    {
        QTest::addColumn<Descriptor>("kind");
        QTest::addColumn<bool>("expected");

        QTest::newRow("pipe") << Descriptor::Pipe << true;
        QTest::newRow("socket") << Descriptor::Socket << true;
        QTest::newRow("non-empty regular file") << Descriptor::NonEmptyFile << true;
        QTest::newRow("empty regular file") << Descriptor::EmptyFile << false;
        QTest::newRow("/dev/null") << Descriptor::DevNull << false;
        QTest::newRow("directory") << Descriptor::Directory << false;
        QTest::newRow("terminal") << Descriptor::Terminal << false;
        QTest::newRow("closed descriptor") << Descriptor::Closed << false;
    }

    void mayCarryImage()
    {
        QFETCH(Descriptor, kind);
        QFETCH(bool, expected);

        QTemporaryDir directory;
        QList<int> keepOpen;
        const int descriptor = openDescriptor(kind, directory, keepOpen);
        const auto closeAll = qScopeGuard([&] {
            if (kind != Descriptor::Closed && descriptor >= 0) {
                close(descriptor);
            }
            for (int other : std::as_const(keepOpen)) {
                close(other);
            }
        });
        QVERIFY(descriptor >= 0);
        QCOMPARE(Brevlinder::mayCarryImage(descriptor), expected);
    }

    void stdinUrlHasTheStdinScheme()
    {
        QCOMPARE(Brevlinder::startUrl({}, true, QString()).scheme(), QStringLiteral("stdin"));
    }
};

QTEST_GUILESS_MAIN(StartupUrlTest)

#include "startupurltest.moc"
