#include "optimise/yhcut.h"
#include "platform/numtext.h"

#include <QMap>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace optimise;

namespace {
CTable tableOf(const QList<int> &values)
{
    CTable t;
    for (int v : values)
        t.AddItem(v);
    return t;
}

QList<int> valuesOf(const CTable &t)
{
    QList<int> out;
    for (int r = 1; r <= t.GetCount(); ++r)
        out << t.GetItemValue(r);
    return out;
}

// Expands "2500x3,1000x2" into rows.
QList<LengthQty> rowsOf(const QList<QPair<double, double>> &pairs)
{
    QList<LengthQty> out;
    for (const auto &p : pairs)
        out.append({p.first, p.second});
    return out;
}

// The pattern search as a plain depth-first walk over every rank, with no pieces passed over: what
// the faster search must find the same as.
PatternSearch walkEveryRank(int cap, float yhbl, const QList<int> &values)
{
    PatternSearch out;
    const int n = int(values.size());
    int best = 0;
    QList<StackItem> stack{{0, 1, 0}};
    StackItem current{values.at(0), 1, 1};
    for (;;) {
        stack.append(current);
        for (bool taken = false; !taken;) {
            if (stack.isEmpty())
                return out;
            const StackItem top = stack.last();
            if (top.index == n) {
                if (top.sum > best) {
                    best = top.sum;
                    out.remain = float(cap - best);
                    out.pattern = StackSetToYHArray(std::span<const StackItem>(stack.constData(), stack.size()));
                }
                out.ratio = float(top.sum) / float(cap);
                if (out.ratio >= yhbl) {
                    out.remain = float(cap - top.sum);
                    return out;
                }
                stack.removeLast();
                continue;
            }
            stack.last().index = top.index + 1;
            const int next = top.sum + values.at(top.index);
            if (next <= cap) {
                current = {next, top.index + 1, top.index + 1};
                taken = true;
            } else {
                stack.last().index = n;
            }
        }
    }
}

// Scheme one the plain way: one bar after the other, each piece looked for from the longest
// length down, with no bars written at once. Whole counts and pieces that fit the bar only.
CutResult plainSchemeOne(const QList<LengthQty> &rows, const CutSettings &s)
{
    CutResult out;
    QList<QPair<int, int>> nodes; // cut length, pieces left
    for (const LengthQty &r : rows) {
        int length = 0;
        cutLength(r.length, s, &length);
        nodes.append({length, int(r.quantity)});
    }
    const int extra = s.ltc + 2 * s.ckk;
    int remaining = s.clc;
    QString text;
    auto bar = [&] {
        text.chop(1);
        out.rows.append({u"A"_s, text, 1, platform::generalValue(double(s.clc - remaining) / double(s.clc), 15),
                         double(remaining)});
        remaining = s.clc;
        text.clear();
    };
    while (!nodes.isEmpty()) {
        const auto fits = std::find_if(nodes.begin(), nodes.end(), [&](const auto &n) { return n.first <= remaining; });
        if (fits == nodes.end()) {
            bar();
            continue;
        }
        const int pieces = std::min(remaining / fits->first, fits->second);
        remaining -= pieces * fits->first;
        text += QString::number(fits->first - extra) + (pieces > 1 ? u'*' + QString::number(pieces) : QString())
                + u'+';
        if ((fits->second -= pieces) == 0)
            nodes.erase(fits);
    }
    if (!text.isEmpty())
        bar();
    return out;
}

// Scheme two the plain way: every piece its own value, samples and removals by rank, and every
// search the walk over every rank.
CutResult plainSchemeTwo(const QList<LengthQty> &rows, const CutSettings &s)
{
    CutResult out;
    QList<int> pieces;
    for (const LengthQty &r : rows) {
        int length = 0;
        cutLength(r.length, s, &length);
        for (int i = 0; i < int(r.quantity); ++i)
            pieces << length;
    }
    std::sort(pieces.begin(), pieces.end());
    while (!pieces.isEmpty()) {
        QList<int> searched = pieces;
        if (pieces.size() >= 21) {
            searched.clear();
            const int step = int(pieces.size()) / 20;
            for (int j = 1; j <= 20; ++j)
                searched << pieces.at(j * step - 1);
        }
        qint64 total = 0;
        for (int v : searched)
            total += v;
        PatternSearch found;
        qint64 bars = 1;
        if (total < s.clc) {
            for (int v : searched)
                if (!found.pattern.isEmpty() && found.pattern.last().length == v)
                    ++found.pattern.last().count;
                else
                    found.pattern.append({v, 1, 0});
            found.ratio = float(total) / float(s.clc);
            found.remain = float(s.clc - total);
        } else {
            found = walkEveryRank(s.clc, s.yhbl, searched);
            bars = -1;
            qint64 used = 0;
            for (const YHRecord &e : std::as_const(found.pattern)) {
                bars = std::min<qint64>(bars < 0 ? qint64(pieces.count(e.length)) : bars,
                                        pieces.count(e.length) / e.count);
                used += qint64(e.length) * e.count;
            }
            found.ratio = float(used) / float(s.clc);
        }
        const double percent = double(qRound64(double(found.ratio) * 10000.0)) / 100.0;
        out.rows.append({u"A"_s, GetYHPatternText(found.pattern, s), bars, percent,
                         platform::generalValue(double(found.remain), 7)});
        for (const YHRecord &e : std::as_const(found.pattern))
            for (qint64 i = 0; i < e.count * bars; ++i)
                pieces.removeOne(e.length);
    }
    return out;
}

QStringList planTexts(const CutResult &r)
{
    QStringList out;
    for (const PlanRow &p : r.rows)
        out << u"%1|%2|%3|%4|%5"_s.arg(p.material, p.pattern).arg(p.bars).arg(p.ratio, 0, 'g', 15).arg(p.remain);
    return out;
}

QStringList noticeTexts(const CutResult &r)
{
    QStringList out;
    for (const CutNotice &n : r.notices)
        out << n.text;
    return out;
}

CutSettings settings(int clc, int ltc = 0, int ckk = 0, float yhbl = 1.0f)
{
    return {clc, ltc, ckk, yhbl};
}
} // namespace

