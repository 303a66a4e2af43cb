#pragma once
// Where the database files live: the application data folder, or a folder a test chose.
#include <QString>

namespace platform {

QString dataFolder();
void setDataFolder(const QString &path);
// The full path of a file in the data folder.
QString dataFile(const QString &name);

// Moves `from` to `to`, replacing an existing file in one step; false with *error on failure.
bool replaceFile(const QString &from, const QString &to, QString *error = nullptr);

// Whether two paths name the same file (links and case followed where the files exist).
bool sameFile(const QString &a, const QString &b);

} // namespace platform
