#include "reportcommands.h"

#include "maindb.h"
#include "platform/database.h"

#include <QSqlDatabase>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace app {

namespace {
const QString kCK = QStringLiteral("CKConn");

std::optional<ReportRows> run(const QString &connection, const QString &sql, const QVariantList &values,
                              QString *error)
{
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    QSqlQuery q(db);
    if (!platform::execBound(db, sql, values, error, &q))
        return std::nullopt;
    ReportRows rows;
    while (q.next()) {
        QStringList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << fieldText(q.value(i));
        rows << row;
    }
    return rows;
}
} // namespace

const QList<ReportCommand> &reportCommands()
{
    static const QList<ReportCommand> commands = {
        {u"CmdLK"_s, kCK, u"Select * from 入库单 where 单据编号=?"_s, true,
         u"SELECT * FROM `入库单子表` WHERE 单据编号=?"_s},
        {u"CmdCK"_s, kCK, u"Select * from 出库单 where 单据编号=?"_s, true,
         u"SELECT * FROM `出库单子表` WHERE 单据编号=?"_s},
        {u"CmdKC"_s, kCK, u"SELECT * FROM `库存表`"_s, false, {}},
        {u"CmdGCHT"_s, kMainConn, u"Select * from 工程合同 where HTBN=?"_s, true, {}},
        {u"CmdTJ"_s, kMainConn, u"Select * from outTj"_s, false, {}},
        {u"CmdJS"_s, kMainConn, u"Select * from OutJS"_s, false, {}},
        {u"CmdYH"_s, kMainConn,
         u"select 材料名称,切割规格,sum(数量) as 数量,优化比率,剩余料长 from 优化结果 group by 材料名称,切割规格,优化比率,剩余料长"_s,
         false, {}},
        {u"CmdYHT"_s, kMainConn,
         u"Select 材料名称,Sum(数量),Sum(优化比率*数量) / Sum(数量) from 优化结果 group by 材料名称"_s, false, {}},
    };
    return commands;
}

const ReportCommand *reportCommand(const QString &name)
{
    for (const ReportCommand &c : reportCommands())
        if (c.name == name)
            return &c;
    return nullptr;
}

std::optional<ReportRows> runReportCommand(const QString &name, const QVariant &parameter, QString *error)
{
    const ReportCommand *c = reportCommand(name);
    if (!c) {
        if (error)
            *error = u"未知的报表命令：%1"_s.arg(name);
        return std::nullopt;
    }
    return run(c->connection, c->sql, c->hasParameter ? QVariantList{parameter} : QVariantList{}, error);
}

std::optional<ReportRows> runReportChild(const QString &name, const QVariant &billNo, QString *error)
{
    const ReportCommand *c = reportCommand(name);
    if (!c || c->childSql.isEmpty()) {
        if (error)
            *error = u"报表命令没有明细：%1"_s.arg(name);
        return std::nullopt;
    }
    return run(c->connection, c->childSql, {billNo}, error);
}

} // namespace app
