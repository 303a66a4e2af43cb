#pragma once
// The warehouse database (CangKu.mdb): its connection and the numbers of the bills being entered.
// Its statements live in BillStore.
#include "app/maindb.h"

#include <QSqlDatabase>
#include <QString>

namespace warehouse {

inline const QString kCKConn = QStringLiteral("CKConn");

// The warehouse connection; not open when the file was missing or could not be opened.
QSqlDatabase ckDb();

// Numbers of the receipt and issue bills being entered or previewed.
extern QString CurInBillNo;
extern QString CurOutBillNo;

struct CKOpenResult
{
    app::OpenStatus status = app::OpenStatus::Failed;
    QString path;  // full path of CangKu.mdb in the data folder
    QString error; // the driver's text when the status is Failed
};

// Opens CangKu.mdb from the data folder as CKConn (bringing its tables up to the schema). Shows
// nothing: the caller reports Missing ("数据库文件‘" + path + "’不存在！") and Failed
// ("打开‘仓库’数据库出错！") and goes on without the warehouse.
CKOpenResult OpenCKDatabase();

} // namespace warehouse
