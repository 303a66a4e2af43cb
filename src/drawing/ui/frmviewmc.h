#pragma once
// The drawing-file picker: a folder tree, the files of the chosen folder and a preview of the chosen
// file. Its result is ViewMCFileName: the chosen file's full path, or empty.
#include "platform/surface_widget.h"

#include <QDialog>

class QFileSystemModel;
class QListWidget;
class QPushButton;
class QTreeView;

namespace drawing {
extern QString ViewMCFileName;
}

namespace drawing::ui {

class frmViewMC : public QDialog
{
    Q_OBJECT
public:
    explicit frmViewMC(QWidget *parent = nullptr);
    ~frmViewMC() override;

    // Shows a folder: selects it in the tree and lists its files.
    void setFolder(const QString &path);
    QString folder() const { return m_folder; }

    QTreeView *Dir1 = nullptr;
    QListWidget *File1 = nullptr;
    platform::WidgetSurface *PicMC = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

private:
    void listFiles();
    QString selectedPath() const;
    void fileSelected();
    void accepted();
    void cancelled();

    QFileSystemModel *m_dirs = nullptr;
    QString m_folder;
};

// Shows the picker modally and returns ViewMCFileName.
QString chooseDrawingFile(QWidget *parent = nullptr);

} // namespace drawing::ui
