// The bill editor's commands that change many rows at once or take rows from another type:
// 单一替换, 同组替换, 复制公式, 查找替换 and 宏替换.
#include "frmmcgs.h"

#include "frmcopygs.h"
#include "replacedialogs.h"
#include "catalogue/ui/browser.h"
#include "design/billtools.h"
#include "platform/lists.h"
#include "platform/messages.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace design {

void FrmMCGS::addToolCommands()
{
    struct Command
    {
        QString name;
        QString caption;
        void (FrmMCGS::*run)();
    };
    const QList<Command> commands = {
        {u"cmdReplace"_s, u"单一替换"_s, &FrmMCGS::cmdReplace},
        {u"CmdReplaceAll"_s, u"同组替换"_s, &FrmMCGS::CmdReplaceAll},
        {u"CmdCopy"_s, u"复制公式"_s, &FrmMCGS::CmdCopy},
        {u"CmdFindReplace"_s, u"查找替换"_s, &FrmMCGS::CmdFindReplace},
        {u"CmdMacroReplace"_s, u"宏替换"_s, &FrmMCGS::CmdMacroReplace},
    };
    // Between 移除全部 and 保存退出.
    int at = m_commands->indexOf(m_removeAll) + 1;
    for (const Command &c : commands) {
        auto *b = new QPushButton(c.caption, m_removeAll->parentWidget());
        b->setObjectName(c.name);
        m_commands->insertWidget(at++, b);
        connect(b, &QPushButton::clicked, this, c.run);
    }
}

void FrmMCGS::cmdReplace() { replaceMaterial(false); }

void FrmMCGS::CmdReplaceAll() { replaceMaterial(true); }

void FrmMCGS::replaceMaterial(bool sameGroup)
{
    const QTreeWidgetItem *pick = m_browser->selectedRow();
    if (!pick)
        return platform::inform(this, u"没有选取所需加入的材料"_s);
    const std::optional<BillKind> kind = billKindOfListKind(m_browser->listKind());
    if (!kind) {
        m_billChanged = true;
        return;
    }
    static const std::array<QString, kBillKindCount> noRow = {
        u"没有选中要替换的型材或无可替换的型材！"_s, u"没有选中要替换的型钢或无可替换的型钢！"_s,
        u"没有选中要替换的板材或无可替换的板材！"_s, u"没有选中要替换的配件或无可替换的配件！"_s};
    // The list of the material's kind, whichever tab is shown.
    QTreeWidget *list = m_lists[size_t(*kind)];
    QTreeWidgetItem *row = platform::selectedItem(list);
    if (!row)
        return platform::inform(this, noRow[size_t(*kind)]);

    const Material material{pick->text(0), pick->text(1), pick->text(2)};
    const int selected = list->indexOfTopLevelItem(row);
    QList<BillRow> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << billRowOf(list, i);
    const QList<int> targets = sameGroup ? sameMaterialRows(*kind, rows, selected) : QList<int>{selected};
    for (int i : targets) {
        BillRow texts = rows[i];
        putMaterial(*kind, texts, material);
        setBillRow(list, i, texts);
    }
    m_billChanged = true;
}

void FrmMCGS::CmdCopy()
{
    const std::optional<qint64> source = FrmCopyGS::ask(this);
    if (!source)
        return;
    QString error;
    // The whole bill is read before any row is appended: a failure leaves the lists as they were.
    if (!LoadMCBillLists(m_lists, *source, &error))
        return platform::showError(this, u"读取门窗公式出错！\n"_s + error);
    m_billChanged = true;
}

void FrmMCGS::CmdFindReplace()
{
    MCBillLists = m_lists;
    FrmFindReplace dialog(this);
    platform::execDialog(&dialog);
    m_billChanged = true;
}

void FrmMCGS::CmdMacroReplace()
{
    MCBillLists = m_lists;
    FrmMacroReplace dialog(this);
    platform::execDialog(&dialog);
    m_billChanged = true;
}

} // namespace design
