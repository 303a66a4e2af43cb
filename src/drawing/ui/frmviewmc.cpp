#include "frmviewmc.h"

#include "showpicture.h"
#include "drawing/import.h"
#include "drawing/mcpicture.h"
#include "platform/lists.h"
#include "platform/messages.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace drawing::ui {

namespace {
bool isDrawingFile(const QString &name) { return name.right(3).compare(u".MC"_s, Qt::CaseInsensitive) == 0; }
} // namespace

frmViewMC::frmViewMC(QWidget *parent) : QDialog(parent)
{
    installNotices();
    setObjectName(u"frmViewMC"_s);
    setWindowTitle(u"选择门窗图文件"_s);

    m_dirs = new QFileSystemModel(this);
    m_dirs->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_dirs->setRootPath(QDir::rootPath());
    Dir1 = new QTreeView(this);
    Dir1->setObjectName(u"Dir1"_s);
    Dir1->setModel(m_dirs);
    for (int c = 1; c < m_dirs->columnCount(); ++c)
        Dir1->hideColumn(c);
    Dir1->header()->hide();

    File1 = new QListWidget(this);
    File1->setObjectName(u"File1"_s);
    platform::currentIsSelected(File1);
    PicMC = new platform::WidgetSurface(this);
    PicMC->setObjectName(u"PicMC"_s);
    PicMC->setFixedSize(320, 267);
    OKButton = new QPushButton(u"&Y 确定"_s, this);
    OKButton->setObjectName(u"OKButton"_s);
    CancelButton = new QPushButton(u"&C 取消"_s, this);
    CancelButton->setObjectName(u"CancelButton"_s);

    auto *lists = new QVBoxLayout;
    lists->addWidget(Dir1, 1);
    lists->addWidget(File1, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(PicMC);
    right->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    right->addLayout(buttons);
    auto *main = new QHBoxLayout(this);
    main->addLayout(lists, 1);
    main->addLayout(right);

    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &index) {
        const QString path = m_dirs->filePath(index);
        if (!path.isEmpty() && path != m_folder) {
            m_folder = path;
            listFiles();
        }
    });
    connect(File1, &QListWidget::currentItemChanged, this, &frmViewMC::fileSelected);
    connect(OKButton, &QPushButton::clicked, this, &frmViewMC::accepted);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setFolder(pictureFolder());
}

frmViewMC::~frmViewMC() = default;

void frmViewMC::setFolder(const QString &path)
{
    m_folder = QDir(path).absolutePath();
    const QModelIndex index = m_dirs->index(m_folder);
    if (index.isValid()) {
        const QSignalBlocker block(Dir1->selectionModel());
        Dir1->setCurrentIndex(index);
        Dir1->scrollTo(index);
    }
    listFiles();
}

// Every file of the folder: the extension is tested when a file is chosen.
void frmViewMC::listFiles()
{
    const QSignalBlocker block(File1);
    File1->clear();
    File1->addItems(QDir(m_folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
    PicMC->clear();
}

QString frmViewMC::selectedPath() const
{
    const QListWidgetItem *item = platform::selectedItem(File1);
    return item ? QDir(m_folder).filePath(item->text()) : QString();
}

void frmViewMC::fileSelected()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        PicMC->clear();
    if (path.isEmpty() || !isDrawingFile(path))
        return;
    const auto pic = std::make_unique<MCPicture>();
    PicMC->clear();
    QString err;
    if (pic->OpenFileMC(path, &err))
        pic->OutMC(*PicMC, 0, 0, float(PicMC->width()), float(PicMC->height()));
    else
        platform::showError(this, fileReadFailure(path, err));
}

void frmViewMC::accepted()
{
    const QString path = selectedPath();
    if (path.isEmpty()) {
        platform::inform(this, u"无选取图形文件"_s);
        return;
    }
    if (!isDrawingFile(path)) {
        platform::inform(this, u"无效的图型文件"_s);
        return;
    }
    m_fileName = path;
    accept();
}

QString frmViewMC::choose(QWidget *parent)
{
    frmViewMC dialog(parent);
    platform::execDialog(&dialog);
    return dialog.fileName();
}

} // namespace drawing::ui
