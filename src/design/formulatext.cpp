#include "design/formulatext.h"

#include <algorithm>

namespace design::text {
namespace {

bool isFastCaseChar(char16_t c)
{
    if (c < 0x80)
        return true;
    if (QChar::isSurrogate(c))
        return false;
    // Characters with a case, and lower-case letters whose full upper-case form differs from their
    // simple one (the sharp s becomes "SS"), take QString::toUpper itself.
    return QChar::toUpper(char32_t(c)) == c && !QChar::isLower(char32_t(c))
        && !QChar::isTitleCase(char32_t(c));
}

qsizetype indexOf(const Buffer &s, QStringView name, qsizetype from)
{
    return view(s).indexOf(name, from);
}

void assign(Buffer &s, const Buffer &from)
{
    s.resize(from.size());
    std::copy(from.cbegin(), from.cend(), s.begin());
}

void append(Buffer &s, QStringView text)
{
    s.append(reinterpret_cast<const char16_t *>(text.utf16()), text.size());
}

// Whether an occurrence of `name` can ever overlap an inserted `value` (or, for an empty value, span
// the place where the replaced text stood), given that `value` does not contain `name`. When it
// cannot, every occurrence the plain loop meets lies in the original text, and searching again
// from the start finds the leftmost occurrence after the last insertion: exactly one pass.
bool canRebuild(QStringView name, QStringView value)
{
    const qsizetype n1 = name.size();
    const qsizetype n2 = value.size();
    if (n1 == 1)
        return false;
    if (n2 == 0)
        return true;
    for (qsizetype d = 1 - n1; d < n2; ++d) {  // name placed at offset d from the value's start
        if (d >= 0 && d + n1 <= n2)
            continue;  // inside the value: excluded by the caller
        const qsizetype from = std::max<qsizetype>(d, 0);
        const qsizetype to = std::min(d + n1, n2);
        bool match = true;
        for (qsizetype k = from; k < to && match; ++k)
            match = value[k] == name[k - d];
        if (match)
            return true;
    }
    return false;
}

// The plain loop stops after this many replacements and finishes with one pass. Every input whose
// loop ends by itself ends far sooner, unless its replacements rebuild the name again and again.
qsizetype loopBudget(qsizetype length) { return 1024 + 64 * length; }

qsizetype replaceLoop(Buffer &s, QStringView name, QStringView value)
{
    qsizetype p = indexOf(s, name, 0);
    if (p < 0)
        return 0;
    // `out` is the text before the reading point and holds no occurrence. An occurrence ending at the
    // newest character of `out` is therefore the leftmost one of the whole text: it is replaced, and
    // the value with the name's length less one characters before it go back to be read again, since
    // the next occurrence can start no earlier. `pending` holds text to be read before s[pos...],
    // its next character last.
    const qsizetype n1 = name.size();
    const char16_t lastChar = name.back().unicode();
    const qsizetype budget = loopBudget(s.size());
    Buffer out;
    Buffer pending;
    out.append(s.constData(), p);
    qsizetype pos = p + n1;
    qsizetype count = 0;
    for (;;) {
        ++count;
        for (qsizetype k = value.size(); k-- > 0;)
            pending.append(value[k].unicode());
        for (qsizetype k = std::min(n1 - 1, out.size()); k > 0; --k) {
            pending.append(out.back());
            out.removeLast();
        }
        bool found = false;
        for (;;) {
            char16_t c;
            if (!pending.isEmpty()) {
                c = pending.back();
                pending.removeLast();
            } else if (pos < s.size()) {
                c = s[pos++];
            } else {
                break;
            }
            out.append(c);
            if (c == lastChar && out.size() >= n1
                && std::equal(name.begin(), name.end(), out.end() - n1,
                              [](QChar a, char16_t b) { return a.unicode() == b; })) {
                found = true;
                break;
            }
        }
        if (!found)
            break;
        if (out.size() - n1 + value.size() + pending.size() + (s.size() - pos) > kMaxTextLength)
            return kTooLong;
        if (count == budget) {
            // Replacements keep rebuilding the name: end with one pass over the text as it stands.
            while (!pending.isEmpty()) {
                out.append(pending.back());
                pending.removeLast();
            }
            out.append(s.constData() + pos, s.size() - pos);
            assign(s, out);
            const qsizetype more = replaceOnePass(s, name, value, kMaxTextLength);
            return more == kTooLong ? kTooLong : count + more;
        }
        out.resize(out.size() - n1);
    }
    assign(s, out);
    return count;
}

} // namespace

bool isFastCase(QStringView s)
{
    for (const QChar c : s) {
        if (!isFastCaseChar(c.unicode()))
            return false;
    }
    return true;
}

void upperFastCase(Buffer &s)
{
    for (char16_t &c : s) {
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - (u'a' - u'A'));
    }
}

void setUpper(Buffer &out, QStringView s)
{
    out.clear();
    if (isFastCase(s)) {
        append(out, s);
        upperFastCase(out);
    } else {
        append(out, s.toString().toUpper());
    }
}

QString trimBlanks(const QString &s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s[begin] == u' ')
        ++begin;
    while (end > begin && s[end - 1] == u' ')
        --end;
    return begin == 0 && end == s.size() ? s : s.sliced(begin, end - begin);
}

ReplaceMode replaceMode(QStringView name, QStringView value)
{
    if (name.isEmpty())
        return ReplaceMode::Nothing;
    Buffer upperValue;
    setUpper(upperValue, value);
    if (view(upperValue).contains(name))
        return ReplaceMode::OnePass;
    return canRebuild(name, value) ? ReplaceMode::Loop : ReplaceMode::OnePass;
}

qsizetype replaceAll(Buffer &s, QStringView name, QStringView value, ReplaceMode mode)
{
    switch (mode) {
    case ReplaceMode::Nothing:
        return 0;
    case ReplaceMode::OnePass:
        return replaceOnePass(s, name, value, kMaxTextLength);
    case ReplaceMode::Loop:
        return replaceLoop(s, name, value);
    }
    return 0;
}

qsizetype replaceOnePass(Buffer &s, QStringView name, QStringView value, qsizetype limit)
{
    if (name.isEmpty())
        return 0;
    qsizetype p = indexOf(s, name, 0);
    if (p < 0)
        return 0;
    Buffer out;
    out.append(s.constData(), p);
    qsizetype count = 0;
    // Only a value longer than the name makes the text grow.
    const qsizetype growth = value.size() - name.size();
    qsizetype length = s.size();
    while (p >= 0) {
        if (growth > 0 && (length += growth) > limit)
            return kTooLong;
        append(out, value);
        ++count;
        const qsizetype from = p + name.size();
        p = indexOf(s, name, from);
        out.append(s.constData() + from, (p < 0 ? s.size() : p) - from);
    }
    assign(s, out);
    return count;
}

} // namespace design::text
