#include "filewrite.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace platform {

namespace {

QString failure(const QString &path, const QString &cause)
{
    return u"无法写入文件 %1：%2"_s.arg(QDir::toNativeSeparators(path), cause);
}

bool isDiskFull(int err) { return err == ENOSPC || err == EDQUOT || err == EFBIG; }

// Writes all bytes to an open unbuffered file; false with *cause and *full on failure.
bool writeAll(QFileDevice &file, const QByteArray &bytes, QString *cause, bool *full)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        // A short write is followed by one that fails with the cause.
        errno = 0;
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            const int err = errno;
            *full = isDiskFull(err);
            *cause = *full ? diskFullCause()
                           : (file.error() == QFileDevice::NoError ? u"磁盘已满或文件无法写入"_s : file.errorString());
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

QString diskFullCause() { return u"磁盘已满"_s; }

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error, bool *diskFull)
{
    QSaveFile file(path);
    bool full = false;
    const auto fail = [&](const QString &cause) {
        if (file.isOpen())
            file.cancelWriting();
        if (error)
            *error = failure(path, cause);
        if (diskFull)
            *diskFull = full;
        return false;
    };
    // Unbuffered, so that every write reaches the file here: a buffered rest is written by
    // commit(), and some Qt versions report success when that last write fails.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    QString cause;
    if (!writeAll(file, bytes, &cause, &full))
        return fail(cause);
    if (!file.flush() || !file.commit())
        return fail(file.error() == QFileDevice::NoError ? u"磁盘已满或文件无法写入"_s : file.errorString());
    if (QFileInfo(path).size() != bytes.size())
        return fail(u"写入后的文件大小不符"_s);
    return true;
}

bool writeNewFile(const QString &path, const QByteArray &bytes, QString *error, bool *diskFull)
{
    QFile file(path);
    bool full = false;
    QString cause;
    bool written = file.open(QIODevice::NewOnly | QIODevice::Unbuffered);
    if (!written)
        cause = file.errorString();
    else
        written = writeAll(file, bytes, &cause, &full);
    if (written)
        return true;
    if (file.isOpen()) {
        file.close();
        file.remove();
    }
    if (error)
        *error = failure(path, cause);
    if (diskFull)
        *diskFull = full;
    return false;
}

QString temporaryFolder()
{
    // One folder per user: the system folder is shared, and another user's folder is not ours.
    const QString path = QDir::temp().filePath(u"Velmorra-%1"_s.arg(::getuid()));
    QDir().mkpath(path);
    return path;
}

void removeStaleTemporaries(const QDateTime &before)
{
    const QDir folder(temporaryFolder());
    for (const QFileInfo &entry : folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.lastModified() >= before)
            continue;
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
}

} // namespace platform
