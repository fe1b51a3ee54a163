// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "clipboardexport/tool.h"
#include "fileexport/tool.h"
#include "scanresult.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace Brevlinder;

namespace
{

using ToolFactory = std::function<std::unique_ptr<AbstractExportTool>()>;

enum class Result {
    Good,
    EmptyText,
    EmptyData,
    Failed,
};

ScanResult scanResultFor(Result kind)
{
    switch (kind) {
    case Result::Good:
        return ScanResult(QStringLiteral("text"), QByteArrayLiteral("data"));
    case Result::EmptyText:
        return ScanResult(QString(), QByteArrayLiteral("data"));
    case Result::EmptyData:
        return ScanResult(QStringLiteral("text"), QByteArray());
    case Result::Failed:
        break;
    }
    return ScanResult();
}

}

class ExportEnablingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void actionsFollowTheLatestResult_data()
    {
        QTest::addColumn<ToolFactory>("makeTool");
        // Results given before the buttons are set up, and after.
        QTest::addColumn<QList<Result>>("earlyResults");
        QTest::addColumn<QList<Result>>("results");
        QTest::addColumn<bool>("enabled");

        const QList<std::pair<const char *, ToolFactory>> tools = {
            {"clipboard",
             [] {
                 return std::unique_ptr<AbstractExportTool>(std::make_unique<ClipboardExport::Tool>());
             }},
            {"file",
             [] {
                 return std::unique_ptr<AbstractExportTool>(std::make_unique<FileExport::Tool>());
             }},
        };
        for (const auto &[name, makeTool] : tools) {
            QTest::addRow("%s: no result yet", name) << makeTool << QList<Result>{} << QList<Result>{} << false;
            QTest::addRow("%s: valid result", name) << makeTool << QList<Result>{} << QList<Result>{Result::Good} << true;
            QTest::addRow("%s: valid with empty text", name) << makeTool << QList<Result>{} << QList<Result>{Result::EmptyText} << true;
            QTest::addRow("%s: valid with empty data", name) << makeTool << QList<Result>{} << QList<Result>{Result::EmptyData} << true;
            QTest::addRow("%s: failed scan", name) << makeTool << QList<Result>{} << QList<Result>{Result::Failed} << false;
            QTest::addRow("%s: failed scan after a good one", name) << makeTool << QList<Result>{} << QList<Result>{Result::Good, Result::Failed} << false;
            QTest::addRow("%s: good scan after a failed one", name) << makeTool << QList<Result>{} << QList<Result>{Result::Failed, Result::Good} << true;
            // A tool may get a result before its buttons exist.
            QTest::addRow("%s: valid result before the buttons", name) << makeTool << QList<Result>{Result::Good} << QList<Result>{} << true;
            QTest::addRow("%s: failed scan before the buttons", name) << makeTool << QList<Result>{Result::Failed} << QList<Result>{} << false;
            QTest::addRow("%s: failed scan after the buttons, good one before", name)
                << makeTool << QList<Result>{Result::Good} << QList<Result>{Result::Failed} << false;
            QTest::addRow("%s: good scan after the buttons, failed one before", name)
                << makeTool << QList<Result>{Result::Failed} << QList<Result>{Result::Good} << true;
        }
    }

    void actionsFollowTheLatestResult()
    {
        QFETCH(ToolFactory, makeTool);
        QFETCH(QList<Result>, earlyResults);
        QFETCH(QList<Result>, results);
        QFETCH(bool, enabled);

        QDialogButtonBox buttonBox;
        const std::unique_ptr<AbstractExportTool> tool = makeTool();
        for (Result result : earlyResults) {
            tool->setScanResult(scanResultFor(result));
        }
        tool->setupButtons(&buttonBox);
        for (Result result : results) {
            tool->setScanResult(scanResultFor(result));
        }

        const QList<QToolButton *> buttons = buttonBox.findChildren<QToolButton *>();
        QCOMPARE(buttons.size(), 1);
        QToolButton *button = buttons.first();
        QCOMPARE(buttonBox.buttonRole(button), QDialogButtonBox::ActionRole);
        QVERIFY(button->menu());
        const QList<QAction *> actions = button->menu()->actions();
        QCOMPARE(actions.size(), 2);
        QCOMPARE(button->defaultAction(), actions.first());
        QCOMPARE(actions.at(0)->isEnabled(), enabled);
        QCOMPARE(actions.at(1)->isEnabled(), enabled);
        QCOMPARE(button->isEnabled(), enabled);
    }
};

QTEST_MAIN(ExportEnablingTest)

#include "exportenablingtest.moc"
