// The one-window check window: defaults, enabling of the transom boxes, steel inertia picking,
// key filters, refusals with focus, the result window with its fonts and printing, and the entry
// choosing the check by setting.
#include "app/shared.h"
#include "../app/pdftext.h"
#include "../platform/pagecheck.h"
#include "platform/faces.h"
#include "platform/scriptedmessages.h"
#include "windcheck/coefficients.h"
#include "windcheck/simplecheck.h"
#include "windcheck/simpleprint.h"
#include "windcheck/ui/frmfy.h"
#include "windcheck/ui/frmfyresult.h"
#include "windcheck/ui/windcheck.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

using namespace Qt::StringLiterals;
using namespace windcheck;
using windcheck::ui::FrmFY;
using windcheck::ui::FrmFyResult;

namespace {

template<typename T>
T *child(QWidget *w, const QString &name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qFatal("no child %s", qPrintable(name));
    return c;
}

QLineEdit *edit(QWidget *w, const QString &name) { return child<QLineEdit>(w, name); }
QComboBox *combo(QWidget *w, const QString &name) { return child<QComboBox>(w, name); }

void fillSizes(FrmFY &form)
{
    edit(&form, u"txtBLCD"_s)->setText(u"771"_s);
    edit(&form, u"txtBLGD"_s)->setText(u"888"_s);
    edit(&form, u"txtSKD"_s)->setText(u"600"_s);
    edit(&form, u"txtSGD"_s)->setText(u"1400"_s);
}

} // namespace

class TstFrmFY : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void defaults();
    void transomBoxes_data();
    void transomBoxes();
    void steelPicking();
    void keyFilters_data();
    void keyFilters();
    void shapeCoefficientFirst();
    void refusedRunShowsNoReport_data();
    void refusedRunShowsNoReport();
    void reportWindow();
    void printing();
    void printoutOnPaper();
    void entryChoosesCheck_data();
    void entryChoosesCheck();

private:
    platform::ScriptedMessages *m_msgs = nullptr;
};

void TstFrmFY::init() { m_msgs = platform::installScriptedMessages(); }

void TstFrmFY::defaults()
{
    FrmFY form;
    QCOMPARE(form.windowTitle(), u"风压校核"_s);
    QCOMPARE(combo(&form, u"cmbMCLX"_s)->currentText(), u"二扇推拉窗"_s);
    QCOMPARE(edit(&form, u"txtFYZ"_s)->text(), u"0.8"_s);
    QCOMPARE(combo(&form, u"cmbFHZTXXS"_s)->currentText(), u"1.3"_s);
    QCOMPARE(combo(&form, u"cmbFHZTXXS"_s)->count(), 2);
    QCOMPARE(combo(&form, u"cmbDMCCD"_s)->currentText(), u"A类"_s);
    QCOMPARE(combo(&form, u"cmbJZWLX"_s)->currentText(), u"一般建筑"_s);
    QCOMPARE(combo(&form, u"cmbJZGD"_s)->currentText(), u"5米"_s);
    QCOMPARE(combo(&form, u"cmbBLZL"_s)->currentText(), u"浮法玻璃"_s);
    QCOMPARE(edit(&form, u"txtBLHD"_s)->text(), u"5"_s);
    QCOMPARE(combo(&form, u"cmbXGLX"_s)->currentText(), u"槽钢 ㄩ"_s);
    QCOMPARE(combo(&form, u"cmbXGBH"_s)->currentText(), u"1.2mm"_s);
    QCOMPARE(edit(&form, u"txtXGGXG"_s)->text(), u"1.045"_s);
    QVERIFY(!edit(&form, u"txtLZKD"_s)->isEnabled());
    QVERIFY(!edit(&form, u"txtLZGD"_s)->isEnabled());
    QVERIFY(!edit(&form, u"txtCS"_s)->text().isEmpty());
    QCOMPARE(form.input().basisText, standardsText());
    QVERIFY(child<QPushButton>(&form, u"Command1"_s)->isDefault());
}

void TstFrmFY::transomBoxes_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("三扇推拉窗") << u"三扇推拉窗"_s << false;
    QTest::newRow("二扇带亮推拉窗") << u"二扇带亮推拉窗"_s << true;
    QTest::newRow("三扇带亮含中梃推拉窗") << u"三扇带亮含中梃推拉窗"_s << true;
}

