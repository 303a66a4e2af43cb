#include "statsexport.h"

#include "numbers.h"

#include "app/maindb.h"
#include "platform/ansicodes.h"
#include "platform/numtext.h"

#include "platform/filewrite.h"

using namespace Qt::StringLiterals;

namespace stats {

const ExportSpec &exportSpec(ExportTable table)
{
    static const QStringList listHeaders = {u"编号"_s, u"名称"_s, u"规格"_s, u"数量"_s, u"单位"_s};
    static const QStringList areaHeaders = {u"名称"_s, u"规格"_s, u"宽度"_s, u"高度"_s,
                                            u"数量"_s, u"平方数"_s, u"单价"_s, u"金额"_s};
    static const ExportSpec specs[] = {
        {u"材料统计表"_s, ExportQuery::PricedList, listHeaders, 5},
        {u"材料造价表"_s, ExportQuery::PricedListWithPrices,
         {u"编号"_s, u"名称"_s, u"规格"_s, u"数量"_s, u"单价"_s, u"单位"_s, u"金额"_s}, 7},
        {u"材料统计表"_s, ExportQuery::PricedList, listHeaders, 5},
        {u"工程面积统计表"_s, ExportQuery::Settlement, areaHeaders, 6},
        {u"工程决算表"_s, ExportQuery::Settlement, areaHeaders, 8},
    };
    return specs[int(table)];
}

QString exportFieldText(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return generalText(value.toDouble());
    return app::fieldText(value);
}

platform::Workbook exportWorkbook(const ExportSpec &spec, const QList<QVariantList> &rows)
{
    platform::Workbook book;
    platform::Sheet &sheet = book.addSheet(spec.title);
    const int n = spec.columns;
    platform::CellFormat titleFormat;
    titleFormat.hAlign = platform::HAlign::Center;
    titleFormat.vAlign = platform::VAlign::Center;
    sheet.setText(0, 0, spec.title, titleFormat);
    if (n > 1)
        sheet.merge(0, 0, 0, n - 1);
    platform::CellFormat framed;
    framed.border = platform::BorderStyle::Thin;
    for (int c = 0; c < n; ++c)
        sheet.setText(1, c, spec.headers.value(c), framed);
    int r = 2;
    for (const QVariantList &row : rows) {
        for (int c = 0; c < n; ++c) {
            const QVariant v = row.value(c);
            const bool isNumber = v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float
                || v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong;
            if (v.isNull())
                sheet.setFormat(r, c, framed);
            else if (isNumber)
                sheet.setNumber(r, c, clean(v.toDouble()), framed);
            else if (platform::isPlainNumber(v.toString())) // as the spreadsheet stores a typed number
                sheet.setNumber(r, c, platform::val(v.toString()), framed);
            else
                sheet.setText(r, c, v.toString(), framed);
        }
        ++r;
    }
    return book;
}

QByteArray exportText(const ExportSpec &spec, const QList<QVariantList> &rows)
{
    QString text = spec.title + u"\r\n"_s;
    for (int c = 0; c < spec.columns; ++c)
        text += spec.headers.value(c) + u'\t';
    text += u"\r\n"_s;
    for (const QVariantList &row : rows) {
        for (int c = 0; c < spec.columns; ++c)
            text += exportFieldText(row.value(c)) + u'\t';
        text += u"\r\n"_s;
    }
    return platform::toGb18030(text);
}

bool writeExportText(const QString &path, const ExportSpec &spec, const QList<QVariantList> &rows, QString *error)
{
    return platform::writeWholeFile(path, exportText(spec, rows), error);
}

} // namespace stats