class TstYHCut : public QObject
{
    Q_OBJECT
private slots:
    void tableBounds();
    void totalValue_data();
    void totalValue();
    void deleteList_data();
    void deleteList();
    void valueCount();
    void findJustFor_data();
    void findJustFor();
    void stackToPattern();

    void schemeOne_data();
    void schemeOne();
    void schemeTwo_data();
    void schemeTwo();
    void manyPiecesOfOneCodeAreAllCut_data();
    void manyPiecesOfOneCodeAreAllCut();
    void schemeTwoSearchOrder();
    void schemeTwoRatioThreshold();
    void schemeTwoSearchFindsWhatEveryRankFinds_data();
    void schemeTwoSearchFindsWhatEveryRankFinds();
    void schemesCutAsThePlainWayCuts_data();
    void schemesCutAsThePlainWayCuts();
    void bothSchemesCutEveryPiece_data();
    void bothSchemesCutEveryPiece();
};

void TstYHCut::tableBounds()
{
    CTable t = tableOf({1000, 2000});
    QCOMPARE(t.GetItemValue(0), -1);
    QCOMPARE(t.GetItemValue(3), -1);
    QCOMPARE(t.GetItemValue(2), 2000);
    CTable empty;
    QCOMPARE(empty.GetMaxValue(), 0);
    QCOMPARE(empty.GetMinValue(), 0);
    QCOMPARE(empty.GetTotalValue(6000), 0);
    // Ranks go past 16 bits; only the piece limit refuses a value.
    CTable full;
    for (int i = 0; i < kMaxPieceCount; ++i)
        full.AddItem(i < 40000 ? 1 : 2);
    QCOMPARE(full.GetCount(), kMaxPieceCount);
    QCOMPARE(full.GetItemValue(40000), 1);
    QCOMPARE(full.GetItemValue(40001), 2);
    QCOMPARE(full.Locate(2), 40001);
    QVERIFY(!full.AddItem(2));
    QCOMPARE(full.GetCount(), kMaxPieceCount);
}

void TstYHCut::totalValue_data()
{
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<int>("total");
    QTest::newRow("reaches the limit") << QList<int>{2500, 2500, 2500} << 6000;
    QTest::newRow("below the limit") << QList<int>{2500, 2500} << 5000;
    QTest::newRow("exactly the limit") << QList<int>{3000, 3000} << 6000;
}

