// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "structuredappend.h"
#include "codeimages.h"
#include "scanimagerunner.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Brevlinder;

namespace
{

const QString longText = QStringLiteral(
    "Structured append splits one message over several QR codes; a reader joins the parts into the whole text, "
    "in the order of their numbers, whatever order they were found in.");

ScanResult part(const QString &text, int index, int size, const QString &id = QStringLiteral("7"), int page = 0)
{
    ScanResult::Code code;
    code.symbology = QStringLiteral("QRCode");
    code.sequenceIndex = index;
    code.sequenceSize = size;
    code.sequenceId = id;
    code.page = page;
    code.position = QPolygon(QRect(index * 100, page, 90, 90));
    return ScanResult(text, text.toUtf8(), code);
}

ScanResult single(const QString &text)
{
    ScanResult::Code code;
    code.symbology = QStringLiteral("EAN13");
    return ScanResult(text, text.toUtf8(), code);
}

QStringList textsOf(const QList<ScanResult> &codes)
{
    QStringList texts;
    for (const ScanResult &code : codes) {
        texts.append(code.text());
    }
    return texts;
}

}

class StructuredAppendTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testQrencodeSequenceIsJoined_data()
    {
        QTest::addColumn<QList<int>>("shownParts");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QList<int>>("missing");

        QTest::newRow("in order") << QList<int>{0, 1, 2} << true << QList<int>{};
        QTest::newRow("shuffled") << QList<int>{2, 0, 1} << true << QList<int>{};
        QTest::newRow("second missing") << QList<int>{0, 2} << false << QList<int>{2};
        QTest::newRow("only the last") << QList<int>{2} << false << QList<int>{1, 2};
    }

    void testQrencodeSequenceIsJoined()
    {
        QFETCH(QList<int>, shownParts);
        QFETCH(bool, complete);
        QFETCH(QList<int>, missing);

        const QTemporaryDir directory;
        const QList<QImage> parts = Test::structuredAppendParts(longText, directory.path());
        QCOMPARE(parts.size(), 3);
        QList<QImage> shown;
        for (int index : shownParts) {
            shown.append(parts[index]);
        }

        const QList<ScanResult> found = scanImageForEveryCode(Test::sideBySide(shown));
        QCOMPARE(found.size(), shownParts.size());
        const QList<ScanResult> joined = StructuredAppend::join(found);
        const QList<StructuredAppend::Gap> gaps = StructuredAppend::gaps(found);
        if (complete) {
            QCOMPARE(joined.size(), 1);
            QCOMPARE(joined[0].text(), longText);
            QCOMPARE(joined[0].data(), longText.toUtf8());
            QCOMPARE(joined[0].code().parts.size(), 3);
            QCOMPARE(joined[0].code().symbology, QStringLiteral("QRCode"));
            QVERIFY(gaps.isEmpty());
        } else {
            QCOMPARE(joined.size(), shownParts.size());
            QCOMPARE(gaps.size(), 1);
            QCOMPARE(gaps[0].sequenceSize, 3);
            QCOMPARE(gaps[0].missingParts, missing);
        }
    }

    void testJoinKeepsTheListOrder_data()
    {
        QTest::addColumn<QList<ScanResult>>("codes");
        QTest::addColumn<QStringList>("texts");

        QTest::newRow("joined where its first-listed part was")
            << QList<ScanResult>{single(QStringLiteral("A")), part(QStringLiteral("y"), 1, 2), single(QStringLiteral("B")), part(QStringLiteral("x"), 0, 2)}
            << QStringList{QStringLiteral("A"), QStringLiteral("xy"), QStringLiteral("B")};
        QTest::newRow("two sequences apart by their id") << QList<ScanResult>{part(QStringLiteral("1"), 0, 2, QStringLiteral("a")),
                                                                              part(QStringLiteral("3"), 0, 2, QStringLiteral("b")),
                                                                              part(QStringLiteral("2"), 1, 2, QStringLiteral("a")),
                                                                              part(QStringLiteral("4"), 1, 2, QStringLiteral("b"))}
                                                         << QStringList{QStringLiteral("12"), QStringLiteral("34")};
        QTest::newRow("a part seen twice counts once")
            << QList<ScanResult>{part(QStringLiteral("x"), 0, 2), part(QStringLiteral("x"), 0, 2, QStringLiteral("7"), 1), part(QStringLiteral("y"), 1, 2)}
            << QStringList{QStringLiteral("xy")};
        QTest::newRow("unknown size stays apart") << QList<ScanResult>{part(QStringLiteral("x"), 0, 0), part(QStringLiteral("y"), 1, 0)}
                                                  << QStringList{QStringLiteral("x"), QStringLiteral("y")};
        QTest::newRow("parts across pages") << QList<ScanResult>{part(QStringLiteral("x"), 0, 2, QStringLiteral("7"), 0),
                                                                 part(QStringLiteral("y"), 1, 2, QStringLiteral("7"), 3)}
                                            << QStringList{QStringLiteral("xy")};
    }

    void testJoinKeepsTheListOrder()
    {
        QFETCH(QList<ScanResult>, codes);
        QFETCH(QStringList, texts);

        QCOMPARE(textsOf(StructuredAppend::join(codes)), texts);
    }

    void testJoinedCodeKnowsWhereEachPartIs()
    {
        const QList<ScanResult> joined =
            StructuredAppend::join({part(QStringLiteral("y"), 1, 2, QStringLiteral("7"), 3), part(QStringLiteral("x"), 0, 2, QStringLiteral("7"), 1)});
        QCOMPARE(joined.size(), 1);
        const ScanResult::Code &code = joined[0].code();
        QCOMPARE(code.page, 1);
        QCOMPARE(code.position, QPolygon(QRect(0, 1, 90, 90)));
        QCOMPARE(code.parts.size(), 2);
        QCOMPARE(code.parts[1].page, 3);
        QCOMPARE(code.parts[1].position, QPolygon(QRect(100, 3, 90, 90)));
        QCOMPARE(code.sequenceIndex, -1);
    }
};

QTEST_GUILESS_MAIN(StructuredAppendTest)

#include "structuredappendtest.moc"
