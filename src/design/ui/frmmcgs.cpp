#include "frmmcgs.h"

#include "catalogue/ui/browser.h"
#include "design/formulacheck.h"
#include "drawing/ui/showpicture.h"
#include "platform/lists.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/surface_widget.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace design {

namespace {
struct RowEditorTexts
{
    std::array<QString, 4> labels;
    std::array<bool, 4> keyBoxes; // the columns that name the catalogue material
};

const RowEditorTexts &rowEditorTexts(BillKind kind)
{
    static const std::array<RowEditorTexts, kBillKindCount> texts = {{
        {{u"型材名称"_s, u"型材规格"_s, u"数量公式"_s, u"长度公式"_s}, {false, true, false, false}},
        {{u"型钢名称"_s, u"型钢规格"_s, u"数量公式"_s, u"长度公式"_s}, {false, true, false, false}},
        {{u"板材名称"_s, u"板材数量"_s, u"长公式"_s, u"宽公式"_s}, {true, false, false, false}},
        {{u"配件名称"_s, u"配件规格"_s, u"数量"_s, u"单位"_s}, {true, true, false, false}},
    }};
    return texts[size_t(kind)];
}

const std::array<QString, kBillKindCount> kListNames = {u"LvwXC"_s, u"LvwXG"_s, u"LvwPC"_s, u"LvwPJ"_s};

bool isEnter(const QKeyEvent *key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

QPushButton *commandButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}
} // namespace

FrmMCGS::FrmMCGS(qint64 typeId, QWidget *parent) : QWidget(parent), m_typeId(typeId)
{
    setObjectName(u"FrmMCGS"_s);
    setWindowTitle(u"门窗公式设计"_s);
    buildLayout();
    addToolCommands();
    setRowEditing(false);

    m_browser->setRefillOnActivation(true);
    m_browser->refillTree();
    connect(m_browser, &catalogue::CatalogueBrowser::itemCommand, this, &FrmMCGS::CmdSelect);
    for (BillKind kind : allBillKinds()) {
        QTreeWidget *list = m_lists[size_t(kind)];
        connect(list, &QTreeWidget::itemDoubleClicked, this, [this, list] { editSelectedRow(list); });
        connect(list, &QTreeWidget::itemClicked, this, &FrmMCGS::rowClicked);
    }
    connect(m_select, &QPushButton::clicked, this, &FrmMCGS::CmdSelect);
    connect(m_remove, &QPushButton::clicked, this, &FrmMCGS::CmdRemove);
    connect(m_removeAll, &QPushButton::clicked, this, &FrmMCGS::CmdRemoveAll);
    connect(m_save, &QPushButton::clicked, this, &FrmMCGS::CmdSave);
    connect(m_exit, &QPushButton::clicked, this, &FrmMCGS::CmdExit);
    connect(m_ok, &QPushButton::clicked, this, &FrmMCGS::cmdOK);
    connect(m_cancel, &QPushButton::clicked, this, &FrmMCGS::cmdCancel);
    connect(m_picture, &platform::WidgetSurface::resized, this, [this] { showDrawing(m_drawingNumber); });
}

