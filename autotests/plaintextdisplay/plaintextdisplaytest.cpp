// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "anchorposition.h"
#include "scanresult.h"
#include "tool.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

using namespace Brevlinder;

using Brevlinder::Test::anchorPosition;

namespace
{

QTextBrowser *browserOf(PlainTextDisplay::Tool &tool)
{
    return tool.widget()->findChild<QTextBrowser *>(QStringLiteral("plainTextView"));
}

// The link targets in the document, in text order.
QStringList anchorsOf(const QTextDocument *document)
{
    QStringList anchors;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            if (format.isAnchor()) {
                anchors.append(format.anchorHref());
            }
        }
    }
    return anchors;
}

}

class PlainTextDisplayTest : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    // Stands in for the desktop's URL handlers, so that any attempt to open a link elsewhere is seen.
    void handleOpenUrl(const QUrl &url);

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void resultsSetState_data();
    void resultsSetState();
    void textShownLiterally_data();
    void textShownLiterally();
    void addressesBecomeLinks_data();
    void addressesBecomeLinks();
    void clickingLinkChangesNothing_data();
    void clickingLinkChangesNothing();
    void symbologyShown_data();
    void symbologyShown();

private:
    QList<QUrl> m_openedUrls;
};

void PlainTextDisplayTest::handleOpenUrl(const QUrl &url)
{
    m_openedUrls.append(url);
}

void PlainTextDisplayTest::initTestCase()
{
    for (const QString &scheme : {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto"), QStringLiteral("tel")}) {
        QDesktopServices::setUrlHandler(scheme, this, "handleOpenUrl");
    }
}

void PlainTextDisplayTest::cleanupTestCase()
{
    for (const QString &scheme : {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto"), QStringLiteral("tel")}) {
        QDesktopServices::unsetUrlHandler(scheme);
    }
}

void PlainTextDisplayTest::resultsSetState_data()
{
    QTest::addColumn<QList<ScanResult>>("results");
    QTest::addColumn<bool>("expectedEnabled");
    QTest::addColumn<QString>("expectedText");

    QTest::newRow("before any result") << QList<ScanResult>{} << false << QString();
    QTest::newRow("valid") << QList<ScanResult>{ScanResult(QStringLiteral("hello"), "hello")} << true << QStringLiteral("hello");
    QTest::newRow("valid, then invalid") << QList<ScanResult>{ScanResult(QStringLiteral("hello"), "hello"), ScanResult()} << false << QString();
    QTest::newRow("invalid, then valid") << QList<ScanResult>{ScanResult(), ScanResult(QStringLiteral("again"), "again")} << true << QStringLiteral("again");
    QTest::newRow("valid and empty") << QList<ScanResult>{ScanResult(QStringLiteral("old"), "old"), ScanResult(QString(), QByteArray())} << true << QString();
}

// The view is enabled exactly when the latest result is valid and always shows that result's text.
void PlainTextDisplayTest::resultsSetState()
{
    QFETCH(QList<ScanResult>, results);
    QFETCH(bool, expectedEnabled);
    QFETCH(QString, expectedText);

    PlainTextDisplay::Tool tool;
    QWidget *widget = tool.widget();
    for (const ScanResult &result : std::as_const(results)) {
        tool.setScanResult(result);
        QCOMPARE(tool.widget(), widget);
    }

    QCOMPARE(widget->isEnabled(), expectedEnabled);
    QCOMPARE(browserOf(tool)->toPlainText(), expectedText);
}

void PlainTextDisplayTest::textShownLiterally_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("inner spaces") << QStringLiteral("a   b    c");
    QTest::newRow("leading and trailing spaces") << QStringLiteral("  indented  ");
    QTest::newRow("lines") << QStringLiteral("first\nsecond\n\n  fourth");
    QTest::newRow("markup characters") << QStringLiteral("<b>bold</b> & <script>x</script> &amp; a<b");
    QTest::newRow("emphasis markers") << QStringLiteral("*not bold* _not underlined_ /not italic/");
}

void PlainTextDisplayTest::textShownLiterally()
{
    QFETCH(QString, text);

    PlainTextDisplay::Tool tool;
    tool.setScanResult(ScanResult(text, text.toUtf8()));

    QCOMPARE(browserOf(tool)->toPlainText(), text);
    QVERIFY(anchorsOf(browserOf(tool)->document()).isEmpty());
}

void PlainTextDisplayTest::addressesBecomeLinks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expectedAnchors");

    QTest::newRow("web address") << QStringLiteral("Visit https://example.org/path?a=1&b=2 now")
                                 << QStringList{QStringLiteral("https://example.org/path?a=1&b=2")};
    QTest::newRow("e-mail address") << QStringLiteral("Write to someone@example.org.") << QStringList{QStringLiteral("mailto:someone@example.org")};
    QTest::newRow("phone number") << QStringLiteral("Call +49 30 1234567 today") << QStringList{QStringLiteral("tel:+49301234567")};
    QTest::newRow("all three") << QStringLiteral("BEGIN:VCARD\nTEL:+49 30 1234567\nEMAIL:someone@example.org\nURL:https://example.org\nEND:VCARD")
                               << QStringList{QStringLiteral("tel:+49301234567"),
                                              QStringLiteral("mailto:someone@example.org"),
                                              QStringLiteral("https://example.org")};
}

