// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "mecardfields.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

namespace
{

QLatin1StringView prefixFor(const QString &text)
{
    for (const QLatin1StringView prefix : {"MECARD:"_L1, "MATMSG:"_L1}) {
        if (text.startsWith(prefix)) {
            return prefix;
        }
    }
    return "WIFI:"_L1;
}

}

class MeCardFieldsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void split_data();
    void split();
    void conflictingRepeats_data();
    void conflictingRepeats();
};

void MeCardFieldsTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    // Key, value, key, value, …
    QTest::addColumn<QStringList>("expected");
    // Which fields (by index) are wrapped in unescaped quotes.
    QTest::addColumn<QList<int>>("quoted");

    const auto s = [](const char *text) {
        return QString::fromUtf8(text);
    };

    QTest::newRow("plain") << s("WIFI:S:home;T:WPA;P:secret12;;") << true << QStringList{s("S"), s("home"), s("T"), s("WPA"), s("P"), s("secret12")}
                           << QList<int>{};
    QTest::newRow("no final separators") << s("WIFI:S:home;P:secret12") << true << QStringList{s("S"), s("home"), s("P"), s("secret12")} << QList<int>{};
    QTest::newRow("one final separator") << s("WIFI:S:home;P:secret12;") << true << QStringList{s("S"), s("home"), s("P"), s("secret12")} << QList<int>{};
    QTest::newRow("prefix and keys in any case") << s("wifi:s:home;p:x;;") << true << QStringList{s("S"), s("home"), s("P"), s("x")} << QList<int>{};
    QTest::newRow("longer prefix") << s("WIFIS:S:x;;") << false << QStringList{} << QList<int>{};
    QTest::newRow("prefix later in the text") << s("see WIFI:S:home;;") << false << QStringList{} << QList<int>{};
    QTest::newRow("prefix only") << s("WIFI:") << true << QStringList{} << QList<int>{};
    QTest::newRow("empty") << QString() << false << QStringList{} << QList<int>{};
    QTest::newRow("escapes") << s(R"(WIFI:S:a\;b\,c\"d\:e\\f;;)") << true << QStringList{s("S"), s(R"(a;b,c"d:e\f)")} << QList<int>{};
    QTest::newRow("escaped backslash before separator") << s(R"(WIFI:S:a\\;P:b;;)") << true << QStringList{s("S"), s(R"(a\)"), s("P"), s("b")} << QList<int>{};
    QTest::newRow("backslash before ordinary character kept") << s(R"(WIFI:P:a\nb\x;;)") << true << QStringList{s("P"), s(R"(a\nb\x)")} << QList<int>{};
    QTest::newRow("unterminated escape") << s(R"(WIFI:P:abc\)") << true << QStringList{s("P"), s(R"(abc\)")} << QList<int>{};
    QTest::newRow("unterminated escape after separator")
        << s(R"(WIFI:S:x;P:abc\)") << true << QStringList{s("S"), s("x"), s("P"), s(R"(abc\)")} << QList<int>{};
    QTest::newRow("values never trimmed") << s("WIFI:S: home ;P:  ;;") << true << QStringList{s("S"), s(" home "), s("P"), s("  ")} << QList<int>{};
    QTest::newRow("unescaped colon and comma in a value")
        << s("MECARD:URL:http://a.example:8080/x,y;;") << true << QStringList{s("URL"), s("http://a.example:8080/x,y")} << QList<int>{};
    QTest::newRow("repeated keys kept in order") << s("MECARD:TEL:1;EMAIL:a@b;TEL:2;tel:3;;") << true
                                                 << QStringList{s("TEL"), s("1"), s("EMAIL"), s("a@b"), s("TEL"), s("2"), s("TEL"), s("3")} << QList<int>{};
    QTest::newRow("hyphenated key") << s("MECARD:TEL-AV:123;;") << true << QStringList{s("TEL-AV"), s("123")} << QList<int>{};
    QTest::newRow("empty value") << s("WIFI:S:;P:;;") << true << QStringList{s("S"), QString(), s("P"), QString()} << QList<int>{};
    QTest::newRow("unescaped semicolon joins the field before")
        << s("WIFI:S:x;P:pass;word;H:true;;") << true << QStringList{s("S"), s("x"), s("P"), s("pass;word"), s("H"), s("true")} << QList<int>{};
    QTest::newRow("unescaped double semicolon inside a body") << s("MATMSG:BODY:one;;two;;") << true << QStringList{s("BODY"), s("one;;two")} << QList<int>{};
    QTest::newRow("double semicolon between fields") << s("MECARD:N:x;;TEL:1;;") << true << QStringList{s("N"), s("x"), s("TEL"), s("1")} << QList<int>{};
    QTest::newRow("space in what looks like a key") << s("WIFI:P:a;b c:d;;") << true << QStringList{s("P"), s("a;b c:d")} << QList<int>{};
    QTest::newRow("line breaks between fields") << s("MECARD:N:x;\r\nTEL:1;\n;\n") << true << QStringList{s("N"), s("x"), s("TEL"), s("1")} << QList<int>{};
    QTest::newRow("keyless leading segment") << s("WIFI:junk;S:x;;") << true << QStringList{QString(), s("junk"), s("S"), s("x")} << QList<int>{};
    QTest::newRow("quoted") << s(R"(WIFI:S:"414243";P:"a;b";;)") << true << QStringList{s("S"), s(R"("414243")"), s("P"), s(R"("a;b")")} << QList<int>{0, 1};
    QTest::newRow("escaped closing quote is not a quote") << s(R"(WIFI:S:"ab\";;)") << true << QStringList{s("S"), s(R"("ab")")} << QList<int>{};
    QTest::newRow("quote after escaped backslash") << s(R"(WIFI:S:"ab\\";;)") << true << QStringList{s("S"), s(R"("ab\")")} << QList<int>{0};
    QTest::newRow("lone quote") << s(R"(WIFI:S:";;)") << true << QStringList{s("S"), s(R"(")")} << QList<int>{};
    QTest::newRow("NUL and control characters kept") << QStringLiteral("WIFI:S:a\0b\x01\x7f;;") << true << QStringList{s("S"), QStringLiteral("a\0b\x01\x7f")}
                                                     << QList<int>{};

    // Longer than any code, even one split over many; a megabyte is refused.
    const qsizetype most = 60000;
    QTest::newRow("many backslashes") << (s("MATMSG:BODY:") + QString(most, u'\\')) << true << QStringList{s("BODY"), QString(most / 2, u'\\')} << QList<int>{};
    QTest::newRow("many separators") << (s("WIFI:S:x") + QString(most, u';')) << true << QStringList{s("S"), s("x")} << QList<int>{};
    QTest::newRow("many escaped separators") << (s("WIFI:S:") + s("\\;").repeated(most / 2) + s(";P:y")) << true
                                             << QStringList{s("S"), QString(most / 2, u';'), s("P"), s("y")} << QList<int>{};
    QTest::newRow("many backslashes before one separator")
        << (s("WIFI:S:") + QString(most, u'\\') + s(";P:y")) << true << QStringList{s("S"), QString(most / 2, u'\\'), s("P"), s("y")} << QList<int>{};
    QTest::newRow("many keyless segments") << (s("WIFI:S:x") + s(";a").repeated(most / 2)) << true << QStringList{s("S"), s("x") + s(";a").repeated(most / 2)}
                                           << QList<int>{};
    QTest::newRow("many fields") << (s("MECARD:") + s("TEL:1;").repeated(most / 6)) << true << QList<QString>(most / 6, s("TEL\n1")).join(u'\n').split(u'\n')
                                 << QList<int>{};
    QTest::newRow("many spaces without a key") << (s("WIFI:S:x;") + QString(most, u' ') + s("y")) << true
                                               << QStringList{s("S"), s("x;") + QString(most, u' ') + s("y")} << QList<int>{};
    QTest::newRow("1 MB refused") << (s("WIFI:S:x;") + QString(1 << 20, u'\\')) << false << QStringList{} << QList<int>{};
}

