// The drawing editor driven through its widgets: tool buttons, clicks and moves in the drawing
// box, the command line, the file and library buttons with their dialogs, printing and closing.
#include "../app/fixture.h"
#include "drawingtest.h"
#include "../platform/filelimit.h"
#include "../app/pdftext.h"

#include "drawing/editor.h"
#include "drawing/store.h"
#include "drawing/ui/frmdraw.h"
#include "drawing/ui/frmopenpicture.h"
#include "drawing/ui/frmsavepicex.h"
#include "drawing/ui/showpicture.h"
#include "platform/surface_widget.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>

using namespace Qt::StringLiterals;
using namespace drawing;
using drawing::ui::FrmDraw;
using drawing::ui::frmInput;
using testfixture::rowCount;

namespace {

const GridStep kStep = gridStep(kAreaWidth, kAreaHeight);

// Mouse events on the drawing box, at a pixel of the box.
void mouse(FrmDraw &f, QEvent::Type type, QPoint px, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent ev(type, QPointF(px), f.Pic->mapToGlobal(QPointF(px)), type == QEvent::MouseMove ? Qt::NoButton : button,
                   buttons, Qt::NoModifier);
    QApplication::sendEvent(f.Pic, &ev);
}
void click(FrmDraw &f, QPoint px, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(f, QEvent::MouseButtonPress, px, button);
    mouse(f, QEvent::MouseButtonRelease, px, button);
}
void move(FrmDraw &f, QPoint px) { mouse(f, QEvent::MouseMove, px); }

// Where a click at a pixel lands: 15 units a pixel, snapped down to the grid.
DrawPoint snapped(QPoint px) { return snapToGrid({float(px.x() * 15), float(px.y() * 15)}, kStep); }

// Typed into the command line and ended with Enter.
void type(FrmDraw &f, const QString &text)
{
    QTest::keyClicks(f.TxtCommand, text);
    QTest::keyClick(f.TxtCommand, Qt::Key_Return);
}

QString prompt(const FrmDraw &f) { return f.Panels[0]->text(); }

bool near(DrawPoint a, DrawPoint b) { return drawingtest::near(QPointF(a.X, a.Y), QPointF(b.X, b.Y)); }

bool isBlack(FrmDraw &f, QPoint px) { return QColor(f.Pic->snapshot().pixel(px)) == QColor(Qt::black); }

// The pixel at a drawing point, or one of its neighbours, is drawn.
bool drawnAt(FrmDraw &f, DrawPoint p)
{
    const QImage img = f.Pic->snapshot();
    const QPoint c = f.Pic->toPixels({p.X, p.Y}).toPoint();
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (QColor(img.pixel(c + QPoint(dx, dy))) == QColor(Qt::black))
                return true;
    return false;
}

// Answers the editor's dialogs as a user would.
struct User
{
    QString text;       // typed into the text dialog; empty: cancel
    QString saveName;   // typed into the library save dialog; empty: cancel
    QString saveNumber; // replaces the proposed number when set
    QString openNumber; // chosen in the library chooser; empty: cancel
    QString pdf;        // the print dialog prints here; empty: cancel
    QStringList seen;

    int operator()(QDialog *d)
    {
        seen << d->objectName();
        if (auto *in = qobject_cast<frmInput *>(d)) {
            if (text.isEmpty())
                in->cmdCancel->click();
            else {
                in->Text1->setText(text);
                in->OKButton->click();
            }
        } else if (auto *save = qobject_cast<drawing::ui::frmSavePicEX *>(d)) {
            if (saveName.isEmpty())
                save->CancelButton->click();
            else {
                if (!saveNumber.isEmpty())
                    save->Text2->setText(saveNumber);
                save->Text1->setText(saveName);
                save->OKButton->click();
            }
        } else if (auto *open = qobject_cast<drawing::ui::frmOpenPicture *>(d)) {
            if (openNumber.isEmpty())
                open->CancelButton->click();
            else {
                open->txtCBN->setText(openNumber);
                open->OKButton->click();
            }
        } else if (d->objectName() == u"printDialog") {
            if (pdf.isEmpty())
                return QDialog::Rejected;
            return platform::answerPrintDialog(d, pdf);
        }
        return d->result();
    }
};

void saveToLibrary(qint64 number, const QString &name, const CPictire &pic)
{
    DrawingStore drawings;
    QVERIFY2(drawings.saveNew(number, name, pic.lists()), qPrintable(drawings.lastError()));
}

CPictire &lineAt(CPictire &pic, float y)
{
    pic.AddLine({100, y}, {2000, y});
    return pic;
}

} // namespace

class TstFrmDraw : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void textDialog();
    void aUserDrawsSavesAndReopens();
    void typedPointsGoExactlyWhereSaid();
    void commandWordsAndEscape();
    void typingAnywhereGoesToTheCommandLine();
    void pointerReadoutCrossHairAndRubberBand();
    void toolButtonEndsTheRunningCommand_data();
    void toolButtonEndsTheRunningCommand();
    void rightClickEndsTheTextCommand();
    void failedFileOpenLeavesTheDrawing();
    void failedLibraryOpenLeavesDrawingAndNumber();
    void libraryOpenThatWouldOverflowIsRefused();
    void libraryOpenMergesAndSaveReplaces();
    void fileOpenKeepsTheLibraryNumber();
    void openFileImportsDxf_data();
    void openFileImportsDxf();
    void deletedLibraryDrawingIsSavedAsNew();
    void saveFileAsksBeforeOverwriting();
    void saveOnFullDiskKeepsFileAndChanges();
    void closeAsksWhenUnsaved_data();
    void closeAsksWhenUnsaved();
    void oneWindowInTheMdiArea();
    void printsToDefaultPrinterOrThroughTheDialog_data();
    void printsToDefaultPrinterOrThroughTheDialog();
    void emptyDrawingIsNotPrinted();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
    User m_user;
};

