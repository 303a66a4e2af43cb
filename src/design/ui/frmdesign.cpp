#include "frmdesign.h"

#include "billlists.h"
#include "frminputmc.h"
#include "frmmcgs.h"
#include "app/maindb.h"
#include "catalogue/ui/dialogs.h"
#include "drawing/cpictire.h"
#include "drawing/ui/showpicture.h"
#include "platform/lists.h"
#include "platform/mdi.h"
#include "platform/messages.h"
#include "platform/surface_widget.h"
#include "typetreewidget.h"

#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace design {

namespace {
constexpr int kTagRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;

const QString kMaker = u"1"_s;
const QString kSeries = u"2"_s;
const QString kType = u"3"_s;

QString levelOf(const QTreeWidgetItem *node) { return app::FirstChar(FrmDesign::nodeTag(node)); }

qint64 idOf(const QTreeWidgetItem *node)
{
    return app::AfterFirstChar(FrmDesign::nodeTag(node)).toLongLong();
}

QPushButton *treeButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QMdiArea *mdiAreaOf(QWidget *w)
{
    for (QWidget *p = w; p; p = p->parentWidget())
        if (auto *sub = qobject_cast<QMdiSubWindow *>(p))
            return sub->mdiArea();
    return nullptr;
}
} // namespace

FrmDesign::FrmDesign(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"FrmDesign"_s);
    setWindowTitle(u"门窗设计"_s);

    m_tree = new TypeTreeWidget(this);
    m_tree->setObjectName(u"Tvw"_s);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::currentIsSelected(m_tree);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setUniformRowHeights(true);

    m_preview = new platform::WidgetSurface(this);
    m_preview->setObjectName(u"Picture2"_s);
    m_preview->setPersistent(true);
    m_preview->setMinimumSize(240, 200);

    auto *panel = new QWidget(this);
    panel->setObjectName(u"Picture1"_s);
    auto *buttons = new QVBoxLayout(panel);
    m_addCJ = treeButton(u"CmdAddCJ"_s, u"新建门窗厂家 "_s, panel);
    m_editCJ = treeButton(u"CmdEditCJ"_s, u"编辑门窗厂家 "_s, panel);
    m_delCJ = treeButton(u"cmdDelCJ"_s, u"删除门窗厂家 "_s, panel);
    m_addXL = treeButton(u"CmdAddXL"_s, u"新建门窗系列"_s, panel);
    m_editXL = treeButton(u"CmdEditXL"_s, u"编辑门窗系列"_s, panel);
    m_delXL = treeButton(u"CmdDelXL"_s, u"删除门窗系列 "_s, panel);
    m_addMC = treeButton(u"CmdAddMC"_s, u"新建门窗"_s, panel);
    m_editMC = treeButton(u"CmdEditMC"_s, u"编辑门窗 "_s, panel);
    m_delMC = treeButton(u"CmdDelMC"_s, u"删除门窗 "_s, panel);
    m_designMC = treeButton(u"CmdDesignMC"_s, u"设计门窗 "_s, panel);
    m_exit = treeButton(u"CmdExit"_s, u"返    回"_s, panel);
    for (QPushButton *b : {m_addCJ, m_editCJ, m_delCJ, m_addXL, m_editXL, m_delXL, m_addMC, m_editMC, m_delMC,
                           m_designMC})
        buttons->addWidget(b);
    setUpTypeTools(panel);
    buttons->addStretch();
    buttons->addWidget(m_exit);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_tree, 3);
    layout->addWidget(m_preview, 2, Qt::AlignTop);
    layout->addWidget(panel);
    resize(900, 560);

    connect(m_addCJ, &QPushButton::clicked, this, &FrmDesign::CmdAddCJ);
    connect(m_editCJ, &QPushButton::clicked, this, &FrmDesign::CmdEditCJ);
    connect(m_delCJ, &QPushButton::clicked, this, &FrmDesign::cmdDelCJ);
    connect(m_addXL, &QPushButton::clicked, this, &FrmDesign::CmdAddXL);
    connect(m_editXL, &QPushButton::clicked, this, &FrmDesign::CmdEditXL);
    connect(m_delXL, &QPushButton::clicked, this, &FrmDesign::CmdDelXL);
    connect(m_addMC, &QPushButton::clicked, this, &FrmDesign::CmdAddMC);
    connect(m_editMC, &QPushButton::clicked, this, &FrmDesign::CmdEditMC);
    connect(m_delMC, &QPushButton::clicked, this, &FrmDesign::CmdDelMC);
    connect(m_designMC, &QPushButton::clicked, this, [this] { CmdDesignMC(); });
    connect(m_exit, &QPushButton::clicked, this, [this] {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
            sub->close();
        else
            close();
    });
    // Mouse, keyboard and code all change the selection through here.
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &FrmDesign::Tvw_NodeClick);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (item && levelOf(item) == kType && item == selectedNode())
            CmdDesignMC();
    });
    connect(m_preview, &platform::WidgetSurface::resized, this, [this] {
        if (!m_previewNumber.isEmpty())
            drawing::ui::ShowMCPicture(m_preview, m_previewNumber);
    });

    LoadMakerNodes();
    Tvw_NodeClick();
}

