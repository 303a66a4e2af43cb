#pragma once
#include <QtGlobal>

namespace design {

// One entry of the evaluator's queues and stack. The rules keep these entries as texts; a Token
// carries everything the evaluator ever reads from such a text: which symbol it is, whether it is
// "a number as a whole", and the value its leading number reads as.
struct Token
{
    enum class Kind : quint8 {
        Empty,      // "": an empty number entry, or what a removal from an empty queue gives
        Null,       // "NULL": what popping an empty stack gives
        Number,     // digits with at most one "." (typed in the formula, or a plain pushed result)
        Value,      // a pushed result whose text has a sign or an exponent ("-5", "1E-05")
        Malformed,  // digits and points that are not a number ("1.2.3", ".")
        Symbol,     // "+", "-", "*", "/", "(" or a function letter A to G
        // Only in a prepared formula (CalProgram): a number that is the value of name `slot`, or one
        // joined from typed digits and values (CalProgram::joined[slot]).
        Slot,
        Joined,
    };

    Kind kind = Kind::Empty;
    char16_t symbol = 0;  // for Kind::Symbol
    quint32 slot = 0;     // for Kind::Slot and Kind::Joined
    double value = 0;     // for Kind::Number and Kind::Value

    static constexpr Token number(double v) { return {Kind::Number, 0, 0, v}; }
    static constexpr Token ofSymbol(char16_t c) { return {Kind::Symbol, c, 0, 0}; }
    static constexpr Token malformed() { return {Kind::Malformed, 0, 0, 0}; }
    static constexpr Token null() { return {Kind::Null, 0, 0, 0}; }
    // A result as pushed with the text of "%.15G"; `v` is the value that text reads back as.
    // The text is plain digits exactly when it has neither a sign nor an exponent.
    static constexpr Token result(double v)
    {
        const bool plain = v == 0 || (v >= 1e-4 && v < 1e15);
        return {plain ? Kind::Number : Kind::Value, 0, 0, v};
    }

    bool isSymbol(char16_t c) const { return kind == Kind::Symbol && symbol == c; }
    bool isFunctionLetter() const { return kind == Kind::Symbol && symbol >= u'A' && symbol <= u'G'; }
    // The entry read by its leading number: operators, "(" and "NULL" read as 0.
    double operand() const { return kind == Kind::Number || kind == Kind::Value ? value : 0.0; }
};

} // namespace design
