// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "epcpayment.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

namespace
{
// The example that the guidelines for these codes print, line by line.
const QList<QByteArray> exampleLines = {
    "BCD",
    "001",
    "1",
    "SCT",
    "BPOTBEB1",
    "Red Cross of Belgium",
    "BE72000000001616",
    "EUR1",
    "CHAR",
    "",
    "Urgency fund",
    "Sample EPC QR code",
};

QByteArray joined(const QList<QByteArray> &lines, const QByteArray &separator = "\n")
{
    return lines.join(separator);
}

// The example with line @p index replaced by @p line.
QByteArray exampleWith(int index, const QByteArray &line)
{
    QList<QByteArray> lines = exampleLines;
    lines[index] = line;
    return joined(lines);
}

QByteArray exampleWith(const QList<std::pair<int, QByteArray>> &replacements)
{
    QList<QByteArray> lines = exampleLines;
    for (const auto &[index, line] : replacements) {
        lines[index] = line;
    }
    return joined(lines);
}

CheckedValue field(const EpcPayment &payment, const QString &name)
{
    if (name == u"bic") {
        return payment.bic;
    }
    if (name == u"name") {
        return payment.beneficiaryName;
    }
    if (name == u"iban") {
        return payment.iban;
    }
    if (name == u"amount") {
        return payment.amount;
    }
    if (name == u"purpose") {
        return payment.purpose;
    }
    if (name == u"reference") {
        return payment.reference;
    }
    if (name == u"text") {
        return payment.remittanceText;
    }
    if (name == u"information") {
        return payment.information;
    }
    qFatal("No such field");
}

QString warningTexts(const EpcPayment &payment)
{
    QStringList texts;
    for (const KLocalizedString &warning : payment.warnings) {
        texts.append(warning.toString());
    }
    return texts.join(u'\n');
}
}

class EpcPaymentTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void example();
    void layouts_data();
    void layouts();
    void fields_data();
    void fields();
    void characterSets_data();
    void characterSets();
    void warnings_data();
    void warnings();
    void notPayments_data();
    void notPayments();
    void largePayloads_data();
    void largePayloads();
};

void EpcPaymentTest::example()
{
    const auto payment = EpcPayment::parse(joined(exampleLines));
    QVERIFY(payment);
    QCOMPARE(payment->version, u"001"_s);
    QCOMPARE(payment->characterSet, 1);
    QCOMPARE(payment->identification, u"SCT"_s);
    QCOMPARE(payment->bic.value, u"BPOTBEB1"_s);
    QCOMPARE(payment->beneficiaryName.value, u"Red Cross of Belgium"_s);
    QCOMPARE(payment->iban.value, u"BE72000000001616"_s);
    QCOMPARE(payment->currency, u"EUR"_s);
    QCOMPARE(payment->amount.value, u"1"_s);
    QCOMPARE(payment->purpose.value, u"CHAR"_s);
    QCOMPARE(payment->reference.value, QString());
    QCOMPARE(payment->remittanceText.value, u"Urgency fund"_s);
    QCOMPARE(payment->information.value, u"Sample EPC QR code"_s);
    for (const CheckedValue &value : {payment->bic,
                                      payment->beneficiaryName,
                                      payment->iban,
                                      payment->amount,
                                      payment->purpose,
                                      payment->reference,
                                      payment->remittanceText,
                                      payment->information}) {
        QVERIFY2(value.isSound(), qPrintable(value.value + u": "_s + value.problem.toString()));
    }
    QVERIFY2(payment->warnings.isEmpty(), qPrintable(warningTexts(*payment)));
}

