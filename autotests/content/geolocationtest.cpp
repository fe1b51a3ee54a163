// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "geolocation.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

class GeoLocationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testParse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("recognised");
        // "latitude longitude altitude uncertainty crs", each value followed by "!" when its check fails.
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("placeholder");
        QTest::addColumn<int>("warnings");

        QTest::newRow("two coordinates") << u"geo:13.4125,103.8667"_s << true << u"13.4125 103.8667 - - wgs84"_s << QString() << QString() << false << 0;
        QTest::newRow("altitude") << u"geo:48.2010,16.3695,183"_s << true << u"48.2010 16.3695 183 - wgs84"_s << QString() << QString() << false << 0;
        QTest::newRow("crs then uncertainty, any case")
            << u"GEO:48.198634,-16.371648;CRS=WGS84;U=40"_s << true << u"48.198634 -16.371648 - 40 WGS84"_s << QString() << QString() << false << 0;
        QTest::newRow("other reference system is flagged")
            << u"geo:4.5,7.25;crs=Moon-2011;u=35"_s << true << u"4.5 7.25 - 35 Moon-2011!"_s << QString() << QString() << false << 0;
        QTest::newRow("percent-encoded parameter") << u"geo:66,30;u=6.500;FOo=this%2dthat"_s << true << u"66 30 - 6.500 wgs84"_s << QString() << QString()
                                                   << false << 0;
        QTest::newRow("south pole") << u"geo:-90,180"_s << true << u"-90 180 - - wgs84"_s << QString() << QString() << false << 0;
        QTest::newRow("latitude beyond the pole") << u"geo:90.5,10"_s << true << u"90.5! 10 - - wgs84"_s << QString() << QString() << false << 0;
        QTest::newRow("longitude out of range") << u"geo:10,-180.01"_s << true << u"10 -180.01! - - wgs84"_s << QString() << QString() << false << 0;
        QTest::newRow("uncertainty that is no number") << u"geo:1,2;u=-5"_s << true << u"1 2 - -5 wgs84"_s << QString() << QString() << false << 1;
        QTest::newRow("search by address") << u"geo:0,0?q=1600+Amphitheatre+Parkway%2C+CA"_s << true << u"0 0 - - wgs84"_s << QString()
                                           << u"1600 Amphitheatre Parkway, CA"_s << true << 0;
        QTest::newRow("coordinates with a label in the search")
            << u"geo:0,0?q=34.99,-106.61(Treasure%20%C3%98)&z=11"_s << true << u"34.99 -106.61 - - wgs84"_s << u"Treasure Ø"_s << QString() << false << 0;
        QTest::newRow("label beside real coordinates keeps them")
            << u"geo:1.5,2.5?q=3,4(Here)"_s << true << u"1.5 2.5 - - wgs84"_s << u"Here"_s << QString() << false << 0;
        QTest::newRow("label search beyond the pole") << u"geo:0,0?q=95,10(X)"_s << true << u"95! 10 - - wgs84"_s << u"X"_s << QString() << false << 0;
        QTest::newRow("exponent is no coordinate") << u"geo:1e3,2"_s << false << QString() << QString() << QString() << false << 0;
        QTest::newRow("words are no coordinates") << u"geo:here,there"_s << false << QString() << QString() << QString() << false << 0;
        QTest::newRow("one coordinate") << u"geo:12"_s << false << QString() << QString() << QString() << false << 0;
        QTest::newRow("four coordinates") << u"geo:1,2,3,4"_s << false << QString() << QString() << QString() << false << 0;
        QTest::newRow("dangling point") << u"geo:1.,2"_s << false << QString() << QString() << QString() << false << 0;
        QTest::newRow("NUL after the coordinates") << u"geo:1,2\0"_s << false << QString() << QString() << QString() << false << 0;
        QTest::newRow("prose") << u"Meet me at geo:1,2"_s << false << QString() << QString() << QString() << false << 0;
        QTest::newRow("unterminated label") << u"geo:0,0?q=1,2(Label"_s << true << u"0 0 - - wgs84"_s << QString() << u"1,2(Label"_s << true << 0;
    }

    void testParse()
    {
        QFETCH(QString, text);
        QFETCH(bool, recognised);
        QFETCH(QString, place);
        QFETCH(QString, label);
        QFETCH(QString, query);
        QFETCH(bool, placeholder);
        QFETCH(int, warnings);

        const std::optional<GeoLocation> location = GeoLocation::parse(text);
        QCOMPARE(location.has_value(), recognised);
        if (!location) {
            return;
        }
        const auto shown = [](const QString &value, bool sound = true) {
            return (value.isEmpty() ? u"-"_s : value) + (sound ? QString() : u"!"_s);
        };
        QCOMPARE(QStringList({shown(location->latitude.value, location->latitude.isSound()),
                              shown(location->longitude.value, location->longitude.isSound()),
                              shown(location->altitude),
                              shown(location->uncertainty),
                              shown(location->coordinateSystem.value, location->coordinateSystem.isSound())})
                     .join(u' '),
                 place);
        QCOMPARE(location->label, label);
        QCOMPARE(location->query, query);
        QCOMPARE(location->coordinatesArePlaceholder, placeholder);
        QCOMPARE(location->warnings.size(), warnings);
    }

    void testLargePayloads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("recognised");

        QTest::newRow("a chain of linked symbols of parameters") << (u"geo:1,2"_s + u";u=1"_s.repeated(47 * 1024 / 4)) << true;
        QTest::newRow("1 MB of digits") << (u"geo:1."_s + u"5"_s.repeated(1024 * 1024) + u",2"_s) << false;
    }

    void testLargePayloads()
    {
        QFETCH(QString, text);
        QFETCH(bool, recognised);

        Brevlinder::Test::ParsingTimer timer;
        timer.start();
        const std::optional<GeoLocation> location = GeoLocation::parse(text);
        QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(location.has_value(), recognised);
    }
};

QTEST_GUILESS_MAIN(GeoLocationTest)

#include "geolocationtest.moc"
