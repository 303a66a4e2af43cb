#pragma once
// The values of the type library: the makers, series and types of the type tree, and a type's bill
// of materials with its four kinds of row.
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace design {

struct TypeMaker
{
    qint64 id = 0;
    QString name;
};

struct TypeSeries
{
    qint64 makerId = 0;
    qint64 id = 0;
    QString name;
};

struct DoorType
{
    qint64 seriesId = 0;
    qint64 id = 0;
    QString name;
    QString drawingFile;   // 图文件, kept for the drawing rebuild, never written here
    QString drawingNumber; // 图号 as text, "" when null
};

// The tree as the type window shows it: makers and series by 编号, the types of a series by name.
struct TypeTreeSeries
{
    TypeSeries series;
    QList<DoorType> types;
};

struct TypeTreeMaker
{
    TypeMaker maker;
    QList<TypeTreeSeries> series;
};

// The four kinds of bill row, in the order of the tables and of the editor's lists.
enum class BillKind { Profile = 0, Steel = 1, Panel = 2, Fitting = 3 };
inline constexpr int kBillKindCount = 4;

// One bill row as the editor's list shows it: the four value columns of its table, as text.
using BillRow = std::array<QString, 4>;

struct Bill
{
    std::array<QList<BillRow>, kBillKindCount> rows;

    QList<BillRow> &of(BillKind kind) { return rows[size_t(kind)]; }
    const QList<BillRow> &of(BillKind kind) const { return rows[size_t(kind)]; }
    bool isEmpty() const;
    friend bool operator==(const Bill &, const Bill &) = default;
};

struct BillTableInfo
{
    BillKind kind;
    QString table;
    QString caption;                // the editor's tab of this kind
    std::array<QString, 4> columns; // the value columns after 窗号 and 编号
    int countColumn = -1;           // index of a column stored as a number, -1 for none
};

const BillTableInfo &billTableInfo(BillKind kind);
const std::array<BillKind, kBillKindCount> &allBillKinds();

// A type with its bill, as the formula workbook holds it.
struct TypeWithBill
{
    DoorType type;
    Bill bill;
};

// A type that an import creates, with the rows of the source it came from (1-based, as the user
// sees them) so that a failure can name the row.
struct ImportedType
{
    int sourceRow = 0;
    QString name;
    qint64 drawingNumber = 0;
    Bill bill;
    std::array<QList<int>, kBillKindCount> sourceRows; // one per bill row, parallel to bill.rows
};

// Why an import was refused or failed; sourceRow 0 when no single row is to blame.
struct ImportFailure
{
    int sourceRow = 0;
    QString message;
};

// A row that cannot be stored: which list, which row (from 0) and what to tell the user.
struct BillProblem
{
    BillKind kind = BillKind::Profile;
    int row = 0;
    QString message;
};

// The first row whose count, stored as a number (panels and fittings), is not a number.
std::optional<BillProblem> checkBill(const Bill &bill);

} // namespace design
