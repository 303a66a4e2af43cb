#pragma once
// The five export tables of the statistics and their two targets: a workbook with a titled, framed
// table, or a tab-separated text file in GB18030 (GBK's bytes for every character GBK has, and the
// others kept).
#include "statstypes.h"

#include "platform/workbook.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace stats {

enum class ExportTable { MaterialList, MaterialCost, MaterialByLength, AreaList, Settlement };

struct ExportSpec
{
    QString title;
    ExportQuery query;
    QStringList headers;
    int columns = 0;
};

const ExportSpec &exportSpec(ExportTable table);

// A field as the exports write it: null as "", numbers in the general form.
QString exportFieldText(const QVariant &value);

// Title merged over the columns in row 1, headers in row 2, data from row 3; header and data
// framed. Numbers, and texts that are plain numbers (lengths as 规格), are number cells. The sheet is named after the title.
platform::Workbook exportWorkbook(const ExportSpec &spec, const QList<QVariantList> &rows);
// Title line, then the header line and one line per row, every field followed by a tab; CR LF.
QByteArray exportText(const ExportSpec &spec, const QList<QVariantList> &rows);
// Writes exportText to the file, replacing it; false with *error when it cannot be written.
bool writeExportText(const QString &path, const ExportSpec &spec, const QList<QVariantList> &rows, QString *error);

} // namespace stats
