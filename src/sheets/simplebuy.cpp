#include "simplebuy.h"

#include "componentsheet.h"
#include "app/maindb.h"
#include "design/formula.h"
#include "design/typestore.h"
#include "drawing/cpictire.h"
#include "platform/chinese.h"
#include "platform/numtext.h"
#include "platform/report.h"
#include "platform/surface_shifted.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace sheets {

namespace {

// Column edges in millimetres: column i lies between kColumnX[i] and kColumnX[i + 1].
constexpr float kColumnX[16] = {5, 15, 41, 51, 66, 76, 91, 101, 116, 126, 141, 151, 166, 176, 191, 201};

const char16_t *const kCaptions[15] = {u"序号", u"尺寸规格", u"樘数", u"框B",     u"支数",
                                       u"框H",  u"支数",     u"扇B",  u"支数",    u"扇H",
                                       u"支数", u"固定框B",  u"支数", u"固定框H", u"支数"};

void lineMm(platform::Surface &obj, float x1, float y1, float x2, float y2)
{
    obj.line(QPointF(SimpleBuyTable::MmToTwips(x1), SimpleBuyTable::MmToTwips(y1)),
             QPointF(SimpleBuyTable::MmToTwips(x2), SimpleBuyTable::MmToTwips(y2)));
}

void setBold(platform::Surface &obj, bool bold)
{
    QFont f = obj.font();
    f.setBold(bold);
    obj.setFont(f);
}

qint64 keyOf(const QString &text)
{
    return platform::roundHalfEven(platform::val(text), -(1LL << 53), 1LL << 53).value_or(0);
}

} // namespace

const QStringList &simpleBuyProfileNames()
{
    static const QStringList names = {u"框B"_s, u"框H"_s, u"扇B"_s, u"扇H"_s, u"固定框B"_s, u"固定框H"_s};
    return names;
}

SimpleBuyTable::SimpleBuyTable() : m_today(QDate::currentDate()), m_engine(std::make_unique<drawing::CPictire>())
{
    ClearAll();
}

SimpleBuyTable::~SimpleBuyTable() = default;

void SimpleBuyTable::ClearAll()
{
    m_records.clear();
    m_types.clear();
    m_pages.clear();
    m_pageRecords = 0;
    m_pageTypes = 0;
}

void SimpleBuyTable::AddRecord(const SimpleBuyInput &value)
{
    m_records << value.record;
    ++m_pageRecords;
    AddTypeEntry(value.typeKey, value.drawingNumber, value.typeName);
    if (m_pageRecords == 1 && m_pageTypes == 1)
        OpenPage(int(m_records.size()), int(m_types.size()));
    if (m_pageRecords == kRowsPerPage || m_pageTypes == kTypesPerPage) {
        ClosePage(int(m_records.size()), int(m_types.size()));
        m_pageRecords = 0;
        m_pageTypes = 0;
    }
}

void SimpleBuyTable::AddTypeEntry(const QString &key, const QString &drawingNumber, const QString &name)
{
    // Only the last entry is compared: a type that comes back after another opens a new entry.
    if (m_pageTypes > 0 && !m_types.isEmpty() && m_types.constLast().typeKey == key) {
        ++m_types.last().rowCount;
        return;
    }
    ++m_pageTypes;
    m_types << SimpleBuyTypeEntry{key, drawingNumber, name, 1};
}

void SimpleBuyTable::OpenPage(int firstRecord, int firstType)
{
    m_pages << SimpleBuyPage{firstRecord, firstRecord, firstType, firstType};
}

void SimpleBuyTable::ClosePage(int lastRecord, int lastType)
{
    if (m_pages.isEmpty())
        return;
    m_pages.last().lastRecord = lastRecord;
    m_pages.last().lastType = lastType;
}

void SimpleBuyTable::AddRecordEnd()
{
    ClosePage(int(m_records.size()), int(m_types.size()));
}

float SimpleBuyTable::MmToTwips(float mm)
{
    return float(double(mm) * 56.69);
}

void SimpleBuyTable::PrintTextAt(platform::Surface &obj, float x, float y, const QString &text)
{
    obj.setCurrentPos(QPointF(MmToTwips(x), MmToTwips(y)));
    obj.print(text);
}

