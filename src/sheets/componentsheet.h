#pragma once
// The component (cutting) sheet of one door/window line of a job: the rows of its four sections
// evaluated from the type's bill (or every component's bill for a combined window), the title values,
// the drawing and the label values placed on it. Building reads everything; output reads nothing, so
// a sheet is known to be complete before anything is shown or printed.
#include "design/billtypes.h"
#include "design/macrotable.h"
#include "platform/surface.h"
#include "project/jobtypes.h"
#include "sheetpage.h"

#include <QDate>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

namespace sheets {

// Where a sheet goes: the drawing boxes and the title forms differ.
enum class SheetOutput { Screen, Paper };

// Numbers on sheets: a point as the decimal mark, no zero before the point below 1, no blanks.
// Lengths and widths keep 7 significant digits, counts 15.
QString numberText(double value, int digits);
inline QString lengthText(float value) { return numberText(double(value), 7); }
inline QString countText(double value) { return numberText(value, 15); }

// The list position (1 for the first line) padded with "0" to three characters.
QString sheetNumberText(int position);
// The printed date: a blank before each of year, month and day, none padded.
QString paperDateText(const QDate &date);
// A contract number through the number format "000": whole numbers padded to three digits, a
// fraction rounded to the nearest whole number, anything that is not a number unchanged.
QString contractThreeDigits(const QString &text);

// A label's position in the drawing box of the output: screen (0, 500)-(5000, 4917), paper
// (0, 1000)-(5500, 4917), from the 9495 x 7935 drawing area.
QPointF mapLabel(double px, double py, SheetOutput output);

enum class SheetSection { Profiles, Steel, Fittings, Panels };
// The sections in sheet order.
const std::array<SheetSection, 4> &sheetSections();
// The five captions of a section's title row.
QStringList sectionTitleRow(SheetSection section);
// The bill kind a section is read from.
design::BillKind sectionBillKind(SheetSection section);

// Appends a section: nothing for no bill rows, otherwise its title row and one row per bill row
// (the bill row's four value columns as the type store reads them), with lengths and counts
// evaluated for `macros`. Counts are multiplied by `units` and `componentCount`. A cell whose
// evaluation gives no finite number keeps its formula text.
void AppendSheetSection(QList<QStringList> &rows, SheetSection section, const QList<design::BillRow> &bill,
                        design::MacroTable &macros, double units, double componentCount = 1);

// One value written on the drawing, at its position in drawing units.
struct SheetLabel
{
    double px = 0;
    double py = 0;
    QString text;
    friend bool operator==(const SheetLabel &, const SheetLabel &) = default;
};

// The named dimensions of a plain line as its formulas use them: trimmed, longest name first, with
// their drawing positions.
design::MacroTable LoadSheetMacros(const QList<project::NamedDimension> &dims);

struct ComponentSheet
{
    bool combined = false;
    QList<QStringList> rows; // five cells each, title rows included

    // Title values. The job's fields are unset when the job record is missing.
    std::optional<project::Job> job;
    QString drawingName; // 门窗名称---门窗类型
    QString sheetNumber; // 001
    QString size;        // 宽…高…
    QString units;       // 樘数 as listed
    QString remark;      // 说明
    QDate date;

    // The drawing: its library number ("" when the type record is missing), the drawing as read with
    // the sheet (an empty box when none), and the values on it.
    QString drawingNumber;
    std::shared_ptr<const drawing::DrawingLists> drawing;
    // False when the drawing could not be read: the screen shows the values alone, paper gets nothing.
    bool drawingRead = true;
    QString drawingError;
    QList<SheetLabel> labels;
    QString maker; // 制作单位, from the general settings

    // The contract number as the title block shows it on the given output.
    QString contractText(SheetOutput output) const;
    // Title slots 1..12 of the print template (设计 and 11, 12 empty).
    QStringList paperTitle() const;
    // The nine title boxes of the screen: job name, client, drawing name, contract number, sheet
    // number, making size, units, date (system short form), remarks.
    QStringList screenTitle() const;
    // Label texts at their positions mapped into the output's drawing box.
    QList<PlacedText> mappedLabels(SheetOutput output) const;
};

// True for a line built as a combined window: a negative 门窗编号.
bool isCombinedSheetLine(const project::JobLine &line);

// Builds the sheet of one line at `position` (1-based) of the job window list, for the job `jobId`
// (the job whose window handed the lines on). nullopt with *error when a table cannot be read; a
// missing job or type record is not an error and leaves its fields empty; a drawing that cannot be
// read leaves drawingRead false.
std::optional<ComponentSheet> buildComponentSheet(const project::JobLine &line, int position, const QString &jobId,
                                                  const QDate &today = QDate::currentDate(),
                                                  QString *error = nullptr);

// The sheets of lines from..to (1-based positions) of the list, with the job list, the settings and
// each type's bill, record and drawing read once for all of them, in one read of the database. nullopt with *error as soon as one cannot be built.
std::optional<QList<ComponentSheet>> buildComponentSheets(const QList<project::JobLine> &lines, int from, int to,
                                                          const QString &jobId,
                                                          const QDate &today = QDate::currentDate(),
                                                          QString *error = nullptr);

// Draws the sheet's drawing with its values into the screen box (0, 500)-(5000, 4917) of a picture.
// Values are written even when the drawing could not be read; false with *error then.
bool drawSheetPicture(const ComponentSheet &sheet, platform::Surface &pic, QString *error = nullptr);
// The width (twips) a picture needs so that no value written by drawSheetPicture runs past its
// right edge: at least `minimum`, more when a value near the box's right edge is long.
double sheetPictureWidth(const ComponentSheet &sheet, const platform::Surface &pic, double minimum);

// Prints the sheet's page from the target's current page on (more pages when it has more than 46
// rows). Starts and ends no document. False with *error, and nothing printed, when its drawing could
// not be read.
bool printSheet(const ComponentSheet &sheet, platform::Surface &target, QString *error = nullptr);

} // namespace sheets
