#include "platform/numtext.h"

#include <QTest>
#include <charconv>
#include <cstring>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <clocale>

using namespace Qt::StringLiterals;
using namespace platform;

class TstNumText : public QObject
{
    Q_OBJECT
private slots:
    void valReadsLeadingNumber_data();
    void valReadsLeadingNumber();
    void valReadsAsStrtod();
    void readingIgnoresTheUsersLocale();
    void wholeText_data();
    void wholeText();
    void isNumeric_data();
    void isNumeric();
    void plainNumbersShowAsTheyStand_data();
    void plainNumbersShowAsTheyStand();
    void checkAndReadingAgree_data();
    void checkAndReadingAgree();
    void roundHalfEven_data();
    void roundHalfEven();
    void generalForm_data();
    void generalForm();
    void generalFormReadsBackFinite_data();
    void generalFormReadsBackFinite();
    void generalValueIsTheGeneralFormReadBack_data();
    void generalValueIsTheGeneralFormReadBack();
    void roundingAgreesWithThePrintedDigits_data();
    void roundingAgreesWithThePrintedDigits();
    void statementForm_data();
    void statementForm();
};

void TstNumText::valReadsLeadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("plain") << u"6000"_s << 6000.0;
    QTest::newRow("fraction without zero") << u".95"_s << 0.95;
    QTest::newRow("trailing letters") << u"12a"_s << 12.0;
    QTest::newRow("blanks inside") << u" 1 2.5"_s << 12.5;
    QTest::newRow("negative") << u"-5"_s << -5.0;
    QTest::newRow("exponent") << u"1E-05"_s << 1e-5;
    QTest::newRow("dangling exponent") << u"3E"_s << 3.0;
    QTest::newRow("second point stops") << u"1.2.3"_s << 1.2;
    QTest::newRow("no number") << u"abc"_s << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("lone point") << u"."_s << 0.0;
}

void TstNumText::valReadsLeadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(val(text), expected);
}

// Decimal texts read without strtod where one division gives the same: the same bits, also past
// 15 digits, past 22 decimals, for signs and zeros.
void TstNumText::valReadsAsStrtod()
{
    std::mt19937_64 rng(7);
    auto below = [&rng](int n) { return int(rng() % quint64(n)); };
    for (int i = 0; i < 200000; ++i) {
        QByteArray s;
        if (below(4) == 0)
            s += below(2) ? '-' : '+';
        const int length = 1 + below(below(6) == 0 ? 30 : 12);
        for (int k = 0; k < length; ++k)
            s += below(5) == 0 ? '0' : char('0' + below(10));
        if (below(2))
            s.insert(below(int(s.size()) + 1), '.');
        const double expected = std::strtod(s.constData(), nullptr);
        const double actual = val(QString::fromLatin1(s));
        QVERIFY2(std::memcmp(&expected, &actual, sizeof actual) == 0, s.constData());
    }
}

// The application runs in the user's locale; one with a decimal comma changes nothing read or shown.
void TstNumText::readingIgnoresTheUsersLocale()
{
    const QList<QString> texts = {u"12.5"_s, u"-0.000000000000000000000000123"_s, u"1.23456789012345678"_s,
                                  u"1.5E+10"_s, u"2.5e-300"_s, u"1.8E+308"_s};
    const QList<double> values = {0.1, 1234567.891, 1.797693134862314e308, -2.5e-300};
    QList<double> read;
    QStringList shown;
    for (const QString &t : texts)
        read << val(t);
    for (double v : values)
        shown << general(v, 7) << general(v, 15);
    const QByteArray before = setlocale(LC_NUMERIC, nullptr);
    const char *comma = nullptr;
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"})
        if (setlocale(LC_NUMERIC, name)) {
            comma = name;
            break;
        }
    if (!comma)
        QSKIP("no locale with a decimal comma on this machine");
    QList<double> readThere;
    QStringList shownThere;
    for (const QString &t : texts)
        readThere << val(t);
    for (double v : values)
        shownThere << general(v, 7) << general(v, 15);
    setlocale(LC_NUMERIC, before.constData());
    QCOMPARE(readThere, read);
    QCOMPARE(shownThere, shown);
}

void TstNumText::wholeText_data()
{
    QTest::addColumn<qint64>("value");
    QTest::newRow("zero") << qint64(0);
    QTest::newRow("one") << qint64(1);
    QTest::newRow("minus one") << qint64(-1);
    QTest::newRow("ten thousand") << qint64(10000);
    QTest::newRow("largest") << std::numeric_limits<qint64>::max();
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min();
}

