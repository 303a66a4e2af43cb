#pragma once
// The general settings (section TANDRIKE): the company's name, telephone and address printed on
// report headers, the export file type and which wind-pressure check the main window opens.
#include <QString>

namespace app {

inline const QString kKeyCompany = QStringLiteral("DW");
inline const QString kKeyTelephone = QStringLiteral("TEL");
inline const QString kKeyAddress = QStringLiteral("ADDRESS");
inline const QString kKeyOutputFileType = QStringLiteral("OutPutFileType");
inline const QString kKeyWindCheck = QStringLiteral("FYOPTION");

struct GeneralSettings
{
    QString company;
    QString telephone;
    QString address;
    bool textOutput = false;      // exports go to a text file instead of Excel
    bool simpleWindCheck = false; // the one-window check instead of the two-step one
};

// The stored settings as the settings dialog shows them: absent texts are "", an absent or
// unreadable OutPutFileType or FYOPTION counts as "0". Changes no global.
GeneralSettings LoadGeneralSettings();

// Stores the five keys ("0"/"1" for the two choices) and applies them to OutPutFileTypeFlag and
// FYOptionFlag, so that they take effect at once. False, with the cause in *error, when the
// settings file could not be written.
bool SaveGeneralSettings(const GeneralSettings &settings, QString *error = nullptr);

} // namespace app
