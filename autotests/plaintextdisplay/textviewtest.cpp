// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "textview.h"
#include "anchorposition.h"
#include "link.h"
#include "scanresult.h"
#include "tool.h"

#include <KIO/OpenUrlJob>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QHelpEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolTip>

using namespace Brevlinder;
using PlainTextDisplay::Link;
using PlainTextDisplay::TextView;

using Brevlinder::Test::anchorPosition;

namespace
{

// Every kind of link the converter makes, and two that it makes but that are never opened.
const QString linkText = QStringLiteral(
    "Web: https://example.org/path?a=1&b=2\n"
    "Mail: someone@example.org\n"
    "Phone: +49 30 1234567\n"
    "Short: www.example.org\n"
    "File: file:///etc/passwd\n");

// The file into which the stand-in handler for web, e-mail and phone links writes each address it is given.
QString s_openedLinksFile;

// Installs a desktop file that handles web, e-mail and phone links by a script that notes the address, in
// XDG directories of the test's own under \p root, so that it is the only handler the desktop finds.
void installLinkHandler(const QString &root)
{
    const QDir dir(root);
    dir.mkpath(QStringLiteral("data/applications"));
    dir.mkpath(QStringLiteral("config/menus"));
    dir.mkpath(QStringLiteral("cache"));
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", dir.filePath(QStringLiteral("cache")).toLocal8Bit());
    s_openedLinksFile = dir.filePath(QStringLiteral("opened-links"));

    const QString script = dir.filePath(QStringLiteral("note-link.sh"));
    QFile scriptFile(script);
    scriptFile.open(QIODevice::WriteOnly);
    scriptFile.write("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + s_openedLinksFile.toLocal8Bit() + "'\n");
    scriptFile.close();
    scriptFile.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QByteArray schemes = "x-scheme-handler/http;x-scheme-handler/https;x-scheme-handler/mailto;x-scheme-handler/tel;";
    QFile desktopFile(dir.filePath(QStringLiteral("data/applications/brevlinder-test-link-handler.desktop")));
    desktopFile.open(QIODevice::WriteOnly);
    desktopFile.write("[Desktop Entry]\nType=Application\nName=Link notes\nNoDisplay=true\nExec=" + script.toLocal8Bit() + " %u\nMimeType=" + schemes + "\n");
    desktopFile.close();

    // The desktop finds its programs through the applications menu; a bare system has none.
    QFile menu(dir.filePath(QStringLiteral("config/menus/applications.menu")));
    menu.open(QIODevice::WriteOnly);
    menu.write(
        "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\" \"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd\">\n"
        "<Menu><Name>Applications</Name><DefaultAppDirs/><Include><All/></Include></Menu>\n");
    menu.close();

    QFile mimeApps(dir.filePath(QStringLiteral("config/mimeapps.list")));
    mimeApps.open(QIODevice::WriteOnly);
    mimeApps.write("[Default Applications]\n");
    for (const QByteArray &scheme : schemes.split(';')) {
        if (!scheme.isEmpty()) {
            mimeApps.write(scheme + "=brevlinder-test-link-handler.desktop\n");
        }
    }
}

QStringList openedLinks()
{
    QFile file(s_openedLinksFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TextView *viewOf(PlainTextDisplay::Tool &tool)
{
    return tool.widget()->findChild<TextView *>(QStringLiteral("plainTextView"));
}

// The texts of the entries above the menu's first separator, where the link's entries are.
QStringList linkEntries(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator()) {
            break;
        }
        texts.append(action->text());
    }
    return texts;
}

QAction *entry(const QMenu *menu, const QString &text)
{
    const QList<QAction *> actions = menu->actions();
    const auto found = std::find_if(actions.begin(), actions.end(), [&text](const QAction *action) {
        return action->text() == text;
    });
    return found == actions.end() ? nullptr : *found;
}

// How the user picks an entry of the shown menu.
enum class Choice {
    Mouse, ///< moves onto the entry and clicks it
    Keyboard, ///< walks down to it with the arrow key and presses Return
};

// Picks the entry called \p text of the shown \p menu as a user does, with real input events on the menu;
// returns whether the menu took the choice and closed.
bool choose(QMenu *menu, const QString &text, Choice choice)
{
    QAction *action = entry(menu, text);
    if (!action) {
        qWarning() << "no entry" << text << "in" << linkEntries(menu);
        return false;
    }
    if (choice == Choice::Mouse) {
        // Along a path, as a hand moves: a menu takes the pointer as moved only after a few motions or some
        // distance from where it opened.
        const QPoint centre = menu->actionGeometry(action).center();
        const QPoint start(centre.x() / 2, 1);
        constexpr int steps = 8;
        for (int step = 1; step <= steps; ++step) {
            QTest::mouseMove(menu, start + (centre - start) * step / steps);
        }
        if (!QTest::qWaitFor([menu, action] {
                return menu->activeAction() == action;
            })) {
            qWarning() << "the mouse did not reach" << text;
            return false;
        }
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, centre);
    } else {
        for (qsizetype step = 0; menu->activeAction() != action && step < menu->actions().size(); ++step) {
            QTest::keyClick(menu, Qt::Key_Down);
        }
        if (menu->activeAction() != action) {
            qWarning() << "the arrow key did not reach" << text;
            return false;
        }
        QTest::keyClick(menu, Qt::Key_Return);
    }
    return QTest::qWaitFor([menu] {
        return !menu->isVisible();
    });
}

}

