#include "datafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

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

std::unique_ptr<QLockFile> lockDataFolder()
{
    const QString folder = QDir::cleanPath(dataFolder());
    QDir().mkpath(QFileInfo(folder).absolutePath());
    auto lock = std::make_unique<QLockFile>(folder + QStringLiteral(".lock"));
    lock->setStaleLockTime(0); // stale only once its process is gone
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

bool replaceFile(const QString &from, const QString &to, QString *error)
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()), std::filesystem::path(to.toStdU16String()),
                            ec);
    if (ec && error)
        *error = QString::fromLocal8Bit(ec.message());
    return !ec;
}

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists()) {
        // By device and inode: a hard link has a path of its own.
        std::error_code ec;
        const bool same = std::filesystem::equivalent(std::filesystem::path(a.toStdU16String()),
                                                      std::filesystem::path(b.toStdU16String()), ec);
        return ec ? fa.canonicalFilePath() == fb.canonicalFilePath() : same;
    }
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

} // namespace platform
