#include "frmdraw.h"

#include "frmopenpicture.h"
#include "frmsavepicex.h"
#include "showpicture.h"
#include "drawing/editor.h"
#include "drawing/import.h"
#include "drawing/notice.h"
#include "drawing/store.h"
#include "platform/mdi.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/printing.h"
#include "platform/surface_widget.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace drawing::ui {

// --- frmInput

frmInput::frmInput(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmInput"_s);
    setWindowTitle(u"输入文字"_s);
    Frame1 = new QGroupBox(u"输入："_s, this);
    Frame1->setObjectName(u"Frame1"_s);
    Label1 = new QLabel(u"输入文字："_s, Frame1);
    Label1->setObjectName(u"Label1"_s);
    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName(u"Text1"_s);
    auto *row = new QHBoxLayout(Frame1);
    row->addWidget(Label1);
    row->addWidget(Text1, 1);

    OKButton = new QPushButton(u"确定"_s, this);
    OKButton->setObjectName(u"OKButton"_s);
    cmdCancel = new QPushButton(u"取消"_s, this);
    cmdCancel->setObjectName(u"cmdCancel"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(cmdCancel);
    auto *main = new QVBoxLayout(this);
    main->addWidget(Frame1);
    main->addLayout(buttons);

    new platform::EnterChain(this, {Text1, OKButton});
    connect(OKButton, &QPushButton::clicked, this, [this] {
        m_text = Text1->text();
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString frmInput::ask()
{
    Text1->clear();
    m_text.clear();
    platform::execDialog(this);
    return m_text;
}

void frmInput::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Text1->setFocus();
}

// --- FrmDraw

namespace {

QPushButton *toolButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus); // the keyboard stays with the command line
    return b;
}

QPointF qp(DrawPoint p) { return {double(p.X), double(p.Y)}; }

const QString kNewCaption = u"文件->新建"_s;
// The editor opens its own drawing files and DXF drawings from CAD programs.
const QString kOpenFilter = u"门窗图及DXF图(*.MC *.mc *.Mc *.mC *.DXF *.dxf *.Dxf);;"_s + kDrawingFileFilter
                          + u";;DXF图(*.DXF *.dxf *.Dxf)"_s;
const QString kCaptionPrefix = u"文件->"_s;

} // namespace

FrmDraw::FrmDraw(QWidget *parent) : QWidget(parent), m_clean(std::make_unique<DrawingLists>())
{
    installNotices();
    setObjectName(u"FrmDraw"_s);
    setWindowTitle(u"绘图"_s);

    Pic = new platform::WidgetSurface(this);
    Pic->setObjectName(u"Pic"_s);
    // The drawing area at 15 twips per pixel; its units stay the drawing area's whatever the size.
    Pic->setLogicalExtent(kAreaWidth, kAreaHeight);
    Pic->setFixedSize(633, 529);
    Pic->setCursor(Qt::BlankCursor); // the cross-hair takes the pointer's place

    TxtCommand = new QLineEdit(this);
    TxtCommand->setObjectName(u"TxtCommand"_s);
    TxtCommand->installEventFilter(this);
    auto *commandLabel = new QLabel(u"命令："_s, this);

    SBAR = new QStatusBar(this);
    SBAR->setObjectName(u"SBAR"_s);
    SBAR->setSizeGripEnabled(false);
    for (size_t i = 0; i < Panels.size(); ++i) {
        Panels[i] = new QLabel(SBAR);
        Panels[i]->setObjectName(u"Panel%1"_s.arg(i + 1));
        Panels[i]->setMinimumWidth(i == 0 ? 260 : 160);
        SBAR->addWidget(Panels[i], i == 0 ? 1 : 0);
    }

    Cmdline = toolButton(this, u"Cmdline"_s, u"直线(命令L)"_s);
    CmdRec = toolButton(this, u"CmdRec"_s, u"矩形(命令R)"_s);
    CmdDir = toolButton(this, u"CmdDir"_s, u"箭头(命令A)"_s);
    CmdDim = toolButton(this, u"CmdDim"_s, u"标注(命令D)"_s);
    CmdString = toolButton(this, u"CmdString"_s, u"单行文字(命令T)"_s);
    CmdArc = toolButton(this, u"CmdArc"_s, u"画弧(命令-)"_s);
    CmdDel = toolButton(this, u"CmdDel"_s, u"删除(命令E)"_s);
    CmdRefresh = toolButton(this, u"CmdRefresh"_s, u"刷新(命令C)"_s);
    CmdRdraw = toolButton(this, u"CmdRdraw"_s, u"重生成(命令Redraw)"_s);
    CmdOpen = toolButton(this, u"CmdOpen"_s, u"打开文件"_s);
    CmdSave = toolButton(this, u"CmdSave"_s, u"保存文件"_s);
    CmdOpenEx = toolButton(this, u"CmdOpenEx"_s, u"打开图库(命令Open)"_s);
    CmdSaveEx = toolButton(this, u"CmdSaveEx"_s, u"保存图库(命令Save)"_s);
    CmdPrint = toolButton(this, u"CmdPrint"_s, u"打印(命令Print)"_s);
    CmdExit = toolButton(this, u"CmdExit"_s, u"退出(命令Q)"_s);

    auto *tools = new QVBoxLayout;
    for (QPushButton *b : {Cmdline, CmdRec, CmdDir, CmdDim, CmdString, CmdArc, CmdDel})
        tools->addWidget(b);
    tools->addSpacing(12);
    for (QPushButton *b : {CmdRefresh, CmdRdraw, CmdOpen, CmdSave, CmdOpenEx, CmdSaveEx, CmdPrint})
        tools->addWidget(b);
    tools->addStretch();
    tools->addWidget(CmdExit);

    auto *top = new QHBoxLayout;
    top->addWidget(Pic, 0, Qt::AlignTop);
    top->addLayout(tools);
    auto *commandRow = new QHBoxLayout;
    commandRow->addWidget(commandLabel);
    commandRow->addWidget(TxtCommand, 1);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(commandRow);
    main->addWidget(SBAR);

    TextForm = new frmInput(this);
    m_pic.SetPicture(Pic);
    m_pic.SetStatu([this](const QString &text) { Panels[0]->setText(text); });
    m_pic.SetTextForm([this] { return TextForm->ask(); });

    connect(Pic, &platform::WidgetSurface::mousePressed, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPointF pos) { PicMouseDown(button, pos); });
    connect(Pic, &platform::WidgetSurface::mouseMoved, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPointF pos) { PicMouseMove(pos); });

    const std::pair<QPushButton *, QString> commands[] = {
        {Cmdline, u"Line"_s}, {CmdRec, u"Rec"_s},       {CmdDir, u"Dir"_s}, {CmdDim, u"Dim"_s},
        {CmdString, u"String"_s}, {CmdArc, u"Arc"_s}, {CmdDel, u"Del"_s},
    };
    for (const auto &[button, name] : commands)
        connect(button, &QPushButton::clicked, this, [this, command = name] { StartCommand(command); });
    connect(CmdRefresh, &QPushButton::clicked, this, &FrmDraw::NewDrawing);
    connect(CmdRdraw, &QPushButton::clicked, this, &FrmDraw::Redraw);
    connect(CmdOpen, &QPushButton::clicked, this, &FrmDraw::OpenDrawingFile);
    connect(CmdSave, &QPushButton::clicked, this, &FrmDraw::SaveDrawingFile);
    connect(CmdOpenEx, &QPushButton::clicked, this, &FrmDraw::OpenLibraryDrawing);
    connect(CmdSaveEx, &QPushButton::clicked, this, &FrmDraw::SaveLibraryDrawing);
    connect(CmdPrint, &QPushButton::clicked, this, &FrmDraw::PrintDrawing);
    connect(CmdExit, &QPushButton::clicked, this, &FrmDraw::CloseWindow);

    m_fileFolder = pictureFolder();
    resize(sizeHint());
    TxtCommand->setFocus();
}