void TstYHCut::totalValue()
{
    QFETCH(QList<int>, values);
    QFETCH(int, total);
    QCOMPARE(tableOf(values).GetTotalValue(6000), total);
}

void TstYHCut::deleteList_data()
{
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<YHPattern>("pattern");
    QTest::addColumn<QList<int>>("left");
    QTest::newRow("two entries") << QList<int>{1500, 1500, 2000, 2000, 2000, 3000}
                                 << YHPattern{{1500, 1, 0}, {2000, 2, 0}} << QList<int>{1500, 2000, 3000};
    QTest::newRow("top value") << QList<int>{1000, 2000, 3000} << YHPattern{{3000, 1, 0}} << QList<int>{1000, 2000};
    QTest::newRow("single value") << QList<int>{6000} << YHPattern{{6000, 1, 0}} << QList<int>{};
    QTest::newRow("first and last") << QList<int>{800, 1200, 1200, 5000} << YHPattern{{800, 1, 0}, {5000, 1, 0}}
                                    << QList<int>{1200, 1200};
}

void TstYHCut::deleteList()
{
    QFETCH(QList<int>, values);
    QFETCH(YHPattern, pattern);
    QFETCH(QList<int>, left);
    CTable t = tableOf(values);
    t.DeleteList(pattern, int(pattern.size()));
    QCOMPARE(valuesOf(t), left);
}

void TstYHCut::valueCount()
{
    const CTable t = tableOf({1000, 2000, 2000, 2000, 3000});
    QCOMPARE(t.Locate(2000), 2);
    QCOMPARE(t.GetValueCount(2000), 3);
    QCOMPARE(t.Locate(1000), 1);
    QCOMPARE(tableOf({6000}).GetValueCount(6000), 1);
    QCOMPARE(tableOf({6000}).Locate(6000), 1);
}

void TstYHCut::findJustFor_data()
{
    QTest::addColumn<int>("remaining");
    QTest::addColumn<int>("node");
    QTest::newRow("nothing fits") << 2500 << 0;
    QTest::newRow("longest fits") << 6000 << 1;
    QTest::newRow("only the shorter fits") << 3500 << 2;
}

void TstYHCut::findJustFor()
{
    QFETCH(int, remaining);
    QFETCH(int, node);
    CTable02 list;
    list.AddNew(5000, 1);
    list.AddNew(3000, 1);
    QList<CutNotice> notices;
    QCOMPARE(list.FindJustFor(remaining, 6000, &notices), node);
    QVERIFY(notices.isEmpty());
}

void TstYHCut::stackToPattern()
{
    const std::vector<StackItem> stack{{0, 1}, {1500, 2}, {3000, 3}, {5000, 4}};
    const YHPattern p = StackSetToYHArray(stack);
    QCOMPARE(p.size(), 2);
    QCOMPARE(p.at(0).length, 1500);
    QCOMPARE(p.at(0).count, 2);
    QCOMPARE(p.at(1).length, 2000);
    QCOMPARE(p.at(1).count, 1);
    QVERIFY(StackSetToYHArray(std::span<const StackItem>()).isEmpty());
}

