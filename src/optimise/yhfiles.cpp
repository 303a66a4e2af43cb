#include "yhfiles.h"

#include "platform/ansicodes.h"
#include "platform/numtext.h"

#include <QFile>
#include "platform/filewrite.h"

using namespace Qt::StringLiterals;

namespace optimise {

QByteArray toAnsi(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (qint16 c : platform::ansiCodes(text)) {
        const quint16 u = quint16(c);
        if (u < 0x100)
            out.append(char(u));
        else
            out.append(char(u >> 8)).append(char(u & 0xff));
    }
    return out;
}

QByteArray formatDDD(const QList<PieceListRow> &rows)
{
    QString text;
    for (const PieceListRow &r : rows)
        text += r.length + u"\r\n"_s + r.quantity + u"\r\n"_s;
    return toAnsi(text);
}

namespace {
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
    const QStringList fields = fieldsOf(QString::fromLatin1(bytes));
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
