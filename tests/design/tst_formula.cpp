#include "design/calculator.h"
#include "design/formula.h"
#include "design/formulabook.h"

#include <QTest>

#include <cfloat>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using namespace design;

namespace {

MacroTable tableOf(const QStringList &names, const QStringList &values)
{
    MacroTable table;
    for (qsizetype i = 0; i < names.size(); ++i)
        table.append(names[i], values[i], float(i), float(i));
    return table;
}

QString repeated(const QString &head, const QString &unit, int count, const QString &tail = QString())
{
    QString s = head;
    for (int i = 0; i < count; ++i)
        s += unit;
    return s + tail;
}

// Results are compared exactly: every formula has one specified value, to the last bit.
bool sameValue(float actual, float expected, QByteArray &message)
{
    message = QByteArray::number(actual, 'g', 9) + " != " + QByteArray::number(expected, 'g', 9);
    return actual == expected;
}

// The same value, or no value (NaN) on both sides.
bool sameOrNoValue(float actual, float expected, QByteArray &message)
{
    return sameValue(actual, expected, message) || (std::isnan(actual) && std::isnan(expected));
}

} // namespace

class TstFormula : public QObject
{
    Q_OBJECT
private slots:
    void evaluate_data();
    void evaluate();
    void sortPutsLongestNameFirst();
    void evalFormulaUpperCasesNames();
    void tableChangesAreSeen();
    void bookGivesEvalFormulasResult_data();
    void bookGivesEvalFormulasResult();
    void bookSeesTableChanges();
    void replace_data();
    void replace();
    void replace1_data();
    void replace1();
    void replaceEndsWhenValueRebuildsName();
    void evaluationIsBounded_data();
    void evaluationIsBounded();
    void reusedCalReadsLeftovers();
    void containers();
};

