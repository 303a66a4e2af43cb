// The two-step chain of windows: entry and hand-over between the windows, refusals that keep the
// window, repeated checks, the report window and its printout, the cover settings and the cover
// printout, printer failures, and the end of the chain.
#include "app/shared.h"
#include "../app/pdftext.h"
#include "platform/scriptedmessages.h"
#include "platform/printing.h"
#include "platform/settings.h"
#include "platform/surface_printer.h"
#include "platform/surface_recording.h"
#include "windcheck/fyprint.h"
#include "windcheck/ui/frmfm01.h"
#include "windcheck/ui/frmfy01.h"
#include "windcheck/ui/frmmainfy01.h"
#include "windcheck/ui/frmresultfy01.h"
#include "windcheck/ui/windcheck.h"

#include <QApplication>
#include <QFileInfo>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace windcheck;
using namespace windcheck::ui;

namespace {

// A recording surface whose log outlives it.
struct KeptSurface : platform::RecordingSurface
{
    QList<platform::SurfaceOp> *sink;
    double *fontSize;
    KeptSurface(QList<platform::SurfaceOp> *s, double *f) : RecordingSurface(9000, 4800, 240), sink(s), fontSize(f) {}
    ~KeptSurface() override
    {
        *sink = ops;
        *fontSize = font().pointSizeF();
    }
};

void click(QWidget *w, const QString &button)
{
    QPushButton *b = w->findChild<QPushButton *>(button);
    QVERIFY2(b, qPrintable(button));
    b->click();
}

QLineEdit *edit(QWidget *w, const QString &name) { return w->findChild<QLineEdit *>(name); }

void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QStringList texts(const QList<platform::SurfaceOp> &ops)
{
    QStringList out;
    for (const platform::SurfaceOp &op : ops)
        if (op.kind == platform::SurfaceOp::Text)
            out << op.text;
    return out;
}

} // namespace

class TstFullChain : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void entryHandsOverToChain();
    void basicStepRefusals_data();
    void basicStepRefusals();
    void checkShowsReportAndComesBack();
    void glassStepRefuses_data();
    void glassStepRefuses();
    void cancelGoesBackAndNextStartsAfresh();
    void escapeGoesBack_data();
    void escapeGoesBack();
    void ratioBox();
    void reportPrintout();
    void coverSettings();
    void coverPrintoutThenReportAtSizeNine();
    void reportAndCoverWithoutDefaultPrinter();
    void printerFailure();
    void closingEndsChain();

private:
    platform::ScriptedMessages *m_msgs = nullptr;
    std::unique_ptr<QTemporaryDir> m_dir;
    QList<platform::SurfaceOp> m_printed;
    double m_printedSize = 0;
    int m_prints = 0;
};

void TstFullChain::init()
{
    m_msgs = platform::installScriptedMessages();
    m_dir = std::make_unique<QTemporaryDir>();
    platform::SettingsStore::useFile(m_dir->filePath(u"settings.ini"_s));
    m_printed.clear();
    m_prints = 0;
    platform::setPrintSurfaceFactory([this]() -> std::unique_ptr<platform::Surface> {
        ++m_prints;
        return std::make_unique<KeptSurface>(&m_printed, &m_printedSize);
    });
}

void TstFullChain::cleanup()
{
    platform::setPrintSurfaceFactory({});
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<FrmMainFY01 *>(w))
            delete w;
    settle();
}