Q_DECLARE_METATYPE(Choice)

class TextViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void linkRules_data();
    void linkRules();
    void hoverShowsTarget_data();
    void hoverShowsTarget();
    void contextMenu_data();
    void contextMenu();
    void contextMenuForAnyTarget_data();
    void contextMenuForAnyTarget();
    void copyLinkAddress_data();
    void copyLinkAddress();
    void openLink_data();
    void openLink();
    void leftClickOpensNothing_data();
    void leftClickOpensNothing();
    void keyboardReachesLinks();

private:
    // A tool showing linkText in a window of its own.
    void showLinks();
    // Right-clicks the link to \p href and returns the menu that opens.
    QMenu *rightClick(const QString &href);
    // Tabs to the link to \p href, presses the Menu key and returns the menu that opens.
    QMenu *menuKey(const QString &href);
    // Opens the menu of the link to \p href as a user who goes on to choose from it with \p choice does.
    QMenu *openMenu(const QString &href, Choice choice);

    std::unique_ptr<PlainTextDisplay::Tool> m_tool;
    TextView *m_view = nullptr;
};

void TextViewTest::init()
{
    QFile::remove(s_openedLinksFile);
    showLinks();
}

void TextViewTest::cleanup()
{
    delete QApplication::activePopupWidget();
    m_tool.reset();
}

void TextViewTest::showLinks()
{
    m_tool = std::make_unique<PlainTextDisplay::Tool>();
    m_tool->setScanResult(ScanResult(linkText, linkText.toUtf8()));
    m_tool->widget()->resize(400, 300);
    m_tool->widget()->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tool->widget()));
    m_view = viewOf(*m_tool);
    QVERIFY(m_view);
}

QMenu *TextViewTest::rightClick(const QString &href)
{
    const QPoint position = anchorPosition(m_view, href);
    if (position.isNull()) {
        qWarning() << "no link to" << href;
        return nullptr;
    }
    // What the window system does for a right-click.
    QTest::mouseClick(m_view->viewport(), Qt::RightButton, Qt::NoModifier, position);
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, m_view->viewport()->mapToGlobal(position));
    QCoreApplication::sendEvent(m_view->viewport(), &event);
    if (!QTest::qWaitFor([] {
            return qobject_cast<QMenu *>(QApplication::activePopupWidget());
        })) {
        qWarning() << "no menu opened";
        return nullptr;
    }
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

