#pragma once
// The drawing-file picker: a folder tree, the files of the chosen folder and a preview of the chosen
// file. It returns the chosen file's full path, or empty.
#include "platform/surface_widget.h"

#include <QDialog>

class QFileSystemModel;
class QListWidget;
class QPushButton;
class QTreeView;

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

    // The file confirmed with OK, or empty.
    QString fileName() const { return m_fileName; }
    // Shows the picker modally and returns its file.
    static QString choose(QWidget *parent = nullptr);

private:
    void listFiles();
    QString selectedPath() const;
    void fileSelected();
    void accepted();

    QFileSystemModel *m_dirs = nullptr;
    QString m_folder;
    QString m_fileName;
};

} // namespace drawing::ui