void TstFullChain::entryHandsOverToChain()
{
    app::FYOptionFlag = 0;
    QPointer<FrmMainFY01> first;
    m_msgs->onDialog = [&](QDialog *d) {
        first = qobject_cast<FrmMainFY01 *>(d);
        click(d, u"CmdNext"_s); // hides the window: the modal display ends
        return d->result();
    };
    openWindCheck(nullptr);
    settle();
    QVERIFY(first);
    QCOMPARE(first->windowTitle(), u"风压基础设置"_s);
    QVERIFY(first->isHidden());
    FrmFY01 *glass = first->glassStep();
    QVERIFY(glass);
    QVERIFY(glass->isVisible());
    QCOMPARE(glass->windowTitle(), u"风压校核设置"_s);
    QCOMPARE(glass->wkCopy(), first->state().FYWk);
    QCOMPARE(first->state().FYReport[22], u"       风荷载标准值： 1.29024KN/m^2"_s);
    // While the chain runs the entry brings it back instead of starting a second one.
    m_msgs->dialogNames.clear();
    openWindCheck(nullptr);
    QVERIFY(m_msgs->dialogNames.isEmpty());
    QCOMPARE(first->glassStep(), glass);
    QVERIFY(glass->isVisible());
    // Closing the first window later ends the chain and releases every window.
    click(glass, u"CancelButton"_s);
    QVERIFY(first->isVisible());
    click(first, u"Command2"_s);
    settle();
    QVERIFY(!first);
    // Ended: the entry starts a new chain.
    m_msgs->onDialog = [](QDialog *) { return int(QDialog::Rejected); };
    openWindCheck(nullptr);
    QCOMPARE(m_msgs->dialogNames, QStringList{u"FrmMainFY01"_s});
}

void TstFullChain::basicStepRefusals_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("notice");
    QTest::newRow("gust factor") << u"Text6"_s << u"阵风系数不能为空!"_s << false;
    QTest::newRow("shape coefficient") << u"Text7"_s << u"风荷载体型系数不能为空！"_s << false;
}

void TstFullChain::basicStepRefusals()
{
    QFETCH(QString, box);
    QFETCH(QString, message);
    QFETCH(bool, notice);
    FrmMainFY01 first;
    first.show();
    edit(&first, box)->clear();
    QVERIFY(!first.CmdNext());
    QCOMPARE(m_msgs->texts(), QStringList{message});
    const platform::ShownMessage &m = m_msgs->shown[0];
    QCOMPARE(m.icon, notice ? platform::MsgIcon::Information : platform::MsgIcon::None);
    QCOMPARE(m.title, notice ? u"提示"_s : QCoreApplication::applicationName());
    QCOMPARE(first.focusWidget(), edit(&first, box));
    QVERIFY(first.isVisible());
    QVERIFY(!first.glassStep());
    QVERIFY(first.state().FYReport[1].isEmpty());
}

void TstFullChain::checkShowsReportAndComesBack()
{
    auto *first = new FrmMainFY01;
    first->show();
    QVERIFY(first->CmdNext());
    FrmFY01 *glass = first->glassStep();
    QVERIFY(glass->check());
    QPointer<FrmResultFY01> report = glass->reportWindow();
    QVERIFY(report);
    QVERIFY(report->isVisible());
    QVERIFY(glass->isHidden());
    QCOMPARE(report->windowTitle(), u"风压校核计算结果"_s);
    const QString text = report->reportText();
    QVERIFY(text.startsWith(u"                    =====建筑门窗框、扇及玻璃校核报告=====\n\n工程门窗：\n"_s));
    QVERIFY(text.contains(u"\n       风荷载标准值： 1.29024KN/m^2\n"_s));
    QVERIFY(text.contains(u"\n       W =  1.354752KN/m^2\n"_s));
    QVERIFY(text.endsWith(u"       校核结果：合格\n"_s));
    QCOMPARE(first->state().FYWk, 1.354752f);

    // Back to the glass step with its inputs; a second check gives the same report.
    edit(glass, u"Text3"_s)->setText(u"70推拉框"_s);
    click(report, u"OKButton"_s);
    settle();
    QVERIFY(!report);
    QVERIFY(glass->isVisible());
    QCOMPARE(edit(glass, u"Text3"_s)->text(), u"70推拉框"_s);
    QVERIFY(glass->check());
    const QString again = glass->reportWindow()->reportText();
    QCOMPARE(again, QString(text).replace(u"型材类型:60固定框"_s, u"型材类型:70推拉框"_s));
    delete first;
}

