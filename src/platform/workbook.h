#pragma once
// Spreadsheet workbooks (.xlsx): a small value model that every export fills and writeXlsx()
// saves, and a reader that gives the first worksheet's cells as text for the imports.
//
// Rows and columns are 0-based everywhere in this header (row 0, column 0 is cell A1).
// Failures come back as false / nullopt with a one-line text in *error (when error is not null);
// the text names the file or cell and the cause, and may be shown to the user as it is.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <map>
#include <optional>
#include <utility>

namespace platform {

enum class HAlign { General, Left, Center, Right };
enum class VAlign { Bottom, Center, Top };
enum class BorderStyle { None, Thin, Medium, Thick };

// How one cell looks. The default value is the spreadsheet program's own default look.
struct CellFormat
{
    QString fontName;     // empty: the program's default font
    double fontSize = 0;  // in points; 0: the default size
    bool bold = false;
    HAlign hAlign = HAlign::General; // General: text left, numbers right
    VAlign vAlign = VAlign::Bottom;
    BorderStyle border = BorderStyle::None; // on all four sides
    bool wrapText = false;
    QString numberFormat; // the spreadsheet's number format code ("yyyy-mm-dd"); empty: General

    bool operator==(const CellFormat &) const = default;
};

struct Cell
{
    enum class Kind { Empty, Text, Number };
    Kind kind = Kind::Empty; // an Empty cell is written only to carry its format (a bordered blank)
    QString text;
    double number = 0;
    CellFormat format;
};

struct CellRange
{
    int firstRow = 0;
    int firstColumn = 0;
    int lastRow = 0;
    int lastColumn = 0;

    bool contains(int row, int column) const
    {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    bool intersects(const CellRange &o) const
    {
        return firstRow <= o.lastRow && o.firstRow <= lastRow && firstColumn <= o.lastColumn
            && o.firstColumn <= lastColumn;
    }
};

class Sheet
{
public:
    explicit Sheet(const QString &name) : m_name(name) {}

    // Excel's rules apply: at most 31 characters, none of []:*?/\, unique in the workbook
    // regardless of case. writeXlsx() reports a name that breaks them.
    QString name() const { return m_name; }

    // Setting a cell again replaces its value and format.
    void setText(int row, int column, const QString &text, const CellFormat &format = {});
    void setNumber(int row, int column, double value, const CellFormat &format = {});
    // A date cell: the date's serial number, shown through the format's number format (the ISO
    // form when it gives none).
    void setDate(int row, int column, const QDate &date, const CellFormat &format = {});
    // Formats a cell without changing its value (an empty cell stays empty).
    void setFormat(int row, int column, const CellFormat &format);

    // The range shows the value of its top-left cell; every cell of the range is drawn with the
    // top-left cell's format (so borders run round the whole range) and values set in the other
    // cells are not written. Ranges must cover at least two cells and must not overlap.
    void merge(int firstRow, int firstColumn, int lastRow, int lastColumn);

    // Width in characters of the default font, as in the spreadsheet program's column dialog.
    void setColumnWidth(int column, double width);
    // Height in points.
    void setRowHeight(int row, double height);

    const std::map<std::pair<int, int>, Cell> &cells() const { return m_cells; }
    const QList<CellRange> &merges() const { return m_merges; }
    const std::map<int, double> &columnWidths() const { return m_columnWidths; }
    const std::map<int, double> &rowHeights() const { return m_rowHeights; }

private:
    QString m_name;
    std::map<std::pair<int, int>, Cell> m_cells; // by (row, column)
    QList<CellRange> m_merges;
    std::map<int, double> m_columnWidths;
    std::map<int, double> m_rowHeights;
};

class Workbook
{
public:
    // The returned reference stays valid while the workbook lives (later sheets do not move it).
    Sheet &addSheet(const QString &name);
    const std::deque<Sheet> &sheets() const { return m_sheets; }
    // The sheet shown when the workbook opens (0-based; the first by default).
    void setActiveSheet(int index) { m_active = index; }
    int activeSheet() const { return m_active; }

private:
    std::deque<Sheet> m_sheets;
    int m_active = 0;
};

// Writes the workbook as an .xlsx file, replacing the file at path. Sheets come in the order they
// were added; a workbook without sheets gets one empty sheet. Nothing is written when the
// workbook breaks a rule (sheet names, merges, a row or column out of range, a number that is not
// finite), and a failed write (a full disk) leaves the file at path as it was.
bool writeXlsx(const Workbook &book, const QString &path, QString *error = nullptr);

// The cells of a worksheet as text, 0-based; empty cells and cells outside the used area are "".
class CellGrid
{
public:
    // Up to and including the last row / column that holds a non-empty cell.
    int rowCount() const { return m_rowCount; }
    int columnCount() const { return m_columns; }
    QString text(int row, int column) const;
    // One row, padded with "" to columnCount().
    QStringList row(int row) const;
    void setText(int row, int column, const QString &text);
    // Drops the rows from `row` on.
    void removeRowsFrom(int row);
    // The name of the worksheet the cells came from ("" for a grid made in code).
    QString sheetName() const { return m_sheetName; }
    void setSheetName(const QString &name) { m_sheetName = name; }

private:
    // Only the cells present: a sheet with one cell far to the right or far down stays small.
    std::map<std::pair<int, int>, QString> m_cells; // by (row, column)
    int m_rowCount = 0;
    int m_columns = 0;
    QString m_sheetName;
};

// What a reading keeps of the first sheet; the rest is passed over unread.
struct SheetArea
{
    int columns = 16384;              // columns A.. kept
    bool toFirstEmptyColumnA = false; // only the rows above the first row whose column A is empty
};

// What one workbook may unpack to and hold while it is read; a larger one is refused as too large.
inline constexpr qint64 kWorkbookMaxUnpackedMB = 64; // every part read, decompressed, together
inline constexpr qint64 kWorkbookMaxHeldMB = 64;      // the cells kept, with the strings they use

// The first worksheet (in the workbook's tab order) of an .xlsx file, read as a stream: only the
// cells of `area` are kept. Each cell gives the text stored for it, not the text the spreadsheet
// program displays:
// - text cells (shared strings, inline strings, formula text results) give their text exactly,
//   blanks and line breaks kept, rich-text runs joined and phonetic guides left out;
// - number cells give the number as written in the file ("6000", "0.85", "1E-05"); number
//   formats are not applied, so a date gives its serial number;
// - a formula cell gives its last computed value; a kept formula cell without one (as programs
//   that do not compute write them) refuses the file, naming the cell;
// - truth values give "TRUE" or "FALSE", error values their code ("#DIV/0!").
// Other files are refused with what they are: an old binary workbook (.xls), an OpenDocument
// spreadsheet (.ods), a binary workbook (.xlsb), another document or zip file. A workbook beyond
// the bounds above is refused as too large.
std::optional<CellGrid> readFirstSheet(const QString &path, QString *error = nullptr, const SheetArea &area = {});

} // namespace platform
