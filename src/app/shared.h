#pragma once
// Process-wide state shared by the windows: the logged-in account and the general settings read
// at start-up. Dialogs return their results to the caller; nothing of theirs is kept here.
#include <QString>

namespace app {

extern bool LoginOK;
extern QString CurUserName;
extern QString CurUserAuth; // 12 characters "0"/"1"
extern QString CurUserPwd;  // enciphered form

extern qint16 OutPutFileTypeFlag; // 0 Excel, 1 text file
extern qint16 FYOptionFlag;       // 0 two-step wind check, otherwise the one-window check

inline const QString kSettingsGeneral = QStringLiteral("TANDRIKE");

// Reads OutPutFileType (default "0") and FYOPTION (default "1"); a stored text that is not a
// whole number takes the default.
void LoadStartupSettings();

// A settings text as a 16-bit integer; the default when it is not a number or out of range.
qint16 settingToInt16(const QString &text, qint16 defaultValue);

} // namespace app
