#pragma once
// Process-wide state shared by the windows: the dialog result through which modal dialogs hand
// back their fields, the logged-in account and the general settings read at start-up.
#include <QString>
#include <array>

namespace app {

// Modal dialogs write their fields to fixed elements; record loading writes column i to element i.
extern std::array<QString, 16> InputResult;
extern bool InputOK;

extern bool LoginOK;
extern QString CurUserName;
extern QString CurUserAuth; // 12 characters "0"/"1"
extern QString CurUserPwd;  // enciphered form

extern qint16 OutPutFileTypeFlag; // 0 Excel, 1 text file
extern qint16 FYOptionFlag;       // 0 two-step wind check, otherwise the one-window check

// Count prompt of the job windows.
extern QString InputBoxValue;
extern bool InputBoxOK;

inline const QString kSettingsGeneral = QStringLiteral("TANDRIKE");

// Reads OutPutFileType (default "0") and FYOPTION (default "1"); a stored text that is not a
// whole number takes the default.
void LoadStartupSettings();

// A settings text as a 16-bit integer; the default when it is not a number or out of range.
qint16 settingToInt16(const QString &text, qint16 defaultValue);

} // namespace app