void TstFrmDraw::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    m_user = User();
    m_fx->msgs->onDialog = [this](QDialog *d) { return m_user(d); };
}

void TstFrmDraw::cleanup() { m_fx.reset(); }

void TstFrmDraw::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const char16_t *rows[][2] = {
        {u"Cmdline", u"直线(命令L)"},        {u"CmdRec", u"矩形(命令R)"},
        {u"CmdDir", u"箭头(命令A)"},         {u"CmdDim", u"标注(命令D)"},
        {u"CmdString", u"单行文字(命令T)"},  {u"CmdArc", u"画弧(命令-)"},
        {u"CmdDel", u"删除(命令E)"},         {u"CmdRefresh", u"刷新(命令C)"},
        {u"CmdRdraw", u"重生成(命令Redraw)"}, {u"CmdOpen", u"打开文件"},
        {u"CmdSave", u"保存文件"},           {u"CmdOpenEx", u"打开图库(命令Open)"},
        {u"CmdSaveEx", u"保存图库(命令Save)"}, {u"CmdPrint", u"打印(命令Print)"},
        {u"CmdExit", u"退出(命令Q)"},
    };
    for (const auto &r : rows)
        QTest::addRow("%s", qPrintable(QString::fromUtf16(r[0]))) << QString::fromUtf16(r[0])
                                                                  << QString::fromUtf16(r[1]);
}

void TstFrmDraw::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    FrmDraw f;
    QCOMPARE(f.windowTitle(), u"绘图"_s);
    auto *b = f.findChild<QPushButton *>(name);
    QVERIFY(b);
    QCOMPARE(b->text(), caption);
    QVERIFY(f.findChild<QLineEdit *>(u"TxtCommand"_s));
    QVERIFY(f.findChild<platform::WidgetSurface *>(u"Pic"_s));
    QCOMPARE(f.Pic->width(), 9495.0);
    QCOMPARE(f.Pic->height(), 7935.0);
    for (int i = 1; i <= 3; ++i)
        QVERIFY(f.SBAR->findChild<QLabel *>(u"Panel%1"_s.arg(i)));
}

void TstFrmDraw::textDialog()
{
    frmInput d;
    QCOMPARE(d.windowTitle(), u"输入文字"_s);
    QCOMPARE(d.Frame1->title(), u"输入："_s);
    QCOMPARE(d.Label1->text(), u"输入文字："_s);
    QCOMPARE(d.OKButton->text(), u"确定"_s);
    QCOMPARE(d.cmdCancel->text(), u"取消"_s);

    // Each showing starts empty; OK returns the text as typed, cancel returns nothing.
    m_user.text = u" KH1 "_s;
    d.Text1->setText(u"old"_s);
    QCOMPARE(d.ask(), u" KH1 "_s);
    m_fx->msgs->onDialog = [](QDialog *dlg) {
        auto *in = qobject_cast<frmInput *>(dlg);
        if (!in->Text1->text().isEmpty())
            return -1;
        in->Text1->setText(u"typed, then cancelled"_s);
        in->cmdCancel->click();
        return in->result();
    };
    QVERIFY(d.ask().isEmpty());
}

