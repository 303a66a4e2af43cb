#include "settings.h"

#include "filewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
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
    // file cut short. So it only composes the new file in a scratch folder; the bytes are read
    // back under a name it has not seen, and then replace the settings file in one checked write.
    const auto current = open();
    const QString path = current->fileName();
    const auto fail = [&](const QString &cause) {
        if (error)
            *error = u"设置无法保存到 %1：%2。这些改动只在本次运行中有效。"_s.arg(QDir::toNativeSeparators(path), cause);
        return false;
    };
    if (current->status() == QSettings::FormatError)
        return fail(u"文件格式有误"_s);
    QMap<QString, QVariant> expected;
    for (const QString &key : current->allKeys())
        expected.insert(key, current->value(key));
    for (const auto &[key, value] : values)
        expected.insert(section + u'/' + key, value);

    const QTemporaryDir scratch(QDir::temp().filePath(u"settings-XXXXXX"_s));
    if (!scratch.isValid())
        return fail(u"无法在临时文件夹 %1 中准备文件"_s.arg(QDir::tempPath()));
    const QString composed = scratch.filePath(u"new.ini"_s);
    {
        QSettings s(composed, QSettings::IniFormat);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            s.setValue(it.key(), it.value());
        s.sync();
        if (s.status() != QSettings::NoError)
            return fail(u"临时文件无法写入"_s);
    }
    QFile file(composed);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const QByteArray bytes = file.readAll();
    const QString checkPath = scratch.filePath(u"check.ini"_s);
    QString cause;
    if (!writeWholeFile(checkPath, bytes, &cause))
        return fail(cause);
    QSettings check(checkPath, QSettings::IniFormat);
    QMap<QString, QVariant> found;
    for (const QString &key : check.allKeys())
        found.insert(key, check.value(key));
    if (found != expected)
        return fail(u"临时文件写入不完整（磁盘可能已满）"_s);

    if (!QFileInfo(path).absoluteDir().mkpath(u"."_s))
        return fail(u"无法创建文件夹"_s);
    if (!writeWholeFile(path, bytes, &cause))
        return fail(cause);
    return true;
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
