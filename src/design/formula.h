#pragma once
#include "design/macrotable.h"

#include <QStringView>

// Formula evaluation: the one way the system turns a bill formula into a number for a
// window's named dimensions.
namespace design {

// Trims the blanks around every name and value, whatever the number of entries, then orders the
// entries from the longest name to the shortest by an exchange sort (names of equal length
// do not keep their order), so that a name is replaced before any shorter name inside it.
void SortMacrosByNameLength(MacroTable &table);

// The value of formula `expr` with every name of `table` replaced by its value, in table order,
// as plain upper-case substrings (see Cal::Replace), and the rest evaluated by Cal::CalExpress.
// Upper-cases the table's names. Ends for every input, within a bounded amount of work: a formula
// longer than text::kMaxTextLength, or one whose replacements would make it longer, or would read
// more text in all than a few million characters, has no value (NaN, and *stepFailed is set), like
// a formula whose arithmetic fails.
// *stepFailed (when given) tells whether the evaluator passed over a failing step (see Cal::stepFailed).
float EvalFormula(QStringView expr, MacroTable &table, bool *stepFailed = nullptr);

} // namespace design
