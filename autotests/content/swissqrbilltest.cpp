// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "swissqrbill.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

namespace
{
// A bill with a QR reference to a QR-IBAN, a debtor, billing information and both alternative schemes, as the
// implementation guidelines show one.
const QStringList exampleLines = {
    u"SPC"_s,
    u"0200"_s,
    u"1"_s,
    u"CH4431999123000889012"_s,
    u"S"_s,
    u"Robert Schneider AG"_s,
    u"Rue du Lac"_s,
    u"1268"_s,
    u"2501"_s,
    u"Biel"_s,
    u"CH"_s,
    u""_s,
    u""_s,
    u""_s,
    u""_s,
    u""_s,
    u""_s,
    u""_s,
    u"1949.75"_s,
    u"CHF"_s,
    u"S"_s,
    u"Pia-Maria Rutschmann-Schnyder"_s,
    u"Grosse Marktgasse"_s,
    u"28"_s,
    u"9400"_s,
    u"Rorschach"_s,
    u"CH"_s,
    u"QRR"_s,
    u"210000000003139471430009017"_s,
    u"Order dated 18.06.2020"_s,
    u"EPD"_s,
    u"//S1/10/10201409/11/200701/20/140.000-53/30/102673831/31/200615/32/7.7/33/7.7:50.00/40/0:30"_s,
    u"Name AV1: UV;UltraPay005;12345"_s,
    u"Name AV2: XY;XYService;54321"_s,
};

constexpr int ibanLine = 3;
constexpr int creditorLine = 4;
constexpr int ultimateCreditorLine = 11;
constexpr int amountLine = 18;
constexpr int currencyLine = 19;
constexpr int debtorLine = 20;
constexpr int referenceTypeLine = 27;
constexpr int referenceLine = 28;
constexpr int messageLine = 29;
constexpr int billingLine = 31;

// The example with the given lines replaced, cut after @p lineCount lines.
QString exampleWith(const QList<std::pair<int, QString>> &replacements, qsizetype lineCount = 34)
{
    QStringList lines = exampleLines;
    for (const auto &[index, line] : replacements) {
        lines[index] = line;
    }
    return lines.first(lineCount).join(u'\n');
}

// A bill with a creditor reference to an ordinary IBAN, without debtor and amount.
QString creditorReferenceBill(const QList<std::pair<int, QString>> &replacements = {})
{
    QList<std::pair<int, QString>> all = {{ibanLine, u"CH5800791123000889012"_s},
                                          {amountLine, QString()},
                                          {referenceTypeLine, u"SCOR"_s},
                                          {referenceLine, u"RF18539007547034"_s}};
    for (int line = debtorLine; line < debtorLine + 7; ++line) {
        all.append({line, QString()});
    }
    return exampleWith(all + replacements, 31);
}

QString warningTexts(const SwissQrBill &bill)
{
    QStringList texts;
    for (const KLocalizedString &warning : bill.warnings) {
        texts.append(warning.toString());
    }
    return texts.join(u'\n');
}

void verifyProblem(const CheckedValue &value, const QString &problem)
{
    if (problem.isEmpty()) {
        QVERIFY2(value.isSound(), qPrintable(value.value + u": "_s + value.problem.toString()));
    } else {
        QVERIFY2(value.problem.toString().contains(problem), qPrintable(value.value + u": "_s + value.problem.toString()));
    }
}
}

class SwissQrBillTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void example();
    void creditorReferenceExample();
    void layouts_data();
    void layouts();
    void iban_data();
    void iban();
    void references_data();
    void references();
    void amounts_data();
    void amounts();
    void addresses_data();
    void addresses();
    void warnings_data();
    void warnings();
    void notBills_data();
    void notBills();
    void largePayloads_data();
    void largePayloads();
};

