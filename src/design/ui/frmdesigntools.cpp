// The type design window's tools around the types: moving and copying them inside the tree (the
// pop-up menu and dragging onto a series) and the formula workbook (export and import).
#include "frmdesign.h"

#include "design/typestore.h"
#include "typetreewidget.h"
#include "app/maindb.h"
#include "design/formulacheck.h"
#include "design/formulasheet.h"
#include "platform/messages.h"
#include "platform/showworkbook.h"
#include "platform/surface_widget.h"
#include "platform/workbook.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace design {

namespace {
const QString kSeriesLevel = u"2"_s;
const QString kTypeLevel = u"3"_s;

QString levelOf(const QTreeWidgetItem *node) { return app::FirstChar(FrmDesign::nodeTag(node)); }
qint64 idOf(const QTreeWidgetItem *node) { return app::AfterFirstChar(FrmDesign::nodeTag(node)).toLongLong(); }

bool isUnder(const QTreeWidgetItem *node, const QTreeWidgetItem *ancestor)
{
    for (; node; node = node->parent())
        if (node == ancestor)
            return true;
    return false;
}

// The drag image: the node's image and text, as the pointer.
QCursor dragCursor(const QTreeWidgetItem *node, const QFont &font)
{
    const QString text = node ? node->text(0) : QString();
    const QFontMetrics metrics(font);
    const int side = 16;
    QPixmap pixmap(side + 4 + metrics.horizontalAdvance(text) + 2, qMax(side, metrics.height()) + 2);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    if (node)
        node->icon(0).paint(&p, QRect(0, 1, side, side));
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(side + 4, 0, pixmap.width() - side - 4, pixmap.height()), Qt::AlignVCenter, text);
    p.end();
    return QCursor(pixmap, 0, 0);
}
} // namespace

void FrmDesign::setUpTypeTools(QWidget *buttonPanel)
{
    auto *layout = qobject_cast<QVBoxLayout *>(buttonPanel->layout());
    m_inputGS = new QPushButton(u"导入公式自Excel"_s, buttonPanel);
    m_inputGS->setObjectName(u"CmdInputGS"_s);
    m_outGS = new QPushButton(u"导出公式到Excel"_s, buttonPanel);
    m_outGS->setObjectName(u"CmdOutGS"_s);
    if (layout) {
        layout->addSpacing(12);
        layout->addWidget(m_inputGS);
        layout->addWidget(m_outGS);
    }
    connect(m_inputGS, &QPushButton::clicked, this, &FrmDesign::CmdInputGS);
    connect(m_outGS, &QPushButton::clicked, this, &FrmDesign::CmdOutGS);

    // The entries of the pop-up menu "功能", which is never on a menu bar.
    auto addEntry = [this](const QString &name, const QString &caption, const QKeySequence &key) {
        auto *a = new QAction(caption, this);
        a->setObjectName(name);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_menuActions << a;
        return a;
    };
    m_mnuCut = addEntry(u"mnuCut"_s, u"剪切"_s, QKeySequence(Qt::CTRL | Qt::Key_X));
    m_mnuCopy = addEntry(u"mnuCopy"_s, u"复制"_s, QKeySequence(Qt::CTRL | Qt::Key_C));
    m_mnuParse = addEntry(u"mnuParse"_s, u"粘贴"_s, QKeySequence(Qt::CTRL | Qt::Key_V));
    m_mnuParse->setEnabled(false);
    for (QAction *a : {addEntry(u"mnuMoveNext"_s, u"下移"_s, QKeySequence(Qt::CTRL | Qt::Key_N)),
                       addEntry(u"mnuMovePrev"_s, u"上移"_s, QKeySequence(Qt::CTRL | Qt::Key_P))})
        a->setVisible(false);
    // The shortcuts work wherever the focus is inside the window.
    addActions({m_mnuCut, m_mnuCopy, m_mnuParse});
    // A right press on the tree must not also ask for the tree's own context menu.
    m_tree->setContextMenuPolicy(Qt::PreventContextMenu);
    connect(m_mnuCut, &QAction::triggered, this, &FrmDesign::mnuCut);
    connect(m_mnuCopy, &QAction::triggered, this, &FrmDesign::mnuCopy);
    connect(m_mnuParse, &QAction::triggered, this, &FrmDesign::mnuParse);

    auto *tree = static_cast<TypeTreeWidget *>(m_tree);
    tree->onPress = [this](Qt::MouseButton button, const QPoint &pos) { Tvw_MouseDown(button, pos); };
    tree->onMove = [this](Qt::MouseButtons buttons, const QPoint &pos) { Tvw_MouseMove(buttons, pos); };
    tree->onRelease = [this](Qt::MouseButton button, const QPoint &) {
        if (button == Qt::LeftButton && m_isDragging)
            Tvw_DragDrop();
    };
}

