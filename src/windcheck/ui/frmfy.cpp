#include "frmfy.h"

#include "fields.h"
#include "frmfyresult.h"
#include "keyfilter.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/numtext.h"
#include "windcheck.h"
#include "windcheck/coefficients.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace windcheck::ui {

namespace {

// Label above its field in one cell of the grid.
void place(QGridLayout *grid, int row, int column, const QString &caption, QWidget *field, QWidget *unit = nullptr)
{
    auto *cell = new QVBoxLayout;
    cell->addWidget(new QLabel(caption));
    if (unit) {
        auto *h = new QHBoxLayout;
        h->addWidget(field);
        h->addWidget(unit);
        cell->addLayout(h);
    } else {
        cell->addWidget(field);
    }
    grid->addLayout(cell, row, column);
}

QString crLf(QString text) { return text.replace(u"\r\n"_s, u"\n"_s).replace(u'\n', u"\r\n"_s); }

} // namespace

FrmFY::FrmFY(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmFY"_s);
    setWindowTitle(u"风压校核"_s);

    auto *basic = new QGroupBox(u"基础信息："_s, this);
    m_gcmc = namedBox(basic, u"txtGCMC"_s);
    m_mclx = typedList(basic, u"cmbMCLX"_s, windowTypeItems());
    m_mcbh = namedBox(basic, u"txtMCBH"_s);
    m_mccc = namedBox(basic, u"txtMCCC"_s);
    m_jhyj = new QTextEdit(basic);
    m_jhyj->setObjectName(u"rtxJHYJ"_s);
    m_jhyj->setAcceptRichText(false);
    m_jhyj->setPlainText(QString(standardsText()).replace(u"\r\n"_s, u"\n"_s));
    m_jhyj->setFixedHeight(90);
    auto *basicGrid = new QGridLayout(basic);
    place(basicGrid, 0, 0, u"工程名称："_s, m_gcmc);
    place(basicGrid, 0, 1, u"选用门窗："_s, m_mclx);
    place(basicGrid, 0, 2, u"门窗编号："_s, m_mcbh);
    place(basicGrid, 0, 3, u"门窗尺寸："_s, m_mccc);
    basicGrid->addWidget(new QLabel(u"校核依据："_s, basic), 1, 0);
    basicGrid->addWidget(m_jhyj, 2, 0, 1, 4);

    auto *params = new QGroupBox(u"基本参数："_s, this);
    m_cs = namedBox(params, u"txtCS"_s, u"北京"_s);
    m_fyz = namedBox(params, u"txtFYZ"_s, u"0.8"_s);
    m_fhztxxs = typedList(params, u"cmbFHZTXXS"_s, shapeCoefficientItems());
    m_dmccd = typedList(params, u"cmbDMCCD"_s, terrainItems());
    m_jzwlx = typedList(params, u"cmbJZWLX"_s, buildingKindItems());
    m_jzgd = typedList(params, u"cmbJZGD"_s, heightItems());
    m_blzl = typedList(params, u"cmbBLZL"_s, glassTypeItems());
    m_blhd = namedBox(params, u"txtBLHD"_s, u"5"_s);
    m_blcd = namedBox(params, u"txtBLCD"_s);
    m_blgd = namedBox(params, u"txtBLGD"_s);
    m_skd = namedBox(params, u"txtSKD"_s);
    m_sgd = namedBox(params, u"txtSGD"_s);
    m_lzkd = namedBox(params, u"txtLZKD"_s);
    m_lzgd = namedBox(params, u"txtLZGD"_s);
    m_xglx = typedList(params, u"cmbXGLX"_s, steelSectionItems());
    m_xgbh = typedList(params, u"cmbXGBH"_s, wallThicknessItems());
    m_xggxg = namedBox(params, u"txtXGGXG"_s);
    // The shape coefficient starts as text with no item picked.
    m_fhztxxs->setCurrentIndex(-1);
    m_fhztxxs->setEditText(u"1.3"_s);

    auto *grid = new QGridLayout(params);
    place(grid, 0, 0, u"城市："_s, m_cs);
    place(grid, 0, 1, u"基本风压值KN/平方米："_s, m_fyz);
    place(grid, 0, 2, u"风荷载体型系数："_s, m_fhztxxs);
    place(grid, 0, 3, u"地面粗糙度："_s, m_dmccd);
    place(grid, 1, 0, u"建筑物类型："_s, m_jzwlx);
    place(grid, 1, 1, u"建筑高度："_s, m_jzgd);
    place(grid, 2, 0, u"玻璃类型："_s, m_blzl);
    place(grid, 2, 1, u"玻璃厚度："_s, m_blhd, new QLabel(u"mm"_s, params));
    place(grid, 2, 2, u"玻璃宽度："_s, m_blcd);
    place(grid, 2, 3, u"玻璃高度："_s, m_blgd);
    place(grid, 3, 0, u"扇宽度："_s, m_skd);
    place(grid, 3, 1, u"扇高度："_s, m_sgd);
    place(grid, 3, 2, u"亮子宽度："_s, m_lzkd);
    place(grid, 3, 3, u"亮子高度："_s, m_lzgd);
    place(grid, 4, 0, u"型钢类型："_s, m_xglx);
    place(grid, 4, 1, u"型钢壁厚："_s, m_xgbh);
    place(grid, 4, 2, u"型钢惯性矩："_s, m_xggxg);

    for (QWidget *w : {static_cast<QWidget *>(m_fhztxxs), static_cast<QWidget *>(m_fyz),
                       static_cast<QWidget *>(m_blcd), static_cast<QWidget *>(m_blgd), static_cast<QWidget *>(m_skd),
                       static_cast<QWidget *>(m_sgd), static_cast<QWidget *>(m_lzkd), static_cast<QWidget *>(m_lzgd),
                       static_cast<QWidget *>(m_xggxg)})
        NumericKeyFilter::install(w, true);
    NumericKeyFilter::install(m_blhd, false);

    auto *check = new QPushButton(u"校核"_s, this);
    check->setObjectName(u"Command1"_s);
    platform::pressOnEnter(this, check); // Enter in any box checks
    auto *quit = new QPushButton(u"退出"_s, this);
    quit->setObjectName(u"OKButton"_s);
    quit->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(check);
    buttons->addWidget(quit);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(basic);
    layout->addWidget(params);
    layout->addLayout(buttons);

    EnableTransomInputs(0);
    steelPicked();
    connect(m_mclx, &QComboBox::currentIndexChanged, this, [this](int i) { EnableTransomInputs(i); });
    connect(m_xglx, &QComboBox::currentIndexChanged, this, &FrmFY::steelPicked);
    connect(m_xgbh, &QComboBox::currentIndexChanged, this, &FrmFY::steelPicked);
    connect(check, &QPushButton::clicked, this, &FrmFY::MakeWindReport);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmFY::EnableTransomInputs(int windowType)
{
    if (windowType < 0 || windowType > 5)
        return;
    const bool on = transomEnabledFor(windowType);
    m_lzkd->setEnabled(on);
    m_lzgd->setEnabled(on);
}

void FrmFY::steelPicked()
{
    m_xggxg->setText(platform::generalSingle(GetSteelInertia(pickedPosition(m_xglx), pickedPosition(m_xgbh))));
}

SimpleWindInput FrmFY::input() const
{
    SimpleWindInput in;
    in.projectName = m_gcmc->text();
    in.windowTypeText = m_mclx->currentText();
    in.windowType = pickedPosition(m_mclx);
    in.windowNumber = m_mcbh->text();
    in.windowSize = m_mccc->text();
    in.basisText = crLf(m_jhyj->toPlainText());
    in.city = m_cs->text();
    in.basicPressure = m_fyz->text();
    in.shapeCoefficient = m_fhztxxs->currentText();
    in.terrainText = m_dmccd->currentText();
    in.terrain = pickedPosition(m_dmccd);
    in.buildingKindText = m_jzwlx->currentText();
    in.buildingKind = pickedPosition(m_jzwlx);
    in.heightText = m_jzgd->currentText();
    in.height = pickedPosition(m_jzgd);
    in.glassTypeText = m_blzl->currentText();
    in.glassType = pickedPosition(m_blzl);
    in.glassThickness = m_blhd->text();
    in.glassWidth = m_blcd->text();
    in.glassHeight = m_blgd->text();
    in.sashWidth = m_skd->text();
    in.sashHeight = m_sgd->text();
    in.transomWidth = m_lzkd->text();
    in.transomHeight = m_lzgd->text();
    in.transomEnabled = m_lzkd->isEnabled();
    in.steelSectionText = m_xglx->currentText();
    in.wallThicknessText = m_xgbh->currentText();
    in.inertia = m_xggxg->text();
    return in;
}

QWidget *FrmFY::fieldWidget(SimpleField field) const
{
    switch (field) {
    case SimpleField::WindowType: return m_mclx;
    case SimpleField::BasicPressure: return m_fyz;
    case SimpleField::ShapeCoefficient: return m_fhztxxs;
    case SimpleField::Terrain: return m_dmccd;
    case SimpleField::BuildingKind: return m_jzwlx;
    case SimpleField::Height: return m_jzgd;
    case SimpleField::GlassType: return m_blzl;
    case SimpleField::GlassThickness: return m_blhd;
    case SimpleField::GlassWidth: return m_blcd;
    case SimpleField::GlassHeight: return m_blgd;
    case SimpleField::SashWidth: return m_skd;
    case SimpleField::SashHeight: return m_sgd;
    case SimpleField::TransomWidth: return m_lzkd;
    case SimpleField::TransomHeight: return m_lzgd;
    case SimpleField::Inertia: return m_xggxg;
    case SimpleField::None: break;
    }
    return nullptr;
}

bool FrmFY::MakeWindReport()
{
    const SimpleWindReport report = windcheck::MakeWindReport(input());
    if (!report.ok) {
        platform::messages().message(this, report.problem.message, applicationTitle(), platform::MsgIcon::None,
                                     platform::MsgButtons::Ok);
        if (QWidget *w = fieldWidget(report.problem.field))
            w->setFocus();
        return false;
    }
    FrmFyResult result(report.text, this);
    platform::execDialog(&result);
    return true;
}

} // namespace windcheck::ui
