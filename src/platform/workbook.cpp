#include "workbook.h"

#include "filewrite.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cmath>
#include <vector>
#include <xlsxwriter.h>
#include <zip.h>

using namespace Qt::StringLiterals;

namespace platform {

// --- model

void Sheet::setText(int row, int column, const QString &text, const CellFormat &format)
{
    m_cells[{row, column}] = Cell{Cell::Kind::Text, text, 0, format};
}

void Sheet::setNumber(int row, int column, double value, const CellFormat &format)
{
    m_cells[{row, column}] = Cell{Cell::Kind::Number, QString(), value, format};
}

void Sheet::setDate(int row, int column, const QDate &date, const CellFormat &format)
{
    CellFormat f = format;
    if (f.numberFormat.isEmpty())
        f.numberFormat = u"yyyy-mm-dd"_s;
    // Serial numbers count days from 1899-12-30, which absorbs the spreadsheet's phantom 1900-02-29.
    setNumber(row, column, double(QDate(1899, 12, 30).daysTo(date)), f);
}

void Sheet::setFormat(int row, int column, const CellFormat &format)
{
    m_cells[{row, column}].format = format;
}

void Sheet::merge(int firstRow, int firstColumn, int lastRow, int lastColumn)
{
    m_merges.append(CellRange{firstRow, firstColumn, lastRow, lastColumn});
}

void Sheet::setColumnWidth(int column, double width)
{
    m_columnWidths[column] = width;
}

void Sheet::setRowHeight(int row, double height)
{
    m_rowHeights[row] = height;
}

Sheet &Workbook::addSheet(const QString &name)
{
    return m_sheets.emplace_back(name);
}

// --- writer

namespace {

constexpr int MaxRow = 1048575;
constexpr int MaxColumn = 16383;

bool rowInRange(int row) { return row >= 0 && row <= MaxRow; }
bool columnInRange(int column) { return column >= 0 && column <= MaxColumn; }

QString place(int row, int column)
{
    return u"第 %1 行第 %2 列"_s.arg(row + 1).arg(column + 1);
}

QString sheetNameProblem(lxw_error e)
{
    switch (e) {
    case LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED:
        return u"超过 31 个字符"_s;
    case LXW_ERROR_INVALID_SHEETNAME_CHARACTER:
        return u"含有 [ ] : * ? / \\ 之一"_s;
    case LXW_ERROR_SHEETNAME_START_END_APOSTROPHE:
        return u"以单引号开头或结尾"_s;
    case LXW_ERROR_SHEETNAME_ALREADY_USED:
        return u"与另一工作表重名"_s;
    default:
        return QString::fromUtf8(lxw_strerror(e));
    }
}

// Checks what the library would otherwise reject half-way or write into a damaged file.
QString sheetProblem(const Sheet &sheet, const QStringList &earlierNames)
{
    const QString where = u"工作表“%1”"_s.arg(sheet.name());
    if (sheet.name().isEmpty())
        return u"工作表名称为空"_s;
    for (const QString &n : earlierNames) {
        // The spreadsheet program tells sheet names apart regardless of case.
        if (n.compare(sheet.name(), Qt::CaseInsensitive) == 0)
            return where + u"与另一工作表重名"_s;
    }
    for (const auto &[key, cell] : sheet.cells()) {
        if (!rowInRange(key.first) || !columnInRange(key.second))
            return where + u"的%1超出工作表范围"_s.arg(place(key.first, key.second));
        if (cell.kind == Cell::Kind::Number && !std::isfinite(cell.number))
            return where + u"%1的数值不是有限数"_s.arg(place(key.first, key.second));
    }
    const QList<CellRange> &merges = sheet.merges();
    for (qsizetype i = 0; i < merges.size(); ++i) {
        const CellRange &m = merges[i];
        const QString range = u"%1至%2"_s.arg(place(m.firstRow, m.firstColumn), place(m.lastRow, m.lastColumn));
        if (!rowInRange(m.firstRow) || !rowInRange(m.lastRow) || !columnInRange(m.firstColumn)
            || !columnInRange(m.lastColumn) || m.firstRow > m.lastRow || m.firstColumn > m.lastColumn)
            return where + u"的合并区域（%1）无效"_s.arg(range);
        if (m.firstRow == m.lastRow && m.firstColumn == m.lastColumn)
            return where + u"的合并区域（%1）只有一个单元格"_s.arg(range);
        for (qsizetype j = 0; j < i; ++j) {
            if (merges[j].intersects(m))
                return where + u"的合并区域（%1）与另一合并区域重叠"_s.arg(range);
        }
    }
    for (const auto &[column, width] : sheet.columnWidths()) {
        if (!columnInRange(column) || !std::isfinite(width) || width < 0)
            return where + u"第 %1 列的列宽无效"_s.arg(column + 1);
    }
    for (const auto &[row, height] : sheet.rowHeights()) {
        if (!rowInRange(row) || !std::isfinite(height) || height < 0)
            return where + u"第 %1 行的行高无效"_s.arg(row + 1);
    }
    return QString();
}

// The library's formats live in the workbook; equal formats share one.
class FormatCache
{
public:
    explicit FormatCache(lxw_workbook *wb) : m_wb(wb) {}

