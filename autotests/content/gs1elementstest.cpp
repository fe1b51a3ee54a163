// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "gs1elements.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

namespace
{
const QDate today(2026, 3, 1);

/// "ai|name|value|readable", with "|!" appended when the value's check fails.
QStringList described(const Gs1Elements &data)
{
    QStringList list;
    for (const Gs1Element &element : data.elements) {
        list.append(QStringList{element.ai, element.name.toString(), element.value.value, element.readable}.join(u'|')
                    + (element.value.isSound() ? QString() : QStringLiteral("|!")));
    }
    return list;
}
}

class Gs1ElementsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testParse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isGs1");
        QTest::addColumn<bool>("recognised");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QStringList>("elements");

        QTest::newRow("bracketed GTIN, expiry and batch")
            << u"(01)09506000134352(17)201225(10)ABC"_s << true << true << QString()
            << QStringList{u"01|GTIN|09506000134352|09506000134352"_s, u"17|Expiry date|201225|2020-12-25"_s, u"10|Batch or lot|ABC|ABC"_s};
        QTest::newRow("wrong GTIN check digit is kept and flagged")
            << u"(01)09506000134353"_s << true << true << QString() << QStringList{u"01|GTIN|09506000134353|09506000134353|!"_s};
        QTest::newRow("SSCC with and without a sound check digit")
            << u"(00)106141411234567897(00)106141411234567890"_s << true << true << QString()
            << QStringList{u"00|SSCC|106141411234567897|106141411234567897"_s, u"00|SSCC|106141411234567890|106141411234567890|!"_s};
        QTest::newRow("GTIN too short") << u"(01)0950600013435"_s << true << true << QString() << QStringList{u"01|GTIN|0950600013435|0950600013435|!"_s};
        QTest::newRow("GTIN with letters") << u"(01)0950600013435X"_s << true << true << QString() << QStringList{u"01|GTIN|0950600013435X|0950600013435X|!"_s};
        QTest::newRow("day 00 is the month's last day, also in a leap year")
            << u"(15)240200(17)250200(11)261100"_s << true << true << QString()
            << QStringList{u"15|Best before date|240200|2024-02-29"_s, u"17|Expiry date|250200|2025-02-28"_s, u"11|Production date|261100|2026-11-30"_s};
        QTest::newRow("two-digit years: 50 ahead, 49 back")
            << u"(17)760101(17)770101(11)770101"_s << true << true << QString()
            << QStringList{u"17|Expiry date|760101|2076-01-01"_s, u"17|Expiry date|770101|1977-01-01"_s, u"11|Production date|770101|1977-01-01"_s};
        QTest::newRow("dates that do not exist") << u"(17)201301(17)200231(17)2012"_s << true << true << QString()
                                                 << QStringList{u"17|Expiry date|201301|201301|!"_s,
                                                                u"17|Expiry date|200231|200231|!"_s,
                                                                u"17|Expiry date|2012|2012|!"_s};
        QTest::newRow("weights and prices take their decimals from the identifier")
            << u"(3103)001250(3100)000042(3922)1299(3925)7(3932)978995"_s << true << true << QString()
            << QStringList{u"3103|Net weight (kg)|001250|1.250"_s,
                           u"3100|Net weight (kg)|000042|42"_s,
                           u"3922|Price|1299|12.99"_s,
                           u"3925|Price|7|0.00007"_s,
                           u"3932|Price in a currency|978995|978 9.95"_s};
        QTest::newRow("serial too long") << u"(21)123456789012345678901"_s << true << true << QString()
                                         << QStringList{u"21|Serial number|123456789012345678901|123456789012345678901|!"_s};
        QTest::newRow("bracket inside a value") << u"(10)A(B)C(21)X(1)"_s << true << true << QString()
                                                << QStringList{u"10|Batch or lot|A(B)C|A(B)C"_s, u"21|Serial number|X(1)|X(1)"_s};
        QTest::newRow("unknown identifier is kept") << u"(89)X(10)Y"_s << true << true << QString()
                                                    << QStringList{u"89|Unknown application identifier|X|X"_s, u"10|Batch or lot|Y|Y"_s};
        QTest::newRow("text that follows no identifier") << u"(10)A)(x(01"_s << true << true << QString() << QStringList{u"10|Batch or lot|A)(x(01|A)(x(01"_s};
        QTest::newRow("no identifier at all") << u"hello (10)"_s << true << true << QString() << QStringList{u"|Unreadable data|hello (10)|hello (10)|!"_s};
        QTest::newRow("separated form with symbology identifier")
            << u"]C10109506000134352"
               "10ABC\x1d"
               "3103001250"_s
            << true << true << QString()
            << QStringList{u"01|GTIN|09506000134352|09506000134352"_s, u"10|Batch or lot|ABC|ABC"_s, u"3103|Net weight (kg)|001250|1.250"_s};
        QTest::newRow("separated form cut short") << u"01095060001343"_s << true << true << QString() << QStringList{u"01|GTIN|095060001343|095060001343|!"_s};
        QTest::newRow("NUL and control characters stay in the value")
            << u"(10)A\0B\x07"_s << true << true << QString() << QStringList{u"10|Batch or lot|A\0B\x07|A\0B\x07"_s};
        QTest::newRow("bracketed text without the GS1 marker is plain text") << u"(01)09506000134352"_s << false << false << QString() << QStringList{};

        QTest::newRow("Digital Link on the GS1 resolver")
            << u"https://id.gs1.org/01/09506000134352/10/ABC?17=201225"_s << false << true << u"id.gs1.org"_s
            << QStringList{u"01|GTIN|09506000134352|09506000134352"_s, u"10|Batch or lot|ABC|ABC"_s, u"17|Expiry date|201225|2020-12-25"_s};
        QTest::newRow("Digital Link on any host, below a path, short GTIN, escaped value, other parameters")
            << u"https://example.com/shop/products/01/9506000134352/21/A%2FB%20C?linkType=gs1:pip&3103=000500"_s << false << true << u"example.com"_s
            << QStringList{u"01|GTIN|09506000134352|09506000134352"_s, u"21|Serial number|A/B C|A/B C"_s, u"3103|Net weight (kg)|000500|0.500"_s};
        QTest::newRow("Digital Link with a wrong check digit")
            << u"https://id.gs1.org/01/09506000134353"_s << false << true << u"id.gs1.org"_s << QStringList{u"01|GTIN|09506000134353|09506000134353|!"_s};
        QTest::newRow("look-alike host shows in its ASCII form")
            << u"https://ıd.gs1.org/01/09506000134352"_s << false << true << u"xn--d-eka.gs1.org"_s << QStringList{u"01|GTIN|09506000134352|09506000134352"_s};
        QTest::newRow("web address that carries no key") << u"https://example.com/about/01"_s << false << false << QString() << QStringList{};
        QTest::newRow("key followed by a page that is no identifier")
            << u"https://example.com/01/09506000134352/help/me"_s << false << false << QString() << QStringList{};
        QTest::newRow("other scheme") << u"ftp://id.gs1.org/01/09506000134352"_s << true << true << QString()
                                      << QStringList{u"|Unreadable data|ftp://id.gs1.org/01/09506000134352|ftp://id.gs1.org/01/09506000134352|!"_s};
        QTest::newRow("empty") << QString() << true << false << QString() << QStringList{};
    }

    void testParse()
    {
        QFETCH(QString, text);
        QFETCH(bool, isGs1);
        QFETCH(bool, recognised);
        QFETCH(QString, host);
        QFETCH(QStringList, elements);

        const std::optional<Gs1Elements> data = Gs1Elements::parse(text, isGs1, today);
        QCOMPARE(data.has_value(), recognised);
        if (data) {
            QCOMPARE(data->host, host);
            QCOMPARE(described(*data), elements);
        }
    }

    void testLargePayloads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isGs1");
        QTest::addColumn<bool>("recognised");

        QTest::newRow("a chain of linked symbols full of short elements") << u"(10)A"_s.repeated(47 * 1024 / 5) << true << true;
        QTest::newRow("a chain of linked symbols full of brackets") << (u"(10)"_s + u"(("_s.repeated(47 * 512)) << true << true;
        QTest::newRow("separated form, 1 MB") << u"10A\x1d"_s.repeated(1024 * 1024 / 4) << true << false;
        QTest::newRow("Digital Link with 1 MB of path") << (u"https://id.gs1.org"_s + u"/01/09506000134352"_s.repeated(1024 * 1024 / 18)) << false << false;
    }

    void testLargePayloads()
    {
        QFETCH(QString, text);
        QFETCH(bool, isGs1);
        QFETCH(bool, recognised);

        Brevlinder::Test::ParsingTimer timer;
        timer.start();
        const std::optional<Gs1Elements> data = Gs1Elements::parse(text, isGs1, today);
        QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(data.has_value(), recognised);
    }
};

QTEST_GUILESS_MAIN(Gs1ElementsTest)

#include "gs1elementstest.moc"