QMenu *FrmDesign::popupMenu() const { return m_mnuGR; }

QAction *FrmDesign::menuAction(const QString &objectName) const
{
    for (QAction *a : m_menuActions)
        if (a->objectName() == objectName)
            return a;
    return nullptr;
}

// --- marks

void FrmDesign::mnuCut()
{
    const QTreeWidgetItem *node = selectedNode();
    if (!node || levelOf(node) != kTypeLevel)
        return;
    m_clipTag = nodeTag(node);
    m_isCut = true;
    m_mnuParse->setEnabled(true);
}

void FrmDesign::mnuCopy()
{
    const QTreeWidgetItem *node = selectedNode();
    if (!node || levelOf(node) != kTypeLevel)
        return;
    m_clipTag = nodeTag(node);
    m_isCopy = true;
    m_mnuParse->setEnabled(true);
}

void FrmDesign::forgetMarksUnder(const QTreeWidgetItem *node)
{
    if (isUnder(nodeByTag(m_clipTag), node)) {
        m_clipTag.clear();
        m_isCut = m_isCopy = false;
        m_mnuParse->setEnabled(false);
    }
    if (isUnder(nodeByTag(m_dragTag), node)) {
        m_dragTag.clear();
        m_isDragging = false;
    }
    if (isUnder(m_dropNode, node))
        m_dropNode = nullptr;
}

bool FrmDesign::askOkCancel(const QString &question)
{
    return platform::messages().message(this, question, u"提示"_s, platform::MsgIcon::Information,
                                        platform::MsgButtons::OkCancel)
           == platform::MsgAnswer::Ok;
}

std::optional<qint64> FrmDesign::CopyMC(qint64 seriesId, qint64 sourceId)
{
    TypeStore store;
    const std::optional<qint64> id = store.copyType(sourceId, seriesId);
    if (!id)
        reportFailure(u"复制门窗出错，数据未作任何改动。"_s, store.lastError());
    return id;
}

void FrmDesign::mnuParse()
{
    QTreeWidgetItem *target = selectedNode();
    if (!target || nodeTag(target) == m_clipTag || levelOf(target) != kSeriesLevel)
        return;
    QTreeWidgetItem *clip = nodeByTag(m_clipTag);
    if (!clip)
        return;
    if (m_isCut) {
        if (!askOkCancel(u"确认要移动？"_s))
            return;
        TypeStore store;
        if (!store.moveType(idOf(clip), idOf(target)))
            return reportFailure(u"移动门窗出错，数据未作任何改动。"_s, store.lastError());
        // Written: now the node goes, keeping its key, tag and text.
        if (QTreeWidgetItem *parent = clip->parent())
            parent->removeChild(clip);
        target->addChild(clip);
        m_clipTag.clear();
        m_isCut = false;
        m_mnuParse->setEnabled(false);
        return;
    }
    if (m_isCopy) {
        if (!askOkCancel(u"确认要复制？"_s))
            return;
        const std::optional<qint64> id = CopyMC(idOf(target), idOf(clip));
        if (!id)
            return;
        target->addChild(makeNode(kTypeLevel, *id, clip->text(0)));
        m_isCopy = false; // the mark stays on the source
        m_mnuParse->setEnabled(false);
    }
}