void TstFullChain::glassStepRefuses_data()
{
    QTest::addColumn<QString>("firstBox");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty basic pressure gives Wk 0")
        << u"Text3"_s << QString() << u"风荷载标准值为0，无法校核！请返回上一步检查基本风压值、阵风系数和风荷载体型系数。"_s;
    QTest::newRow("empty glass thickness") << QString() << u"Text7"_s << u"玻璃厚度必须大于0！"_s;
    QTest::newRow("empty glass length") << QString() << u"Text12"_s << u"玻璃长度必须大于0！"_s;
    QTest::newRow("empty steel thickness") << QString() << u"Text10"_s << u"型钢厚度必须大于0！"_s;
    // A typed ratio that is not an item has no bending coefficient.
    QTest::newRow("typed ratio") << QString() << u"Combo2=0.3"_s << u"请从列表中选择弯曲系数！"_s;
    QTest::newRow("emptied ratio") << QString() << u"Combo2="_s << u"请从列表中选择弯曲系数！"_s;
}

void TstFullChain::glassStepRefuses()
{
    QFETCH(QString, firstBox);
    QFETCH(QString, box);
    QFETCH(QString, message);
    auto *first = new FrmMainFY01;
    first->show();
    if (!firstBox.isEmpty())
        edit(first, firstBox)->clear();
    QVERIFY(first->CmdNext());
    FrmFY01 *glass = first->glassStep();
    QWidget *focus = nullptr;
    if (box.startsWith(u"Combo2="_s)) {
        auto *combo = glass->findChild<QComboBox *>(u"Combo2"_s);
        combo->setEditText(box.section(u'=', 1));
        focus = combo;
    } else if (!box.isEmpty()) {
        edit(glass, box)->clear();
        focus = edit(glass, box);
    }
    QVERIFY(!glass->check());
    QCOMPARE(m_msgs->texts(), QStringList{message});
    QCOMPARE(m_msgs->shown[0].icon, platform::MsgIcon::Information);
    QVERIFY(glass->isVisible());
    QVERIFY(!glass->reportWindow());
    if (focus)
        QVERIFY(glass->focusWidget() == focus || focus->isAncestorOf(glass->focusWidget()));
    QVERIFY(first->state().FYReport[25].isEmpty());
    delete first;
}

void TstFullChain::cancelGoesBackAndNextStartsAfresh()
{
    auto *first = new FrmMainFY01;
    first->show();
    QVERIFY(first->CmdNext());
    QPointer<FrmFY01> glass = first->glassStep();
    edit(glass, u"Text7"_s)->setText(u"8"_s);
    click(glass, u"CancelButton"_s);
    settle();
    QVERIFY(!glass);
    QVERIFY(first->isVisible());
    // Inputs of the first window are kept; a new run starts the glass step from its defaults.
    edit(first, u"Text3"_s)->setText(u"0.5"_s);
    QVERIFY(first->CmdNext());
    FrmFY01 *fresh = first->glassStep();
    QCOMPARE(edit(fresh, u"Text7"_s)->text(), u"5"_s);
    QCOMPARE(first->state().FYReport[6], u"   基本风压(W0): .5"_s);
    QCOMPARE(fresh->wkCopy(), float(1.0 * double(1.92f) * double(0.84f) * double(0.5f)));
    delete first;
}

void TstFullChain::escapeGoesBack_data()
{
    QTest::addColumn<QString>("step");
    QTest::newRow("glass step") << u"glass"_s;
    QTest::newRow("cover settings") << u"cover"_s;
    QTest::newRow("report") << u"report"_s;
}

// Escape closes a later window as its own button does, and the window it came from comes back.
void TstFullChain::escapeGoesBack()
{
    QFETCH(QString, step);
    auto *first = new FrmMainFY01;
    first->show();
    QPointer<QWidget> window;
    QWidget *back = first;
    if (step == u"cover"_s) {
        first->CmdFM();
        window = first->coverSettings();
    } else {
        QVERIFY(first->CmdNext());
        window = first->glassStep();
        if (step == u"report"_s) {
            QVERIFY(first->glassStep()->check());
            back = first->glassStep();
            window = first->glassStep()->reportWindow();
        }
    }
    QVERIFY(window && window->isVisible());
    QVERIFY(back->isHidden());
    QTest::keyClick(window, Qt::Key_Escape);
    settle();
    QVERIFY(!window);
    QVERIFY(back->isVisible());
    delete first;
}