void TstFrmFY::transomBoxes()
{
    QFETCH(QString, type);
    QFETCH(bool, enabled);
    FrmFY form;
    fillSizes(form);
    edit(&form, u"txtLZKD"_s)->setText(u"kept"_s);
    combo(&form, u"cmbMCLX"_s)->setCurrentIndex(combo(&form, u"cmbMCLX"_s)->findText(type));
    QCOMPARE(edit(&form, u"txtLZKD"_s)->isEnabled(), enabled);
    QCOMPARE(edit(&form, u"txtLZGD"_s)->isEnabled(), enabled);
    QCOMPARE(edit(&form, u"txtLZKD"_s)->text(), u"kept"_s); // disabling keeps the text
    edit(&form, u"txtLZKD"_s)->clear();
    m_msgs->onDialog = [](QDialog *) { return int(QDialog::Accepted); };
    const bool ran = form.MakeWindReport();
    QCOMPARE(ran, !enabled);
    if (enabled) {
        QCOMPARE(m_msgs->lastText(), u"亮子宽度不能为空!"_s);
        QCOMPARE(form.focusWidget(), edit(&form, u"txtLZKD"_s));
    }
}

void TstFrmFY::steelPicking()
{
    FrmFY form;
    QComboBox *section = combo(&form, u"cmbXGLX"_s);
    QComboBox *thickness = combo(&form, u"cmbXGBH"_s);
    section->setCurrentIndex(1);
    thickness->setCurrentIndex(2);
    QCOMPARE(edit(&form, u"txtXGGXG"_s)->text(), u"1.0602"_s);
    thickness->setCurrentIndex(3);
    QCOMPARE(edit(&form, u"txtXGGXG"_s)->text(), u"1.711"_s);
    section->setCurrentIndex(0);
    QCOMPARE(edit(&form, u"txtXGGXG"_s)->text(), u"1.9751"_s);
    // The user may overwrite the value; the check uses what the box holds.
    edit(&form, u"txtXGGXG"_s)->setText(u"3.5"_s);
    QCOMPARE(form.input().inertia, u"3.5"_s);
}

void TstFrmFY::keyFilters_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("point refused in thickness") << u"txtBLHD"_s << u"5.5"_s << u"55"_s;
    QTest::newRow("point kept in glass width") << u"txtBLCD"_s << u"7.1"_s << u"7.1"_s;
    QTest::newRow("two points pass the key test") << u"txtSKD"_s << u"1.2.3"_s << u"1.2.3"_s;
    QTest::newRow("letters and minus refused") << u"txtFYZ"_s << u"-a0.9x"_s << u"0.9"_s;
    QTest::newRow("shape coefficient list") << u"cmbFHZTXXS"_s << u"1,4"_s << u"14"_s;
    QTest::newRow("project name unfiltered") << u"txtGCMC"_s << u"A-1.x"_s << u"A-1.x"_s;
}

void TstFrmFY::keyFilters()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    FrmFY form;
    QWidget *w = form.findChild<QWidget *>(box);
    QLineEdit *target = qobject_cast<QLineEdit *>(w);
    if (auto *c = qobject_cast<QComboBox *>(w))
        target = c->lineEdit();
    target->clear();
    QTest::keyClicks(target, typed);
    QCOMPARE(target->text(), kept);
}

void TstFrmFY::shapeCoefficientFirst()
{
    FrmFY form;
    form.show();
    for (const QString &name : {u"txtFYZ"_s, u"txtBLHD"_s, u"txtXGGXG"_s})
        edit(&form, name)->clear();
    combo(&form, u"cmbFHZTXXS"_s)->setEditText(QString());
    // Enter in a box presses the default button "校核".
    QTest::keyClick(combo(&form, u"cmbFHZTXXS"_s)->lineEdit(), Qt::Key_Return);
    QCOMPARE(m_msgs->shown.size(), 1);
    QCOMPARE(m_msgs->shown[0].text, u"风荷载体型系数不能为空!"_s);
    QCOMPARE(m_msgs->shown[0].icon, platform::MsgIcon::None);
    QCOMPARE(m_msgs->shown[0].title, QCoreApplication::applicationName());
    QCOMPARE(form.focusWidget(), combo(&form, u"cmbFHZTXXS"_s));
    QVERIFY(m_msgs->dialogNames.isEmpty());
    // Enter in a text box does the same.
    QTest::keyClick(edit(&form, u"txtGCMC"_s), Qt::Key_Return);
    QCOMPARE(m_msgs->shown.size(), 2);
}

