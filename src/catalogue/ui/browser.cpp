#include "browser.h"

#include "catalogue/store.h"
#include "app/maindb.h"
#include "platform/lists.h"
#include "platform/messages.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <functional>

using namespace Qt::StringLiterals;

namespace catalogue {

namespace {
constexpr int kTagRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;

// The window's layout measures in twips, 15 to a pixel on a 96-dpi screen.
constexpr int twips(int t) { return (t + 7) / 15; }
constexpr int kPanelMargin = twips(350);  // the panels are this much smaller than the window
constexpr int kButtonStrip = twips(720);  // room under a view for its buttons
constexpr int kListInset = twips(120);    // a view is this much narrower than its panel
constexpr int kEdge = 4;

const QString kMakerKeyPrefix = u"Node1"_s;
const QString kSeriesKeyPrefix = u"Node2"_s;

// The list tells of a double click after it has handled it, so that the row under the mouse is
// already selected (a double click that arrives without its press selects there first).
class ItemList : public QTreeWidget
{
public:
    using QTreeWidget::QTreeWidget;
    std::function<void()> onDoubleClick;

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        QTreeWidget::mouseDoubleClickEvent(event);
        if (onDoubleClick)
            onDoubleClick();
    }
};
} // namespace

CatalogueBrowser::CatalogueBrowser(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"CatalogueBrowser"_s);

    m_treePanel = new QWidget(this);
    m_treePanel->setObjectName(u"Picture1"_s);
    m_listPanel = new QWidget(this);
    m_listPanel->setObjectName(u"Picture2"_s);

    m_tree = new QTreeWidget(m_treePanel);
    m_tree->setObjectName(u"Tvw"_s);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::currentIsSelected(m_tree);
    m_tree->setUniformRowHeights(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->viewport()->installEventFilter(this);

    auto *list = new ItemList(m_listPanel);
    list->onDoubleClick = [this] { lvw_DblClick(); };
    m_list = list;
    m_list->setObjectName(u"lvw"_s);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::currentIsSelected(m_list);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setAllColumnsShowFocus(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setColumnCount(0);

    // A click on a node shows its list, and so does moving to a node with the keyboard; the mouse
    // press that makes a node current is left to the click, so that a click loads once.
    connect(m_tree, &QTreeWidget::itemClicked, this, [this] { Tvw_NodeClick(); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CatalogueBrowser::onCurrentNodeChanged);
}

void CatalogueBrowser::addTreeButton(QAbstractButton *button)
{
    button->setParent(m_treePanel);
    m_treeButtons << button;
    arrange();
}

void CatalogueBrowser::addListButton(QAbstractButton *button)
{
    button->setParent(m_listPanel);
    m_listButtons << button;
    arrange();
}

void CatalogueBrowser::setTreePanelWidth(int pixels)
{
    m_treeWidth = qMax(0, pixels);
    arrange();
}

void CatalogueBrowser::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    arrange();
}

void CatalogueBrowser::arrange()
{
    // Sizes below zero (a window made too small) are clamped instead of failing.
    const int panelHeight = qMax(0, height() - kPanelMargin);
    m_treePanel->setGeometry(kEdge, kEdge, m_treeWidth, panelHeight);
    m_listPanel->setGeometry(kEdge + m_treeWidth + 2 * kEdge, kEdge, qMax(0, width() - m_treeWidth - kPanelMargin),
                             panelHeight);

    const auto place = [](QWidget *panel, QWidget *view, const QList<QAbstractButton *> &buttons) {
        const int strip = buttons.isEmpty() ? 0 : kButtonStrip;
        view->setGeometry(kListInset / 2, 0, qMax(0, panel->width() - kListInset), qMax(0, panel->height() - strip));
        int x = kListInset / 2;
        for (QAbstractButton *b : buttons) {
            const QSize hint = b->sizeHint();
            b->setGeometry(x, panel->height() - strip + (strip - hint.height()) / 2, hint.width(), hint.height());
            x += hint.width() + 6;
        }
    };
    place(m_treePanel, m_tree, m_treeButtons);
    place(m_listPanel, m_list, m_listButtons);
}

// --- loading

QTreeWidgetItem *CatalogueBrowser::makeNode(const QString &text, const QString &tag, const QString &key) const
{
    static const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto *node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, kTagRole, tag);
    node->setData(0, kKeyRole, key);
    node->setIcon(0, closed);
    return node;
}

