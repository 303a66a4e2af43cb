#include "textcodec.h"

#include "platform/ansicodes.h"

#include <QStringDecoder>
#include <QStringList>
#include <algorithm>

namespace drawing {

namespace {
// nullopt when a character has no GBK code.
std::optional<QByteArray> encodeGbk(const QString &text)
{
    return platform::convertEncoding("GBK", "UTF-8", text.toUtf8());
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
    if (const auto u = platform::convertEncoding("UTF-8", "GB18030", bytes))
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
    const QByteArray gb = platform::convertEncoding("GB18030", "UTF-8", text.toUtf8()).value_or(QByteArray());
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

namespace {
// The value of a header variable ($ACADVER, $DWGCODEPAGE): the value field after the variable's
// name. The header comes first and is plain ASCII.
QByteArray headerValue(const QList<QByteArray> &lines, const QByteArray &name)
{
    for (qsizetype i = 0; i + 3 < lines.size(); i += 2) {
        const QByteArray code = lines.at(i).trimmed();
        const QByteArray value = lines.at(i + 1).trimmed();
        if (code == "0" && value == "ENDSEC")
            break; // the end of the header
        if (code == "9" && value == name)
            return lines.at(i + 3).trimmed();
    }
    return QByteArray();
}

// The encoding a code page name stands for: ANSI_936 the Chinese code page, ANSI_1252 the Western
// one, any other ANSI_ page by its number where iconv knows it; "" for none.
QByteArray codePageEncoding(const QByteArray &page)
{
    if (page.compare("ANSI_936", Qt::CaseInsensitive) == 0)
        return "GBK";
    if (page.compare("ANSI_1252", Qt::CaseInsensitive) == 0)
        return "WINDOWS-1252";
    if (!page.toUpper().startsWith("ANSI_"))
        return QByteArray();
    bool ok = false;
    const int number = page.mid(5).toInt(&ok);
    if (!ok || number <= 0)
        return QByteArray();
    const QByteArray name = "CP" + QByteArray::number(number);
    return platform::decodeLeniently(QByteArray(), name.constData()) ? name : QByteArray();
}

bool isAsciiHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
} // namespace

QStringList dxfLines(const QByteArray &bytes)
{
    // A byte-order mark settles it.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return splitLines(QString::fromUtf8(bytes.mid(3)));
    const QList<QByteArray> raw = bytes.split('\n');
    // From R2007 (AC1021) on, DXF files are UTF-8 whatever code page they name.
    const QByteArray version = headerValue(raw, "$ACADVER");
    bool ok = false;
    if (version.startsWith("AC") && version.mid(2).toInt(&ok) >= 1021 && ok)
        return splitLines(QString::fromUtf8(bytes));
    const QByteArray encoding = codePageEncoding(headerValue(raw, "$DWGCODEPAGE"));
    if (!encoding.isEmpty())
        return splitLines(platform::decodeLeniently(bytes, encoding.constData()).value_or(QString()));
    // Neither: the Chinese code page or UTF-8, whichever reads as Chinese text.
    const Readings r = readings(bytes);
    if (r.utf8 && (!r.gb18030 || commonShare(*r.utf8) >= commonShare(*r.gb18030)))
        return splitLines(*r.utf8);
    if (r.gb18030)
        return splitLines(*r.gb18030);
    return splitLines(platform::decodeLeniently(bytes, "GB18030").value_or(QString()));
}

QString decodeDxfEscapes(const QString &text)
{
    if (!text.contains(u'\\') && !text.contains(u'%'))
        return text;
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        // \U+XXXX: a character by its code.
        if (text[i] == u'\\' && i + 6 < n && text[i + 1].toUpper() == u'U' && text[i + 2] == u'+') {
            const QString digits = text.mid(i + 3, 4);
            if (std::all_of(digits.cbegin(), digits.cend(), isAsciiHexDigit)) {
                out.append(QChar(digits.toUShort(nullptr, 16)));
                i += 7;
                continue;
            }
        }
        // %%c, %%d, %%p: the diameter, degree and plus-minus signs.
        if (text[i] == u'%' && i + 2 < n && text[i + 1] == u'%') {
            const QChar c = text[i + 2].toLower();
            const char16_t sign = c == u'c' ? u'\u2300' : c == u'd' ? u'\u00B0' : c == u'p' ? u'\u00B1' : 0;
            if (sign) {
                out.append(QChar(sign));
                i += 3;
                continue;
            }
        }
        out.append(text[i++]);
    }
    return out;
}

std::optional<QByteArray> encodeGb18030(const QString &text)
{
    return platform::convertEncoding("GB18030", "UTF-8", text.toUtf8());
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
