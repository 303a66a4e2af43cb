#include "warehousewindows.h"

#include "frmenter.h"
#include "frmpost.h"
#include "frmquery.h"

#include "platform/messages.h"
#include "warehouse/billstore.h"
#include "warehouse/warehousestore.h"

using namespace Qt::StringLiterals;

namespace warehouse::ui {

void openReceiptBill(QWidget *parent)
{
    BillStore store;
    const auto no = store.GetNextInBillNo();
    if (!no) {
        platform::showError(parent, u"无法取得入库单编号：\n"_s + store.lastError());
        return;
    }
    CurInBillNo = *no;
    FrmEnter w(parent);
    w.setPrintEnabled(false);
    platform::execDialog(&w);
}

void openIssueBill(QWidget *parent)
{
    BillStore store;
    const auto no = store.GetNextOutBillNo();
    if (!no) {
        platform::showError(parent, u"无法取得出库单编号：\n"_s + store.lastError());
        return;
    }
    CurOutBillNo = *no;
    FrmPost w(parent);
    w.setPrintEnabled(false);
    platform::execDialog(&w);
}

void openQuery(QWidget *parent)
{
    if (!ckDb().isOpen()) {
        platform::showError(parent, u"仓库数据库未打开，无法查寻。"_s);
        return;
    }
    FrmQuery w(parent);
    platform::execDialog(&w);
}

} // namespace warehouse::ui
