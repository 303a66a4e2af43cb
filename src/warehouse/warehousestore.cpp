#include "warehousestore.h"

#include "app/schema.h"
#include "platform/database.h"
#include "platform/datafolder.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace warehouse {

QString CurInBillNo;
QString CurOutBillNo;

QSqlDatabase ckDb() { return QSqlDatabase::database(kCKConn, false); }

CKOpenResult OpenCKDatabase()
{
    CKOpenResult r;
    r.path = platform::dataFile(app::kWarehouseFile);
    platform::closeConnection(kCKConn);
    if (!QFileInfo::exists(r.path)) {
        r.status = app::OpenStatus::Missing;
        return r;
    }
    if (!platform::openSqlite(kCKConn, r.path, &r.error)) {
        r.status = app::OpenStatus::Failed;
        return r;
    }
    if (!app::applySchema(ckDb(), app::kWarehouseFile, &r.error)) {
        platform::closeConnection(kCKConn);
        r.status = app::OpenStatus::Failed;
        return r;
    }
    r.status = app::OpenStatus::Opened;
    return r;
}

} // namespace warehouse
