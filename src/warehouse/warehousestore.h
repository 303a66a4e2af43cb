#pragma once
// The warehouse database (CangKu.mdb): its connection, the next free bill numbers, the numbers of
// the bills being entered, and emptying the whole warehouse.
#include "app/maindb.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>

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

// Next free receipt / issue bill number: the largest 单据编号 plus one, "1" when the table is empty
// or its largest number is 0. nullopt (with *error) when the query fails or the warehouse is not
// open, so that no bill is started on a guessed number.
std::optional<QString> GetNextInBillNo(QString *error = nullptr);
std::optional<QString> GetNextOutBillNo(QString *error = nullptr);

// Deletes every row of the five warehouse tables in one transaction; on failure nothing is
// deleted and *error holds the reason. Asks nothing.
bool ClearWarehouse(QString *error);

} // namespace warehouse