void SimpleBuyTable::DrawSimpleBuyPage(platform::Surface &obj) const
{
    for (int k = 0; k <= 23; ++k) {
        if (k != 22)
            lineMm(obj, 5, float(20 + 8 * k), 201, float(20 + 8 * k));
    }
    for (float y : {244.f, 277.f, 252.f})
        lineMm(obj, 5, y, 201, y);
    for (float x : {41.f, 151.f, 176.f})
        lineMm(obj, x, 28, x, 36);
    for (int i = 1; i <= 14; ++i)
        lineMm(obj, kColumnX[i], 36, kColumnX[i], 188);
    lineMm(obj, 5, 20, 5, 277);
    lineMm(obj, 201, 20, 201, 277);
    for (int i = 1; i <= 3; ++i)
        lineMm(obj, float(49 * i + 5), 204, float(49 * i + 5), 252);

    setBold(obj, true);
    QFont f = obj.font();
    const qreal size = f.pointSizeF();
    f.setPointSizeF(18);
    obj.setFont(f);
    // 18 points stand taller than the 8 mm band from 21 mm down: the title keeps to the band.
    PrintTextIn(obj, 70, 21, 160, 20, 28, u"门 窗 简 料 单"_s);
    f.setPointSizeF(size);
    obj.setFont(f);

    PrintTextAt(obj, 15, 30, u"工程名称："_s);
    PrintTextAt(obj, 156, 30, u"交货时间："_s);
    PrintTextAt(obj, 7, 254, u"备    注："_s);
    for (int i = 0; i <= 14; ++i)
        PrintTextAt(obj, kColumnX[i] + 2, 38, QString::fromUtf16(kCaptions[i]));
    const QString today = platform::dateText(m_today);
    PrintTextAt(obj, 166, 22, today);
    PrintTextAt(obj, 10, 192, u"下料人："_s);
    PrintTextAt(obj, 66, 192, u"制作人："_s);
    PrintTextAt(obj, 126, 192, u"下料时间："_s + today);
    setBold(obj, false);
}

// A value at its place in the cell that ends at `right` and lies between `top` and `bottom` (all in
// millimetres): one too long for the room left is wrapped or drawn smaller inside the cell.
void SimpleBuyTable::PrintTextIn(platform::Surface &obj, float x, float y, float right, float top, float bottom,
                                 const QString &text)
{
    if (text.isEmpty())
        return;
    platform::printAtOrFit(obj, QPointF(MmToTwips(x), MmToTwips(y)),
                           QRectF(QPointF(MmToTwips(x), MmToTwips(top)), QPointF(MmToTwips(right), MmToTwips(bottom))),
                           text);
}

void SimpleBuyTable::DrawPageRows(platform::Surface &obj, int page) const
{
    const SimpleBuyPage &p = m_pages.at(page - 1);
    PrintTextIn(obj, 53, 30, 151, 28, 36, m_projectName);
    for (int i = 0; i <= p.lastRecord - p.firstRecord; ++i) {
        const float y = float(46 + 8 * i);
        const SimpleBuyRecord &r = m_records.at(p.firstRecord + i - 1);
        for (int c = 1; c <= 14; ++c)
            PrintTextIn(obj, kColumnX[c] + 2, y, kColumnX[c + 1], y - 2, y + 6, r[size_t(c - 1)]);
        PrintTextAt(obj, 7, y, QString::number(i + 1));
    }
}

QStringList SimpleBuyTable::pageCaptions(int intPageNum) const
{
    QStringList out;
    if (intPageNum < 1 || intPageNum > PageCount())
        return out;
    const SimpleBuyPage &p = m_pages.at(intPageNum - 1);
    int k = 0;
    for (int j = 0; j <= p.lastType - p.firstType; ++j) {
        const SimpleBuyTypeEntry &e = m_types.at(p.firstType + j - 1);
        out << QString::number(k + 1) + u"~"_s + QString::number(k + e.rowCount) + u"为:"_s + e.typeName;
        k += e.rowCount;
    }
    return out;
}

void SimpleBuyTable::DrawPageDrawings(platform::Surface &obj, int page) const
{
    const SimpleBuyPage &p = m_pages.at(page - 1);
    const QStringList captions = pageCaptions(page);
    for (int j = 0; j <= p.lastType - p.firstType; ++j) {
        const SimpleBuyTypeEntry &e = m_types.at(p.firstType + j - 1);
        PrintTextIn(obj, float(49 * j + 7), 246, float(49 * j + 54), 244, 252, captions.value(j));
        // A drawing that cannot be read leaves its box empty; the rows and captions still stand.
        m_engine->ClearData();
        if (drawing::wholeNumber(e.drawingNumber) && m_engine->OpenFileEX(e.drawingNumber))
            m_engine->OutMCNoStr(obj, 0, 0, drawing::kAreaWidth, drawing::kAreaHeight, MmToTwips(float(5 + 49 * j)),
                                 MmToTwips(204), MmToTwips(float(54 + 49 * j)), MmToTwips(244));
        m_engine->ClearData();
    }
}

