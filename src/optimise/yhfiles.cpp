#include "yhfiles.h"

#include "platform/ansicodes.h"
#include "platform/numtext.h"

#include <QFile>
#include <QStringDecoder>
#include "platform/filewrite.h"

using namespace Qt::StringLiterals;

namespace optimise {

QByteArray formatDDD(const QList<PieceListRow> &rows)
{
    QString text;
    for (const PieceListRow &r : rows)
        text += r.length + u"\r\n"_s + r.quantity + u"\r\n"_s;
    return platform::toGb18030(text);
}

namespace {
// The file's text: UTF-8 when it starts with a byte-order mark (as editors save it) or is valid
// UTF-8, the Chinese code page otherwise.
QString dddText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return platform::decodeLeniently(bytes, "GB18030").value_or(QString::fromLatin1(bytes));
}

// Splits into fields: a comma or a line end ends a field; a line end right after another line end
// (a blank line) gives no field.
QStringList fieldsOf(const QString &text)
{
    QStringList fields;
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool afterComma = false;
    while (i < n) {
        while (i < n && (text[i] == u' ' || text[i] == u'\t'))
            ++i;
        if (i >= n)
            break;
        if ((text[i] == u'\r' || text[i] == u'\n') && !afterComma) {
            ++i;
            continue;
        }
        QString field;
        if (text[i] == u'"') {
            ++i;
            while (i < n && text[i] != u'"')
                field += text[i++];
            if (i < n)
                ++i;
            while (i < n && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n')
                ++i;
        } else {
            while (i < n && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n')
                field += text[i++];
            field = field.trimmed();
        }
        fields << field;
        afterComma = i < n && text[i] == u',';
        if (i < n && text[i] == u',')
            ++i;
        else if (i < n && text[i] == u'\r') {
            ++i;
            if (i < n && text[i] == u'\n')
                ++i;
        } else if (i < n)
            ++i;
    }
    return fields;
}
} // namespace

DDDRead parseDDD(const QByteArray &bytes)
{
    DDDRead out;
    const QStringList fields = fieldsOf(dddText(bytes));
    for (qsizetype i = 0; i < fields.size(); i += 2) {
        if (i + 1 >= fields.size()) {
            out.complete = false;
            break;
        }
        if (!platform::isNumeric(fields.at(i)) || !platform::isNumeric(fields.at(i + 1))) {
            out.badValue = true;
            break;
        }
        out.rows.append({fields.at(i), fields.at(i + 1)});
    }
    return out;
}

bool LoadDDDFile(const QString &fileName, QList<PieceListRow> *rows, DDDRead *read)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const DDDRead r = parseDDD(f.readAll());
    *rows += r.rows;
    if (read)
        *read = r;
    return true;
}

bool SaveDDDFile(const QString &fileName, const QList<PieceListRow> &rows, QString *error)
{
    return platform::writeWholeFile(fileName, formatDDD(rows), error);
}

} // namespace optimise
