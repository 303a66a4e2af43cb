#pragma once
// The rows of the statistics: what the expansion reads of a window and its type, the work table rows,
// priced and settlement lines, catalogue entries and the group sums of the reports.
#include <QList>
#include <QString>
#include <QVariant>

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

} // namespace stats
