#include "settings.h"

#include "database.h"
#include "filewrite.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace platform {

namespace {
QString &overridePath()
{
    static QString p;
    return p;
}

std::unique_ptr<QSettings> open()
{
    if (!overridePath().isEmpty())
        return std::make_unique<QSettings>(overridePath(), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, u"Velmorra"_s, u"JOP"_s);
}

// The scratch folders of a save, beside the settings file: ".JOP.ini-XXXXXX".
QString scratchPattern(const QString &settingsPath)
{
    return u"."_s + QFileInfo(settingsPath).fileName() + u"-XXXXXX"_s;
}

// Whether QSettings writes the key back as it read it: not empty, and no empty part between its
// separators ("=5" gives the key "", a line "\\x=1" the key "/x").
bool writableKey(const QString &key)
{
    if (key.isEmpty())
        return false;
    for (const QStringView part : QStringView(key).split(u'/'))
        if (part.isEmpty())
            return false;
    return true;
}
} // namespace

QString SettingsStore::get(const QString &section, const QString &key, const QString &defaultValue)
{
    auto s = open();
    s->beginGroup(section);
    return s->value(key, defaultValue).toString();
}

bool SettingsStore::set(const QString &section, const QString &key, const QString &value, QString *error)
{
    return set(section, {{key, value}}, error);
}

bool SettingsStore::set(const QString &section, const QList<std::pair<QString, QString>> &values, QString *error)
{
    // QSettings reports success when the last write of its file fails (a full disk), leaving the
    // file cut short. So it only composes the new file in a scratch folder beside the settings
    // file; the bytes are read back under a name it has not seen, and then replace the settings
    // file in one checked write.
    const auto current = open();
    const QString path = current->fileName();
    const auto fail = [&](const QString &cause) {
        if (error)
            *error = u"设置无法保存到 %1：%2。这些改动只在本次运行中有效。"_s.arg(QDir::toNativeSeparators(path), cause);
        return false;
    };
    if (current->status() == QSettings::FormatError)
        return fail(u"文件格式有误"_s);
    // Lines written by hand whose key QSettings cannot write back (an empty key, a key that a
    // backslash turns into an empty part) or whose value it cannot hold are dropped: kept, they
    // would never read back, and no save would ever pass the check below.
    QMap<QString, QVariant> expected;
    for (const QString &key : current->allKeys())
        if (const QVariant value = current->value(key); writableKey(key) && value.isValid())
            expected.insert(key, value);
    // A lone surrogate would not survive the file's UTF-8.
    for (const auto &[key, value] : values)
        expected.insert(section + u'/' + key, wellFormedText(value));

    const QDir folder = QFileInfo(path).absoluteDir();
    if (!folder.mkpath(u"."_s))
        return fail(u"无法创建文件夹"_s);
    const QTemporaryDir scratch(folder.filePath(scratchPattern(path)));
    if (!scratch.isValid())
        return fail(u"无法在文件夹 %1 中准备临时文件"_s.arg(QDir::toNativeSeparators(folder.path())));
    // Composes a file of `entries` in the scratch folder and reads it back under a name that
    // QSettings has not seen (it keeps what it read of a file).
    QString cause;
    const auto compose = [&](const QString &name, const QMap<QString, QVariant> &entries, QByteArray *bytes,
                             QMap<QString, QVariant> *found) {
        const QString composed = scratch.filePath(name + u".ini"_s);
        {
            QSettings s(composed, QSettings::IniFormat);
            for (auto it = entries.cbegin(); it != entries.cend(); ++it)
                s.setValue(it.key(), it.value());
            s.sync();
            if (s.status() != QSettings::NoError) {
                cause = u"临时文件无法写入"_s;
                return false;
            }
        }
        QFile file(composed);
        if (!file.open(QIODevice::ReadOnly)) {
            cause = file.errorString();
            return false;
        }
        *bytes = file.readAll();
        const QString checkPath = scratch.filePath(name + u"-check.ini"_s);
        if (!writeWholeFile(checkPath, *bytes, &cause))
            return false;
        QSettings check(checkPath, QSettings::IniFormat);
        for (const QString &key : check.allKeys())
            found->insert(key, check.value(key));
        return true;
    };
    QByteArray bytes;
    QMap<QString, QVariant> found;
    if (!compose(u"new"_s, expected, &bytes, &found))
        return fail(cause);
    if (found != expected) {
        // A value written by hand may not read back as the file held it (a list of invalid UTF-8
        // comes back as a list of another type). Such values are composed again on their own:
        // the file is complete when each reads back there as it did from the whole file, and no
        // key is missing. A file cut short lacks keys or ends in a value cut short.
        QMap<QString, QVariant> changed;
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            if (found.value(it.key()) != it.value())
                changed.insert(it.key(), it.value());
        const bool ours = std::any_of(values.cbegin(), values.cend(),
                                      [&](const auto &v) { return changed.contains(section + u'/' + v.first); });
        bool complete = !ours && found.keys() == expected.keys();
        QByteArray alone;
        QMap<QString, QVariant> foundAlone;
        if (complete && !compose(u"alone"_s, changed, &alone, &foundAlone))
            return fail(cause);
        complete = complete && foundAlone.keys() == changed.keys();
        for (auto it = foundAlone.cbegin(); complete && it != foundAlone.cend(); ++it)
            complete = found.value(it.key()) == it.value();
        if (!complete)
            return fail(u"临时文件写入不完整（磁盘可能已满）"_s);
    }

    const QFileInfo before(path);
    const qint64 oldSize = before.exists() ? before.size() : -1;
    const QDateTime oldTime = before.lastModified();
    if (!writeWholeFile(path, bytes, &cause))
        return fail(cause);
    // QSettings reads a file again only when its size or time changed: a new file of the same size
    // written within the same millisecond would leave the old values in its cache.
    if (const QFileInfo after(path); after.size() == oldSize && after.lastModified() == oldTime) {
        QFile written(path);
        if (written.open(QIODevice::ReadWrite))
            written.setFileTime(oldTime.addMSecs(1), QFileDevice::FileModificationTime);
    }
    return true;
}

void SettingsStore::removeStaleTemporaries(const QDateTime &before)
{
    const QString path = open()->fileName();
    QDir folder = QFileInfo(path).absoluteDir();
    const QString pattern = scratchPattern(path).replace(u"XXXXXX"_s, u"??????"_s);
    for (const QFileInfo &entry : folder.entryInfoList({pattern}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        if (entry.lastModified() < before)
            QDir(entry.filePath()).removeRecursively();
}

bool SettingsStore::contains(const QString &section, const QString &key)
{
    auto s = open();
    s->beginGroup(section);
    return s->contains(key);
}

void SettingsStore::useFile(const QString &path)
{
    overridePath() = path;
}

} // namespace platform