void EpcPaymentTest::layouts_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("remittanceText");
    QTest::addColumn<QString>("information");

    QTest::newRow("LF") << joined(exampleLines) << u"Urgency fund"_s << u"Sample EPC QR code"_s;
    QTest::newRow("CRLF") << joined(exampleLines, "\r\n") << u"Urgency fund"_s << u"Sample EPC QR code"_s;
    QTest::newRow("one LF after the last line") << joined(exampleLines) + "\n" << u"Urgency fund"_s << u"Sample EPC QR code"_s;
    QTest::newRow("one CRLF after the last line") << joined(exampleLines, "\r\n") + "\r\n" << u"Urgency fund"_s << u"Sample EPC QR code"_s;
    QTest::newRow("without the note") << joined(exampleLines.first(11)) << u"Urgency fund"_s << QString();
    QTest::newRow("up to the IBAN") << joined(exampleLines.first(7)) << QString() << QString();
    QTest::newRow("empty trailing lines") << joined(exampleLines.first(9)) + "\n\n\n" << QString() << QString();
}

void EpcPaymentTest::layouts()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, remittanceText);
    QFETCH(QString, information);

    const auto payment = EpcPayment::parse(data);
    QVERIFY(payment);
    QCOMPARE(payment->iban.value, u"BE72000000001616"_s);
    QVERIFY(payment->iban.isSound());
    QCOMPARE(payment->beneficiaryName.value, u"Red Cross of Belgium"_s);
    QCOMPARE(payment->remittanceText.value, remittanceText);
    QCOMPARE(payment->information.value, information);
}

