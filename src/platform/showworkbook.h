#pragma once
// Hands a workbook to the user: written to a new file in the temporary folder and opened with the
// desktop's spreadsheet program.
#include "workbook.h"

class QWidget;

namespace platform {

// The file is named after fileStem ("统计报表" gives 统计报表-XXXXXX.xlsx, characters that file
// names cannot hold are dropped); every call makes a new file, so a workbook still open in the
// spreadsheet program is never overwritten. The user always learns where the workbook is: it opens
// in the desktop's program for .xlsx, or, where none opens it, a message gives the file's full path
// and offers to save a copy where the user chooses. A file that cannot be written is reported with
// its cause. The files are removed when the program ends; copies the user saved stay.
// True when the workbook was written (*path, when not null, receives its path).
bool showWorkbook(QWidget *parent, const Workbook &book, const QString &fileStem, QString *path = nullptr);

// Removes the workbooks written so far; runs by itself when the program ends.
void removeShownWorkbooks();

} // namespace platform
