// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "scanresult.h"

#include <QTest>

using Brevlinder::ScanResult;

class ScanResultTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultIsNotValidAndEmpty()
    {
        const ScanResult result;
        QVERIFY(!result.isValid());
        QVERIFY(result.text().isEmpty());
        QVERIFY(result.data().isEmpty());
    }

    void defaultResultsHaveRecordsOfTheirOwn()
    {
        const ScanResult first;
        const ScanResult second;
        QVERIFY(&first.text() != &second.text());
    }

    void decodedResultHoldsTextAndBytes()
    {
        const QByteArray bytes("\x00\xff\x7f", 3);
        const ScanResult result(QStringLiteral("ÿ text"), bytes);
        QVERIFY(result.isValid());
        QCOMPARE(result.text(), QStringLiteral("ÿ text"));
        QCOMPARE(result.data(), bytes);
    }

    void copiesShareOneRecord()
    {
        const ScanResult original(QStringLiteral("shared"), QByteArrayLiteral("shared"));
        const ScanResult copied(original);
        ScanResult assigned;
        assigned = original;
        QCOMPARE(&copied.text(), &original.text());
        QCOMPARE(&assigned.data(), &original.data());
        QVERIFY(assigned.isValid());
    }

    void selfAssignmentChangesNothing()
    {
        ScanResult result(QStringLiteral("self"), QByteArrayLiteral("self"));
        const QString *record = &result.text();
        ScanResult &alias = result;
        result = alias;
        QCOMPARE(&result.text(), record);
        QCOMPARE(result.text(), QStringLiteral("self"));
        QCOMPARE(result.data(), QByteArrayLiteral("self"));

        const ScanResult copy = result;
        result = copy;
        QCOMPARE(&result.text(), record);
        QVERIFY(result.isValid());
    }

    void survivesTheLastOtherOwner()
    {
        ScanResult kept;
        {
            const ScanResult temporary(QStringLiteral("outlives"), QByteArrayLiteral("bytes"));
            kept = temporary;
        }
        QCOMPARE(kept.text(), QStringLiteral("outlives"));
        QCOMPARE(kept.data(), QByteArrayLiteral("bytes"));
    }

    void travelsThroughQVariant()
    {
        const ScanResult result(QStringLiteral("variant"), QByteArrayLiteral("v"));
        const QVariant variant = QVariant::fromValue(result);
        QCOMPARE(QMetaType::fromType<ScanResult>().name(), "Brevlinder::ScanResult");
        QCOMPARE(&variant.value<ScanResult>().text(), &result.text());
    }
};

QTEST_GUILESS_MAIN(ScanResultTest)

#include "scanresulttest.moc"
