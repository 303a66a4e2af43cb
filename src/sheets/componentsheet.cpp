#include "componentsheet.h"

#include "app/generalsettings.h"
#include "app/maindb.h"
#include "app/shared.h"
#include "design/formula.h"
#include "design/formulabook.h"
#include "design/typestore.h"
#include "drawing/store.h"
#include "platform/chinese.h"
#include "platform/database.h"
#include "platform/numtext.h"
#include "platform/settings.h"
#include "project/projectstore.h"

#include <QHash>
#include <bit>
#include <cmath>

using namespace Qt::StringLiterals;

namespace sheets {

namespace {

constexpr double kAreaW = 9495.0;
constexpr double kAreaH = 7935.0;

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// A record number as the list shows it; 0 when the text is no number.
qint64 keyOf(const QString &text)
{
    return platform::roundHalfEven(platform::val(text), -(1LL << 53), 1LL << 53).value_or(0);
}

// A number the library can look up; a missing drawing is drawn as an empty one rather than
// taking the sheet's values and rows down with it.
QString libraryNumber(const QString &number)
{
    return drawing::wholeNumber(number) ? number.trimmed() : u"0"_s;
}

} // namespace

QString numberText(double value, int digits)
{
    // statement() without its sign blank, built in place: no zero before the point.
    QString g = platform::general(value, digits);
    const qsizetype at = g.startsWith(u'-') ? 1 : 0;
    if (QStringView(g).sliced(at).startsWith(u"0."))
        g.remove(at, 1);
    return g;
}

QString sheetNumberText(int position)
{
    return platform::wholeText(position).rightJustified(3, u'0');
}

QString paperDateText(const QDate &date)
{
    return u" %1年 %2月 %3日"_s.arg(date.year()).arg(date.month()).arg(date.day());
}

QString contractThreeDigits(const QString &text)
{
    if (!platform::isNumeric(text))
        return text;
    const double v = platform::val(text);
    if (!std::isfinite(v) || std::fabs(v) >= 1e15)
        return text;
    const qint64 whole = qint64(std::llround(v));
    const QString digits = QString::number(whole < 0 ? -whole : whole).rightJustified(3, u'0');
    return whole < 0 ? u"-"_s + digits : digits;
}

QPointF mapLabel(double px, double py, SheetOutput output)
{
    // Rounded to single through variables: float casts written inside the braces were compiled away.
    const bool paper = output == SheetOutput::Paper;
    const float x = float(px * (paper ? 5500.0 : 5000.0) / kAreaW);
    const float y = float(paper ? py * 3917.0 / kAreaH + 1000.0 : py * 4417.0 / kAreaH + 500.0);
    return QPointF(x, y);
}

const std::array<SheetSection, 4> &sheetSections()
{
    static const std::array<SheetSection, 4> s = {SheetSection::Profiles, SheetSection::Steel,
                                                  SheetSection::Fittings, SheetSection::Panels};
    return s;
}

QStringList sectionTitleRow(SheetSection section)
{
    switch (section) {
    case SheetSection::Profiles:
        return {u"序号"_s, u"型材名称"_s, u"型材代号"_s, u"型材长度"_s, u"数量"_s};
    case SheetSection::Steel:
        return {u"序号"_s, u"型钢名称"_s, u"型钢代号"_s, u"型钢长度"_s, u"数量"_s};
    case SheetSection::Fittings:
        return {u"序号"_s, u"配件名称"_s, u"配件规格"_s, u"单位"_s, u"数量"_s};
    case SheetSection::Panels:
        return {u"序号"_s, u"板材名称"_s, u"板材长"_s, u"板材宽"_s, u"数量"_s};
    }
    return {};
}

design::BillKind sectionBillKind(SheetSection section)
{
    switch (section) {
    case SheetSection::Profiles:
        return design::BillKind::Profile;
    case SheetSection::Steel:
        return design::BillKind::Steel;
    case SheetSection::Fittings:
        return design::BillKind::Fitting;
    case SheetSection::Panels:
        return design::BillKind::Panel;
    }
    return design::BillKind::Profile;
}

namespace {

// The texts of the sheets, each made anew.
struct PlainTexts
{
    static QStringList title(SheetSection section) { return sectionTitleRow(section); }
    static QString length(float v) { return lengthText(v); }
    static QString count(double v) { return countText(v); }
};

// The texts of the sheets of one operation: the same title rows, lengths, counts and serial numbers
// come back on sheet after sheet, and one made once is shared.
class SharedTexts
{
public:
    const QStringList &title(SheetSection section)
    {
        QStringList &t = m_titles[size_t(section)];
        if (t.isEmpty())
            t = sectionTitleRow(section);
        return t;
    }
    const QString &length(float v) { return text(m_lengths, double(v), 7); }
    const QString &count(double v) { return text(m_counts, v, 15); }

private:
    static const QString &text(QHash<quint64, QString> &known, double v, int digits)
    {
        const quint64 key = std::bit_cast<quint64>(v);
        auto it = known.constFind(key);
        if (it == known.constEnd())
            it = known.insert(key, numberText(v, digits));
        return *it;
    }

