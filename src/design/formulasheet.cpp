#include "formulasheet.h"

#include "platform/numtext.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace design {

namespace {
platform::CellFormat bold()
{
    platform::CellFormat f;
    f.bold = true;
    return f;
}

// Columns the database keeps as numbers go out as numbers, so that the spreadsheet program
// treats them as such; everything else as text, exactly as stored.
void putValue(platform::Sheet &sheet, int row, int column, const QString &text, bool number,
              const platform::CellFormat &format = {})
{
    if (text.isEmpty()) {
        if (format != platform::CellFormat{})
            sheet.setFormat(row, column, format);
        return;
    }
    if (number && platform::isNumeric(text))
        sheet.setNumber(row, column, platform::val(text), format);
    else
        sheet.setText(row, column, text, format);
}
} // namespace

const QStringList &formulaHeader(BillKind kind)
{
    static const std::array<QStringList, kBillKindCount> headers = {{
        {u"型材名称"_s, u"型材规格"_s, u"数量"_s, u"计算公式"_s},
        {u"型钢名称"_s, u"型钢规格"_s, u"数量"_s, u"计算公式"_s},
        {u"板材名称"_s, u"数量"_s, u"长公式"_s, u"宽公式"_s},
        {u"配件名称"_s, u"配件规格"_s, u"数量"_s, u"单位"_s},
    }};
    return headers[size_t(kind)];
}

platform::Workbook formulaWorkbook(const QList<TypeWithBill> &types)
{
    platform::Workbook book;
    platform::Sheet &sheet = book.addSheet(u"Sheet1"_s);
    sheet.setColumnWidth(0, 32);
    sheet.setColumnWidth(1, 16);
    sheet.setColumnWidth(2, 12);
    sheet.setColumnWidth(3, 32);
    int row = 0;
    for (const TypeWithBill &t : types) {
        sheet.setText(row, 0, kFormulaTypePrefix + t.type.name, bold());
        putValue(sheet, row, 1, t.type.drawingNumber, true, bold());
        ++row;
        for (BillKind kind : allBillKinds()) {
            const QList<BillRow> &rows = t.bill.of(kind);
            if (rows.isEmpty())
                continue;
            const QStringList &header = formulaHeader(kind);
            for (int c = 0; c < 4; ++c)
                sheet.setText(row, c, header[c], bold());
            ++row;
            const int countColumn = billTableInfo(kind).countColumn;
            for (const BillRow &r : rows) {
                for (int c = 0; c < 4; ++c)
                    putValue(sheet, row, c, r[size_t(c)], c == countColumn);
                ++row;
            }
        }
    }
    return book;
}

FormulaRowClass classifyFormulaRow(const QString &columnA)
{
    const QString head = columnA.left(4);
    if (head == u"门窗名称")
        return {FormulaRowKind::Type, BillKind::Profile};
    for (BillKind kind : allBillKinds())
        if (head == formulaHeader(kind).first())
            return {FormulaRowKind::Header, kind};
    return {FormulaRowKind::Bill, BillKind::Profile};
}

FormulaSheet readFormulaSheet(const platform::CellGrid &grid)
{
    FormulaSheet sheet;
    // The table that bill rows join; none after a type row until a header.
    int table = -1;
    for (int row = 0; row < grid.rowCount(); ++row) {
        const QString a = grid.text(row, 0);
        if (a.isEmpty())
            break;
        ++sheet.rowsRead;
        const int sourceRow = row + 1;
        const FormulaRowClass what = classifyFormulaRow(a);
        switch (what.kind) {
        case FormulaRowKind::Type: {
            ImportedType t;
            t.sourceRow = sourceRow;
            t.name = a.mid(5);
            if (t.name.isEmpty())
                t.name = u"-"_s;
            QString drawing = grid.text(row, 1);
            if (drawing.isEmpty())
                drawing = u"0"_s;
            const std::optional<qint64> number =
                platform::isNumeric(drawing)
                    ? platform::roundHalfEven(platform::val(drawing), std::numeric_limits<qint32>::min(),
                                              std::numeric_limits<qint32>::max())
                    : std::nullopt;
            if (!number && !sheet.problem)
                sheet.problem = ImportFailure{sourceRow, u"图号“%1”不是整数"_s.arg(drawing)};
            t.drawingNumber = number.value_or(0);
            sheet.types << t;
            table = -1;
            break;
        }
        case FormulaRowKind::Header:
            table = int(what.table);
            break;
        case FormulaRowKind::Bill:
            if (table < 0 || sheet.types.isEmpty()) {
                ++sheet.rowsIgnored;
                break;
            }
            ImportedType &t = sheet.types.last();
            t.bill.rows[size_t(table)] << BillRow{a, grid.text(row, 1), grid.text(row, 2), grid.text(row, 3)};
            t.sourceRows[size_t(table)] << sourceRow;
            break;
        }
    }
    return sheet;
}

} // namespace design
