#pragma once
// The per-user settings store: application "JOP", sections as groups, values kept as text.
#include <QList>
#include <QString>
#include <utility>

namespace platform {

class SettingsStore
{
public:
    static QString get(const QString &section, const QString &key, const QString &defaultValue);
    // False, with the file and the cause in *error, when the settings file could not be written:
    // the change then holds for this run only.
    static bool set(const QString &section, const QString &key, const QString &value, QString *error = nullptr);
    // Several keys of one section in one write.
    static bool set(const QString &section, const QList<std::pair<QString, QString>> &values,
                    QString *error = nullptr);
    static bool contains(const QString &section, const QString &key);
    // Tests point the store at a file of their own.
    static void useFile(const QString &path);
};

} // namespace platform
