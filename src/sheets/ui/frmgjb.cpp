#include "frmgjb.h"

#include "sheets/componentsheet.h"
#include "sheetwindows.h"

#include "platform/messages.h"
#include "platform/printing.h"
#include "platform/surface_widget.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace sheets::ui {

namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr double kPictureWidth = 5100.0;

// Title captions and the text box each one labels (-1: no box).
struct Caption
{
    const char16_t *text;
    int box;
};
const Caption kCaptions[11] = {{u"工程名称：", 0}, {u"定货单位：", 1}, {u"图    名：", 2}, {u"合同编号：", 3},
                               {u"购件表号:", 4},  {u"制作尺寸：", 5}, {u"樘    数：", 6}, {u"设    计：", -1},
                               {u"日    期：", 7}, {u"审    核：", -1}, {u"校    对：", -1}};

QPushButton *button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

FrmGJB::FrmGJB(const QList<project::JobLine> &lines, int selected, const QString &jobId, QWidget *parent)
    : QDialog(parent), m_lines(lines), m_jobId(jobId)
{
    setObjectName(u"FrmGJB"_s);
    setWindowTitle(u"生产构件表"_s);

    Picture1 = new QFrame(this);
    Picture1->setObjectName(u"Picture1"_s);
    Picture1->setFrameShape(QFrame::StyledPanel);
    PicGJB = new platform::WidgetSurface(Picture1);
    PicGJB->setObjectName(u"PicGJB"_s);
    // Room for the screen drawing box (0, 500)-(5000, 4917) in twips.
    PicGJB->setFixedSize(int(kPictureWidth / kTwipsPerPixel), int(5000 / kTwipsPerPixel));
    auto *picLayout = new QVBoxLayout(Picture1);
    picLayout->setContentsMargins(0, 0, 0, 0);
    picLayout->addWidget(PicGJB);

    auto *title = new QGridLayout;
    for (int i = 0; i < 9; ++i) {
        auto *t = new QLineEdit(this);
        t->setObjectName(u"Text1"_s + QString::number(i));
        Text1 << t;
    }
    int row = 0;
    for (int i = 0; i < 11; ++i) {
        auto *l = new QLabel(QString::fromUtf16(kCaptions[i].text), this);
        l->setObjectName(u"Label1"_s + QString::number(i));
        title->addWidget(l, row, 0);
        if (kCaptions[i].box >= 0)
            title->addWidget(Text1[kCaptions[i].box], row, 1);
        ++row;
    }
    title->addWidget(Text1[8], row, 0, 1, 2);
    title->setRowStretch(row + 1, 1);

    lvw = new QTreeWidget(this);
    lvw->setObjectName(u"lvw"_s);
    lvw->setRootIsDecorated(false);
    lvw->setHeaderLabels({u"列一"_s, u"列二"_s, u"列三"_s, u"列四"_s, u"列五"_s});
    lvw->header()->setSectionResizeMode(QHeaderView::Stretch);

    txtPage = new QLabel(this);
    txtPage->setObjectName(u"txtPage"_s);
    CmdPrev = button(this, u"CmdPrev"_s, u"上一页"_s);
    CmdNext = button(this, u"CmdNext"_s, u"下一页"_s);
    CmdPrint = button(this, u"CmdPrint"_s, u"打印当前页"_s);
    CmdPrintAll = button(this, u"CmdPrintAll"_s, u"打印全部页"_s);
    CmdPrintNextAll = button(this, u"CmdPrintNextAll"_s, u"向下打印全部"_s);
    CmdExit = button(this, u"CmdExit"_s, u"退出 &E"_s);

    auto *top = new QHBoxLayout;
    top->addWidget(Picture1);
    top->addLayout(title, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(txtPage, 1);
    for (QPushButton *b : {CmdPrev, CmdNext, CmdPrint, CmdPrintAll, CmdPrintNextAll, CmdExit})
        buttons->addWidget(b);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(lvw, 1);
    main->addLayout(buttons);
    resize(900, 700);

    connect(CmdPrev, &QPushButton::clicked, this, &FrmGJB::CmdPrev_Click);
    connect(CmdNext, &QPushButton::clicked, this, &FrmGJB::CmdNext_Click);
    connect(CmdPrint, &QPushButton::clicked, this, &FrmGJB::CmdPrint_Click);
    connect(CmdPrintAll, &QPushButton::clicked, this, &FrmGJB::CmdPrintAll_Click);
    connect(CmdPrintNextAll, &QPushButton::clicked, this, &FrmGJB::CmdPrintNextAll_Click);
    connect(CmdExit, &QPushButton::clicked, this, &QDialog::reject);

    // Form_Load
    if (m_lines.size() == 1) {
        txtPage->setText(u"共1页"_s);
        CmdNext->setEnabled(false);
        CmdPrev->setEnabled(false);
        CurPage = 1;
    } else {
        CurPage = qBound(1, selected + 1, int(qMax<qsizetype>(1, m_lines.size())));
        setPageCaption();
        CmdPrev->setEnabled(CurPage > 1);
        CmdNext->setEnabled(CurPage < m_lines.size());
    }
    PendingShow = !m_lines.isEmpty();
}

void FrmGJB::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void FrmGJB::Form_Activate()
{
    if (!PendingShow)
        return;
    PendingShow = false;
    showLine(CurPage);
}

void FrmGJB::setPageCaption()
{
    txtPage->setText(u"共%1页第%2页"_s.arg(m_lines.size()).arg(CurPage));
}

void FrmGJB::clearSheet()
{
    PicGJB->clear();
    lvw->clear();
}

void FrmGJB::showLine(int page)
{
    QString error;
    const std::optional<ComponentSheet> sheet =
        buildComponentSheet(m_lines.at(page - 1), page, m_jobId, QDate::currentDate(), &error);
    if (!sheet) {
        // No title of another sheet stays above an empty one.
        for (QLineEdit *t : std::as_const(Text1))
            t->clear();
        platform::showError(this, u"读取构件表数据出错：\n"_s + error);
        return;
    }
    for (const QStringList &r : sheet->rows)
        lvw->addTopLevelItem(new QTreeWidgetItem(r));
    const QStringList title = sheet->screenTitle();
    for (int i = 0; i < Text1.size(); ++i) {
        // A missing job leaves the job's boxes as they were.
        if (!sheet->job && (i == 0 || i == 1 || i == 3))
            continue;
        Text1[i]->setText(title.value(i));
    }
    // Values near the drawing's right edge get the room they need rather than being clipped.
    PicGJB->setFixedWidth(int(sheetPictureWidth(*sheet, *PicGJB, kPictureWidth) / kTwipsPerPixel));
    // Without its drawing the sheet still shows its values and rows.
    if (!drawSheetPicture(*sheet, *PicGJB, &error))
        platform::showError(this, u"读取门窗图出错：\n"_s + error);
}

void FrmGJB::CmdNext_Click()
{
    if (CurPage >= m_lines.size())
        return;
    ++CurPage;
    clearSheet();
    showLine(CurPage);
    if (CurPage == m_lines.size())
        CmdNext->setEnabled(false);
    setPageCaption();
    CmdPrev->setEnabled(true);
}

void FrmGJB::CmdPrev_Click()
{
    if (CurPage <= 1)
        return;
    --CurPage;
    clearSheet();
    showLine(CurPage);
    if (CurPage == 1)
        CmdPrev->setEnabled(false);
    setPageCaption();
    CmdNext->setEnabled(true);
}

void FrmGJB::printLines(int from, int to)
{
    QString readError;
    const std::optional<QList<ComponentSheet>> built =
        buildComponentSheets(m_lines, from, to, m_jobId, QDate::currentDate(), &readError);
    if (!built) {
        platform::showError(this, u"读取构件表数据出错，没有打印：\n"_s + readError);
        return;
    }
    const QList<ComponentSheet> &sheets = *built;
    // Component sheets go straight to the default printer, as they always did.
    platform::printOnSurface(this, platform::PrintRoute::DefaultPrinter, [this, &sheets](platform::Surface &printer) {
        for (qsizetype i = 0; i < sheets.size(); ++i) {
            if (i > 0)
                printer.newPage();
            QString error;
            if (!printSheet(sheets.at(i), printer, &error)) {
                printer.endDocument();
                platform::showError(this, u"打印构件表出错：\n"_s + error);
                return false;
            }
        }
        printer.endDocument();
        return true;
    });
}

void FrmGJB::CmdPrint_Click() { printLines(CurPage, CurPage); }

void FrmGJB::CmdPrintAll_Click() { printLines(1, int(m_lines.size())); }

void FrmGJB::CmdPrintNextAll_Click() { printLines(CurPage, int(m_lines.size())); }

} // namespace sheets::ui