void TstFormula::evaluate_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("values");
    // The value each intermediate result carries (15 significant digits); the result is this value
    // rounded to single precision.
    QTest::addColumn<double>("expected");

    const QStringList none;

    // Evaluator edge cases.
    QTest::newRow("empty") << QString() << none << none << 0.0;
    QTest::newRow("blanks only") << u"   "_s << none << none << 0.0;
    QTest::newRow("precedence") << u"2+3*4"_s << none << none << 14.0;
    QTest::newRow("parentheses") << u"(2+3)*4"_s << none << none << 20.0;
    QTest::newRow("minus from the left") << u"3-2-1"_s << none << none << 0.0;
    QTest::newRow("division from the left") << u"8/4/2"_s << none << none << 1.0;
    QTest::newRow("blank inside a number") << u"2 3"_s << none << none << 23.0;
    QTest::newRow("no implied multiplication") << u"2(3)"_s << none << none << 3.0;
    QTest::newRow("other letters only separate") << u"12X34"_s << none << none << 34.0;
    QTest::newRow("leading minus") << u"-5"_s << none << none << -5.0;
    // 0 x 2 is taken first, then 0 - 3.
    QTest::newRow("minus after asterisk") << u"2*-3"_s << none << none << -3.0;
    QTest::newRow("division by zero pushes nothing") << u"5+10/0"_s << none << none << 5.0;
    QTest::newRow("logarithm of zero") << u"LOG(0)+1"_s << none << none << 1.0;
    // Fault 1: true pi. The 15-digit rounding of each result makes these exact.
    QTest::newRow("sine") << u"SIN(30)"_s << none << none << 0.5;
    QTest::newRow("cosine") << u"COS(60)"_s << none << none << 0.5;
    QTest::newRow("tangent") << u"TAN(45)"_s << none << none << 1.0;
    QTest::newRow("arctangent") << u"ATN(1)"_s << none << none << 45.0;
    QTest::newRow("lower case function") << u"sin(30)"_s << none << none << 0.5;
    QTest::newRow("function without parenthesis") << u"SIN30"_s << none << none << 0.0;
    QTest::newRow("text before parenthesis dropped") << u"SIN 30 (2)"_s << none << none
                                                     << 0.034899496702501;
    // The E is the sine of 3 degrees; the 1 stays beneath it.
    QTest::newRow("exponent is the sine") << u"1E3"_s << none << none << 0.0523359562429438;
    QTest::newRow("unclosed parenthesis") << u"(2+3)*(4"_s << none << none << 4.0;
    QTest::newRow("function left open") << u"SIN(30"_s << none << none << 0.5;
    QTest::newRow("malformed number ignored") << u"1.5.2+1"_s << none << none << 1.0;
    // Each search for a function name starts again from the beginning: ATN( becomes A, which with
    // the TN( after it is ATN( again.
    QTest::newRow("function name rebuilt") << u"ATN(TN(1)"_s << none << none << 45.0;

    // Named-dimension edge cases.
    const QStringList bhk{u"B"_s, u"H"_s, u"KH1"_s};
    const QStringList bhkValues{u"1500"_s, u"1200"_s, u"60"_s};
    QTest::newRow("sorted names") << u"B-2*KH1"_s << bhk << bhkValues << 1380.0;
    QTest::newRow("sorted names, lower case") << u"b-2*kh1"_s << bhk << bhkValues << 1380.0;
    QTest::newRow("no named dimensions") << u"1200/2"_s << none << none << 600.0;
    QTest::newRow("longer name first") << u"H1+H"_s << QStringList{u"H"_s, u"H1"_s}
                                       << QStringList{u"1200"_s, u"900"_s} << 2100.0;

    // Fault 2: a ")" without an opener stops at the empty stack.
    QTest::newRow("closer without opener") << u"2)+3"_s << none << none << 5.0;
    QTest::newRow("several closers without openers") << u"1)+2))"_s << none << none << 3.0;
    QTest::newRow("lone closer") << u")"_s << none << none << 0.0;
    // Fault 2: a value holding its own name is put in once per occurrence; H of 2H is then skipped.
    QTest::newRow("value holds its name") << u"H+H"_s << QStringList{u"H"_s}
                                          << QStringList{u"2H"_s} << 4.0;
    QTest::newRow("value holds its name in lower case") << u"H*3"_s << QStringList{u"H"_s}
                                                        << QStringList{u"h2"_s} << 6.0;
    // Fault 2: a label of blanks only is trimmed to an empty name, which replaces nothing.
    QTest::newRow("empty name") << u"B+1"_s << QStringList{u"  "_s, u"B"_s}
                                << QStringList{u"5"_s, u"7"_s} << 8.0;

    // Fault 3: no limit on tokens or stack depth.
    QTest::newRow("301 tokens") << repeated(u"1"_s, u"+1"_s, 150) << none << none << 151.0;
    QTest::newRow("150 nested parentheses")
        << repeated(QString(), u"("_s, 150, u"1+2"_s + QString(150, u')')) << none << none << 3.0;
    QTest::newRow("long bill formula")
        << repeated(u"B"_s, u"+B-KH1"_s, 60) << bhk << bhkValues << 1500.0 + 60 * 1440.0;

    // Fault 4: a lone named dimension is trimmed too.
    QTest::newRow("lone name with blanks") << u"B-100"_s << QStringList{u" B "_s}
                                           << QStringList{u" 1500 "_s} << 1400.0;

    // Fault 5: steps whose result is not finite push nothing; the final value must fit a float.
    QTest::newRow("exponent overflows") << u"EXP(1000)+1"_s << none << none << 1.0;
    QTest::newRow("product overflows")
        << u"5+"_s + repeated(u"1"_s, u"0"_s, 200) + u"*1"_s + QString(200, u'0') << none << none
        << 5.0;
    QTest::newRow("zero by zero") << u"0/0+7"_s << none << none << 7.0;
    QTest::newRow("square root of a negative") << u"SQR(0-4)+2"_s << none << none << 2.0;
    QTest::newRow("beyond single precision") << u"1"_s + QString(39, u'0') << none << none << 0.0;
    QTest::newRow("largest single") << u"340282346638528859811704183484516925440"_s << none << none
                                    << double(FLT_MAX);

    // Number texts pinned by the issue.
    QTest::newRow("15 digits carried") << u"0.1+0.2"_s << none << none << 0.3;
    // 1/3 carries 0.333333333333333, so the difference stays about -1E-15.
    QTest::newRow("third times three") << u"1/3*3-1"_s << none << none << -9.99200722162641e-16;
    // 1E-05 is read back with its exponent.
    QTest::newRow("small result read back") << u"1/100000*100000"_s << none << none << 1.0;
    QTest::newRow("small result") << u"1/3000000"_s << none << none << 3.33333333333333e-07;
    QTest::newRow("typed digits beyond 15") << u"1234567890.123456789"_s << none << none
                                            << 1234567890.123456789;

    // Formulas of real bills.
    QTest::newRow("bill, one dimension") << u"B*SIN(45)"_s << QStringList{u"B"_s}
                                         << QStringList{u"1500"_s} << 1060.66017177982;
    QTest::newRow("bill, two dimensions") << u"B-2*KH1"_s << QStringList{u"B"_s, u"KH1"_s}
                                          << QStringList{u"1500"_s, u"60"_s} << 1380.0;
    QTest::newRow("bill, half height") << u"(H-KH2)/2-30"_s << QStringList{u"H"_s, u"KH2"_s}
                                       << QStringList{u"1200"_s, u"50"_s} << 545.0;
    QTest::newRow("bill, diagonal") << u"SQR(B*B+H*H)"_s << QStringList{u"B"_s, u"H"_s}
                                    << QStringList{u"1500"_s, u"1200"_s} << 1920.93727122985;
    const QStringList twelve{u"B"_s,  u"H"_s,  u"KH1"_s, u"KH2"_s, u"H1"_s, u"H2"_s,
                             u"B1"_s, u"B2"_s, u"GK"_s,  u"SJ"_s,  u"LK"_s, u"ZC"_s};
    const QStringList twelveValues{u"1800"_s, u"1500"_s, u"60"_s,  u"55"_s, u"600"_s, u"900"_s,
                                   u"700"_s,  u"1100"_s, u"20"_s,  u"8"_s,  u"45"_s,  u"3"_s};
    QTest::newRow("bill, 12 dimensions, frame") << u"B-KH1-KH2"_s << twelve << twelveValues << 1685.0;
    QTest::newRow("bill, 12 dimensions, sash") << u"(h1-2*sj)/2"_s << twelve << twelveValues << 292.0;
    QTest::newRow("bill, 12 dimensions, brace") << u"SQR(B1*B1+H2*H2)"_s << twelve << twelveValues
                                                << 1140.17542509914;
    QTest::newRow("bill, 12 dimensions, slope") << u"B2/COS(LK)+GK"_s << twelve << twelveValues
                                                << 1575.6349186104;
    QTest::newRow("bill, 12 dimensions, count") << u"ZC*2+(B-1)/(H+1)*0"_s << twelve << twelveValues
                                                << 6.0;
    QTest::newRow("bill, decimal value") << u"H/2"_s << QStringList{u"H"_s}
                                         << QStringList{u"1200.5"_s} << 600.25;
}