void TstYHCut::schemeOne_data()
{
    QTest::addColumn<CutSettings>("s");
    QTest::addColumn<QList<LengthQty>>("rows");
    QTest::addColumn<QStringList>("plan");
    QTest::addColumn<QStringList>("notices");

    QTest::newRow("greedy bars") << settings(6000) << rowsOf({{2500, 3}, {1000, 2}})
                                 << QStringList{u"A|2500*2+1000|1|1|0"_s, u"A|2500+1000|1|0.583333333333333|2500"_s}
                                 << QStringList{};
    QTest::newRow("allowance and kerf")
        << settings(6000, 10, 5) << rowsOf({{2500, 3}, {1000, 2}})
        << QStringList{u"A|2500*2|1|0.84|960"_s, u"A|2500+1000*2|1|0.76|1440"_s} << QStringList{};
    QTest::newRow("piece longer than the bar")
        << settings(6000) << rowsOf({{7000, 1}, {3000, 1}}) << QStringList{u"A|3000|1|0.5|3000"_s}
        << QStringList{u"过大：7000"_s};
    QTest::newRow("no rows") << settings(6000) << QList<LengthQty>{} << QStringList{} << QStringList{};
    QTest::newRow("negative piece") << settings(6000) << rowsOf({{1000, 1}, {-5, 1}}) << QStringList{}
                                    << QStringList{u"异常值：-5"_s};
    // A zero length would divide the bar by zero.
    QTest::newRow("zero piece") << settings(6000) << rowsOf({{1000, 1}, {0, 2}}) << QStringList{}
                                << QStringList{u"异常值：0"_s};
    // A length with no pieces, or fewer than none, is abnormal: the whole material is left uncut.
    QTest::newRow("zero count") << settings(6000) << rowsOf({{2000, 0}, {1000, 2}}) << QStringList{}
                                << QStringList{u"异常值：0"_s};
    QTest::newRow("negative count") << settings(6000) << rowsOf({{3000, 2}, {2000, -3}, {1000, 2}})
                                    << QStringList{} << QStringList{u"异常值：-3"_s};
    QTest::newRow("count rounding to zero") << settings(6000) << rowsOf({{1000, 0.4}}) << QStringList{}
                                            << QStringList{u"异常值：0"_s};
    QTest::newRow("no bar length stored") << settings(0) << rowsOf({{1000, 1}}) << QStringList{}
                                          << QStringList{u"过大：1000"_s};
    QTest::newRow("count beyond the piece limit") << settings(6000) << rowsOf({{1000, 2e7}}) << QStringList{}
                                                  << QStringList{u"内存溢出！"_s};
    // Two stored lengths stay two nodes even when both round to the same cut length.
    QTest::newRow("fraction rounds half to even") << settings(6000) << rowsOf({{1000.5, 1}, {999.5, 1}})
                                                  << QStringList{u"A|1000+1000|1|0.333333333333333|4000"_s}
                                                  << QStringList{};
}

void TstYHCut::schemeOne()
{
    QFETCH(CutSettings, s);
    QFETCH(QList<LengthQty>, rows);
    QFETCH(QStringList, plan);
    QFETCH(QStringList, notices);
    const CutResult r = OptimiseYH1(u"A"_s, rows, s);
    QCOMPARE(planTexts(r), plan);
    QCOMPARE(noticeTexts(r), notices);
}

void TstYHCut::schemeTwo_data()
{
    QTest::addColumn<CutSettings>("s");
    QTest::addColumn<QList<LengthQty>>("rows");
    QTest::addColumn<QStringList>("plan");
    QTest::addColumn<QStringList>("notices");

    QTest::newRow("exact fills") << settings(6000) << rowsOf({{2000, 3}, {3000, 2}})
                                 << QStringList{u"A|2000*3|1|100|0"_s, u"A|3000*2|1|100|0"_s} << QStringList{};
    QTest::newRow("best below the bar")
        << settings(6000) << rowsOf({{800, 2}, {1200, 4}})
        << QStringList{u"A|800+1200*4|1|93.33|400"_s, u"A|800|1|13.33|5200"_s} << QStringList{};
    QTest::newRow("all in one bar") << settings(6000) << rowsOf({{1000, 2}, {1500, 1}})
                                    << QStringList{u"A|1000*2+1500|1|58.33|2500"_s} << QStringList{};
    QTest::newRow("one piece the bar's length") << settings(6000) << rowsOf({{6000, 1}})
                                                << QStringList{u"A|6000|1|100|0"_s} << QStringList{};
    QTest::newRow("piece longer than the bar")
        << settings(6000) << rowsOf({{500, 10}, {6500, 1}}) << QStringList{}
        << QStringList{u"在数据检查时发现值:6500大于根长度!"_s};
    QTest::newRow("sampled repeat") << settings(6000) << rowsOf({{1000, 100}})
                                    << QStringList{u"A|1000*6|16|100|0"_s, u"A|1000*4|1|66.67|2000"_s}
                                    << QStringList{};
    QTest::newRow("sample fits one bar")
        << settings(6000) << rowsOf({{200, 21}, {5000, 4}})
        << QStringList{u"A|200*20|1|66.67|2000"_s, u"A|200+5000|1|86.67|800"_s, u"A|5000|3|83.33|1000"_s}
        << QStringList{};
    QTest::newRow("allowances in the text") << settings(6000, 10, 5) << rowsOf({{2980, 2}})
                                            << QStringList{u"A|2980*2|1|100|0"_s} << QStringList{};
    QTest::newRow("negative piece") << settings(6000) << rowsOf({{-10, 1}, {1000, 1}}) << QStringList{}
                                    << QStringList{u"在数据检查时发现值:-10为负值!"_s};
    // A piece of no length would stay in the table for ever.
    QTest::newRow("zero piece") << settings(6000) << rowsOf({{0, 1}, {1000, 7}}) << QStringList{}
                                << QStringList{u"在数据检查时发现值:0不大于零!"_s};
    QTest::newRow("zero piece outside the samples") << settings(6000) << rowsOf({{0, 1}, {1000, 40}})
                                                    << QStringList{u"A|1000*6|6|100|0"_s}
                                                    << QStringList{u"在数据检查时发现值:0不大于零!"_s};
    QTest::newRow("too many pieces") << settings(6000) << rowsOf({{1000, 1e7}, {1500, 1e7}}) << QStringList{}
                                     << QStringList{u"内存溢出！"_s};
    QTest::newRow("no rows") << settings(6000) << QList<LengthQty>{} << QStringList{} << QStringList{};
    // Percentages whose single-precision value reads 97.82999, 97.39999 and so on: the stored
    // value is the two-decimal one.
    QTest::newRow("97.83 in one bar") << settings(6000) << rowsOf({{5870, 1}})
                                      << QStringList{u"A|5870|1|97.83|130"_s} << QStringList{};
    QTest::newRow("97.4 by search") << settings(6000) << rowsOf({{2922, 3}})
                                    << QStringList{u"A|2922*2|1|97.4|156"_s, u"A|2922|1|48.7|3078"_s}
                                    << QStringList{};
    QTest::newRow("97.9 repeated") << settings(6000) << rowsOf({{1958, 6}, {3000, 1}})
                                   << QStringList{u"A|1958*3|2|97.9|126"_s, u"A|3000|1|50|3000"_s}
                                   << QStringList{};
    QTest::newRow("98.08 with kerf") << settings(6000, 0, 5) << rowsOf({{5875, 1}})
                                     << QStringList{u"A|5875|1|98.08|115"_s} << QStringList{};
}

