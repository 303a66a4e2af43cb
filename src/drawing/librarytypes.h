#pragma once
// The values of the drawing library: an entry of its index, the entity rows of one drawing, and what
// the import of an older database copies.
#include "cpictire.h"

#include <QList>
#include <QString>
#include <QVariantList>

namespace drawing {

struct LibraryEntry
{
    qint64 number = 0;
    QString name;
};

// The entities of one library drawing, as read.
struct LibraryRows
{
    QList<TwoPoints> lines, recs, dirs;
    QList<ThreePoints> dims, arcs;
    QList<TextEntity> texts;
};

// One table of an older database, read whole.
struct TableCopy
{
    QString table;
    bool present = false;
    QList<QVariantList> rows;
};

// A door/window type as the drawing rebuild sees it.
struct TypeDrawingRow
{
    qint64 rowid = 0;
    QString name;
    QString file;
};

} // namespace drawing
