#pragma once
// The import of an older main database, with its messages.
#include <QString>
#include <functional>

class QWidget;

namespace drawing::ui {

// Imports `path` and tells the user how it went: "无法打开数据库！" when the file cannot be
// opened, a refusal when it is one of the program's own databases, "数据库已导入完毕。" when done,
// an error message (the main database unchanged) otherwise.
bool ImportOldDatabase(QWidget *parent, const QString &path);

// Asks for an older cl.mdb (starting in the data folder) and imports it; false when cancelled.
// `mayReplace`, when set, runs once a file is chosen; when it returns false nothing is imported.
bool chooseAndImportOldDatabase(QWidget *parent, const std::function<bool()> &mayReplace = {});

} // namespace drawing::ui
