#pragma once
// The drawing editor "绘图": tool buttons and a command line start the interactive commands; the
// drawing box feeds them clicks and mouse moves, snapped to its 81 x 65 grid; further buttons open,
// save and print drawing files and library drawings. One window at a time, modeless in the main
// window's MDI area.
#include "drawing/cpictire.h"

#include <QDialog>
#include <QWidget>
#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QPushButton;
class QStatusBar;

namespace platform {
class WidgetSurface;
}

namespace drawing::ui {

// The text dialog of the text command: it returns the typed text, or empty text when it is
// cancelled.
class frmInput : public QDialog
{
    Q_OBJECT
public:
    explicit frmInput(QWidget *parent = nullptr);
    // Empties the box, then shows the dialog modally; the text confirmed with OK, or empty.
    QString ask();

    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *cmdCancel = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString m_text;
};

class FrmDraw : public QWidget
{
    Q_OBJECT
public:
    explicit FrmDraw(QWidget *parent = nullptr);
    ~FrmDraw() override;

    platform::WidgetSurface *Pic = nullptr;
    QLineEdit *TxtCommand = nullptr;
    QStatusBar *SBAR = nullptr;
    std::array<QLabel *, 3> Panels{}; // 0: prompts, 1: pointer coordinates
    QPushButton *Cmdline = nullptr;
    QPushButton *CmdRec = nullptr;
    QPushButton *CmdDir = nullptr;
    QPushButton *CmdDim = nullptr;
    QPushButton *CmdString = nullptr;
    QPushButton *CmdArc = nullptr;
    QPushButton *CmdDel = nullptr;
    QPushButton *CmdRefresh = nullptr;
    QPushButton *CmdRdraw = nullptr;
    QPushButton *CmdOpen = nullptr;
    QPushButton *CmdSave = nullptr;
    QPushButton *CmdOpenEx = nullptr;
    QPushButton *CmdSaveEx = nullptr;
    QPushButton *CmdPrint = nullptr;
    QPushButton *CmdExit = nullptr;
    frmInput *TextForm = nullptr;

    CPictire &picture() { return m_pic; }
    const CPictire &picture() const { return m_pic; }
    bool FromLibrary() const { return m_fromLibrary; }
    DrawPoint LastPoint() const { return m_lastPoint; }
    bool SnapOn() const { return m_snapOn; }
    QString LibNumber() const { return m_libNumber; }
    QString LibName() const { return m_libName; }
    // The drawing differs from what was last opened, saved or started empty.
    bool hasUnsavedChanges() const;

    // Grid and snapping on: each time the window becomes the active one.
    void FormActivate();
    // A text typed into the command line: a command word or a point.
    void ExecuteCommand(const QString &text);
    // Mouse in the drawing box, in drawing units.
    void PicMouseDown(Qt::MouseButton button, QPointF pos);
    void PicMouseMove(QPointF pos);
    // A tool button: ends the running command first, then starts "Line", "Rec", ... anew.
    void StartCommand(const QString &name);

    // The buttons that act at once; false when nothing was done (cancelled or failed).
    void NewDrawing();
    void Redraw();
    // A drawing file (.MC), or a DXF drawing, which replaces the drawing and leaves it unsaved.
    bool OpenDrawingFile();
    bool SaveDrawingFile();
    bool OpenLibraryDrawing();
    bool SaveLibraryDrawing();
    bool PrintDrawing();
    // Closes the window, or its MDI frame when it has one.
    void CloseWindow();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DrawPoint SnapToGrid(DrawPoint p);
    // The whole drawing on a cleared box, with the grid.
    void showDrawing();
    void setClean();

    CPictire m_pic;
    std::unique_ptr<DrawingLists> m_clean;
    bool m_imported = false; // a DXF drawing came in since the last open, save or new drawing
    bool m_fromLibrary = false;
    DrawPoint m_lastPoint;
    bool m_snapOn = false;
    QString m_libNumber;
    QString m_libName;
    QString m_fileFolder;
};

// Shows the one drawing editor in `area`: made on first use (and after it was closed), brought to
// the front otherwise. Returns it.
FrmDraw *showDrawWindow(QMdiArea *area);

} // namespace drawing::ui
