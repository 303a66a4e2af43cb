#include "generalsettings.h"

#include "shared.h"
#include "platform/settings.h"

using namespace Qt::StringLiterals;

namespace app {

GeneralSettings LoadGeneralSettings()
{
    using platform::SettingsStore;
    GeneralSettings s;
    s.company = SettingsStore::get(kSettingsGeneral, kKeyCompany, QString());
    s.telephone = SettingsStore::get(kSettingsGeneral, kKeyTelephone, QString());
    s.address = SettingsStore::get(kSettingsGeneral, kKeyAddress, QString());
    // The dialog's own default for FYOPTION is "0", unlike start-up's "1".
    s.textOutput = settingToInt16(SettingsStore::get(kSettingsGeneral, kKeyOutputFileType, u"0"_s), 0) != 0;
    s.simpleWindCheck = settingToInt16(SettingsStore::get(kSettingsGeneral, kKeyWindCheck, u"0"_s), 0) != 0;
    return s;
}

bool SaveGeneralSettings(const GeneralSettings &settings, QString *error)
{
    const bool stored = platform::SettingsStore::set(
        kSettingsGeneral,
        {{kKeyCompany, settings.company},
         {kKeyTelephone, settings.telephone},
         {kKeyAddress, settings.address},
         {kKeyOutputFileType, settings.textOutput ? u"1"_s : u"0"_s},
         {kKeyWindCheck, settings.simpleWindCheck ? u"1"_s : u"0"_s}},
        error);
    OutPutFileTypeFlag = settings.textOutput ? 1 : 0;
    FYOptionFlag = settings.simpleWindCheck ? 1 : 0;
    return stored;
}

} // namespace app
