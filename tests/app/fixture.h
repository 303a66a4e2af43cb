#pragma once
// A fresh data folder (databases made by the application's own first-start code), a private
// settings file and the scripted message seam, for one test function.
#include "app/maindb.h"
#include "app/schema.h"
#include "app/shared.h"
#include "platform/database.h"
#include "platform/datafolder.h"
#include "platform/keys.h"
#include "platform/scriptedmessages.h"
#include "platform/settings.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace testfixture {

struct DataFolder
{
    std::unique_ptr<QTemporaryDir> dir = std::make_unique<QTemporaryDir>();
    platform::ScriptedMessages *msgs = nullptr;

    // Makes the folder (first start) and opens the main database.
    bool setUp(bool openMain = true)
    {
        const QString folder = dir->filePath(QStringLiteral("data"));
        platform::setDataFolder(folder);
        platform::SettingsStore::useFile(dir->filePath(QStringLiteral("settings.ini")));
        msgs = platform::installScriptedMessages();
        platform::installKeyRules();
        QString err;
        if (!app::ensureDataFolder(&err)) {
            qWarning("%s", qPrintable(err));
            return false;
        }
        return !openMain || app::OpenMainDatabase(nullptr, &err) == app::OpenStatus::Opened;
    }

    ~DataFolder() { platform::closeConnection(app::kMainConn); }
};

inline int rowCount(QSqlDatabase db, const QString &table)
{
    QSqlQuery q(db);
    q.exec(QStringLiteral("SELECT count(*) FROM ") + platform::ident(table));
    q.next();
    return q.value(0).toInt();
}

inline bool exec(QSqlDatabase db, const QString &sql, const QVariantList &values = {})
{
    QString err;
    const bool ok = platform::execBound(db, sql, values, &err);
    if (!ok)
        qWarning("%s", qPrintable(err));
    return ok;
}

} // namespace testfixture
