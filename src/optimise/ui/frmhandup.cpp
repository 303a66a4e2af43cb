#include "frmhandup.h"

#include "frmresult.h"
#include "optimise/yhfiles.h"
#include "optimise/yhstore.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/numtext.h"
#include "yhlists.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace optimise::ui {

namespace {
const QString kFilter = u"化数据文件*.DDD (*.DDD)"_s;

QPushButton *button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLineEdit *box(const QString &name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}
} // namespace

FrmHandup::FrmHandup(const CutSettings &settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(u"frmHandup"_s);
    setWindowTitle(u"手工优化"_s);
    resize(520, 460);

    m_name = box(u"TxtName"_s, this);
    m_length = box(u"TxtCD"_s, this);
    m_quantity = box(u"TxtSL"_s, this);
    m_length->installEventFilter(this);
    m_quantity->installEventFilter(this);

    auto *addButton = button(u"cmdAdd"_s, u"添加 &A"_s, this);
    auto *delButton = button(u"cmdDel"_s, u"删除 &D"_s, this);
    auto *openButton = button(u"cmdOpen"_s, u"打开数据 &O"_s, this);
    auto *saveButton = button(u"cmdSave"_s, u"保存数据 &S"_s, this);
    auto *ok = button(u"OKButton"_s, u"优化"_s, this);
    auto *cancel = button(u"CancelButton"_s, u"取消"_s, this);

    m_list = makeList(u"lvw"_s, this);
    setHeaders(m_list, {u"长度"_s, u"数量"_s});
    m_status = new QLabel(this);
    m_status->setObjectName(u"Label4"_s);
    QFont bold = m_status->font();
    bold.setBold(true);
    m_status->setFont(bold);
    m_status->setVisible(false);

    auto *form = new QFormLayout;
    form->addRow(new QLabel(u"材料名称："_s, this), m_name);
    form->addRow(new QLabel(u"长度："_s, this), m_length);
    form->addRow(new QLabel(u"数量："_s, this), m_quantity);
    auto *side = new QVBoxLayout;
    for (QPushButton *b : {addButton, delButton, openButton, saveButton})
        side->addWidget(b);
    side->addStretch();
    side->addWidget(ok);
    side->addWidget(cancel);
    auto *left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(m_list, 1);
    left->addWidget(m_status);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(side);

    new platform::EnterChain(this, {m_name, m_length, m_quantity, addButton});
    connect(addButton, &QPushButton::clicked, this, &FrmHandup::add);
    connect(delButton, &QPushButton::clicked, this, &FrmHandup::remove);
    connect(openButton, &QPushButton::clicked, this, &FrmHandup::open);
    connect(saveButton, &QPushButton::clicked, this, &FrmHandup::save);
    connect(ok, &QPushButton::clicked, this, &FrmHandup::optimise);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool FrmHandup::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_length || watched == m_quantity) && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        const bool editing = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete
            || key->key() == Qt::Key_Left || key->key() == Qt::Key_Right || key->key() == Qt::Key_Home
            || key->key() == Qt::Key_End || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab
            || key->modifiers().testFlag(Qt::ControlModifier);
        if (!editing && !(text.size() == 1 && (text.at(0).isDigit() || text.at(0) == u'.')))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

QList<PieceListRow> FrmHandup::rows() const
{
    QList<PieceListRow> out;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        out.append({m_list->topLevelItem(i)->text(0), m_list->topLevelItem(i)->text(1)});
    return out;
}

void FrmHandup::appendRow(const PieceListRow &row)
{
    addItem(m_list, {row.length, row.quantity});
}

void FrmHandup::add()
{
    for (QLineEdit *e : {m_length, m_quantity}) {
        if (e->text().isEmpty() || e->text() == u"0"_s) {
            platform::inform(this, u"数据不能为空！"_s);
            e->setFocus();
            return;
        }
    }
    // "." or "1.2.3" would reach the work table as a statement error.
    for (QLineEdit *e : {m_length, m_quantity}) {
        if (!platform::isNumeric(e->text())) {
            platform::inform(this, u"数据不合法"_s);
            e->selectAll();
            e->setFocus();
            return;
        }
    }
    if (platform::val(m_length->text()) >= m_settings.clc) {
        platform::inform(this, u"数据大于"_s + QString::number(m_settings.clc) + u"！"_s, u"提示"_s, platform::MsgIcon::Critical);
        m_length->setFocus();
        return;
    }
    appendRow({m_length->text(), m_quantity->text()});
    m_length->clear();
    m_quantity->clear();
    m_length->setFocus();
}

void FrmHandup::remove()
{
    QTreeWidgetItem *item = selectedItem(m_list);
    if (!item) {
        platform::inform(this, u"无删除数据！"_s);
        return;
    }
    delete item;
}

void FrmHandup::open()
{
    const QString name = platform::messages().openFileName(this, QString(), QString(), kFilter);
    if (name.isEmpty())
        return;
    QList<PieceListRow> loaded;
    DDDRead read;
    if (!LoadDDDFile(name, &loaded, &read))
        return;
    for (const PieceListRow &row : loaded)
        appendRow(row);
    if (read.badValue)
        platform::inform(this, u"数据不合法"_s);
}

void FrmHandup::save()
{
    if (m_list->topLevelItemCount() == 0) {
        platform::inform(this, u"数据为空不能保存！"_s, u"提示"_s, platform::MsgIcon::None);
        return;
    }
    const QString name = platform::messages().saveFileName(this, QString(), QString(), kFilter);
    if (name.isEmpty())
        return;
    // The user would take the list for kept.
    if (QString error; !SaveDDDFile(name, rows(), &error))
        platform::showError(this, error);
}

void FrmHandup::optimise()
{
    if (m_name->text().isEmpty()) {
        platform::inform(this, u"材料名称不能为空！"_s);
        m_name->setFocus();
        return;
    }
    if (m_list->topLevelItemCount() == 0) {
        platform::inform(this, u"优化的数据不能为空！"_s);
        return;
    }
    if (const QString notice = barLengthNotice(m_settings); !notice.isEmpty()) {
        platform::inform(this, notice);
        return;
    }
    m_status->setText(u"稍候优化正在进行中......"_s);
    m_status->setVisible(true);
    YHStore store;
    const RunOutcome r = runPieceList(store, m_name->text(), rows(), m_settings);
    m_status->setVisible(false);
    showCutNotices(this, r.notices);
    if (!r.ok) {
        platform::showError(this, r.error);
        return;
    }
    FrmResult result(this);
    platform::execDialog(&result);
}

} // namespace optimise::ui
