#include "frmdatabase.h"

#include "browser.h"
#include "dialogs.h"
#include "catalogue/numbers.h"
#include "catalogue/store.h"
#include "app/maindb.h"
#include "platform/mdi.h"
#include "platform/messages.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace catalogue {

namespace {
const QStringList kMakerLabels = {u"厂家名称"_s, u"联系电话"_s, u"厂址"_s, u"传真"_s, u"厂家类别"_s};

QString kindOf(const QTreeWidgetItem *node) { return app::FirstChar(CatalogueBrowser::nodeTag(node)); }

std::optional<qint64> idOf(const QTreeWidgetItem *node)
{
    bool ok = false;
    const qint64 id = app::AfterFirstChar(CatalogueBrowser::nodeTag(node)).toLongLong(&ok);
    return ok ? std::optional<qint64>(id) : std::nullopt;
}

QPushButton *button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}
} // namespace

FrmDatabase::FrmDatabase(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"frmDatabase"_s);
    setWindowTitle(u"数据库管理"_s);
    m_browser = new CatalogueBrowser(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);

    const auto add = [this](bool underTree, const QString &name, const QString &caption, void (FrmDatabase::*slot)()) {
        QPushButton *b = button(name, caption, this);
        if (underTree)
            m_browser->addTreeButton(b);
        else
            m_browser->addListButton(b);
        connect(b, &QPushButton::clicked, this, slot);
    };
    add(true, u"CmdAdd1"_s, u"添加 &T"_s, &FrmDatabase::CmdAdd1);
    add(true, u"CmdEdit1"_s, u"编辑 &B"_s, &FrmDatabase::CmdEdit1);
    add(true, u"CmdDel1"_s, u"删除 &S"_s, &FrmDatabase::CmdDel1);
    add(false, u"CmdAdd2"_s, u"添加 &A"_s, &FrmDatabase::CmdAdd2);
    add(false, u"CmdEdit2"_s, u"编辑 &E"_s, &FrmDatabase::CmdEdit2);
    add(false, u"CmdDel2"_s, u"删除 &D"_s, &FrmDatabase::CmdDel2);
    add(false, u"cmdPrice"_s, u"调整价格"_s, &FrmDatabase::cmdPrice);
    connect(m_browser, &CatalogueBrowser::itemCommand, this, &FrmDatabase::CmdEdit2);

    resize(900, 600);
    m_browser->LoadCJTree();
}

void FrmDatabase::reportFailure(const QString &error)
{
    platform::showError(this, u"操作失败，数据未作更改：\n"_s + error);
}

bool FrmDatabase::askDelete(const QString &name, const QString &number)
{
    return platform::confirmDelete(this, u"确认要删除该记录吗？("_s + platform::deletedName(name, number) + u')',
                                   platform::MsgIcon::None);
}

// --- makers and series

void FrmDatabase::CmdAdd1()
{
    QTreeWidgetItem *node = m_browser->selectedNode();
    if (!node)
        return AddCJ(nullptr);
    const QString kind = kindOf(node);
    if (kind == u"1") {
        FrmXLOption option(this);
        platform::execDialog(&option);
        if (XLOptionChoice == 0)
            AddCJ(node);
        else
            AddXL(node);
    } else if (kind == kSeriesNodeKind) {
        AddXL(node);
    } else {
        AddCJ(node);
    }
}

void FrmDatabase::AddCJ(QTreeWidgetItem *node)
{
    const std::optional<Maker> maker =
        FrmInputCJ::ask(this, u"添加->厂家"_s, kMakerLabels, Maker{0, QString(), u"-"_s, u"-"_s, u"-"_s, 0});
    if (!maker)
        return;
    CatalogueStore store;
    const auto id = store.addMaker(*maker);
    if (!id)
        return reportFailure(store.lastError());
    const QString idText = QString::number(*id);
    m_browser->insertNodeAfter(
        m_browser->makeNode(maker->name, app::JoinTrimmed(QString::number(maker->kind), idText), u"Node1"_s + idText),
        node);
}

