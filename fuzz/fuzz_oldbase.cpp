// Backups (.MBK) and older databases: a restore and an import of any file leave a main database
// that still opens, and refuse what they cannot read.
#include "fuzzsupport.h"

#include "app/backupstore.h"
#include "app/maindb.h"
#include "app/schema.h"
#include "drawing/import.h"
#include "platform/datafolder.h"
#include "platform/settings.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::application();
    platform::setDataFolder(fuzz::scratch().filePath(QStringLiteral("data")));
    platform::SettingsStore::useFile(fuzz::scratch().filePath(QStringLiteral("settings.ini")));
    QString error;
    if (!app::ensureDataFolder(&error) || app::OpenMainDatabase(nullptr, &error) != app::OpenStatus::Opened) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::inputFile(data, size, QStringLiteral("old.MBK"));
    app::BackupStore backups;
    (void)backups.restoreFrom(path);
    QString error;
    (void)drawing::ImportOldDatabase(path, &error);
    fuzz::require(app::mainDb().isOpen(), "the main database stays open");
    return 0;
}