void TstNumText::wholeText()
{
    QFETCH(qint64, value);
    QCOMPARE(platform::wholeText(value), QString::number(value));
}

void TstNumText::isNumeric_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("whole") << u"6000"_s << true;
    QTest::newRow("blanks around") << u" 12 "_s << true;
    QTest::newRow("fraction") << u".5"_s << true;
    QTest::newRow("signed exponent") << u"-1.5e3"_s << true;
    QTest::newRow("two points") << u"1.2.3"_s << false;
    QTest::newRow("lone point") << u"."_s << false;
    QTest::newRow("letters after") << u"12a"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("exponent without digits") << u"1e"_s << false;
}

void TstNumText::isNumeric()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(platform::isNumeric(text), expected);
}

void TstNumText::plainNumbersShowAsTheyStand_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("length") << u"1150"_s << true;
    QTest::newRow("fraction") << u"0.85"_s << true;
    QTest::newRow("negative") << u"-2.5"_s << true;
    QTest::newRow("tiny in its exponent form") << u"1E-06"_s << true;
    // Written as numbers, these would show otherwise.
    QTest::newRow("leading zeros of a code") << u"007"_s << false;
    QTest::newRow("trailing zero") << u"1.50"_s << false;
    QTest::newRow("no zero before the point") << u".5"_s << false;
    QTest::newRow("blank before") << u" 12"_s << false;
    QTest::newRow("plus sign") << u"+3"_s << false;
    QTest::newRow("more digits than a double keeps") << u"12345678901234567"_s << false;
    QTest::newRow("code with a dash") << u"60-01"_s << false;
}

void TstNumText::plainNumbersShowAsTheyStand()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(platform::isPlainNumber(text), expected);
}

void TstNumText::checkAndReadingAgree_data()
{
    // What the check accepts must read as the number it shows; what would read otherwise (as 0)
    // is refused. Full-width digits and blanks, as Chinese input methods type them, are refused.
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("reads"); // val() of an accepted text
    QTest::newRow("blank before") << u" 1200"_s << true << 1200.0;
    QTest::newRow("tab before and blank after") << u"\t1200 "_s << true << 1200.0;
    QTest::newRow("full-width blank before") << u"\u30001200"_s << false << 0.0;
    QTest::newRow("full-width blank after") << u"1200\u3000"_s << false << 0.0;
    QTest::newRow("no-break blank before") << u"\u00A01200"_s << false << 0.0;
    QTest::newRow("narrow no-break blank before") << u"\u202F1200"_s << false << 0.0;
    QTest::newRow("line break before") << u"\n1200"_s << false << 0.0;
    QTest::newRow("carriage return after") << u"1200\r"_s << false << 0.0;
    QTest::newRow("form feed before") << u"\f1200"_s << false << 0.0;
    QTest::newRow("full-width digits") << u"１２００"_s << false << 0.0;
    QTest::newRow("full-width minus") << u"－5"_s << false << 0.0;
    QTest::newRow("full-width point") << u"1．5"_s << false << 0.0;
    QTest::newRow("overflow") << u"1e999"_s << false << 0.0;
    QTest::newRow("negative overflow") << u"-1E400"_s << false << 0.0;
    QTest::newRow("400 digits") << QString(400, u'9') << false << 0.0;
    QTest::newRow("largest double") << u"1.7976931348623157e308"_s << true << 1.7976931348623157e308;
    QTest::newRow("underflow to zero") << u"1e-999"_s << true << 0.0;
    QTest::newRow("infinity spelled") << u"inf"_s << false << 0.0;
    QTest::newRow("not a number spelled") << u"nan"_s << false << 0.0;
    QTest::newRow("hexadecimal") << u"0x10"_s << false << 0.0;
}

void TstNumText::checkAndReadingAgree()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, reads);
    QCOMPARE(platform::isNumeric(text), accepted);
    if (accepted)
        QCOMPARE(val(text), reads);
}

void TstNumText::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("half down to even") << 5800.5 << true << qint64(5800);
    QTest::newRow("half up to even") << 5801.5 << true << qint64(5802);
    QTest::newRow("negative half") << -2.5 << true << qint64(-2);
    QTest::newRow("top of 16 bits") << 32767.4 << true << qint64(32767);
    QTest::newRow("past 16 bits") << 32767.6 << false << qint64(0);
    QTest::newRow("not finite") << std::numeric_limits<double>::infinity() << false << qint64(0);
}