// --- nodes

QString FrmDesign::nodeTag(const QTreeWidgetItem *node) { return node ? node->data(0, kTagRole).toString() : QString(); }

QString FrmDesign::nodeKey(const QTreeWidgetItem *node) { return node ? node->data(0, kKeyRole).toString() : QString(); }

QTreeWidgetItem *FrmDesign::nodeByTag(const QString &tag) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if (nodeTag(*it) == tag)
            return *it;
    return nullptr;
}

QTreeWidgetItem *FrmDesign::selectedNode() const { return platform::selectedItem(m_tree); }

QTreeWidgetItem *FrmDesign::selectedNodeOfLevel(const QStringList &levels) const
{
    QTreeWidgetItem *node = selectedNode();
    return node && levels.contains(levelOf(node)) ? node : nullptr;
}

QTreeWidgetItem *FrmDesign::makeNode(const QString &level, qint64 id, const QString &text) const
{
    static const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    static const QIcon leaf = style()->standardIcon(QStyle::SP_FileIcon);
    const QString number = QString::number(id);
    auto *node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, kTagRole, level + number);
    node->setData(0, kKeyRole, u"Node"_s + level + number);
    node->setIcon(0, level == kType ? leaf : closed);
    return node;
}

void FrmDesign::insertAfter(QTreeWidgetItem *node, QTreeWidgetItem *sibling)
{
    if (QTreeWidgetItem *parent = sibling->parent())
        parent->insertChild(parent->indexOfChild(sibling) + 1, node);
    else
        m_tree->insertTopLevelItem(m_tree->indexOfTopLevelItem(sibling) + 1, node);
}

// --- loading

void FrmDesign::LoadMakerNodes()
{
    TypeStore store;
    const std::optional<QList<TypeTreeMaker>> tree = store.loadTree();
    if (!tree) {
        reportFailure(u"读取门窗数据出错！"_s, store.lastError());
        return;
    }
    QList<QTreeWidgetItem *> makers;
    for (const TypeTreeMaker &m : *tree) {
        QTreeWidgetItem *node = makeNode(kMaker, m.maker.id, m.maker.name);
        LoadSeriesNodes(node, m.series);
        makers << node;
    }
    m_tree->addTopLevelItems(makers);
}

void FrmDesign::LoadSeriesNodes(QTreeWidgetItem *makerNode, const QList<TypeTreeSeries> &series)
{
    for (const TypeTreeSeries &s : series) {
        QTreeWidgetItem *node = makeNode(kSeries, s.series.id, s.series.name);
        LoadTypeNodes(node, s.types);
        makerNode->addChild(node);
    }
}

void FrmDesign::LoadTypeNodes(QTreeWidgetItem *seriesNode, const QList<DoorType> &types)
{
    for (const DoorType &t : types)
        seriesNode->addChild(makeNode(kType, t.id, t.name));
}

// --- buttons and preview

void FrmDesign::EnableAllButtons(bool on)
{
    for (QPushButton *b : {m_addCJ, m_editCJ, m_delCJ, m_addXL, m_editXL, m_delXL, m_addMC, m_editMC, m_delMC,
                           m_designMC})
        b->setEnabled(on);
}

void FrmDesign::SetButtonState(const QString &level)
{
    EnableAllButtons(false);
    if (level == u"0") {
        m_addCJ->setEnabled(true);
    } else if (level == kMaker) {
        for (QPushButton *b : {m_addCJ, m_editCJ, m_delCJ, m_addXL})
            b->setEnabled(true);
    } else if (level == kSeries) {
        for (QPushButton *b : {m_addXL, m_editXL, m_delXL, m_addMC})
            b->setEnabled(true);
    } else if (level == kType) {
        for (QPushButton *b : {m_addMC, m_editMC, m_delMC, m_designMC})
            b->setEnabled(true);
    }
}

