#include "ansicodes.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace platform {

namespace {
// iconv over the whole input. Strictly, nullopt when a byte sequence does not convert; leniently
// (into UTF-8 only), each byte that does not begin a character becomes U+FFFD.
std::optional<QByteArray> iconvAll(const char *to, const char *from, const QByteArray &in, bool lenient)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return std::nullopt;
    // A byte gives at most four bytes of UTF-8, a replaced one three.
    QByteArray buf(in.size() * 4 + 16, '\0');
    char *src = const_cast<char *>(in.constData());
    size_t srcLeft = size_t(in.size());
    char *dst = buf.data();
    size_t dstLeft = size_t(buf.size());
    bool whole = true;
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1))
            break;
        if (!lenient || (errno != EILSEQ && errno != EINVAL)) {
            whole = false;
            break;
        }
        std::memcpy(dst, "\xEF\xBF\xBD", 3);
        dst += 3;
        dstLeft -= 3;
        ++src;
        --srcLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    iconv_close(cd);
    if (!whole)
        return std::nullopt;
    buf.resize(buf.size() - qsizetype(dstLeft));
    return buf;
}
} // namespace

std::optional<QByteArray> convertEncoding(const char *to, const char *from, const QByteArray &in)
{
    return iconvAll(to, from, in, false);
}

QByteArray toGb18030(const QString &text)
{
    return convertEncoding("GB18030", "UTF-8", text.toUtf8()).value_or(QByteArray());
}

std::optional<QString> decodeLeniently(const QByteArray &bytes, const char *encoding)
{
    const std::optional<QByteArray> utf8 = iconvAll("UTF-8", encoding, bytes, true);
    return utf8 ? std::optional<QString>(QString::fromUtf8(*utf8)) : std::nullopt;
}

QVector<qint16> ansiCodes(const QString &text)
{
    QVector<qint16> codes;
    codes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString ch = text.mid(i, 1);
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            ch = text.mid(i++, 2);
        const QByteArray gbk = convertEncoding("GBK", "UTF-8", ch.toUtf8()).value_or(QByteArray());
        if (gbk.isEmpty()) {
            codes << qint16('?'); // as the code page does for a character it lacks
            continue;
        }
        if (gbk.size() == 1)
            codes << qint16(quint8(gbk[0]));
        else
            codes << qint16(quint16(quint8(gbk[0]) << 8 | quint8(gbk[1])));
    }
    return codes;
}

QString fromAnsiCodes(const QVector<qint16> &codes)
{
    QString out;
    for (qint16 c : codes) {
        const quint16 u = quint16(c);
        QByteArray bytes;
        if (u < 0x100)
            bytes.append(char(u));
        else
            bytes.append(char(u >> 8)).append(char(u & 0xff));
        if (const std::optional<QByteArray> utf8 = convertEncoding("UTF-8", "GBK", bytes))
            out += QString::fromUtf8(*utf8);
        else
            out += QChar(u'?');
    }
    return out;
}

} // namespace platform
