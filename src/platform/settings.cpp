#include "settings.h"

#include <QSettings>
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

void SettingsStore::set(const QString &section, const QString &key, const QString &value)
{
    auto s = open();
    s->beginGroup(section);
    s->setValue(key, value);
    s->endGroup();
    s->sync();
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