void TstFormula::evaluate()
{
    QFETCH(QString, formula);
    QFETCH(QStringList, names);
    QFETCH(QStringList, values);
    QFETCH(double, expected);

    MacroTable table = tableOf(names, values);
    SortMacrosByNameLength(table);
    QByteArray message;
    QVERIFY2(sameValue(EvalFormula(formula, table), float(expected), message), message);
    // The table is reused for the next formula of the window: a second call gives the same.
    QVERIFY2(sameValue(EvalFormula(formula, table), float(expected), message), message);
    // Read once for the names, run with the values.
    FormulaBook book;
    MacroTable again = tableOf(names, values);
    SortMacrosByNameLength(again);
    FormulaBook::Bound bound = book.bind(again);
    QVERIFY2(sameValue(bound.eval(formula), float(expected), message), message);
    QVERIFY2(sameValue(bound.eval(formula), float(expected), message), message);
    if (names.isEmpty()) {
        Cal cal;
        QVERIFY2(sameValue(cal.CalExpress(formula), float(expected), message), message);
        QCOMPARE(cal.lastResult(), float(expected));
    }
}

void TstFormula::sortPutsLongestNameFirst()
{
    MacroTable table;
    table.append(u"B"_s, u"1500"_s, 1, 10);
    table.append(u"H"_s, u"1200"_s, 2, 20);
    table.append(u"KH1"_s, u"60"_s, 3, 30);
    SortMacrosByNameLength(table);
    // The exchange sort is not stable: H and B change places although they have the same length.
    QCOMPARE(table.at(0).name, u"KH1"_s);
    QCOMPARE(table.at(1).name, u"H"_s);
    QCOMPARE(table.at(2).name, u"B"_s);
    QCOMPARE(table.at(0).value, u"60"_s);
    QCOMPARE(table.at(1).value, u"1200"_s);
    QCOMPARE(table.at(2).x, 1.0f);
    QCOMPARE(table.at(2).y, 10.0f);
}

