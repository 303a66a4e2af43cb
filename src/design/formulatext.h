#pragma once
#include <QString>
#include <QStringView>
#include <QVarLengthArray>
#include <limits>

// Text work under the evaluator: upper-casing, trimming, and the name replacement of
// `Replace` and `Replace1`, on a buffer that holds a formula without touching the heap.
namespace design::text {

using Buffer = QVarLengthArray<char16_t, 256>;

inline QStringView view(const Buffer &b) { return QStringView(b.constData(), b.size()); }
inline QString toQString(const Buffer &b)
{
    return QString(reinterpret_cast<const QChar *>(b.constData()), b.size());
}

// True when every character of `s` is one that QString::toUpper maps on its own to a single
// character which this unit computes directly: ASCII, and characters without case such as Chinese.
bool isFastCase(QStringView s);

// out = the upper-case form of `s`, as QString::toUpper gives it.
void setUpper(Buffer &out, QStringView s);

// Upper-cases a buffer whose characters all pass isFastCase.
void upperFastCase(Buffer &s);

// `s` without the blanks (spaces) at its ends; no other character counts as a blank.
QString trimBlanks(const QString &s);

// How `Replace` treats one name and value (`name` already in upper case).
enum class ReplaceMode : quint8 {
    Nothing,  // an empty name: nothing is replaced
    OnePass,  // one left-to-right pass; the value contains the name, or the plain loop gives the same
    Loop,     // the plain loop: search again from the start after every replacement
};
ReplaceMode replaceMode(QStringView name, QStringView value);

// The longest text that putting names in place may make. A formula with the values of its window
// stays far below it; only names that occur in values (a label "1" worth 111, fourteen times) make
// the text grow, and without a bound it would grow beyond the memory. Past it a formula has no value.
inline constexpr qsizetype kMaxTextLength = 32767;

// The characters that the replacements of one evaluation may read in all. A window's formula with
// its labels reads a few thousand; only a formula near the length bound with thousands of labels
// comes near it.
inline constexpr qsizetype kMaxWork = qsizetype(1) << 22;

// Returned by the replacements when the text would grow past their limit; the text is then not
// the formula's any more.
inline constexpr qsizetype kTooLong = -1;

// The replacement of `Replace` on text that is already upper case: every occurrence of `name` becomes
// `value` as given. Returns the number of replacements, or kTooLong when the text would pass
// kMaxTextLength.
qsizetype replaceAll(Buffer &s, QStringView name, QStringView value, ReplaceMode mode);

// One left-to-right pass (the replacement of `Replace1`): occurrences leftmost first, never
// overlapping, inserted text never searched again. Returns the number of replacements, or kTooLong
// (and `s` unchanged) when the text would pass `limit`.
qsizetype replaceOnePass(Buffer &s, QStringView name, QStringView value,
                         qsizetype limit = std::numeric_limits<qsizetype>::max());

} // namespace design::text