void CatalogueBrowser::LoadCJTree()
{
    CatalogueStore store;
    if (!store.isOpen())
        return; // no main database: the tree stays empty
    const auto makers = store.makers();
    if (!makers)
        return;
    ++m_quiet;
    for (const Maker &m : *makers) {
        const QString kind = QString::number(m.kind);
        const QString id = QString::number(m.id);
        QTreeWidgetItem *node = makeNode(m.name, app::JoinTrimmed(kind, id), kMakerKeyPrefix + id);
        m_tree->addTopLevelItem(node);
        if (kind == u"1")
            LoadXLNodes(node, m.id);
    }
    --m_quiet;
}

void CatalogueBrowser::LoadXLNodes(QTreeWidgetItem *makerNode, qint64 makerId)
{
    if (!makerNode)
        return;
    CatalogueStore store;
    const auto series = store.seriesOf(makerId);
    if (!series)
        return;
    QList<QTreeWidgetItem *> nodes;
    for (const Series &s : *series) {
        const QString id = QString::number(s.id);
        nodes << makeNode(s.name, app::JoinTrimmed(kSeriesNodeKind, id), kSeriesKeyPrefix + id);
    }
    ++m_quiet;
    makerNode->addChildren(nodes);
    --m_quiet;
}

void CatalogueBrowser::refillTree()
{
    ++m_quiet;
    m_tree->clear();
    --m_quiet;
    LoadCJTree();
}

void CatalogueBrowser::LoadXCList(qint64 seriesId) { loadItemList(ItemKind::Profile, seriesId); }
void CatalogueBrowser::LoadXGList(qint64 makerId) { loadItemList(ItemKind::Steel, makerId); }
void CatalogueBrowser::LoadPCList(qint64 makerId) { loadItemList(ItemKind::Panel, makerId); }
void CatalogueBrowser::LoadPJList(qint64 makerId) { loadItemList(ItemKind::Fitting, makerId); }

void CatalogueBrowser::setListHeaders(const QStringList &headers)
{
    m_list->clear();
    // Dropping the columns first gives the new ones the default width.
    m_list->setColumnCount(0);
    m_list->setColumnCount(int(headers.size()));
    m_list->setHeaderLabels(headers);
}

void CatalogueBrowser::loadItemList(ItemKind kind, qint64 ownerId)
{
    CatalogueStore store;
    const auto items = store.items(kind, ownerId);
    if (!items) {
        // A list without columns has no kind, so nothing can be added to or edited in a list that
        // does not show what the table holds.
        clearList();
        if (store.isOpen())
            platform::showError(this, u"读取材料数据失败：\n"_s + store.lastError());
        return;
    }
    QList<QTreeWidgetItem *> rows;
    rows.reserve(items->size());
    for (const Item &item : *items)
        rows << new QTreeWidgetItem(itemRowTexts(item));
    // One pass with painting suspended: a series may hold thousands of profiles.
    m_list->setUpdatesEnabled(false);
    setListHeaders(itemKindInfo(kind).headers);
    m_list->addTopLevelItems(rows);
    m_list->setUpdatesEnabled(true);
}

void CatalogueBrowser::clearList()
{
    m_list->clear();
    m_list->setColumnCount(0);
}

void CatalogueBrowser::Tvw_NodeClick()
{
    const QTreeWidgetItem *node = selectedNode();
    if (!node)
        return;
    const QString tag = nodeTag(node);
    const QString kind = app::FirstChar(tag);
    bool ok = false;
    const qint64 id = app::AfterFirstChar(tag).toLongLong(&ok);
    if (kind == u"1") {
        clearList();
        return;
    }
    const auto items = itemKindOfNode(kind);
    if (items && ok)
        loadItemList(*items, id);
}