void TstFullChain::ratioBox()
{
    auto *first = new FrmMainFY01;
    QVERIFY(first->CmdNext());
    FrmFY01 *glass = first->glassStep();
    QLineEdit *ratio = edit(glass, u"Text5"_s);
    QVERIFY(ratio->text().isEmpty());
    QCOMPARE(glass->findChild<QComboBox *>(u"Combo2"_s)->currentText(), u"0.25"_s);
    QCOMPARE(glass->input().bendingRatio, 1);
    edit(glass, u"Text12"_s)->setText(u"1000"_s);
    QCOMPARE(ratio->text(), u" .771"_s);
    edit(glass, u"Text11"_s)->setText(u"0"_s);
    QCOMPARE(ratio->text(), u" 0"_s);
    edit(glass, u"Text12"_s)->setText(u"0"_s); // larger side 0: left as it was
    QCOMPARE(ratio->text(), u" 0"_s);
    delete first;
}

void TstFullChain::reportPrintout()
{
    auto *first = new FrmMainFY01;
    QVERIFY(first->CmdNext());
    QVERIFY(first->glassStep()->check());
    QVERIFY(first->glassStep()->reportWindow()->CmdPrint());
    QCOMPARE(m_prints, 1);
    QCOMPARE(m_printedSize, kReportFontSize);
    const QStringList printed = texts(m_printed);
    QVERIFY(printed.contains(first->state().FYReport[217]));
    QCOMPARE(printed.first(), first->state().FYReport[1]);
    QVERIFY(printed.contains(u"页:/ 1/"_s));
    QVERIFY(m_msgs->shown.isEmpty());
    delete first;
}

void TstFullChain::coverSettings()
{
    platform::SettingsStore::set(u"FM"_s, u"GCMC"_s, u"阳光小区"_s);
    auto *first = new FrmMainFY01;
    first->show();
    first->CmdFM();
    QPointer<FrmFM01> cover = first->coverSettings();
    QVERIFY(cover->isVisible());
    QVERIFY(first->isHidden());
    QCOMPARE(cover->windowTitle(), u"封面设置"_s);
    QCOMPARE(edit(cover, u"Text1"_s)->text(), u"阳光小区"_s);
    QCOMPARE(edit(cover, u"Text5"_s)->text(), coverDateText(QDate::currentDate()));
    // Cancel keeps the stored texts.
    edit(cover, u"Text1"_s)->setText(u"改过"_s);
    click(cover, u"CancelButton"_s);
    settle();
    QVERIFY(!cover);
    QVERIFY(first->isVisible());
    QCOMPARE(LoadCoverSettings().gcmc, u"阳光小区"_s);
    // OK stores all four.
    first->CmdFM();
    cover = first->coverSettings();
    edit(cover, u"Text1"_s)->setText(u"新区"_s);
    edit(cover, u"Text2"_s)->setText(u"张工"_s);
    edit(cover, u"Text4"_s)->setText(u"质检站"_s);
    click(cover, u"OKButton"_s);
    settle();
    QVERIFY(first->isVisible());
    const CoverSettings saved = LoadCoverSettings();
    QCOMPARE(saved.gcmc, u"新区"_s);
    QCOMPARE(saved.jh, u"张工"_s);
    QCOMPARE(saved.sh, QString());
    QCOMPARE(saved.jhdw, u"质检站"_s);
    delete first;
}

void TstFullChain::coverPrintoutThenReportAtSizeNine()
{
    SaveCoverSettings({u"阳光小区"_s, u"张工"_s, u"李工"_s, u"质检站"_s});
    auto *first = new FrmMainFY01;
    first->show();
    QVERIFY(first->CmdFMPrint());
    QVERIFY(first->isVisible());
    const QStringList cover = texts(m_printed);
    QCOMPARE(cover.first(), u"阳 光 小 区"_s);
    QCOMPARE(cover.last(), u"校 核 日 期："_s + coverDateText(QDate::currentDate()));
    QVERIFY(first->CmdNext());
    QVERIFY(first->glassStep()->check());
    QVERIFY(first->glassStep()->reportWindow()->CmdPrint());
    QCOMPARE(m_printedSize, 9.0);
    delete first;
}