void TstYHCut::schemeTwo()
{
    QFETCH(CutSettings, s);
    QFETCH(QList<LengthQty>, rows);
    QFETCH(QStringList, plan);
    QFETCH(QStringList, notices);
    const CutResult r = OptimiseYH2(rows, s, u"A"_s);
    QCOMPARE(planTexts(r), plan);
    QCOMPARE(noticeTexts(r), notices);
}

void TstYHCut::schemeTwoSearchOrder()
{
    // Take before skip, the first best kept: 1000+2000 is found before 3000 and both fill 3000.
    const CutResult r = OptimiseYH2(rowsOf({{1000, 1}, {2000, 1}, {3000, 1}}), settings(3000), u"A"_s);
    QCOMPARE(planTexts(r), (QStringList{u"A|1000+2000|1|100|0"_s, u"A|3000|1|100|0"_s}));
}

void TstYHCut::schemeTwoRatioThreshold()
{
    // With YHBL at or below 0 the first leaf (the greedy take) is accepted.
    CTable t = tableOf({800, 800, 1200, 1200, 1200, 1200});
    QList<CutNotice> notices;
    const PatternSearch first = FindBestYHPattern(6000, 0.0f, t, &notices);
    QCOMPARE(first.result, 0);
    QCOMPARE(GetYHPatternText(first.pattern, settings(6000)), u"800*2+1200*3"_s);
    const PatternSearch best = FindBestYHPattern(6000, 1.0f, t, &notices);
    QCOMPARE(GetYHPatternText(best.pattern, settings(6000)), u"800+1200*4"_s);
    QCOMPARE(best.remain, 400.0f);
    QVERIFY(notices.isEmpty());
}

void TstYHCut::schemeTwoSearchFindsWhatEveryRankFinds_data()
{
    QTest::addColumn<float>("yhbl");
    QTest::addColumn<int>("kinds");
    QTest::addColumn<int>("pieces");
    QTest::addColumn<int>("unit"); // lengths are multiples of it when set
    QTest::newRow("whole search, few lengths") << 1.0f << 3 << 14 << 0;
    QTest::newRow("whole search, many lengths") << 1.0f << 12 << 12 << 0;
    QTest::newRow("usual ratio, a sample's twenty") << 0.97f << 6 << 20 << 0;
    QTest::newRow("low ratio") << 0.5f << 4 << 20 << 0;
    // Many sums land on the least one that reaches the ratio (5820), or on the bar, exactly.
    QTest::newRow("sums that reach the ratio exactly") << 0.97f << 4 << 20 << 485;
    QTest::newRow("sums that fill the bar exactly") << 1.0f << 4 << 20 << 500;
    QTest::newRow("greatest sums tie below the ratio") << 0.99f << 3 << 12 << 700;
}