FrmDraw::~FrmDraw()
{
    // The engine keeps plain references to the box and the dialog: drop them before they go.
    m_pic.SetPicture(nullptr);
    m_pic.SetStatu({});
    m_pic.SetTextForm({});
}

bool FrmDraw::hasUnsavedChanges() const { return m_imported || !sameDrawing(m_pic.lists(), *m_clean); }

void FrmDraw::setClean()
{
    *m_clean = m_pic.lists();
    m_imported = false;
}

void FrmDraw::FormActivate()
{
    m_pic.Draw_Gird(kGridColumns, kGridRows);
    m_snapOn = true;
}

bool FrmDraw::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

void FrmDraw::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormActivate();
    TxtCommand->setFocus();
}

DrawPoint FrmDraw::SnapToGrid(DrawPoint p)
{
    const DrawPoint s = drawing::snapToGrid(p, gridStep(Pic->width(), Pic->height()));
    Pic->setCurrentPos(qp(s));
    Pic->setCrossHair(qp(s), 300, true);
    return s;
}

void FrmDraw::PicMouseDown(Qt::MouseButton button, QPointF pos)
{
    DrawPoint p{float(pos.x()), float(pos.y())};
    if (m_snapOn)
        p = SnapToGrid(p);
    m_lastPoint = p;
    const QString running = m_pic.GetCurDraw();
    if (!running.isEmpty())
        m_pic.StepCommand(running, button == Qt::LeftButton ? 0 : 1, p.X, p.Y);
}