void TstFormula::evalFormulaUpperCasesNames()
{
    MacroTable table = tableOf({u"kh1"_s, u"b"_s}, {u"60"_s, u"1500"_s});
    SortMacrosByNameLength(table);
    QCOMPARE(table.at(0).name, u"kh1"_s);
    QCOMPARE(EvalFormula(u"B-2*KH1"_s, table), 1380.0f);
    QCOMPARE(table.at(0).name, u"KH1"_s);
    QCOMPARE(table.at(1).name, u"B"_s);
}

void TstFormula::tableChangesAreSeen()
{
    MacroTable table = tableOf({u"B"_s, u"H"_s}, {u"1500"_s, u"1200"_s});
    SortMacrosByNameLength(table);
    QCOMPARE(EvalFormula(u"B+H"_s, table), 2700.0f);
    table.setValue(0, u"100"_s);
    QCOMPARE(EvalFormula(u"B+H"_s, table), 1300.0f);
    table.setName(1, u"h"_s);
    QCOMPARE(EvalFormula(u"B+H"_s, table), 1300.0f);
    QCOMPARE(table.at(1).name, u"H"_s);
    table.clear();
    QCOMPARE(EvalFormula(u"12X34"_s, table), 34.0f);
}

void TstFormula::bookGivesEvalFormulasResult_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<double>("expected");  // NaN: no value
    QTest::addColumn<bool>("failed");

    const double none = std::numeric_limits<double>::quiet_NaN();
    const QStringList wh{u"W"_s, u"H"_s};
    QTest::newRow("plain") << u"W-2*H"_s << wh << QStringList{u"1500"_s, u"60"_s} << 1380.0 << false;
    QTest::newRow("name inside a longer name") << u"2*W1-W"_s << QStringList{u"W"_s, u"W1"_s}
                                               << QStringList{u"1200"_s, u"60"_s} << -1080.0 << false;
    // The first of two equal names takes every occurrence.
    QTest::newRow("repeated name") << u"W+1"_s << QStringList{u"W"_s, u"W"_s} << QStringList{u"5"_s, u"7"_s}
                                   << 6.0 << false;
    // An empty value leaves "+1000": 0 plus 1000.
    QTest::newRow("missing value") << u"W+H"_s << wh << QStringList{QString(), u"1000"_s} << 1000.0 << false;
    QTest::newRow("malformed value skipped") << u"W+1"_s << wh << QStringList{u"1.2.3"_s, u"2"_s} << 1.0
                                             << false;
    QTest::newRow("value joined to typed digits") << u"1W0+W.5"_s << wh << QStringList{u"5"_s, u"2"_s}
                                                  << 155.5 << false;
    QTest::newRow("values joined across a blank") << u"W H"_s << wh << QStringList{u"12"_s, u"34"_s}
                                                  << 1234.0 << false;
    QTest::newRow("two points once joined") << u"W.5+1"_s << wh << QStringList{u"1."_s, u"2"_s} << 1.0
                                            << false;
    // The name 1 then replaces the 1 of KH's value as well as the typed one.
    QTest::newRow("later name inside a value") << u"KH+1"_s << QStringList{u"KH"_s, u"1"_s}
                                               << QStringList{u"10"_s, u"5"_s} << 55.0 << false;
    // AB's value with the B before it makes the name B1.
    QTest::newRow("value makes a later name") << u"BAB"_s << QStringList{u"AB"_s, u"B1"_s}
                                              << QStringList{u"1"_s, u"7"_s} << 7.0 << false;
    QTest::newRow("name split by a value") << u"SIN(30)"_s << QStringList{u"IN"_s} << QStringList{u"2"_s}
                                           << 30.0 << false;
    // Everything up to the "(" goes with the function name, the value too.
    QTest::newRow("value inside a function name's text") << u"SQRW(16)"_s << QStringList{u"W"_s}
                                                         << QStringList{u"9"_s} << 4.0 << false;
    QTest::newRow("negative value") << u"10+W"_s << QStringList{u"W"_s} << QStringList{u"-5"_s} << 5.0 << false;
    QTest::newRow("value with an exponent") << u"W*1"_s << QStringList{u"W"_s} << QStringList{u"1E3"_s}
                                            << 0.0523359562429438 << false;
    QTest::newRow("lower-case names") << u"w*2+h"_s << QStringList{u"w"_s, u"h"_s} << QStringList{u"7"_s, u"1"_s}
                                      << 15.0 << false;
    QTest::newRow("division by zero") << u"W/(H-H)"_s << wh << QStringList{u"7"_s, u"3"_s} << 0.0 << true;
    QTest::newRow("square root of a negative") << u"SQR(H-W)+1"_s << wh << QStringList{u"7"_s, u"3"_s} << 1.0
                                               << true;
    QTest::newRow("unclosed bracket") << u"(W+H"_s << wh << QStringList{u"7"_s, u"3"_s} << 10.0 << false;
    QTest::newRow("values past the length bound") << u"W+W+W+W+W+W+W+W+W"_s << QStringList{u"W"_s}
                                                  << QStringList{QString(4000, u'9')} << none << true;
    QTest::newRow("too much text read") << QString(30000, u'2') << QStringList(200, u"Q"_s)
                                        << QStringList(200, u"1"_s) << none << true;
}

