#pragma once
// Shows a workbook to the user: written to a new file in the temporary folder and opened with the
// desktop's default spreadsheet program.
#include "workbook.h"

namespace platform {

// The file is named after fileStem ("统计报表" gives 统计报表-XXXXXX.xlsx, characters that file
// names cannot hold are dropped); every call makes a new file, so a workbook still open in the
// spreadsheet program is never overwritten. The file is left in place for the program to read.
// On success *path (when not null) receives the file's path. Fails when the file cannot be
// written or the desktop cannot open it.
bool showWorkbook(const Workbook &book, const QString &fileStem, QString *error = nullptr,
                  QString *path = nullptr);

} // namespace platform