void FrmDraw::PicMouseMove(QPointF pos)
{
    const DrawPoint p = SnapToGrid({float(pos.x()), float(pos.y())});
    Panels[1]->setText(coordinateText(p));
    const QString running = m_pic.GetCurDraw();
    if (!running.isEmpty() && running != u"String")
        m_pic.StepCommand(running, 2, p.X, p.Y);
}

void FrmDraw::StartCommand(const QString &name)
{
    // A start sent into a running command would be taken as its next point at (0, 0).
    const QString running = m_pic.GetCurDraw();
    if (!running.isEmpty())
        m_pic.StepCommand(running, 1, 0, 0);
    else if (m_pic.StepNo != 0)
        m_pic.StepCommand(name, 1, 0, 0);
    m_pic.StepCommand(name, 0, 0, 0);
}

void FrmDraw::ExecuteCommand(const QString &text)
{
    const CommandInput in = parseCommandLine(text, m_lastPoint, gridStep(Pic->width(), Pic->height()));
    if (in.kind == CommandInput::Kind::Point) {
        // A typed point goes to the command exactly, unsnapped.
        m_lastPoint = in.point;
        m_snapOn = false;
        PicMouseDown(Qt::LeftButton, qp(in.point));
        m_snapOn = true;
        return;
    }
    if (in.kind != CommandInput::Kind::Command)
        return;
    switch (in.command) {
    case EditorCommand::Line: StartCommand(u"Line"_s); break;
    case EditorCommand::Rec: StartCommand(u"Rec"_s); break;
    case EditorCommand::Dim: StartCommand(u"Dim"_s); break;
    case EditorCommand::Dir: StartCommand(u"Dir"_s); break;
    case EditorCommand::String: StartCommand(u"String"_s); break;
    case EditorCommand::Del: StartCommand(u"Del"_s); break;
    case EditorCommand::Refresh: NewDrawing(); break;
    case EditorCommand::Redraw: Redraw(); break;
    case EditorCommand::OpenLibrary: OpenLibraryDrawing(); break;
    case EditorCommand::SaveLibrary: SaveLibraryDrawing(); break;
    case EditorCommand::Print: PrintDrawing(); break;
    case EditorCommand::Quit: CloseWindow(); break;
    case EditorCommand::Escape: PicMouseDown(Qt::RightButton, QPointF(0, 0)); break;
    }
}