// Two lines and a text with the mouse and the command line, into the library and back, into a
// file and back.
void TstFrmDraw::aUserDrawsSavesAndReopens()
{
    FrmDraw f;
    f.show();
    QVERIFY(f.SnapOn());

    f.Cmdline->click();
    QCOMPARE(prompt(f), u"请输入第一点"_s);
    const QPoint a(40, 60), b(400, 60);
    click(f, a);
    QCOMPARE(prompt(f), u"请输入下一点"_s);
    click(f, b);
    type(f, u"@0,20"_s); // 20 rows down from b
    click(f, b, Qt::RightButton);
    QCOMPARE(f.picture().GetCurDraw(), QString());
    QCOMPARE(prompt(f), QString());

    const DrawPoint pa = snapped(a), pb = snapped(b);
    const DrawPoint pc{pb.X, pb.Y + 20 * kStep.sy};
    const DrawingLists &l = f.picture().lists();
    QCOMPARE(l.LineLast, qint16(1));
    QCOMPARE(l.LineArr[0], (TwoPoints{pa, pb}));
    QCOMPARE(l.LineArr[1], (TwoPoints{pb, pc}));
    const DrawPoint mid{(pa.X + pb.X) / 2, pa.Y};
    QVERIFY(drawnAt(f, mid)); // the first line on screen

    m_user.text = u"KH1"_s;
    type(f, u"t"_s);
    QCOMPARE(prompt(f), u"输入文字中心坐标"_s);
    click(f, QPoint(200, 200));
    QCOMPARE(m_user.seen, QStringList{u"frmInput"_s});
    QCOMPARE(l.StringLast, qint16(0));
    QCOMPARE(l.StringArr[0], (TextEntity{snapped(QPoint(200, 200)), u"KH1"_s}));
    QVERIFY(f.hasUnsavedChanges());

    // Into the library as a new drawing.
    m_user.saveName = u"平开窗"_s;
    f.CmdSaveEx->click();
    QCOMPARE(m_user.seen.constLast(), u"frmSavePicEX"_s);
    QCOMPARE(rowCount(app::mainDb(), u"图"_s), 1);
    QCOMPARE(rowCount(app::mainDb(), u"Line"_s), 2);
    QCOMPARE(rowCount(app::mainDb(), u"Strings"_s), 1);
    QVERIFY(f.FromLibrary());
    QCOMPARE(f.LibNumber(), u"1"_s);
    QCOMPARE(f.LibName(), u"平开窗"_s);
    QCOMPARE(f.windowTitle(), u"文件->平开窗"_s);
    QVERIFY(!f.hasUnsavedChanges());
    const DrawingLists drawn = l;

    // A new drawing, then the library drawing again.
    f.CmdRefresh->click();
    QVERIFY(f.picture().isEmpty());
    QVERIFY(!f.FromLibrary());
    QCOMPARE(f.windowTitle(), u"文件->新建"_s);
    QVERIFY(!drawnAt(f, mid));
    m_user.openNumber = u"1"_s;
    type(f, u"open"_s);
    QVERIFY(sameDrawing(l, drawn));
    QVERIFY(f.FromLibrary());
    QCOMPARE(f.windowTitle(), u"文件->平开窗"_s);
    QVERIFY(drawnAt(f, mid));
    QVERIFY(!f.hasUnsavedChanges());

    // Into a file and back.
    const QString path = m_fx->dir->filePath(u"door.MC"_s);
    m_fx->msgs->fileNames = {path};
    f.CmdSave->click();
    QVERIFY(QFile::exists(path));
    f.CmdRefresh->click();
    m_fx->msgs->fileNames = {path};
    f.CmdOpen->click();
    // Files keep seven significant digits.
    QCOMPARE(l.LineLast, qint16(1));
    QCOMPARE(l.StringLast, qint16(0));
    for (int i = 0; i < 2; ++i) {
        QVERIFY(near(l.LineArr[size_t(i)].P1, drawn.LineArr[size_t(i)].P1));
        QVERIFY(near(l.LineArr[size_t(i)].P2, drawn.LineArr[size_t(i)].P2));
    }
    QVERIFY(near(l.StringArr[0].P1, drawn.StringArr[0].P1));
    QCOMPARE(l.StringArr[0].text, u"KH1"_s);
    QVERIFY(drawnAt(f, mid));
    QVERIFY(!f.hasUnsavedChanges());
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstFrmDraw::typedPointsGoExactlyWhereSaid()
{
    FrmDraw f;
    f.show();
    type(f, u"L"_s);
    type(f, u"10,20"_s);
    QCOMPARE(f.LastPoint(), (DrawPoint{10 * kStep.sx, 20 * kStep.sy}));
    type(f, u"@5,-2"_s);
    type(f, u"@4<90"_s);
    type(f, u"@3<0"_s);
    QVERIFY(f.SnapOn()); // only typed points go unsnapped
    const DrawPoint p0{10 * kStep.sx, 20 * kStep.sy};
    const DrawPoint p1{p0.X + 5 * kStep.sx, p0.Y - 2 * kStep.sy};
    const DrawPoint p2{p1.X, p1.Y - 4 * kStep.sy}; // straight up: no drift to the right
    const DrawPoint p3{p2.X + 3 * kStep.sx, p2.Y};
    const DrawingLists &l = f.picture().lists();
    QCOMPARE(l.LineLast, qint16(2));
    QCOMPARE(l.LineArr[0], (TwoPoints{p0, p1}));
    QCOMPARE(l.LineArr[1], (TwoPoints{p1, p2}));
    QCOMPARE(l.LineArr[2], (TwoPoints{p2, p3}));

    // A point off the grid is taken as typed; a click after it snaps again.
    type(f, u"2.5,3.5"_s);
    QCOMPARE(l.LineArr[3].P2, (DrawPoint{2.5f * kStep.sx, 3.5f * kStep.sy}));
    click(f, QPoint(301, 301));
    QCOMPARE(l.LineArr[4].P2, snapped(QPoint(301, 301)));
    QCOMPARE(f.LastPoint(), snapped(QPoint(301, 301)));
}

void TstFrmDraw::commandWordsAndEscape()
{
    FrmDraw f;
    f.show();
    type(f, u"  r "_s);
    QCOMPARE(f.picture().GetCurDraw(), u"Rec"_s);
    type(f, u"1,1"_s);
    type(f, u"nonsense"_s); // ignored: the rectangle still waits for its corner
    QCOMPARE(f.picture().StepNo, qint16(2));
    QCOMPARE(f.TxtCommand->text(), QString()); // the line is emptied after each command
    QTest::keyClicks(f.TxtCommand, u"4,"_s);
    QTest::keyClick(f.TxtCommand, Qt::Key_Escape);
    QCOMPARE(f.TxtCommand->text(), QString());
    QCOMPARE(f.picture().GetCurDraw(), QString());
    QCOMPARE(f.LastPoint(), (DrawPoint{0, 0}));
    QVERIFY(f.picture().isEmpty());

    // Space ends a command like Enter.
    QTest::keyClicks(f.TxtCommand, u"D"_s);
    QTest::keyClick(f.TxtCommand, Qt::Key_Space);
    QCOMPARE(f.picture().GetCurDraw(), u"Dim"_s);
    const std::pair<QString, QString> words[] = {
        {u"l"_s, u"Line"_s}, {u"A"_s, u"Dir"_s}, {u"e"_s, u"Del"_s}, {u"T"_s, u"String"_s}};
    for (const auto &[word, command] : words) {
        type(f, word);
        QCOMPARE(f.picture().GetCurDraw(), command);
        QCOMPARE(f.picture().StepNo, qint16(1));
    }
    type(f, u"esc"_s);
    QCOMPARE(f.picture().GetCurDraw(), QString());

    // "C" is a new drawing, "REDRAW" draws it again.
    f.picture().AddLine({0, 1500}, {9000, 1500});
    type(f, u"Redraw"_s);
    QVERIFY(isBlack(f, QPoint(300, 100)));
    type(f, u"c"_s);
    QVERIFY(f.picture().isEmpty());
    QCOMPARE(f.windowTitle(), u"文件->新建"_s);
    QVERIFY(!isBlack(f, QPoint(300, 100)));
}

void TstFrmDraw::typingAnywhereGoesToTheCommandLine()
{
    FrmDraw f;
    f.show();
    f.TxtCommand->clearFocus();
    QTest::keyClick(&f, Qt::Key_L);
    QCOMPARE(f.TxtCommand->text(), u"l"_s);
    QTest::keyClick(f.TxtCommand, Qt::Key_Return);
    QCOMPARE(f.picture().GetCurDraw(), u"Line"_s);
    QTest::keyClick(&f, Qt::Key_Escape);
    QCOMPARE(f.picture().GetCurDraw(), QString());
}

void TstFrmDraw::pointerReadoutCrossHairAndRubberBand()
{
    FrmDraw f;
    f.show();
    QVERIFY(drawnAt(f, {8 * kStep.sx, 8 * kStep.sy})); // a dot of the grid
    move(f, QPoint(80, 64)); // 1200, 960 before snapping
    QCOMPARE(f.Panels[1]->text(), coordinateText(snapped(QPoint(80, 64))));
    QCOMPARE(f.Panels[1]->text(), u" 1186.875, 867.8906"_s);
    // The cross-hair: 300 units (20 pixels) either side of the snapped point.
    const QPointF cross = f.Pic->toPixels({1186.875, 867.8906});
    QVERIFY(isBlack(f, QPoint(int(cross.x()) - 15, int(cross.y()))));
    QVERIFY(isBlack(f, QPoint(int(cross.x()), int(cross.y()) + 15)));
    QVERIFY(f.picture().isEmpty());

    f.Cmdline->click();
    click(f, QPoint(100, 300));
    move(f, QPoint(500, 300));
    QVERIFY(isBlack(f, QPoint(300, snapped(QPoint(100, 300)).Y / 15)));
    QVERIFY(f.picture().isEmpty());
    click(f, QPoint(0, 0), Qt::RightButton); // the band goes with the command
    QVERIFY(!isBlack(f, QPoint(300, snapped(QPoint(100, 300)).Y / 15)));
    QVERIFY(f.picture().isEmpty());
}

void TstFrmDraw::toolButtonEndsTheRunningCommand_data()
{
    QTest::addColumn<QString>("running"); // the button that started the running command
    QTest::addColumn<int>("points");      // clicks before the next button
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("started");
    QTest::addColumn<int>("lines"); // lines the running command had committed
    QTest::newRow("line awaiting its second point, rectangle") << u"Cmdline"_s << 1 << u"CmdRec"_s << u"Rec"_s << 0;
    QTest::newRow("line chain, dimension") << u"Cmdline"_s << 2 << u"CmdDim"_s << u"Dim"_s << 1;
    QTest::newRow("rectangle, line") << u"CmdRec"_s << 1 << u"Cmdline"_s << u"Line"_s << 0;
    QTest::newRow("arrow, arc") << u"CmdDir"_s << 1 << u"CmdArc"_s << u"Arc"_s << 0;
    QTest::newRow("dimension awaiting its offset, arrow") << u"CmdDim"_s << 2 << u"CmdDir"_s << u"Dir"_s << 0;
    QTest::newRow("arc awaiting its direction, text") << u"CmdArc"_s << 2 << u"CmdString"_s << u"String"_s << 0;
    QTest::newRow("text awaiting its point, arc") << u"CmdString"_s << 0 << u"CmdArc"_s << u"Arc"_s << 0;
    QTest::newRow("window delete, rectangle") << u"CmdDel"_s << 1 << u"CmdRec"_s << u"Rec"_s << 0;
    QTest::newRow("same button again") << u"CmdRec"_s << 1 << u"CmdRec"_s << u"Rec"_s << 0;
}

void TstFrmDraw::toolButtonEndsTheRunningCommand()
{
    QFETCH(QString, running);
    QFETCH(int, points);
    QFETCH(QString, button);
    QFETCH(QString, started);
    QFETCH(int, lines);
    FrmDraw f;
    f.show();
    f.findChild<QPushButton *>(running)->click();
    for (int i = 0; i < points; ++i)
        click(f, QPoint(100 + 100 * i, 150 + 50 * i));
    f.findChild<QPushButton *>(button)->click();
    QCOMPARE(f.picture().GetCurDraw(), started);
    QCOMPARE(f.picture().StepNo, qint16(1));
    QCOMPARE(f.Pic->lineStyle(), platform::LineStyle::Solid);
    QCOMPARE(f.picture().last(Kind::Line), qint16(lines - 1));
    for (Kind k : {Kind::Rec, Kind::Dir, Kind::Dim, Kind::String, Kind::Arc})
        QCOMPARE(f.picture().last(k), qint16(-1));
    QVERIFY(m_user.seen.isEmpty());
}

void TstFrmDraw::rightClickEndsTheTextCommand()
{
    FrmDraw f;
    f.show();
    f.CmdString->click();
    click(f, QPoint(50, 50), Qt::RightButton);
    QCOMPARE(f.picture().GetCurDraw(), QString());
    QVERIFY(m_user.seen.isEmpty());
    // A cancelled text dialog adds nothing and ends the command too.
    f.CmdString->click();
    click(f, QPoint(50, 50));
    QCOMPARE(m_user.seen, QStringList{u"frmInput"_s});
    QCOMPARE(f.picture().GetCurDraw(), QString());
    QVERIFY(f.picture().isEmpty());
}

void TstFrmDraw::failedFileOpenLeavesTheDrawing()
{
    FrmDraw f;
    f.show();
    lineAt(f.picture(), 1500);
    f.Redraw();
    const QString bad = m_fx->dir->filePath(u"bad.MC"_s);
    {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Line\r\n 1 \r\n 2 \r\n 3 \r\n 4 \r\nRec\r\n 5 \r\nsix\r\n");
    }
    const QString missing = m_fx->dir->filePath(u"missing.MC"_s);
    for (const QString &path : {bad, missing}) {
        m_fx->msgs->clear();
        m_fx->msgs->fileNames = {path};
        QVERIFY(!f.OpenDrawingFile());
        QCOMPARE(m_fx->msgs->shown.size(), 1);
        QVERIFY2(m_fx->msgs->lastText().startsWith(drawing::ui::fileReadFailure(path, QString()).trimmed()),
                 qPrintable(m_fx->msgs->lastText()));
        QCOMPARE(f.picture().last(Kind::Line), qint16(0));
        QCOMPARE(f.picture().lists().LineArr[0], (TwoPoints{{100, 1500}, {2000, 1500}}));
        QCOMPARE(f.picture().last(Kind::Rec), qint16(-1));
        QVERIFY(isBlack(f, QPoint(50, 100)));
    }
    QCOMPARE(f.windowTitle(), u"绘图"_s);
}

void TstFrmDraw::failedLibraryOpenLeavesDrawingAndNumber()
{
    CPictire one;
    saveToLibrary(1, u"一"_s, lineAt(one, 1500));
    CPictire two;
    two.AddRec({0, 0}, {100, 100});
    saveToLibrary(2, u"二"_s, lineAt(two, 3000));
    // Drawing 2 cannot be read whole: one of its rows has no coordinate.
    QVERIFY(testfixture::exec(app::mainDb(), u"UPDATE \"Line\" SET y2 = NULL WHERE Bn = 2"_s));

    FrmDraw f;
    f.show();
    m_user.openNumber = u"1"_s;
    QVERIFY(f.OpenLibraryDrawing());
    m_user.openNumber = u"2"_s;
    QVERIFY(!f.OpenLibraryDrawing());
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QVERIFY(m_fx->msgs->lastText().startsWith(u"图库读取出错！"_s));
    QCOMPARE(f.LibNumber(), u"1"_s);
    QCOMPARE(f.windowTitle(), u"文件->一"_s);
    QCOMPARE(f.picture().last(Kind::Line), qint16(0));
    QCOMPARE(f.picture().last(Kind::Rec), qint16(-1));
    QVERIFY(!f.hasUnsavedChanges());

    // The next library save goes to drawing 1 with what is on screen; drawing 2 is untouched.
    f.picture().AddLine({0, 0}, {500, 500});
    QVERIFY(f.SaveLibraryDrawing());
    LibraryRows rows;
    QVERIFY(DrawingStore().load(1, &rows));
    QCOMPARE(rows.lines.size(), 2);
    QCOMPARE(rowCount(app::mainDb(), u"Rectangle"_s), 1);
    QCOMPARE(rowCount(app::mainDb(), u"图"_s), 2);
}

void TstFrmDraw::libraryOpenThatWouldOverflowIsRefused()
{
    CPictire lib;
    for (int i = 0; i < 100; ++i)
        lib.AddLine({float(i), 0}, {float(i), 100});
    saveToLibrary(5, u"百线"_s, lib);
    FrmDraw f;
    f.show();
    for (int i = 0; i < 300; ++i)
        f.picture().AddLine({0, float(i)}, {100, float(i)});
    m_user.openNumber = u"5"_s;
    QVERIFY(!f.OpenLibraryDrawing());
    QCOMPARE(m_fx->msgs->shown.size(), 1); // one message, not one per line that does not fit
    QVERIFY(m_fx->msgs->lastText().startsWith(u"图形未能打开：百线"_s));
    QCOMPARE(f.picture().last(Kind::Line), qint16(299));
    QVERIFY(!f.FromLibrary());
    QCOMPARE(f.LibNumber(), QString());
}

void TstFrmDraw::libraryOpenMergesAndSaveReplaces()
{
    CPictire one, two;
    saveToLibrary(1, u"一"_s, lineAt(one, 1500));
    saveToLibrary(2, u"二"_s, lineAt(two, 3000));
    FrmDraw f;
    f.show();
    m_user.openNumber = u"1"_s;
    f.CmdOpenEx->click();
    m_user.openNumber = u"2"_s;
    f.CmdOpenEx->click();
    QCOMPARE(f.picture().last(Kind::Line), qint16(1)); // both on screen
    QVERIFY(isBlack(f, QPoint(50, 100)));
    QVERIFY(isBlack(f, QPoint(50, 200)));
    QCOMPARE(f.LibNumber(), u"2"_s);
    QVERIFY(f.hasUnsavedChanges()); // the two together are stored nowhere

    // Saving again replaces drawing 2's rows and adds no 图 row.
    f.CmdSaveEx->click();
    QVERIFY(m_user.seen.count(u"frmSavePicEX"_s) == 0);
    QCOMPARE(rowCount(app::mainDb(), u"图"_s), 2);
    LibraryRows rows;
    QVERIFY(DrawingStore().load(2, &rows));
    QCOMPARE(rows.lines.size(), 2);
    QVERIFY(!f.hasUnsavedChanges());

    // After a new drawing, only the next one opened.
    f.CmdRefresh->click();
    m_user.openNumber = u"1"_s;
    f.CmdOpenEx->click();
    QCOMPARE(f.picture().last(Kind::Line), qint16(0));
    QVERIFY(!isBlack(f, QPoint(50, 200)));

    // A cancelled chooser opens nothing.
    m_user.openNumber.clear();
    QVERIFY(!f.OpenLibraryDrawing());
    QCOMPARE(f.LibNumber(), u"1"_s);
    QCOMPARE(f.picture().last(Kind::Line), qint16(0));
}

void TstFrmDraw::fileOpenKeepsTheLibraryNumber()
{
    CPictire lib;
    saveToLibrary(7, u"七"_s, lineAt(lib, 1500));
    CPictire file;
    file.AddRec({100, 100}, {900, 900});
    const QString path = m_fx->dir->filePath(u"rec.MC"_s);
    QVERIFY(file.SavePicture(path));

    FrmDraw f;
    f.show();
    m_user.openNumber = u"7"_s;
    f.CmdOpenEx->click();
    m_fx->msgs->fileNames = {path};
    f.CmdOpen->click();
    QVERIFY(f.FromLibrary());
    QCOMPARE(f.LibNumber(), u"7"_s);
    QCOMPARE(f.windowTitle(), u"文件->七"_s);
    QCOMPARE(f.picture().last(Kind::Line), qint16(-1)); // a file replaces the drawing
    type(f, u"SAVE"_s);
    LibraryRows rows;
    QVERIFY(DrawingStore().load(7, &rows));
    QCOMPARE(rows.lines.size(), 0);
    QCOMPARE(rows.recs.size(), 1);
    QCOMPARE(rowCount(app::mainDb(), u"图"_s), 1);
}

namespace {
// A DXF file: group code and value lines, the codes padded with blanks as CAD programs write them.
void writeDxf(const QString &path, const QStringList &entities)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n");
    for (const QString &e : entities)
        file.write(e.toUtf8());
    file.write("  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
}
QString dxfLine(int x1, int y1, int x2, int y2)
{
    return u"  0\r\nLINE\r\n 10\r\n%1\r\n 20\r\n%2\r\n 30\r\n0\r\n 11\r\n%3\r\n 21\r\n%4\r\n"_s.arg(x1).arg(y1).arg(x2).arg(y2);
}
} // namespace

void TstFrmDraw::openFileImportsDxf_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("others"); // entities the import leaves out
    QTest::newRow("upper-case extension") << u"plan.DXF"_s << 2 << QStringList() << QString();
    QTest::newRow("lower-case extension") << u"plan.dxf"_s << 2 << QStringList() << QString();
    // One line more than a drawing holds: the capacity message, and the rest is kept.
    QTest::newRow("too many lines") << u"big.dxf"_s << 362 << QStringList{kCapacityText} << QString();
    QTest::newRow("arcs and texts left out")
        << u"arcs.dxf"_s << 2 << QStringList{u"未导入：ARC 2，TEXT 1"_s}
        << u"  0\r\nARC\r\n 10\r\n5\r\n  0\r\nTEXT\r\n  1\r\n90\xB0\r\n  0\r\nARC\r\n"_s;
}