void SwissQrBillTest::example()
{
    const auto bill = SwissQrBill::parse(exampleLines.join(u"\r\n"_s));
    QVERIFY(bill);
    QCOMPARE(bill->version, u"0200"_s);
    QCOMPARE(bill->iban.value, u"CH4431999123000889012"_s);
    QCOMPARE(bill->creditor.type, u"S"_s);
    QCOMPARE(bill->creditor.name, u"Robert Schneider AG"_s);
    QCOMPARE(bill->creditor.streetOrLine1, u"Rue du Lac"_s);
    QCOMPARE(bill->creditor.buildingNumberOrLine2, u"1268"_s);
    QCOMPARE(bill->creditor.postalCode, u"2501"_s);
    QCOMPARE(bill->creditor.town, u"Biel"_s);
    QCOMPARE(bill->creditor.country, u"CH"_s);
    QCOMPARE(bill->amount.value, u"1949.75"_s);
    QCOMPARE(bill->currency.value, u"CHF"_s);
    QVERIFY(bill->debtor);
    QCOMPARE(bill->debtor->name, u"Pia-Maria Rutschmann-Schnyder"_s);
    QCOMPARE(bill->debtor->town, u"Rorschach"_s);
    QCOMPARE(bill->referenceType, SwissQrBill::ReferenceType::QrReference);
    QCOMPARE(bill->reference.value, u"210000000003139471430009017"_s);
    QCOMPARE(bill->message, u"Order dated 18.06.2020"_s);
    QCOMPARE(bill->billingInformation, exampleLines.at(billingLine));
    QCOMPARE(bill->alternativeSchemes, exampleLines.mid(32));
    for (const CheckedValue &value : {bill->iban, bill->amount, bill->currency, bill->reference}) {
        verifyProblem(value, QString());
    }
    QVERIFY2(bill->creditor.problem.isEmpty(), qPrintable(bill->creditor.problem.toString()));
    QVERIFY2(bill->debtor->problem.isEmpty(), qPrintable(bill->debtor->problem.toString()));
    QVERIFY2(bill->warnings.isEmpty(), qPrintable(warningTexts(*bill)));
}

void SwissQrBillTest::creditorReferenceExample()
{
    const auto bill = SwissQrBill::parse(creditorReferenceBill());
    QVERIFY(bill);
    QCOMPARE(bill->referenceType, SwissQrBill::ReferenceType::CreditorReference);
    verifyProblem(bill->reference, QString());
    verifyProblem(bill->iban, QString());
    QCOMPARE(bill->amount.value, QString());
    verifyProblem(bill->amount, QString());
    QVERIFY(!bill->debtor);
    QCOMPARE(bill->billingInformation, QString());
    QVERIFY(bill->alternativeSchemes.isEmpty());
    QVERIFY2(bill->warnings.isEmpty(), qPrintable(warningTexts(*bill)));
}

void SwissQrBillTest::layouts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("billingInformation");
    QTest::addColumn<int>("alternativeSchemes");

    const QString billing = exampleLines.at(billingLine);
    QTest::newRow("LF") << exampleLines.join(u'\n') << billing << 2;
    QTest::newRow("CRLF") << exampleLines.join(u"\r\n"_s) << billing << 2;
    QTest::newRow("one line break after the last line") << exampleLines.join(u'\n') + u'\n' << billing << 2;
    QTest::newRow("one CRLF after the last line") << exampleLines.join(u"\r\n"_s) + u"\r\n"_s << billing << 2;
    QTest::newRow("one alternative scheme") << exampleWith({}, 33) << billing << 1;
    QTest::newRow("billing information only") << exampleWith({}, 32) << billing << 0;
    QTest::newRow("ending with EPD") << exampleWith({}, 31) << QString() << 0;
    QTest::newRow("empty billing information before a scheme") << exampleWith({{billingLine, QString()}}, 33) << QString() << 1;
}

void SwissQrBillTest::layouts()
{
    QFETCH(QString, text);
    QFETCH(QString, billingInformation);
    QFETCH(int, alternativeSchemes);

    const auto bill = SwissQrBill::parse(text);
    QVERIFY(bill);
    QCOMPARE(bill->creditor.name, u"Robert Schneider AG"_s);
    QCOMPARE(bill->message, u"Order dated 18.06.2020"_s);
    QCOMPARE(bill->billingInformation, billingInformation);
    QCOMPARE(bill->alternativeSchemes.size(), alternativeSchemes);
    for (const QString &scheme : bill->alternativeSchemes) {
        QVERIFY2(!scheme.endsWith(u'\r'), qPrintable(scheme));
    }
    verifyProblem(bill->reference, QString());
}