void TstYHCut::schemeTwoSearchFindsWhatEveryRankFinds()
{
    QFETCH(float, yhbl);
    QFETCH(int, kinds);
    QFETCH(int, pieces);
    QFETCH(int, unit);
    QRandomGenerator rng(20261210);
    for (int round = 0; round < 150; ++round) {
        QList<int> lengths;
        for (int k = 0; k < kinds; ++k)
            lengths << (unit ? unit * (1 + int(rng.bounded(8))) : 300 + int(rng.bounded(2700)));
        QList<int> values;
        const int n = 1 + int(rng.bounded(pieces));
        for (int i = 0; i < n; ++i)
            values << lengths.at(int(rng.bounded(kinds)));
        std::sort(values.begin(), values.end());
        QList<CutNotice> notices;
        const PatternSearch got = FindBestYHPattern(6000, yhbl, tableOf(values), &notices);
        if (got.result == 1)
            continue; // all of them fit one bar: no search
        const PatternSearch want = walkEveryRank(6000, yhbl, values);
        QStringList texts;
        for (int v : values)
            texts << QString::number(v);
        const QString where = texts.join(u' ');
        QVERIFY2(got.result == 0, qPrintable(where));
        QVERIFY2(GetYHPatternText(got.pattern, settings(6000)) == GetYHPatternText(want.pattern, settings(6000)),
                 qPrintable(where));
        QVERIFY2(got.remain == want.remain && got.ratio == want.ratio, qPrintable(where));
    }
}

void TstYHCut::schemesCutAsThePlainWayCuts_data()
{
    QTest::addColumn<CutSettings>("s");
    QTest::addColumn<QList<int>>("lengths"); // net lengths to draw from; 0 for one random
    QTest::addColumn<int>("kinds");          // lengths per fixture
    QTest::addColumn<int>("most");           // pieces of a length at most
    // Lengths that divide the bar tie on many sums: the first pattern of a sum must be kept.
    QTest::newRow("ties, whole search") << settings(6000) << QList<int>{500, 750, 1000, 1200, 1500, 2000, 3000} << 4
                                        << 30;
    QTest::newRow("ties, usual ratio") << settings(6000, 0, 0, 0.97f)
                                       << QList<int>{500, 750, 1000, 1200, 1500, 2000, 3000} << 5 << 40;
    // 5989 is cut to the bar's length exactly.
    QTest::newRow("a piece as long as the bar, kerf and allowance")
        << settings(6000, 5, 3, 0.97f) << QList<int>{5989, 2989, 1989, 0, 0} << 3 << 12;
    QTest::newRow("many equal pieces") << settings(6000, 5, 3, 0.97f) << QList<int>{1150, 1900, 0} << 2 << 3000;
    QTest::newRow("ratio never reached") << settings(6000, 0, 3, 1.5f) << QList<int>{0} << 4 << 15;
    QTest::newRow("ratio at zero") << settings(6000, 0, 0, 0.0f) << QList<int>{0} << 4 << 15;
    QTest::newRow("random lengths, usual ratio") << settings(6000, 5, 3, 0.97f) << QList<int>{0} << 6 << 25;
}