void FrmDatabase::AddXL(QTreeWidgetItem *node)
{
    const std::optional<QString> name = FrmInputXL::ask(this, u"添加->型材厂家系列"_s, u"系列名称"_s);
    if (!name)
        return;
    const bool onMaker = kindOf(node) == u"1";
    const auto makerId = idOf(onMaker ? node : node->parent());
    if (!makerId)
        return;
    CatalogueStore store;
    const auto id = store.addSeries(*makerId, *name);
    if (!id)
        return reportFailure(store.lastError());
    const QString idText = QString::number(*id);
    QTreeWidgetItem *series =
        m_browser->makeNode(*name, app::JoinTrimmed(kSeriesNodeKind, idText), u"Node2"_s + idText);
    if (onMaker)
        m_browser->appendChildNode(node, series);
    else
        m_browser->insertNodeAfter(series, node);
}

void FrmDatabase::CmdEdit1()
{
    QTreeWidgetItem *node = m_browser->selectedNode();
    if (!node)
        return platform::inform(this, u"无选取所需编辑的对象！"_s);
    if (kindOf(node) == kSeriesNodeKind)
        EditXL(node);
    else
        EditCJ(node);
}

void FrmDatabase::EditCJ(QTreeWidgetItem *node)
{
    const auto id = idOf(node);
    if (!id)
        return;
    CatalogueStore store;
    const auto stored = store.maker(*id);
    if (!stored)
        return reportFailure(store.lastError());
    const std::optional<Maker> typed = FrmInputCJ::ask(this, u"编辑->厂家"_s, kMakerLabels, *stored);
    if (!typed)
        return;
    // The kind chosen in the dialog is not written: a maker keeps its kind and its node its tag.
    Maker changed = *typed;
    changed.kind = stored->kind;
    if (!store.updateMaker(changed))
        return reportFailure(store.lastError());
    node->setText(0, changed.name);
}

void FrmDatabase::EditXL(QTreeWidgetItem *node)
{
    const auto id = idOf(node);
    if (!id)
        return;
    CatalogueStore store;
    const auto stored = store.series(*id);
    if (!stored)
        return reportFailure(store.lastError());
    const std::optional<QString> name = FrmInputXL::ask(this, u"编辑->型材厂家系列"_s, u"系列名称"_s, stored->name);
    if (!name)
        return;
    if (!store.renameSeries(*id, *name))
        return reportFailure(store.lastError());
    node->setText(0, *name);
}

void FrmDatabase::CmdDel1()
{
    QTreeWidgetItem *node = m_browser->selectedNode();
    if (!node)
        return platform::inform(this, u"无选取所要删除的对象！"_s);
    if (askDelete(node->text(0), app::AfterFirstChar(CatalogueBrowser::nodeTag(node))))
        DeleteCJNode(node);
}

void FrmDatabase::DeleteCJNode(QTreeWidgetItem *node)
{
    const auto id = idOf(node);
    if (!id)
        return;
    const QString kind = kindOf(node);
    CatalogueStore store;
    const bool deleted = kind == kSeriesNodeKind ? store.deleteSeries(*id) : store.deleteMaker(*id, kind.toInt());
    if (!deleted)
        return reportFailure(store.lastError());
    m_browser->removeNode(node);
    m_browser->clearList();
}

// --- items

void FrmDatabase::CmdAdd2()
{
    if (!m_browser->hasColumns())
        return platform::inform(this, u"当前状态下不能添加任何数据！"_s);
    const QTreeWidgetItem *node = m_browser->selectedNode();
    if (!node)
        return platform::inform(this, u"没有选取系列或厂家对象无法执行该功能！"_s);
    const QString tag = CatalogueBrowser::nodeTag(node);
    AddCLItem(app::AfterFirstChar(tag), app::FirstChar(tag));
}

void FrmDatabase::AddCLItem(const QString &ownerId, const QString &nodeKind)
{
    const auto kind = itemKindOfNode(nodeKind);
    bool ok = false;
    const qint64 owner = ownerId.toLongLong(&ok);
    if (!kind || !ok)
        return; // a profile maker holds series, not items
    const ItemDialogTexts &texts = itemDialogTexts(*kind);
    const std::optional<QStringList> typed = FrmInputItem::ask(*kind, this, texts.addCaption, texts.defaults);
    if (!typed)
        return;
    const auto values = itemValues(*kind, *typed);
    if (!values)
        return; // the dialog refuses these before OK
    CatalogueStore store;
    const auto id = store.addItem(*kind, owner, *values);
    if (!id)
        return reportFailure(store.lastError());
    // The row shows what a reload would show, so that its texts refill the edit dialog.
    m_browser->appendRow(itemRowTexts(Item{*kind, owner, *id, *values}));
}

