#include "frmyhmain.h"

#include "frmcreate.h"
#include "frmhandup.h"
#include "optimise/ui/frmoption.h"
#include "optimise/yhoption.h"
#include "platform/faces.h"
#include "platform/messages.h"

#include <QAction>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace optimise::ui {

namespace {
const QString kSchemeOne = u"优化方案一"_s;
const QString kSchemeTwo = u"优化方案二"_s;
} // namespace

void YH02Show(QWidget *parent)
{
    FrmYHMain window(parent);
    platform::execDialog(&window);
}

void startWizardAtWindows(QWidget *parent, qint64 jobId, const QString &jobName)
{
    YHGCName = jobName;
    YHScheme = 0;
    FrmCreate02 step(QString::number(jobId), currentCutSettings(), parent);
    platform::execDialog(&step);
}

FrmYHMain::FrmYHMain(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmYHMain"_s);
    setWindowTitle(u"塑钢门窗材料优化"_s);
    resize(560, 90);
    auto *toolbar = new QToolBar(this);
    toolbar->setObjectName(u"Toolbar1"_s);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // The caption names the scheme that is active, whatever an earlier opening left.
    m_scheme = toolbar->addAction(YHScheme == 0 ? kSchemeOne : kSchemeTwo);
    m_scheme->setObjectName(u"Button1"_s);
    toolbar->addSeparator()->setObjectName(u"Button2"_s);
    const QStringList captions = {u"工程优化"_s, u"手工优化"_s, u"选项设置"_s, u"使用说明"_s, u"关闭窗口"_s};
    for (int i = 0; i < captions.size(); ++i) {
        QAction *a = toolbar->addAction(captions.at(i));
        a->setObjectName(u"Button%1"_s.arg(i + 3));
        const int index = i + 3;
        connect(a, &QAction::triggered, this, [this, index] { OnYHToolbarButton(index); });
    }
    connect(m_scheme, &QAction::triggered, this, [this] { OnYHToolbarButton(1); });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(toolbar);
    layout->addStretch();
}

void FrmYHMain::OnYHToolbarButton(int index)
{
    switch (index) {
    case 1: switchScheme(); break;
    case 3: ShowCreateWizard(); break;
    case 4: ShowHandupForm(); break;
    case 5: ShowOptionForm(); break;
    case 6: ShowUserForm(); break;
    case 7: CloseYHMain(); break;
    default: break;
    }
}

void FrmYHMain::switchScheme()
{
    if (m_scheme->text() != kSchemeOne) {
        m_scheme->setText(kSchemeOne);
        YHScheme = 0;
    } else {
        m_scheme->setText(kSchemeTwo);
        YHScheme = 1;
    }
}

void FrmYHMain::ShowUserForm()
{
    FrmUser w(this);
    platform::execDialog(&w);
}

void FrmYHMain::ShowCreateWizard()
{
    FrmCreate01 w(currentCutSettings(), this);
    platform::execDialog(&w);
}

void FrmYHMain::ShowOptionForm()
{
    FrmOption w(this);
    platform::execDialog(&w);
}

void FrmYHMain::CloseYHMain()
{
    reject();
}

void FrmYHMain::ShowHandupForm()
{
    FrmHandup w(currentCutSettings(), this);
    platform::execDialog(&w);
}

FrmUser::FrmUser(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmUser"_s);
    setWindowTitle(u"使用说明"_s);
    resize(560, 480);
    auto *text = new QTextBrowser(this);
    text->setObjectName(u"RichTextBox1"_s);
    text->setFont(platform::faceFont(u"宋体"_s, 9));
    text->setHtml(u"<p align=\"center\"><b>塑钢门窗材料优化</b></p>"
                  "<p align=\"center\"><b>使用说明</b></p>"
                  "<p><b>一、基础设置</b><br>在“选项设置”中设定原材料的长度、切口宽度、料头长度、"
                  "允许优化材料数量及控制优化比率。</p>"
                  "<p><b>二、注意事项</b><br>1．允许优化材料数量越大，优化率越高，但优化速度越慢，"
                  "请兼顾两者；该值不宜超过 4000，如需更大请与软件开发者联系。<br>"
                  "2．控制优化比率越大，优化率越高，对速度影响不大；该值不能超过 1（即 100%）。</p>"
                  "<p><b>三、使用方法</b><br>第一步：基础数据未设置时，在开始窗口中打开“选项设置”，"
                  "设定后按“确定”保存，以后无需再设。<br>"
                  "第二步：在开始窗口中点击“工程优化”，按向导依次选择工程、选择门窗、选择材料，然后优化。"
                  "优化中提示数据异常时，请退出优化，检查该门窗类型的计算公式，改正后重新优化；"
                  "公式无误时请与软件开发者联系。<br>"
                  "第三步：优化完成后，结果窗口显示材料切割表和材料统计表，可用“输出”或打印按钮"
                  "打印或保存结果。</p>"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
}

} // namespace optimise::ui
