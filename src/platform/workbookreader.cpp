// Reads the first worksheet of an .xlsx file: the package is a zip of XML parts; the workbook part
// lists the sheets in tab order and its relationships name the part that holds each sheet.
//
// The sheet is read as a stream, only as far as the caller's area reaches, and of the shared
// strings only those its kept cells use; the package (xlsxpackage.h) bounds the rest.
#include "workbook.h"
#include "xlsxpackage.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace platform {

namespace {

constexpr int MaxRow = 1048575;
constexpr int MaxColumn = 16383;

using namespace xlsx;

// Sound, but not to be read as it stands.
struct Unreadable
{
    QString why;
};
// A sound file of another kind.
struct OtherKind
{
    QString kind;
    bool spreadsheet = false; // a spreadsheet program can save it as .xlsx
};

// Office documents that are no workbook, told by the content type of their main part.
void refuseOtherDocuments(Package &package, const QString &mainPart)
{
    const QString type = contentType(package, mainPart);
    if (type.contains(u"sheet.binary"))
        throw OtherKind{u"二进制工作簿（.xlsb）"_s, true};
    if (type.contains(u"wordprocessingml"))
        throw OtherKind{u"Word 文档（.docx）"_s, false};
    if (type.contains(u"presentationml"))
        throw OtherKind{u"演示文稿（.pptx）"_s, false};
}

// A zip without the package relationships: an OpenDocument file names itself in its first entry;
// a package with content types is a damaged workbook; anything else is some other zip file.
void refuseOtherZips(Package &package)
{
    if (package.has(u"mimetype"_s)) {
        zip_file_t *file = package.open(u"mimetype"_s);
        char buffer[128];
        const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        zip_fclose(file);
        const QByteArray type(buffer, n > 0 ? qsizetype(n) : 0);
        if (type.trimmed() == "application/vnd.oasis.opendocument.spreadsheet")
            throw OtherKind{u"OpenDocument 电子表格（.ods）"_s, true};
        if (type.startsWith("application/vnd.oasis.opendocument."))
            throw OtherKind{u"OpenDocument 文档"_s, false};
    }
    if (!package.has(u"[Content_Types].xml"_s))
        throw OtherKind{u"zip 压缩文件"_s, false};
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

// Collects the text of a string item (<si> or <is>) from its tokens: its text runs joined,
// phonetic guides left out.
class StringItem
{
public:
    // Fed every token inside the item, with the item's own depth.
    void take(const PartReader &r, QXmlStreamReader::TokenType token, int itemDepth, const Budget &budget)
    {
        const QXmlStreamReader &x = r.xml();
        if (token == QXmlStreamReader::StartElement) {
            if (!m_guide && (x.name() == u"rPh" || x.name() == u"phoneticPr"))
                m_guide = r.depth();
            else if (!m_guide && !m_run && x.name() == u"t" && r.depth() > itemDepth)
                m_run = r.depth();
        } else if (token == QXmlStreamReader::EndElement) {
            if (r.depth() == m_guide)
                m_guide = 0;
            if (r.depth() == m_run)
                m_run = 0;
        } else if (token == QXmlStreamReader::Characters && m_run) {
            m_text += x.text();
            budget.check(m_text);
        }
    }
    QString text() const { return decodeEscapes(m_text); }

private:
    QString m_text;
    int m_guide = 0; // depth of the phonetic element being passed over
    int m_run = 0;   // depth of the <t> being read
};

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

QString columnName(int column)
{
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters;
}

QString cellName(int row, int column)
{
    return columnName(column) + QString::number(row + 1);
}

struct SharedRef
{
    int row;
    int column;
    quint32 index;
};

// What the sheet pass leaves for the shared strings and the checks after them.
struct SheetCells
{
    CellGrid grid;
    std::vector<SharedRef> shared;                     // kept cells that take a shared string
    std::optional<std::pair<int, int>> withoutResult; // the first kept formula cell with no value
};

// One <c> of the sheet, as its tokens come.
struct CellReading
{
    int depth = 0; // of the <c>; 0 outside a cell
    int row = 0;
    int column = 0;
    bool kept = false;
    QString type;
    bool formula = false;
    int valueDepth = 0; // of the <v> being read
    bool hasValue = false;
    QString value;
    int itemDepth = 0; // of the <is> being read
    std::optional<StringItem> item;
};

class SheetReader
{
public:
    SheetReader(Package &package, const QString &part, const SheetArea &area)
        : m_package(package), m_reader(package, part), m_area(area)
    {
    }

    SheetCells read()
    {
        for (;;) {
            const QXmlStreamReader::TokenType token = m_reader.next();
            if (token == QXmlStreamReader::EndDocument)
                break;
            if (m_cell.depth) {
                cellToken(token);
                continue;
            }
            if (token == QXmlStreamReader::StartElement) {
                const QStringView name = m_reader.xml().name();
                if (!m_sheetData) {
                    // Rows and cells elsewhere (extensions) are not the sheet's.
                    if (name == u"sheetData")
                        m_sheetData = m_reader.depth();
                } else if (name == u"row") {
                    if (!startRow())
                        break;
                } else if (name == u"c") {
                    startCell();
                }
            } else if (token == QXmlStreamReader::EndElement && m_sheetData) {
                if (m_reader.depth() == m_sheetData) {
                    m_sheetData = 0;
                } else if (m_reader.xml().name() == u"row" && m_area.toFirstEmptyColumnA) {
                    // The first row whose column A is surely empty ends what the caller reads.
                    if (!m_columnAFilled)
                        break;
                    m_nextRow = m_row + 1;
                }
            }
        }
        return std::move(m_out);
    }

private:
    // False when the reading ends before this row.
    bool startRow()
    {
        const QString r = m_reader.xml().attributes().value(u"r"_s).toString();
        if (r.isEmpty()) {
            ++m_row;
        } else {
            bool ok = false;
            m_row = r.toInt(&ok) - 1;
            if (!ok || m_row < 0)
                throw Damaged{u"%1 的行号“%2”无效"_s.arg(m_reader.part(), r)};
        }
        if (m_row > MaxRow)
            throw Damaged{u"%1 的行数超出工作表范围"_s.arg(m_reader.part())};
        m_column = -1;
        m_columnAFilled = false;
        // A row left out has an empty column A.
        return !m_area.toFirstEmptyColumnA || m_row == m_nextRow;
    }

    void startCell()
    {
        // Row and cell references may be left out; they then follow the previous ones.
        const QXmlStreamAttributes attributes = m_reader.xml().attributes();
        const QStringView ref = attributes.value(u"r"_s);
        if (ref.isEmpty()) {
            m_row = std::max(m_row, 0);
            if (++m_column > MaxColumn)
                throw Damaged{u"%1 的列数超出工作表范围"_s.arg(m_reader.part())};
        } else if (!parseReference(ref, &m_row, &m_column)) {
            throw Damaged{u"%1 的单元格引用“%2”无效"_s.arg(m_reader.part(), ref.toString())};
        }
        m_cell = CellReading();
        m_cell.depth = m_reader.depth();
        m_cell.row = m_row;
        m_cell.column = m_column;
        m_cell.kept = m_column < m_area.columns;
        m_cell.type = attributes.value(u"t"_s).toString();
    }

    void cellToken(QXmlStreamReader::TokenType token)
    {
        const int depth = m_reader.depth();
        if (token == QXmlStreamReader::EndElement && depth == m_cell.depth) {
            if (m_cell.kept)
                endCell();
            m_cell = CellReading();
            return;
        }
        if (!m_cell.kept)
            return;
        const QXmlStreamReader &x = m_reader.xml();
        if (m_cell.itemDepth) {
            if (token == QXmlStreamReader::EndElement && depth == m_cell.itemDepth)
                m_cell.itemDepth = 0;
            else
                m_cell.item->take(m_reader, token, m_cell.itemDepth, m_package.budget);
            return;
        }
        if (token == QXmlStreamReader::StartElement && depth == m_cell.depth + 1) {
            if (x.name() == u"v") {
                m_cell.valueDepth = depth;
                m_cell.hasValue = true;
                m_cell.value.clear();
            } else if (x.name() == u"f") {
                m_cell.formula = true;
            } else if (x.name() == u"is") {
                m_cell.itemDepth = depth;
                m_cell.item.emplace();
            }
        } else if (token == QXmlStreamReader::EndElement && depth == m_cell.valueDepth) {
            m_cell.valueDepth = 0;
        } else if (token == QXmlStreamReader::Characters && m_cell.valueDepth) {
            m_cell.value += x.text();
            m_package.budget.check(m_cell.value);
        }
    }

    void endCell()
    {
        const CellReading &c = m_cell;
        const bool columnA = c.column == 0 && c.row == m_row;
        if (c.type == u"s") {
            if (!c.hasValue)
                return;
            bool ok = false;
            const uint index = c.value.trimmed().toUInt(&ok);
            if (!ok)
                throw Damaged{u"单元格 %1 的共享字符串编号 %2 无效"_s.arg(cellName(c.row, c.column), c.value)};
            m_package.budget.charge(sizeof(SharedRef));
            m_out.shared.push_back({c.row, c.column, quint32(index)});
            m_columnAFilled = m_columnAFilled || columnA; // the string may still be empty
            return;
        }
        // Programs that do not compute write a formula with an empty value; a formula whose
        // result is an empty text says so by its type.
        if (c.formula && c.value.isEmpty() && c.type != u"str" && c.type != u"inlineStr") {
            if (!m_out.withoutResult)
                m_out.withoutResult = {c.row, c.column};
            m_columnAFilled = m_columnAFilled || columnA;
            return;
        }
        QString text = c.value;
        if (c.type == u"inlineStr")
            text = c.item ? c.item->text() : decodeEscapes(c.value);
        else if (c.type == u"str")
            text = decodeEscapes(c.value);
        else if (c.type == u"b" && c.value.trimmed() == u"1")
            text = u"TRUE"_s;
        else if (c.type == u"b" && c.value.trimmed() == u"0")
            text = u"FALSE"_s;
        // Anything else as written: numbers, error codes, ISO dates.
        if (text.isEmpty())
            return;
        m_package.budget.charge(64 + Budget::textCost(text));
        m_out.grid.setText(c.row, c.column, text);
        m_columnAFilled = m_columnAFilled || columnA;
    }

    Package &m_package;
    PartReader m_reader;
    SheetArea m_area;
    SheetCells m_out;
    int m_sheetData = 0; // depth of <sheetData> while inside it
    int m_row = -1;
    int m_column = -1;
    int m_nextRow = 0;
    bool m_columnAFilled = false;
    CellReading m_cell;
};

// Puts the shared strings that the kept cells use in their place; the others are passed over.
void resolveSharedStrings(Package &package, const QString &part, SheetCells &cells)
{
    std::vector<quint32> needed;
    needed.reserve(cells.shared.size());
    for (const SharedRef &s : cells.shared)
        needed.push_back(s.index);
    std::sort(needed.begin(), needed.end());
    needed.erase(std::unique(needed.begin(), needed.end()), needed.end());
    std::vector<QString> texts(needed.size());

    size_t found = 0;
    if (!part.isEmpty()) {
        PartReader r(package, part);
        quint32 index = 0;
        int itemDepth = 0;
        std::optional<StringItem> item;
        while (found < needed.size()) {
            const QXmlStreamReader::TokenType token = r.next();
            if (token == QXmlStreamReader::EndDocument)
                break;
            if (!itemDepth) {
                if (token == QXmlStreamReader::StartElement && r.depth() == 2 && r.xml().name() == u"si") {
                    itemDepth = r.depth();
                    if (needed[found] == index)
                        item.emplace();
                }
                continue;
            }
            if (token == QXmlStreamReader::EndElement && r.depth() == itemDepth) {
                if (item) {
                    texts[found] = item->text();
                    package.budget.charge(Budget::textCost(texts[found]));
                    ++found;
                    item.reset();
                }
                itemDepth = 0;
                ++index;
            } else if (item) {
                item->take(r, token, itemDepth, package.budget);
            }
        }
    }
    for (const SharedRef &s : cells.shared) {
        const auto at = std::lower_bound(needed.begin(), needed.end(), s.index) - needed.begin();
        if (size_t(at) >= found)
            throw Damaged{u"单元格 %1 的共享字符串编号 %2 无效"_s.arg(cellName(s.row, s.column)).arg(s.index)};
        cells.grid.setText(s.row, s.column, texts[size_t(at)]);
    }
}

// Resolves the workbook's first sheet that is a worksheet (not a chart sheet) and reads it.
CellGrid readFirstWorksheet(Package &package, const SheetArea &area)
{
    const QString packageRelationships = relationshipsPart(QString());
    if (!package.has(packageRelationships))
        refuseOtherZips(package);
    QString workbookPart;
    for (const Relationship &r : readRelationships(package, QString())) {
        if (hasType(r, u"officeDocument")) {
            workbookPart = r.target;
            break;
        }
    }
    if (workbookPart.isEmpty())
        throw Damaged{u"找不到工作簿部分"_s};
    refuseOtherDocuments(package, workbookPart);

    const QHash<QString, Relationship> rels = readRelationships(package, workbookPart);
    QString sheetPart;
    QString sheetName;
    {
        PartReader r(package, workbookPart);
        while (sheetPart.isEmpty() && r.next() != QXmlStreamReader::EndDocument) {
            if (r.xml().tokenType() != QXmlStreamReader::StartElement || r.xml().name() != u"sheet")
                continue;
            // The relationship id is the namespaced "id" attribute (r:id).
            for (const QXmlStreamAttribute &a : r.xml().attributes()) {
                if (a.name() == u"id" && !a.namespaceUri().isEmpty()) {
                    const auto it = rels.constFind(a.value().toString());
                    if (it != rels.cend() && hasType(*it, u"worksheet")) {
                        sheetPart = it->target;
                        sheetName = r.xml().attributes().value(u"name"_s).toString();
                    }
                }
            }
        }
    }
    if (sheetPart.isEmpty())
        throw Damaged{u"工作簿中没有工作表"_s};

    SheetCells cells = SheetReader(package, sheetPart, area).read();
    if (!cells.shared.empty()) {
        QString sharedStrings;
        for (const Relationship &r : rels) {
            if (hasType(r, u"sharedStrings")) {
                sharedStrings = r.target;
                break;
            }
        }
        resolveSharedStrings(package, sharedStrings, cells);
    }

    int end = MaxRow + 1;
    if (area.toFirstEmptyColumnA) {
        // A shared string in column A may have been empty after all.
        end = 0;
        while (end < cells.grid.rowCount() && !cells.grid.text(end, 0).isEmpty())
            ++end;
        cells.grid.removeRowsFrom(end);
    }
    if (cells.withoutResult && cells.withoutResult->first < end) {
        const auto [row, column] = *cells.withoutResult;
        throw Unreadable{u"%1 单元格（第%2行%3列）是公式，文件中没有保存它的计算结果。请先用电子表格程序打开并保存此工作簿，再读取"_s
                           .arg(cellName(row, column))
                           .arg(row + 1)
                           .arg(columnName(column))};
    }
    cells.grid.setSheetName(sheetName);
    return std::move(cells.grid);
}

} // namespace

std::optional<CellGrid> readFirstSheet(const QString &path, QString *error, const SheetArea &area)
{
    const auto fail = [&](const QString &why) -> std::optional<CellGrid> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const auto otherKind = [&](const OtherKind &k) {
        // A blank between Chinese and a Latin word, as in the other texts.
        const QString kind = k.kind.front().unicode() < 128 ? u' ' + k.kind : k.kind;
        if (k.spreadsheet)
            return fail(u"只能读取 .xlsx 工作簿：%1 是%2，请用电子表格程序另存为 .xlsx 后再读取"_s.arg(path, kind));
        return fail(u"无法读取工作簿 %1：这是%2，不是工作簿，请选择 .xlsx 工作簿"_s.arg(path, kind));
    };
    const OtherKind oldBinary{u"旧式的 .xls 文件"_s, true};
    const auto cannotRead = [&](const QString &why) { return fail(u"无法读取工作簿 %1：%2"_s.arg(path, why)); };

    if (path.endsWith(u".xls"_s, Qt::CaseInsensitive))
        return otherKind(oldBinary);
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
        return otherKind(oldBinary);
    try {
        checkZipDirectory(file);
    } catch (const TooLarge &t) {
        return cannotRead(u"工作簿过大，%1"_s.arg(t.why));
    }
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
    Package package(zip);
    try {
        return readFirstWorksheet(package, area);
    } catch (const Damaged &d) {
        return cannotRead(u"文件已损坏（%1）"_s.arg(d.why));
    } catch (const TooLarge &t) {
        return cannotRead(u"工作簿过大，%1"_s.arg(t.why));
    } catch (const Unreadable &u) {
        return cannotRead(u.why);
    } catch (const OtherKind &k) {
        return otherKind(k);
    }
}

} // namespace platform