void EpcPaymentTest::fields_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    // Empty when the field must be sound, else a word of the problem it must report.
    QTest::addColumn<QString>("problem");

    QTest::newRow("BIC of 11") << exampleWith(4, "BPOTBEB1XXX") << u"bic"_s << u"BPOTBEB1XXX"_s << QString();
    QTest::newRow("BIC of 9") << exampleWith(4, "BPOTBEB1X") << u"bic"_s << u"BPOTBEB1X"_s << u"8 or 11"_s;
    QTest::newRow("BIC with a digit in the bank") << exampleWith(4, "BP0TBEB1") << u"bic"_s << u"BP0TBEB1"_s << u"8 or 11"_s;
    QTest::newRow("BIC in lower case") << exampleWith(4, "bpotbeb1") << u"bic"_s << u"bpotbeb1"_s << u"8 or 11"_s;
    QTest::newRow("no BIC in version 001") << exampleWith(4, "") << u"bic"_s << QString() << u"missing"_s;
    QTest::newRow("no BIC in version 002") << exampleWith({{1, "002"}, {4, ""}}) << u"bic"_s << QString() << QString();
    QTest::newRow("no BIC in 002, outside the EEA") << exampleWith({{1, "002"}, {4, ""}, {6, "CH9300762011623852957"}}) << u"bic"_s << QString()
                                                    << u"European Economic Area"_s;

    QTest::newRow("name of 70") << exampleWith(5, QByteArray(70, 'n')) << u"name"_s << QString(70, u'n') << QString();
    QTest::newRow("name of 71") << exampleWith(5, QByteArray(71, 'n')) << u"name"_s << QString(71, u'n') << u"70"_s;
    QTest::newRow("no name") << exampleWith(5, "") << u"name"_s << QString() << u"missing"_s;
    QTest::newRow("NUL in the name") << exampleWith(5, QByteArray("Red\0Cross", 9)) << u"name"_s << u"Red\u0000Cross"_s << u"control"_s;
    QTest::newRow("escape sequence in the name") << exampleWith(5, "Red\x1b[2JCross") << u"name"_s << u"Red\u001b[2JCross"_s << u"control"_s;

    QTest::newRow("IBAN check digits") << exampleWith(6, "BE73000000001616") << u"iban"_s << u"BE73000000001616"_s << u"check digits"_s;
    QTest::newRow("IBAN with spaces") << exampleWith(6, "BE72 0000 0000 1616") << u"iban"_s << u"BE72 0000 0000 1616"_s << u"without spaces"_s;
    QTest::newRow("no IBAN") << exampleWith(6, "") << u"iban"_s << QString() << u"missing"_s;

    QTest::newRow("amount 12.30") << exampleWith(7, "EUR12.30") << u"amount"_s << u"12.30"_s << QString();
    QTest::newRow("amount 12.3") << exampleWith(7, "EUR12.3") << u"amount"_s << u"12.3"_s << QString();
    QTest::newRow("smallest amount") << exampleWith(7, "EUR0.01") << u"amount"_s << u"0.01"_s << QString();
    QTest::newRow("largest amount") << exampleWith(7, "EUR999999999.99") << u"amount"_s << u"999999999.99"_s << QString();
    QTest::newRow("no amount") << exampleWith(7, "") << u"amount"_s << QString() << QString();
    QTest::newRow("amount too large") << exampleWith(7, "EUR1000000000") << u"amount"_s << u"1000000000"_s << u"between"_s;
    QTest::newRow("amount zero") << exampleWith(7, "EUR0") << u"amount"_s << u"0"_s << u"between"_s;
    QTest::newRow("amount 0.00") << exampleWith(7, "EUR0.00") << u"amount"_s << u"0.00"_s << u"between"_s;
    QTest::newRow("decimal comma") << exampleWith(7, "EUR12,30") << u"amount"_s << u"12,30"_s << u"point"_s;
    QTest::newRow("three decimals") << exampleWith(7, "EUR12.305") << u"amount"_s << u"12.305"_s << u"point"_s;
    QTest::newRow("negative") << exampleWith(7, "EUR-5.00") << u"amount"_s << u"-5.00"_s << u"point"_s;
    QTest::newRow("plus sign") << exampleWith(7, "EUR+5.00") << u"amount"_s << u"+5.00"_s << u"point"_s;
    QTest::newRow("space after EUR") << exampleWith(7, "EUR 12.30") << u"amount"_s << u" 12.30"_s << u"point"_s;
    QTest::newRow("exponent") << exampleWith(7, "EUR1e3") << u"amount"_s << u"1e3"_s << u"point"_s;
    QTest::newRow("point without decimals") << exampleWith(7, "EUR12.") << u"amount"_s << u"12."_s << u"point"_s;
    QTest::newRow("point first") << exampleWith(7, "EUR.50") << u"amount"_s << u".50"_s << u"point"_s;
    QTest::newRow("two points") << exampleWith(7, "EUR1.2.3") << u"amount"_s << u"1.2.3"_s << u"point"_s;
    QTest::newRow("thousands separator") << exampleWith(7, "EUR1,000.00") << u"amount"_s << u"1,000.00"_s << u"point"_s;
    QTest::newRow("EUR without a number") << exampleWith(7, "EUR") << u"amount"_s << QString() << u"no digits"_s;
    QTest::newRow("other currency") << exampleWith(7, "USD12.30") << u"amount"_s << u"USD12.30"_s << u"euros"_s;
    QTest::newRow("no currency") << exampleWith(7, "12.30") << u"amount"_s << u"12.30"_s << u"euros"_s;
    QTest::newRow("currency after") << exampleWith(7, "12.30EUR") << u"amount"_s << u"12.30EUR"_s << u"euros"_s;
    QTest::newRow("leading zeros beyond 12 characters") << exampleWith(7, "EUR0000000001.00") << u"amount"_s << u"0000000001.00"_s << u"12 characters"_s;

    QTest::newRow("purpose in lower case") << exampleWith(8, "char") << u"purpose"_s << u"char"_s << u"four capital"_s;
    QTest::newRow("purpose of five") << exampleWith(8, "CHARI") << u"purpose"_s << u"CHARI"_s << u"four capital"_s;
    QTest::newRow("purpose with a digit") << exampleWith(8, "CH4R") << u"purpose"_s << u"CH4R"_s << u"four capital"_s;

    QTest::newRow("creditor reference") << exampleWith({{9, "RF18539007547034"}, {10, ""}}) << u"reference"_s << u"RF18539007547034"_s << QString();
    QTest::newRow("creditor reference, wrong check digits")
        << exampleWith({{9, "RF19539007547034"}, {10, ""}}) << u"reference"_s << u"RF19539007547034"_s << u"check digits"_s;
    QTest::newRow("national reference") << exampleWith({{9, "+++090/9337/55493+++"}, {10, ""}}) << u"reference"_s << u"+++090/9337/55493+++"_s << QString();
    QTest::newRow("reference of 36") << exampleWith({{9, QByteArray(36, '1')}, {10, ""}}) << u"reference"_s << QString(36, u'1') << u"35"_s;
    QTest::newRow("text of 140") << exampleWith(10, QByteArray(140, 't')) << u"text"_s << QString(140, u't') << QString();
    QTest::newRow("text of 141") << exampleWith(10, QByteArray(141, 't')) << u"text"_s << QString(141, u't') << u"140"_s;
    QTest::newRow("note of 71") << exampleWith(11, QByteArray(71, 'i')) << u"information"_s << QString(71, u'i') << u"70"_s;
}

