#pragma once
// The printed warehouse documents: a receipt bill, an issue bill and the stock list, built from the
// report commands CmdLK, CmdCK and CmdKC.
#include "platform/report.h"

#include <QDate>
#include <QString>
#include <optional>

namespace warehouse {

// The stored receipt / issue bill with its lines; nullopt with *error when it cannot be read or no
// bill has that number.
std::optional<platform::Report> ReceiptBillReport(const QString &billNo, QString *error);
std::optional<platform::Report> IssueBillReport(const QString &billNo, QString *error);

// Every stock row in table order, dated `today`.
std::optional<platform::Report> StockReport(const QDate &today, QString *error);

} // namespace warehouse
