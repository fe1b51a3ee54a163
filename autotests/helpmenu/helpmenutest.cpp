// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "tool.h"

#include <KAboutData>
#include <KHelpMenu>

#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace Brevlinder;

class HelpMenuTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        KAboutData aboutData(QStringLiteral("helpmenutest"),
                             QStringLiteral("Help Menu Test"),
                             QStringLiteral("1.0"),
                             QString(),
                             KAboutLicense::GPL_V2,
                             QString(),
                             QString(),
                             QString(),
                             QStringLiteral("bugs@example.org"));
        KAboutData::setApplicationData(aboutData);
    }

    void init()
    {
        m_dialog = std::make_unique<QDialog>();
        auto *layout = new QVBoxLayout(m_dialog.get());
        m_buttonBox = new QDialogButtonBox(m_dialog.get());
        layout->addWidget(m_buttonBox);
        m_tool = std::make_unique<HelpMenu::Tool>();
        m_tool->setupButtons(m_buttonBox);
        m_helpButton = m_buttonBox->button(QDialogButtonBox::Help);
        QVERIFY(m_helpButton);
    }

    void cleanup()
    {
        m_dialog.reset();
        m_tool.reset();
    }

    void menuHasTheAboutEntriesButNoHelpContentsNorWhatsThis()
    {
        QCOMPARE(m_buttonBox->buttonRole(m_helpButton), QDialogButtonBox::HelpRole);
        auto *helpMenu = m_helpButton->findChild<KHelpMenu *>();
        QVERIFY(helpMenu);
        QMenu *menu = m_helpButton->menu();
        QCOMPARE(menu, helpMenu->menu());
        const QList<QAction *> entries = menu->actions();

        for (const KHelpMenu::MenuId present : {KHelpMenu::menuAboutApp, KHelpMenu::menuAboutKDE, KHelpMenu::menuReportBug}) {
            QAction *action = helpMenu->action(present);
            QVERIFY2(action && entries.contains(action), qPrintable(QString::number(present)));
        }
        QVERIFY(helpMenu->action(KHelpMenu::menuAboutApp)->text().contains(QStringLiteral("Help Menu Test")));
        for (const KHelpMenu::MenuId absent : {KHelpMenu::menuHelpContents, KHelpMenu::menuWhatsThis}) {
            QAction *action = helpMenu->action(absent);
            QVERIFY2(!action || !entries.contains(action), qPrintable(QString::number(absent)));
        }
        for (const QAction *entry : entries) {
            QVERIFY2(!entry->text().contains(QStringLiteral("Handbook")) && !entry->text().contains(QStringLiteral("What's This")), qPrintable(entry->text()));
        }
    }

    void helpButtonNeverBecomesTheDefault()
    {
        // A dialog makes its first auto-default push button the default when it shows, and a focused one too.
        QVERIFY(!m_helpButton->autoDefault());
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        QVERIFY(!m_helpButton->isDefault());
        m_helpButton->setFocus();
        QTRY_VERIFY(m_helpButton->hasFocus());
        QVERIFY(!m_helpButton->isDefault());
    }

private:
    std::unique_ptr<QDialog> m_dialog;
    QDialogButtonBox *m_buttonBox = nullptr;
    std::unique_ptr<HelpMenu::Tool> m_tool;
    QPushButton *m_helpButton = nullptr;
};

QTEST_MAIN(HelpMenuTest)

#include "helpmenutest.moc"
