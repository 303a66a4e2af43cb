#pragma once
// Named dimensions from drawings: every text entity of a drawing is one dimension (its whole text
// as the name, "0" as the value, its anchor as the position), and the component numbering of the
// combined window's nodes.
#include "jobtypes.h"

#include <QStringList>
#include <optional>

namespace project {

// The labels of library drawing `number`, in drawing order. A number with nothing stored gives an
// empty list; nullopt with *error when the drawing cannot be read.
std::optional<QList<NamedDimension>> drawingLabels(const QString &number, QString *error = nullptr);

// The drawing number of a door/window type; nullopt with *error when the type is gone or unreadable.
std::optional<QString> typeDrawingNumber(qint64 typeNo, QString *error = nullptr);

// The labels of a type's drawing; none for a type without a drawing.
std::optional<QList<NamedDimension>> typeLabels(qint64 typeNo, QString *error = nullptr);

// True for a label that stands for the making width ("B") or height ("H"), either case, blanks
// around ignored.
bool isWidthLabel(const QString &name);
bool isHeightLabel(const QString &name);

// The next two-digit node number of a combined window: one more than the largest number formed by
// the last two characters of any node text (their leading number, 0 when none), at least 10.
QString NextCBN(const QStringList &nodeTexts);

// The general text of a position.
QString positionText(double v);

} // namespace project