void FrmDatabase::CmdEdit2()
{
    if (!m_browser->selectedRow())
        return platform::inform(this, u"无选取选需的编辑对象！"_s);
    EditCLItem();
}

void FrmDatabase::EditCLItem()
{
    QTreeWidgetItem *row = m_browser->selectedRow();
    const auto kind = m_browser->listItemKind();
    if (!row || !kind)
        return;
    const ItemKindInfo &info = itemKindInfo(*kind);
    bool ok = false;
    const qint64 id = row->text(info.idColumn()).toLongLong(&ok);
    if (!ok)
        return;
    CatalogueStore store;
    if (!store.item(*kind, id)) // gone since the list was read
        return reportFailure(store.lastError());
    QStringList shown; // one text per box
    for (int i = 0; i < int(numericFields(*kind).size()); ++i)
        shown << row->text(i);
    const std::optional<QStringList> typed = FrmInputItem::ask(*kind, this, itemDialogTexts(*kind).editCaption, shown);
    if (!typed)
        return;
    const auto values = itemValues(*kind, *typed);
    if (!values)
        return;
    if (!store.updateItem(*kind, id, *values))
        return reportFailure(store.lastError());
    const QStringList fields = itemFieldTexts(*values);
    for (int i = 0; i < fields.size(); ++i)
        row->setText(i, fields[i]);
}

void FrmDatabase::CmdDel2()
{
    QTreeWidgetItem *row = m_browser->selectedRow();
    if (!row)
        return platform::inform(this, u"无选取所要删除的对象！"_s);
    const auto kind = m_browser->listItemKind();
    if (!kind || !askDelete(row->text(0), row->text(itemKindInfo(*kind).idColumn())))
        return;
    bool ok = false;
    const qint64 id = row->text(itemKindInfo(*kind).idColumn()).toLongLong(&ok);
    if (!ok)
        return;
    CatalogueStore store;
    if (!store.deleteItem(*kind, id))
        return reportFailure(store.lastError());
    delete row;
}

// --- prices

void FrmDatabase::cmdPrice()
{
    if (!m_browser->hasColumns())
        return platform::inform(this, u"当前状态下不能调整任何数据！"_s);
    const QTreeWidgetItem *node = m_browser->selectedNode();
    if (!node)
        return;
    const QString kind = kindOf(node);
    const auto id = idOf(node);
    QString caption;
    void (FrmDatabase::*set)(qint64, const QString &) = nullptr;
    if (kind == u"2") {
        caption = u"型钢吨价格"_s;
        set = &FrmDatabase::SetXGPrice;
    } else if (kind == u"3") {
        caption = u"板材平方价格"_s;
        set = &FrmDatabase::SetPCPrice;
    } else if (kind == u"4") {
        caption = u"配件单价"_s;
        set = &FrmDatabase::SetPJPrice;
    } else if (kind == kSeriesNodeKind) {
        caption = u"型材吨价格"_s;
        set = &FrmDatabase::SetXCPrice;
    }
    if (!set || !id)
        return; // a profile maker: prices are set per series
    if (const std::optional<QString> price = FrmPrice::ask(this, caption))
        (this->*set)(*id, *price);
}

void FrmDatabase::SetXCPrice(qint64 seriesId, const QString &price) { setPrices(ItemKind::Profile, seriesId, price); }
void FrmDatabase::SetXGPrice(qint64 makerId, const QString &price) { setPrices(ItemKind::Steel, makerId, price); }
void FrmDatabase::SetPCPrice(qint64 makerId, const QString &price) { setPrices(ItemKind::Panel, makerId, price); }
void FrmDatabase::SetPJPrice(qint64 makerId, const QString &price) { setPrices(ItemKind::Fitting, makerId, price); }

void FrmDatabase::setPrices(ItemKind kind, qint64 ownerId, const QString &price)
{
    const auto value = catalogueNumber(price);
    if (!value)
        return; // the dialog refuses these before OK
    CatalogueStore store;
    if (!store.setPrices(kind, ownerId, *value))
        return reportFailure(store.lastError());
    // The rows' texts refill the edit dialogs, so a stale price would be written back by the next edit.
    m_browser->loadItemList(kind, ownerId);
    platform::inform(this, u"已更新完毕。"_s);
}

// --- the one window

FrmDatabase *showDatabaseWindow(QMdiArea *area)
{
    static QPointer<FrmDatabase> instance;
    return platform::showSingleSubWindow(area, instance);
}

} // namespace catalogue
