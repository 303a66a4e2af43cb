#pragma once
// A small catalogue and a way to pick from it in the bill editor's browser, for the editor tests.
#include "typedata.h"

#include "catalogue/ui/browser.h"
#include "design/ui/frmmcgs.h"

#include <QTreeWidget>

namespace billeditordata {

using namespace Qt::StringLiterals;

// One maker of each catalogue kind with one item; profiles under series 1 of maker 1.
inline bool fillCatalogue(const QString &fittingUnit)
{
    using typedata::run;
    return run(u"INSERT INTO 材料厂家 (编号, 厂家名称, 厂家类别) VALUES (1, '型材厂', 1), (2, '钢厂', 2), "
               u"(3, '玻璃厂', 3), (4, '五金厂', 4)"_s)
           && run(u"INSERT INTO 型材系列 VALUES (1, 1, '60系列')"_s)
           && run(u"INSERT INTO 型材 (系列编号, 编号, 型材名称, 型材型号) VALUES (1, 1, '框料', '60-01')"_s)
           && run(u"INSERT INTO 型钢 (厂家编号, 编号, 型钢名称, 型钢规格) VALUES (2, 1, '钢衬', 'G-20')"_s)
           && run(u"INSERT INTO 玻璃 (厂家编号, 编号, 玻璃名称, 玻璃长) VALUES (3, 1, '白玻', 2000)"_s)
           && run(u"INSERT INTO 配件 (厂家编号, 编号, 配件名称, 配件规格, 配件单位) VALUES (4, 1, '执手', 'ZS', ?)"_s,
                  {fittingUnit});
}

// Shows the browser's list for a node tag and selects its first row.
inline bool chooseMaterial(design::FrmMCGS &e, const QString &nodeTag)
{
    catalogue::CatalogueBrowser *b = e.browser();
    for (int i = 0; i < b->tree()->topLevelItemCount(); ++i) {
        QTreeWidgetItem *maker = b->tree()->topLevelItem(i);
        QList<QTreeWidgetItem *> nodes{maker};
        for (int c = 0; c < maker->childCount(); ++c)
            nodes << maker->child(c);
        for (QTreeWidgetItem *node : nodes)
            if (catalogue::CatalogueBrowser::nodeTag(node) == nodeTag) {
                b->tree()->setCurrentItem(node);
                b->Tvw_NodeClick();
                b->list()->setCurrentItem(b->list()->topLevelItem(0));
                return b->selectedRow() != nullptr;
            }
    }
    return false;
}

} // namespace billeditordata
