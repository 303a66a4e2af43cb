#pragma once
// Checks of what the catalogue's input boxes hold before anything is written.
#include "types.h"

#include <QList>
#include <QStringList>
#include <QStringView>
#include <QVariantList>
#include <optional>

namespace catalogue {

// A number as the numeric boxes take it: digits with at most one "." and at least one digit, blanks
// around allowed. "1.2.3", ".", "", "-5", "1E3" and pasted words are not.
bool isCatalogueNumber(QStringView text);
// Its value; nullopt when it is not such a number (or too large to be finite).
std::optional<double> catalogueNumber(QStringView text);

enum class FieldProblem { None, Empty, NotANumber };

struct FieldCheck
{
    int index = -1; // the first failing box; -1 when all pass
    FieldProblem problem = FieldProblem::None;
    bool ok() const { return problem == FieldProblem::None; }
};

// Visits the boxes in order and stops at the first that is empty, or numeric and not a number.
FieldCheck checkFields(const QStringList &texts, const QList<bool> &numeric);

// Which fields of an item kind are numeric, in field order.
QList<bool> numericFields(ItemKind kind);

// The typed texts of an item's fields as values to store: texts as typed, numbers read. nullopt,
// with *check telling which box failed, when checkFields refuses them or the count is wrong.
std::optional<QVariantList> itemValues(ItemKind kind, const QStringList &texts, FieldCheck *check = nullptr);

} // namespace catalogue