bool FrmDraw::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TxtCommand && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Escape) {
            TxtCommand->clear();
            ExecuteCommand(u"ESC"_s);
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            const QString text = TxtCommand->text();
            TxtCommand->clear();
            ExecuteCommand(text);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FrmDraw::keyPressEvent(QKeyEvent *event)
{
    // Typing anywhere in the window goes to the command line.
    if (event->key() == Qt::Key_Escape) {
        TxtCommand->clear();
        ExecuteCommand(u"ESC"_s);
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace()) {
        TxtCommand->setFocus();
        TxtCommand->setText(text);
        return;
    }
    QWidget::keyPressEvent(event);
}

void FrmDraw::showDrawing()
{
    // A running delete keeps its dashed style for its rubber band, not for the drawing.
    const platform::LineStyle style = Pic->lineStyle();
    Pic->setPersistent(true);
    Pic->setLineStyle(platform::LineStyle::Solid);
    Pic->clear();
    m_pic.PrintPic(*Pic, 0, 0, kAreaWidth, kAreaHeight, 0, 0, kAreaWidth, kAreaHeight);
    m_pic.Draw_Gird(kGridColumns, kGridRows);
    Pic->setLineStyle(style);
}

void FrmDraw::NewDrawing()
{
    m_pic.PicClear();
    m_fromLibrary = false;
    setWindowTitle(kNewCaption);
    setClean();
}

void FrmDraw::Redraw() { showDrawing(); }

bool FrmDraw::OpenDrawingFile()
{
    const QString path = platform::messages().openFileName(this, u"打开文件"_s, m_fileFolder, kOpenFilter);
    if (path.isEmpty())
        return false;
    m_fileFolder = QFileInfo(path).absolutePath();
    const bool dxf = QFileInfo(path).suffix().compare(u"dxf"_s, Qt::CaseInsensitive) == 0;
    QString err;
    // Either way a file that cannot be read leaves the drawing on screen as it was.
    if (!(dxf ? m_pic.InputDXF(path, &err) : m_pic.Open_File(path, &err))) {
        platform::showError(this, fileReadFailure(path, err));
        return false;
    }
    showDrawing();
    if (dxf)
        m_imported = true; // not saved anywhere yet, even when it draws what was there before
    else
        setClean();
    return true;
}

bool FrmDraw::SaveDrawingFile()
{
    QString path = platform::messages().saveFileName(this, u"保存文件"_s, m_fileFolder, kDrawingFileFilter);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += u".MC"_s;
    m_fileFolder = QFileInfo(path).absolutePath();
    if (QFileInfo::exists(path)
        && platform::messages().message(this, u"文件已存在是否覆盖？"_s, u"保存文件"_s, platform::MsgIcon::Question,
                                        platform::MsgButtons::OkCancel)
               != platform::MsgAnswer::Ok)
        return false;
    QString err;
    if (!m_pic.SavePicture(path, &err)) {
        platform::showError(this, u"图形文件保存出错！\n%1\n%2"_s.arg(path, err));
        return false;
    }
    setClean();
    return true;
}

bool FrmDraw::OpenLibraryDrawing()
{
    const std::optional<PictureChoice> chosen = frmOpenPicture::choose(this);
    if (!chosen)
        return false;
    const QString number = chosen->number;
    const QString name = chosen->name;
    // Read whole and merged whole, or the drawing on screen stays as it was and keeps its number.
    CPictire loaded;
    QString err;
    if (!loaded.OpenFileEX(number, &err)) {
        platform::showError(this, u"图库读取出错！\n"_s + err);
        return false;
    }
    const bool wasEmpty = m_pic.isEmpty();
    if (!mergeDrawing(m_pic, loaded, &err)) {
        platform::showError(this, u"图形未能打开：%1\n%2"_s.arg(name, err));
        return false;
    }
    m_libNumber = number;
    m_libName = name;
    setWindowTitle(kCaptionPrefix + name);
    showDrawing();
    m_fromLibrary = true;
    if (wasEmpty)
        setClean();
    return true;
}

bool FrmDraw::SaveLibraryDrawing()
{
    bool isNew = !m_fromLibrary;
    QString err;
    if (!isNew) {
        // The library drawing may have been deleted from the chooser since it was opened.
        const std::optional<qint64> number = wholeNumber(m_libNumber);
        const std::optional<bool> there = number ? DrawingStore().exists(*number, &err) : std::optional<bool>(false);
        if (!there) {
            platform::showError(this, u"图库读取出错！\n"_s + err);
            return false;
        }
        if (!*there) {
            platform::inform(this, u"图库中已没有图形“%1”，请保存为新图形。"_s.arg(m_libName));
            isNew = true;
        }
    }
    QString number, name;
    if (isNew) {
        const std::optional<NewLibraryPicture> picked = frmSavePicEX::ask(this);
        if (!picked)
            return false;
        number = QString::number(picked->number);
        name = picked->name;
        if (!DrawingStore().saveNew(picked->number, name, m_pic.lists(), &err)) {
            platform::showError(this, u"保存图库出错！\n"_s + err);
            return false;
        }
    } else {
        number = m_libNumber;
        name = m_libName;
        if (!m_pic.SaveFileEx(number, name, &err)) {
            platform::showError(this, u"保存图库出错！\n"_s + err);
            return false;
        }
    }
    m_fromLibrary = true;
    m_libNumber = number;
    m_libName = name;
    setWindowTitle(kCaptionPrefix + name);
    setClean();
    return true;
}

bool FrmDraw::PrintDrawing()
{
    if (m_pic.isEmpty()) {
        notice(u"图形为空!"_s, u"#Error"_s, NoticeIcon::Question);
        return false;
    }
    // Straight to the default printer, unscaled; the print dialog where there is none.
    return platform::printOnSurface(this, platform::PrintRoute::DefaultPrinter,
                                    [this](platform::Surface &page) { return m_pic.PrintPicture(page); });
}

void FrmDraw::CloseWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void FrmDraw::closeEvent(QCloseEvent *event)
{
    if (hasUnsavedChanges()) {
        const platform::MsgAnswer answer =
            platform::messages().message(this, u"图形已修改，是否保存到图库？"_s, u"提示"_s,
                                         platform::MsgIcon::Question, platform::MsgButtons::YesNoCancel);
        if (answer == platform::MsgAnswer::Cancel
            || (answer == platform::MsgAnswer::Yes && !SaveLibraryDrawing())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

FrmDraw *showDrawWindow(QMdiArea *area)
{
    static QPointer<FrmDraw> instance;
    const FrmDraw *before = instance.data();
    FrmDraw *editor = platform::showSingleSubWindow(area, instance);
    if (editor != before) {
        // The grid and snapping come back each time the editor becomes the active sub-window.
        auto *sub = qobject_cast<QMdiSubWindow *>(editor->parentWidget());
        QObject::connect(area, &QMdiArea::subWindowActivated, editor, [sub, editor](QMdiSubWindow *w) {
            if (w == sub)
                editor->FormActivate();
        });
    }
    return editor;
}

} // namespace drawing::ui
