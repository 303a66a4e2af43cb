#include "frmaddgcmc.h"

#include "common.h"
#include "platform/messages.h"
#include "platform/surface_widget.h"
#include "project/dimensions.h"
#include "project/projectstate.h"
#include "project/projectstore.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace project::ui {

FrmAddGCMC::FrmAddGCMC(QWidget *parent) : LineDialog(u"frmAddGCMC"_s, parent)
{
    auto *top = new QVBoxLayout;
    top->addWidget(Tvw);
    auto *labelButtons = new QVBoxLayout;
    labelButtons->addWidget(CmdChange);
    layOut(top, labelButtons);
    chainFields(CmdAdd);
    resize(900, 620);
    connect(CmdAdd, &QPushButton::clicked, this, &FrmAddGCMC::CmdAdd_Click);
}

bool FrmAddGCMC::prepareAdd(const QString &jobId, QTreeWidget *list, QString *error)
{
    beginAdd(jobId, list);
    for (int i = 1; i < 6; ++i)
        Text1[size_t(i)]->setText(u"0"_s);
    return LoadMCTree(Tvw, error);
}

bool FrmAddGCMC::prepareEdit(QTreeWidget *list, QTreeWidgetItem *row, QString *error)
{
    const JobLine line = beginEdit(list, row, u"编辑门窗"_s);
    CmdAdd->setText(u"确定 &Y"_s);
    // The type of a stored line cannot be changed.
    Tvw->setEnabled(false);
    ProjectStore store;
    const std::optional<QList<NamedDimension>> dims = store.loadDimensions(line.id.toLongLong());
    if (!dims) {
        if (error)
            *error = store.lastError();
        return false;
    }
    // A type that is gone leaves the box empty; its values can still be edited.
    if (const std::optional<QString> number = typeDrawingNumber(line.typeNo.toLongLong()))
        showDrawingNoText(PicMC, *number);
    fillLabelList(LvwBZ, *dims);
    return true;
}

void FrmAddGCMC::Tvw_NodeClick(QTreeWidgetItem *node)
{
    const QString tag = nodeTag(node);
    if (!tag.startsWith(u'3')) {
        m_typeNo = 0;
        LvwBZ->clear();
        return;
    }
    const qint64 typeNo = tag.mid(1).toLongLong();
    Text1[0]->setText(node->text(0));
    // A type that cannot be read leaves no drawing, no labels and no type to store.
    m_typeNo = 0;
    LvwBZ->clear();
    const std::optional<QString> number = typeDrawingNumber(typeNo);
    if (!number || number->isEmpty()) {
        PicMC->clear();
        // A type without a drawing is a line without named dimensions.
        if (number)
            m_typeNo = typeNo;
        return;
    }
    const std::optional<QList<NamedDimension>> dims = showDrawingNoText(PicMC, *number);
    if (!dims)
        return;
    fillLabelList(LvwBZ, *dims);
    m_typeNo = typeNo;
}

bool FrmAddGCMC::CheckInput()
{
    return checkLineFields(this, Text1);
}

void FrmAddGCMC::CmdAdd_Click()
{
    if (!CheckInput())
        return;
    const LineFields fields = typedFields();
    const QList<NamedDimension> dims = labelListDims(LvwBZ);
    ProjectStore store;
    if (Tag == u"1"_s) {
        if (m_typeNo <= 0) {
            platform::inform(this, u"当前所选的结点非门窗结点！"_s);
            Tvw->setFocus();
            return;
        }
        const std::optional<qint64> id = store.addPlainLine(m_jobId.toLongLong(), m_typeNo, fields, dims);
        if (!id) {
            reportFailure(this, u"保存门窗出错！"_s, store.lastError());
            return;
        }
        if (m_list)
            m_list->addTopLevelItem(lineItem({fields, m_jobId, QString::number(m_typeNo), QString::number(*id)}));
        for (int i = 1; i < 6; ++i)
            Text1[size_t(i)]->setText(u"0"_s);
        return;
    }
    if (!store.updatePlainLine(m_lineId.toLongLong(), fields, dims)) {
        reportFailure(this, u"保存门窗出错！"_s, store.lastError());
        return;
    }
    if (m_row) {
        JobLine line = itemLine(m_row);
        line.fields = fields;
        setLineItem(m_row, line);
    }
    accept();
}

} // namespace project::ui