void SimpleBuyTable::OutToObject(platform::Surface &obj, int intPageNum) const
{
    if (intPageNum < 1 || intPageNum > PageCount())
        return;
    DrawSimpleBuyPage(obj);
    DrawPageRows(obj, intPageNum);
    DrawPageDrawings(obj, intPageNum);
}

// The pages are laid out in millimetres from 5 to 201 across and 20 to 277 down; on paper they are
// centred on the sheet, which keeps 7 mm at the sides of A4 whatever the printer's unprintable edge.
QPointF SimpleBuyTable::paperOffset(const platform::Surface &printer)
{
    return platform::centringOffset(printer, QRectF(QPointF(MmToTwips(5), MmToTwips(20)),
                                                    QPointF(MmToTwips(201), MmToTwips(277))));
}

void SimpleBuyTable::PrintPage(platform::Surface &target, int intPageNum) const
{
    if (intPageNum < 1 || intPageNum > PageCount())
        return;
    platform::ShiftedSurface printer(target, paperOffset(target));
    DrawPageRows(printer, intPageNum);
    DrawPageDrawings(printer, intPageNum);
    DrawSimpleBuyPage(printer);
    printer.endDocument();
}

void SimpleBuyTable::PrintPageAll(platform::Surface &target) const
{
    if (PageCount() == 0)
        return;
    platform::ShiftedSurface printer(target, paperOffset(target));
    for (int p = 1; p <= PageCount(); ++p) {
        if (p > 1)
            printer.newPage();
        DrawPageRows(printer, p);
        DrawPageDrawings(printer, p);
        DrawSimpleBuyPage(printer);
    }
    printer.endDocument();
}

std::optional<std::optional<SimpleBuyInput>> simpleBuyInput(const project::JobLine &line, QString *error)
{
    const auto failed = [error](const QString &why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (platform::val(line.typeNo) < 0)
        return std::optional<SimpleBuyInput>();

    project::ProjectStore projects;
    const std::optional<QList<project::NamedDimension>> dims = projects.loadDimensions(keyOf(line.id));
    if (!dims)
        return failed(projects.lastError());
    design::MacroTable macros;
    for (const project::NamedDimension &d : *dims)
        macros.append(d.name, d.value);
    if (!dims->isEmpty())
        design::SortMacrosByNameLength(macros);

    const qint64 typeNo = keyOf(line.typeNo);
    design::TypeStore types;
    SimpleBuyInput in;
    in.record[0] = line.fields.width + u"*"_s + line.fields.height;
    in.record[1] = line.fields.count;
    in.typeKey = line.typeNo;
    if (const std::optional<design::DoorType> type = types.type(typeNo)) {
        in.drawingNumber = type->drawingNumber;
        in.typeName = type->name;
    } else {
        // A type removed from the library keeps its row without a name or drawing.
        QString existsError;
        const std::optional<bool> exists = app::RecordExists(u"门窗"_s, u"编号"_s, typeNo, &existsError);
        if (!exists || *exists)
            return failed(exists ? types.lastError() : existsError);
    }
    const std::optional<design::Bill> bill = types.loadBill(typeNo);
    if (!bill)
        return failed(types.lastError());
    const QList<design::BillRow> &profiles = bill->of(design::BillKind::Profile);
    if (profiles.isEmpty())
        return std::optional<SimpleBuyInput>();

    const double units = platform::val(line.fields.count);
    for (const design::BillRow &row : profiles) {
        const int slot = int(simpleBuyProfileNames().indexOf(row[0].toUpper()));
        if (slot < 0)
            continue;
        const float length = design::EvalFormula(row[3], macros);
        const float perUnit = design::EvalFormula(row[2], macros);
        const double count = std::floor(double(perUnit)) * units;
        in.record[size_t(2 + 2 * slot)] = std::isfinite(length) ? lengthText(length) : row[3];
        in.record[size_t(3 + 2 * slot)] = std::isfinite(count) ? countText(count) : row[2];
    }
    return std::optional<SimpleBuyInput>(in);
}

bool AddSimpleBuyRecord(SimpleBuyTable &table, const project::JobLine &line, QString *error)
{
    const std::optional<std::optional<SimpleBuyInput>> in = simpleBuyInput(line, error);
    if (!in)
        return false;
    if (*in)
        table.AddRecord(**in);
    return true;
}

std::unique_ptr<SimpleBuyTable> buildSimpleBuyTable(const QList<project::JobLine> &lines, const QString &projectName,
                                                    QString *error)
{
    auto table = std::make_unique<SimpleBuyTable>();
    for (const project::JobLine &line : lines) {
        if (!AddSimpleBuyRecord(*table, line, error))
            return nullptr;
    }
    table->AddRecordEnd();
    table->setProjectName(projectName);
    return table;
}

} // namespace sheets