void TstNumText::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(bool, inRange);
    QFETCH(qint64, expected);
    const auto r = platform::roundHalfEven(value, -32768, 32767);
    QCOMPARE(r.has_value(), inRange);
    if (inRange)
        QCOMPARE(*r, expected);
}

void TstNumText::generalForm_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 6000.0 << 7 << u"6000"_s;
    QTest::newRow("zero before point") << 0.5 << 7 << u"0.5"_s;
    QTest::newRow("negative") << -1.25 << 15 << u"-1.25"_s;
    QTest::newRow("single keeps 7 digits") << double(1.0f / 3.0f) << 7 << u"0.3333333"_s;
    QTest::newRow("double keeps 15 digits") << 1.0 / 3.0 << 15 << u"0.333333333333333"_s;
    QTest::newRow("smallest fixed") << 1e-5 << 7 << u"0.00001"_s;
    QTest::newRow("below fixed") << 1e-6 << 7 << u"1E-06"_s;
    QTest::newRow("largest fixed single") << 9999999.0 << 7 << u"9999999"_s;
    QTest::newRow("rounds into exponent form") << 12345678.0 << 7 << u"1.234568E+07"_s;
    QTest::newRow("double fixed up to 1E15") << 12345678.0 << 15 << u"12345678"_s;
    QTest::newRow("double exponent") << 1e15 << 15 << u"1E+15"_s;
    QTest::newRow("zero") << 0.0 << 7 << u"0"_s;
    QTest::newRow("negative zero") << -0.0 << 15 << u"0"_s;
    // Rounding up would pass the largest double, so the digits are cut instead.
    QTest::newRow("largest double") << std::numeric_limits<double>::max() << 15 << u"1.79769313486231E+308"_s;
    QTest::newRow("largest double negative") << -std::numeric_limits<double>::max() << 15 << u"-1.79769313486231E+308"_s;
    QTest::newRow("largest double in 7 digits") << std::numeric_limits<double>::max() << 7 << u"1.797693E+308"_s;
}

void TstNumText::generalForm()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(QString, expected);
    QCOMPARE(general(value, digits), expected);
}

void TstNumText::generalFormReadsBackFinite_data()
{
    QTest::addColumn<double>("value");
    const double max = std::numeric_limits<double>::max();
    QTest::newRow("largest") << max;
    QTest::newRow("largest negative") << -max;
    QTest::newRow("just below the largest") << std::nextafter(max, 0.0);
    QTest::newRow("rounds up within range") << 1.797693134862314e308;
    QTest::newRow("largest single") << double(std::numeric_limits<float>::max());
    QTest::newRow("smallest normal") << std::numeric_limits<double>::min();
    QTest::newRow("smallest subnormal") << std::numeric_limits<double>::denorm_min();
}

// Every finite value written in the general form passes the number check and reads back as a
// finite number close to it.
void TstNumText::generalFormReadsBackFinite()
{
    QFETCH(double, value);
    for (int digits : {7, 15}) {
        const QString text = general(value, digits);
        QVERIFY2(platform::isNumeric(text), qPrintable(text));
        const double back = val(text);
        QVERIFY2(std::isfinite(back), qPrintable(text));
        QCOMPARE(generalValue(value, digits), back);
        if (std::fabs(value) >= std::numeric_limits<double>::min())
            QVERIFY2(std::fabs(back - value) <= std::fabs(value) * 1e-6, qPrintable(text));
    }
}

void TstNumText::generalValueIsTheGeneralFormReadBack_data()
{
    // Values whose shortest text has about as many digits as are kept, on either side.
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::newRow("binary noise") << 0.1 + 0.2 << 15;
    QTest::newRow("seven digits kept") << 1234.568 << 7;
    QTest::newRow("eight digits, seven kept") << 1234.5678 << 7;
    QTest::newRow("a single as a double") << double(0.1f) << 7;
    QTest::newRow("a single's noise kept") << double(0.1f) << 15;
    QTest::newRow("fifteen digits") << 123456789012345.0 << 15;
    QTest::newRow("sixteen digits") << 1234567890123456.0 << 15;
    QTest::newRow("fifteen digits and a half") << 999999999999999.5 << 15;
    QTest::newRow("just below a power of ten") << 0.99999999999999989 << 15;
    QTest::newRow("fifteen digits of a fraction") << 0.123456789012345 << 15;
    QTest::newRow("seven nines and a half") << 9999999.5 << 7;
    QTest::newRow("negative") << -62.661600000000007 << 15;
    QTest::newRow("tiny") << 1.5e-300 << 15;
    QTest::newRow("smallest subnormal") << std::numeric_limits<double>::denorm_min() << 15;
    QTest::newRow("sixteen digits kept") << 0.1 + 0.2 << 16;
}

