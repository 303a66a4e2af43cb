#pragma once
// Every statement of the cutting optimisation: reading jobs, windows, bills and named dimensions,
// and rebuilding the work tables 优化数据 and 优化结果. Values are bound; each rebuild is one
// transaction, so a failing run leaves the tables as they were.
#include "yhcut.h"
#include "yhtypes.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include "platform/database.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace optimise {

class YHStore
{
public:
    YHStore();
    explicit YHStore(QSqlDatabase db) : m_db(db) {}

    QSqlDatabase db() const { return m_db; }
    QString lastError() const { return m_error; }

    // 工程 rows, every field as text by position (编号, 合同编号, 工程名称, 工程地点, 甲方单位).
    std::optional<QList<QStringList>> jobs();
    // 工程门窗 rows of a job, every field as text by position.
    std::optional<QList<QStringList>> jobWindows(qint64 jobId);

    // Bill rows of a type: table is "窗型材" or "窗型钢".
    std::optional<QList<BillPieceRow>> billRows(const QString &table, const QVariant &typeNo);
    std::optional<QList<LabelRow>> windowLabels(const QVariant &windowId);
    std::optional<QList<ComponentKey>> components(const QVariant &windowId);
    std::optional<ComponentLabels> componentLabels(const QVariant &windowId, const ComponentKey &key);

    // Empties 优化结果 (when clearPlan) and 优化数据 and writes the pieces, all or nothing.
    bool replacePieces(const QList<PieceRow> &pieces, bool clearPlan);
    // Empties both work tables, writes the typed pieces and the plan, all or nothing.
    bool replacePiecesAndPlan(const QList<PieceRow> &pieces, const QList<PlanRow> &plan);
    // The plan written in parts, inside a transaction of the caller's: emptied, then each
    // material's rows appended as they are cut, so that a large job's plan is never held whole.
    bool clearPlan();
    bool appendPlan(const QList<PlanRow> &rows);

    // Distinct 规格 of 优化数据, ascending.
    std::optional<QStringList> materialCodes();
    // Scheme one's rows of a code (规格 equal in the column's collation): grouped by length, longest
    // first, the quantities summed in stored order.
    std::optional<QList<LengthQty>> groupedLengthsDesc(const QString &code);
    // Scheme two's rows of a code: one per piece row, in stored order.
    std::optional<QList<LengthQty>> pieceRows(const QString &code);

    // The grouped plan and the per-material summary, in material order.
    std::optional<QList<PlanGroupRow>> planGroups();
    std::optional<QList<SummaryRow>> planSummary();

private:
    // 优化数据 read in one pass for a run that asks code by code: the table keeps no index on 规格,
    // whose building after every write cost the write more than this pass costs the run. The rows
    // of each code under codeKey, kept while the data stamp stays the one taken with them (or
    // after this store's own plan writes, which leave 优化数据 alone).
    struct CodeRows
    {
        QList<LengthQty> rows;
        // Every length a number and every quantity a whole one, their total far from the last
        // whole double: sums of equal lengths come out the same here as in the engine, in any order.
        bool summable = true;
    };
    struct PiecePass
    {
        platform::DataStamp stamp;
        QHash<QByteArray, CodeRows> byCode;
    };
    // The pass of the rows as stored; false with m_error when the read fails.
    bool readRows();
    // The engine's grouping of every code, for codes whose sums could come out otherwise here.
    std::optional<QList<LengthQty>> groupedByEngine(const QString &code);
    bool fresh(const std::optional<PiecePass> &pass, const platform::DataStamp &now) const;
    void restampPasses(const platform::DataStamp &before);

    bool writePieces(const QList<PieceRow> &pieces);
    bool writePlan(const QList<PlanRow> &plan);
    bool run(const QString &sql, const QVariantList &values, QSqlQuery **query = nullptr);

    QSqlDatabase m_db;
    platform::PreparedStatements m_statements{m_db};
    QString m_error;
    std::optional<PiecePass> m_rows, m_grouped;
};

// The key under which 规格 values equal in its collation (NOCASE) meet: their UTF-8 with ASCII
// letters in lower case up to the first NUL, and their length when a NUL ends the compared part.
QByteArray codeKey(const QString &code);

} // namespace optimise
