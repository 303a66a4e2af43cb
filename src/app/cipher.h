#pragma once
// Password cipher: character codes (GBK, signed 16-bit) are swapped pairwise, optionally combined
// with a key, and written as four upper-case hex digits each. Stored passwords are matched in this
// form, so it must never change.
#include <QString>

namespace app {

inline constexpr qint16 kPasswordKey = -17923;

class EncDecrypt
{
public:
    static QString EncBuf(const QString &text);
    static QString DecBuf(const QString &hex);
    static QString CmprEncBuf(const QString &hex);
    static QString KeyEncBuf(const QString &text, qint16 key);
    static QString KeyDecBuf(const QString &hex, qint16 key);
};

inline QString KeyEncBuf(const QString &text, qint16 key) { return EncDecrypt::KeyEncBuf(text, key); }

} // namespace app
