#include "simpleprint.h"

#include "simplecheck.h"

using namespace Qt::StringLiterals;

namespace windcheck {

namespace {
// The page painter does not expand tabs: four blanks keep the indentation.
QString expandTabs(QString line) { return line.replace(u'\t', u"    "_s); }
} // namespace

platform::Report simpleReportPrintout(const QString &text)
{
    platform::Report report;
    report.fontFamily = kSimpleReportFont;
    report.bodyPointSize = kSimpleBodySize;
    const QString title = text.left(kTitleLength);
    // The empty first line of the title keeps its height.
    report.blocks << platform::ReportBlock::line(QString(), Qt::AlignLeft, kSimpleTitleSize);
    report.blocks << platform::ReportBlock::line(expandTabs(title.mid(2)), Qt::AlignLeft, kSimpleTitleSize);
    QStringList body = text.mid(kTitleLength).split(u"\r\n"_s);
    // The title's own line end starts the body; the final line end closes the last line.
    if (!body.isEmpty())
        body.removeFirst();
    if (!body.isEmpty() && body.constLast().isEmpty())
        body.removeLast();
    for (const QString &line : body)
        report.blocks << platform::ReportBlock::line(expandTabs(line));
    return report;
}

} // namespace windcheck
