#include "filewrite.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace platform {

namespace {

QString failure(const QString &path, const QString &cause)
{
    return u"无法写入文件 %1：%2"_s.arg(QDir::toNativeSeparators(path), cause);
}

QString causeOf(const QFileDevice &file)
{
    if (file.error() == QFileDevice::NoError)
        return u"磁盘已满或文件无法写入"_s;
    return file.errorString();
}

} // namespace

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    const auto fail = [&](const QString &cause) {
        if (file.isOpen())
            file.cancelWriting();
        if (error)
            *error = failure(path, cause);
        return false;
    };
    // Unbuffered, so that every write reaches the file here: a buffered rest is written by
    // commit(), and some Qt versions report success when that last write fails.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    qint64 done = 0;
    while (done < bytes.size()) {
        // A short write is followed by one that fails with the cause.
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return fail(causeOf(file));
        done += n;
    }
    if (!file.flush())
        return fail(causeOf(file));
    if (!file.commit())
        return fail(causeOf(file));
    if (QFileInfo(path).size() != bytes.size())
        return fail(u"写入后的文件大小不符"_s);
    return true;
}

} // namespace platform
