#include "platform/report.h"
#include "platform/reportview.h"
#include "platform/scriptedmessages.h"

#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace platform;

class TstReport : public QObject
{
    Q_OBJECT
private slots:
    void shortReportIsOnePage();
    void longTableBreaksAndRepeatsItsTitles();
    void pdfCarriesTheChineseText();
    void previewGoesThroughTheSeam();

private:
    static Report sample(int rows)
    {
        Report r;
        r.title = u"入库单"_s;
        r.blocks << ReportBlock::line(u"单据编号: 7"_s) << ReportBlock::spacer(2);
        QList<QStringList> body;
        for (int i = 1; i <= rows; ++i)
            body << QStringList{QString::number(i), u"塑钢型材"_s, u"6000"_s};
        r.blocks << ReportBlock::table({{u"序号"_s, 1}, {u"名称"_s, 3}, {u"长度"_s, 1, Qt::AlignRight}}, body);
        r.blocks << ReportBlock::line(u"合计: %1"_s.arg(rows), Qt::AlignRight);
        return r;
    }
};

void TstReport::shortReportIsOnePage()
{
    const auto pages = reportPageTexts(sample(3));
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages[0].first(), u"入库单"_s);
    QVERIFY(pages[0].contains(u"合计: 3"_s));
    QCOMPARE(pages[0].last(), u"第 1 页 共 1 页"_s);
}

void TstReport::longTableBreaksAndRepeatsItsTitles()
{
    const auto pages = reportPageTexts(sample(200));
    QVERIFY(pages.size() > 2);
    int rowsSeen = 0;
    for (int p = 0; p < pages.size(); ++p) {
        QVERIFY2(pages[p].contains(u"序号"_s), qPrintable(QString::number(p)));
        QCOMPARE(pages[p].last(), u"第 %1 页 共 %2 页"_s.arg(p + 1).arg(pages.size()));
        rowsSeen += int(pages[p].count(u"塑钢型材"_s));
    }
    QCOMPARE(rowsSeen, 200); // no row lost or doubled at a page break
    QVERIFY(pages.last().contains(u"合计: 200"_s));
}

void TstReport::pdfCarriesTheChineseText()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"r.pdf"_s);
    QString err;
    QVERIFY2(writeReportPdf(sample(5), path, &err), qPrintable(err));
    QVERIFY(QFile(path).size() > 0);
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("pdftotext is not installed");
    QProcess p;
    p.start(u"pdftotext"_s, {path, u"-"_s});
    QVERIFY(p.waitForFinished());
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(text.contains(u"入库单"_s), qPrintable(text));
    QVERIFY(text.contains(u"塑钢型材"_s));
    QVERIFY(!writeReportPdf(sample(1), dir.filePath(u"missing/r.pdf"_s), &err));
}

void TstReport::previewGoesThroughTheSeam()
{
    ScriptedMessages *msgs = installScriptedMessages();
    QString caption;
    msgs->onDialog = [&caption](QDialog *d) {
        caption = d->windowTitle();
        return int(QDialog::Rejected);
    };
    previewReport(nullptr, sample(2), u"入库单报表"_s);
    QCOMPARE(msgs->dialogNames, QStringList{u"reportPreview"_s});
    QCOMPARE(caption, u"入库单报表"_s);
}

QTEST_MAIN(TstReport)
#include "tst_report.moc"
