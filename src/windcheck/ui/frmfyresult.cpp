#include "frmfyresult.h"

#include "platform/faces.h"
#include "platform/messages.h"
#include "platform/reportview.h"
#include "windcheck/simplecheck.h"
#include "windcheck/simpleprint.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace windcheck::ui {

namespace {
QString lf(QString text) { return text.replace(u"\r\n"_s, u"\n"_s); }

QTextCharFormat sized(double points)
{
    QTextCharFormat f;
    f.setFontFamilies({platform::installedFamily(kSimpleReportFont)});
    f.setFontPointSize(points);
    return f;
}
} // namespace

FrmFyResult::FrmFyResult(const QString &report, QWidget *parent) : QDialog(parent), m_report(report)
{
    setObjectName(u"frmFyResult"_s);
    setWindowTitle(u"风压校核结果"_s);
    resize(760, 620);

    auto *group = new QGroupBox(u"校核结果："_s, this);
    m_result = new QTextEdit(group);
    m_result->setObjectName(u"rtResult"_s);
    m_result->setReadOnly(true);
    m_result->setLineWrapMode(QTextEdit::NoWrap);
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_result);

    // Title at 24 point, the body at 14; the caret at the start of the body.
    QTextCursor cursor(m_result->document());
    cursor.insertText(lf(report.left(kTitleLength)), sized(kSimpleTitleSize));
    const int bodyStart = cursor.position();
    cursor.insertText(lf(report.mid(kTitleLength)), sized(kSimpleBodySize));
    cursor.setPosition(bodyStart);
    m_result->setTextCursor(cursor);

    auto *print = new QPushButton(u"打印"_s, this);
    print->setObjectName(u"Command1"_s);
    auto *quit = new QPushButton(u"退出"_s, this);
    quit->setObjectName(u"OKButton"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(quit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    connect(print, &QPushButton::clicked, this, &FrmFyResult::printReport);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
}

// Prints to the default printer without asking, as the report always did; the print dialog steps in
// when there is none.
bool FrmFyResult::printReport()
{
    return platform::printReport(this, simpleReportPrintout(m_report), platform::PrintRoute::DefaultPrinter);
}

} // namespace windcheck::ui
