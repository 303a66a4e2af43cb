#include "design/calculator.h"

#include "design/operandtext.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>

namespace design {
namespace {

struct Function
{
    QStringView name;
    char16_t letter;
};

// Taken in this order: each name is turned into its letter everywhere before the next is sought.
constexpr Function kFunctions[] = {
    {u"SIN", u'E'}, {u"COS", u'B'}, {u"ATN", u'A'}, {u"EXP", u'C'},
    {u"LOG", u'D'}, {u"SQR", u'F'}, {u"TAN", u'G'},
};

bool isDigitOrPoint(char16_t c) { return (c >= u'0' && c <= u'9') || c == u'.'; }

using Digits = QVarLengthArray<char, 32>;

bool isSlot(char16_t c)
{
    return c >= CalProgram::kFirstSlot && c < CalProgram::kFirstSlot + CalProgram::kSlots;
}

// The token for the characters collected as one number: "" is an empty entry; a number needs at
// least one digit and at most one ".".
Token numberToken(const Digits &collected)
{
    if (collected.isEmpty())
        return Token();
    const std::string_view digits(collected.constData(), size_t(collected.size()));
    const auto points = std::count(digits.begin(), digits.end(), '.');
    if (points > 1 || qsizetype(points) == collected.size())
        return Token::malformed();
    return Token::number(numberTokenValue(digits));
}

bool isAnyOf(const Token &t, std::u16string_view symbols)
{
    return t.kind == Token::Kind::Symbol && symbols.find(t.symbol) != std::u16string_view::npos;
}

} // namespace

Token numberToken(QStringView digits)
{
    Digits collected;
    for (const QChar c : digits)
        collected.append(char(c.unicode()));
    return numberToken(collected);
}

QString Cal::Replace(const QString &source, QString &name, const QString &value)
{
    name = name.toUpper();
    text::Buffer s;
    text::setUpper(s, source);
    if (text::replaceAll(s, name, value, text::replaceMode(name, value)) == text::kTooLong) {
        m_textTooLong = true;
        text::setUpper(s, source);
    }
    return text::toQString(s);
}

QString Cal::Replace1(const QString &source, const QString &name, const QString &value)
{
    text::Buffer s;
    text::setUpper(s, source);
    text::replaceOnePass(s, name.toUpper(), value);
    return text::toQString(s);
}

bool Cal::TokenizeFunctions(text::Buffer &s)
{
    bool hasLetter = false;
    for (const char16_t c : s)
        hasLetter = hasLetter || (c >= u'A' && c <= u'Z');
    if (!hasLetter)
        return true;

    for (const Function &f : kFunctions) {
        // One pass per name with a reading point `r` and a writing point `w`. The plain rule searches again
        // from the start after each replacement; the only new occurrence a replacement can make starts
        // at the letter it puts in (ATN gives A), so the letter is left at the reading point to be
        // read again, which finds the same occurrences in one pass.
        qsizetype p = text::view(s).indexOf(f.name);
        if (p < 0)
            continue;
        qsizetype r = 0;
        qsizetype w = 0;
        while (p >= 0) {
            const qsizetype q = text::view(s).indexOf(u'(', p + f.name.size());
            if (q < 0) {
                s.clear();
                return false;
            }
            while (r < p)
                s[w++] = s[r++];
            s[q] = f.letter;
            r = q;
            p = text::view(s).indexOf(f.name, r);
        }
        while (r < s.size())
            s[w++] = s[r++];
        s.resize(w);
    }
    return true;
}

bool Cal::CheckPostfix(CQueue queue)
{
    qsizetype values = 0;
    while (!queue.IsEmpty()) {
        const Token t = queue.DeQueue();
        if (t.kind == Token::Kind::Number) {
            ++values;
        } else {
            if (values < 2)
                return false;
            --values;
        }
    }
    return values == 1;
}

void Cal::read(const text::Buffer &e, CalProgram *program)
{
    Digits number;
    QVarLengthArray<char16_t, 32> joined;  // with a program: the digits and slots of the number
    bool slotSeen = false;
    for (const char16_t c : e) {
        if (c == u' ')
            continue;  // blanks are skipped everywhere, also inside numbers: "2 3" reads 23
        if (isDigitOrPoint(c)) {
            number.append(char(c));
            if (program)
                joined.append(c);
            continue;
        }
        if (program && isSlot(c)) {
            joined.append(c);
            slotSeen = true;
            continue;
        }
        Token collected;
        if (!slotSeen) {
            collected = numberToken(number);
        } else if (joined.size() == 1) {
            collected.kind = Token::Kind::Slot;
            collected.slot = quint32(joined[0] - CalProgram::kFirstSlot);
        } else {
            collected.kind = Token::Kind::Joined;
            collected.slot = quint32(program->joined.size());
            program->joined.append(QString(reinterpret_cast<const QChar *>(joined.constData()), joined.size()));
        }
        if (collected.kind != Token::Kind::Empty)  // empty entries would be left out of the postfix
            m_tokens.EnQueue(collected);
        number.clear();
        joined.clear();
        slotSeen = false;
        switch (c) {
        case u'+':
        case u'-':
            while (isAnyOf(m_stack.Top(), u"*/+-"))
                m_tokens.EnQueue(m_stack.Pop());
            m_stack.Push(Token::ofSymbol(c));
            break;
        case u'*':
        case u'/':
            while (isAnyOf(m_stack.Top(), u"*/"))
                m_tokens.EnQueue(m_stack.Pop());
            m_stack.Push(Token::ofSymbol(c));
            break;
        case u'(':
        case u'A':
        case u'B':
        case u'C':
        case u'D':
        case u'E':
        case u'F':
        case u'G':
            m_stack.Push(Token::ofSymbol(c));
            break;
        case u')':
            // Pops up to the nearest "(" or function letter; a ")" without an opener stops at the
            // empty stack instead of popping for ever.
            while (!m_stack.IsEmpty()) {
                const Token t = m_stack.Pop();
                if (t.isSymbol(u'('))
                    break;
                m_tokens.EnQueue(t);
                if (t.isFunctionLetter())
                    break;
            }
            break;
        default:
            break;  // letters H to Z and any other character only end the number before them
        }
    }
}

void Cal::applyStep(const Token &t)
{
    if (t.kind == Token::Kind::Number) {
        m_stack.Push(t);
        return;
    }
    if (t.kind != Token::Kind::Symbol)
        return;  // "1.2.3", "." and signed or exponent texts are not numbers as a whole

    constexpr double pi = std::numbers::pi;
    double r = 0;
    switch (t.symbol) {
    case u'+':
    case u'-':
    case u'*':
    case u'/': {
        const double a = m_stack.Pop().operand();
        const double b = m_stack.Pop().operand();
        r = t.symbol == u'+' ? b + a : t.symbol == u'-' ? b - a : t.symbol == u'*' ? b * a : b / a;
        break;
    }
    case u'E':
        r = std::sin(m_stack.Pop().operand() / 180 * pi);
        break;
    case u'B':
        r = std::cos(m_stack.Pop().operand() / 180 * pi);
        break;
    case u'G':
        r = std::tan(m_stack.Pop().operand() / 180 * pi);
        break;
    case u'A':
        r = std::atan(m_stack.Pop().operand()) / pi * 180;
        break;
    case u'C':
        r = std::exp(m_stack.Pop().operand());
        break;
    case u'D':
        r = std::log(m_stack.Pop().operand());
        break;
    case u'F':
        r = std::sqrt(m_stack.Pop().operand());
        break;
    default:
        return;
    }
    // A failing step (division by zero, a domain error, overflow) pushes nothing; its operands
    // stay consumed.
    if (std::isfinite(r))
        m_stack.Push(Token::result(resultAsOperand(r)));
    else
        m_stepFailed = true;
}

void Cal::parse(text::Buffer &e, CalProgram *program)
{
    TokenizeFunctions(e);
    m_stack.Push(Token::ofSymbol(u'('));  // with the ")" below, closes everything at the end
    e.append(u')');
    read(e, program);
}

float Cal::finish()
{
    const double last = m_stack.Pop().operand();
    if (!std::isfinite(float(last)))
        m_stepFailed = true;
    m_lastResult = finalSingle(last);
    return m_lastResult;
}

float Cal::CalExpress(QStringView express)
{
    text::Buffer e;
    text::setUpper(e, express);
    m_stepFailed = false;
    parse(e, nullptr);
    while (!m_tokens.IsEmpty())
        m_postfix.EnQueue(m_tokens.DeQueue());
    while (!m_postfix.IsEmpty())
        applyStep(m_postfix.DeQueue());
    return finish();
}

CalProgram Cal::Prepare(text::Buffer withSlots)
{
    // Slot characters have no case and are no letter, digit or symbol of the formula language, so
    // function names and their "(" are found where they are found with the values in place.
    Cal cal;
    CalProgram program;
    cal.parse(withSlots, &program);
    while (!cal.m_tokens.IsEmpty())
        program.postfix.append(cal.m_tokens.DeQueue());
    const std::span<const Token> left = cal.m_stack.entries();
    program.stack = QList<Token>(left.begin(), left.end());
    return program;
}

float Cal::Run(const CalProgram &program, std::span<const Token> values, std::span<const QString> texts)
{
    m_stepFailed = false;
    for (const Token &t : program.stack)
        m_stack.Push(t);
    for (const Token &t : program.postfix) {
        switch (t.kind) {
        case Token::Kind::Slot:
            applyStep(values[t.slot]);
            break;
        case Token::Kind::Joined: {
            Digits collected;
            for (const QChar c : program.joined[t.slot]) {
                if (isSlot(c.unicode())) {
                    for (const QChar d : texts[c.unicode() - CalProgram::kFirstSlot])
                        collected.append(char(d.unicode()));
                } else {
                    collected.append(char(c.unicode()));
                }
            }
            applyStep(numberToken(collected));
            break;
        }
        default:
            applyStep(t);
        }
    }
    return finish();
}

} // namespace design