QMenu *TextViewTest::menuKey(const QString &href)
{
    m_view->setFocus();
    if (!QTest::qWaitFor([this] {
            return m_view->hasFocus();
        })) {
        qWarning() << "the view did not take the focus";
        return nullptr;
    }
    for (int tab = 0; tab < 10; ++tab) {
        QTest::keyClick(m_view, Qt::Key_Tab);
        const std::optional<Link> focused = m_view->focusedLink();
        if (focused && focused->address() == href) {
            // What the window system sends for the Menu key.
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), m_view->mapToGlobal(QPoint(5, 5)));
            QCoreApplication::sendEvent(m_view, &event);
            if (!QTest::qWaitFor([] {
                    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
                })) {
                qWarning() << "no menu opened";
                return nullptr;
            }
            return qobject_cast<QMenu *>(QApplication::activePopupWidget());
        }
    }
    qWarning() << "Tab did not reach" << href;
    return nullptr;
}

QMenu *TextViewTest::openMenu(const QString &href, Choice choice)
{
    return choice == Choice::Mouse ? rightClick(href) : menuKey(href);
}

void TextViewTest::linkRules_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Link::Kind>("expectedKind");
    QTest::addColumn<QString>("expectedAddress");
    QTest::addColumn<QString>("expectedShortAddress");

    const QString longPath = QLatin1Char('/') + QStringLiteral("a").repeated(100);
    const QString longUrl = QStringLiteral("https://example.org") + longPath;
    const QString deceivingUrl = QStringLiteral("https://www.bank.example") + QStringLiteral("x").repeated(60) + QStringLiteral("@evil.example") + longPath;

    QTest::newRow("web") << "https://example.org/a?b=1&c=2"
                         << "https://example.org/a?b=1&c=2" << Link::Kind::WebPage << "https://example.org/a?b=1&c=2"
                         << "https://example.org/a?b=1&c=2";
    QTest::newRow("plain http") << "http://example.org"
                                << "http://example.org" << Link::Kind::WebPage << "http://example.org"
                                << "http://example.org";
    QTest::newRow("international host shown encoded") << QStringLiteral("https://bücher.example/ä") << QStringLiteral("https://bücher.example/ä")
                                                      << Link::Kind::WebPage << "https://xn--bcher-kva.example/%C3%A4"
                                                      << "https://xn--bcher-kva.example/%C3%A4";
    QTest::newRow("hidden direction mark shown encoded")
        << QStringLiteral("https://example.org/\u202Egpj.exe") << QStringLiteral("https://example.org/\u202Egpj.exe") << Link::Kind::WebPage
        << "https://example.org/%E2%80%AEgpj.exe"
        << "https://example.org/%E2%80%AEgpj.exe";
    QTest::newRow("long path cut short") << longUrl << longUrl << Link::Kind::WebPage << longUrl
                                         << QStringLiteral("https://example.org") + longPath.left(39) + QChar(0x2026);
    QTest::newRow("host never cut") << deceivingUrl << deceivingUrl << Link::Kind::WebPage << deceivingUrl
                                    << deceivingUrl.left(deceivingUrl.size() - longPath.size() + 39) + QChar(0x2026);
    QTest::newRow("e-mail address") << "mailto:someone@example.org"
                                    << "someone@example.org" << Link::Kind::EMail << "mailto:someone@example.org"
                                    << "someone@example.org";
    QTest::newRow("e-mail link with copies to others")
        << "mailto:someone@example.org?bcc=other@example.org"
        << "mailto:someone@example.org?bcc=other@example.org" << Link::Kind::EMail << "mailto:someone@example.org?bcc=other@example.org"
        << "someone@example.org?bcc=other@example.org";
    QTest::newRow("phone number") << "tel:+49301234567"
                                  << "+49 (30) 123-4567" << Link::Kind::Call << "tel:+49301234567"
                                  << "+49301234567";
    QTest::newRow("phone link") << "tel:0301234567"
                                << "tel:0301234567" << Link::Kind::Call << "tel:0301234567"
                                << "0301234567";

    // Never opened.
    QTest::newRow("javascript") << "javascript:alert(1)"
                                << "javascript:alert(1)" << Link::Kind::CopyOnly << "javascript:alert(1)"
                                << "javascript:alert(1)";
    QTest::newRow("file") << "file:///etc/passwd"
                          << "file:///etc/passwd" << Link::Kind::CopyOnly << "file:///etc/passwd"
                          << "file:///etc/passwd";
    QTest::newRow("data") << "data:text/html,hi"
                          << "data:text/html,hi" << Link::Kind::CopyOnly << "data:text/html,hi"
                          << "data:text/html,hi";
    QTest::newRow("ftp") << "ftp://example.org/x"
                         << "ftp://example.org/x" << Link::Kind::CopyOnly << "ftp://example.org/x"
                         << "ftp://example.org/x";
    QTest::newRow("web without host") << "https:example.org"
                                      << "https:example.org" << Link::Kind::CopyOnly << "https:example.org"
                                      << "https:example.org";
    QTest::newRow("text without scheme") << "http://www.example.org"
                                         << "www.example.org" << Link::Kind::CopyOnly << "http://www.example.org"
                                         << "http://www.example.org";
    QTest::newRow("text of another address") << "https://evil.example"
                                             << "https://bank.example" << Link::Kind::CopyOnly << "https://evil.example"
                                             << "https://evil.example";
    QTest::newRow("e-mail text of another address") << "mailto:evil@example.org"
                                                    << "bank@example.org" << Link::Kind::CopyOnly << "mailto:evil@example.org"
                                                    << "mailto:evil@example.org";
    QTest::newRow("phone text of another number") << "tel:+49301234567"
                                                  << "+49 30 7654321" << Link::Kind::CopyOnly << "tel:+49301234567"
                                                  << "tel:+49301234567";
}

