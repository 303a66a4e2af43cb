#pragma once
// Every statement of the statistics: the named dimensions and bills of chosen windows, the
// catalogue prices, and the work tables OutXC, OutXG, OutPJ, OutPC, OutTJ and OutJS. Values are
// bound; every rebuild of a work table is one transaction, so a failing run leaves it as it was.
#include "statstypes.h"

#include <QList>
#include "platform/database.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace stats {

class GroupSums;

class StatsStore
{
public:
    StatsStore(); // the main database
    explicit StatsStore(QSqlDatabase db) : m_db(db) {}

    QSqlDatabase db() const { return m_db; }
    QString lastError() const { return m_error; }

    // --- what the expansion reads
    std::optional<QList<LabelRow>> windowLabels(const QVariant &lineId);
    // Components of a combined line, by CBN then CMC.
    std::optional<QList<ComponentKey>> components(const QVariant &lineId);
    std::optional<ComponentLabels> componentLabels(const QVariant &lineId, const ComponentKey &key);
    std::optional<TypeBill> bill(const QVariant &typeNo);

    // --- work tables
    // Empties OutXC, OutXG, OutPC, OutPJ and OutTJ and writes the rows, all or nothing.
    bool replaceWorkRows(const WorkRows &rows);

    // Group sums of the work tables, by key ascending.
    std::optional<QList<CodeTotal>> pieceLengthTotals(PieceKind kind);           // 规格, sum(长度*数量)
    std::optional<QList<CodeLengthCount>> pieceLengthGroups(PieceKind kind);     // 规格, 长度, sum(数量)
    std::optional<QList<CodeTotal>> fittingTotals();                             // 规格, sum(数量)
    std::optional<QList<CodeTotal>> panelAreaTotals();                           // 名称, sum(长*宽*数量) in mm²
    std::optional<QList<PanelSizeCount>> panelSizeGroups();                      // 名称, 长, 宽, sum(数量)

    // The first catalogue row whose key equals `key`.
    std::optional<CatalogueEntry> lookup(CatalogueTable table, const QString &key);

    // Empties OutTJ and writes the lines as BN 1..n and the closing row n + 1, all or nothing.
    bool replacePricedList(const QList<PricedLine> &lines);
    // sum(金额) over OutTJ; 0 when nothing is priced.
    std::optional<double> pricedAmount();

    bool clearSettlement();
    // Empties OutJS and writes the rows, all or nothing.
    bool replaceSettlement(const QList<SettlementRow> &rows);

    // The job's 甲方单位, "" when the job is not there.
    std::optional<QString> jobClient(const QVariant &jobId);

    // Rows of an export query, fields as they come.
    std::optional<QList<QVariantList>> exportRows(ExportQuery query);

private:
    bool run(const QString &sql, const QVariantList &values, QSqlQuery **query = nullptr);
    // A read repeated per key, prepared once on the engine and run with the values; nullptr with
    // m_error when it cannot be.
    platform::RowReader *read(const QString &sql, const QVariantList &values);
    bool writePricedList(const QList<PricedLine> &lines);
    bool writeSettlement(const QList<SettlementRow> &rows);
    // Every row of a query, fields as they come; *rising (when asked) tells whether the first
    // field is a whole number rising strictly from row to row.
    bool readRows(const QString &sql, QList<QVariantList> *rows, bool *rising = nullptr);

    struct GroupRow
    {
        QString key;
        double numbers[2] = {0, 0};
        double total = 0;
    };
    // The group sums the pricing asks of the work tables.
    enum class Sums { ProfileTotals, SteelTotals, ProfileGroups, SteelGroups, Fittings, PanelAreas, PanelSizes, Count };
    // The groups of a work table (its quoted name) by a text key and up to two number keys, in key order, each with
    // sum(summed) over its rows. Added up in memory where that gives the engine's figures (see
    // GroupSums): from the rows this store wrote while they are known to be there, otherwise from
    // the table; else grouped and sorted by the engine.
    std::optional<QList<GroupRow>> groupSums(Sums which, const QString &table, const QString &textKey,
                                             const QStringList &numberKeys, const QString &summed);
    // The same sums of rows as written, as the engine would read them back; nullopt where they
    // might differ.
    static std::optional<QList<GroupRow>> writtenSums(const WorkRows &rows, Sums which);
    static QList<CodeTotal> codeTotals(const QList<GroupRow> &groups);
    // The groups added up in `sums`, their keys from `texts`; nullopt where they might differ from
    // the engine's.
    static std::optional<QList<GroupRow>> groupRows(const GroupSums &sums, const QStringList &texts);
    void forgetWrittenWork();

    // What this store last wrote to the work tables and to OutTJ, read back without the engine
    // while the stamp taken after the write still holds: no row of the connection's databases can
    // have changed since. The store's own writes to other tables move the stamps along.
    bool holds(const std::optional<platform::DataStamp> &kept);
    void restamp(const platform::DataStamp &before);
    // The rows of the last write until a group sum is first asked; then their sums, all at once.
    std::optional<WorkRows> m_writtenRows;
    std::optional<QList<GroupRow>> m_writtenSums[int(Sums::Count)];
    std::optional<platform::DataStamp> m_workStamp;
    QList<PricedLine> m_pricedList;
    std::optional<platform::DataStamp> m_listStamp;

    QSqlDatabase m_db;
    platform::PreparedStatements m_statements{m_db};
    std::map<QString, std::unique_ptr<platform::RowReader>> m_readers;
    QString m_error;
};

} // namespace stats
