#pragma once
// The cutting-optimisation settings (section YHOPTION) and the run state the optimisation windows
// share, with the options dialog's checks and value-taking as plain functions.
#include "yhcut.h"

#include <QString>

namespace optimise {

inline const QString kSettingsOptimise = QStringLiteral("YHOPTION");

// Settings, loaded at start-up and by the options dialog, replaced only by the dialog's OK.
extern qint16 CLC;       // stock bar length, mm
extern qint16 LTC;       // end allowance, mm, charged once per piece
extern qint16 CKK;       // kerf width, mm, charged twice per piece
extern qint32 COUNT;     // pieces allowed in one optimisation (kept and checked, read by nothing else)
extern float YHBL;       // utilisation at which scheme two accepts a pattern
extern QString SAVEPATH; // save folder, always stored empty

// Run state, not stored.
extern qint16 YHScheme;  // 0 scheme one, 1 scheme two
extern QString YHGCName; // job name printed on the optimisation reports

inline constexpr qint32 kMaxCount = 50000;

// The settings in memory and the active scheme as one value, for the windows that start a run.
CutSettings currentCutSettings();

// Reads the six keys. CLC, LTC, CKK and COUNT are the stored number rounded down, YHBL the stored
// number, SAVEPATH the text. A stored text that is not wholly a number, or whose value does not
// fit its width, takes that key's default (0, and 1 for YHBL).
void LoadYHOption();
// Writes CLC, LTC, CKK, COUNT, YHBL as number texts ("6000", "-5", ".95") and SAVEPATH as it is.
// False, with the cause in *error, when the settings file could not be written.
bool SaveYHOption(QString *error = nullptr);

// The number text a setting is stored and shown as.
QString optionNumberText(double value);
QString optionNumberText(float value);

// The options dialog's boxes, in the order they are checked.
enum class OptionField { CLC, LTC, CKK, Count, YHBL };

struct OptionTexts
{
    QString clc, ltc, ckk, count, yhbl;
};

struct OptionValues
{
    qint16 clc = 0;
    qint16 ltc = 0;
    qint16 ckk = 0;
    qint32 count = 0;
    float yhbl = 1.0f;
};

// The settings in memory as the dialog shows them.
OptionTexts currentOptionTexts();

// Outcome of OK: either the values to store, or the first box that failed with its message.
struct OptionCheck
{
    bool ok = false;
    OptionValues values;
    OptionField field = OptionField::CLC;
    QString message;
};

// Tests the boxes in order: each must be a number that fits its setting ("数据不合法"), then the
// count rounded to a whole number must not exceed 50000 ("数据值不能大于 50000"). CLC, LTC and COUNT
// are rounded half to even, CKK rounded down, YHBL kept as a real.
OptionCheck checkOptionTexts(const OptionTexts &texts);

// Makes the values current (SAVEPATH becomes "") and stores them; false as SaveYHOption.
bool applyOptionValues(const OptionValues &values, QString *error = nullptr);

} // namespace optimise