void MeCardFieldsTest::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, quoted);

    Brevlinder::Test::ParsingTimer timer;
    timer.start();
    const auto fields = MeCardFields::parse(text, prefixFor(text));
    QStringList actual;
    if (fields) {
        for (const auto &field : fields->fields) {
            actual << field.key << field.value();
        }
    }
    QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(QStringLiteral("took %1 ms").arg(timer.elapsed())));

    QCOMPARE(fields.has_value(), valid);
    QCOMPARE(actual, expected);
    if (fields) {
        for (qsizetype i = 0; i < fields->fields.size(); ++i) {
            const auto &field = fields->fields.at(i);
            QCOMPARE(field.isQuoted(), quoted.contains(i));
            const QString value = field.value();
            QCOMPARE(field.unquotedValue(), field.isQuoted() ? value.mid(1, value.size() - 2) : value);
        }
    }
}

void MeCardFieldsTest::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("parts");

    QTest::newRow("family and given name") << u"MECARD:N:Doe,John;;"_s << QStringList{u"Doe"_s, u"John"_s};
    QTest::newRow("escaped comma stays in its part") << uR"(MECARD:N:Doe\, Jr.,John;;)"_s << QStringList{u"Doe, Jr."_s, u"John"_s};
    QTest::newRow("comma after escaped backslash splits") << uR"(MECARD:N:a\\,b;;)"_s << QStringList{uR"(a\)"_s, u"b"_s};
    QTest::newRow("no comma") << u"MECARD:N:Doe;;"_s << QStringList{u"Doe"_s};
    QTest::newRow("empty parts") << u"MECARD:N:,;;"_s << QStringList{QString(), QString()};
    QTest::newRow("unterminated escape") << uR"(MECARD:N:a,b\)"_s << QStringList{u"a"_s, uR"(b\)"_s};
}

void MeCardFieldsTest::split()
{
    QFETCH(QString, text);
    QFETCH(QStringList, parts);

    const auto fields = MeCardFields::parse(text, "MECARD:"_L1);
    QVERIFY(fields);
    const auto name = fields->first("N"_L1);
    QVERIFY(name);
    QCOMPARE(name->split(u','), parts);
}

void MeCardFieldsTest::conflictingRepeats_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("conflicting");

    QTest::newRow("no repeats") << u"WIFI:S:a;P:b;;"_s << false;
    QTest::newRow("same value twice") << u"WIFI:S:a;S:a;;"_s << false;
    QTest::newRow("different values") << u"WIFI:S:a;P:b;s:c;;"_s << true;
    QTest::newRow("same value written differently") << uR"(WIFI:S:a;S:\a;;)"_s << true;
}

void MeCardFieldsTest::conflictingRepeats()
{
    QFETCH(QString, text);
    QFETCH(bool, conflicting);

    const auto fields = MeCardFields::parse(text, "WIFI:"_L1);
    QVERIFY(fields);
    QCOMPARE(fields->hasConflictingRepeats(), conflicting);
}

QTEST_GUILESS_MAIN(MeCardFieldsTest)

#include "mecardfieldstest.moc"
