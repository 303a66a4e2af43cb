#pragma once
#include "design/cqueue.h"
#include "design/cstack.h"
#include "design/formulatext.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <span>

namespace design {

// A formula read once, with the characters kFirstSlot + k standing for the value of name k: the
// queue and the stack as reading leaves them, numbers that come from values marked as such.
// Reading never depends on what a number is worth, so the evaluation of the formula for any values
// that are digits and points alone is this queue run with those values.
struct CalProgram
{
    inline static constexpr char16_t kFirstSlot = 0xE000;
    inline static constexpr qsizetype kSlots = 0x1900;  // the private use area up to U+F8FF

    QList<Token> postfix;
    QList<Token> stack;  // from the bottom up
    QList<QString> joined;  // typed digits and slot characters read as one number
};

// The token the evaluator makes of characters collected as one number (digits and points).
Token numberToken(QStringView digits);

// The expression evaluator: turns the text of a bill formula, with the named
// dimensions already put in place (see EvalFormula), into a single-precision number, and offers the
// two name-replacement operations of formula work.
//
// Formulas: numbers, "+", "-", "*", "/" (no unary minus: a leading minus is 0 minus the value),
// parentheses, and SIN, COS, TAN (degrees in), ATN (degrees out), EXP, LOG, SQR. Case does not
// matter, blanks are skipped even inside numbers, the letters A to G act as functions and every
// other character is skipped. Evaluation never fails: a failing step (division by zero, the
// logarithm or square root of a value outside its domain, a result that is not finite) pushes
// nothing, and the last value left wins.
//
// An object is meant for one evaluation: the stack is not emptied between two calls of CalExpress,
// so what one evaluation leaves behind is read by the next, as the rules require.
class Cal
{
public:
    // `source` with every occurrence of `name` replaced by `value`, searched case-insensitively and
    // again from the start after each replacement; the result is upper case except for the inserted
    // values. `name` is upper-cased in the caller's variable. An empty name replaces nothing; a value
    // that contains the name (regardless of case) is put in by one left-to-right pass; replacements
    // that keep rebuilding the name out of neighbouring text stop after a bounded number of rounds
    // and finish with one pass. A replacement that would make the text longer than
    // text::kMaxTextLength gives the upper-case source unchanged and sets textTooLong().
    QString Replace(const QString &source, QString &name, const QString &value);

    // Whether a Replace of this object stopped at the length bound.
    bool textTooLong() const { return m_textTooLong; }

    // One left-to-right pass over the upper-case form of `source`, putting `value` (as given) in place
    // of each occurrence of the upper-case form of `name`; inserted text is not searched again. An
    // empty name changes nothing.
    QString Replace1(const QString &source, const QString &name, const QString &value);

    // The value of `express` (see above); also kept as lastResult().
    float CalExpress(QStringView express);

    // Reads upper-case text `withSlots`, whose slot characters each stand for a value of digits and
    // points, as CalExpress reads the text with the values in their place.
    static CalProgram Prepare(text::Buffer withSlots);
    // CalExpress of the prepared text with values in place: `values[k]` is numberToken of value k,
    // `texts[k]` its text. For an object that has evaluated nothing yet.
    float Run(const CalProgram &program, std::span<const Token> values, std::span<const QString> texts);

    float lastResult() const { return m_lastResult; }
    // Whether a step of the last CalExpress failed (and was passed over, as the rules say) or its
    // result was not a finite single-precision number: the value then is not the formula's.
    bool stepFailed() const { return m_stepFailed; }

private:
    // Puts the token letter of each function in place of its name, everything up to its "(" and the
    // "(" itself, in upper-case text `s`. When a function name has no "(" after it the text becomes
    // empty (the expression is worth 0) and the result is false.
    static bool TokenizeFunctions(text::Buffer &s);

    // Whether a postfix queue is well formed for two-operand operators. Nothing calls it: evaluation
    // never checks well-formedness.
    static bool CheckPostfix(CQueue queue);

    // TokenizeFunctions, then the postfix queue of `e` into m_tokens with what is left on m_stack.
    // With `program`, slot characters are numbers too.
    void parse(text::Buffer &e, CalProgram *program);
    void read(const text::Buffer &e, CalProgram *program);
    float finish();
    void applyStep(const Token &t);

    CQueue m_tokens;
    CStack m_stack;
    CQueue m_postfix;
    float m_lastResult = 0;
    bool m_stepFailed = false;
    bool m_textTooLong = false;
};

} // namespace design
