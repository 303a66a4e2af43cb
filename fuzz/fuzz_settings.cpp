// Settings values: a settings file as a user may have edited it by hand. Every reader of its
// values takes it, and a save always completes.
#include "fuzzsupport.h"

#include "app/generalsettings.h"
#include "app/shared.h"
#include "optimise/yhoption.h"
#include "platform/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::application();
    // A new name each time: QSettings keeps what it read of a file it has seen.
    static quint64 round = 0;
    const QString path = fuzz::inputFile(data, size, QStringLiteral("JOP%1.ini").arg(round++));
    platform::SettingsStore::useFile(path);
    (void)app::LoadGeneralSettings();
    app::LoadStartupSettings();
    optimise::LoadYHOption();
    QString error;
    const bool saved = platform::SettingsStore::set(QStringLiteral("TANDRIKE"), QStringLiteral("DW"), QStringLiteral("厂"), &error);
    fuzz::require(saved || error.contains(QStringLiteral("文件格式有误")), "a settings save completes");
    if (saved)
        fuzz::require(platform::SettingsStore::get(QStringLiteral("TANDRIKE"), QStringLiteral("DW"), QString())
                          == QStringLiteral("厂"),
                      "a saved setting reads back");
    QFile::remove(path);
    return 0;
}
