#include "frmsetup.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace shell {

FrmSetup::FrmSetup(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmSetup"_s);
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(u"<h1>Velmorra</h1><p>塑钢门窗设计与加工管理系统</p>"_s, this);
    title->setAlignment(Qt::AlignCenter);
    m_show = new QLabel(this);
    m_show->setObjectName(u"lblShow"_s);
    layout->addWidget(title);
    layout->addWidget(m_show);
    resize(420, 200);

    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(u"Timer2"_s);
    m_timer2->setInterval(300);
    connect(m_timer2, &QTimer::timeout, this, &FrmSetup::tickCaptions);
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(u"Timer1"_s);
    m_timer1->setInterval(1500);
    connect(m_timer1, &QTimer::timeout, this, &FrmSetup::tickClose);
    m_timer1->start();
    m_timer2->start();
}

void FrmSetup::tickCaptions()
{
    static const QString captions[] = {u"正在搜索文件..........."_s, u"正在加载文件..........."_s,
                                       u"正在初始化系统............"_s};
    m_show->setText(captions[m_step]);
    if (m_step < 2)
        ++m_step;
    else
        m_done = true;
}

void FrmSetup::tickClose()
{
    if (m_done) {
        m_timer1->stop();
        m_timer2->stop();
        accept();
    }
}

} // namespace shell
