// Reads the first worksheet of an .xlsx file: the package is a zip of XML parts; the workbook part
// lists the sheets in tab order and its relationships name the part that holds each sheet.
#include "workbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QXmlStreamReader>
#include <zip.h>

using namespace Qt::StringLiterals;

namespace platform {

namespace {

constexpr int MaxRow = 1048575;
constexpr int MaxColumn = 16383;
// Far above any real sheet; keeps a damaged or hostile file from taking all memory.
constexpr qint64 MaxPartSize = qint64(1) << 30;

// Thrown inside the reader only, caught in readFirstSheet().
struct Damaged
{
    QString why;
};

class Package
{
public:
    explicit Package(zip_t *zip) : m_zip(zip) {}
    ~Package() { zip_discard(m_zip); }
    Package(const Package &) = delete;
    Package &operator=(const Package &) = delete;

    bool has(const QString &part) const { return locate(part) >= 0; }

    QByteArray read(const QString &part) const
    {
        const zip_int64_t index = locate(part);
        if (index < 0)
            throw Damaged{u"缺少 %1"_s.arg(part)};
        zip_file_t *file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
        if (!file)
            throw Damaged{u"无法解压 %1：%2"_s.arg(part, QString::fromUtf8(zip_strerror(m_zip)))};
        QByteArray data;
        char buffer[65536];
        zip_int64_t n;
        while ((n = zip_fread(file, buffer, sizeof buffer)) > 0) {
            if (data.size() + n > MaxPartSize) {
                zip_fclose(file);
                throw Damaged{u"%1 过大"_s.arg(part)};
            }
            data.append(buffer, qsizetype(n));
        }
        if (n < 0) {
            const QString why = QString::fromUtf8(zip_file_strerror(file));
            zip_fclose(file);
            throw Damaged{u"无法解压 %1：%2"_s.arg(part, why)};
        }
        zip_fclose(file);
        return data;
    }

private:
    zip_int64_t locate(const QString &part) const
    {
        // Part names are case-insensitive in the package format.
        return zip_name_locate(m_zip, part.toUtf8().constData(), ZIP_FL_NOCASE);
    }

    zip_t *m_zip;
};

struct Relationship
{
    QString type;
    QString target; // a part name, resolved
};

// "xl/_rels/workbook.xml.rels" for "xl/workbook.xml"; "_rels/.rels" for the package ("").
QString relationshipsPart(const QString &part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + u"_rels/"_s + part.mid(slash + 1) + u".rels"_s;
}

QString resolveTarget(const QString &sourcePart, const QString &target)
{
    const QString t = QUrl::fromPercentEncoding(target.toUtf8());
    if (t.startsWith(u'/'))
        return QDir::cleanPath(t.mid(1));
    return QDir::cleanPath(sourcePart.left(sourcePart.lastIndexOf(u'/') + 1) + t);
}

void checkXml(const QXmlStreamReader &x, const QString &part)
{
    if (x.hasError())
        throw Damaged{u"%1 第 %2 行：%3"_s.arg(part).arg(x.lineNumber()).arg(x.errorString())};
}

// Relationships by id.
QHash<QString, Relationship> readRelationships(const Package &package, const QString &sourcePart)
{
    const QString part = relationshipsPart(sourcePart);
    QHash<QString, Relationship> out;
    QXmlStreamReader x(package.read(part));
    while (!x.atEnd()) {
        if (x.readNext() == QXmlStreamReader::StartElement && x.name() == u"Relationship") {
            const QXmlStreamAttributes a = x.attributes();
            if (a.value(u"TargetMode"_s) == u"External")
                continue;
            out.insert(a.value(u"Id"_s).toString(),
                       Relationship{a.value(u"Type"_s).toString(), resolveTarget(sourcePart, a.value(u"Target"_s).toString())});
        }
    }
    checkXml(x, part);
    return out;
}

// Relationship types differ between the transitional and strict forms only before the last "/".
bool hasType(const Relationship &r, QStringView kind)
{
    return r.type.endsWith(u'/' + kind.toString());
}

// Text escapes _xHHHH_ stand for characters XML cannot carry (carriage returns, control codes).
QString decodeEscapes(const QString &s)
{
    if (!s.contains(u"_x"))
        return s;
    QString out;
    out.reserve(s.size());
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n;) {
        if (s[i] == u'_' && i + 6 < n && s[i + 1] == u'x' && s[i + 6] == u'_') {
            bool ok = false;
            const ushort code = s.mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out.append(QChar(code));
                i += 7;
                continue;
            }
        }
        out.append(s[i++]);
    }
    return out;
}

