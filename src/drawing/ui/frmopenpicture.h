#pragma once
// The library chooser: the drawings of the library with a preview; OK returns the chosen drawing's
// number and name.
#include "drawing/cpictire.h"
#include "platform/surface_widget.h"

#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace drawing::ui {

struct PictureChoice
{
    QString number; // as the list shows it
    QString name;
};

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

    // The drawing confirmed with OK, or nullopt.
    std::optional<PictureChoice> choice() const { return m_choice; }
    // Shows a new chooser modally, its delete button hidden unless `canDelete`; the chosen drawing,
    // or nullopt.
    static std::optional<PictureChoice> choose(QWidget *parent = nullptr, bool canDelete = true);

private:
    void LoadPictureList();
    void itemSelected(QTreeWidgetItem *item);
    void numberTyped(const QString &text);
    void deleteSelected();
    void accepted();

    CPictire m_preview;
    std::optional<PictureChoice> m_choice;
};

} // namespace drawing::ui
