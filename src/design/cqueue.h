#pragma once
#include "design/calctoken.h"

#include <QString>
#include <QVarLengthArray>

namespace design {

// The evaluator's token queue. A ring of 101 slots silently dropped every
// entry past the hundredth, so a long formula lost its tail; this queue takes any number of entries
// and is therefore never full.
class CQueue
{
public:
    QString GetErrorMessage() const
    {
        return m_emptied ? QStringLiteral("Empty") : QStringLiteral("None");
    }
    void EnQueue(const Token &value) { m_slots.append(value); }
    Token DeQueue()
    {
        if (IsEmpty()) {
            m_emptied = true;
            return Token();
        }
        const Token t = m_slots[m_head++];
        if (m_head == m_slots.size()) {  // keep the storage, start afresh
            m_slots.clear();
            m_head = 0;
        }
        return t;
    }
    bool IsEmpty() const { return m_head == m_slots.size(); }
    bool IsFull() const { return false; }
    // The slot the next entry will take, which is always unused here.
    Token ShowEnd()
    {
        m_emptied = false;
        return Token();
    }

private:
    QVarLengthArray<Token, 64> m_slots;
    qsizetype m_head = 0;
    bool m_emptied = false;  // the message: "Empty" after a removal from an empty queue
};

} // namespace design