void TstFrmFY::refusedRunShowsNoReport_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("zero basic pressure") << u"txtFYZ"_s << u"0"_s << u"风荷载标准值为0，无法计算单片玻璃最大许用面积！"_s;
    QTest::newRow("lone point") << u"txtSGD"_s << u"."_s << u"扇高度不是有效的数字！"_s;
    QTest::newRow("typed terrain") << u"cmbDMCCD"_s << u"E类"_s << u"请从列表中选择地面粗糙度！"_s;
    QTest::newRow("typed window type") << u"cmbMCLX"_s << u"四扇推拉窗"_s << u"请从列表中选择门窗类型！"_s;
    QTest::newRow("zero inertia") << u"txtXGGXG"_s << u"0"_s << u"型钢惯性矩不能为0！"_s;
}

void TstFrmFY::refusedRunShowsNoReport()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    FrmFY form;
    fillSizes(form);
    QWidget *w = form.findChild<QWidget *>(box);
    if (auto *c = qobject_cast<QComboBox *>(w))
        c->setEditText(text);
    else
        qobject_cast<QLineEdit *>(w)->setText(text);
    QVERIFY(!form.MakeWindReport());
    QCOMPARE(m_msgs->texts(), QStringList{message});
    QVERIFY(m_msgs->dialogNames.isEmpty());
    QCOMPARE(edit(&form, u"txtSKD"_s)->text(), u"600"_s); // the form keeps its contents
}

void TstFrmFY::reportWindow()
{
    FrmFY form;
    fillSizes(form);
    edit(&form, u"txtGCMC"_s)->setText(u"阳光小区"_s);
    QString shown;
    double titleSize = 0, bodySize = 0;
    int caret = -1;
    bool selection = true;
    QString caption;
    m_msgs->onDialog = [&](QDialog *d) {
        caption = d->windowTitle();
        auto *rt = d->findChild<QTextEdit *>(u"rtResult"_s);
        shown = rt->toPlainText();
        QTextCursor c(rt->document());
        c.setPosition(5);
        titleSize = c.charFormat().fontPointSize();
        c.setPosition(40);
        bodySize = c.charFormat().fontPointSize();
        caret = rt->textCursor().position();
        selection = rt->textCursor().hasSelection();
        return int(QDialog::Accepted);
    };
    QVERIFY(form.MakeWindReport());
    QCOMPARE(m_msgs->dialogNames, QStringList{u"frmFyResult"_s});
    QCOMPARE(caption, u"风压校核结果"_s);
    const SimpleWindReport expected = windcheck::MakeWindReport(form.input());
    QCOMPARE(shown, QString(expected.text).replace(u"\r\n"_s, u"\n"_s));
    QVERIFY(shown.contains(u"一、工程名称：阳光小区"_s));
    QCOMPARE(titleSize, 24.0);
    QCOMPARE(bodySize, 14.0);
    QCOMPARE(caret, kTitleLength - 1); // CR LF shows as one line break
    QVERIFY(!selection);

    // Each press builds a new report from the fields as they stand.
    edit(&form, u"txtGCMC"_s)->setText(u"第二期"_s);
    QVERIFY(form.MakeWindReport());
    QVERIFY(shown.contains(u"一、工程名称：第二期"_s));
}

