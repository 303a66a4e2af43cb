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
} // namespace

std::optional<QString> decodeDrawingText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    // GB18030 reads every GBK file and more.
    if (const auto u = convert("UTF-8", "GB18030", bytes))
        return QString::fromUtf8(*u);
    return std::nullopt;
}

std::optional<QByteArray> encodeGbk(const QString &text)
{
    return convert("GBK", "UTF-8", text.toUtf8());
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
