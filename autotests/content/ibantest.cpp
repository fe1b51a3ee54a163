// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "iban.h"
#include "paymentreference.h"

#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

class IbanTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void check_data();
    void check();
    void grouped_data();
    void grouped();
    void qrIban_data();
    void qrIban();
    void creditorReference_data();
    void creditorReference();
    void qrReference_data();
    void qrReference();
};

void IbanTest::check_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    // Empty when the IBAN is sound, else a word of the problem that must be reported.
    QTest::addColumn<QString>("problem");

    QTest::newRow("German") << u"DE89370400440532013000"_s << u"DE89370400440532013000"_s << QString();
    QTest::newRow("British, letters in the account") << u"GB82WEST12345698765432"_s << u"GB82WEST12345698765432"_s << QString();
    QTest::newRow("Belgian, from a payment code's example") << u"BE72000000001616"_s << u"BE72000000001616"_s << QString();
    QTest::newRow("Swiss") << u"CH9300762011623852957"_s << u"CH9300762011623852957"_s << QString();
    QTest::newRow("shortest, Norwegian") << u"NO9386011117947"_s << u"NO9386011117947"_s << QString();
    QTest::newRow("longest, 34 characters") << u"FR18111111111111111111111111111111"_s << u"FR18111111111111111111111111111111"_s << QString();
    QTest::newRow("printed in groups") << u"DE89 3704 0044 0532 0130 00"_s << u"DE89370400440532013000"_s << QString();
    QTest::newRow("check digits 97") << u"DE97370400440000000060"_s << u"DE97370400440000000060"_s << QString();

    QTest::newRow("made-up check digits") << u"DE12345678901234567890"_s << u"DE12345678901234567890"_s << u"check digits"_s;
    QTest::newRow("two digits swapped") << u"DE89370400440523013000"_s << u"DE89370400440523013000"_s << u"check digits"_s;
    QTest::newRow("one digit wrong") << u"CH9300762011623852958"_s << u"CH9300762011623852958"_s << u"check digits"_s;
    // These pass the remainder test exactly when 97, 98 and 02 would.
    QTest::newRow("check digits 00") << u"DE00370400440000000060"_s << u"DE00370400440000000060"_s << u"check digits"_s;
    QTest::newRow("check digits 01") << u"DE01370400440000000042"_s << u"DE01370400440000000042"_s << u"check digits"_s;
    QTest::newRow("check digits 99") << u"DE99370400440000000024"_s << u"DE99370400440000000024"_s << u"check digits"_s;
    QTest::newRow("lower case") << u"de89370400440532013000"_s << u"de89370400440532013000"_s << u"capital letters"_s;
    QTest::newRow("hyphens") << u"DE89-3704-0044-0532-0130-00"_s << u"DE89-3704-0044-0532-0130-00"_s << u"capital letters"_s;
    QTest::newRow("NUL byte") << u"DE8937040044\u00000532013000"_s << u"DE8937040044\u00000532013000"_s << u"capital letters"_s;
    QTest::newRow("too short") << u"DE8937040044"_s << u"DE8937040044"_s << u"15 to 34"_s;
    QTest::newRow("too long") << u"FR181111111111111111111111111111111"_s << u"FR181111111111111111111111111111111"_s << u"15 to 34"_s;
    QTest::newRow("no country") << u"1289370400440532013000"_s << u"1289370400440532013000"_s << u"two letters"_s;
    QTest::newRow("no check digits") << u"DEAB370400440532013000"_s << u"DEAB370400440532013000"_s << u"two letters"_s;
    QTest::newRow("empty") << QString() << QString() << u"missing"_s;
    QTest::newRow("only spaces") << u"    "_s << QString() << u"missing"_s;
}

void IbanTest::check()
{
    QFETCH(QString, text);
    QFETCH(QString, value);
    QFETCH(QString, problem);

    const CheckedValue iban = Iban::check(text);
    QCOMPARE(iban.value, value);
    if (problem.isEmpty()) {
        QVERIFY2(iban.isSound(), qPrintable(iban.problem.toString()));
    } else {
        QVERIFY(!iban.isSound());
        QVERIFY2(iban.problem.toString().contains(problem), qPrintable(iban.problem.toString()));
    }
}

void IbanTest::grouped_data()
{
    QTest::addColumn<QString>("iban");
    QTest::addColumn<QString>("grouped");

    QTest::newRow("22 characters") << u"DE89370400440532013000"_s << u"DE89 3704 0044 0532 0130 00"_s;
    QTest::newRow("multiple of four") << u"BE72000000001616"_s << u"BE72 0000 0000 1616"_s;
    QTest::newRow("shorter than a group") << u"DE8"_s << u"DE8"_s;
    QTest::newRow("empty") << QString() << QString();
}

void IbanTest::grouped()
{
    QFETCH(QString, iban);
    QFETCH(QString, grouped);
    QCOMPARE(Iban::grouped(iban), grouped);
}

