#pragma once
// Piece-list files (*.DDD): for each row a line with the length and a line with the quantity, CR LF
// ended, written in GB18030 (GBK's bytes for every character GBK has); read in UTF-8 (with or
// without a byte-order mark) or the Chinese code page. Reading takes delimited fields (a line end or a comma ends a field,
// leading blanks are skipped, double quotes are dropped) in pairs, length then quantity.
#include "yhrun.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace optimise {

struct DDDRead
{
    QList<PieceListRow> rows;  // the pairs read before any stop
    bool complete = true;      // false when the file ended inside a pair
    bool badValue = false;     // reading stopped at a value that is no number
};

QByteArray formatDDD(const QList<PieceListRow> &rows);
DDDRead parseDDD(const QByteArray &bytes);

// Appends the file's pairs to *rows (those before a stop included). False when the file cannot be read.
bool LoadDDDFile(const QString &fileName, QList<PieceListRow> *rows, DDDRead *read = nullptr);
// Writes the rows, replacing the file. False, with the cause in *error, when it cannot be written;
// the old file is then kept.
bool SaveDDDFile(const QString &fileName, const QList<PieceListRow> &rows, QString *error = nullptr);

} // namespace optimise
