#include "yhoption.h"

#include "platform/numtext.h"
#include "platform/settings.h"

#include <cmath>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace optimise {

qint16 CLC = 0;
qint16 LTC = 0;
qint16 CKK = 0;
qint32 COUNT = 0;
float YHBL = 1.0f;
QString SAVEPATH;
qint16 YHScheme = 0;
QString YHGCName;

namespace {
constexpr qint64 kInt16Min = std::numeric_limits<qint16>::min();
constexpr qint64 kInt16Max = std::numeric_limits<qint16>::max();
constexpr qint64 kInt32Min = std::numeric_limits<qint32>::min();
constexpr qint64 kInt32Max = std::numeric_limits<qint32>::max();

const QString kKeyCLC = u"CLC"_s;
const QString kKeyLTC = u"LTC"_s;
const QString kKeyCKK = u"CKK"_s;
const QString kKeyCOUNT = u"COUNT"_s;
const QString kKeyYHBL = u"YHBL"_s;
const QString kKeySAVEPATH = u"SAVEPATH"_s;

QString stored(const QString &key, const QString &defaultText)
{
    return platform::SettingsStore::get(kSettingsOptimise, key, defaultText);
}

// The stored number rounded down; the default when the text is no number or does not fit.
qint64 storedWhole(const QString &key, qint64 defaultValue, qint64 lo, qint64 hi)
{
    const QString text = stored(key, u"0"_s);
    if (!platform::isNumeric(text))
        return defaultValue;
    return platform::floorChecked(platform::val(text), lo, hi).value_or(defaultValue);
}

std::optional<float> toSingle(double v)
{
    if (!std::isfinite(v) || std::fabs(v) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(v);
}

} // namespace

QString optionNumberText(double value) { return platform::statementDouble(value).trimmed(); }
QString optionNumberText(float value) { return platform::statementSingle(value).trimmed(); }

void LoadYHOption()
{
    CLC = qint16(storedWhole(kKeyCLC, 0, kInt16Min, kInt16Max));
    LTC = qint16(storedWhole(kKeyLTC, 0, kInt16Min, kInt16Max));
    CKK = qint16(storedWhole(kKeyCKK, 0, kInt16Min, kInt16Max));
    COUNT = qint32(storedWhole(kKeyCOUNT, 0, kInt32Min, kInt32Max));
    // A damaged ratio falls back to 1 (search on to a full bar), never to 0, which would accept
    // the first pattern found.
    const QString ratio = stored(kKeyYHBL, u"1"_s);
    YHBL = platform::isNumeric(ratio) ? toSingle(platform::val(ratio)).value_or(1.0f) : 1.0f;
    SAVEPATH = stored(kKeySAVEPATH, QString());
}

CutSettings currentCutSettings()
{
    return {CLC, LTC, CKK, YHBL, YHScheme};
}

bool SaveYHOption(QString *error)
{
    return platform::SettingsStore::set(kSettingsOptimise,
                                        {{kKeyCLC, optionNumberText(double(CLC))},
                                         {kKeyLTC, optionNumberText(double(LTC))},
                                         {kKeyCKK, optionNumberText(double(CKK))},
                                         {kKeyCOUNT, optionNumberText(double(COUNT))},
                                         {kKeyYHBL, optionNumberText(YHBL)},
                                         {kKeySAVEPATH, SAVEPATH}},
                                        error);
}

OptionTexts currentOptionTexts()
{
    return {optionNumberText(double(CLC)), optionNumberText(double(LTC)), optionNumberText(double(CKK)),
            optionNumberText(double(COUNT)), optionNumberText(YHBL)};
}

OptionCheck checkOptionTexts(const OptionTexts &texts)
{
    using platform::val;
    OptionCheck r;
    auto refuse = [&r](OptionField field, const QString &message) {
        r.ok = false;
        r.field = field;
        r.message = message;
        return r;
    };
    const QString invalid = u"数据不合法"_s;

    if (!platform::isNumeric(texts.clc))
        return refuse(OptionField::CLC, invalid);
    const auto clc = platform::roundHalfEven(val(texts.clc), kInt16Min, kInt16Max);
    if (!clc)
        return refuse(OptionField::CLC, invalid);

    if (!platform::isNumeric(texts.ltc))
        return refuse(OptionField::LTC, invalid);
    const auto ltc = platform::roundHalfEven(val(texts.ltc), kInt16Min, kInt16Max);
    if (!ltc)
        return refuse(OptionField::LTC, invalid);

    if (!platform::isNumeric(texts.ckk))
        return refuse(OptionField::CKK, invalid);
    const auto ckk = platform::floorChecked(val(texts.ckk), kInt16Min, kInt16Max);
    if (!ckk)
        return refuse(OptionField::CKK, invalid);

    // A count too large for its width is caught by the limit below; only one too far below zero
    // is refused here.
    if (!platform::isNumeric(texts.count))
        return refuse(OptionField::Count, invalid);
    const double countValue = val(texts.count);
    const auto count = platform::roundHalfEven(countValue, kInt32Min, kInt32Max);
    if (!count && countValue < 0)
        return refuse(OptionField::Count, invalid);

    if (!platform::isNumeric(texts.yhbl))
        return refuse(OptionField::YHBL, invalid);
    const auto yhbl = toSingle(val(texts.yhbl));
    if (!yhbl)
        return refuse(OptionField::YHBL, invalid);

    if (!count || *count > kMaxCount)
        return refuse(OptionField::Count, u"数据值不能大于 50000"_s);

    r.ok = true;
    r.values = {qint16(*clc), qint16(*ltc), qint16(*ckk), qint32(*count), *yhbl};
    return r;
}

bool applyOptionValues(const OptionValues &values, QString *error)
{
    CLC = values.clc;
    LTC = values.ltc;
    CKK = values.ckk;
    COUNT = values.count;
    YHBL = values.yhbl;
    SAVEPATH.clear();
    return SaveYHOption(error);
}

} // namespace optimise
