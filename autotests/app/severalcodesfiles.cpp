// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

// Writes the files that severalcodestest.py opens into DIRECTORY: several-codes.png (a sheet with a QR code, a
// Data Matrix code and a Code 128 barcode), document.pdf (four pages, QR codes on pages 1 and 3) and
// protected.pdf (that document behind a password). Prints, as JSON, where each code's symbol lies in the sheet and
// what it says, so that the test can click inside a code.

#include "codeimages.h"
#include "documentfiles.h"

#include <QDir>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

using namespace Brevlinder;

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: severalcodesfiles DIRECTORY\n");
        return 2;
    }
    const QDir directory(arguments.at(1));
    directory.mkpath(QStringLiteral("."));

    // Spread over the sheet so that each outline has room to be clicked inside, away from the others.
    const QList<Test::PlacedCode> codes = {
        {ZXing::BarcodeFormat::QRCode, QStringLiteral("https://example.org/several/first"), QPoint(60, 60)},
        {ZXing::BarcodeFormat::DataMatrix, QStringLiteral("Data Matrix on a label"), QPoint(700, 80)},
        {ZXing::BarcodeFormat::Code128, QStringLiteral("PARCEL-2026-42"), QPoint(300, 520)},
    };
    const Test::CodeSheet sheet = Test::codeSheet(codes, QSize(1200, 800));
    if (!sheet.image.save(directory.filePath(QStringLiteral("several-codes.png")))) {
        std::fprintf(stderr, "could not write several-codes.png\n");
        return 1;
    }

    const QString document = directory.filePath(QStringLiteral("document.pdf"));
    const QByteArray pdf =
        Test::pdfOfCodes({QStringLiteral("https://example.org/document/page-1"), QString(), QStringLiteral("https://example.org/document/page-3"), QString()});
    QFile documentFile(document);
    if (!documentFile.open(QIODevice::WriteOnly) || documentFile.write(pdf) != pdf.size() || !documentFile.flush()) {
        std::fprintf(stderr, "could not write document.pdf\n");
        return 1;
    }
    documentFile.close();
    const QString protectedDocument = directory.filePath(QStringLiteral("protected.pdf"));
    if (!Test::runTool(QStringLiteral("qpdf"),
                       {QStringLiteral("--encrypt"),
                        QStringLiteral("u"),
                        QStringLiteral("o"),
                        QStringLiteral("256"),
                        QStringLiteral("--"),
                        document,
                        protectedDocument})) {
        return 1;
    }

    QJsonArray symbols;
    for (qsizetype index = 0; index < codes.size(); ++index) {
        const QRect symbol = sheet.symbols.at(index);
        symbols.append(QJsonObject{
            {QStringLiteral("text"), codes.at(index).text},
            {QStringLiteral("rect"), QJsonArray{symbol.x(), symbol.y(), symbol.width(), symbol.height()}},
        });
    }
    const QJsonObject description{
        {QStringLiteral("size"), QJsonArray{sheet.image.width(), sheet.image.height()}},
        {QStringLiteral("symbols"), symbols},
    };
    std::fputs(QJsonDocument(description).toJson(QJsonDocument::Compact).constData(), stdout);
    std::fputs("\n", stdout);
    return 0;
}