void IbanTest::qrIban_data()
{
    QTest::addColumn<QString>("iban");
    QTest::addColumn<bool>("qrIban");

    QTest::newRow("lowest institution") << u"CH5730000123456789012"_s << true;
    QTest::newRow("highest institution") << u"CH4431999123000889012"_s << true;
    QTest::newRow("Liechtenstein") << u"LI2131000000000000000"_s << true;
    QTest::newRow("ordinary Swiss") << u"CH5800791123000889012"_s << false;
    QTest::newRow("just above") << u"CH0032000123000889012"_s << false;
    QTest::newRow("just below") << u"CH0029999123000889012"_s << false;
    QTest::newRow("other country") << u"DE0031000123000889012"_s << false;
    QTest::newRow("too short") << u"CH00310001230008890"_s << false;
    QTest::newRow("letters in the institution") << u"CH0031A00123000889012"_s << false;
}

void IbanTest::qrIban()
{
    QFETCH(QString, iban);
    QFETCH(bool, qrIban);
    QCOMPARE(Iban::isQrIban(iban), qrIban);
}

void IbanTest::creditorReference_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("problem");

    QTest::newRow("standard's example") << u"RF18539007547034"_s << u"RF18539007547034"_s << QString();
    QTest::newRow("printed in groups") << u"RF18 5390 0754 7034"_s << u"RF18539007547034"_s << QString();
    QTest::newRow("padded with zeros to 25") << u"RF18000000000539007547034"_s << u"RF18000000000539007547034"_s << QString();
    QTest::newRow("letters") << u"RF712348231"_s << u"RF712348231"_s << QString();
    QTest::newRow("wrong check digits") << u"RF19539007547034"_s << u"RF19539007547034"_s << u"check digits"_s;
    QTest::newRow("26 characters") << u"RF180000000000539007547034"_s << u"RF180000000000539007547034"_s << u"5 to 25"_s;
    QTest::newRow("nothing after the check digits") << u"RF18"_s << u"RF18"_s << u"5 to 25"_s;
    QTest::newRow("not RF") << u"RX18539007547034"_s << u"RX18539007547034"_s << u"begin with RF"_s;
    QTest::newRow("letters as check digits") << u"RFAB539007547034"_s << u"RFAB539007547034"_s << u"two check digits"_s;
    QTest::newRow("punctuation") << u"RF18-5390-0754"_s << u"RF18-5390-0754"_s << u"capital letters"_s;
    QTest::newRow("lower case") << u"RF18abc"_s << u"RF18abc"_s << u"capital letters"_s;
}

void IbanTest::creditorReference()
{
    QFETCH(QString, text);
    QFETCH(QString, value);
    QFETCH(QString, problem);

    const CheckedValue reference = PaymentReference::checkCreditorReference(text);
    QCOMPARE(reference.value, value);
    if (problem.isEmpty()) {
        QVERIFY2(reference.isSound(), qPrintable(reference.problem.toString()));
    } else {
        QVERIFY2(reference.problem.toString().contains(problem), qPrintable(reference.problem.toString()));
    }
}

void IbanTest::qrReference_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("problem");

    QTest::newRow("guidelines' example") << u"210000000003139471430009017"_s << QString();
    QTest::newRow("all zeros") << u"000000000000000000000000000"_s << QString();
    QTest::newRow("every digit") << u"123456789012345678901234567"_s << QString();
    QTest::newRow("wrong check digit") << u"210000000003139471430009016"_s << u"check digit"_s;
    QTest::newRow("two digits swapped") << u"210000000003139471340009017"_s << u"check digit"_s;
    QTest::newRow("26 digits") << u"21000000000313947143000901"_s << u"26 characters"_s;
    QTest::newRow("28 digits") << u"2100000000031394714300090170"_s << u"28 characters"_s;
    QTest::newRow("grouped with spaces") << u"21 00000 00003 13947 14300 09017"_s << u"32 characters"_s;
    QTest::newRow("a letter") << u"21000000000313947143000901A"_s << u"only digits"_s;
    QTest::newRow("Arabic-Indic digit") << u"21000000000313947143000901\u0667"_s << u"only digits"_s;
    QTest::newRow("empty") << QString() << u"0 characters"_s;
}

void IbanTest::qrReference()
{
    QFETCH(QString, text);
    QFETCH(QString, problem);

    const CheckedValue reference = PaymentReference::checkQrReference(text);
    QCOMPARE(reference.value, text);
    if (problem.isEmpty()) {
        QVERIFY2(reference.isSound(), qPrintable(reference.problem.toString()));
    } else {
        QVERIFY2(reference.problem.toString().contains(problem), qPrintable(reference.problem.toString()));
    }
}

QTEST_GUILESS_MAIN(IbanTest)

#include "ibantest.moc"
