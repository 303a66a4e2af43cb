#pragma once
// The warehouse menu's windows, each shown modally: a new receipt or issue bill on the next free
// number (print disabled until stored), and the query window.
class QWidget;

namespace warehouse::ui {

// 入库: CurInBillNo := the next receipt number, then a new receipt window. A failing number query
// is reported and no window opens.
void openReceiptBill(QWidget *parent);
// 出库: the same with CurOutBillNo and the issue window.
void openIssueBill(QWidget *parent);
// 查寻: a new query window; without the warehouse database it says so and opens nothing.
void openQuery(QWidget *parent);

} // namespace warehouse::ui