void TstFrmDraw::openFileImportsDxf()
{
    QFETCH(QString, fileName);
    QFETCH(int, lines);
    QFETCH(QStringList, messages);
    QFETCH(QString, others);
    QStringList entities;
    for (int i = 0; i < lines; ++i)
        entities << dxfLine(100, 1500 + i, 3000, 1500 + i);
    entities << others;
    const QString path = m_fx->dir->filePath(fileName);
    writeDxf(path, entities);

    QMdiArea area;
    area.show();
    QPointer<FrmDraw> f = drawing::ui::showDrawWindow(&area);
    lineAt(f->picture(), 4500); // what was there is replaced
    m_fx->msgs->fileNames = {path};
    f->CmdOpen->click();
    QCOMPARE(m_fx->msgs->texts(), messages);
    QCOMPARE(f->picture().last(Kind::Line), qint16(std::min(lines, 361) - 1));
    QCOMPARE(f->picture().lists().LineArr[0], (TwoPoints{{100, 1500}, {3000, 1500}}));
    QVERIFY(drawnAt(*f, {1500, 1500}));
    QVERIFY(!drawnAt(*f, {1500, 4500}));
    QCOMPARE(f->windowTitle(), u"绘图"_s);

    // Not saved anywhere yet: closing asks.
    QVERIFY(f->hasUnsavedChanges());
    m_fx->msgs->clear();
    m_fx->msgs->answers = {platform::MsgAnswer::Cancel};
    f->CmdExit->click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"图形已修改，是否保存到图库？"_s});
    QVERIFY(f);
}