void EpcPaymentTest::fields()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, problem);

    const auto payment = EpcPayment::parse(data);
    QVERIFY(payment);
    const CheckedValue checked = ::field(*payment, field);
    QCOMPARE(checked.value, value);
    if (problem.isEmpty()) {
        QVERIFY2(checked.isSound(), qPrintable(checked.problem.toString()));
    } else {
        QVERIFY2(checked.problem.toString().contains(problem), qPrintable(checked.problem.toString()));
    }
}

void EpcPaymentTest::characterSets_data()
{
    QTest::addColumn<QByteArray>("characterSet");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("decoded");

    // The same bytes read differently in each set, so that a set read as another fails.
    QTest::newRow("1, UTF-8") << QByteArray("1") << QByteArray("Caf\xc3\xa9 \xe2\x82\xac") << u"Café €"_s;
    QTest::newRow("2, ISO 8859-1") << QByteArray("2") << QByteArray("\xa3\xa4\xbd\xe9") << u"£¤½é"_s;
    QTest::newRow("3, ISO 8859-2") << QByteArray("3") << QByteArray("\xa3\xa4\xbd\xe9") << u"Ł¤˝é"_s;
    QTest::newRow("4, ISO 8859-4") << QByteArray("4") << QByteArray("\xa3\xa4\xbd\xe9") << u"Ŗ¤Ŋé"_s;
    QTest::newRow("5, ISO 8859-5") << QByteArray("5") << QByteArray("\xa3\xa4\xbd\xe9") << u"ЃЄНщ"_s;
    QTest::newRow("6, ISO 8859-7") << QByteArray("6") << QByteArray("\xa3\xa4\xbd\xe9") << u"£€½ι"_s;
    QTest::newRow("7, ISO 8859-10") << QByteArray("7") << QByteArray("\xa3\xa4\xbd\xe9") << u"ĢĪ―é"_s;
    QTest::newRow("8, ISO 8859-15") << QByteArray("8") << QByteArray("\xa3\xa4\xbd\xe9") << u"£€œé"_s;
}

void EpcPaymentTest::characterSets()
{
    QFETCH(QByteArray, characterSet);
    QFETCH(QByteArray, name);
    QFETCH(QString, decoded);

    const auto payment = EpcPayment::parse(exampleWith({{2, characterSet}, {5, name}, {11, name}}));
    QVERIFY(payment);
    QCOMPARE(payment->characterSet, characterSet.toInt());
    QCOMPARE(payment->beneficiaryName.value, decoded);
    QCOMPARE(payment->information.value, decoded);
    QVERIFY2(payment->warnings.isEmpty(), qPrintable(warningTexts(*payment)));
}

