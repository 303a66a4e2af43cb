// The formula engine takes short cuts for speed: it keeps numbers as doubles instead of texts,
// replaces names in one pass where the plain loop cannot differ, and rounds to 15 digits without
// printing. This test runs a literal transcription of the evaluation rules (texts on the stack,
// "%.15G" and strtod, every search from the start), with the mends, beside the engine on
// many generated formulas and demands the same bits.
#include "design/calculator.h"
#include "design/formula.h"
#include "design/formulabook.h"
#include "design/formulatext.h"
#include "design/operandtext.h"

#include <QTest>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

using namespace Qt::StringLiterals;

namespace ref {

QString text(double x)
{
    if (x == 0)
        return u"0"_s;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", x);
    return QString::fromLatin1(buf);
}

// Leading-number reading; the texts here never hold INF, NAN or hexadecimal.
double val(const QString &t) { return std::strtod(t.toLatin1().constData(), nullptr); }

bool isNumber(const QString &t)
{
    int points = 0;
    for (QChar c : t) {
        if (c == u'.')
            ++points;
        else if (c < u'0' || c > u'9')
            return false;
    }
    return points <= 1 && points < t.size();
}

QString onePass(const QString &s, const QString &c, const QString &value)
{
    QString result;
    qsizetype i = 0;
    while (i < s.size()) {
        if (QStringView(s).mid(i, c.size()) == c) {
            result += value;
            i += c.size();
        } else {
            result += s[i++];
        }
    }
    return result;
}

QString Replace(const QString &source, QString &name, const QString &value)
{
    QString s = source.toUpper();
    name = name.toUpper();
    if (name.isEmpty())
        return s;
    if (value.toUpper().contains(name))
        return onePass(s, name, value);
    const qsizetype budget = 1024 + 64 * s.size();
    qsizetype count = 0;
    for (qsizetype p = s.indexOf(name); p >= 0; p = s.indexOf(name)) {
        if (count == budget)
            return onePass(s, name, value);
        s = s.left(p) + value + s.mid(p + name.size());
        ++count;
    }
    return s;
}

QString TokenizeFunctions(const QString &express)
{
    static const char16_t *names[] = {u"SIN", u"COS", u"ATN", u"EXP", u"LOG", u"SQR", u"TAN"};
    static const char16_t letters[] = u"EBACDFG";
    QString s = express.toUpper();
    for (int k = 0; k < 7; ++k) {
        const QString name = QString::fromUtf16(names[k]);
        for (qsizetype p = s.indexOf(name); p >= 0; p = s.indexOf(name)) {
            const qsizetype q = s.indexOf(u'(', p);
            if (q < 0)
                return QString();
            s = s.left(p) + QChar(letters[k]) + s.mid(q + 1);
        }
    }
    return s;
}

float CalExpress(const QString &express)
{
    QStringList stack;
    QStringList queue;
    auto pop = [&stack] { return stack.isEmpty() ? u"NULL"_s : stack.takeLast(); };
    auto top = [&stack] { return stack.isEmpty() ? u"NULL"_s : stack.last(); };
    const QString e = TokenizeFunctions(express) + u')';
    stack << u"("_s;
    QString number;
    for (QChar c : e) {
        if (c == u' ')
            continue;
        if ((c >= u'0' && c <= u'9') || c == u'.') {
            number += c;
            continue;
        }
        queue << number;
        number.clear();
        if (c == u'+' || c == u'-') {
            while (QStringList{u"*"_s, u"/"_s, u"+"_s, u"-"_s}.contains(top()))
                queue << pop();
            stack << QString(c);
        } else if (c == u'*' || c == u'/') {
            while (QStringList{u"*"_s, u"/"_s}.contains(top()))
                queue << pop();
            stack << QString(c);
        } else if (c == u'(' || (c >= u'A' && c <= u'G')) {
            stack << QString(c);
        } else if (c == u')') {
            while (!stack.isEmpty()) {
                const QString t = pop();
                if (t == u"(")
                    break;
                queue << t;
                if (t.size() == 1 && t[0] >= u'A' && t[0] <= u'G')
                    break;
            }
        }
    }
    queue.removeAll(QString());
    for (const QString &t : std::as_const(queue)) {
        double r = 0;
        if (isNumber(t)) {
            stack << t;
            continue;
        } else if (t == u"+" || t == u"-" || t == u"*" || t == u"/") {
            const double a = val(pop());
            const double b = val(pop());
            r = t == u"+" ? b + a : t == u"-" ? b - a : t == u"*" ? b * a : b / a;
        } else if (t == u"E" || t == u"B" || t == u"G") {
            const double rad = val(pop()) / 180 * M_PI;
            r = t == u"E" ? std::sin(rad) : t == u"B" ? std::cos(rad) : std::tan(rad);
        } else if (t == u"A") {
            r = std::atan(val(pop())) / M_PI * 180;
        } else if (t == u"C") {
            r = std::exp(val(pop()));
        } else if (t == u"D") {
            r = std::log(val(pop()));
        } else if (t == u"F") {
            r = std::sqrt(val(pop()));
        } else {
            continue;
        }
        if (std::isfinite(r))
            stack << text(r);
    }
    const double v = val(pop());
    const float f = float(v);
    return std::isfinite(f) ? f : 0.0f;
}

float EvalFormula(const QString &expr, QStringList names, const QStringList &values)
{
    QString s = expr;
    for (qsizetype i = 0; i < names.size(); ++i)
        s = Replace(s, names[i], values[i]);
    return CalExpress(s);
}

} // namespace ref