    std::array<QStringList, 4> m_titles;
    QHash<quint64, QString> m_lengths;
    QHash<quint64, QString> m_counts;
};

// `eval` gives a formula's value for the window's named dimensions, `texts` the texts of titles and
// numbers.
template <class Eval, class Texts>
void appendSection(QList<QStringList> &rows, SheetSection section, const QList<design::BillRow> &bill, Eval &&eval,
                   Texts &texts, double units, double componentCount)
{
    if (bill.isEmpty())
        return;
    rows << texts.title(section);
    // The raw texts stand until a computed value replaces them.
    auto length = [&](const QString &formula) -> QString {
        const float v = eval(formula);
        return std::isfinite(v) ? texts.length(v) : formula;
    };
    auto count = [&](double perUnit, const QString &raw) -> QString {
        const double v = perUnit * units * componentCount;
        return std::isfinite(v) ? texts.count(v) : raw;
    };
    int serial = 0;
    for (const design::BillRow &b : bill) {
        // Serial numbers are whole counts: the same text.
        const QString number = texts.count(++serial);
        switch (section) {
        case SheetSection::Profiles:
        case SheetSection::Steel: {
            // 名称, 规格, 数量 (formula), 计算公式
            QString lengthCell = length(b[3]);
            const float perUnit = eval(b[2]);
            rows << QStringList{number, b[0], b[1], std::move(lengthCell),
                                std::isfinite(perUnit) ? count(std::floor(double(perUnit)), b[2]) : b[2]};
            break;
        }
        case SheetSection::Fittings:
            // 名称, 规格, 数量, 单位
            rows << QStringList{number, b[0], b[1], b[3], count(platform::val(b[2]), b[2])};
            break;
        case SheetSection::Panels: {
            // 名称, 数量, 长公式, 宽公式
            QString lengthCell = length(b[2]);
            QString widthCell = length(b[3]);
            rows << QStringList{number, b[0], std::move(lengthCell), std::move(widthCell), count(platform::val(b[1]), b[1])};
            break;
        }
        }
    }
}

} // namespace

void AppendSheetSection(QList<QStringList> &rows, SheetSection section, const QList<design::BillRow> &bill,
                        design::MacroTable &macros, double units, double componentCount)
{
    PlainTexts texts;
    appendSection(
        rows, section, bill, [&macros](const QString &formula) { return design::EvalFormula(formula, macros); },
        texts, units, componentCount);
}

design::MacroTable LoadSheetMacros(const QList<project::NamedDimension> &dims)
{
    design::MacroTable macros;
    for (const project::NamedDimension &d : dims)
        macros.append(d.name, d.value, float(d.x), float(d.y));
    if (!dims.isEmpty())
        design::SortMacrosByNameLength(macros);
    return macros;
}

QString ComponentSheet::contractText(SheetOutput output) const
{
    if (!job)
        return {};
    return combined && output == SheetOutput::Screen ? contractThreeDigits(job->contractNo) : job->contractNo;
}

QStringList ComponentSheet::paperTitle() const
{
    return {job ? job->name : QString(), job ? job->client : QString(), drawingName, contractText(SheetOutput::Paper),
            sheetNumber, size, units, QString(), paperDateText(date), remark, QString(), QString()};
}

QStringList ComponentSheet::screenTitle() const
{
    return {job ? job->name : QString(),
            job ? job->client : QString(),
            drawingName,
            contractText(SheetOutput::Screen),
            sheetNumber,
            size,
            units,
            platform::dateText(date),
            remark};
}

QList<PlacedText> ComponentSheet::mappedLabels(SheetOutput output) const
{
    QList<PlacedText> out;
    for (const SheetLabel &l : labels)
        out << PlacedText{mapLabel(l.px, l.py, output), l.text};
    return out;
}

bool isCombinedSheetLine(const project::JobLine &line)
{
    return platform::val(line.typeNo) < 0;
}

namespace {
// What the sheets of one operation share: the job list, the maker's name, and each type's bill and
// record and each drawing, read once.
struct SheetReads
{
    struct Drawing
    {
        std::shared_ptr<const drawing::DrawingLists> lists;
        QString error;
    };