// The runs of equal pieces, the bars written at once and the subtrees the search passes over
// must leave every plan as the plain way makes it, on random fixtures.
void TstYHCut::schemesCutAsThePlainWayCuts()
{
    QFETCH(CutSettings, s);
    QFETCH(QList<int>, lengths);
    QFETCH(int, kinds);
    QFETCH(int, most);
    QRandomGenerator rng(20261211);
    for (int round = 0; round < 40; ++round) {
        QMap<int, int> pieces; // net length, count
        for (int k = 0; k < kinds; ++k) {
            const int drawn = lengths.at(int(rng.bounded(int(lengths.size()))));
            pieces[drawn ? drawn : 200 + int(rng.bounded(3500))] += 1 + int(rng.bounded(most));
        }
        QList<LengthQty> descending;
        for (auto it = pieces.cbegin(); it != pieces.cend(); ++it)
            descending.prepend({double(it.key()), double(it.value())});
        // Scheme two takes the rows in any order, split or not.
        QList<LengthQty> shuffled;
        for (const LengthQty &r : std::as_const(descending)) {
            const int first = int(rng.bounded(int(r.quantity) + 1));
            shuffled.append({r.length, double(first)});
            shuffled.append({r.length, r.quantity - first});
        }
        std::shuffle(shuffled.begin(), shuffled.end(), rng);
        QStringList texts;
        for (const LengthQty &r : std::as_const(descending))
            texts << u"%1x%2"_s.arg(r.length).arg(r.quantity);
        const QByteArray where = texts.join(u' ').toUtf8();

        const CutResult one = OptimiseYH1(u"A"_s, descending, s);
        QVERIFY2(one.notices.isEmpty(), where.constData());
        QVERIFY2(planTexts(one) == planTexts(plainSchemeOne(descending, s)), where.constData());
        const CutResult two = OptimiseYH2(shuffled, s, u"A"_s);
        QVERIFY2(two.notices.isEmpty(), where.constData());
        QVERIFY2(planTexts(two) == planTexts(plainSchemeTwo(descending, s)), where.constData());
    }
}

void TstYHCut::bothSchemesCutEveryPiece_data()
{
    QTest::addColumn<int>("scheme");
    QTest::newRow("scheme one") << 0;
    QTest::newRow("scheme two") << 1;
}

void TstYHCut::bothSchemesCutEveryPiece()
{
    QFETCH(int, scheme);
    // Every piece appears in the plan exactly as often as it was asked for.
    const QList<LengthQty> rows = rowsOf({{2750, 7}, {1430, 13}, {980, 25}, {615, 9}});
    const QList<LengthQty> desc = rows;
    QList<LengthQty> asc(rows.crbegin(), rows.crend());
    const CutSettings s = settings(6000, 5, 3);
    const CutResult r = scheme == 0 ? OptimiseYH1(u"A"_s, desc, s) : OptimiseYH2(asc, s, u"A"_s);
    QVERIFY(r.notices.isEmpty());
    QMap<int, qint64> counted;
    for (const PlanRow &p : r.rows) {
        qint64 used = 0;
        for (const QString &part : p.pattern.split(u'+')) {
            const QStringList lc = part.split(u'*');
            const int length = lc.at(0).toInt();
            const int count = lc.size() > 1 ? lc.at(1).toInt() : 1;
            counted[length] += qint64(count) * p.bars;
            used += qint64(length + 11) * count;
        }
        QVERIFY2(used <= 6000, qPrintable(p.pattern));
        QCOMPARE(p.remain, double(6000 - used));
    }
    for (const LengthQty &row : rows)
        QCOMPARE(counted.value(int(row.length)), qint64(row.quantity));
}

void TstYHCut::manyPiecesOfOneCodeAreAllCut_data()
{
    QTest::addColumn<int>("scheme");
    QTest::newRow("scheme one") << 0;
    QTest::newRow("scheme two") << 1;
}

// A large job holds more than 32,767 pieces of one code: the plan must still take every piece.
void TstYHCut::manyPiecesOfOneCodeAreAllCut()
{
    QFETCH(int, scheme);
    const QList<LengthQty> ascending = rowsOf({{1150, 40000}, {1900, 20000}});
    const QList<LengthQty> descending(ascending.crbegin(), ascending.crend());
    const CutSettings s = settings(6000, 0, 0, 0.95f);
    const CutResult r = scheme == 0 ? OptimiseYH1(u"A"_s, descending, s) : OptimiseYH2(ascending, s, u"A"_s);
    QCOMPARE(noticeTexts(r), QStringList{});
    QMap<int, qint64> cut;
    for (const PlanRow &p : r.rows)
        for (const QString &part : p.pattern.split(u'+')) {
            const QStringList lc = part.split(u'*');
            cut[lc.at(0).toInt()] += p.bars * (lc.size() > 1 ? lc.at(1).toInt() : 1);
        }
    QCOMPARE(cut.value(1150), qint64(40000));
    QCOMPARE(cut.value(1900), qint64(20000));
}

QTEST_GUILESS_MAIN(TstYHCut)
#include "tst_yhcut.moc"