// At the start of a string item (<si> or <is>): its text runs joined, phonetic guides left out.
QString readStringItem(QXmlStreamReader &x)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !x.atEnd()) {
        const auto token = x.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (x.name() == u"t")
                text += x.readElementText(QXmlStreamReader::IncludeChildElements);
            else if (x.name() == u"rPh" || x.name() == u"phoneticPr")
                x.skipCurrentElement();
            else
                ++depth;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return decodeEscapes(text);
}

QStringList readSharedStrings(const Package &package, const QString &part)
{
    QStringList out;
    QXmlStreamReader x(package.read(part));
    while (!x.atEnd()) {
        if (x.readNext() == QXmlStreamReader::StartElement && x.name() == u"si")
            out.append(readStringItem(x));
    }
    checkXml(x, part);
    return out;
}

// "B3" -> row 2, column 1.
bool parseReference(QStringView ref, int *row, int *column)
{
    qsizetype i = 0;
    int c = 0;
    while (i < ref.size() && i < 3 && ref[i].isLetter() && ref[i].unicode() < 128) {
        c = c * 26 + (ref[i].toUpper().unicode() - 'A' + 1);
        ++i;
    }
    if (i == 0 || i == ref.size())
        return false;
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    if (!ok || !ref[i].isDigit() || r < 1 || r - 1 > MaxRow || c - 1 > MaxColumn)
        return false;
    *row = r - 1;
    *column = c - 1;
    return true;
}

// At the start of a <c>: the cell's stored text.
QString readCellText(QXmlStreamReader &x, const QStringList &sharedStrings, const QString &ref)
{
    const QString type = x.attributes().value(u"t"_s).toString();
    QString value;
    bool hasValue = false;
    std::optional<QString> inlineText;
    while (!x.atEnd()) {
        const auto token = x.readNext();
        if (token == QXmlStreamReader::EndElement)
            break; // </c>: its children are read whole below
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (x.name() == u"v") {
            value = x.readElementText();
            hasValue = true;
        } else if (x.name() == u"is") {
            inlineText = readStringItem(x);
        } else {
            x.skipCurrentElement(); // formula, extensions
        }
    }

    if (type == u"s") {
        if (!hasValue)
            return QString();
        bool ok = false;
        const int index = value.trimmed().toInt(&ok);
        if (!ok || index < 0 || index >= sharedStrings.size())
            throw Damaged{u"单元格 %1 的共享字符串编号 %2 无效"_s.arg(ref, value)};
        return sharedStrings[index];
    }
    if (type == u"inlineStr")
        return inlineText ? *inlineText : decodeEscapes(value);
    if (type == u"str")
        return decodeEscapes(value);
    if (type == u"b") {
        if (value.trimmed() == u"1")
            return u"TRUE"_s;
        if (value.trimmed() == u"0")
            return u"FALSE"_s;
    }
    return value; // numbers as written, error codes, ISO dates
}

QString cellName(int row, int column)
{
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
}