// Which links may be opened, and how their addresses are named.
void TextViewTest::linkRules()
{
    QFETCH(QString, target);
    QFETCH(QString, text);
    QFETCH(Link::Kind, expectedKind);
    QFETCH(QString, expectedAddress);
    QFETCH(QString, expectedShortAddress);

    const Link link(target, text);
    QCOMPARE(link.kind(), expectedKind);
    QCOMPARE(link.address(), expectedAddress);
    QCOMPARE(link.shortAddress(), expectedShortAddress);
}

void TextViewTest::hoverShowsTarget_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("expectedToolTip");

    QTest::newRow("web") << "https://example.org/path?a=1&b=2"
                         << "https://example.org/path?a=1&b=2";
    QTest::newRow("e-mail") << "mailto:someone@example.org"
                            << "mailto:someone@example.org";
    QTest::newRow("phone") << "tel:+49301234567"
                           << "tel:+49301234567";
    QTest::newRow("text without scheme") << "http://www.example.org"
                                         << "http://www.example.org";
}

// The mouse over a link turns into a pointing hand, and the tool tip shows where the link leads.
void TextViewTest::hoverShowsTarget()
{
    QFETCH(QString, href);
    QFETCH(QString, expectedToolTip);

    const QPoint position = anchorPosition(m_view, href);
    QVERIFY(!position.isNull());
    QTest::mouseMove(m_view->viewport(), position);
    QTRY_COMPARE(m_view->viewport()->cursor().shape(), Qt::PointingHandCursor);

    QHelpEvent toolTipEvent(QEvent::ToolTip, position, m_view->viewport()->mapToGlobal(position));
    QCoreApplication::sendEvent(m_view->viewport(), &toolTipEvent);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), expectedToolTip);

    // Off the links there is neither.
    const QPoint offLink(position.x(), m_view->viewport()->height() - 5);
    QTest::mouseMove(m_view->viewport(), offLink);
    QTRY_VERIFY(m_view->viewport()->cursor().shape() != Qt::PointingHandCursor);
    QHelpEvent offLinkEvent(QEvent::ToolTip, offLink, m_view->viewport()->mapToGlobal(offLink));
    QCoreApplication::sendEvent(m_view->viewport(), &offLinkEvent);
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TextViewTest::contextMenu_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QStringList>("expectedLinkEntries");

    const QString copy = QStringLiteral("Copy Link Address");
    QTest::newRow("web") << "https://example.org/path?a=1&b=2" << QStringList{QStringLiteral("Open Link https://example.org/path?a=1&&b=2"), copy};
    QTest::newRow("e-mail") << "mailto:someone@example.org" << QStringList{QStringLiteral("Send E-mail to someone@example.org"), copy};
    QTest::newRow("phone") << "tel:+49301234567" << QStringList{QStringLiteral("Call +49301234567"), copy};
    // Links that are only copied.
    QTest::newRow("text without scheme") << "http://www.example.org" << QStringList{copy};
    QTest::newRow("file") << "file:///etc/passwd" << QStringList{copy};
}