void FrmDesign::Tvw_NodeClick()
{
    const QTreeWidgetItem *node = selectedNode();
    if (!node) {
        // Nothing selected: makers can be added, and the other maker buttons say what is missing.
        SetButtonState(m_tree->topLevelItemCount() == 0 ? u"0"_s : kMaker);
        return;
    }
    const QString level = levelOf(node);
    SetButtonState(level);
    if (level != kType)
        return;
    TypeStore store;
    const std::optional<DoorType> type = store.type(idOf(node));
    m_previewNumber = type ? type->drawingNumber : QString();
    if (m_previewNumber.isEmpty())
        m_preview->clear();
    else
        drawing::ui::ShowMCPicture(m_preview, m_previewNumber); // no drawing under the number: left empty
}

void FrmDesign::reportFailure(const QString &what, const QString &error)
{
    platform::showError(this, error.isEmpty() ? what : what + u'\n' + error);
}

// --- makers

void FrmDesign::CmdAddCJ()
{
    const std::optional<QString> name = catalogue::FrmInputXL::ask(this, u"添加->门窗厂家"_s, u"厂家名称"_s);
    if (!name)
        return;
    TypeStore store;
    const std::optional<qint64> id = store.addMaker(*name);
    if (!id)
        return reportFailure(u"添加门窗厂家出错！"_s, store.lastError());
    QTreeWidgetItem *node = makeNode(kMaker, *id, *name);
    if (QTreeWidgetItem *sibling = selectedNodeOfLevel({kMaker}))
        insertAfter(node, sibling);
    else
        m_tree->addTopLevelItem(node);
    Tvw_NodeClick();
}

void FrmDesign::CmdEditCJ()
{
    QTreeWidgetItem *node = selectedNodeOfLevel({kMaker});
    if (!node)
        return platform::inform(this, u"无选取所要编辑的对象！"_s);
    const std::optional<QString> name =
        catalogue::FrmInputXL::ask(this, u"编辑->门窗厂家"_s, u"厂家名称"_s, node->text(0));
    if (!name)
        return;
    TypeStore store;
    if (!store.renameMaker(idOf(node), *name))
        return reportFailure(u"修改门窗厂家出错！"_s, store.lastError());
    node->setText(0, *name);
}

void FrmDesign::cmdDelCJ()
{
    QTreeWidgetItem *node = selectedNodeOfLevel({kMaker});
    if (!node)
        return platform::inform(this, u"无选取所要删除的对象！"_s);
    if (!askDelete(u"确定要删除该门窗厂家吗？"_s, node))
        return;
    TypeStore store;
    if (!store.deleteMaker(idOf(node)))
        return reportFailure(u"删除门窗厂家出错，数据未作任何改动。"_s, store.lastError());
    removeNode(node);
}

// --- series

void FrmDesign::CmdAddXL()
{
    QTreeWidgetItem *node = selectedNodeOfLevel({kMaker, kSeries});
    if (!node)
        return platform::inform(this, u"无法添加对象！"_s);
    const std::optional<QString> name = catalogue::FrmInputXL::ask(this, u"添加->门窗系列"_s, u"系列名称"_s);
    if (!name)
        return;
    QTreeWidgetItem *makerNode = levelOf(node) == kMaker ? node : node->parent();
    TypeStore store;
    const std::optional<qint64> id = store.addSeries(idOf(makerNode), *name);
    if (!id)
        return reportFailure(u"添加门窗系列出错！"_s, store.lastError());
    QTreeWidgetItem *series = makeNode(kSeries, *id, *name);
    if (node == makerNode)
        makerNode->addChild(series);
    else
        insertAfter(series, node);
    makerNode->setExpanded(true);
    Tvw_NodeClick();
}

void FrmDesign::CmdEditXL()
{
    QTreeWidgetItem *node = selectedNodeOfLevel({kSeries});
    if (!node)
        return platform::inform(this, u"无选取所要编辑的对象！"_s);
    const std::optional<QString> name =
        catalogue::FrmInputXL::ask(this, u"编辑->门窗系列"_s, u"系列名称"_s, node->text(0));
    if (!name)
        return;
    TypeStore store;
    if (!store.renameSeries(idOf(node), *name))
        return reportFailure(u"修改门窗系列出错！"_s, store.lastError());
    node->setText(0, *name);
}

void FrmDesign::CmdDelXL()
{
    QTreeWidgetItem *node = selectedNodeOfLevel({kSeries});
    if (!node)
        return platform::inform(this, u"无选取所要删除的对象！"_s);
    if (!askDelete(u"确定要删除该门窗系列吗？"_s, node))
        return;
    TypeStore store;
    if (!store.deleteSeries(idOf(node)))
        return reportFailure(u"删除门窗系列出错，数据未作任何改动。"_s, store.lastError());
    removeNode(node);
}

// --- types

