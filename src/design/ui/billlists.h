#pragma once
// The four bill lists of a bill-of-materials editor (profiles, steel, panels, fittings) and the
// operations that fill them from a type's stored bill and write them back. A list is a flat
// QTreeWidget of four columns: an item's text is the row's first value, its sub-items the others.
#include "design/billtypes.h"

#include <QPointer>
#include <QString>
#include <QTreeWidget>
#include <array>
#include <optional>

namespace design {

// Index 0 profiles, 1 steel, 2 panels, 3 fittings (the order of BillKind).
using BillListSet = std::array<QPointer<QTreeWidget>, kBillKindCount>;

// The lists of the editor whose dialog is open; the editor sets it just before showing a dialog
// that works on its lists.
extern BillListSet MCBillLists;

// The column headers of a kind's list.
const QStringList &billListHeaders(BillKind kind);
// A new, empty list of the kind, named `objectName`.
QTreeWidget *makeBillList(BillKind kind, const QString &objectName, QWidget *parent);

// The texts of the four lists, and rows appended to them.
Bill billFromLists(const BillListSet &lists);
void appendBillRows(const BillListSet &lists, const Bill &bill);
BillRow billRowOf(const QTreeWidget *list, int row);
// Puts new texts into rows the lists already hold (the bill has as many rows as the lists).
void setBillRow(QTreeWidget *list, int row, const BillRow &texts);
void writeBillTexts(const BillListSet &lists, const Bill &bill);

// Appends the type's stored bill to the lists, after the rows they hold. The whole bill is read
// first: on failure (false, *error) no list changes.
bool LoadMCBillLists(const BillListSet &lists, qint64 typeId, QString *error = nullptr);

// Writes the lists as the type's bill, all or nothing. False with *error when refused or failed;
// *problem names the row when a count is not a number.
bool SaveMCBillLists(const BillListSet &lists, qint64 typeId, QString *error = nullptr,
                     std::optional<BillProblem> *problem = nullptr);

} // namespace design