void SwissQrBillTest::iban_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("problem");

    QTest::newRow("Liechtenstein QR-IBAN") << exampleWith({{ibanLine, u"LI2031000000000000000"_s}}) << u"LI2031000000000000000"_s << QString();
    QTest::newRow("check digits") << exampleWith({{ibanLine, u"CH4531999123000889012"_s}}) << u"CH4531999123000889012"_s << u"check digits"_s;
    QTest::newRow("with spaces") << exampleWith({{ibanLine, u"CH44 3199 9123 0008 8901 2"_s}}) << u"CH44 3199 9123 0008 8901 2"_s << u"without spaces"_s;
    QTest::newRow("German") << creditorReferenceBill({{ibanLine, u"DE89370400440532013000"_s}}) << u"DE89370400440532013000"_s
                            << u"Switzerland or Liechtenstein"_s;
    QTest::newRow("Swiss of 22") << creditorReferenceBill({{ibanLine, u"CH78007911230008890123"_s}}) << u"CH78007911230008890123"_s << u"21 characters"_s;
    QTest::newRow("missing") << creditorReferenceBill({{ibanLine, QString()}}) << QString() << u"missing"_s;
}

void SwissQrBillTest::iban()
{
    QFETCH(QString, text);
    QFETCH(QString, value);
    QFETCH(QString, problem);

    const auto bill = SwissQrBill::parse(text);
    QVERIFY(bill);
    QCOMPARE(bill->iban.value, value);
    verifyProblem(bill->iban, problem);
}

void SwissQrBillTest::references_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<SwissQrBill::ReferenceType>("type");
    QTest::addColumn<QString>("problem");

    using Type = SwissQrBill::ReferenceType;
    const QString qrIban = u"CH4431999123000889012"_s;
    const QString ordinaryIban = u"CH5800791123000889012"_s;

    QTest::newRow("QRR, wrong check digit") << exampleWith({{referenceLine, u"210000000003139471430009018"_s}}) << Type::QrReference << u"check digit"_s;
    QTest::newRow("QRR, 26 digits") << exampleWith({{referenceLine, u"21000000000313947143000901"_s}}) << Type::QrReference << u"27 digits"_s;
    QTest::newRow("QRR, grouped") << exampleWith({{referenceLine, u"21 00000 00003 13947 14300 09017"_s}}) << Type::QrReference << u"27 digits"_s;
    QTest::newRow("QRR, to an ordinary IBAN") << exampleWith({{ibanLine, ordinaryIban}}) << Type::QrReference << u"QR-IBAN"_s;
    QTest::newRow("SCOR") << creditorReferenceBill() << Type::CreditorReference << QString();
    QTest::newRow("SCOR, wrong check digits") << creditorReferenceBill({{referenceLine, u"RF19539007547034"_s}}) << Type::CreditorReference
                                              << u"check digits"_s;
    QTest::newRow("SCOR, grouped") << creditorReferenceBill({{referenceLine, u"RF18 5390 0754 7034"_s}}) << Type::CreditorReference << u"without spaces"_s;
    QTest::newRow("SCOR, a QR reference") << creditorReferenceBill({{referenceLine, u"210000000003139471430009017"_s}}) << Type::CreditorReference
                                          << u"begin with RF"_s;
    QTest::newRow("SCOR, to a QR-IBAN") << creditorReferenceBill({{ibanLine, qrIban}}) << Type::CreditorReference << u"QR-IBAN"_s;
    QTest::newRow("NON") << creditorReferenceBill({{referenceTypeLine, u"NON"_s}, {referenceLine, QString()}}) << Type::NoReference << QString();
    QTest::newRow("NON with a reference") << creditorReferenceBill({{referenceTypeLine, u"NON"_s}}) << Type::NoReference << u"gives one"_s;
    QTest::newRow("NON to a QR-IBAN") << creditorReferenceBill({{ibanLine, qrIban}, {referenceTypeLine, u"NON"_s}, {referenceLine, QString()}})
                                      << Type::NoReference << u"QR-IBAN"_s;
    QTest::newRow("lower case type") << exampleWith({{referenceTypeLine, u"qrr"_s}}) << Type::Unknown << u"QRR, SCOR or NON"_s;
    QTest::newRow("no type") << exampleWith({{referenceTypeLine, QString()}}) << Type::Unknown << u"QRR, SCOR or NON"_s;
}

