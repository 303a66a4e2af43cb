#include "fixture.h"

#include "app/reportcommands.h"
#include "warehouse/warehousestore.h"

using namespace Qt::StringLiterals;
using namespace app;

class TstReportCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }
    void everyCommandRunsOnTheSchema();
    void billHeadAndRows();
    void optimisationSummaryGroups();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstReportCommands::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    QCOMPARE(warehouse::OpenCKDatabase().status, OpenStatus::Opened);
}

void TstReportCommands::everyCommandRunsOnTheSchema()
{
    QCOMPARE(reportCommands().size(), 8);
    for (const ReportCommand &c : reportCommands()) {
        QString err;
        const auto rows = runReportCommand(c.name, 1, &err);
        QVERIFY2(rows.has_value(), qPrintable(c.name + u": "_s + err));
        QVERIFY(rows->isEmpty());
    }
    QVERIFY(!runReportCommand(u"CmdBT"_s).has_value());
}

void TstReportCommands::billHeadAndRows()
{
    QSqlDatabase ck = QSqlDatabase::database(u"CKConn"_s);
    QVERIFY(testfixture::exec(ck, u"INSERT INTO 入库单 VALUES (3, ?, 150, 'u', 'n', 'b', '2026-12-10')"_s, {u"厂'家"_s}));
    QVERIFY(testfixture::exec(ck, u"INSERT INTO 入库单子表 VALUES (3, '型材', 'A', '根', 7.5, 20, '型材')"_s));
    QVERIFY(testfixture::exec(ck, u"INSERT INTO 入库单子表 VALUES (4, '型材', 'B', '根', 1, 1, '型材')"_s));
    const auto head = runReportCommand(u"CmdLK"_s, 3);
    QVERIFY(head && head->size() == 1);
    QCOMPARE(head->first().at(1), u"厂'家"_s);
    const auto rows = runReportChild(u"CmdLK"_s, 3);
    QVERIFY(rows && rows->size() == 1);
    QCOMPARE(rows->first().at(4), u"7.5"_s);
}

void TstReportCommands::optimisationSummaryGroups()
{
    QVERIFY(testfixture::exec(mainDb(), u"INSERT INTO 优化结果 VALUES ('框', '1200+800', 2, .9, 100), ('框', '1500', 2, .5, 600)"_s));
    const auto rows = runReportCommand(u"CmdYHT"_s);
    QVERIFY(rows && rows->size() == 1);
    QCOMPARE(rows->first(), (QStringList{u"框"_s, u"4"_s, u"0.7"_s}));
}

QTEST_MAIN(TstReportCommands)
#include "tst_reportcommands.moc"