// A formula read once for its names gives, with each window's values, what EvalFormula gives: also
// where a value could change what the names find.
void TstFormula::bookGivesEvalFormulasResult()
{
    QFETCH(QString, formula);
    QFETCH(QStringList, names);
    QFETCH(QStringList, values);
    QFETCH(double, expected);
    QFETCH(bool, failed);

    FormulaBook book;
    // Another window of the same names reads the formula first.
    MacroTable first = tableOf(names, QStringList(names.size(), u"3"_s));
    SortMacrosByNameLength(first);
    book.bind(first).eval(formula);

    MacroTable table = tableOf(names, values);
    SortMacrosByNameLength(table);
    MacroTable plain = table;
    FormulaBook::Bound bound = book.bind(table);
    bool boundFailed = false;
    bool plainFailed = false;
    QByteArray message;
    QVERIFY2(sameOrNoValue(bound.eval(formula, &boundFailed), float(expected), message), message);
    QVERIFY2(sameOrNoValue(EvalFormula(formula, plain, &plainFailed), float(expected), message), message);
    QCOMPARE(boundFailed, failed);
    QCOMPARE(plainFailed, failed);
}

void TstFormula::bookSeesTableChanges()
{
    FormulaBook book;
    MacroTable table = tableOf({u"B"_s, u"H"_s}, {u"1500"_s, u"1200"_s});
    SortMacrosByNameLength(table);
    FormulaBook::Bound bound = book.bind(table);
    QCOMPARE(bound.eval(u"B+H"_s), 2700.0f);
    table.setValue(0, u"100"_s);
    QCOMPARE(bound.eval(u"B+H"_s), 1300.0f);
    table.setName(1, u"k"_s);
    QCOMPARE(bound.eval(u"B+K"_s), 1300.0f);
    QCOMPARE(table.at(1).name, u"K"_s);
    table.setValue(0, u"-5"_s);
    QCOMPARE(bound.eval(u"B+K"_s), 1195.0f);
    table.clear();
    QCOMPARE(bound.eval(u"12X34"_s), 34.0f);
}

void TstFormula::replace_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("nameAfter");

    QTest::newRow("every occurrence") << u"b*2+bb"_s << u"b"_s << u"10"_s << u"10*2+1010"_s << u"B"_s;
    // The search starts again from the beginning, so the inserted 2 and the X before it are a new X2.
    QTest::newRow("occurrence rebuilt") << u"XX2"_s << u"X2"_s << u"2"_s << u"2"_s << u"X2"_s;
    // Lower-case letters of an inserted value never match.
    QTest::newRow("inserted lower case") << u"aab"_s << u"ab"_s << u"a"_s << u"Aa"_s << u"AB"_s;
    QTest::newRow("empty name") << u"a+b"_s << QString() << u"5"_s << u"A+B"_s << QString();
    QTest::newRow("value holds the name") << u"h+h"_s << u"H"_s << u"2h"_s << u"2h+2h"_s << u"H"_s;
    QTest::newRow("value holds the name, other case") << u"b+1"_s << u"b"_s << u"xB"_s << u"xB+1"_s
                                                      << u"B"_s;
    QTest::newRow("not found") << u"k+1"_s << u"B"_s << u"5"_s << u"K+1"_s << u"B"_s;
}

void TstFormula::replace()
{
    QFETCH(QString, source);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QFETCH(QString, nameAfter);
    Cal cal;
    QCOMPARE(cal.Replace(source, name, value), expected);
    QCOMPARE(name, nameAfter);
}

void TstFormula::replace1_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one occurrence") << u"a+b"_s << u"B"_s << u"c"_s << u"A+c"_s;
    QTest::newRow("leftmost, not overlapping") << u"abab"_s << u"ab"_s << u"x"_s << u"xx"_s;
    QTest::newRow("inserted text not searched") << u"XX2"_s << u"X2"_s << u"2"_s << u"X2"_s;
}

