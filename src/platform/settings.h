#pragma once
// The per-user settings store: application "JOP", sections as groups, values kept as text.
#include <QDateTime>
#include <QList>
#include <QString>
#include <utility>

namespace platform {

class SettingsStore
{
public:
    static QString get(const QString &section, const QString &key, const QString &defaultValue);
    // False, with the file and the cause in *error, when the settings file could not be written:
    // the change then holds for this run only. Lines of the file whose key the store cannot write
    // back (an empty key such as "=5") are dropped; a value that does not read back as the file
    // held it is kept as it reads back. The scratch files lie beside the file.
    static bool set(const QString &section, const QString &key, const QString &value, QString *error = nullptr);
    // Several keys of one section in one write.
    static bool set(const QString &section, const QList<std::pair<QString, QString>> &values,
                    QString *error = nullptr);
    static bool contains(const QString &section, const QString &key);
    // Removes the scratch folders beside the settings file that saves killed before `before` left.
    static void removeStaleTemporaries(const QDateTime &before);
    // Tests point the store at a file of their own.
    static void useFile(const QString &path);
};

} // namespace platform
