// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "otpsetup.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

namespace
{
QString shown(const CheckedValue &value)
{
    return value.value + (value.isSound() ? QString() : u"!"_s);
}
}

class OtpSetupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testParse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("recognised");
        QTest::addColumn<bool>("counterBased");
        // "issuer|label issuer|account"
        QTest::addColumn<QString>("who");
        // "secret algorithm digits period counter", each followed by "!" when its check fails.
        QTest::addColumn<QString>("parameters");
        // Warnings besides the one that every set-up carries.
        QTest::addColumn<int>("warnings");

        QTest::newRow("example with every parameter")
            << u"otpauth://totp/ACME%20Co:john.doe@email.com?secret=HXDMVJECJJWSRB3HWIZR4IFUGFTMXBOZ&issuer=ACME%20Co&algorithm=SHA1&digits=6&period=30"_s
            << true << false << u"ACME Co|ACME Co|john.doe@email.com"_s << u"HXDMVJECJJWSRB3HWIZR4IFUGFTMXBOZ SHA1 6 30 "_s << 0;
        QTest::newRow("defaults, account only") << u"otpauth://totp/alice@google.com?secret=JBSWY3DPEHPK3PXP"_s << true << false << u"||alice@google.com"_s
                                                << u"JBSWY3DPEHPK3PXP SHA1 6 30 "_s << 0;
        QTest::newRow("issuer only as a parameter, spaces after the colon")
            << u"otpauth://totp/Example:%20%20alice?issuer=Example&secret=JBSWY3DPEHPK3PXP&algorithm=sha256&digits=8&period=60"_s << true << false
            << u"Example|Example|alice"_s << u"JBSWY3DPEHPK3PXP SHA256 8 60 "_s << 0;
        QTest::newRow("issuer written with plus signs") << u"otpauth://totp/Big%20Bank:bob?secret=JBSWY3DPEHPK3PXP&issuer=Big+Bank"_s << true << false
                                                        << u"Big Bank|Big Bank|bob"_s << u"JBSWY3DPEHPK3PXP SHA1 6 30 "_s << 0;
        QTest::newRow("issuers that differ") << u"otpauth://totp/PayPal:bob?secret=JBSWY3DPEHPK3PXP&issuer=Evil"_s << true << false << u"Evil|PayPal|bob"_s
                                             << u"JBSWY3DPEHPK3PXP SHA1 6 30 "_s << 1;
        QTest::newRow("hotp with counter") << u"otpauth://hotp/Ex:bob?secret=JBSWY3DPEHPK3PXP&counter=42&digits=7&algorithm=SHA512"_s << true << true
                                           << u"Ex|Ex|bob"_s << u"JBSWY3DPEHPK3PXP SHA512 7  42"_s << 0;
        QTest::newRow("hotp without counter") << u"otpauth://HOTP/bob?secret=JBSWY3DPEHPK3PXP"_s << true << true << u"||bob"_s
                                              << u"JBSWY3DPEHPK3PXP SHA1 6  !"_s << 0;
        QTest::newRow("hotp with a counter that is no number")
            << u"otpauth://hotp/bob?secret=JBSWY3DPEHPK3PXP&counter=-1"_s << true << true << u"||bob"_s << u"JBSWY3DPEHPK3PXP SHA1 6  -1!"_s << 0;
        QTest::newRow("lower case, spaces and padding are normalised with a warning")
            << u"otpauth://totp/bob?secret=jbsw%20y3dp%20ehpk%203pxp&x"_s << true << false << u"||bob"_s << u"JBSWY3DPEHPK3PXP SHA1 6 30 "_s << 1;
        QTest::newRow("padding to a whole block") << u"otpauth://totp/bob?secret=MZXW6==="_s << true << false << u"||bob"_s << u"MZXW6 SHA1 6 30 "_s << 1;
        QTest::newRow("padding that does not fit") << u"otpauth://totp/bob?secret=MZXW6=="_s << true << false << u"||bob"_s << u"MZXW6! SHA1 6 30 "_s << 0;
        QTest::newRow("letters after the padding") << u"otpauth://totp/bob?secret=MZ======XW"_s << true << false << u"||bob"_s << u"MZXW! SHA1 6 30 "_s << 0;
        QTest::newRow("not base32") << u"otpauth://totp/bob?secret=JBSWY3DPEHPK3PX1"_s << true << false << u"||bob"_s << u"JBSWY3DPEHPK3PX1! SHA1 6 30 "_s << 0;
        QTest::newRow("length that leaves stray bits")
            << u"otpauth://totp/bob?secret=JBSWY3DPE"_s << true << false << u"||bob"_s << u"JBSWY3DPE! SHA1 6 30 "_s << 0;
        QTest::newRow("no secret") << u"otpauth://totp/bob?issuer=X"_s << true << false << u"X||bob"_s << u"! SHA1 6 30 "_s << 0;
        QTest::newRow("the first secret counts") << u"otpauth://totp/bob?secret=JBSWY3DPEHPK3PXP&secret=MZXW6YTB"_s << true << false << u"||bob"_s
                                                 << u"JBSWY3DPEHPK3PXP SHA1 6 30 "_s << 0;
        QTest::newRow("unknown algorithm, digits and period") << u"otpauth://totp/bob?secret=JBSWY3DPEHPK3PXP&algorithm=MD5&digits=10&period=0"_s << true
                                                              << false << u"||bob"_s << u"JBSWY3DPEHPK3PXP MD5! 10! 0! "_s << 0;
        QTest::newRow("period that is no number") << u"otpauth://totp/bob?secret=JBSWY3DPEHPK3PXP&period=30s"_s << true << false << u"||bob"_s
                                                  << u"JBSWY3DPEHPK3PXP SHA1 6 30s! "_s << 0;
        QTest::newRow("NUL and control characters in the label") << u"otpauth://totp/A%00B:c%07d?secret=JBSWY3DPEHPK3PXP"_s << true << false
                                                                 << u"A\0B|A\0B|c\x07"
                                                                    "d"_s
                                                                 << u"JBSWY3DPEHPK3PXP SHA1 6 30 "_s << 0;
        QTest::newRow("unknown kind") << u"otpauth://steam/bob?secret=JBSWY3DPEHPK3PXP"_s << false << false << QString() << QString() << 0;
        QTest::newRow("migration export is another format")
            << u"otpauth-migration://offline?data=CjEKCkhlbGxv"_s << false << false << QString() << QString() << 0;
        QTest::newRow("prose") << u"see otpauth://totp/bob?secret=JBSWY3DPEHPK3PXP"_s << false << false << QString() << QString() << 0;
    }

    void testParse()
    {
        QFETCH(QString, text);
        QFETCH(bool, recognised);
        QFETCH(bool, counterBased);
        QFETCH(QString, who);
        QFETCH(QString, parameters);
        QFETCH(int, warnings);

        const std::optional<OtpSetup> setup = OtpSetup::parse(text);
        QCOMPARE(setup.has_value(), recognised);
        if (!setup) {
            return;
        }
        QCOMPARE(setup->kind == OtpSetup::Kind::CounterBased, counterBased);
        QCOMPARE(QStringList({setup->issuer, setup->labelIssuer, setup->account}).join(u'|'), who);
        QCOMPARE(QStringList({shown(setup->secret), shown(setup->algorithm), shown(setup->digits), shown(setup->period), shown(setup->counter)}).join(u' '),
                 parameters);
        QCOMPARE(setup->warnings.size(), warnings + 1);
        QVERIFY(setup->warnings.last().toString().contains(u"second-factor"_s));
    }

    void testLargePayloads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("recognised");

        QTest::newRow("a chain of linked symbols of secret") << (u"otpauth://totp/bob?secret="_s + u"JBSW Y3DP"_s.repeated(47 * 1024 / 9)) << true;
        QTest::newRow("a chain of linked symbols of parameters") << (u"otpauth://totp/bob?"_s + u"a=b&"_s.repeated(47 * 1024 / 4)) << true;
        QTest::newRow("1 MB label") << (u"otpauth://totp/"_s + u"%41"_s.repeated(1024 * 1024 / 3)) << false;
    }

    void testLargePayloads()
    {
        QFETCH(QString, text);
        QFETCH(bool, recognised);

        Brevlinder::Test::ParsingTimer timer;
        timer.start();
        const std::optional<OtpSetup> setup = OtpSetup::parse(text);
        QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(setup.has_value(), recognised);
    }
};

QTEST_GUILESS_MAIN(OtpSetupTest)

#include "otpsetuptest.moc"