void TstFrmDraw::deletedLibraryDrawingIsSavedAsNew()
{
    CPictire lib;
    saveToLibrary(3, u"三"_s, lineAt(lib, 1500));
    FrmDraw f;
    f.show();
    m_user.openNumber = u"3"_s;
    f.CmdOpenEx->click();
    QVERIFY(DrawingStore().remove(3));
    m_user.saveName = u"新三"_s;
    QVERIFY(f.SaveLibraryDrawing());
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(m_user.seen.constLast(), u"frmSavePicEX"_s);
    QCOMPARE(f.LibName(), u"新三"_s);
    QList<LibraryEntry> entries;
    QVERIFY(DrawingStore().list(&entries));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].name, u"新三"_s);
    QCOMPARE(QString::number(entries[0].number), f.LibNumber());
    QCOMPARE(rowCount(app::mainDb(), u"Line"_s), 1);
}

void TstFrmDraw::saveFileAsksBeforeOverwriting()
{
    FrmDraw f;
    f.show();
    lineAt(f.picture(), 1500);
    const QString path = m_fx->dir->filePath(u"door.MC"_s);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    m_fx->msgs->fileNames = {path};
    m_fx->msgs->answers = {platform::MsgAnswer::Cancel};
    QVERIFY(!f.SaveDrawingFile());
    QCOMPARE(m_fx->msgs->lastText(), u"文件已存在是否覆盖？"_s);
    QCOMPARE(m_fx->msgs->shown.constLast().title, u"保存文件"_s);
    QCOMPARE(m_fx->msgs->shown.constLast().buttons, platform::MsgButtons::OkCancel);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old"));
    }
    QVERIFY(f.hasUnsavedChanges());

    m_fx->msgs->fileNames = {path};
    m_fx->msgs->answers = {platform::MsgAnswer::Ok};
    QVERIFY(f.SaveDrawingFile());
    CPictire back;
    QVERIFY(back.Open_File(path));
    QCOMPARE(back.last(Kind::Line), qint16(0));
    QVERIFY(!f.hasUnsavedChanges());

    // A name without an extension gets the drawing files' one; a cancelled choice saves nothing.
    m_fx->msgs->clear();
    m_fx->msgs->fileNames = {m_fx->dir->filePath(u"window"_s)};
    QVERIFY(f.SaveDrawingFile());
    QVERIFY(QFile::exists(m_fx->dir->filePath(u"window.MC"_s)));
    QVERIFY(m_fx->msgs->shown.isEmpty());
    QVERIFY(!f.SaveDrawingFile());
}

