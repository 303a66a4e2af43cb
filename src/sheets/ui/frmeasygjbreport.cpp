#include "frmeasygjbreport.h"

#include "sheets/simplebuy.h"
#include "sheetwindows.h"

#include "platform/numtext.h"
#include "platform/printing.h"
#include "platform/surface_widget.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace sheets::ui {

namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr double kDesignWidth = 11535; // the page picture as designed, twips
constexpr double kDesignHeight = 7695;

int px(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }

QRect twipsRect(double left, double top, double width, double height)
{
    return {px(left), px(top), px(width), px(height)};
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, QRect geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setGeometry(geometry);
    return b;
}

int wholeHalfEven(double v)
{
    return int(platform::roundHalfEven(v, -32768, 32767).value_or(v < 0 ? -32768 : 32767));
}

// Range and steps of a scroll bar over `extra` twips of page beyond the viewport.
void setScrollRange(QScrollBar *bar, double extra)
{
    const int max = wholeHalfEven(extra);
    bar->setRange(0, qMax(0, max));
    bar->setSingleStep(qMax(1, wholeHalfEven(extra / 30)));
    bar->setPageStep(qMax(1, wholeHalfEven(extra / 15)));
}

} // namespace

FrmEasyGJBReport::FrmEasyGJBReport(const SimpleBuyTable &list, QSizeF pageTwips, QWidget *parent)
    : QDialog(parent), m_list(list)
{
    setObjectName(u"FrmEasyGJBReport"_s);
    setWindowTitle(u"预览简表"_s);
    setFixedSize(px(11880), px(8520));

    CmdPrint = button(this, u"CmdPrint"_s, u"打印当前&P"_s, twipsRect(120, 0, 1335, 495));
    Command1 = button(this, u"Command1"_s, u"打印全部 &A"_s, twipsRect(1680, 0, 1335, 495));
    CmdPrev = button(this, u"CmdPrev"_s, u"上一页&N"_s, twipsRect(3840, 0, 1215, 495));
    CmdNext = button(this, u"CmdNext"_s, u"下一页&L"_s, twipsRect(5280, 0, 1215, 495));
    txtPage = new QLineEdit(this);
    txtPage->setObjectName(u"txtPage"_s);
    txtPage->setReadOnly(true);
    txtPage->setGeometry(twipsRect(6720, 120, 3255, 375));
    CmdExit = button(this, u"CmdExit"_s, u"退出&E"_s, twipsRect(9960, 0, 1455, 495));

    Picture1 = new QFrame(this);
    Picture1->setObjectName(u"Picture1"_s);
    Picture1->setGeometry(twipsRect(0, 480, 11535, 7695));
    PicGJB = new platform::WidgetSurface(Picture1);
    PicGJB->setObjectName(u"PicGJB"_s);
    VS = new QScrollBar(Qt::Vertical, this);
    VS->setObjectName(u"VS"_s);
    VS->setGeometry(twipsRect(11520, 0, 375, 8175));
    HS = new QScrollBar(Qt::Horizontal, this);
    HS->setObjectName(u"HS"_s);
    HS->setGeometry(twipsRect(0, 8160, 11895, 375));

    connect(CmdPrint, &QPushButton::clicked, this, &FrmEasyGJBReport::CmdPrint_Click);
    connect(Command1, &QPushButton::clicked, this, &FrmEasyGJBReport::Command1_Click);
    connect(CmdPrev, &QPushButton::clicked, this, &FrmEasyGJBReport::CmdPrev_Click);
    connect(CmdNext, &QPushButton::clicked, this, &FrmEasyGJBReport::CmdNext_Click);
    connect(CmdExit, &QPushButton::clicked, this, &QDialog::reject);
    connect(HS, &QScrollBar::valueChanged, this, [this](int v) { PicGJB->move(-px(v), PicGJB->y()); });
    connect(VS, &QScrollBar::valueChanged, this, [this](int v) { PicGJB->move(PicGJB->x(), -px(v)); });

    // Form_Load
    setScrollRange(HS, pageTwips.width() - kDesignWidth);
    setScrollRange(VS, pageTwips.height() - kDesignHeight);
    // One printer page in twips, so the millimetre layout shows at its printed size.
    PicGJB->setGeometry(0, 0, px(pageTwips.width()), px(pageTwips.height()));

    const int n = m_list.PageCount();
    if (n == 0) {
        txtPage->setText(u"共零页"_s);
        CmdNext->setEnabled(false);
        CmdPrev->setEnabled(false);
        m_closeOnShow = true;
        return;
    }
    CurPage = 1;
    if (n == 1) {
        CmdNext->setEnabled(false);
        CmdPrev->setEnabled(false);
        txtPage->setText(u"共一页"_s);
    } else {
        txtPage->setText(u"共%1页第1页"_s.arg(n));
        CmdPrev->setEnabled(false);
    }
    drawPage();
}

void FrmEasyGJBReport::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_closeOnShow)
        QTimer::singleShot(0, this, &QDialog::reject);
}

void FrmEasyGJBReport::drawPage()
{
    PicGJB->clear();
    m_list.OutToObject(*PicGJB, CurPage);
}

void FrmEasyGJBReport::setPageCaption()
{
    txtPage->setText(u"共%1页第%2页"_s.arg(m_list.PageCount()).arg(CurPage));
}

void FrmEasyGJBReport::CmdNext_Click()
{
    const int n = m_list.PageCount();
    if (CurPage >= n)
        return;
    ++CurPage;
    drawPage();
    setPageCaption();
    if (CurPage == n) {
        CmdNext->setEnabled(false);
        CmdPrev->setEnabled(true);
    }
}

void FrmEasyGJBReport::CmdPrev_Click()
{
    if (CurPage <= 1)
        return;
    --CurPage;
    drawPage();
    setPageCaption();
    if (CurPage == 1) {
        CmdPrev->setEnabled(false);
        CmdNext->setEnabled(true);
    }
}

void FrmEasyGJBReport::CmdPrint_Click()
{
    platform::printOnSurface(this, platform::PrintRoute::DefaultPrinter, [this](platform::Surface &printer) {
        m_list.PrintPage(printer, CurPage);
        return true;
    });
}

void FrmEasyGJBReport::Command1_Click()
{
    platform::printOnSurface(this, platform::PrintRoute::DefaultPrinter, [this](platform::Surface &printer) {
        m_list.PrintPageAll(printer);
        return true;
    });
}

} // namespace sheets::ui
