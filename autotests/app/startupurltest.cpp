// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "startupurl.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class StartupUrlTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUrl_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("standardInputIsTerminal");
        QTest::addColumn<QUrl>("expected");

        const QString here = QStringLiteral("/home/user/pictures");
        QTest::newRow("bare file name, missing") << QStringList{QStringLiteral("no-such-code.png")} << true
                                                 << QUrl::fromLocalFile(here + QStringLiteral("/no-such-code.png"));
        QTest::newRow("relative path") << QStringList{QStringLiteral("codes/qr.png")} << true << QUrl::fromLocalFile(here + QStringLiteral("/codes/qr.png"));
        QTest::newRow("absolute path") << QStringList{QStringLiteral("/tmp/qr.png")} << true << QUrl::fromLocalFile(QStringLiteral("/tmp/qr.png"));
        QTest::newRow("remote URL") << QStringList{QStringLiteral("https://example.org/qr.png")} << true << QUrl(QStringLiteral("https://example.org/qr.png"));
        QTest::newRow("file URL") << QStringList{QStringLiteral("file:///tmp/qr.png")} << true << QUrl(QStringLiteral("file:///tmp/qr.png"));
        QTest::newRow("only the first argument") << QStringList{QStringLiteral("first.png"), QStringLiteral("second.png")} << true
                                                 << QUrl::fromLocalFile(here + QStringLiteral("/first.png"));
        QTest::newRow("argument wins over piped input")
            << QStringList{QStringLiteral("qr.png")} << false << QUrl::fromLocalFile(here + QStringLiteral("/qr.png"));
        QTest::newRow("piped input") << QStringList{} << false << QUrl(QStringLiteral("stdin:/"));
        QTest::newRow("terminal, no argument") << QStringList{} << true << QUrl();
    }

    void startUrl()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, standardInputIsTerminal);
        QFETCH(QUrl, expected);

        const QUrl url = Brevlinder::startUrl(arguments, standardInputIsTerminal, QStringLiteral("/home/user/pictures"));
        QCOMPARE(url, expected);
        QCOMPARE(url.isEmpty(), expected.isEmpty());
    }

    void existingFileBecomesTheSameFileUrl()
    {
        QTemporaryDir directory;
        QFile file(directory.filePath(QStringLiteral("code.png")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QUrl url = Brevlinder::startUrl({QStringLiteral("code.png")}, true, directory.path());
        QCOMPARE(url, QUrl::fromLocalFile(file.fileName()));
    }

    void stdinUrlHasTheStdinScheme()
    {
        QCOMPARE(Brevlinder::startUrl({}, false, QString()).scheme(), QStringLiteral("stdin"));
    }
};

QTEST_GUILESS_MAIN(StartupUrlTest)

#include "startupurltest.moc"
