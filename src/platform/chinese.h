#pragma once
// The program speaks Chinese whatever the system locale: Qt's own texts and the date form.
#include <QDate>
#include <QString>

namespace platform {

// Loads Qt's Chinese translation into the running application, so that standard buttons, file,
// print and preview dialogs read 确定, 取消, 打开 ...; false when Qt's translations are not installed
// (those texts then stay English). Installing twice does nothing more.
bool installQtTranslation();

// A date as every window shows it: 2026年12月10日, no zero padding.
QString dateText(const QDate &date);

} // namespace platform
