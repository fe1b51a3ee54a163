// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "mailmessage.h"

#include "parsingtimer.h"
#include <QTest>

using namespace Brevlinder::Content;
using namespace Qt::StringLiterals;

namespace
{
/// The addresses, each followed by "!" when it is none.
QStringList described(const QList<CheckedValue> &addresses)
{
    QStringList list;
    for (const CheckedValue &address : addresses) {
        list.append(address.value + (address.isSound() ? QString() : u"!"_s));
    }
    return list;
}

QStringList texts(const QList<KLocalizedString> &warnings)
{
    QStringList list;
    for (const KLocalizedString &warning : warnings) {
        list.append(warning.toString());
    }
    return list;
}
}

class MailMessageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void testParse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("recognised");
        QTest::addColumn<QStringList>("to");
        QTest::addColumn<QStringList>("cc");
        QTest::addColumn<QStringList>("bcc");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QStringList>("warnings");

        QTest::newRow("one address") << u"mailto:chris@example.com"_s << true << QStringList{u"chris@example.com"_s} << QStringList{} << QStringList{}
                                     << QString() << QString() << QStringList{};
        QTest::newRow("subject with escapes") << u"mailto:infobot@example.com?subject=current-issue%20%26%20more"_s << true
                                              << QStringList{u"infobot@example.com"_s} << QStringList{} << QStringList{} << u"current-issue & more"_s
                                              << QString() << QStringList{};
        QTest::newRow("several addresses in path and to, body with line breaks")
            << u"mailto:joe@example.com,%22not%2Cthis%22@example.org?to=bob@example.com,%20x@example.net&body=send%0D%0Acurrent-issue+now"_s << true
            << QStringList{u"joe@example.com"_s, u"\"not,this\"@example.org"_s, u"bob@example.com"_s, u"x@example.net"_s} << QStringList{} << QStringList{}
            << QString() << u"send\r\ncurrent-issue+now"_s << QStringList{};
        QTest::newRow("addresses only in the headers, cc and a hidden bcc")
            << u"mailto:?to=a@example.com&CC=b@example.com&bcc=spy@example.net,boss@example.net&subject=Hi"_s << true << QStringList{u"a@example.com"_s}
            << QStringList{u"b@example.com"_s} << QStringList{u"spy@example.net"_s, u"boss@example.net"_s} << u"Hi"_s << QString()
            << QStringList{u"The message would also go to spy@example.net, boss@example.net, hidden from the other recipients."_s};
        QTest::newRow("UTF-8 and an international domain")
            << u"mailto:user@%E7%B4%8D%E8%B1%86.example.org?subject=%E3%81%93%E3%82%8C"_s << true << QStringList{u"user@納豆.example.org"_s} << QStringList{}
            << QStringList{} << u"これ"_s << QString() << QStringList{};
        QTest::newRow("attachments and other headers are left out")
            << u"mailto:a@example.com?attach=/etc/passwd&Attachment=~/.ssh/id_rsa&X-Mailer=evil&from=boss@example.com&x-mailer=again"_s << true
            << QStringList{u"a@example.com"_s} << QStringList{} << QStringList{} << QString() << QString()
            << QStringList{u"The code asks to attach a file from this computer; that request is left out."_s,
                           u"The code sets parts of the message that are left out: x-mailer, from."_s};
        QTest::newRow("the first subject counts") << u"mailto:a@example.com?subject=one&subject=two&body=b1&body=b2"_s << true
                                                  << QStringList{u"a@example.com"_s} << QStringList{} << QStringList{} << u"one"_s << u"b1"_s << QStringList{};
        QTest::newRow("addresses that are none")
            << u"mailto:nobody,@example.com,a@,a@b@c,a%20b@example.com,a@exa..mple.com,a@x%00y.com"_s << true
            << QStringList{u"nobody!"_s, u"@example.com!"_s, u"a@!"_s, u"a@b@c!"_s, u"a b@example.com!"_s, u"a@exa..mple.com!"_s, u"a@x\0y.com!"_s}
            << QStringList{} << QStringList{} << QString() << QString() << QStringList{};
        QTest::newRow("broken escapes stay as written") << u"mailto:a@example.com?subject=100%&body=%zz%4"_s << true << QStringList{u"a@example.com"_s}
                                                        << QStringList{} << QStringList{} << u"100%"_s << u"%zz%4"_s << QStringList{};
        QTest::newRow("nothing at all") << u"MAILTO:"_s << true << QStringList{} << QStringList{} << QStringList{} << QString() << QString() << QStringList{};
        QTest::newRow("prose") << u"write to mailto:a@example.com"_s << false << QStringList{} << QStringList{} << QStringList{} << QString() << QString()
                               << QStringList{};
        QTest::newRow("a bare address") << u"a@example.com"_s << false << QStringList{} << QStringList{} << QStringList{} << QString() << QString()
                                        << QStringList{};
    }

    void testParse()
    {
        QFETCH(QString, text);
        QFETCH(bool, recognised);
        QFETCH(QStringList, to);
        QFETCH(QStringList, cc);
        QFETCH(QStringList, bcc);
        QFETCH(QString, subject);
        QFETCH(QString, body);
        QFETCH(QStringList, warnings);

        const std::optional<MailMessage> message = MailMessage::parse(text);
        QCOMPARE(message.has_value(), recognised);
        if (!message) {
            return;
        }
        QCOMPARE(described(message->to), to);
        QCOMPARE(described(message->cc), cc);
        QCOMPARE(described(message->bcc), bcc);
        QCOMPARE(message->subject, subject);
        QCOMPARE(message->body, body);
        QCOMPARE(texts(message->warnings), warnings);
    }

    void testLargePayloads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("recognised");
        QTest::addColumn<int>("recipients");

        QTest::newRow("a chain of linked symbols of addresses") << (u"mailto:"_s + u"a@b.c,"_s.repeated(47 * 1024 / 6)) << true << 47 * 1024 / 6;
        QTest::newRow("a chain of linked symbols of distinct headers") << [] {
            QString text = u"mailto:a@b.c?"_s;
            for (int i = 0; text.size() < 47 * 1024; ++i) {
                text += u"h"_s + QString::number(i) + u"=1&"_s;
            }
            return text;
        }() << true << 1;
        QTest::newRow("1 MB body") << (u"mailto:a@b.c?body="_s + u"%41"_s.repeated(1024 * 1024 / 3)) << false << 0;
    }

    void testLargePayloads()
    {
        QFETCH(QString, text);
        QFETCH(bool, recognised);
        QFETCH(int, recipients);

        Brevlinder::Test::ParsingTimer timer;
        timer.start();
        const std::optional<MailMessage> message = MailMessage::parse(text);
        QVERIFY2(timer.elapsed() < Brevlinder::Test::ParsingTimer::deadlineMilliseconds(), qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(message.has_value(), recognised);
        if (message) {
            QCOMPARE(message->to.size(), recipients);
            QVERIFY(message->warnings.size() <= 1);
        }
    }
};

QTEST_GUILESS_MAIN(MailMessageTest)

#include "mailmessagetest.moc"