    lxw_format *get(const CellFormat &f)
    {
        if (f == CellFormat{})
            return nullptr;
        for (const auto &[known, format] : m_formats) {
            if (known == f)
                return format;
        }
        lxw_format *format = workbook_add_format(m_wb);
        if (!f.fontName.isEmpty())
            format_set_font_name(format, f.fontName.toUtf8().constData());
        if (f.fontSize > 0)
            format_set_font_size(format, f.fontSize);
        if (f.bold)
            format_set_bold(format);
        switch (f.hAlign) {
        case HAlign::General: break;
        case HAlign::Left: format_set_align(format, LXW_ALIGN_LEFT); break;
        case HAlign::Center: format_set_align(format, LXW_ALIGN_CENTER); break;
        case HAlign::Right: format_set_align(format, LXW_ALIGN_RIGHT); break;
        }
        switch (f.vAlign) {
        case VAlign::Bottom: break;
        case VAlign::Center: format_set_align(format, LXW_ALIGN_VERTICAL_CENTER); break;
        case VAlign::Top: format_set_align(format, LXW_ALIGN_VERTICAL_TOP); break;
        }
        switch (f.border) {
        case BorderStyle::None: break;
        case BorderStyle::Thin: format_set_border(format, LXW_BORDER_THIN); break;
        case BorderStyle::Medium: format_set_border(format, LXW_BORDER_MEDIUM); break;
        case BorderStyle::Thick: format_set_border(format, LXW_BORDER_THICK); break;
        }
        if (f.wrapText)
            format_set_text_wrap(format);
        if (!f.numberFormat.isEmpty())
            format_set_num_format(format, f.numberFormat.toUtf8().constData());
        m_formats.emplace_back(f, format);
        return format;
    }

private:
    lxw_workbook *m_wb;
    std::vector<std::pair<CellFormat, lxw_format *>> m_formats;
};

// The file format reads _xHHHH_ in text as an escaped character; a text holding that pattern
// itself must escape its "_" (as _x005F_) to come back unchanged.
QByteArray textForFile(const QString &text)
{
    static const QRegularExpression escapeLike(u"_(?=x[0-9A-Fa-f]{4}_)"_s);
    if (!text.contains(u"_x"))
        return text.toUtf8();
    return QString(text).replace(escapeLike, u"_x005F_"_s).toUtf8();
}

lxw_error writeCell(lxw_worksheet *ws, int row, int column, const Cell &cell, lxw_format *format)
{
    const auto r = lxw_row_t(row);
    const auto c = lxw_col_t(column);
    switch (cell.kind) {
    case Cell::Kind::Number:
        return worksheet_write_number(ws, r, c, cell.number, format);
    case Cell::Kind::Text:
        if (!cell.text.isEmpty())
            return worksheet_write_string(ws, r, c, textForFile(cell.text).constData(), format);
        [[fallthrough]];
    case Cell::Kind::Empty:
        return format ? worksheet_write_blank(ws, r, c, format) : LXW_NO_ERROR;
    }
    return LXW_NO_ERROR;
}

QString writeSheet(lxw_worksheet *ws, const Sheet &sheet, FormatCache &formats)
{
    const QString where = u"工作表“%1”"_s.arg(sheet.name());
    const auto failed = [&](lxw_error e, const QString &what) {
        return where + what + u"："_s + QString::fromUtf8(lxw_strerror(e));
    };

    for (const auto &[column, width] : sheet.columnWidths()) {
        if (lxw_error e = worksheet_set_column(ws, lxw_col_t(column), lxw_col_t(column), width, nullptr))
            return failed(e, u"第 %1 列的列宽"_s.arg(column + 1));
    }
    for (const auto &[row, height] : sheet.rowHeights()) {
        if (lxw_error e = worksheet_set_row(ws, lxw_row_t(row), height, nullptr))
            return failed(e, u"第 %1 行的行高"_s.arg(row + 1));
    }

    for (const CellRange &m : sheet.merges()) {
        const auto it = sheet.cells().find({m.firstRow, m.firstColumn});
        const Cell topLeft = it != sheet.cells().end() ? it->second : Cell{};
        lxw_format *format = formats.get(topLeft.format);
        // The library merges with a text; a number then overwrites the top-left cell.
        const QByteArray text = topLeft.kind == Cell::Kind::Text ? textForFile(topLeft.text) : QByteArray();
        lxw_error e = worksheet_merge_range(ws, lxw_row_t(m.firstRow), lxw_col_t(m.firstColumn),
                                            lxw_row_t(m.lastRow), lxw_col_t(m.lastColumn), text.constData(),
                                            format);
        if (!e && topLeft.kind == Cell::Kind::Number)
            e = writeCell(ws, m.firstRow, m.firstColumn, topLeft, format);
        if (e)
            return failed(e, u"的合并区域（%1）"_s.arg(place(m.firstRow, m.firstColumn)));
    }

    for (const auto &[key, cell] : sheet.cells()) {
        const auto [row, column] = key;
        bool merged = false;
        for (const CellRange &m : sheet.merges()) {
            if (m.contains(row, column)) {
                merged = true;
                break;
            }
        }
        if (merged)
            continue;
        if (lxw_error e = writeCell(ws, row, column, cell, formats.get(cell.format)))
            return failed(e, place(row, column));
    }
    return QString();
}

// The library's last writes can fail unnoticed: the archive must open with its directory intact.
bool isWholeZip(const QByteArray &bytes)
{
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t *src = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &err);
    zip_t *z = src ? zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &err) : nullptr;
    zip_error_fini(&err);
    if (!z) {
        zip_source_free(src);
        return false;
    }
    const bool any = zip_get_num_entries(z, 0) > 0;
    zip_discard(z);
    return any;
}

} // namespace