void EpcPaymentTest::warnings_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("name");
    // A word of the warning that must be given.
    QTest::addColumn<QString>("warning");

    QTest::newRow("Latin-1 named UTF-8") << exampleWith(5, "Caf\xe9") << u"Café"_s << u"not valid"_s;
    QTest::newRow("UTF-8 cut in a character") << exampleWith(5, "Caf\xc3") << u"Caf\u00c3"_s << u"not valid"_s;
    QTest::newRow("character set 9") << exampleWith(2, "9") << u"Red Cross of Belgium"_s << u"no known character set"_s;
    QTest::newRow("character set 0") << exampleWith(2, "0") << u"Red Cross of Belgium"_s << u"no known character set"_s;
    QTest::newRow("character set 10") << exampleWith(2, "10") << u"Red Cross of Belgium"_s << u"no known character set"_s;
    QTest::newRow("no character set") << exampleWith(2, "") << u"Red Cross of Belgium"_s << u"no known character set"_s;
    QTest::newRow("version 003") << exampleWith(1, "003") << u"Red Cross of Belgium"_s << u"version"_s;
    QTest::newRow("instant transfer") << exampleWith(3, "INST") << u"Red Cross of Belgium"_s << u"SEPA credit transfer"_s;
    QTest::newRow("reference and text") << exampleWith(9, "RF18539007547034") << u"Red Cross of Belgium"_s << u"both"_s;
    QTest::newRow("332 bytes") << exampleWith({{5, QByteArray(70, 'n')}, {10, QByteArray(140, 't')}, {11, QByteArray(70, 'i')}}) << QString(70, u'n')
                               << u"longer than a payment code"_s;
}

void EpcPaymentTest::warnings()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, name);
    QFETCH(QString, warning);

    const auto payment = EpcPayment::parse(data);
    QVERIFY(payment);
    QCOMPARE(payment->beneficiaryName.value, name);
    QVERIFY2(warningTexts(*payment).contains(warning), qPrintable(warningTexts(*payment)));
}

void EpcPaymentTest::notPayments_data()
{
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("a sentence") << QByteArray("BCD is the code for a credit transfer.");
    QTest::newRow("BCD alone") << QByteArray("BCD");
    QTest::newRow("first line not BCD") << exampleWith(0, "BCDX");
    QTest::newRow("lower case") << exampleWith(0, "bcd");
    QTest::newRow("text before") << QByteArray("Pay with this:\n") + joined(exampleLines);
    QTest::newRow("a URL") << QByteArray("https://example.org/?BCD\n001\n1\nSCT\n\nName\nBE72000000001616");
    QTest::newRow("six lines") << joined(exampleLines.first(6));
    QTest::newRow("thirteen lines") << joined(exampleLines) + "\nmore";
    QTest::newRow("two separators after the last line") << joined(exampleLines) + "\n\n";
}

void EpcPaymentTest::notPayments()
{
    QFETCH(QByteArray, data);
    QVERIFY(!EpcPayment::parse(data));
}

void EpcPaymentTest::largePayloads_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("payment");

    constexpr qsizetype megabyte = 1024 * 1024;
    QTest::newRow("a megabyte name") << exampleWith(5, QByteArray(megabyte, 'n')) << true;
    QTest::newRow("a megabyte of NUL") << exampleWith(10, QByteArray(megabyte, '\0')) << true;
    QTest::newRow("a megabyte of invalid UTF-8") << exampleWith(10, QByteArray(megabyte, '\xff')) << true;
    QTest::newRow("a megabyte of line breaks") << QByteArray("BCD") + QByteArray(megabyte, '\n') << false;
    QTest::newRow("a megabyte of CR") << exampleWith(11, QByteArray(megabyte, '\r')) << true;
}

void EpcPaymentTest::largePayloads()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, payment);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    const auto parsed = EpcPayment::parse(data);
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(bool(parsed), payment);
    if (parsed) {
        QVERIFY(!warningTexts(*parsed).isEmpty());
    }
}

QTEST_GUILESS_MAIN(EpcPaymentTest)

#include "epcpaymenttest.moc"