// --- the mouse and the drag

QTreeWidgetItem *FrmDesign::nodeUnderPointer(const QPoint &pos) const
{
    // Only the node's own text and image count, not the branch lines and signs beside it.
    QTreeWidgetItem *node = m_tree->itemAt(pos);
    return node && m_tree->visualItemRect(node).contains(pos) ? node : nullptr;
}

void FrmDesign::setDropHighlight(QTreeWidgetItem *node)
{
    if (m_dropNode == node)
        return;
    if (m_dropNode) {
        m_dropNode->setData(0, Qt::BackgroundRole, QVariant());
        m_dropNode->setData(0, Qt::ForegroundRole, QVariant());
    }
    m_dropNode = node;
    if (m_dropNode) {
        m_dropNode->setBackground(0, palette().brush(QPalette::Highlight));
        m_dropNode->setForeground(0, palette().brush(QPalette::HighlightedText));
    }
}

void FrmDesign::Tvw_MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    QTreeWidgetItem *node = nodeUnderPointer(pos);
    if (button == Qt::RightButton) {
        // On empty space the selection stays, and the menu acts on it.
        if (node)
            m_tree->setCurrentItem(node);
        m_tree->setFocus(Qt::MouseFocusReason); // so that the shortcuts reach the window afterwards
        // Made for this one showing: a menu kept between showings would be a window of its own
        // all the time.
        delete m_mnuGR;
        m_mnuGR = new QMenu(u"功能"_s, this);
        m_mnuGR->setObjectName(u"mnuGR"_s);
        m_mnuGR->addActions(m_menuActions);
        connect(m_mnuGR, &QMenu::aboutToHide, m_mnuGR, &QObject::deleteLater);
        m_mnuGR->popup(m_tree->viewport()->mapToGlobal(pos));
    } else {
        if (node) {
            m_tree->setCurrentItem(node);
            m_dragTag = levelOf(node) == kTypeLevel ? nodeTag(node) : QString();
        }
        setDropHighlight(nullptr);
    }
    Tvw_NodeClick();
}

void FrmDesign::Tvw_MouseMove(Qt::MouseButtons buttons, const QPoint &pos)
{
    if (!m_isDragging) {
        if (buttons != Qt::LeftButton || !m_dragTag.startsWith(kTypeLevel) || !nodeByTag(m_dragTag))
            return;
        m_isDragging = true;
        m_tree->viewport()->setCursor(dragCursor(selectedNode(), m_tree->font()));
    }
    Tvw_DragOver(pos);
}

void FrmDesign::Tvw_DragOver(const QPoint &pos)
{
    if (m_isDragging)
        setDropHighlight(nodeUnderPointer(pos));
}

void FrmDesign::endDrag()
{
    setDropHighlight(nullptr);
    m_isDragging = false;
    m_dragTag.clear();
}

void FrmDesign::Tvw_DragDrop()
{
    if (!m_isDragging)
        return;
    m_tree->viewport()->unsetCursor();
    QTreeWidgetItem *target = m_dropNode;
    if (!target) {
        // Dropped beside the nodes or outside the tree: the source stays marked.
        m_isDragging = false;
        return;
    }
    QTreeWidgetItem *source = nodeByTag(m_dragTag);
    if (!source || target == source || levelOf(target) != kSeriesLevel)
        return endDrag();
    const qint64 seriesId = idOf(target);
    const qint64 sourceId = idOf(source);
    const QString text = source->text(0);
    if (askOkCancel(u"确认要复制？"_s))
        if (const std::optional<qint64> id = CopyMC(seriesId, sourceId))
            target->addChild(makeNode(kTypeLevel, *id, text));
    endDrag();
}