namespace {

quint32 bitsOf(float f)
{
    quint32 b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

class Generator
{
public:
    explicit Generator(quint64 seed) : m_rng(seed) {}

    int below(int n) { return int(m_rng() % quint64(n)); }

    QString pick(const QStringList &list) { return list[below(int(list.size()))]; }

    QString number()
    {
        QString s;
        const int digits = 1 + below(below(4) == 0 ? 20 : 5);
        for (int i = 0; i < digits; ++i)
            s += QChar(u'0' + below(10));
        if (below(3) == 0)
            s.insert(below(int(s.size()) + 1), u'.');
        return s;
    }

    // Text from pieces that a formula can hold, the odd ones included.
    QString formula(const QStringList &names)
    {
        static const QStringList pieces{
            u"+"_s,    u"-"_s,    u"*"_s,    u"/"_s,    u"("_s,    u")"_s,    u" "_s,
            u"SIN("_s, u"cos("_s, u"ATN("_s, u"EXP("_s, u"Log("_s, u"SQR("_s, u"TAN("_s,
            u"E"_s,    u"x"_s,    u"."_s,    u"SIN"_s,  u"A"_s,    u"g"_s,    u"中"_s};
        QString s;
        const int length = 1 + below(below(8) == 0 ? 60 : 14);
        for (int i = 0; i < length; ++i) {
            const int kind = below(10);
            if (kind < 4)
                s += number();
            else if (kind < 6 && !names.isEmpty())
                s += below(2) ? pick(names) : pick(names).toLower();
            else
                s += pick(pieces);
        }
        return s;
    }

    // Names and values from a small alphabet, so that names hide in values and in one another.
    QString word(const QString &alphabet, int maxLength)
    {
        QString s;
        const int length = below(maxLength + 1);
        for (int i = 0; i < length; ++i)
            s += alphabet[below(int(alphabet.size()))];
        return s;
    }

    double anyDouble()
    {
        for (;;) {
            const quint64 bits = m_rng();
            double d;
            std::memcpy(&d, &bits, sizeof d);
            if (std::isfinite(d))
                return d;
        }
    }

    double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(m_rng); }

private:
    std::mt19937_64 m_rng;
};

} // namespace

class TstFormulaReference : public QObject
{
    Q_OBJECT
private slots:
    void resultTextReadsBack();
    void numberTokensRead();
    void upperCaseMatchesQt();
    void replaceMatchesLiteralLoop();
    void formulasMatchLiteralEvaluation();
    void growthUpToTheBoundMatches_data();
    void growthUpToTheBoundMatches();
    void bookMatchesEvalFormula();
};