// A right-click on a link: its own entries above the view's usual ones.
void TextViewTest::contextMenu()
{
    QFETCH(QString, href);
    QFETCH(QStringList, expectedLinkEntries);

    QMenu *menu = rightClick(href);
    QVERIFY(menu);
    QCOMPARE(linkEntries(menu), expectedLinkEntries);
    QVERIFY(menu->findChild<QAction *>(QStringLiteral("select-all")));
    // The view's own link entry would copy the raw target; ours replaces it.
    QVERIFY(!menu->findChild<QAction *>(QStringLiteral("link-copy")));
    for (const QString &text : std::as_const(expectedLinkEntries)) {
        QCOMPARE(entry(menu, text)->toolTip(), Link(href, QString()).address());
    }
}

void TextViewTest::contextMenuForAnyTarget_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("expectedLinkEntries");

    const QString copy = QStringLiteral("Copy Link Address");
    QTest::newRow("javascript") << "javascript:alert(1)" << QStringList{copy};
    QTest::newRow("data") << "data:text/html,<script>alert(1)</script>" << QStringList{copy};
    QTest::newRow("file") << "file:///etc/passwd" << QStringList{copy};
    QTest::newRow("smb") << "smb://host/share" << QStringList{copy};
    QTest::newRow("web") << "https://example.org" << QStringList{QStringLiteral("Open Link https://example.org"), copy};
}

// Whatever the text may hold, only web, e-mail and phone links get an entry that opens them.
void TextViewTest::contextMenuForAnyTarget()
{
    QFETCH(QString, target);
    QFETCH(QStringList, expectedLinkEntries);

    std::unique_ptr<QMenu> menu(m_view->createContextMenu(QPoint(1, 1), Link(target, target)));
    QCOMPARE(linkEntries(menu.get()), expectedLinkEntries);

    // Off any link, the menu holds only the view's usual entries.
    std::unique_ptr<QMenu> plainMenu(m_view->createContextMenu(QPoint(1, 1), std::nullopt));
    QCOMPARE(plainMenu->actions().first()->objectName(), QStringLiteral("edit-copy"));
    QVERIFY(!entry(plainMenu.get(), QStringLiteral("Copy Link Address")));
}

void TextViewTest::copyLinkAddress_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("expectedClipboardText");
    QTest::addColumn<Choice>("choice");

    for (const auto &[name, choice] : {std::pair{"mouse", Choice::Mouse}, std::pair{"keyboard", Choice::Keyboard}}) {
        QTest::addRow("web, %s", name) << "https://example.org/path?a=1&b=2"
                                       << "https://example.org/path?a=1&b=2" << choice;
        QTest::addRow("e-mail, %s", name) << "mailto:someone@example.org"
                                          << "mailto:someone@example.org" << choice;
        QTest::addRow("phone, %s", name) << "tel:+49301234567"
                                         << "tel:+49301234567" << choice;
        QTest::addRow("text without scheme, %s", name) << "http://www.example.org"
                                                       << "http://www.example.org" << choice;
        QTest::addRow("file, %s", name) << "file:///etc/passwd"
                                        << "file:///etc/passwd" << choice;
    }
}

// The entry, chosen from the shown menu, puts the address on the clipboard and opens nothing.
void TextViewTest::copyLinkAddress()
{
    QFETCH(QString, href);
    QFETCH(QString, expectedClipboardText);
    QFETCH(Choice, choice);

    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QMenu *menu = openMenu(href, choice);
    QVERIFY(menu);
    QVERIFY(choose(menu, QStringLiteral("Copy Link Address"), choice));
    QTRY_COMPARE(QGuiApplication::clipboard()->text(), expectedClipboardText);
    QVERIFY(openedLinks().isEmpty());
}

