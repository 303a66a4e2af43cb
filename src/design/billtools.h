#pragma once
// Changes of many bill rows at once, on a bill held in memory (the editor's lists): a catalogue
// material put in place of a row's material or of every row naming the same material, a text found
// and replaced in chosen columns, and the design macros replaced by numbers. Nothing here touches
// the database; the editor writes the lists when it saves.
#include "design/billtypes.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace design {

// The bill kind of the catalogue browser's list, by the first two characters of its first header:
// "型材", "型钢", "板材", "配件"; nullopt for anything else.
std::optional<BillKind> billKindOfListKind(const QString &listKind);

// A catalogue material as the browser's list shows it: its name, its code or 规格 (for
// profiles the model), and for fittings its unit.
struct Material
{
    QString name;
    QString code;
    QString unit;
};

// Puts the material into the row's identity columns: profiles and steel name and code, panels the
// name, fittings name, 规格 and unit. Counts and formulas stay.
void putMaterial(BillKind kind, BillRow &row, const Material &material);

// The rows (from 0) that name the same material as row `selected`, the selected row among them:
// the same name and, except for panels, the same code, both compared exactly, case included.
QList<int> sameMaterialRows(BillKind kind, const QList<BillRow> &rows, int selected);

// Find and replace in the chosen columns (0 to 3) of every row of all four lists: each processed
// cell becomes Cal::Replace1(cell, find, replacement), so it comes back upper case whether or not it
// held the text. Unchosen columns are untouched. An empty `find` changes nothing.
void findReplace(Bill &bill, const QString &find, const QString &replacement, const std::array<bool, 4> &columns);

// The design macros, in the order of the macro-replace boxes.
inline constexpr int kMacroCount = 12;
const std::array<QString, kMacroCount> &MacroNames();

// Puts values[j] in place of macro j, for every j whose value is not empty, in the third and
// fourth columns of the profile, steel and panel rows (one Replace1 pass per macro and column, in
// macro order); fittings are never touched.
void macroReplace(Bill &bill, const std::array<QString, kMacroCount> &values);

} // namespace design
