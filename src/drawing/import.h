#pragma once
// Import of an older main database and the rebuilding of the drawing library from the drawing
// files that its door/window types name.
#include <QString>
#include <QStringList>

namespace drawing {

// The tables taken from an older main database, in copying order.
const QStringList &importTables();

// OwnDatabase: the file is one of the program's own databases (the live cl.mdb above all);
// importing it would empty the drawing library and change nothing else.
enum class ImportStatus { Done, CannotOpen, Failed, OwnDatabase };

// Replaces the import tables of the main database by the older database's rows (field by field by
// position), then rebuilds the drawing library; all in one transaction, so that a failure leaves
// the main database unchanged. CannotOpen: the file is missing, not a database, or holds none of
// the import tables.
ImportStatus ImportOldDatabase(const QString &path, QString *error = nullptr);

// Empties the library (arcs included) and gives every type, in table order, the drawing number n
// from 1 on, a 图 row named after the type and the contents of its drawing file (empty when the
// file cannot be read). A file missing at its stored path is looked for by name in `searchFolders`
// and the drawing-file folder. All or nothing.
bool ResetDrawingTables(QString *error = nullptr, const QStringList &searchFolders = {});

// Where a stored drawing-file path is found now; empty when nowhere.
QString resolveDrawingFile(const QString &stored, const QStringList &searchFolders = {});

// The folder of drawing files: the setting PICTUREPATH, by default the user's documents folder.
QString pictureFolder();

} // namespace drawing
