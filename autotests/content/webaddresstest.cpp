// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "webaddress.h"

#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

class WebAddressTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testParse_data()
    {
        QTest::addColumn<QString>("text");
        // Empty when the text is no web address.
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("warnings");

        QTest::newRow("https") << u"https://kde.org/announcements/"_s << u"kde.org"_s << 0;
        QTest::newRow("http with port and query") << u"http://example.org:8080/a?b=c#d"_s << u"example.org"_s << 0;
        QTest::newRow("scheme in capitals") << u"HTTPS://EXAMPLE.ORG"_s << u"example.org"_s << 0;
        QTest::newRow("surrounding line break") << u"https://example.org/\n"_s << u"example.org"_s << 0;
        QTest::newRow("user name that looks like a host") << u"https://bank.example@elsewhere.example/login"_s << u"elsewhere.example"_s << 1;
        QTest::newRow("space inside") << u"https://example.org/a b"_s << QString() << 0;
        QTest::newRow("second line of prose") << u"https://example.org/\nand more"_s << QString() << 0;
        QTest::newRow("control character") << u"https://example.org/\u0007"_s << QString() << 0;
        QTest::newRow("no host") << u"https:///path"_s << QString() << 0;
        QTest::newRow("other scheme") << u"ftp://example.org/"_s << QString() << 0;
        QTest::newRow("prose with an address") << u"See https://example.org/"_s << QString() << 0;
        QTest::newRow("scheme alone") << u"https://"_s << QString() << 0;
    }

    void testParse()
    {
        QFETCH(QString, text);
        QFETCH(QString, host);
        QFETCH(int, warnings);

        const std::optional<WebAddress> address = WebAddress::parse(text);
        QCOMPARE(address.has_value(), !host.isEmpty());
        if (address) {
            QCOMPARE(address->host, host);
            QCOMPARE(address->warnings.size(), warnings);
            QCOMPARE(address->url, QUrl(text.trimmed()));
        }
    }

    void hugeAddressIsRefused()
    {
        QVERIFY(!WebAddress::parse(u"https://example.org/"_s + QString(1024 * 1024, u'a')));
    }
};

QTEST_GUILESS_MAIN(WebAddressTest)

#include "webaddresstest.moc"
