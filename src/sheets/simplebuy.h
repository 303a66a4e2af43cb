#pragma once
// The simple cut list of a job ("门 窗 简 料 单"): one row per plain window with its making size,
// units and the cut length and piece count of six frame and sash profiles, paged by 18 rows and four
// type drawings, drawn on any surface in millimetre positions converted to twips.
#include "platform/surface.h"
#include "project/projectstore.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

namespace drawing {
class CPictire;
}

namespace sheets {

// The six profile names whose rows fill a record, in field order (fields 3/4 … 13/14).
const QStringList &simpleBuyProfileNames();

// The 14 fields of a row: 1 size, 2 units, then length and count of each named profile.
using SimpleBuyRecord = std::array<QString, 14>;

// What AddRecord takes: the record, the type key (its 编号), drawing number and type name.
struct SimpleBuyInput
{
    SimpleBuyRecord record;
    QString typeKey;
    QString drawingNumber;
    QString typeName;
};

// A run of consecutive rows of one type on one page.
struct SimpleBuyTypeEntry
{
    QString typeKey;
    QString drawingNumber;
    QString typeName;
    int rowCount = 1;
    friend bool operator==(const SimpleBuyTypeEntry &, const SimpleBuyTypeEntry &) = default;
};

// Indexes from 1, both ranges inclusive.
struct SimpleBuyPage
{
    int firstRecord = 0;
    int lastRecord = 0;
    int firstType = 0;
    int lastType = 0;
    friend bool operator==(const SimpleBuyPage &, const SimpleBuyPage &) = default;
};

class SimpleBuyTable
{
public:
    static constexpr int kRowsPerPage = 18;
    static constexpr int kTypesPerPage = 4;

    SimpleBuyTable();
    ~SimpleBuyTable();
    SimpleBuyTable(const SimpleBuyTable &) = delete;
    SimpleBuyTable &operator=(const SimpleBuyTable &) = delete;

    QString ProjectName() const { return m_projectName; }
    void setProjectName(const QString &name) { m_projectName = name; }
    int PageCount() const { return int(m_pages.size()); }

    void AddRecord(const SimpleBuyInput &value);
    // Closes the last page.
    void AddRecordEnd();
    // Empties the list; the job name stays.
    void ClearAll();

    const QList<SimpleBuyRecord> &records() const { return m_records; }
    const QList<SimpleBuyTypeEntry> &typeEntries() const { return m_types; }
    const QList<SimpleBuyPage> &pages() const { return m_pages; }

    // The date printed on the pages (today unless set).
    void setToday(const QDate &date) { m_today = date; }

    // Frame, rows and drawings of page n (1-based); nothing for a page out of range.
    void OutToObject(platform::Surface &obj, int intPageNum) const;
    // Page n on the printer as one document: rows, drawings, frame, end of document. Printed pages
    // are centred on the sheet.
    void PrintPage(platform::Surface &printer, int intPageNum) const;
    // Every page in one document, a new page before every page but the first.
    void PrintPageAll(platform::Surface &printer) const;

    static float MmToTwips(float mm);
    // The drawing-box captions of a page: "1~3为:" and the type name, one per type entry.
    QStringList pageCaptions(int intPageNum) const;

private:
    void DrawSimpleBuyPage(platform::Surface &obj) const;
    void DrawPageRows(platform::Surface &obj, int page) const;
    void DrawPageDrawings(platform::Surface &obj, int page) const;
    static void PrintTextAt(platform::Surface &obj, float x, float y, const QString &text);
    static void PrintTextIn(platform::Surface &obj, float x, float y, float right, float top, float bottom,
                            const QString &text);
    static QPointF paperOffset(const platform::Surface &printer);
    void AddTypeEntry(const QString &key, const QString &drawingNumber, const QString &name);
    void OpenPage(int firstRecord, int firstType);
    void ClosePage(int lastRecord, int lastType);

    QString m_projectName;
    QList<SimpleBuyRecord> m_records;
    QList<SimpleBuyTypeEntry> m_types;
    QList<SimpleBuyPage> m_pages;
    int m_pageRecords = 0;
    int m_pageTypes = 0;
    QDate m_today;
    std::unique_ptr<drawing::CPictire> m_engine;
};

// The input of one job line: nothing (an empty optional inside) for a combined line or a type
// without profile rows. nullopt with *error when a table cannot be read.
std::optional<std::optional<SimpleBuyInput>> simpleBuyInput(const project::JobLine &line, QString *error = nullptr);

// Appends the line's row, when it has one. False with *error when a table cannot be read.
bool AddSimpleBuyRecord(SimpleBuyTable &table, const project::JobLine &line, QString *error = nullptr);

// The whole list of the chosen lines, in list order, closed and named. nullptr with *error when a
// table cannot be read.
std::unique_ptr<SimpleBuyTable> buildSimpleBuyTable(const QList<project::JobLine> &lines, const QString &projectName,
                                                    QString *error = nullptr);

} // namespace sheets
