#include "datafolder.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {

namespace {
QString &overrideFolder()
{
    static QString f;
    return f;
}
} // namespace

QString dataFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void setDataFolder(const QString &path) { overrideFolder() = path; }

QString dataFile(const QString &name) { return QDir(dataFolder()).filePath(name); }

} // namespace platform