void TstFormulaReference::resultTextReadsBack()
{
    Generator gen(1);
    auto check = [](double x) {
        const double expected = ref::val(ref::text(x));
        const double actual = design::resultAsOperand(x);
        if (std::memcmp(&expected, &actual, sizeof actual) != 0)
            QFAIL(qPrintable(u"%1: %2 != %3"_s.arg(x, 0, 'g', 17).arg(actual, 0, 'g', 17)
                                 .arg(expected, 0, 'g', 17)));
    };
    const double special[] = {-0.0, 1e-4, 9.99999999999999e-5, 1e15, 999999999999999.5, 1e15 + 2,
                              100000000000000.5, 100000000000000.25, 1000000000000005.0,
                              DBL_MAX, -DBL_MAX, DBL_MIN, 4.9e-324, 1e-7, 1.0 / 3, 2.0 / 3,
                              0.1 + 0.2, 1e22, 1e23};
    for (double x : special)
        check(x);
    for (int i = 0; i < 300000; ++i) {
        check(gen.anyDouble());
        check(gen.uniform(-1e4, 1e4));
        check(double(gen.below(100000) + 1) / double(gen.below(999) + 1));
        check(std::ldexp(double(gen.below(1 << 30)), -gen.below(60)));
        check(std::floor(gen.uniform(1e14, 1e16)) + 0.5 * gen.below(2));
        check(std::sin(gen.uniform(0, 7)) * std::pow(10.0, gen.below(30) - 15));
    }
}

void TstFormulaReference::numberTokensRead()
{
    Generator gen(2);
    auto check = [](const QByteArray &digits) {
        const double expected = std::strtod(digits.constData(), nullptr);
        const double actual = design::numberTokenValue(std::string_view(digits.constData(), digits.size()));
        QVERIFY2(std::memcmp(&expected, &actual, sizeof actual) == 0, digits.constData());
    };
    for (const char *s : {"0", ".5", "5.", "007", "0.000", "1.50000000000000000000000",
                          "123456789012345", "1234567890123456", "9007199254740993"})
        check(s);
    check(QByteArray(400, '9'));
    check("0." + QByteArray(400, '0') + "1");
    check("0." + QByteArray(320, '0') + "17");
    for (int i = 0; i < 200000; ++i) {
        QByteArray s;
        const int length = 1 + gen.below(gen.below(5) == 0 ? 40 : 12);
        for (int k = 0; k < length; ++k)
            s += char('0' + gen.below(10));
        if (gen.below(2))
            s.insert(gen.below(int(s.size()) + 1), '.');
        check(s);
    }
}

void TstFormulaReference::upperCaseMatchesQt()
{
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        const QString one{QChar(char16_t(c))};
        design::text::Buffer b;
        design::text::setUpper(b, one);
        QCOMPARE(design::text::toQString(b), one.toUpper());
    }
}

void TstFormulaReference::replaceMatchesLiteralLoop()
{
    Generator gen(3);
    for (int i = 0; i < 100000; ++i) {
        const QString source = gen.word(u"abAB12x"_s, 12);
        QString name = gen.word(u"aAbB1"_s, 3);
        const QString value = gen.word(u"aAbB12"_s, 5);
        QString refName = name;
        design::Cal cal;
        const QString actual = cal.Replace(source, name, value);
        const QString expected = ref::Replace(source, refName, value);
        if (actual != expected || name != refName)
            QFAIL(qPrintable(u"Replace(%1, %2, %3): %4 != %5"_s.arg(source, refName, value, actual,
                                                                     expected)));
    }
}

void TstFormulaReference::formulasMatchLiteralEvaluation()
{
    Generator gen(4);
    for (int i = 0; i < 60000; ++i) {
        QStringList names;
        QStringList values;
        const int count = gen.below(6);
        for (int k = 0; k < count; ++k) {
            names << (gen.below(4) ? gen.word(u"BHKLW123"_s, 3) : gen.word(u"BbEe1 "_s, 3));
            values << (gen.below(4) ? gen.number() : gen.word(u"0123.Ee+-Bb"_s, 5));
        }
        design::MacroTable table;
        for (int k = 0; k < count; ++k)
            table.append(names[k], values[k]);
        design::SortMacrosByNameLength(table);
        QStringList sortedNames;
        QStringList sortedValues;
        for (const auto &e : table.entries()) {
            sortedNames << e.name;
            sortedValues << e.value;
        }
        const QString formula = gen.formula(sortedNames);
        const float expected = ref::EvalFormula(formula, sortedNames, sortedValues);
        const float actual = design::EvalFormula(formula, table);
        if (bitsOf(actual) != bitsOf(expected))
            QFAIL(qPrintable(u"%1 with %2 = %3: %4 != %5"_s.arg(formula, sortedNames.join(u','),
                                                                sortedValues.join(u','))
                                 .arg(actual, 0, 'g', 9)
                                 .arg(expected, 0, 'g', 9)));
        design::Cal cal;
        if (bitsOf(cal.CalExpress(formula)) != bitsOf(ref::CalExpress(formula)))
            QFAIL(qPrintable(u"CalExpress(%1)"_s.arg(formula)));
    }
}