void FrmMCGS::buildLayout()
{
    // Left: the catalogue browser and the type's drawing.
    m_leftTabs = new QTabWidget(this);
    m_leftTabs->setObjectName(u"SSTab1"_s);
    m_browser = new catalogue::CatalogueBrowser(m_leftTabs);
    m_browser->setTreePanelWidth(160);
    m_leftTabs->addTab(m_browser, u"数据库材料"_s);
    m_pictureTab = new QWidget(m_leftTabs);
    m_picture = new platform::WidgetSurface(m_pictureTab);
    m_picture->setObjectName(u"PicMC"_s);
    m_pictureTab->installEventFilter(this);
    m_leftTabs->addTab(m_pictureTab, u"门窗图"_s);

    // Centre: the commands.
    auto *frame1 = new QWidget(this);
    frame1->setObjectName(u"Frame1"_s);
    m_commands = new QVBoxLayout(frame1);
    m_select = commandButton(u"CmdSelect"_s, u"选入"_s, frame1);
    m_remove = commandButton(u"CmdRemove"_s, u"移除"_s, frame1);
    m_removeAll = commandButton(u"CmdRemoveAll"_s, u"移除全部"_s, frame1);
    m_save = commandButton(u"CmdSave"_s, u"保存退出"_s, frame1);
    m_exit = commandButton(u"CmdExit"_s, u"退出"_s, frame1);
    m_commands->addStretch();
    for (QPushButton *b : {m_select, m_remove, m_removeAll, m_save, m_exit})
        m_commands->addWidget(b);
    m_commands->addStretch();

    // Right: the four bill lists and the row editor.
    m_billTabs = new QTabWidget(this);
    m_billTabs->setObjectName(u"SSTab2"_s);
    for (BillKind kind : allBillKinds()) {
        QTreeWidget *list = makeBillList(kind, kListNames[size_t(kind)], m_billTabs);
        m_lists[size_t(kind)] = list;
        m_billTabs->addTab(list, billTableInfo(kind).caption);
    }

    auto *frame2 = new QGroupBox(this);
    frame2->setObjectName(u"Frame2"_s);
    m_rowEditor = frame2;
    auto *grid = new QGridLayout(frame2);
    for (int i = 0; i < 4; ++i) {
        m_labels[size_t(i)] = new QLabel(frame2);
        m_labels[size_t(i)]->setObjectName(u"Label%1"_s.arg(i + 5));
        m_boxes[size_t(i)] = new QLineEdit(frame2);
        m_boxes[size_t(i)]->setObjectName(u"Text1%1"_s.arg(i));
        m_boxes[size_t(i)]->installEventFilter(this);
        m_labels[size_t(i)]->setBuddy(m_boxes[size_t(i)]);
        grid->addWidget(m_labels[size_t(i)], i, 0);
        grid->addWidget(m_boxes[size_t(i)], i, 1);
    }
    m_ok = commandButton(u"cmdOK"_s, u"&Y 确定"_s, frame2);
    m_cancel = commandButton(u"cmdCancel"_s, u"&C 取消"_s, frame2);
    auto *hint = new QLabel(u"Ctrl+Enter键为复制当前选取的字段"_s, frame2);
    hint->setObjectName(u"lblCopyHint"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(hint, 1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    grid->addLayout(buttons, 4, 0, 1, 2);
    new platform::EnterChain(this, {m_boxes[0], m_boxes[1], m_boxes[2], m_boxes[3], m_ok});

    auto *right = new QVBoxLayout;
    right->addWidget(m_billTabs, 1);
    right->addWidget(frame2);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_leftTabs, 1);
    layout->addWidget(frame1);
    layout->addLayout(right, 1);
    resize(1000, 600);
}

// --- drawing

void FrmMCGS::showDrawing(const QString &number)
{
    m_drawingNumber = number;
    if (number.isEmpty())
        m_picture->clear();
    else
        drawing::ui::ShowMCPicture(m_picture, number);
}

// --- state

bool FrmMCGS::hasUnsavedChanges() const
{
    if (m_billChanged)
        return true;
    if (!m_editedRow || !m_editedList || m_editedList->indexOfTopLevelItem(m_editedRow) < 0)
        return false;
    for (int i = 0; i < 4; ++i)
        if (m_boxes[size_t(i)]->text() != m_editedRow->text(i))
            return true;
    return false;
}

QTreeWidget *FrmMCGS::currentBillList() const
{
    const int index = m_billTabs->currentIndex();
    return index >= 0 && index < kBillKindCount ? m_lists[size_t(index)].data() : nullptr;
}

void FrmMCGS::setRowEditing(bool on)
{
    for (QLineEdit *box : m_boxes) {
        if (!on)
            box->clear();
        box->setEnabled(on);
    }
    m_ok->setEnabled(on);
    m_cancel->setEnabled(on);
    m_select->setEnabled(!on);
    m_remove->setEnabled(!on);
    m_removeAll->setEnabled(!on);
    if (!on) {
        m_editedRow = nullptr;
        m_editedList = nullptr;
    }
}

void FrmMCGS::rowClicked(QTreeWidgetItem *item)
{
    if (item)
        m_clickedRow = {item->text(0), item->text(1), item->text(2), item->text(3)};
}

void FrmMCGS::showRow(BillKind kind, int row)
{
    QTreeWidget *list = m_lists[size_t(kind)];
    m_billTabs->setCurrentIndex(int(kind));
    if (QTreeWidgetItem *item = list->topLevelItem(row)) {
        list->setCurrentItem(item);
        list->scrollToItem(item);
    }
    list->setFocus();
}

// --- commands

void FrmMCGS::CmdSelect()
{
    const QTreeWidgetItem *row = m_browser->selectedRow();
    if (!row) {
        platform::inform(this, u"没有选取所需加入的材料"_s);
        return;
    }
    const QString kind = m_browser->listKind();
    std::optional<BillKind> billKind;
    BillRow texts;
    if (kind == u"型材" || kind == u"型钢") {
        billKind = kind == u"型材" ? BillKind::Profile : BillKind::Steel;
        texts = {row->text(0), row->text(1), QString(), QString()};
    } else if (kind == u"板材") {
        billKind = BillKind::Panel;
        texts = {row->text(0), u"0"_s, QString(), QString()};
    } else if (kind == u"配件") {
        billKind = BillKind::Fitting;
        texts = {row->text(0), row->text(1), u"0"_s, row->text(2)};
    }
    m_billChanged = true;
    if (!billKind)
        return;
    QTreeWidget *list = m_lists[size_t(*billKind)];
    auto *item = new QTreeWidgetItem(QStringList{texts[0], texts[1], texts[2], texts[3]});
    list->addTopLevelItem(item);
    m_billTabs->setCurrentIndex(int(*billKind));
    list->setCurrentItem(item);
    list->scrollToItem(item);
}

void FrmMCGS::CmdRemove()
{
    if (m_editedRow)
        return; // the row under edit stays
    m_billChanged = true;
    QTreeWidget *list = currentBillList();
    QTreeWidgetItem *item = list ? platform::selectedItem(list) : nullptr;
    if (!item) {
        platform::inform(this, u"没有选取所要移除数据"_s);
        return;
    }
    delete item;
}

void FrmMCGS::CmdRemoveAll()
{
    if (m_editedRow)
        return;
    for (QTreeWidget *list : m_lists)
        list->clear();
    m_billChanged = true;
}

void FrmMCGS::editSelectedRow(QTreeWidget *list)
{
    QTreeWidgetItem *item = list ? platform::selectedItem(list) : nullptr;
    if (!item)
        return;
    const int index = int(std::find(m_lists.begin(), m_lists.end(), list) - m_lists.begin());
    if (index >= kBillKindCount)
        return;
    const RowEditorTexts &texts = rowEditorTexts(BillKind(index));
    for (int i = 0; i < 4; ++i) {
        m_labels[size_t(i)]->setText(texts.labels[size_t(i)]);
        m_keyBox[size_t(i)] = texts.keyBoxes[size_t(i)];
        QPalette palette = m_boxes[size_t(i)]->palette();
        palette.setColor(QPalette::Base, m_keyBox[size_t(i)] ? QColor(255, 255, 0) : QColor(Qt::white));
        m_boxes[size_t(i)]->setPalette(palette);
        m_boxes[size_t(i)]->setToolTip(m_keyBox[size_t(i)] ? u"最好不要更改此值！"_s : QString());
    }
    m_editedList = list;
    EditBillRow(item);
}

void FrmMCGS::EditBillRow(QTreeWidgetItem *row)
{
    if (!row)
        return;
    if (!m_editedList)
        m_editedList = row->treeWidget();
    m_editedRow = row;
    setRowEditing(true);
    for (int i = 0; i < 4; ++i)
        m_boxes[size_t(i)]->setText(row->text(i));
    m_boxes[0]->setFocus();
}

void FrmMCGS::cmdOK()
{
    // The row may have gone from its list meanwhile; then there is nothing to write to.
    if (m_editedRow && m_editedList && m_editedList->indexOfTopLevelItem(m_editedRow) >= 0) {
        for (int i = 0; i < 4; ++i)
            m_editedRow->setText(i, m_boxes[size_t(i)]->text());
        m_billChanged = true;
    }
    setRowEditing(false);
}

void FrmMCGS::cmdCancel() { setRowEditing(false); }

bool FrmMCGS::SaveMCBillLists()
{
    if (m_editedRow)
        cmdOK(); // saving means saving what the window shows
    // Formulas the evaluator would read only in part are listed; saving them anyway keeps them as
    // they stand.
    const QList<FormulaWarning> warnings = checkTypeBillFormulas(m_typeId, billFromLists(m_lists));
    if (!warnings.isEmpty()
        && platform::messages().message(this,
                                        u"以下公式无法完整计算：\n"_s + formulaWarningLines(warnings).join(u'\n')
                                            + u"\n\n是否仍然保存？"_s,
                                        u"提示"_s, platform::MsgIcon::Exclamation, platform::MsgButtons::YesNo)
               != platform::MsgAnswer::Yes) {
        showRow(warnings.first().kind, warnings.first().row);
        return false;
    }
    QString error;
    std::optional<BillProblem> problem;
    if (design::SaveMCBillLists(m_lists, m_typeId, &error, &problem)) {
        m_billChanged = false;
        return true;
    }
    if (problem) {
        platform::inform(this, problem->message);
        showRow(problem->kind, problem->row);
    } else {
        platform::messages().message(this, u"系统保存时出错！\n"_s + error, u"提示"_s, platform::MsgIcon::Critical,
                                     platform::MsgButtons::Ok);
    }
    return false;
}

void FrmMCGS::CmdSave()
{
    if (!SaveMCBillLists())
        return;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void FrmMCGS::CmdExit()
{
    // The question is asked by the close itself, whichever way the window is closed.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void FrmMCGS::closeEvent(QCloseEvent *event)
{
    if (hasUnsavedChanges()) {
        const platform::MsgAnswer answer = platform::messages().message(
            this, u"是否要保存？"_s, u"提示？"_s, platform::MsgIcon::Question, platform::MsgButtons::YesNo);
        if (answer == platform::MsgAnswer::Yes && !SaveMCBillLists()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

// --- row editor keys, and the square drawing

int FrmMCGS::boxIndex(QObject *watched) const
{
    for (int i = 0; i < 4; ++i)
        if (watched == m_boxes[size_t(i)])
            return i;
    return -1;
}

bool FrmMCGS::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pictureTab && event->type() == QEvent::Resize) {
        const int side = qMin(m_pictureTab->width(), m_pictureTab->height());
        m_picture->setGeometry(0, 0, side, side);
        return false;
    }
    const int i = boxIndex(watched);
    if (i < 0)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn && m_keyBox[size_t(i)] && i < 3) {
        // The key boxes are not typed into: the focus passes on to the next box.
        platform::focusAndSelect(m_boxes[size_t(i + 1)]);
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (isEnter(key)) {
            const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
            if (mods == Qt::ControlModifier) {
                m_boxes[size_t(i)]->setText(m_clickedRow[3]);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace design