// With no default printer the print dialog is shown, and the user picks a PDF file there.
void TstFullChain::reportAndCoverWithoutDefaultPrinter()
{
    platform::setPrintSurfaceFactory({});
    SaveCoverSettings({u"阳光小区"_s, u"张工"_s, u"李工"_s, u"质检站"_s});
    const QString reportPdf = m_dir->filePath(u"report.pdf"_s);
    const QString coverPdf = m_dir->filePath(u"cover.pdf"_s);
    auto *first = new FrmMainFY01;
    testfixture::printDialogsTo(m_msgs, coverPdf);
    QVERIFY(first->CmdFMPrint());
    QVERIFY(first->CmdNext());
    QVERIFY(first->glassStep()->check());
    testfixture::printDialogsTo(m_msgs, reportPdf);
    QVERIFY(first->glassStep()->reportWindow()->CmdPrint());
    QVERIFY(m_msgs->shown.isEmpty());
    QCOMPARE(m_msgs->dialogNames, (QStringList{u"printDialog"_s, u"printDialog"_s}));
    delete first;

    const auto cover = testfixture::pdfText(coverPdf, true);
    if (!cover)
        QSKIP("pdftotext is not installed");
    QVERIFY(cover->contains(u"校 核 日 期："_s));
    // The project name stands in the middle of the page.
    const auto words = testfixture::pdfWords(coverPdf);
    QRectF name;
    for (const testfixture::PdfWord &w : *words)
        if (w.text.contains(u'阳') || w.text.contains(u'区'))
            name |= w.box;
    QVERIFY(!name.isEmpty());
    QVERIFY2(std::abs(name.center().x() - words->constFirst().pageWidth / 2) < 3,
             qPrintable(u"%1 of %2"_s.arg(name.center().x()).arg(words->constFirst().pageWidth)));
    const QStringList pages = testfixture::pdfPages(*testfixture::pdfText(reportPdf));
    QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size()))); // 217 lines at 9.2 point on A4
    QVERIFY(pages.constFirst().contains(u"风"_s));
}

// A default printer that cannot be opened leads to the print dialog; when that printer fails too,
// or the user cancels, the failure is reported and nothing counts as printed.
void TstFullChain::printerFailure()
{
    platform::setPrintSurfaceFactory({});
    const QString badPath = m_dir->filePath(u"missing/folder/report.pdf"_s);
    m_msgs->onDefaultPrinter = [badPath](QPrinter *p) { return platform::printToPdf(p, badPath); };
    testfixture::printDialogsTo(m_msgs, badPath);
    auto *first = new FrmMainFY01;
    first->show();
    QVERIFY(!first->CmdFMPrint());
    QCOMPARE(m_msgs->texts(), QStringList{u"打印出错！请检查打印机是否可用。"_s});
    QCOMPARE(m_msgs->dialogNames, QStringList{u"printDialog"_s});
    QCOMPARE(first->state().printFontSize, kReportFontSize); // nothing printed, nothing changed
    QVERIFY(first->isVisible());
    QVERIFY(first->CmdNext());
    QVERIFY(first->glassStep()->check());
    FrmResultFY01 *report = first->glassStep()->reportWindow();
    m_msgs->onDialog = {}; // the print dialog cancelled
    QVERIFY(!report->CmdPrint());
    QCOMPARE(m_msgs->shown.size(), 2);
    QVERIFY(report->isVisible()); // the chain stays as it was
    delete first;
}

void TstFullChain::closingEndsChain()
{
    app::FYOptionFlag = 0;
    QPointer<FrmMainFY01> first;
    QPointer<FrmFM01> cover;
    m_msgs->onDialog = [&](QDialog *d) {
        first = qobject_cast<FrmMainFY01 *>(d);
        first->CmdFM();
        cover = first->coverSettings();
        return 0;
    };
    openWindCheck(nullptr);
    QVERIFY(cover && cover->isVisible());
    click(cover, u"OKButton"_s);
    settle();
    QVERIFY(first->isVisible());
    first->close();
    settle();
    QVERIFY(!first);
    QVERIFY(!cover);
}

QTEST_MAIN(TstFullChain)
#include "tst_fullchain.moc"
