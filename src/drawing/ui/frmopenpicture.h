#pragma once
// The library chooser: the drawings of the library with a preview; returns the chosen drawing's
// number in InputResult[0] and its name in InputResult[1], with InputOK set.
#include "drawing/cpictire.h"
#include "drawing/store.h"
#include "platform/surface_widget.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace drawing::ui {

class frmOpenPicture : public QDialog
{
    Q_OBJECT
public:
    explicit frmOpenPicture(QWidget *parent = nullptr);

    QTreeWidget *lvw = nullptr;
    QLineEdit *txtCBN = nullptr;
    platform::WidgetSurface *PicMC = nullptr;
    QPushButton *CmdDel = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

private:
    void LoadPictureList();
    void itemSelected(QTreeWidgetItem *item);
    void numberTyped(const QString &text);
    void deleteSelected();
    void accepted();

    CPictire m_preview;
    DrawingStore m_store;
};

// Shows a new chooser modally; true when a drawing was chosen (InputOK).
bool chooseLibraryPicture(QWidget *parent = nullptr);

} // namespace drawing::ui