void SwissQrBillTest::references()
{
    QFETCH(QString, text);
    QFETCH(SwissQrBill::ReferenceType, type);
    QFETCH(QString, problem);

    const auto bill = SwissQrBill::parse(text);
    QVERIFY(bill);
    QCOMPARE(bill->referenceType, type);
    verifyProblem(bill->reference, problem);
}

void SwissQrBillTest::amounts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("amountProblem");
    QTest::addColumn<QString>("currencyProblem");

    QTest::newRow("euros") << exampleWith({{currencyLine, u"EUR"_s}}) << QString() << QString();
    QTest::newRow("whole francs") << exampleWith({{amountLine, u"50"_s}}) << QString() << QString();
    QTest::newRow("largest") << exampleWith({{amountLine, u"999999999.99"_s}}) << QString() << QString();
    QTest::newRow("open amount") << exampleWith({{amountLine, QString()}}) << QString() << QString();
    QTest::newRow("zero") << exampleWith({{amountLine, u"0.00"_s}}) << u"between"_s << QString();
    QTest::newRow("too large") << exampleWith({{amountLine, u"1000000000.00"_s}}) << u"between"_s << QString();
    QTest::newRow("apostrophes") << exampleWith({{amountLine, u"1'949.75"_s}}) << u"point"_s << QString();
    QTest::newRow("comma") << exampleWith({{amountLine, u"1949,75"_s}}) << u"point"_s << QString();
    QTest::newRow("three decimals") << exampleWith({{amountLine, u"1949.755"_s}}) << u"point"_s << QString();
    QTest::newRow("currency with the amount") << exampleWith({{amountLine, u"CHF 1949.75"_s}}) << u"point"_s << QString();
    QTest::newRow("dollars") << exampleWith({{currencyLine, u"USD"_s}}) << QString() << u"CHF or EUR"_s;
    QTest::newRow("lower case currency") << exampleWith({{currencyLine, u"chf"_s}}) << QString() << u"CHF or EUR"_s;
    QTest::newRow("no currency") << exampleWith({{currencyLine, QString()}}) << QString() << u"CHF or EUR"_s;
}

void SwissQrBillTest::amounts()
{
    QFETCH(QString, text);
    QFETCH(QString, amountProblem);
    QFETCH(QString, currencyProblem);

    const auto bill = SwissQrBill::parse(text);
    QVERIFY(bill);
    verifyProblem(bill->amount, amountProblem);
    verifyProblem(bill->currency, currencyProblem);
}