void TstFrmDraw::saveOnFullDiskKeepsFileAndChanges()
{
    FrmDraw f;
    f.show();
    for (int i = 0; i < 50; ++i)
        lineAt(f.picture(), 1000 + i);
    const QString path = m_fx->dir->filePath(u"door.MC"_s);
    const QByteArray old = "Line\r\n1\r\n2\r\n3\r\n4\r\n";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    m_fx->msgs->fileNames = {path};
    m_fx->msgs->answers = {platform::MsgAnswer::Ok};
    bool saved = true;
    {
        testfixture::FileSizeLimit full(200);
        saved = f.SaveDrawingFile();
    }
    QVERIFY(!saved);
    QVERIFY2(m_fx->msgs->lastText().startsWith(u"图形文件保存出错！"_s) && m_fx->msgs->lastText().contains(path),
             qPrintable(m_fx->msgs->lastText()));
    QVERIFY(f.hasUnsavedChanges());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
}

void TstFrmDraw::closeAsksWhenUnsaved_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("answer"); // -1: no question expected
    QTest::addColumn<QString>("saveName");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("saved"); // 图 rows afterwards
    QTest::newRow("nothing changed") << false << -1 << QString() << true << 0;
    QTest::newRow("changed, no") << true << int(platform::MsgAnswer::No) << QString() << true << 0;
    QTest::newRow("changed, cancel") << true << int(platform::MsgAnswer::Cancel) << QString() << false << 0;
    QTest::newRow("changed, yes") << true << int(platform::MsgAnswer::Yes) << u"门"_s << true << 1;
    QTest::newRow("changed, yes, save cancelled") << true << int(platform::MsgAnswer::Yes) << QString() << false << 0;
}

