// Times both cutting schemes on a job-sized material: many windows give a few hundred pieces of a
// dozen lengths, and a large job a few thousand.
#include "optimise/yhcut.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <cstdio>

using namespace Qt::StringLiterals;

int main()
{
    QRandomGenerator rng(20261210);
    const optimise::CutSettings s{6000, 10, 3, 1.0f};
    for (int pieces : {200, 2000, 20000}) {
        QList<optimise::LengthQty> rows;
        int left = pieces;
        while (left > 0) {
            const int q = qMin(left, 1 + int(rng.bounded(40)));
            rows.append({double(400 + rng.bounded(2600)), double(q)});
            left -= q;
        }
        std::sort(rows.begin(), rows.end(), [](auto a, auto b) { return a.length < b.length; });
        QList<optimise::LengthQty> desc(rows.crbegin(), rows.crend());
        QElapsedTimer t;
        t.start();
        const auto one = optimise::OptimiseYH1(u"A"_s, desc, s);
        const qint64 t1 = t.restart();
        const auto two = optimise::OptimiseYH2(rows, s, u"A"_s);
        const qint64 t2 = t.elapsed();
        std::printf("%6d pieces: scheme one %5lld ms (%lld rows), scheme two %5lld ms (%lld rows)\n", pieces,
                    qint64(t1), qint64(one.rows.size()), qint64(t2), qint64(two.rows.size()));
    }
    return 0;
}
