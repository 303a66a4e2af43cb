#pragma once
// The named queries that feed the printed reports, each with its connection and parameter. A bill
// report is a head query with a rows query related by 单据编号.
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace app {

struct ReportCommand
{
    QString name;
    QString connection; // "MainConn" or "CKConn"
    QString sql;        // "?" stands for the parameter, when there is one
    bool hasParameter = false;
    QString childSql;   // rows of a bill head, related by 单据编号; empty for flat commands
};

// CmdLK, CmdCK, CmdKC, CmdGCHT, CmdTJ, CmdJS, CmdYH, CmdYHT.
const QList<ReportCommand> &reportCommands();
const ReportCommand *reportCommand(const QString &name);

// Rows of a command as field texts (the general number form), or nullopt with *error.
using ReportRows = QList<QStringList>;
std::optional<ReportRows> runReportCommand(const QString &name, const QVariant &parameter = {},
                                           QString *error = nullptr);
// The related rows of a bill head (CmdLK, CmdCK) for one bill number.
std::optional<ReportRows> runReportChild(const QString &name, const QVariant &billNo, QString *error = nullptr);

} // namespace app