    project::ProjectStore projects;
    design::TypeStore types;
    drawing::DrawingStore library;
    design::FormulaBook formulas;
    SharedTexts texts;
    // Read for all lines of the operation before the first sheet.
    QHash<qint64, QList<project::NamedDimension>> dimensions;
    QHash<qint64, QList<project::ProjectStore::ComponentNode>> nodes;
    std::optional<QList<project::Job>> jobs;
    std::optional<QString> makerName;
    QHash<qint64, design::Bill> bills;
    QHash<qint64, std::optional<design::DoorType>> typeRecords;
    QHash<QString, Drawing> drawings;

    const design::Bill *bill(qint64 typeNo)
    {
        if (auto it = bills.constFind(typeNo); it != bills.constEnd())
            return &*it;
        std::optional<design::Bill> b = types.loadBill(typeNo);
        return b ? &*bills.insert(typeNo, std::move(*b)) : nullptr;
    }
    // The record, or nullopt when it is missing or cannot be read (types.lastError() tells which).
    std::optional<design::DoorType> type(qint64 typeNo)
    {
        if (auto it = typeRecords.constFind(typeNo); it != typeRecords.constEnd())
            return *it;
        std::optional<design::DoorType> t = types.type(typeNo);
        if (t)
            typeRecords.insert(typeNo, t);
        return t;
    }
    const QList<project::Job> *jobList()
    {
        if (!jobs)
            jobs = projects.loadJobs();
        return jobs ? &*jobs : nullptr;
    }
    const QString &maker()
    {
        if (!makerName)
            makerName = platform::SettingsStore::get(app::kSettingsGeneral, app::kKeyCompany, QString());
        return *makerName;
    }
    // A failed read is kept too: the sheets still show their values and rows without it.
    // The named dimensions of every line and the nodes of the combined ones; false with *error.
    bool readLines(const QList<project::JobLine> &lines, QString *error)
    {
        QList<qint64> ids;
        QList<qint64> combined;
        for (const project::JobLine &line : lines) {
            ids << keyOf(line.id);
            if (isCombinedSheetLine(line))
                combined << ids.last();
        }
        const auto dims = projects.loadDimensions(ids);
        const auto parts = dims ? projects.componentNodes(combined) : std::nullopt;
        if (!parts)
            return fail(error, projects.lastError());
        for (qsizetype i = 0; i < ids.size(); ++i)
            dimensions.insert(ids[i], dims->at(i));
        for (qsizetype i = 0; i < combined.size(); ++i)
            nodes.insert(combined[i], parts->at(i));
        return true;
    }
    const Drawing &drawing(const QString &number)
    {
        if (auto it = drawings.constFind(number); it != drawings.constEnd())
            return *it;
        Drawing d;
        d.lists = drawing::loadLibraryDrawing(library, number, &d.error);
        return *drawings.insert(number, std::move(d));
    }
};

std::optional<ComponentSheet> buildSheet(SheetReads &reads, const project::JobLine &line, int position,
                                         const QString &jobId, const QDate &today, QString *error)
{
    ComponentSheet sheet;
    sheet.combined = isCombinedSheetLine(line);
    sheet.date = today;
    sheet.drawingName = line.fields.name + u"---"_s + line.fields.position;
    sheet.sheetNumber = sheetNumberText(position);
    sheet.size = u"宽"_s + line.fields.width + u"高"_s + line.fields.height;
    sheet.units = line.fields.count;
    sheet.remark = line.fields.remark;

    project::ProjectStore &projects = reads.projects;
    design::TypeStore &types = reads.types;
    const qint64 lineId = keyOf(line.id);
    const double units = platform::val(line.fields.count);
    const auto readFailed = [error](const QString &what) {
        fail(error, what);
        return std::nullopt;
    };

    const QList<project::NamedDimension> *dims = &*reads.dimensions.constFind(lineId);

    if (!sheet.combined) {
        design::MacroTable macros = LoadSheetMacros(*dims);
        for (const design::MacroTable::Entry &e : macros.entries())
            sheet.labels << SheetLabel{e.x, e.y, e.value};
        const qint64 typeNo = keyOf(line.typeNo);
        const design::Bill *bill = reads.bill(typeNo);
        if (!bill)
            return readFailed(types.lastError());
        design::FormulaBook::Bound formulas = reads.formulas.bind(macros);
        const auto eval = [&formulas](const QString &formula) { return formulas.eval(formula); };
        for (SheetSection s : sheetSections())
            appendSection(sheet.rows, s, bill->of(sectionBillKind(s)), eval, reads.texts, units, 1.0);
        if (const std::optional<design::DoorType> type = reads.type(typeNo)) {
            sheet.drawingNumber = type->drawingNumber;
        } else {
            // A type removed from the library leaves the drawing empty; a failed read is an error.
            QString existsError;
            const std::optional<bool> exists = app::RecordExists(u"门窗"_s, u"编号"_s, typeNo, &existsError);
            if (!exists || *exists)
                return readFailed(exists ? types.lastError() : existsError);
        }
    } else {
        // The main drawing's values are drawn as stored; they take no part in the evaluation.
        for (const project::NamedDimension &d : *dims)
            sheet.labels << SheetLabel{d.x, d.y, d.value};
        for (const project::ProjectStore::ComponentNode &node : *reads.nodes.constFind(lineId)) {
            const project::ComponentKey &key = node.key;
            const QList<project::ComponentRow> *rows = &node.rows;
            design::MacroTable macros;
            double count = 0;
            if (!rows->isEmpty()) {
                for (const project::ComponentRow &r : *rows)
                    macros.append(r.dim.name, r.dim.value);
                count = platform::val(app::fieldText(rows->constFirst().count));
                design::SortMacrosByNameLength(macros);
            }
            const design::Bill *bill = reads.bill(key.cbn);
            if (!bill)
                return readFailed(types.lastError());
            design::FormulaBook::Bound formulas = reads.formulas.bind(macros);
            const auto eval = [&formulas](const QString &formula) { return formulas.eval(formula); };
            for (SheetSection s : sheetSections())
                appendSection(sheet.rows, s, bill->of(sectionBillKind(s)), eval, reads.texts, units, count);
        }
        sheet.drawingNumber = platform::generalDouble(-platform::val(line.typeNo));
    }

    const QList<project::Job> *jobs = reads.jobList();
    if (!jobs)
        return readFailed(projects.lastError());
    const qint64 jobKey = keyOf(jobId);
    for (const project::Job &j : *jobs) {
        if (j.id == jobKey && !jobId.trimmed().isEmpty()) {
            sheet.job = j;
            break;
        }
    }
    const SheetReads::Drawing &drawing = reads.drawing(libraryNumber(sheet.drawingNumber));
    sheet.drawing = drawing.lists;
    sheet.drawingRead = bool(drawing.lists);
    sheet.drawingError = drawing.error;
    sheet.maker = reads.maker();
    return sheet;
}
} // namespace

std::optional<ComponentSheet> buildComponentSheet(const project::JobLine &line, int position, const QString &jobId,
                                                  const QDate &today, QString *error)
{
    SheetReads reads;
    if (!reads.readLines({line}, error))
        return std::nullopt;
    return buildSheet(reads, line, position, jobId, today, error);
}

std::optional<QList<ComponentSheet>> buildComponentSheets(const QList<project::JobLine> &lines, int from, int to,
                                                          const QString &jobId, const QDate &today, QString *error)
{
    SheetReads reads;
    // The reads of all sheets are one transaction: no lock taken and dropped per statement.
    platform::TransactionGuard tx(app::mainDb());
    if (!reads.readLines(lines.mid(from - 1, to - from + 1), error))
        return std::nullopt;
    QList<ComponentSheet> sheets;
    for (int p = from; p <= to; ++p) {
        std::optional<ComponentSheet> sheet = buildSheet(reads, lines.at(p - 1), p, jobId, today, error);
        if (!sheet)
            return std::nullopt;
        sheets << std::move(*sheet);
    }
    return sheets;
}

bool drawSheetPicture(const ComponentSheet &sheet, platform::Surface &pic, QString *error)
{
    // The values still belong on the picture when the drawing could not be read.
    drawSheetScreenPicture(pic, sheet.drawingRead ? sheet.drawing.get() : nullptr,
                           sheet.mappedLabels(SheetOutput::Screen));
    return sheet.drawingRead || fail(error, sheet.drawingError);
}

double sheetPictureWidth(const ComponentSheet &sheet, const platform::Surface &pic, double minimum)
{
    const double margin = pic.textWidth(u"0"_s);
    double width = minimum;
    for (const PlacedText &v : sheet.mappedLabels(SheetOutput::Screen))
        if (!v.text.isEmpty())
            width = std::max(width, v.at.x() + pic.textWidth(v.text) + margin);
    return width;
}

bool printSheet(const ComponentSheet &sheet, platform::Surface &target, QString *error)
{
    if (!sheet.drawingRead)
        return fail(error, sheet.drawingError);
    printSheetPage(target, {sheet.paperTitle(), sheet.rows, sheet.mappedLabels(SheetOutput::Paper),
                            sheet.drawing.get(), sheet.maker});
    return true;
}

} // namespace sheets
