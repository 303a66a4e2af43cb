#pragma once
#include "design/calctoken.h"

#include <QVarLengthArray>

#include <span>

namespace design {

// The evaluator's stack, without a limit of 101 entries: deeply nested
// formulas keep all their operators and values.
class CStack
{
public:
    void Push(const Token &value) { m_slots.append(value); }
    Token Pop()
    {
        if (m_slots.isEmpty())
            return Token::null();
        const Token t = m_slots.back();
        m_slots.removeLast();
        return t;
    }
    Token Top() const { return m_slots.isEmpty() ? Token::null() : m_slots.back(); }
    bool IsEmpty() const { return m_slots.isEmpty(); }
    bool IsFull() const { return false; }
    // The entries from the bottom up.
    std::span<const Token> entries() const { return {m_slots.constData(), size_t(m_slots.size())}; }

private:
    QVarLengthArray<Token, 64> m_slots;
};

} // namespace design
