#include "cipher.h"

#include "platform/ansicodes.h"

#include <QVector>
#include <optional>

namespace app {

namespace {

QString ZeroPad(const QString &hex)
{
    return hex.size() >= 4 ? hex : QString(4 - hex.size(), u'0') + hex;
}

QString hex4(qint16 v)
{
    return ZeroPad(QString::number(quint16(v), 16).toUpper());
}

int digit(quint16 v, int i) // i = 1 most significant
{
    return (v >> (4 * (4 - i))) & 0xF;
}

// The pair swap: new a = digits b2 a2 b4 a4, new b = digits b1 a1 b3 a3.
void HexConvert(qint16 &a, qint16 &b)
{
    const quint16 ua = quint16(a), ub = quint16(b);
    const quint16 na = quint16(digit(ub, 2) << 12 | digit(ua, 2) << 8 | digit(ub, 4) << 4 | digit(ua, 4));
    const quint16 nb = quint16(digit(ub, 1) << 12 | digit(ua, 1) << 8 | digit(ub, 3) << 4 | digit(ua, 3));
    a = qint16(na);
    b = qint16(nb);
}

QVector<qint16> swapped(const QString &text)
{
    QVector<qint16> codes = platform::ansiCodes(text);
    for (qsizetype i = 1; i < codes.size(); ++i)
        HexConvert(codes[i - 1], codes[i]);
    return codes;
}

// The swap is an involution, so walking the pairs backwards undoes the enciphering order.
void unswap(QVector<qint16> &codes)
{
    for (qsizetype i = codes.size() - 1; i >= 1; --i)
        HexConvert(codes[i - 1], codes[i]);
}

std::optional<QVector<qint16>> readGroups(const QString &hex)
{
    if (hex.size() < 8 || hex.size() % 4 != 0)
        return std::nullopt;
    QVector<qint16> values;
    for (qsizetype i = 0; i < hex.size(); i += 4) {
        bool ok = false;
        const uint v = hex.mid(i, 4).toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        values << qint16(quint16(v));
    }
    return values;
}

} // namespace

QString EncDecrypt::EncBuf(const QString &text)
{
    if (text.size() < 2)
        return {};
    QString out;
    for (qint16 c : swapped(text))
        out += hex4(c);
    return out;
}

QString EncDecrypt::KeyEncBuf(const QString &text, qint16 key)
{
    if (text.size() < 2)
        return {};
    QString out;
    for (qint16 c : swapped(text))
        out += hex4(qint16(c ^ key));
    return out;
}

QString EncDecrypt::CmprEncBuf(const QString &hex)
{
    const auto values = readGroups(hex);
    return values ? platform::fromAnsiCodes(*values) : QString();
}

QString EncDecrypt::DecBuf(const QString &hex)
{
    auto values = readGroups(hex);
    if (!values)
        return {};
    unswap(*values);
    return platform::fromAnsiCodes(*values);
}

QString EncDecrypt::KeyDecBuf(const QString &hex, qint16 key)
{
    auto values = readGroups(hex);
    if (!values)
        return {};
    for (qint16 &v : *values)
        v = qint16(v ^ key);
    unswap(*values);
    return platform::fromAnsiCodes(*values);
}

} // namespace app