void SwissQrBillTest::addresses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("creditorProblem");
    QTest::addColumn<bool>("hasDebtor");
    QTest::addColumn<QString>("debtorProblem");

    const auto withCreditor = [](const QStringList &parts) {
        QList<std::pair<int, QString>> replacements;
        for (int i = 0; i < 7; ++i) {
            replacements.append({creditorLine + i, parts.at(i)});
        }
        return exampleWith(replacements);
    };
    const auto withDebtor = [](const QStringList &parts) {
        QList<std::pair<int, QString>> replacements;
        for (int i = 0; i < 7; ++i) {
            replacements.append({debtorLine + i, parts.at(i)});
        }
        return exampleWith(replacements);
    };

    QTest::newRow("combined creditor") << withCreditor({u"K"_s, u"Robert Schneider AG"_s, u"Rue du Lac 1268"_s, u"2501 Biel"_s, {}, {}, u"CH"_s}) << QString()
                                       << true << QString();
    QTest::newRow("combined with a town apart") << withCreditor(
        {u"K"_s, u"Robert Schneider AG"_s, u"Rue du Lac 1268"_s, u"2501 Biel"_s, {}, u"Biel"_s, u"CH"_s})
                                                << u"not apart"_s << true << QString();
    QTest::newRow("combined without its second line") << withCreditor({u"K"_s, u"Robert Schneider AG"_s, u"Rue du Lac 1268"_s, {}, {}, {}, u"CH"_s})
                                                      << u"postcode and town"_s << true << QString();
    QTest::newRow("structured without a town") << withCreditor({u"S"_s, u"Robert Schneider AG"_s, u"Rue du Lac"_s, u"1268"_s, u"2501"_s, {}, u"CH"_s})
                                               << u"no town"_s << true << QString();
    QTest::newRow("structured without a street") << withCreditor({u"S"_s, u"Robert Schneider AG"_s, {}, {}, u"2501"_s, u"Biel"_s, u"CH"_s}) << QString() << true
                                                 << QString();
    QTest::newRow("building number of 17") << withCreditor(
        {u"S"_s, u"Robert Schneider AG"_s, u"Rue du Lac"_s, QString(17, u'1'), u"2501"_s, u"Biel"_s, u"CH"_s})
                                           << u"too long"_s << true << QString();
    QTest::newRow("town of 36") << withCreditor({u"S"_s, u"Robert Schneider AG"_s, u"Rue du Lac"_s, u"1268"_s, u"2501"_s, QString(36, u'b'), u"CH"_s})
                                << u"too long"_s << true << QString();
    QTest::newRow("name of 71") << withCreditor({u"S"_s, QString(71, u'n'), u"Rue du Lac"_s, u"1268"_s, u"2501"_s, u"Biel"_s, u"CH"_s}) << u"70 characters"_s
                                << true << QString();
    QTest::newRow("no name") << withCreditor({u"S"_s, {}, u"Rue du Lac"_s, u"1268"_s, u"2501"_s, u"Biel"_s, u"CH"_s}) << u"no name"_s << true << QString();
    QTest::newRow("unknown type") << withCreditor({u"X"_s, u"Robert Schneider AG"_s, u"Rue du Lac"_s, u"1268"_s, u"2501"_s, u"Biel"_s, u"CH"_s})
                                  << u"S (structured)"_s << true << QString();
    QTest::newRow("country by name") << withCreditor({u"S"_s, u"Robert Schneider AG"_s, u"Rue du Lac"_s, u"1268"_s, u"2501"_s, u"Biel"_s, u"Schweiz"_s})
                                     << u"two-letter"_s << true << QString();
    QTest::newRow("no creditor") << withCreditor({{}, {}, {}, {}, {}, {}, {}}) << u"S (structured)"_s << true << QString();
    QTest::newRow("no debtor") << withDebtor({{}, {}, {}, {}, {}, {}, {}}) << QString() << false << QString();
    QTest::newRow("debtor with only a name") << withDebtor({{}, u"Pia Rutschmann"_s, {}, {}, {}, {}, {}}) << QString() << true << u"S (structured)"_s;
    QTest::newRow("debtor without a country") << withDebtor({u"S"_s, u"Pia Rutschmann"_s, u"Marktgasse"_s, u"28"_s, u"9400"_s, u"Rorschach"_s, {}}) << QString()
                                              << true << u"two-letter"_s;
}

void SwissQrBillTest::addresses()
{
    QFETCH(QString, text);
    QFETCH(QString, creditorProblem);
    QFETCH(bool, hasDebtor);
    QFETCH(QString, debtorProblem);

    const auto bill = SwissQrBill::parse(text);
    QVERIFY(bill);
    if (creditorProblem.isEmpty()) {
        QVERIFY2(bill->creditor.problem.isEmpty(), qPrintable(bill->creditor.problem.toString()));
    } else {
        QVERIFY2(bill->creditor.problem.toString().contains(creditorProblem), qPrintable(bill->creditor.problem.toString()));
    }
    QCOMPARE(bool(bill->debtor), hasDebtor);
    if (hasDebtor && debtorProblem.isEmpty()) {
        QVERIFY2(bill->debtor->problem.isEmpty(), qPrintable(bill->debtor->problem.toString()));
    } else if (hasDebtor) {
        QVERIFY2(bill->debtor->problem.toString().contains(debtorProblem), qPrintable(bill->debtor->problem.toString()));
    }
}