void CatalogueBrowser::onCurrentNodeChanged()
{
    // Only the keyboard: code changes the node quietly, and the mouse ends in a click.
    if (m_quiet > 0 || m_mouseDown)
        return;
    Tvw_NodeClick();
}

void CatalogueBrowser::lvw_DblClick()
{
    if (selectedRow())
        emit itemCommand();
}

// --- activation

void CatalogueBrowser::setRefillOnActivation(bool on)
{
    m_refillOnActivation = on;
    if (on && isVisible())
        watchHostActivation();
}

void CatalogueBrowser::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_refillOnActivation)
        watchHostActivation();
}

void CatalogueBrowser::watchHostActivation()
{
    // An MDI child is activated inside the main window; any other host is a window of its own.
    QWidget *host = window();
    for (QWidget *w = parentWidget(); w; w = w->parentWidget())
        if (qobject_cast<QMdiSubWindow *>(w)) {
            host = w;
            break;
        }
    if (host == m_watchedHost)
        return;
    if (m_watchedHost) {
        m_watchedHost->removeEventFilter(this);
        disconnect(m_watchedHost, nullptr, this, nullptr);
    }
    m_watchedHost = host;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(host)) {
        connect(sub, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates before, Qt::WindowStates now) {
            if (m_refillOnActivation && !(before & Qt::WindowActive) && (now & Qt::WindowActive))
                refillTree();
        });
    } else {
        host->installEventFilter(this);
    }
}

bool CatalogueBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tree->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            m_mouseDown = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_mouseDown = false;
    } else if (watched == m_watchedHost && event->type() == QEvent::WindowActivate && m_refillOnActivation) {
        refillTree();
    }
    return QWidget::eventFilter(watched, event);
}

// --- reading

QTreeWidgetItem *CatalogueBrowser::selectedNode() const { return platform::selectedItem(m_tree); }

QTreeWidgetItem *CatalogueBrowser::selectedRow() const { return platform::selectedItem(m_list); }

bool CatalogueBrowser::hasColumns() const { return m_list->columnCount() > 0; }

QString CatalogueBrowser::listKind() const
{
    return hasColumns() ? m_list->headerItem()->text(0).left(2) : QString();
}

std::optional<ItemKind> CatalogueBrowser::listItemKind() const
{
    if (!hasColumns())
        return std::nullopt;
    return itemKindFromHeader(m_list->headerItem()->text(0));
}

QString CatalogueBrowser::nodeTag(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kTagRole).toString() : QString();
}

QString CatalogueBrowser::nodeKey(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kKeyRole).toString() : QString();
}

QTreeWidgetItem *CatalogueBrowser::nodeByKey(const QString &key) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if (nodeKey(*it) == key)
            return *it;
    return nullptr;
}

// --- changes

void CatalogueBrowser::insertNodeAfter(QTreeWidgetItem *node, QTreeWidgetItem *sibling)
{
    ++m_quiet;
    if (!sibling)
        m_tree->addTopLevelItem(node);
    else if (QTreeWidgetItem *parent = sibling->parent())
        parent->insertChild(parent->indexOfChild(sibling) + 1, node);
    else
        m_tree->insertTopLevelItem(m_tree->indexOfTopLevelItem(sibling) + 1, node);
    --m_quiet;
}

void CatalogueBrowser::appendChildNode(QTreeWidgetItem *parent, QTreeWidgetItem *node)
{
    ++m_quiet;
    parent->addChild(node);
    --m_quiet;
}

void CatalogueBrowser::removeNode(QTreeWidgetItem *node)
{
    ++m_quiet;
    delete node;
    m_tree->clearSelection();
    m_tree->setCurrentItem(nullptr);
    --m_quiet;
}

QTreeWidgetItem *CatalogueBrowser::appendRow(const QStringList &texts)
{
    auto *row = new QTreeWidgetItem(texts);
    m_list->addTopLevelItem(row);
    return row;
}

} // namespace catalogue
