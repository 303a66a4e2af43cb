#pragma once
// Every statement of the statistics: the named dimensions and bills of chosen windows, the
// catalogue prices, and the work tables OutXC, OutXG, OutPJ, OutPC, OutTJ and OutJS. Values are
// bound; every rebuild of a work table is one transaction, so a failing run leaves it as it was.
#include <QList>
#include "platform/database.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <optional>

namespace stats {

struct LabelRow
{
    QString name;
    QString value;
};

// A row of 窗型材 or 窗型钢.
struct PieceBillRow
{
    QString name;
    QString code;
    QString countFormula;
    QString lengthFormula;
};

struct FittingBillRow
{
    QString name;
    QString code;
    double quantity = 0;
    QString unit;
};

struct PanelBillRow
{
    QString name;
    double quantity = 0;
    QString lengthFormula;
    QString widthFormula;
};

struct TypeBill
{
    QList<PieceBillRow> profiles;
    QList<PieceBillRow> steel;
    QList<FittingBillRow> fittings;
    QList<PanelBillRow> panels;
};

struct ComponentKey
{
    QVariant cbn;
    QString cmc;
};

struct ComponentLabels
{
    QVariant count; // Count of the first row, null when it has none
    QList<LabelRow> labels;
};

// Rows of OutXC / OutXG.
struct PieceRow
{
    QString name;
    QString code;
    double length = 0;
    double count = 0;
    friend bool operator==(const PieceRow &, const PieceRow &) = default;
};

// Rows of OutPJ.
struct FittingRow
{
    QString name;
    QString code;
    double quantity = 0;
    QString unit;
    friend bool operator==(const FittingRow &, const FittingRow &) = default;
};

// Rows of OutPC.
struct PanelRow
{
    QString name;
    double length = 0;
    double width = 0;
    double count = 0;
    friend bool operator==(const PanelRow &, const PanelRow &) = default;
};

struct WorkRows
{
    QList<PieceRow> profiles;
    QList<PieceRow> steel;
    QList<FittingRow> fittings;
    QList<PanelRow> panels;
};

// One priced line of OutTJ; its BN is its place in the list, from 1.
struct PricedLine
{
    QString name;
    QString spec;
    double unitPrice = 0;
    QString unit;
    double amount = 0;
    double quantity = 0;
    friend bool operator==(const PricedLine &, const PricedLine &) = default;
};

// One row of OutJS.
struct SettlementRow
{
    QString name;  // XH
    QString kind;  // LX
    double width = 0;
    double height = 0;
    double count = 0;
    double area = 0;   // MJ
    double price = 0;  // DJ
    double amount = 0; // JE
    int bn = 0;
    friend bool operator==(const SettlementRow &, const SettlementRow &) = default;
};

// A catalogue row found by its key; found false when the catalogue does not hold the key.
struct CatalogueEntry
{
    bool found = false;
    QString name;
    QString code;
    QString unit;
    double density = 0; // kg/m
    double price = 0;   // per tonne, per unit or per square metre
};

enum class PieceKind { Profile, Steel };
enum class CatalogueTable { Profile, Steel, Fitting, Panel };

struct CodeTotal
{
    QString code;
    double total = 0;
};
struct CodeLengthCount
{
    QString code;
    double length = 0;
    double count = 0;
};
struct PanelSizeCount
{
    QString name;
    double length = 0;
    double width = 0;
    double count = 0;
};

// The queries of the five export tables.
enum class ExportQuery { PricedList, PricedListWithPrices, Settlement };

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
    bool writePricedList(const QList<PricedLine> &lines);
    bool writeSettlement(const QList<SettlementRow> &rows);

    QSqlDatabase m_db;
    platform::PreparedStatements m_statements{m_db};
    QString m_error;
};

// A number text of a list (type number, record number) as a bound value: whole numbers as integers.
QVariant numberParam(const QString &text);

} // namespace stats
