#pragma once
// Where the database files live: the application data folder, or a folder a test chose.
#include <QString>
#include <memory>

class QLockFile;

namespace platform {

QString dataFolder();
void setDataFolder(const QString &path);
// The full path of a file in the data folder.
QString dataFile(const QString &name);

// Moves `from` to `to`, replacing an existing file in one step; false with *error on failure.
bool replaceFile(const QString &from, const QString &to, QString *error = nullptr);

// The single-instance lock: a file beside the data folder, so that it is taken before the folder
// is made or repaired. Empty when another running instance holds it (a crashed instance's lock is
// taken over).
std::unique_ptr<QLockFile> lockDataFolder();

// Whether two paths name the same file: where both exist, the same device and inode (symbolic and
// hard links alike); otherwise the same cleaned absolute path.
bool sameFile(const QString &a, const QString &b);

} // namespace platform