void TextViewTest::openLink_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("entryText");
    QTest::addColumn<Choice>("choice");

    for (const auto &[name, choice] : {std::pair{"mouse", Choice::Mouse}, std::pair{"keyboard", Choice::Keyboard}}) {
        QTest::addRow("web, %s", name) << "https://example.org/path?a=1&b=2"
                                       << "Open Link https://example.org/path?a=1&&b=2" << choice;
        QTest::addRow("e-mail, %s", name) << "mailto:someone@example.org"
                                          << "Send E-mail to someone@example.org" << choice;
        QTest::addRow("phone, %s", name) << "tel:+49301234567"
                                         << "Call +49301234567" << choice;
    }
}

// The open entry hands the address to the desktop's handler for its scheme: here, the test's script.
void TextViewTest::openLink()
{
    QFETCH(QString, href);
    QFETCH(QString, entryText);
    QFETCH(Choice, choice);

    QMenu *menu = openMenu(href, choice);
    QVERIFY(menu);
    QVERIFY(choose(menu, entryText, choice));

    // A job that fails says why, rather than leaving the test to time out.
    if (auto *job = m_view->findChild<KIO::OpenUrlJob *>()) {
        connect(job, &KJob::result, this, [](KJob *finished) {
            if (finished->error()) {
                qWarning() << "opening failed:" << finished->errorString();
            }
        });
    }
    QTRY_COMPARE_WITH_TIMEOUT(openedLinks(), QStringList{href}, 20000);
}

void TextViewTest::leftClickOpensNothing_data()
{
    QTest::addColumn<QString>("href");

    QTest::newRow("web") << "https://example.org/path?a=1&b=2";
    QTest::newRow("e-mail") << "mailto:someone@example.org";
    QTest::newRow("phone") << "tel:+49301234567";
}

void TextViewTest::leftClickOpensNothing()
{
    QFETCH(QString, href);

    const QPoint position = anchorPosition(m_view, href);
    QVERIFY(!position.isNull());
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, Qt::NoModifier, position);
    QTest::mouseDClick(m_view->viewport(), Qt::LeftButton, Qt::NoModifier, position);
    QVERIFY(!m_view->findChild<KIO::OpenUrlJob *>());
    QTest::qWait(1000);
    QVERIFY(openedLinks().isEmpty());
    QCOMPARE(m_view->toPlainText(), linkText);
}

// Tab moves from link to link, and the Menu key opens the menu of the link that has keyboard focus.
void TextViewTest::keyboardReachesLinks()
{
    m_view->setFocus();
    QTRY_VERIFY(m_view->hasFocus());

    const QList<QPair<QString, QString>> expected{
        {QStringLiteral("https://example.org/path?a=1&b=2"), QStringLiteral("Open Link https://example.org/path?a=1&&b=2")},
        {QStringLiteral("mailto:someone@example.org"), QStringLiteral("Send E-mail to someone@example.org")},
        {QStringLiteral("tel:+49301234567"), QStringLiteral("Call +49301234567")},
        {QStringLiteral("http://www.example.org"), QStringLiteral("Copy Link Address")},
    };
    for (const auto &[href, firstEntry] : expected) {
        QTest::keyClick(m_view, Qt::Key_Tab);
        const std::optional<Link> focused = m_view->focusedLink();
        QVERIFY(focused);
        QCOMPARE(focused->address(), href);

        // What the window system sends for the Menu key.
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5), m_view->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(m_view, &menuKey);
        QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QCOMPARE(linkEntries(menu).first(), firstEntry);
        // The menu opens at the link, not where the event says.
        QCOMPARE(menu->pos(), m_view->viewport()->mapToGlobal(m_view->cursorRect().bottomLeft()));
        menu->close();
        QTRY_VERIFY(!QApplication::activePopupWidget());
    }
}

int main(int argc, char *argv[])
{
    // The handlers must be in place before anything looks for them.
    QTemporaryDir root;
    installLinkHandler(root.path());
    QApplication application(argc, argv);
    TextViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "textviewtest.moc"