void TstNumText::generalValueIsTheGeneralFormReadBack()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    const double back = general(value, digits).toDouble();
    const double got = generalValue(value, digits);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&got), 8), QByteArray(reinterpret_cast<const char *>(&back), 8));
}

void TstNumText::roundingAgreesWithThePrintedDigits_data()
{
    // Families of values where rounding in binary could go wrong: exact ties of the last kept digit,
    // values one step beside a tie or a power of ten, carries to the next power, and plain noise.
    QTest::addColumn<int>("family");
    QTest::newRow("ties and their neighbours") << 0;
    QTest::newRow("beside powers of ten") << 1;
    QTest::newRow("random magnitudes") << 2;
    QTest::newRow("products of prices and lengths") << 3;
    QTest::newRow("singles as doubles") << 4;
}

// generalValue() and the digits of general() are what printing the digits with the C++ library
// and reading them back give, bit for bit.
void TstNumText::roundingAgreesWithThePrintedDigits()
{
    QFETCH(int, family);
    std::mt19937_64 random(20240611 + family);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    QList<double> values;
    for (int i = 0; i < 20000; ++i) {
        const int power = int(random() % 40) - 17;
        switch (family) {
        case 0: {
            const double tie = (double(random() % 100000000) + 0.5) * std::pow(10.0, power - 8);
            values << tie << std::nextafter(tie, 0.0) << std::nextafter(tie, 1e300);
            const double binaryTie = std::ldexp(double(random() % (1ull << 52)) * 2 + 1, int(random() % 60) - 60);
            values << binaryTie;
            break;
        }
        case 1: {
            const double p = std::pow(10.0, power);
            values << p << std::nextafter(p, 0.0) << std::nextafter(p, 1e300) << p * (1 - 1e-15) << p * (1 + 5e-16);
            break;
        }
        case 2:
            values << (unit(random) + 0.05) * std::pow(10.0, power);
            break;
        case 3: {
            const double price = double(random() % 100000) / 100;
            const double length = double(random() % 60000) / 10;
            values << price * (length / 1000) * double(random() % 50 + 1) << price / 1000 * 1.234;
            break;
        }
        case 4:
            values << double(float(unit(random) * std::pow(10.0, power)));
            break;
        }
    }
    for (double v : values) {
        for (double value : {v, -v}) {
            for (int digits : {7, 15}) {
                char buf[64];
                char *end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1).ptr;
                double expected = 0;
                std::from_chars(buf, end, expected);
                const double got = generalValue(value, digits);
                QVERIFY2(std::memcmp(&got, &expected, sizeof got) == 0,
                         qPrintable(QString::number(value, 'g', 17) + u" "_s + QString::number(digits)));
                // The same digits in the text, whatever its form.
                QString printed;
                for (const char *c = buf; c < end && *c != 'e'; ++c)
                    if (*c >= '0' && *c <= '9')
                        printed += QLatin1Char(*c);
                QString shown;
                const QString text = general(value, digits);
                for (QChar c : text.left(text.indexOf(u'E') < 0 ? text.size() : text.indexOf(u'E')))
                    if (c.isDigit())
                        shown += c;
                while (shown.startsWith(u'0'))
                    shown.remove(0, 1);
                while (printed.endsWith(u'0'))
                    printed.chop(1);
                while (shown.endsWith(u'0'))
                    shown.chop(1);
                QVERIFY2(shown == printed, qPrintable(text + u" "_s + QString::fromLatin1(buf, end - buf)));
                QCOMPARE(text.toDouble(), expected);
            }
        }
    }
}

void TstNumText::statementForm_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("positive whole") << 6000.0 << u" 6000"_s;
    QTest::newRow("negative whole") << -5.0 << u"-5"_s;
    QTest::newRow("fraction") << 0.85 << u" .85"_s;
    QTest::newRow("negative fraction") << -0.5 << u"-.5"_s;
    QTest::newRow("zero") << 0.0 << u" 0"_s;
}

void TstNumText::statementForm()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(statementSingle(float(value)), expected);
}

QTEST_APPLESS_MAIN(TstNumText)
#include "tst_numtext.moc"