void TstFormulaReference::growthUpToTheBoundMatches_data()
{
    QTest::addColumn<int>("labels");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<bool>("withinBound");
    // A label "1" worth "1+1", n times, makes each 1 into 2^n ones: 2^(n+1) - 1 characters.
    QTest::newRow("13 labels, 16386 characters") << 13 << u"H-1*2"_s << true;
    QTest::newRow("13 labels in a function") << 13 << u"SQR(1)"_s << true;
    QTest::newRow("14 labels, 32767 characters: the bound") << 14 << u"1"_s << true;
    QTest::newRow("14 labels, 32769 characters") << 14 << u"1+2"_s << false;
    QTest::newRow("15 labels") << 15 << u"1"_s << false;
}

// Up to the length bound the engine gives what the literal rules give; past it, no value.
void TstFormulaReference::growthUpToTheBoundMatches()
{
    QFETCH(int, labels);
    QFETCH(QString, formula);
    QFETCH(bool, withinBound);
    const QStringList names(labels, u"1"_s);
    const QStringList values(labels, u"1+1"_s);
    design::MacroTable table;
    for (int k = 0; k < labels; ++k)
        table.append(names[k], values[k]);
    design::SortMacrosByNameLength(table);
    const float actual = design::EvalFormula(formula, table);
    if (withinBound)
        QCOMPARE(bitsOf(actual), bitsOf(ref::EvalFormula(formula, names, values)));
    else
        QVERIFY(std::isnan(actual));
}

// Formulas read once per sequence of names and run with each window's values give what EvalFormula
// gives, for names that hide in one another and in values, repeated and empty names, and values
// that are not plain numbers. Each sequence of names meets many windows in one book.
void TstFormulaReference::bookMatchesEvalFormula()
{
    Generator gen(5);
    for (int set = 0; set < 400; ++set) {
        QStringList names;
        const int count = gen.below(8);
        for (int k = 0; k < count; ++k) {
            const int kind = gen.below(8);
            if (kind == 0 && !names.isEmpty())
                names << gen.pick(names);  // repeated
            else if (kind == 1 && !names.isEmpty())
                names << gen.pick(names) + gen.word(u"HW1"_s, 2);  // a longer name around a shorter one
            else if (kind == 2)
                names << gen.word(u"BHW12. "_s, 3);  // digits, points, blanks, maybe empty
            else
                names << gen.word(u"BHKLWbhw"_s, 3);
        }
        QStringList formulas;
        QStringList upper = names;
        for (QString &n : upper)
            n = n.trimmed().toUpper();
        for (int f = 0; f < 12; ++f)
            formulas << gen.formula(upper);
        design::FormulaBook book;
        for (int window = 0; window < 25; ++window) {
            design::MacroTable table;
            for (const QString &name : names) {
                const int kind = gen.below(12);
                const QString value = kind == 0   ? QString()
                                      : kind == 1 ? gen.word(u"0123.Ee+-Bb "_s, 5)
                                      : kind == 2 ? QString(gen.below(3000) + 1, u'9')  // growth to the bound
                                                  : gen.number();
                table.append(name, value);
            }
            design::SortMacrosByNameLength(table);
            design::MacroTable plain = table;
            design::FormulaBook::Bound bound = book.bind(table);
            for (int pass = 0; pass < 2; ++pass) {
                for (const QString &formula : formulas) {
                    bool plainFailed = false;
                    bool boundFailed = false;
                    const float expected = design::EvalFormula(formula, plain, &plainFailed);
                    const float actual = bound.eval(formula, &boundFailed);
                    QStringList tableText;
                    for (const auto &e : plain.entries())
                        tableText << e.name + u'=' + e.value;
                    if (bitsOf(actual) != bitsOf(expected) || boundFailed != plainFailed)
                        QFAIL(qPrintable(u"%1 with %2: %3 (%4) != %5 (%6)"_s.arg(formula, tableText.join(u','))
                                             .arg(actual, 0, 'g', 9).arg(boundFailed)
                                             .arg(expected, 0, 'g', 9).arg(plainFailed)));
                    for (qsizetype k = 0; k < table.count(); ++k)
                        QCOMPARE(table.at(k).name, plain.at(k).name);
                }
            }
        }
    }
}

QTEST_APPLESS_MAIN(TstFormulaReference)
#include "tst_formula_reference.moc"