void TstFrmFY::printing()
{
    const SimpleWindReport r = windcheck::MakeWindReport([] {
        FrmFY form;
        fillSizes(form);
        return form.input();
    }());
    QVERIFY(r.ok);
    FrmFyResult result(r.text);
    // No default printer: the print dialog; cancelled there, nothing is printed and nothing said.
    m_msgs->onDialog = [](QDialog *) { return int(QDialog::Rejected); };
    QVERIFY(!result.printReport());
    QCOMPARE(m_msgs->dialogNames, QStringList{u"printDialog"_s});
    QVERIFY(m_msgs->shown.isEmpty());

    // A printer that cannot be opened is reported, never counted as printed.
    QTemporaryDir dir;
    const QString bad = dir.filePath(u"missing/report.pdf"_s);
    m_msgs->onDefaultPrinter = [bad](QPrinter *p) { return platform::printToPdf(p, bad); };
    testfixture::printDialogsTo(m_msgs, bad);
    QVERIFY(!result.printReport());
    QCOMPARE(m_msgs->texts(), QStringList{u"打印出错！请检查打印机是否可用。"_s});

    // A default printer that works takes the report without any dialog.
    m_msgs->clear();
    const QString pdf = dir.filePath(u"report.pdf"_s);
    m_msgs->onDefaultPrinter = [pdf](QPrinter *p) { return platform::printToPdf(p, pdf); };
    QVERIFY(result.printReport());
    QVERIFY(m_msgs->dialogNames.isEmpty());
    QVERIFY(m_msgs->shown.isEmpty());
    if (const auto text = testfixture::pdfText(pdf)) {
        QVERIFY2(text->contains(u"塑钢门窗抗风压校核报告"_s), qPrintable(*text));
        QVERIFY(text->contains(u"校核结果：不合格"_s));
    }

    // The printout: the title at 24 point, every body line at 14, tabs as blanks, nothing lost.
    const platform::Report out = simpleReportPrintout(r.text);
    QCOMPARE(out.fontFamily, u"隶书"_s);
    QCOMPARE(out.blocks.size(), 57); // as many lines as on screen
    QCOMPARE(out.blocks[1].text, u"            塑钢门窗抗风压校核报告"_s);
    QCOMPARE(out.blocks[1].pointSize, 24.0);
    QCOMPARE(out.blocks[2].text, QString());
    QCOMPARE(out.blocks[3].text, u"一、工程名称："_s);
    QCOMPARE(out.blocks[3].pointSize, 0.0); // the body size
    QCOMPARE(out.bodyPointSize, 14.0);
    QCOMPARE(out.blocks.constLast().text, u"        校核结果：不合格"_s);
    QStringList printed;
    for (const QStringList &page : platform::reportPageTexts(out))
        printed += page;
    QVERIFY(printed.contains(u"        计算结果：Wk = 2.056392千牛/平方米"_s));
    QVERIFY(printed.contains(u"        校核结果：不合格"_s));
}

// With a long project name the printout keeps to the sheet, in the face that stands in for 隶书.
void TstFrmFY::printoutOnPaper()
{
    FrmFY form;
    fillSizes(form);
    edit(&form, u"txtGCMC"_s)->setText(QString(u"阳光花园二期十八号楼东侧"_s).repeated(5));
    const SimpleWindReport r = windcheck::MakeWindReport(form.input());
    QVERIFY(r.ok);
    const platform::Report out = simpleReportPrintout(r.text);
    const platform::RecordingSurface s = pagecheck::onPaper(out);
    const QStringList faults = pagecheck::pageFaults(s.ops, platform::a4Twips(out.orientation));
    QVERIFY2(faults.isEmpty(), pagecheck::summary(faults));
    QVERIFY(pagecheck::printedText(s).contains(u"一、工程名称："_s + form.input().projectName));
    for (const platform::SurfaceOp &op : s.texts())
        QCOMPARE(op.font.family(), platform::installedFamily(u"隶书"_s));
}

void TstFrmFY::entryChoosesCheck_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<QString>("window");
    QTest::newRow("one-window") << 1 << u"frmFY"_s;
    QTest::newRow("any non-zero") << -3 << u"frmFY"_s;
    QTest::newRow("two-step") << 0 << u"FrmMainFY01"_s;
}

void TstFrmFY::entryChoosesCheck()
{
    QFETCH(int, flag);
    QFETCH(QString, window);
    app::FYOptionFlag = qint16(flag);
    m_msgs->onDialog = [](QDialog *) { return int(QDialog::Rejected); };
    windcheck::ui::openWindCheck(nullptr);
    QCOMPARE(m_msgs->dialogNames, QStringList{window});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Nothing is left open after the window was dismissed.
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(w->objectName() != window, qPrintable(window));
}

QTEST_MAIN(TstFrmFY)
#include "tst_frmfy.moc"
