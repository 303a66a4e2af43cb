#include "datafolder.h"

#include <QDir>
#include <QFileInfo>
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

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

} // namespace platform
