#include "textcodec.h"

#include <QStringDecoder>
#include <QStringList>
#include <iconv.h>

namespace drawing {

namespace {
std::optional<QByteArray> convert(const char *to, const char *from, const QByteArray &in)
{
    if (in.isEmpty())
        return QByteArray();
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return std::nullopt;
    QByteArray buf(in.size() * 4 + 16, '\0');
    char *src = const_cast<char *>(in.constData());
    size_t srcLeft = size_t(in.size());
    char *dst = buf.data();
    size_t dstLeft = size_t(buf.size());
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == size_t(-1) || srcLeft != 0)
        return std::nullopt;
    buf.resize(buf.size() - qsizetype(dstLeft));
    return buf;
}
// nullopt when a character has no GBK code.
std::optional<QByteArray> encodeGbk(const QString &text)
{
    return convert("GBK", "UTF-8", text.toUtf8());
}

// A file's text read both ways; a reading the bytes do not allow is left out.
struct Readings
{
    std::optional<QString> gb18030;
    std::optional<QString> utf8;
};

Readings readings(const QByteArray &bytes)
{
    Readings r;
    // A byte-order mark settles it.
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes.mid(3));
        if (!utf8.hasError())
            r.utf8 = text;
        return r;
    }
    if (const auto u = convert("UTF-8", "GB18030", bytes))
        r.gb18030 = QString::fromUtf8(*u);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        r.utf8 = text;
    return r;
}

// The share of a text's characters beyond ASCII that are common in Chinese text: the 6,763
// characters of GB2312, its punctuation row and its full-width forms. The right reading of a file
// scores high; the other one reads its bytes as rare characters and letters of other scripts.
double commonShare(const QString &text)
{
    const QByteArray gb = convert("GB18030", "UTF-8", text.toUtf8()).value_or(QByteArray());
    int beyondAscii = 0;
    int common = 0;
    for (qsizetype i = 0; i < gb.size();) {
        const auto b = quint8(gb[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        ++beyondAscii;
        const auto trail = i + 1 < gb.size() ? quint8(gb[i + 1]) : 0;
        if (trail >= 0x30 && trail <= 0x39) { // a four-byte code: never GB2312
            i += 4;
            continue;
        }
        const bool hanzi = b >= 0xB0 && b <= 0xF7 && !(b == 0xD7 && trail >= 0xFA);
        if ((hanzi || b == 0xA1 || b == 0xA3) && trail >= 0xA1 && trail <= 0xFE)
            ++common;
        i += 2;
    }
    return beyondAscii == 0 ? 1.0 : double(common) / beyondAscii;
}

} // namespace

std::optional<QString> decodeDrawingText(const QByteArray &bytes)
{
    const Readings r = readings(bytes);
    if (r.utf8 && (!r.gb18030 || (!encodeGbk(*r.utf8) && commonShare(*r.utf8) >= commonShare(*r.gb18030))))
        return r.utf8;
    return r.gb18030;
}

std::optional<QString> decodeDxfText(const QByteArray &bytes)
{
    const Readings r = readings(bytes);
    if (r.utf8 && (!r.gb18030 || commonShare(*r.utf8) >= commonShare(*r.gb18030)))
        return r.utf8;
    return r.gb18030;
}

std::optional<QByteArray> encodeGb18030(const QString &text)
{
    return convert("GB18030", "UTF-8", text.toUtf8());
}

QStringList splitLines(const QString &text)
{
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    for (QString &l : lines)
        if (l.endsWith(u'\r'))
            l.chop(1);
    return lines;
}

} // namespace drawing
