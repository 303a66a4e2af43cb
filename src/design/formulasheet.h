#pragma once
// The formula workbook: door/window types with their bills of materials on the first worksheet of
// a workbook, one type row followed by a block (header row, then one row per bill row) for each
// bill table in which the type has rows, in the order profiles, steel, panels, fittings.
//
//   type row   A "门窗名称：" + name   B drawing number
//   header     A-D the headers of the table ("型材名称" ... see formulaHeader)
//   bill row   A-D the four value columns of the table
//
// Column A alone tells what a row is, by its first four characters.
#include "design/billtypes.h"
#include "platform/workbook.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace design {

inline const QString kFormulaTypePrefix = QStringLiteral("门窗名称：");

// The header row of a bill table's block.
const QStringList &formulaHeader(BillKind kind);

// The workbook of the types, in the order given.
platform::Workbook formulaWorkbook(const QList<TypeWithBill> &types);

enum class FormulaRowKind { Type, Header, Bill };
struct FormulaRowClass
{
    FormulaRowKind kind = FormulaRowKind::Bill;
    BillKind table = BillKind::Profile; // for a header: the table it opens
};
// What a row is, by the first four characters of its column A: "门窗名称" a type row, "型材名称",
// "型钢名称", "板材名称" or "配件名称" a header, anything else a bill row.
FormulaRowClass classifyFormulaRow(const QString &columnA);

// What an import takes from a sheet.
struct FormulaSheet
{
    QList<ImportedType> types;
    int rowsRead = 0;   // rows read before the first empty column A
    int rowsIgnored = 0; // bill rows with no table, or with no type above them
    // The first row that cannot be imported (a drawing number that is not a number); the types
    // are then not to be imported at all.
    std::optional<ImportFailure> problem;
};

// What an import reads of the first worksheet: columns A to D, down to the first empty column A.
inline const platform::SheetArea kFormulaSheetArea{4, true};

// Reads the sheet from its first row down to the first row whose column A is empty. A type row
// starts a new type (its name is column A after the first five characters, "-" when that is
// empty; its drawing number is column B, "0" when empty) and leaves no table current; a header
// makes its table current; a bill row joins the current table of the last type. Bill rows with
// no current table, and any bill rows above the first type row, are ignored. Names may repeat.
FormulaSheet readFormulaSheet(const platform::CellGrid &grid);

} // namespace design
