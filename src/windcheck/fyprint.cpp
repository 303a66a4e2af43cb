#include "fyprint.h"

#include "fullcheck.h"
#include "platform/chinese.h"
#include "platform/numtext.h"
#include "platform/report.h"
#include "platform/settings.h"
#include "platform/surface.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace windcheck {

namespace {
const QString kSection = u"FM"_s;

int whole(double v) { return int(std::lround(v)); }
int intPart(double v) { return int(std::floor(v)); }

void setFontSize(platform::Surface &s, double size)
{
    QFont f = s.font();
    f.setPointSizeF(size);
    s.setFont(f);
}

QString footer(int page) { return u"页:/"_s + platform::statementDouble(page) + u"/"_s; }

void printFooter(platform::Surface &s, const PrintLayout &layout, int page)
{
    s.setCurrentPos(QPointF(s.width() / 2.0, s.textHeight(u"A"_s) + layout.bottom));
    s.print(footer(page));
}
// The report's lines keep as far from the right edge as from the left: a longer line (a long project
// name) is drawn smaller rather than off the page.
void printLine(platform::Surface &s, const PrintLayout &layout, double y, double step, const QString &text)
{
    platform::printAtOrFit(s, QPointF(layout.left, y), QRectF(layout.left, y, s.width() - 2.0 * layout.left, step),
                           text, Qt::AlignLeft | Qt::AlignTop);
}
} // namespace

CoverSettings LoadCoverSettings()
{
    using platform::SettingsStore;
    return {SettingsStore::get(kSection, u"GCMC"_s, QString()), SettingsStore::get(kSection, u"JH"_s, QString()),
            SettingsStore::get(kSection, u"SH"_s, QString()), SettingsStore::get(kSection, u"JHDW"_s, QString())};
}

bool SaveCoverSettings(const CoverSettings &cover, QString *error)
{
    return platform::SettingsStore::set(
        kSection, {{u"GCMC"_s, cover.gcmc}, {u"JH"_s, cover.jh}, {u"SH"_s, cover.sh}, {u"JHDW"_s, cover.jhdw}},
        error);
}

QString SpaceOutText(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i > 0)
            out += u' ';
        out += text.at(i);
    }
    return out;
}

QString coverDateText(const QDate &date)
{
    return platform::dateText(date);
}

PrintLayout printLayoutFor(double pageWidth, double pageHeight)
{
    PrintLayout l;
    l.left = intPart(pageWidth / 8.0);
    l.top = intPart(pageHeight / 16.0);
    l.bottom = whole(pageHeight) - intPart(pageHeight / 9.0);
    return l;
}

int reportLineStep(const platform::Surface &surface)
{
    const double h = surface.textHeight(u"A"_s);
    return whole(h + intPart(h / 3.0));
}

int PrintReportLine(platform::Surface &s, const FYState &state, double fontSize)
{
    setFontSize(s, fontSize);
    const PrintLayout layout = printLayoutFor(s.width(), s.height());
    const int step = reportLineStep(s);
    int y = layout.top;
    int page = 1;
    auto finishPage = [&] {
        y = layout.top;
        printFooter(s, layout, page);
        ++page;
        s.newPage();
    };
    for (int line = 1; line <= kLastReportLine; ++line) {
        if (y >= layout.bottom)
            finishPage();
        if (line == 1)
            y = layout.top;
        if (line == kLastReportLine) {
            y += step;
            // The extra step must not push the last line into the footer.
            if (y >= layout.bottom)
                finishPage();
            printLine(s, layout, y, step, state.FYReport[line]);
            printFooter(s, layout, page);
            s.endDocument();
            return page;
        }
        // A line's own line break takes no place: every line stands at its own position.
        QString text = state.FYReport[line];
        text.remove(u'\r');
        text.remove(u'\n');
        printLine(s, layout, y, step, text);
        y += step;
    }
    return page;
}

void PrintCoverPage(platform::Surface &s, const CoverSettings &cover, const QDate &today, FYState &state)
{
    const double width = s.width();
    const double height = s.height();
    const QString zhong = u"中"_s;

    setFontSize(s, 22);
    int y = intPart(height / 12.0);
    const qsizetype chars = cover.gcmc.size();
    const int w = whole(s.textWidth(zhong) * double(chars));
    const int g = whole(s.textWidth(u"A"_s) * double(chars - 1));
    // Nothing comes nearer the sides than this: a long name is drawn smaller, and the signatures,
    // lined up under its start, keep to the page.
    const int margin = intPart(width / 12.0);
    const int x0 = std::max(margin, intPart((width - w - g) / 2.0));
    // The name is centred as it is printed, with its blanks; x0 still lines up the signatures.
    const QString name = SpaceOutText(cover.gcmc);
    platform::printAtOrFit(s, QPointF(intPart((width - s.textWidth(name)) / 2.0), y),
                           QRectF(margin, y, width - 2.0 * margin, s.textHeight(name)), name,
                           Qt::AlignHCenter | Qt::AlignTop);
    y += whole(3.0 * s.textHeight(zhong));

    setFontSize(s, 15);
    const int gap = whole(2.0 * s.textHeight(zhong));
    const double signatureBlock = 3.0 * gap + s.textHeight(zhong);
    setFontSize(s, 28);
    int step = whole(3.0 * s.textHeight(zhong));
    // Fonts taller than the layout assumed would push the date off the page: close up the title,
    // keeping a bottom margin as wide as the top one.
    const double limit = height - intPart(height / 12.0);
    if (y + 6.0 * step + signatureBlock > limit)
        step = std::max(0, intPart((limit - y - signatureBlock) / 6.0));
    setFontSize(s, 32);
    const int x1 = intPart((width - s.textWidth(zhong)) / 2.0);
    for (const QString &c : {u"门"_s, u"窗"_s, u"校"_s, u"核"_s, u"报"_s, u"告"_s}) {
        s.setCurrentPos(QPointF(x1, y));
        s.print(c);
        y += step;
    }

    setFontSize(s, 15);
    const QString lines[] = {
        u"校       核："_s + cover.jh,
        u"审       核："_s + cover.sh,
        u"校 核 单 位："_s + cover.jhdw,
        u"校 核 日 期："_s + coverDateText(today),
    };
    bool first = true;
    for (const QString &text : lines) {
        if (!first)
            y += gap;
        first = false;
        platform::printAtOrFit(s, QPointF(x0, y), QRectF(x0, y, width - margin - x0, s.textHeight(text)), text,
                               Qt::AlignLeft | Qt::AlignTop);
    }

    setFontSize(s, FYPrintFontSize);
    state.printFontSize = FYPrintFontSize;
    s.endDocument();
}

} // namespace windcheck