void TstFrmDraw::closeAsksWhenUnsaved()
{
    QFETCH(bool, changed);
    QFETCH(int, answer);
    QFETCH(QString, saveName);
    QFETCH(bool, closed);
    QFETCH(int, saved);
    QMdiArea area;
    area.show();
    QPointer<FrmDraw> f = drawing::ui::showDrawWindow(&area);
    QVERIFY(f);
    if (changed) {
        type(*f, u"L"_s);
        type(*f, u"1,1"_s);
        type(*f, u"9,9"_s);
        type(*f, u"esc"_s);
    }
    if (answer >= 0)
        m_fx->msgs->answers = {platform::MsgAnswer(answer)};
    m_user.saveName = saveName;
    f->CmdExit->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(m_fx->msgs->shown.size(), answer >= 0 ? 1 : 0);
    if (answer >= 0) {
        QCOMPARE(m_fx->msgs->lastText(), u"图形已修改，是否保存到图库？"_s);
        QCOMPARE(m_fx->msgs->shown.constLast().buttons, platform::MsgButtons::YesNoCancel);
    }
    QCOMPARE(f.isNull(), closed);
    QCOMPARE(area.subWindowList().size(), closed ? 0 : 1);
    QCOMPARE(rowCount(app::mainDb(), u"图"_s), saved);
    if (f) {
        // Typed "q" closes too; answered No this time.
        m_fx->msgs->answers = {platform::MsgAnswer::No};
        type(*f, u"q"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f.isNull());
    }
}

