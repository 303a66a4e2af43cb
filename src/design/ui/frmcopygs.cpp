#include "frmcopygs.h"

#include "app/maindb.h"
#include "drawing/ui/showpicture.h"
#include "platform/lists.h"
#include "platform/messages.h"
#include "platform/surface_widget.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace design {

namespace {
constexpr int kTagRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;
} // namespace

FrmCopyGS::FrmCopyGS(QWidget *parent) : InputDialogBase(parent)
{
    setObjectName(u"frmCopyGS"_s);
    setWindowTitle(u"选取所要复制的门窗"_s);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(u"Tvw"_s);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::currentIsSelected(m_tree);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setMinimumWidth(220);

    auto *frame = new QGroupBox(this);
    frame->setObjectName(u"Frame1"_s);
    m_preview = new platform::WidgetSurface(frame);
    m_preview->setObjectName(u"PicMC"_s);
    m_preview->setMinimumSize(280, 240);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_preview);

    auto *ok = makeButton(u"OKButton"_s, u"确定"_s);
    auto *cancel = makeButton(u"CancelButton"_s, u"取消"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *top = new QHBoxLayout;
    top->addWidget(m_tree, 1);
    top->addWidget(frame, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(640, 420);

    connect(ok, &QPushButton::clicked, this, &FrmCopyGS::OKButton_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &FrmCopyGS::Tvw_NodeClick);
    connect(m_preview, &platform::WidgetSurface::resized, this, [this] {
        if (!m_previewNumber.isEmpty())
            drawing::ui::ShowMCPicture(m_preview, m_previewNumber);
    });

    LoadCopyMakerNodes();
}

QString FrmCopyGS::nodeTag(const QTreeWidgetItem *node) { return node ? node->data(0, kTagRole).toString() : QString(); }

QTreeWidgetItem *FrmCopyGS::nodeByTag(const QString &tag) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if (nodeTag(*it) == tag)
            return *it;
    return nullptr;
}

namespace {
QTreeWidgetItem *copyNode(const QString &level, qint64 id, const QString &text)
{
    // Every level shows the same closed-folder image.
    static const QIcon closed = QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QString number = QString::number(id);
    auto *node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, kTagRole, level + number);
    node->setData(0, kKeyRole, u"Node"_s + level + number);
    node->setIcon(0, closed);
    return node;
}
} // namespace

void FrmCopyGS::LoadCopyMakerNodes()
{
    TypeStore store;
    const std::optional<QList<TypeTreeMaker>> tree = store.loadTree(TypeStore::TreeOrder::Stored);
    if (!tree) {
        platform::showError(this, u"读取门窗数据出错！\n"_s + store.lastError());
        return;
    }
    for (const TypeTreeMaker &m : *tree) {
        QTreeWidgetItem *node = copyNode(u"1"_s, m.maker.id, m.maker.name);
        m_tree->addTopLevelItem(node);
        LoadCopySeriesNodes(node, m.series);
    }
}

void FrmCopyGS::LoadCopySeriesNodes(QTreeWidgetItem *makerNode, const QList<TypeTreeSeries> &series)
{
    for (const TypeTreeSeries &s : series) {
        QTreeWidgetItem *node = copyNode(u"2"_s, s.series.id, s.series.name);
        makerNode->addChild(node);
        LoadCopyTypeNodes(node, s.types);
    }
}

void FrmCopyGS::LoadCopyTypeNodes(QTreeWidgetItem *seriesNode, const QList<DoorType> &types)
{
    for (const DoorType &t : types)
        seriesNode->addChild(copyNode(u"3"_s, t.id, t.name));
}

void FrmCopyGS::Tvw_NodeClick()
{
    const QTreeWidgetItem *node = platform::selectedItem(m_tree);
    if (!node || app::FirstChar(nodeTag(node)) != u"3")
        return;
    TypeStore store;
    const std::optional<DoorType> type = store.type(app::AfterFirstChar(nodeTag(node)).toLongLong());
    m_previewNumber = type ? type->drawingNumber : QString();
    if (m_previewNumber.isEmpty())
        m_preview->clear();
    else
        drawing::ui::ShowMCPicture(m_preview, m_previewNumber);
}

void FrmCopyGS::OKButton_Click()
{
    const QTreeWidgetItem *node = platform::selectedItem(m_tree);
    if (!node)
        return platform::inform(this, u"你没有选取门窗！请选取门。"_s);
    if (app::FirstChar(nodeTag(node)) != u"3")
        return platform::inform(this, u"你所选的不是门窗！请选取门。"_s);
    m_entered = app::AfterFirstChar(nodeTag(node)).toLongLong();
    accept();
}

std::optional<qint64> FrmCopyGS::ask(QWidget *parent)
{
    FrmCopyGS dialog(parent);
    platform::execDialog(&dialog);
    return dialog.entered();
}

} // namespace design
