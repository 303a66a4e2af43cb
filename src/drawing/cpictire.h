#pragma once
// The drawing engine: one door or window drawing as six fixed-capacity entity lists, with their
// upkeep, rendering onto any surface, storage in files and in the drawing library, printing and DXF
// import. Coordinates are twips of the 9495 x 7935 drawing area, Y down.
#include "platform/surface.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace drawing {

class DrawingStore;

inline constexpr int kCapacity = 361;            // entities of one kind
inline constexpr float kAreaWidth = 9495.0f;      // the drawing area, source box of full redraws
inline constexpr float kAreaHeight = 7935.0f;

struct DrawPoint
{
    float X = 0;
    float Y = 0;
    friend bool operator==(const DrawPoint &, const DrawPoint &) = default;
};

struct TwoPoints // line (ends), rectangle (opposite corners as clicked), arrow (tail, head)
{
    DrawPoint P1, P2;
    friend bool operator==(const TwoPoints &, const TwoPoints &) = default;
};

struct ThreePoints // dimension (start, end, offset point), arc (start, end, direction point)
{
    DrawPoint P1, P2, P3;
    friend bool operator==(const ThreePoints &, const ThreePoints &) = default;
};

struct TextEntity // anchor point and text
{
    DrawPoint P1;
    QString text;
    friend bool operator==(const TextEntity &, const TextEntity &) = default;
};

enum class Kind { Line, Rec, Dir, Dim, String, Arc };

// The entity lists. Entries 0..last are used, in no particular order; last is -1 when empty.
struct DrawingLists
{
    std::array<TwoPoints, kCapacity> LineArr{};
    std::array<TwoPoints, kCapacity> RecArr{};
    std::array<ThreePoints, kCapacity> DimArr{};
    std::array<TwoPoints, kCapacity> DirArr{};
    std::array<TextEntity, kCapacity> StringArr{};
    std::array<ThreePoints, kCapacity> ArcArr{};
    qint16 LineLast = -1;
    qint16 RecLast = -1;
    qint16 DimLast = -1;
    qint16 DirLast = -1;
    qint16 StringLast = -1;
    qint16 ArcLast = -1;
};

class CPictire
{
public:
    CPictire() = default;
    CPictire(const CPictire &) = delete;
    CPictire &operator=(const CPictire &) = delete;

    // --- Interactive state, for the editor's step machines. The references are held, not owned.
    QString GetCurDraw() const { return CurDraw; }
    void SetPicture(platform::Surface *pic) { Pic = pic; }
    // Shows a step prompt (the first panel of the editor's status bar).
    void SetStatu(std::function<void(const QString &)> prompt) { Sta = std::move(prompt); }
    // Shows the text dialog modally and returns the typed text (empty when cancelled).
    void SetTextForm(std::function<QString()> textForm) { TF = std::move(textForm); }

    qint16 StepNo = 0;
    std::array<DrawPoint, 3> CurPts{};
    QString CurDraw;
    bool Rubber = false;
    float CurX = 1.0f;
    float CurY = 1.0f;
    platform::Surface *Pic = nullptr;
    std::function<void(const QString &)> Sta;
    std::function<QString()> TF;

    // --- Interactive commands (steps.cpp). Msg 0 starts the command or takes the point (x1, y1),
    // 1 ends or cancels it, 2 is a mouse move (rubber band on the temporary layer). The seven
    // share StepNo: a start sent while another command runs is taken as that command's next point.
    void StepDrawLine(qint32 Msg, float x1, float y1);
    void StepDrawRec(qint32 Msg, float x1, float y1);
    void StepDrawDir(qint32 Msg, float x1, float y1);
    void StepDrawDiM(qint32 Msg, float x1, float y1);
    void StepDrawString(qint32 Msg, float x1, float y1);
    void StepDel(qint32 Msg, float x1, float y1);
    void StepDrawArc(qint32 Msg, float x1, float y1);
    // The step of the command named "Line", "Rec", "Dir", "Dim", "String", "Del" or "Arc"; false
    // for any other name.
    bool StepCommand(const QString &name, qint32 Msg, float x1, float y1);

    // --- Lists. Every append refuses a 362nd entity of its kind with the capacity message.
    bool AddLine(DrawPoint P1, DrawPoint P2);
    bool AddRec(DrawPoint P1, DrawPoint P2);
    bool AddDir(DrawPoint P1, DrawPoint P2);
    bool AddDim(DrawPoint P1, DrawPoint P2, DrawPoint P3);
    bool AddString(DrawPoint P1, const QString &text);
    bool AddArc(DrawPoint P1, DrawPoint P2, DrawPoint P3);
    // Removal moves the last entry into the gap.
    void RemoveLine(int i);
    void RemoveRec(int i);
    void RemoveDir(int i);
    void RemoveDim(int i);
    void RemoveString(int i);
    void RemoveArc(int i);
    // Remove every entity with a defining point inside the window (edges included). The corners
    // are normalised in place.
    void DeleteLinesInWindow(DrawPoint &C1, DrawPoint &C2);
    void DeleteRecsInWindow(DrawPoint &C1, DrawPoint &C2);
    void DeleteDirsInWindow(DrawPoint &C1, DrawPoint &C2);
    void DeleteDimsInWindow(DrawPoint &C1, DrawPoint &C2);
    void DeleteStringsInWindow(DrawPoint &C1, DrawPoint &C2);
    void DeleteArcsInWindow(DrawPoint &C1, DrawPoint &C2);
    // All six, in the order of the window-delete command.
    void DeleteInWindow(DrawPoint &C1, DrawPoint &C2);
    static bool PointInWindow(DrawPoint P, DrawPoint &C1, DrawPoint &C2);

