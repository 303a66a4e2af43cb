#include "shared.h"

#include "platform/numtext.h"
#include "platform/settings.h"

using namespace Qt::StringLiterals;

namespace app {

bool LoginOK = false;
QString CurUserName;
QString CurUserAuth;
QString CurUserPwd;
qint16 OutPutFileTypeFlag = 0;
qint16 FYOptionFlag = 0;

qint16 settingToInt16(const QString &text, qint16 defaultValue)
{
    if (!platform::isNumeric(text))
        return defaultValue;
    const auto v = platform::roundHalfEven(platform::val(text), -32768, 32767);
    return v ? qint16(*v) : defaultValue;
}

void LoadStartupSettings()
{
    using platform::SettingsStore;
    OutPutFileTypeFlag = settingToInt16(SettingsStore::get(kSettingsGeneral, u"OutPutFileType"_s, u"0"_s), 0);
    FYOptionFlag = settingToInt16(SettingsStore::get(kSettingsGeneral, u"FYOPTION"_s, u"1"_s), 1);
}

} // namespace app