void SwissQrBillTest::warnings_data()
{
    QTest::addColumn<QString>("text");
    // A word of the warning that must be given, or must not be.
    QTest::addColumn<QString>("warning");
    QTest::addColumn<bool>("given");

    QTest::newRow("version 0201") << exampleWith({{1, u"0201"_s}}) << u"version"_s << true;
    QTest::newRow("coding 2") << exampleWith({{2, u"2"_s}}) << u"coding"_s << true;
    QTest::newRow("ultimate creditor filled in") << exampleWith({{ultimateCreditorLine + 1, u"Someone Else"_s}}) << u"ultimate creditor"_s << true;
    QTest::newRow("Cyrillic") << exampleWith({{messageLine, u"Заказ"_s}}) << u"do not accept"_s << true;
    QTest::newRow("emoji") << exampleWith({{messageLine, u"Order 🧾"_s}}) << u"do not accept"_s << true;
    QTest::newRow("tab") << exampleWith({{messageLine, u"Order\t18"_s}}) << u"do not accept"_s << true;
    QTest::newRow("NUL") << exampleWith({{messageLine, u"Order\u0000 18"_s}}) << u"do not accept"_s << true;
    QTest::newRow("lone CR inside a line") << exampleWith({{messageLine, u"Order\r18"_s}}) << u"do not accept"_s << true;
    QTest::newRow("message and billing over 140") << exampleWith({{messageLine, QString(60, u'm')}}) << u"together"_s << true;
    QTest::newRow("alternative scheme of 101") << exampleWith({{33, QString(101, u'a')}}) << u"100 characters"_s << true;
    // The example has 384 characters with its message of 22; the message and billing warning comes as well.
    QTest::newRow("998 characters") << exampleWith({{messageLine, QString(998 - 384 + 22, u'm')}}) << u"997"_s << true;
    QTest::newRow("997 characters") << exampleWith({{messageLine, QString(997 - 384 + 22, u'm')}}) << u"997"_s << false;
}

void SwissQrBillTest::warnings()
{
    QFETCH(QString, text);
    QFETCH(QString, warning);
    QFETCH(bool, given);

    const auto bill = SwissQrBill::parse(text);
    QVERIFY(bill);
    QVERIFY2(warningTexts(*bill).contains(warning) == given, qPrintable(warningTexts(*bill)));
}

void SwissQrBillTest::notBills_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QString();
    QTest::newRow("a sentence") << u"SPC is the header of a Swiss bill."_s;
    QTest::newRow("SPC alone") << u"SPC"_s;
    QTest::newRow("lower case") << exampleWith({{0, u"spc"_s}});
    QTest::newRow("text before") << u"Pay this:\n"_s + exampleLines.join(u'\n');
    QTest::newRow("version 0100") << exampleWith({{1, u"0100"_s}});
    QTest::newRow("without EPD") << exampleWith({}, 30);
    QTest::newRow("EPD misplaced") << exampleWith({{30, u"Order"_s}, {31, u"EPD"_s}}, 32);
    QTest::newRow("35 lines") << exampleLines.join(u'\n') + u"\nmore"_s;
    QTest::newRow("two line breaks after the last line") << exampleLines.join(u'\n') + u"\n\n"_s;
}

void SwissQrBillTest::notBills()
{
    QFETCH(QString, text);
    QVERIFY(!SwissQrBill::parse(text));
}

void SwissQrBillTest::largePayloads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bill");

    constexpr qsizetype megabyte = 1024 * 1024;
    QTest::newRow("a megabyte message") << exampleWith({{messageLine, QString(megabyte, u'm')}}) << true;
    QTest::newRow("a megabyte of NUL in the name") << exampleWith({{creditorLine + 1, QString(megabyte, QChar(0))}}) << true;
    QTest::newRow("a megabyte reference") << exampleWith({{referenceLine, QString(megabyte, u'1')}}) << true;
    QTest::newRow("a megabyte of line breaks") << u"SPC"_s + QString(megabyte, u'\n') << false;
    QTest::newRow("a megabyte of CR") << exampleWith({{33, QString(megabyte, u'\r')}}) << true;
}

void SwissQrBillTest::largePayloads()
{
    QFETCH(QString, text);
    QFETCH(bool, bill);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    const auto parsed = SwissQrBill::parse(text);
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(bool(parsed), bill);
    if (parsed) {
        QVERIFY(warningTexts(*parsed).contains(u"997"_s));
    }
}

QTEST_GUILESS_MAIN(SwissQrBillTest)

#include "swissqrbilltest.moc"