// --- the formula workbook

void FrmDesign::CmdOutGS()
{
    setWindowTitle(u"正在导出到Excel中......"_s);
    TypeStore store;
    const std::optional<QList<TypeWithBill>> types = store.loadTypesWithBills();
    if (types)
        platform::showWorkbook(this, formulaWorkbook(*types), u"门窗公式"_s);
    setWindowTitle(u"门窗设计"_s);
    if (!types)
        platform::showError(this, u"读取门窗公式出错：\n"_s + store.lastError());
}

void FrmDesign::CmdInputGS()
{
    const QTreeWidgetItem *series = selectedNode();
    if (!series || levelOf(series) != kSeriesLevel)
        return platform::inform(this, u"当前状态下不能导入公式！必须在系列状态"_s);
    const QString seriesTag = nodeTag(series);
    const QString path = platform::messages().openFileName(
        this, u"导入公式自Excel"_s, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        u"Excel公式表 (*.xlsx)"_s);
    // However the import ends, the caption reads so afterwards.
    const QString endCaption = u"设计门窗"_s;
    if (path.isEmpty())
        return setWindowTitle(endCaption);
    setWindowTitle(u"Excel公式导入正在进行中......"_s);

    QString error;
    const std::optional<platform::CellGrid> grid = platform::readFirstSheet(path, &error, kFormulaSheetArea);
    if (!grid) {
        setWindowTitle(endCaption);
        platform::messages().message(this, u"读取Excel公式表出错！\n"_s + error, u"提示"_s,
                                     platform::MsgIcon::Critical, platform::MsgButtons::Ok);
        return;
    }
    const FormulaSheet sheet = readFormulaSheet(*grid);
    // Only the first sheet is read: a cover sheet in front of the formulas would import nothing.
    if (sheet.types.isEmpty() && !sheet.problem) {
        setWindowTitle(endCaption);
        platform::messages().message(
            this,
            u"工作簿的第一张工作表“%1”中没有门窗公式行，没有导入任何门窗。\n"
            "公式表须是工作簿的第一张工作表，每种门窗从A列为“门窗名称：”的一行开始。"_s.arg(grid->sheetName()),
            u"提示"_s, platform::MsgIcon::Exclamation, platform::MsgButtons::Ok);
        return;
    }
    std::optional<ImportFailure> failure = sheet.problem;
    if (!failure) {
        TypeStore store;
        ImportFailure f;
        if (!store.importTypes(idOf(series), sheet.types, &f))
            failure = f;
    }
    if (failure) {
        setWindowTitle(endCaption);
        const QString where = failure->sourceRow > 0 ? u"第%1行："_s.arg(failure->sourceRow) : QString();
        platform::messages().message(this, u"导入公式出错，没有导入任何门窗。\n"_s + where + failure->message,
                                     u"提示"_s, platform::MsgIcon::Critical, platform::MsgButtons::Ok);
        return;
    }

    // Written: the tree is loaded again from the database.
    setDropHighlight(nullptr);
    m_tree->clear();
    m_previewNumber.clear();
    m_preview->clear();
    LoadMakerNodes();
    SetButtonState(m_tree->topLevelItemCount() == 0 ? u"0"_s : u"1"_s);
    if (QTreeWidgetItem *node = nodeByTag(seriesTag)) {
        if (node->parent())
            node->parent()->setExpanded(true);
        node->setExpanded(true);
    }
    setWindowTitle(endCaption);
    if (const QStringList warnings = importFormulaWarningLines(sheet.types); !warnings.isEmpty())
        platform::messages().message(this, u"公式已导入，但以下公式无法完整计算：\n"_s + warnings.join(u'\n'),
                                     u"提示"_s, platform::MsgIcon::Exclamation, platform::MsgButtons::Ok);
}

} // namespace design