CellGrid readSheet(const Package &package, const QString &part, const QStringList &sharedStrings)
{
    CellGrid grid;
    QXmlStreamReader x(package.read(part));
    // Row and cell references may be left out; they then follow the previous ones.
    int row = -1;
    int column = -1;
    bool inSheetData = false; // rows and cells elsewhere (extensions) are not the sheet's
    while (!x.atEnd()) {
        const auto token = x.readNext();
        if (token == QXmlStreamReader::EndElement && x.name() == u"sheetData")
            inSheetData = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (x.name() == u"sheetData") {
            inSheetData = true;
        } else if (!inSheetData) {
            continue;
        } else if (x.name() == u"row") {
            const QString r = x.attributes().value(u"r"_s).toString();
            if (r.isEmpty()) {
                ++row;
            } else {
                bool ok = false;
                row = r.toInt(&ok) - 1;
                if (!ok || row < 0)
                    throw Damaged{u"%1 的行号“%2”无效"_s.arg(part, r)};
            }
            if (row > MaxRow)
                throw Damaged{u"%1 的行数超出工作表范围"_s.arg(part)};
            column = -1;
        } else if (x.name() == u"c") {
            const QString ref = x.attributes().value(u"r"_s).toString();
            if (ref.isEmpty()) {
                row = std::max(row, 0);
                if (++column > MaxColumn)
                    throw Damaged{u"%1 的列数超出工作表范围"_s.arg(part)};
            } else if (!parseReference(ref, &row, &column)) {
                throw Damaged{u"%1 的单元格引用“%2”无效"_s.arg(part, ref)};
            }
            grid.setText(row, column, readCellText(x, sharedStrings, cellName(row, column)));
        }
    }
    checkXml(x, part);
    return grid;
}

// Resolves the workbook's first sheet that is a worksheet (not a chart sheet) and reads it.
CellGrid readFirstWorksheet(const Package &package)
{
    QString workbookPart;
    const QHash<QString, Relationship> packageRels = readRelationships(package, QString());
    for (const Relationship &r : packageRels) {
        if (hasType(r, u"officeDocument")) {
            workbookPart = r.target;
            break;
        }
    }
    if (workbookPart.isEmpty())
        throw Damaged{u"找不到工作簿部分"_s};

    const QHash<QString, Relationship> rels = readRelationships(package, workbookPart);
    QString sheetPart;
    QXmlStreamReader x(package.read(workbookPart));
    while (sheetPart.isEmpty() && !x.atEnd()) {
        if (x.readNext() != QXmlStreamReader::StartElement || x.name() != u"sheet")
            continue;
        // The relationship id is the namespaced "id" attribute (r:id).
        for (const QXmlStreamAttribute &a : x.attributes()) {
            if (a.name() == u"id" && !a.namespaceUri().isEmpty()) {
                const auto it = rels.constFind(a.value().toString());
                if (it != rels.cend() && hasType(*it, u"worksheet"))
                    sheetPart = it->target;
            }
        }
    }
    checkXml(x, workbookPart);
    if (sheetPart.isEmpty())
        throw Damaged{u"工作簿中没有工作表"_s};

    QStringList sharedStrings;
    for (const Relationship &r : rels) {
        if (hasType(r, u"sharedStrings")) {
            sharedStrings = readSharedStrings(package, r.target);
            break;
        }
    }
    return readSheet(package, sheetPart, sharedStrings);
}

} // namespace

std::optional<CellGrid> readFirstSheet(const QString &path, QString *error)
{
    const auto fail = [&](const QString &why) -> std::optional<CellGrid> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const QString oldBinary = u"只能读取 .xlsx 工作簿：%1 是旧式的 .xls 文件，请用电子表格程序另存为 .xlsx 后再读取"_s;
    const auto cannotRead = [&](const QString &why) { return fail(u"无法读取工作簿 %1：%2"_s.arg(path, why)); };

    if (path.endsWith(u".xls"_s, Qt::CaseInsensitive))
        return fail(oldBinary.arg(path));
    const QFileInfo info(path);
    if (!info.exists())
        return cannotRead(u"文件不存在"_s);
    if (!info.isFile())
        return cannotRead(u"不是文件"_s);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return cannotRead(file.errorString());
    // An old binary workbook under another name is still one.
    static const QByteArray compoundFileMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (file.read(8) == compoundFileMagic)
        return fail(oldBinary.arg(path));
    file.close();

    int zipError = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &zipError);
    if (!zip) {
        if (zipError == ZIP_ER_NOZIP)
            return cannotRead(u"不是 .xlsx 工作簿"_s);
        zip_error_t ze;
        zip_error_init_with_code(&ze, zipError);
        const QString why = QString::fromUtf8(zip_error_strerror(&ze));
        zip_error_fini(&ze);
        return cannotRead(why);
    }
    const Package package(zip);
    try {
        return readFirstWorksheet(package);
    } catch (const Damaged &d) {
        return cannotRead(u"文件已损坏（%1）"_s.arg(d.why));
    }
}

} // namespace platform