bool writeXlsx(const Workbook &book, const QString &path, QString *error)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = u"无法写入工作簿 %1：%2"_s.arg(path, why);
        return false;
    };

    QStringList names;
    for (const Sheet &sheet : book.sheets()) {
        if (const QString problem = sheetProblem(sheet, names); !problem.isEmpty())
            return fail(problem);
        names.append(sheet.name());
    }

    // The library writes a file of its own; it replaces the file at path only once it is whole.
    QTemporaryFile temporary(QDir(temporaryFolder()).filePath(u"workbook-XXXXXX.xlsx"_s));
    if (!temporary.open())
        return fail(u"无法在临时文件夹 %1 中创建文件：%2"_s.arg(QDir::toNativeSeparators(temporaryFolder()),
                                                                 temporary.errorString()));
    temporary.close();
    lxw_workbook *wb = workbook_new(QFile::encodeName(temporary.fileName()).constData());
    if (!wb)
        return fail(u"内存不足"_s);
    FormatCache formats(wb);
    int index = 0;
    for (const Sheet &sheet : book.sheets()) {
        const QByteArray name = sheet.name().toUtf8();
        if (lxw_error e = workbook_validate_sheet_name(wb, name.constData())) {
            lxw_workbook_free(wb); // abandons the workbook without creating the file
            return fail(u"工作表名称“%1”%2"_s.arg(sheet.name(), sheetNameProblem(e)));
        }
        lxw_worksheet *ws = workbook_add_worksheet(wb, name.constData());
        if (!ws) {
            lxw_workbook_free(wb);
            return fail(u"无法添加工作表“%1”"_s.arg(sheet.name()));
        }
        if (const QString problem = writeSheet(ws, sheet, formats); !problem.isEmpty()) {
            lxw_workbook_free(wb);
            return fail(problem);
        }
        if (index++ == book.activeSheet())
            worksheet_activate(ws);
    }

    // Closing writes the file and frees the workbook, whatever the outcome.
    const lxw_error e = workbook_close(wb);
    if (e == LXW_ERROR_CREATING_XLSX_FILE)
        return fail(u"无法创建临时文件 %1"_s.arg(temporary.fileName()));
    if (e)
        return fail(QString::fromUtf8(lxw_strerror(e)));
    QFile written(temporary.fileName());
    if (!written.open(QIODevice::ReadOnly))
        return fail(written.errorString());
    const QByteArray bytes = written.readAll();
    if (written.error() != QFileDevice::NoError)
        return fail(written.errorString());
    if (!isWholeZip(bytes))
        return fail(u"写出的文件不完整（磁盘可能已满）"_s);
    return writeWholeFile(path, bytes, error);
}

// --- cell grid

QString CellGrid::text(int row, int column) const
{
    const auto it = m_cells.find({row, column});
    return it != m_cells.end() ? it->second : QString();
}

QStringList CellGrid::row(int row) const
{
    QStringList out;
    out.reserve(m_columns);
    for (int c = 0; c < m_columns; ++c)
        out.append(QString());
    for (auto it = m_cells.lower_bound({row, 0}); it != m_cells.end() && it->first.first == row; ++it)
        out[it->first.second] = it->second;
    return out;
}

void CellGrid::setText(int row, int column, const QString &text)
{
    if (row < 0 || column < 0)
        return;
    // Empty cells leave the used area as it is.
    if (text.isEmpty()) {
        m_cells.erase({row, column});
        return;
    }
    m_cells[{row, column}] = text;
    m_rowCount = std::max(m_rowCount, row + 1);
    m_columns = std::max(m_columns, column + 1);
}

void CellGrid::removeRowsFrom(int row)
{
    m_cells.erase(m_cells.lower_bound({row, 0}), m_cells.end());
    m_rowCount = m_cells.empty() ? 0 : m_cells.rbegin()->first.first + 1;
    m_columns = 0;
    for (const auto &[key, text] : m_cells)
        m_columns = std::max(m_columns, key.second + 1);
}

} // namespace platform