    const DrawingLists &lists() const { return m_lists; }
    qint16 last(Kind kind) const;
    bool isEmpty() const;

    // New drawing: clears Pic, draws the 80 x 64 grid, empties the lists.
    void PicClear();
    void ClearData();

    // Copies every text entity (X, Y, text), resizing the three lists to the count.
    void GetStrings(QList<float> &X, QList<float> &Y, QStringList &S) const;
    qint16 GetStringCount() const { return m_lists.StringLast; }

    // --- Rendering. Source box (L1,T1)-(R1,B1) of drawing coordinates stretched into the target
    // box (L2,T2)-(R2,B2) of the surface; a source box of zero width or height draws nothing.
    void PrintPic(platform::Surface &Obj, float L1, float T1, float R1, float B1, float L2, float T2, float R2,
                  float B2) const;
    void OutMCNoStr(platform::Surface &Obj, float L1, float T1, float R1, float B1, float L2, float T2,
                    float R2, float B2) const;
    // The text starts at Cx and is centred vertically on Cy.
    static void Draw_String(platform::Surface &Obj, float Cx, float Cy, const QString &ch);
    // Grid dots on Pic, persistent.
    void Draw_Gird(qint16 Xnum, qint16 Ynum);
    // Figures in the surface's own coordinates; a figure whose points give no finite result draws
    // nothing.
    static void DrawArrow(platform::Surface &Obj, DrawPoint P1, DrawPoint P2);
    static void DrawDim(platform::Surface &Obj, DrawPoint P1, DrawPoint P2, DrawPoint P3);
    static void DrawArc(platform::Surface &Obj, DrawPoint S, DrawPoint E, DrawPoint D);
    static void DrawRec(platform::Surface &Obj, DrawPoint P1, DrawPoint P2);

    // --- Storage. A load that fails leaves the drawing as it was; errors come back in *error.
    bool SavePicture(const QString &filename, QString *error = nullptr) const;
    bool Open_File(const QString &filename, QString *error = nullptr);
    // Replaces library drawing cNum's entities, all or nothing. `filename` is not used.
    bool SaveFileEx(const QString &cNum, const QString &filename = QString(), QString *error = nullptr) const;
    // Appends library drawing picnum to the lists.
    bool OpenFileEX(const QString &picnum, QString *error = nullptr);
    // The same through a store that keeps its reads prepared for many drawings.
    bool OpenFileEX(const DrawingStore &store, const QString &picnum, QString *error = nullptr);
    // Replaces the drawing by the lines, polylines and dimensions of a DXF file.
    bool InputDXF(const QString &cFilename, QString *error = nullptr);

    // --- Printing (page units are twips of the surface).
    // The whole drawing unscaled and centred on the sheet, then the end of the document; "图形为空!"
    // when empty.
    bool PrintPicture(platform::Surface &printer);
    static void PrintEnd(platform::Surface &printer) { printer.endDocument(); }

    // Loaders fill a fresh engine and take its lists only when the whole source was read.
    void takeLists(CPictire &other) { m_lists = std::move(other.m_lists); }
    // Appends without the capacity message; false when the list is full.
    bool append(Kind kind, const ThreePoints &points, const QString &text = QString());

private:
    DrawingLists m_lists;
};

// A library drawing read whole, for output elsewhere; null with *error when it cannot be read.
std::shared_ptr<const DrawingLists> loadLibraryDrawing(const QString &number, QString *error = nullptr);
std::shared_ptr<const DrawingLists> loadLibraryDrawing(const DrawingStore &store, const QString &number,
                                                       QString *error = nullptr);
// A drawing already loaded, stretched from the whole drawing area into the box (L2,T2)-(R2,B2) of the
// surface; its texts only when withTexts.
void renderDrawing(platform::Surface &Obj, const DrawingLists &drawing, float L2, float T2, float R2, float B2,
                   bool withTexts);

// The length that a text labels: the span, along its axis, that the dimension measures whose
// dimension line passes nearest to the text's anchor, no farther than `reach` drawing units; nothing
// when no dimension line passes that near.
std::optional<float> labelledLength(const DrawingLists &drawing, DrawPoint anchor, float reach = 600);

// A library number as the callers pass it: a whole number (sign allowed) in the 32-bit range,
// blanks around it allowed.
std::optional<qint64> wholeNumber(const QString &text);
// A number for a new library drawing: a whole number from 1 to 2147483647.
std::optional<qint64> drawingNumber(const QString &text);

} // namespace drawing