void TstFrmDraw::oneWindowInTheMdiArea()
{
    QMdiArea area;
    area.show();
    FrmDraw *first = drawing::ui::showDrawWindow(&area);
    QVERIFY(first);
    QCOMPARE(area.subWindowList().size(), 1);
    QCOMPARE(area.activeSubWindow()->windowTitle(), u"绘图"_s);
    lineAt(first->picture(), 1500);
    QCOMPARE(drawing::ui::showDrawWindow(&area), first);
    QCOMPARE(area.subWindowList().size(), 1);
    QCOMPARE(first->picture().last(Kind::Line), qint16(0));

    m_fx->msgs->answers = {platform::MsgAnswer::No};
    area.subWindowList().constFirst()->close(); // the frame's own close button asks too
    QCOMPARE(m_fx->msgs->lastText(), u"图形已修改，是否保存到图库？"_s);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(area.subWindowList().size(), 0);
    FrmDraw *second = drawing::ui::showDrawWindow(&area);
    QVERIFY(second);
    QVERIFY(second->picture().isEmpty());
    QCOMPARE(area.subWindowList().size(), 1);
}

// Straight to the default printer where one opens; the print dialog (with its PDF file) where
// there is none or it cannot be opened; a failure there is told.
void TstFrmDraw::printsToDefaultPrinterOrThroughTheDialog_data()
{
    QTest::addColumn<QString>("defaultPrinter"); // "", "opens" or "fails"
    QTest::addColumn<bool>("dialogAnswered");
    QTest::addColumn<QStringList>("dialogs");
    QTest::addColumn<bool>("printed");
    QTest::newRow("default printer") << u"opens"_s << false << QStringList() << true;
    QTest::newRow("no default printer") << QString() << true << QStringList{u"printDialog"_s} << true;
    QTest::newRow("default printer fails, dialog")
        << u"fails"_s << true << QStringList{u"printDialog"_s} << true;
    QTest::newRow("no default printer, dialog cancelled")
        << QString() << false << QStringList{u"printDialog"_s} << false;
    QTest::newRow("default printer fails, dialog cancelled")
        << u"fails"_s << false << QStringList{u"printDialog"_s} << false;
}

void TstFrmDraw::printsToDefaultPrinterOrThroughTheDialog()
{
    QFETCH(QString, defaultPrinter);
    QFETCH(bool, dialogAnswered);
    QFETCH(QStringList, dialogs);
    QFETCH(bool, printed);
    const QString pdf = m_fx->dir->filePath(u"drawing.pdf"_s);
    if (defaultPrinter == u"opens")
        m_fx->msgs->onDefaultPrinter = [pdf](QPrinter *p) { return platform::printToPdf(p, pdf); };
    else if (defaultPrinter == u"fails")
        m_fx->msgs->onDefaultPrinter = [this](QPrinter *p) {
            return platform::printToPdf(p, m_fx->dir->filePath(u"missing/drawing.pdf"_s));
        };
    m_user.pdf = dialogAnswered ? pdf : QString();

    FrmDraw f;
    f.show();
    lineAt(f.picture(), 1500);
    f.picture().AddString({1000, 1000}, u"KH1"_s);
    type(f, u"print"_s);
    QCOMPARE(m_user.seen, dialogs);
    if (!printed) {
        // Giving up in the dialog is the user's choice; a printer that failed is told.
        const QStringList told = defaultPrinter == u"fails" ? QStringList{u"打印出错！请检查打印机是否可用。"_s}
                                                           : QStringList();
        QCOMPARE(m_fx->msgs->texts(), told);
        QVERIFY(!QFileInfo::exists(pdf));
        return;
    }
    QVERIFY2(m_fx->msgs->shown.isEmpty(), qPrintable(m_fx->msgs->lastText()));
    const auto text = testfixture::pdfText(pdf);
    if (!text)
        QSKIP("pdftotext is not installed");
    QVERIFY2(text->contains(u"KH1"_s), qPrintable(*text));
}

void TstFrmDraw::emptyDrawingIsNotPrinted()
{
    FrmDraw f;
    f.show();
    f.CmdPrint->click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"图形为空!"_s});
    QVERIFY(m_user.seen.isEmpty());
}

QTEST_MAIN(TstFrmDraw)
#include "tst_frmdraw.moc"