void TstFormula::replace1()
{
    QFETCH(QString, source);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    const QString nameBefore = name;
    Cal cal;
    QCOMPARE(cal.Replace1(source, name, value), expected);
    QCOMPARE(name, nameBefore);
}

void TstFormula::replaceEndsWhenValueRebuildsName()
{
    // AABB -> ABBAAB -> BBAABAAB -> BBABBAAAAB -> ... grows for ever under the plain loop: the B
    // gather in front and the A behind. The loop is cut short, then one pass ends the work.
    Cal cal;
    QString name = u"ab"_s;
    const QString result = cal.Replace(u"AABB"_s, name, u"BBAA"_s);
    QVERIFY(result.size() > 1000);
    QVERIFY(result.startsWith(QString(500, u'B')));
    MacroTable table = tableOf({u"AB"_s}, {u"BBAA"_s});
    SortMacrosByNameLength(table);
    EvalFormula(u"AABB"_s, table);
}

void TstFormula::evaluationIsBounded_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("values");
    // Each label triples the ones: 3^14 of them would be millions of characters.
    QTest::newRow("label 1 worth 111, 14 times") << u"H+1"_s << QStringList(14, u"1"_s) << QStringList(14, u"111"_s);
    QTest::newRow("the same past the fast path") << u"H+1ß"_s << QStringList(14, u"1"_s) << QStringList(14, u"111"_s);
    QTest::newRow("names rebuilt from their neighbours")
        << u"AB"_s.repeated(300) << QStringList(14, u"AB"_s) << QStringList(14, u"BBAA"_s);
    QTest::newRow("formula longer than the bound") << QString(40000, u'1') << QStringList() << QStringList();
    QTest::newRow("long values past the bound") << u"W+W+W+W+W+W+W+W+W"_s << QStringList{u"W"_s}
                                               << QStringList{QString(4000, u'9')};
}

// Names that occur in values make the text grow without end; past the bound the formula has no
// value, as one whose arithmetic fails, and the caller shows the formula.
void TstFormula::evaluationIsBounded()
{
    QFETCH(QString, formula);
    QFETCH(QStringList, names);
    QFETCH(QStringList, values);
    MacroTable table = tableOf(names, values);
    SortMacrosByNameLength(table);
    bool failed = false;
    QVERIFY(std::isnan(EvalFormula(formula, table, &failed)));
    QVERIFY(failed);
    QVERIFY(std::isnan(EvalFormula(formula, table)));
    FormulaBook book;
    failed = false;
    QVERIFY(std::isnan(book.bind(table).eval(formula, &failed)));
    QVERIFY(failed);
}

void TstFormula::reusedCalReadsLeftovers()
{
    // "2(3)" leaves the 2 on the stack; a second evaluation on the same object adds it in.
    Cal cal;
    QCOMPARE(cal.CalExpress(u"2(3)"_s), 3.0f);
    QCOMPARE(cal.CalExpress(u"+5"_s), 7.0f);
    QCOMPARE(Cal().CalExpress(u"+5"_s), 5.0f);
}

void TstFormula::containers()
{
    CQueue queue;
    QVERIFY(queue.IsEmpty());
    QCOMPARE(queue.DeQueue().kind, Token::Kind::Empty);
    QCOMPARE(queue.GetErrorMessage(), u"Empty"_s);
    queue.ShowEnd();
    QCOMPARE(queue.GetErrorMessage(), u"None"_s);
    for (int i = 0; i < 300; ++i)
        queue.EnQueue(Token::number(i));
    QVERIFY(!queue.IsFull());
    for (int i = 0; i < 300; ++i)
        QCOMPARE(queue.DeQueue().value, double(i));
    QVERIFY(queue.IsEmpty());

    CStack stack;
    QCOMPARE(stack.Pop().kind, Token::Kind::Null);
    QCOMPARE(stack.Top().operand(), 0.0);
    stack.Push(Token::ofSymbol(u'('));
    stack.Push(Token::number(2.5));
    QCOMPARE(stack.Top().value, 2.5);
    QCOMPARE(stack.Pop().value, 2.5);
    QVERIFY(stack.Pop().isSymbol(u'('));
    QVERIFY(stack.IsEmpty());
}

QTEST_APPLESS_MAIN(TstFormula)
#include "tst_formula.moc"
