// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "symbology.h"

#include <ZXing/BarcodeFormat.h>

#include <QMap>
#include <QTest>

using ZXing::BarcodeFormat;

Q_DECLARE_METATYPE(ZXing::BarcodeFormat)

class SymbologyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decoderNames_data();
    void decoderNames();
    void otherSpellings_data();
    void otherSpellings();
    void unknownNamesUnchanged_data();
    void unknownNamesUnchanged();
};

void SymbologyTest::decoderNames_data()
{
    QTest::addColumn<BarcodeFormat>("format");
    QTest::addColumn<QString>("displayName");

    const QMap<BarcodeFormat, const char *> names = {
        {BarcodeFormat::QRCode, "QR Code"},
        {BarcodeFormat::MicroQRCode, "Micro QR Code"},
        {BarcodeFormat::RMQRCode, "rMQR Code"},
        {BarcodeFormat::Aztec, "Aztec"},
        {BarcodeFormat::DataMatrix, "Data Matrix"},
        {BarcodeFormat::PDF417, "PDF417"},
        {BarcodeFormat::MaxiCode, "MaxiCode"},
        {BarcodeFormat::EAN13, "EAN-13"},
        {BarcodeFormat::EAN8, "EAN-8"},
        {BarcodeFormat::UPCA, "UPC-A"},
        {BarcodeFormat::UPCE, "UPC-E"},
        {BarcodeFormat::Code128, "Code 128"},
        {BarcodeFormat::Code39, "Code 39"},
        {BarcodeFormat::Code93, "Code 93"},
        {BarcodeFormat::Codabar, "Codabar"},
        {BarcodeFormat::ITF, "ITF"},
        {BarcodeFormat::DataBar, "DataBar"},
        {BarcodeFormat::DataBarExpanded, "DataBar Expanded"},
        {BarcodeFormat::DataBarLimited, "DataBar Limited"},
        {BarcodeFormat::DXFilmEdge, "DX Film Edge"},
    };
    // Every symbology the decoder knows, so that one a newer decoder adds is not left showing its raw name.
    for (int bit = 0; (1 << bit) <= int(BarcodeFormat::_max); ++bit) {
        const auto format = BarcodeFormat(1 << bit);
        QTest::newRow(ZXing::ToString(format).c_str()) << format << QString::fromUtf8(names.value(format, "(no name given)"));
    }
}

// By the very names the decoder gives, and by its enumerators' names, which lack the hyphens.
void SymbologyTest::decoderNames()
{
    QFETCH(BarcodeFormat, format);
    QFETCH(QString, displayName);

    const QString decoderName = QString::fromStdString(ZXing::ToString(format));
    QCOMPARE(Brevlinder::symbologyDisplayName(decoderName), displayName);
    QString enumeratorName = decoderName;
    enumeratorName.remove(u'-');
    QCOMPARE(Brevlinder::symbologyDisplayName(enumeratorName), displayName);
}

void SymbologyTest::otherSpellings_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("displayName");

    QTest::newRow("lower case") << QStringLiteral("qrcode") << QStringLiteral("QR Code");
    QTest::newRow("underscore") << QStringLiteral("Data_Matrix") << QStringLiteral("Data Matrix");
    QTest::newRow("hyphens") << QStringLiteral("Micro-QR-Code") << QStringLiteral("Micro QR Code");
}

void SymbologyTest::otherSpellings()
{
    QFETCH(QString, name);
    QFETCH(QString, displayName);
    QCOMPARE(Brevlinder::symbologyDisplayName(name), displayName);
}

void SymbologyTest::unknownNamesUnchanged_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("empty") << QString();
    QTest::newRow("unknown") << QStringLiteral("HanXin");
    QTest::newRow("a known name with more") << QStringLiteral("QRCode2");
}

void SymbologyTest::unknownNamesUnchanged()
{
    QFETCH(QString, name);
    QCOMPARE(Brevlinder::symbologyDisplayName(name), name);
}

QTEST_MAIN(SymbologyTest)

#include "symbologytest.moc"
