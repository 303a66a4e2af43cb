#include "frmgcht.h"

#include "app/reportcommands.h"
#include "app/shared.h"
#include "common.h"
#include "platform/messages.h"
#include "platform/reportview.h"
#include "platform/settings.h"
#include "project/contractreport.h"
#include "project/projectstore.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace project::ui {

namespace {
QLabel *whiteLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(u"color: white;"_s);
    return label;
}
} // namespace

FrmGCHT::FrmGCHT(qint64 jobId, QWidget *parent) : QDialog(parent), m_jobId(jobId)
{
    setObjectName(u"frmGCHT"_s);
    setWindowTitle(u"工程合同"_s);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 128, 128));
    setPalette(pal);

    for (int i = 0; i < 13; ++i) {
        QWidget *box = nullptr;
        if (i < 6)
            box = new QLineEdit(this);
        else {
            auto *edit = new QPlainTextEdit(this);
            edit->setTabChangesFocus(true);
            edit->setFixedHeight(i == 6 ? 37 : 41);
            box = edit;
        }
        box->setObjectName(u"Text1%1"_s.arg(i));
        box->setAutoFillBackground(true);
        Text1[size_t(i)] = box;
    }
    auto button = [this](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    cmdFill = button(u"cmdFill"_s, u"填入信息 &F"_s);
    CmdSave = button(u"CmdSave"_s, u"保存退出 &S"_s);
    CmdPrint = button(u"CmdPrint"_s, u"打    印 &P"_s);
    CmdExit = button(u"CmdExit"_s, u"取消退出 &E"_s);

    auto *parties = new QGridLayout;
    parties->addWidget(whiteLabel(u"供方："_s, this), 0, 0);
    parties->addWidget(Text1[0], 0, 1);
    parties->addWidget(whiteLabel(u"需方："_s, this), 0, 3);
    parties->addWidget(Text1[1], 0, 4);
    parties->addWidget(whiteLabel(u"地址："_s, this), 1, 0);
    parties->addWidget(Text1[2], 1, 1);
    parties->addWidget(whiteLabel(u"地址："_s, this), 1, 3);
    parties->addWidget(Text1[3], 1, 4);
    parties->addWidget(whiteLabel(u"电话："_s, this), 2, 0);
    parties->addWidget(Text1[4], 2, 1);
    parties->addWidget(cmdFill, 2, 2);
    parties->addWidget(whiteLabel(u"电话："_s, this), 2, 3);
    parties->addWidget(Text1[5], 2, 4);
    auto *form = new QVBoxLayout;
    form->addLayout(parties);
    const QStringList clauses = {u"1.塑钢品牌、产地及第列："_s,
                                 u"2.五金件品牌及产地："_s,
                                 u"3.纱窗玻璃颜色："_s,
                                 u"4.质量要求及技术标准，供方对质量负责的条件及期限："_s,
                                 u"5.数量及单价："_s,
                                 u"6.结算方式及期限："_s,
                                 u"7.其它事项："_s};
    for (int i = 0; i < clauses.size(); ++i) {
        form->addWidget(whiteLabel(clauses.at(i), this));
        form->addWidget(Text1[size_t(6 + i)]);
    }
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(CmdSave);
    buttons->addWidget(CmdPrint);
    buttons->addWidget(CmdExit);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addWidget(line);
    layout->addLayout(buttons);
    resize(789, 540);

    QWidget *previous = Text1[0];
    for (QWidget *w : {Text1[1], Text1[2], Text1[3], Text1[4], Text1[5], Text1[6], Text1[7], Text1[8], Text1[9],
                       Text1[10], Text1[11], Text1[12], static_cast<QWidget *>(CmdSave),
                       static_cast<QWidget *>(CmdExit), static_cast<QWidget *>(CmdPrint),
                       static_cast<QWidget *>(cmdFill)}) {
        setTabOrder(previous, w);
        previous = w;
    }

    connect(cmdFill, &QPushButton::clicked, this, &FrmGCHT::cmdFill_Click);
    connect(CmdSave, &QPushButton::clicked, this, &FrmGCHT::CmdSave_Click);
    connect(CmdPrint, &QPushButton::clicked, this, &FrmGCHT::CmdPrint_Click);
    connect(CmdExit, &QPushButton::clicked, this, &QDialog::reject);

    ProjectStore store;
    const std::optional<std::optional<ContractTexts>> stored = store.loadContract(jobId);
    if (!stored)
        reportFailure(this, u"读取工程合同出错！"_s, store.lastError());
    else if (*stored)
        for (int i = 0; i < 13; ++i)
            setText(i, (**stored)[size_t(i)]);
}

QString FrmGCHT::text(int i) const
{
    QWidget *box = Text1[size_t(i)];
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        return edit->text();
    return static_cast<QPlainTextEdit *>(box)->toPlainText();
}

void FrmGCHT::setText(int i, const QString &text)
{
    QWidget *box = Text1[size_t(i)];
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        edit->setText(text);
    else
        static_cast<QPlainTextEdit *>(box)->setPlainText(text);
}

void FrmGCHT::cmdFill_Click()
{
    setText(0, platform::SettingsStore::get(app::kSettingsGeneral, u"DW"_s, QString()));
    setText(2, platform::SettingsStore::get(app::kSettingsGeneral, u"ADDRESS"_s, QString()));
    setText(4, platform::SettingsStore::get(app::kSettingsGeneral, u"TEL"_s, QString()));
}

void FrmGCHT::CmdSave_Click()
{
    for (int i = 0; i < 12; ++i)
        if (text(i).isEmpty()) {
            platform::inform(this, u"数据不能为空！"_s);
            Text1[size_t(i)]->setFocus();
            return;
        }
    ContractTexts texts;
    for (int i = 0; i < 13; ++i)
        texts[size_t(i)] = text(i);
    const QString title = platform::SettingsStore::get(app::kSettingsGeneral, u"DW"_s, u"塑钢公司"_s) + u"订货单"_s;
    ProjectStore store;
    if (!store.saveContract(m_jobId, texts, title)) {
        reportFailure(this, u"保存工程合同出错！"_s, store.lastError());
        return;
    }
    accept();
}

void FrmGCHT::CmdPrint_Click()
{
    QString error;
    const std::optional<app::ReportRows> rows = app::runReportCommand(u"CmdGCHT"_s, m_jobId, &error);
    if (!rows) {
        reportFailure(this, u"读取工程合同出错！"_s, error);
        return;
    }
    if (rows->isEmpty()) {
        platform::inform(this, u"工程合同尚未保存，无法打印！"_s);
        return;
    }
    // The preview is captioned with the sheet's title, BT.
    platform::previewReport(this, contractReport(rows->constFirst()), rows->constFirst().value(13));
}

} // namespace project::ui