void FrmDesign::CmdAddMC()
{
    QTreeWidgetItem *node = selectedNodeOfLevel({kSeries, kType});
    if (!node)
        return platform::inform(this, u"无法在当前状态下添加！"_s);
    const std::optional<FrmInputMC::Result> result = FrmInputMC::ask(this, u"添加->门窗"_s);
    if (!result)
        return;
    const std::optional<qint64> drawingNumber = drawing::wholeNumber(result->drawingNumber);
    if (!drawingNumber)
        return reportFailure(u"添加门窗出错！"_s, u"图号不是整数：%1"_s.arg(result->drawingNumber));
    QTreeWidgetItem *seriesNode = levelOf(node) == kSeries ? node : node->parent();
    TypeStore store;
    const std::optional<qint64> id = store.addType(idOf(seriesNode), result->name, *drawingNumber);
    if (!id)
        return reportFailure(u"添加门窗出错！"_s, store.lastError());
    QTreeWidgetItem *type = makeNode(kType, *id, result->name);
    if (node == seriesNode)
        seriesNode->addChild(type);
    else
        insertAfter(type, node);
    seriesNode->setExpanded(true);
    Tvw_NodeClick();
}

void FrmDesign::CmdEditMC()
{
    QTreeWidgetItem *node = selectedNodeOfLevel({kType});
    if (!node)
        return platform::inform(this, u"无选取所要编辑的对象！"_s);
    const qint64 id = idOf(node);
    TypeStore store;
    const std::optional<DoorType> type = store.type(id);
    if (!type)
        return reportFailure(u"读取门窗出错！"_s, store.lastError());
    const std::optional<FrmInputMC::Result> result =
        FrmInputMC::ask(this, u"编辑->门窗"_s, node->text(0), type->drawingNumber, u"门窗名称"_s);
    if (!result)
        return;
    const std::optional<qint64> drawingNumber = drawing::wholeNumber(result->drawingNumber);
    if (!drawingNumber)
        return reportFailure(u"修改门窗出错！"_s, u"图号不是整数：%1"_s.arg(result->drawingNumber));
    if (!store.updateType(id, result->name, *drawingNumber))
        return reportFailure(u"修改门窗出错！"_s, store.lastError());
    node->setText(0, result->name);
    Tvw_NodeClick(); // the preview shows the new drawing
}

void FrmDesign::CmdDelMC()
{
    QTreeWidgetItem *node = selectedNodeOfLevel({kType});
    if (!node)
        return platform::inform(this, u"无选取所要删除的对象！"_s);
    if (!askDelete(u"确定要删除该门窗吗？"_s, node))
        return;
    TypeStore store;
    if (!store.deleteType(idOf(node)))
        return reportFailure(u"删除门窗出错，数据未作任何改动。"_s, store.lastError());
    removeNode(node);
}

bool FrmDesign::askDelete(const QString &question, const QTreeWidgetItem *node)
{
    return platform::confirmDelete(this, question + platform::deletedName(node->text(0), QString::number(idOf(node))));
}

void FrmDesign::removeNode(QTreeWidgetItem *node)
{
    forgetMarksUnder(node);
    {
        // The view would select a neighbour of its own accord; nothing stays selected instead.
        const QSignalBlocker blocker(m_tree);
        delete node;
        m_tree->clearSelection();
        m_tree->setCurrentItem(nullptr);
    }
    m_previewNumber.clear();
    m_preview->clear();
    Tvw_NodeClick();
}

// --- the bill editor

FrmMCGS *FrmDesign::CmdDesignMC()
{
    QTreeWidgetItem *node = selectedNodeOfLevel({kType});
    if (!node)
        return nullptr;
    const qint64 id = idOf(node);
    TypeStore store;
    const std::optional<DoorType> type = store.type(id);
    if (!type) {
        reportFailure(u"读取门窗出错！"_s, store.lastError());
        return nullptr;
    }
    auto *editor = new FrmMCGS(id);
    QString error;
    // A half-read bill must never reach an editor, whose save would then drop the rest.
    if (!LoadMCBillLists(editor->lists(), id, &error)) {
        delete editor;
        reportFailure(u"读取门窗公式出错！"_s, error);
        return nullptr;
    }
    editor->setAttribute(Qt::WA_DeleteOnClose);
    if (QMdiArea *area = mdiAreaOf(this)) {
        platform::addSubWindow(area, editor);
    } else {
        editor->show();
    }
    editor->showDrawing(type->drawingNumber);
    emit billEditorOpened(editor);
    return editor;
}

FrmDesign *showDesignWindow(QMdiArea *area)
{
    static QPointer<FrmDesign> instance;
    return platform::showSingleSubWindow(area, instance);
}

} // namespace design