void PlainTextDisplayTest::addressesBecomeLinks()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expectedAnchors);

    PlainTextDisplay::Tool tool;
    tool.setScanResult(ScanResult(text, text.toUtf8()));

    QCOMPARE(anchorsOf(browserOf(tool)->document()), expectedAnchors);
    QCOMPARE(browserOf(tool)->toPlainText(), text);
}

void PlainTextDisplayTest::clickingLinkChangesNothing_data()
{
    QTest::addColumn<QString>("href");

    QTest::newRow("web address") << QStringLiteral("https://example.org");
    QTest::newRow("e-mail address") << QStringLiteral("mailto:someone@example.org");
    QTest::newRow("phone number") << QStringLiteral("tel:+49301234567");
}

// A real click on a link: the browser sees the link activated, but neither navigates away from the text
// nor hands the link to another program.
void PlainTextDisplayTest::clickingLinkChangesNothing()
{
    QFETCH(QString, href);

    const QString text = QStringLiteral("URL: https://example.org\nMail: someone@example.org\nPhone: +49 30 1234567");
    PlainTextDisplay::Tool tool;
    tool.setScanResult(ScanResult(text, text.toUtf8()));
    tool.widget()->resize(400, 300);
    tool.widget()->show();
    QVERIFY(QTest::qWaitForWindowExposed(tool.widget()));

    QTextBrowser *browser = browserOf(tool);
    QVERIFY(!browser->openExternalLinks());
    const QString html = browser->toHtml();
    const QPoint position = anchorPosition(browser, href);
    QVERIFY(!position.isNull());
    QCOMPARE(browser->anchorAt(position), href);

    m_openedUrls.clear();
    QSignalSpy clicked(browser, &QTextBrowser::anchorClicked);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, position);
    QCoreApplication::processEvents();

    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toUrl(), QUrl(href));
    QCOMPARE(browser->toPlainText(), text);
    QCOMPARE(browser->toHtml(), html);
    QVERIFY(browser->source().isEmpty());
    QVERIFY(m_openedUrls.isEmpty());
}

void PlainTextDisplayTest::symbologyShown_data()
{
    QTest::addColumn<QList<ScanResult>>("results");
    QTest::addColumn<QString>("expectedName");

    const auto found = [](const char *symbology) {
        ScanResult::Code code;
        code.symbology = QString::fromLatin1(symbology);
        return ScanResult(QStringLiteral("text"), "text", code);
    };
    QTest::newRow("QR code") << QList<ScanResult>{found("QRCode")} << QStringLiteral("QR Code");
    QTest::newRow("EAN-13") << QList<ScanResult>{found("EAN-13")} << QStringLiteral("EAN-13");
    QTest::newRow("unknown to this program") << QList<ScanResult>{found("HanXin")} << QStringLiteral("HanXin");
    QTest::newRow("without a symbology") << QList<ScanResult>{ScanResult(QStringLiteral("text"), "text")} << QString();
    QTest::newRow("found, then not valid") << QList<ScanResult>{found("Aztec"), ScanResult()} << QString();
    QTest::newRow("found, then another") << QList<ScanResult>{found("Aztec"), found("DataMatrix")} << QStringLiteral("Data Matrix");
}

// The latest code's symbology shows above its text by the name users know, and a screen reader hears it with the
// text; nothing shows without one.
void PlainTextDisplayTest::symbologyShown()
{
    QFETCH(QList<ScanResult>, results);
    QFETCH(QString, expectedName);

    PlainTextDisplay::Tool tool;
    for (const ScanResult &result : std::as_const(results)) {
        tool.setScanResult(result);
    }

    auto *label = tool.widget()->findChild<QLabel *>(QStringLiteral("symbologyLabel"));
    QVERIFY(label);
    QCOMPARE(label->isVisibleTo(tool.widget()), !expectedName.isEmpty());
    if (!expectedName.isEmpty()) {
        QCOMPARE(label->text(), expectedName);
    }
    QCOMPARE(browserOf(tool)->accessibleDescription(), expectedName);
}

QTEST_MAIN(PlainTextDisplayTest)

#include "plaintextdisplaytest.moc"
