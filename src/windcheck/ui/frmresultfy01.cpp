#include "frmresultfy01.h"

#include "frmfy01.h"
#include "frmmainfy01.h"
#include "platform/printing.h"
#include "platform/surface.h"
#include "windcheck.h"
#include "windcheck/fullreport.h"
#include "windcheck/fyprint.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace windcheck::ui {

FrmResultFY01::FrmResultFY01(FrmFY01 *glassStep, FrmMainFY01 *chain)
    : StepWindow(glassStep), m_chain(chain)
{
    setObjectName(u"FrmResultFY01"_s);
    setWindowTitle(u"风压校核计算结果"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(720, 640);

    m_rtb = new QTextEdit(this);
    m_rtb->setObjectName(u"RTB"_s);
    m_rtb->setReadOnly(true);
    m_rtb->setLineWrapMode(QTextEdit::NoWrap);
    m_rtb->setPlainText(QString(fullReportText(chain->state())).replace(u"\r\n"_s, u"\n"_s));

    auto *print = new QPushButton(u"打印"_s, this);
    print->setObjectName(u"CmdPrint"_s);
    print->setAutoDefault(false);
    auto *back = new QPushButton(u"返回"_s, this);
    back->setObjectName(u"OKButton"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(back);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_rtb);
    layout->addLayout(buttons);

    connect(print, &QPushButton::clicked, this, &FrmResultFY01::CmdPrint);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
}

QString FrmResultFY01::reportText() const { return m_rtb->toPlainText(); }

bool FrmResultFY01::CmdPrint()
{
    return platform::printOnSurface(this, platform::PrintRoute::DefaultPrinter, [this](platform::Surface &printer) {
        PrintReportLine(printer, m_chain->state(), m_chain->state().printFontSize);
        return true;
    });
}

} // namespace windcheck::ui
