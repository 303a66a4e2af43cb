#pragma once
// The per-user settings store: application "JOP", sections as groups, values kept as text.
#include <QString>

namespace platform {

class SettingsStore
{
public:
    static QString get(const QString &section, const QString &key, const QString &defaultValue);
    static void set(const QString &section, const QString &key, const QString &value);
    static bool contains(const QString &section, const QString &key);
    // Tests point the store at a file of their own.
    static void useFile(const QString &path);
};

} // namespace platform
