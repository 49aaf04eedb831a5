// Tests of the number functions of the language runtime (Platform/Numbers):
// Val, IsNumeric, CDbl, CStr, Format, CInt/CLng, under the C, US English
// and German settings, with the examples that the windows show.
#include "Platform/Errors.h"
#include "Platform/Numbers.h"
#include "Platform/Runtime.h"

#include <QLocale>
#include <QtTest>

#include <clocale>
#include <cmath>
#include <limits>

using namespace Runtime;

namespace {

const QStringList kLocales = {QStringLiteral("C"), QStringLiteral("en_US"), QStringLiteral("de_DE")};

QLocale localeNamed(const QString& name) {
    if (name == QStringLiteral("C")) return QLocale::c();
    if (name == QStringLiteral("en_US")) return QLocale(QLocale::English, QLocale::UnitedStates);
    if (name == QStringLiteral("de_DE")) return QLocale(QLocale::German, QLocale::Germany);
    return QLocale(name);
}

// Doubles compared exactly (QCOMPARE compares them fuzzily), with -0 != +0.
bool same(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

QString show(double v) { return QString::number(v, 'g', 17); }

// Runs f and gives the number of the RuntimeError it throws, 0 if none.
template <typename F>
int errorOf(F f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number;
    }
    return 0;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const double kMax = std::numeric_limits<double>::max();

// The converters' computation: the amount, the row's
// factor and the active row's factor read as leading values, the product
// formed first.
double convert(const QString& amount, const QString& factorTo, const QString& factorFrom) {
    return (Val(amount) * Val(factorTo)) / Val(factorFrom);
}

} // namespace

class TestRuntimeNumbers : public QObject {
    Q_OBJECT

private slots:
    // Every test sets the settings it needs; C unless it says otherwise.
    void init() { setLocale(QLocale::c()); }
    void cleanup() { resetLocale(); }

    void val_data();
    void val();
    void valOverflow_data();
    void valOverflow();

    void isNumeric_data();
    void isNumeric();
    void cdbl_data();
    void cdbl();
    void cdblErrors_data();
    void cdblErrors();

    void cstr_data();
    void cstr();
    void cstrRoundTrip_data();
    void cstrRoundTrip();
    void cstrNonFinite();

    void format_data();
    void format();
    void formatText_data();
    void formatText();
    void formatNonFinite();

    void integers_data();
    void integers();
    void integerText_data();
    void integerText();

    void decimalSeparatorProbe_data();
    void decimalSeparatorProbe();
    void trim_data();
    void trim();

    void unitConverter_data();
    void unitConverter();
    void temperature_data();
    void temperature();
    void calculatorChain_data();
    void calculatorChain();
    void statementPages_data();
    void statementPages();
    void independentOfCLocale();
};

// --- Val -------------------------------------------------------------------------

void TestRuntimeNumbers::val_data() {
    QTest::addColumn<QString>("loc");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    struct Case { const char* name; QString text; double expected; };
    const QList<Case> cases = {
        {"empty", "", 0},
        {"no number", "abc", 0},
        {"plain", "12", 12},
        {"leading blanks", "   7.5", 7.5},
        {"blanks inside digits", " 1 2 3", 123},
        {"tab and line feed skipped", "\t1\n2", 12},
        {"sign then blank", "- 5", -5},
        {"plus", "+5", 5},
        {"two signs", "--5", 0},
        {"comma stops", "12,50", 12},
        {"comma amount 0,50 is 0", "0,50", 0},
        {"point only decimal", ".5", 0.5},
        {"negative point", "-.5", -0.5},
        {"second point stops", "1.2.3", 1.2},
        {"stops at letter", "42abc", 42},
        {"exponent", "1.5e3", 1500},
        {"exponent D", "1D2", 100},
        {"negative exponent", "25E-2", 0.25},
        {"exponent sign with blanks", "1E - 2", 0.01},
        {"unfinished exponent", "3e", 3},
        {"unfinished exponent sign", "3e+", 3},
        {"currency sign is no number", "$5", 0},
        {"page position 10,3", "10,3", 10},
        {"page position 10.3", "10.3", 10.3},
        {"percentage text", "33", 33},
        {"hex", "&HFF", 255},
        {"hex lower case", "&hff", 255},
        {"hex 16-bit wraps", "&HFFFF", -1},
        {"hex 8000", "&H8000", -32768},
        {"hex beyond 16 bits", "&H10000", 65536},
        {"hex 32-bit wraps", "&HFFFFFFFF", -1},
        {"hex stops", "&H1G", 1},
        {"hex without digits", "&H", 0},
        {"octal", "&O17", 15},
        {"octal stops at 8", "&O18", 1},
        {"ampersand alone", "&X1", 0},
        {"BCD letter A", "A", 0},
        {"decimal text of a BCD group", "1A", 1},
        {"tiny underflows to 0", "1E-400", 0},
        {"many digits", "123456789012345678901234567890", 123456789012345678901234567890.0},
        {"largest double", "1.7976931348623157E308", kMax},
        {"minus zero reads zero", "-0", 0},
    };
    for (const QString& loc : kLocales)
        for (const Case& c : cases)
            QTest::newRow(qPrintable(loc + QStringLiteral(": ") + QLatin1String(c.name))) << loc << c.text << c.expected;
}

void TestRuntimeNumbers::val() {
    QFETCH(QString, loc);
    QFETCH(QString, text);
    QFETCH(double, expected);
    setLocale(localeNamed(loc));
    const double got = Val(text);
    QVERIFY2(same(got, expected), qPrintable(show(got) + QStringLiteral(" != ") + show(expected)));
}

void TestRuntimeNumbers::valOverflow_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("exponent") << "1E400";
    QTest::newRow("negative exponent form") << "-1E309";
    QTest::newRow("400 digits") << QString(400, u'9');
    QTest::newRow("hex beyond 32 bits") << "&H100000000";
}

void TestRuntimeNumbers::valOverflow() {
    QFETCH(QString, text);
    QCOMPARE(errorOf([&] { Val(text); }), 6);
}

// --- IsNumeric and CDbl -------------------------------------------------------------

void TestRuntimeNumbers::isNumeric_data() {
    QTest::addColumn<QString>("loc");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");

    // Shapes that every one of the three settings judges alike.
    struct Case { const char* name; QString text; bool expected; };
    const QList<Case> common = {
        {"empty", "", false},
        {"blank", " ", false},
        {"digit", "5", true},
        {"zero", "0", true},
        {"leading zeros", "007", true},
        {"blanks around", "  5  ", true},
        {"tab and line feed around", "\t5\n", true},
        {"leading minus", "-5", true},
        {"trailing minus", "5-", true},
        {"leading plus", "+5", true},
        {"trailing plus", "5+", true},
        {"two minus signs", "-5-", false},
        {"plus and minus", "+-5", false},
        {"double minus", "--5", false},
        {"minus alone", "-", false},
        {"minus between digits", "1-2", false},
        {"blank between digits", "1 2", false},
        {"letters", "abc", false},
        {"digits then letters", "12abc", false},
        {"exponent", "1E5", true},
        {"negative exponent", "1e-5", true},
        {"unfinished exponent", "1e", false},
        {"exponent sign only", "1e+", false},
        {"exponent without mantissa", "e5", false},
        {"D exponent is no number here", "1D5", false},
        {"parentheses", "(5)", true},
        {"open parenthesis", "(5", false},
        {"close parenthesis", "5)", false},
        {"hex", "&HFF", true},
        {"hex lower case", "&hff", true},
        {"hex without digits", "&H", false},
        {"bad hex digit", "&HG", false},
        {"octal", "&O17", true},
        {"octal 8", "&O8", false},
        {"hex beyond 32 bits (mended)", "&H1FFFFFFFF", false},
        {"largest double", "1E308", true},
        {"beyond double (mended)", "1E309", false},
        {"beyond double 1.8E308 (mended)", "1.8E308", false},
        {"negative beyond double (mended)", "-1E309", false},
        {"400 digits (mended)", QString(400, u'9'), false},
        {"tiny value is 0", "1E-400", true},
    };
    for (const QString& loc : kLocales)
        for (const Case& c : common)
            QTest::newRow(qPrintable(loc + QStringLiteral(": ") + QLatin1String(c.name))) << loc << c.text << c.expected;

    // Point decimal, comma grouping.
    for (const QString& loc : {QStringLiteral("C"), QStringLiteral("en_US")}) {
        auto row = [&](const char* name, const QString& text, bool expected) {
            QTest::newRow(qPrintable(loc + QStringLiteral(": ") + QLatin1String(name))) << loc << text << expected;
        };
        row("decimal point", "1.5", true);
        row("point first", ".5", true);
        row("point last", "5.", true);
        row("negative point first", "-.5", true);
        row("lone point", ".", false);
        row("two points", "1.2.3", false);
        row("lone comma", ",", false);
        row("grouped", "1,000", true);
        row("grouped with decimals", "1,234,567.89", true);
        row("comma 1,5 is grouping", "1,5", true);
        row("comma first", ",5", false);
        row("comma after decimals", "1.5,5", false);
        row("dollar before", "$5", true);
        row("dollar after", "5$", true);
        row("dollar and minus", "$-5", true);
        row("minus and dollar", "-$5", true);
        row("budget display $1,125", "$1,125", true);
        row("euro is not this computer's sign", "€1125", false);
        row("decimal comma 0,50 is 50", "0,50", true);
    }
    auto de = [&](const char* name, const QString& text, bool expected) {
        QTest::newRow(qPrintable(QStringLiteral("de_DE: ") + QLatin1String(name))) << QStringLiteral("de_DE") << text << expected;
    };
    de("decimal comma", "1,5", true);
    de("point is grouping", "1.5", true);
    de("grouped with decimals", "1.234,5", true);
    de("comma first", ",5", true);
    de("lone comma", ",", false);
    de("lone point", ".", false);
    de("point first is grouping", ".5", false);
    de("two commas", "1,2,3", false);
    de("amount 0,50", "0,50", true);
    de("euro before", "€1500", true);
    de("euro after", "1500 €", true);
    de("dollar is foreign here", "$5", false);
}

void TestRuntimeNumbers::isNumeric() {
    QFETCH(QString, loc);
    QFETCH(QString, text);
    QFETCH(bool, expected);
    setLocale(localeNamed(loc));
    QCOMPARE(IsNumeric(text), expected);
    QCOMPARE(toNumber(text).has_value(), expected);
    // CDbl accepts exactly what IsNumeric accepts.
    QCOMPARE(errorOf([&] { CDbl(text); }) == 0, expected);
}

void TestRuntimeNumbers::cdbl_data() {
    QTest::addColumn<QString>("loc");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    for (const QString& loc : {QStringLiteral("C"), QStringLiteral("en_US")}) {
        auto row = [&](const char* name, const QString& text, double expected) {
            QTest::newRow(qPrintable(loc + QStringLiteral(": ") + QLatin1String(name))) << loc << text << expected;
        };
        row("decimal", "12.5", 12.5);
        row("blanks around", " 0.1 ", 0.1);
        row("grouped", "1,000.5", 1000.5);
        row("grouping anywhere", "1,5", 15);
        row("trailing minus", "5-", -5);
        row("parentheses negative", "(5)", -5);
        row("budget $1,125", "$1,125", 1125);
        row("budget $18,000.00", "$18,000.00", 18000);
        row("budget 150.00", "150.00", 150);
        row("budget .50", ".50", 0.5);
        row("hex", "&HFF", 255);
        row("hex 16 bits stays positive", "&HFFFF", 65535);
        row("hex 32-bit wraps", "&HFFFFFFFF", -1);
        row("hex with minus", "-&H10", -16);
        row("exponent", "1.5E3", 1500);
        row("tiny to zero", "1E-400", 0);
        row("largest double", "1.7976931348623157E308", kMax);
        row("17 digits kept", "0.30000000000000004", 0.30000000000000004);
        row("minus zero is zero", "-0", 0);
        row("calculator display", "0.333333333333333", 0.333333333333333);
    }
    auto de = [&](const char* name, const QString& text, double expected) {
        QTest::newRow(qPrintable(QStringLiteral("de_DE: ") + QLatin1String(name))) << QStringLiteral("de_DE") << text << expected;
    };
    de("decimal comma", "1,5", 1.5);
    de("point groups: 1.5 is 15", "1.5", 15);
    de("grouped", "1.234,5", 1234.5);
    de("amount 0,50", "0,50", 0.5);
    de("euro before", "€1.500", 1500);
    de("euro after", "1500 €", 1500);
    de("negative comma", "-12,25", -12.25);
}

void TestRuntimeNumbers::cdbl() {
    QFETCH(QString, loc);
    QFETCH(QString, text);
    QFETCH(double, expected);
    setLocale(localeNamed(loc));
    const double got = CDbl(text);
    QVERIFY2(same(got, expected), qPrintable(show(got) + QStringLiteral(" != ") + show(expected)));
    QVERIFY(IsNumeric(text));
}

void TestRuntimeNumbers::cdblErrors_data() {
    QTest::addColumn<QString>("loc");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("error");
    for (const QString& loc : kLocales) {
        auto row = [&](const char* name, const QString& text, int error) {
            QTest::newRow(qPrintable(loc + QStringLiteral(": ") + QLatin1String(name))) << loc << text << error;
        };
        row("empty", "", 13);
        row("letters", "abc", 13);
        row("minus alone", "-", 13);
        row("unfinished exponent", "1e", 13);
        row("beyond double", "1E400", 6);
        row("negative beyond double", "-1E400", 6);
        row("400 digits", QString(400, u'9'), 6);
        row("hex beyond 32 bits", "&H100000000", 6);
    }
    QTest::newRow("en_US: euro sign") << QStringLiteral("en_US") << QStringLiteral("€5") << 13;
    QTest::newRow("de_DE: dollar sign") << QStringLiteral("de_DE") << QStringLiteral("$5") << 13;
}

void TestRuntimeNumbers::cdblErrors() {
    QFETCH(QString, loc);
    QFETCH(QString, text);
    QFETCH(int, error);
    setLocale(localeNamed(loc));
    QCOMPARE(errorOf([&] { CDbl(text); }), error);
    QVERIFY(!IsNumeric(text));
}

// --- CStr -------------------------------------------------------------------------

void TestRuntimeNumbers::cstr_data() {
    QTest::addColumn<QString>("loc");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    struct Case { const char* name; double value; const char* expected; };
    const QList<Case> cases = {
        {"zero", 0, "0"},
        {"negative zero", -0.0, "0"},
        {"whole", 100, "100"},
        {"half", 0.5, "0.5"},
        {"negative", -12.25, "-12.25"},
        {"0.1 + 0.2", 0.1 + 0.2, "0.3"},
        {"1 - 0.9", 1 - 0.9, "0.1"},
        {"a third", 1.0 / 3, "0.333333333333333"},
        {"two thirds rounds up", 2.0 / 3, "0.666666666666667"},
        {"15 digits kept", 123456789012345.0, "123456789012345"},
        {"16th digit rounds", 12345678901234.56, "12345678901234.6"},
        {"largest fixed", 999999999999999.0, "999999999999999"},
        {"rounds into exponent form", 999999999999999.9, "1E+15"},
        {"1E+15", 1e15, "1E+15"},
        {"1.5E+20", 1.5e20, "1.5E+20"},
        {"-1.5E+20", -1.5e20, "-1.5E+20"},
        {"long mantissa", 123456789012345678.0, "1.23456789012346E+17"},
        {"0.0001 fixed", 0.0001, "0.0001"},
        {"0.00012345 fixed", 0.00012345, "0.00012345"},
        {"1E-05", 0.00001, "1E-05"},
        {"1.5E-07", 1.5e-7, "1.5E-07"},
        {"three-digit exponent", 1.23e-100, "1.23E-100"},
        {"largest double", kMax, "1.79769313486232E+308"},
        {"smallest denormal", 5e-324, "4.94065645841247E-324"},
        {"millions without grouping", 1234567.5, "1234567.5"},
        // Tooltips of the unit and currency converters.
        {"12 inches in cm", (12 * 100.0) / 39.37007874, "30.4800000001219"},
        {"gallon in ml", 1000 / 0.2642499, "3784.29660711319"},
        {"gallon in fluid ounces", 33.8239926 / 0.2642499, "128.000020435202"},
        {"gallon in quarts", 1.056998 / 0.2642499, "3.99999394512543"},
        {"gallon in litres", 1 / 0.2642499, "3.78429660711319"},
        {"euro in dollars", 1 / 1.07, "0.934579439252336"},
        {"100 dollars in pesetas", 100 * 178.10, "17810"},
    };
    for (const QString& loc : kLocales)
        for (const Case& c : cases) {
            QString expected = QString::fromUtf8(c.expected);
            if (loc == QStringLiteral("de_DE")) expected.replace(u'.', u',');
            QTest::newRow(qPrintable(loc + QStringLiteral(": ") + QLatin1String(c.name))) << loc << c.value << expected;
        }
}

void TestRuntimeNumbers::cstr() {
    QFETCH(QString, loc);
    QFETCH(double, value);
    QFETCH(QString, expected);
    setLocale(localeNamed(loc));
    QCOMPARE(CStr(value), expected);
}

void TestRuntimeNumbers::cstrRoundTrip_data() {
    QTest::addColumn<QString>("loc");
    QTest::addColumn<double>("value");
    for (const QString& loc : kLocales)
        for (double v : {0.1, 1.0 / 3, 1e15, 1.5e-7, -2.5e100, 4.94065645841247E-324, 1e-5, 123.456})
            QTest::newRow(qPrintable(loc + QStringLiteral(": ") + show(v))) << loc << v;
}

void TestRuntimeNumbers::cstrRoundTrip() {
    // The text reads back, by the same settings, as the value at 15 digits.
    QFETCH(QString, loc);
    QFETCH(double, value);
    setLocale(localeNamed(loc));
    const QString text = CStr(value);
    QVERIFY2(IsNumeric(text), qPrintable(text));
    QCOMPARE(CStr(CDbl(text)), text);
    QVERIFY(std::fabs(CDbl(text) - value) <= std::fabs(value) * 1e-14);
}

void TestRuntimeNumbers::cstrNonFinite() {
    QCOMPARE(errorOf([] { CStr(kInf); }), 6);
    QCOMPARE(errorOf([] { CStr(-kInf); }), 6);
    QCOMPARE(errorOf([] { CStr(kNaN); }), 6);
}

// --- Format -------------------------------------------------------------------------

void TestRuntimeNumbers::format_data() {
    QTest::addColumn<QString>("loc");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");

    // Written for the point; the German rows swap point and comma.
    struct Case { const char* name; double value; const char* pattern; const char* expected; };
    const QList<Case> cases = {
        // Rounding on the 15-digit decimal text, a half away from zero.
        {"1.005 rounds up", 1.005, "0.00", "1.01"},
        {"100.5 cm / 100", 100.5 / 100, "0.00", "1.01"},
        {"2.675 rounds up", 2.675, "0.00", "2.68"},
        {"1.115 rounds up", 1.115, "0.00", "1.12"},
        {"1.0049 rounds down", 1.0049, "0.00", "1.00"},
        {"carry into whole", 9.995, "0.00", "10.00"},
        {"carry into new digit", 99.999, "0.00", "100.00"},
        {"negative half", -2.675, "0.00", "-2.68"},
        {"whole half up", 2.5, "0", "3"},
        {"whole negative half", -2.5, "0", "-3"},
        {"zero", 0, "0.00", "0.00"},
        {"negative zero", -0.0, "0.00", "0.00"},
        {"negative rounds to zero", -0.004, "0.00", "0.00"},
        {"negative rounds away", -0.005, "0.00", "-0.01"},
        {"tiny negative", -1.5e-7, "0.00", "0.00"},
        {"tiny positive", 1.5e-7, "0.00", "0.00"},
        {"no grouping in 0.00", 1234567.891, "0.00", "1234567.89"},
        {"large value written out", 1e20, "0.00", "100000000000000000000.00"},
        // Converter captions.
        {"metres in miles", 0.00062137119, "0.00", "0.00"},
        {"stones", 0.1574731232747, "0.00", "0.16"},
        {"pounds", 2.2046215, "0.00", "2.20"},
        {"lira", 216862, "0.00", "216862.00"},
        // Temperature formats.
        {"boiling in F", 212, "0.00 °F", "212.00 °F"},
        {"minus forty", -40, "0.00 °C", "-40.00 °C"},
        {"0.001 C in F", 0.001 * 1.8 + 32, "0.00 °F", "32.00 °F"},
        {"0.003 C in F", 0.003 * 1.8 + 32, "0.00 °F", "32.01 °F"},
        // Bank amounts "00.00".
        {"debt 5", 5, "00.00", "05.00"},
        {"debt 1234.5", 1234.5, "00.00", "1234.50"},
        {"debt 12345.67", 12345.67, "00.00", "12345.67"},
        {"payment 5.5", -5.5, "00.00", "-05.50"},
        {"half in 00.00", 0.5, "00.00", "00.50"},
        // Page figure "#.0".
        {"100 rows / 48", 100.0 / 48, "#.0", "2.1"},
        {"96 rows / 48", 96.0 / 48, "#.0", "2.0"},
        {"title row only", 1.0 / 48, "#.0", ".0"},
        {"50 rows / 69", 50.0 / 69, "#.0", ".7"},
        {"100 rows / 69", 100.0 / 69, "#.0", "1.4"},
        {"69 rows / 69", 69.0 / 69, "#.0", "1.0"},
        // Budget patterns.
        {"#.00 below 1", 0.5, "#.00", ".50"},
        {"#.00 zero", 0, "#.00", ".00"},
        {"#.00 amount", 371.25, "#.00", "371.25"},
        {"# whole", 1125, "#", "1125"},
        {"# rounds", 1124.5, "#", "1125"},
        {"# zero is empty", 0, "#", ""},
        {"## percentage", 150.0 / 1125 * 100, "##", "13"},
        {"## rounds to zero: empty", 0.4, "##", ""},
        {"## negative rounds to zero: empty", -0.3, "##", ""},
        {"## negative keeps sign", -5.6, "##", "-6"},
        {"###,### grouped", 1125, "###,###", "1,125"},
        {"###,### yearly", 18000, "###,###", "18,000"},
        {"###,### millions", 1234567, "###,###", "1,234,567"},
        {"###,### rounds into group", 999.5, "###,###", "1,000"},
        {"###,###.00", 13500, "###,###.00", "13,500.00"},
        {"###,###.00 small", 0.5, "###,###.00", ".50"},
        {"#,##0.00", 1234567.891, "#,##0.00", "1,234,567.89"},
        {"#,##0.00 negative", -1234.5, "#,##0.00", "-1,234.50"},
        {"#,##0.00 below 1", 0.5, "#,##0.00", "0.50"},
        // Other shapes in use (" 00", "0000", "00").
        {"priority", 5, " 00", " 05"},
        {"day key", -3, "0000", "-0003"},
        {"day key zero", 0, "0000", "0000"},
        {"minutes", 7, "00", "07"},
        {"more digits than placeholders", 12345, "00", "12345"},
        // Rarer pattern features.
        {"percent", 0.256, "0%", "26%"},
        {"thousands scaling", 1234567, "#,##0,", "1,235"},
        {"quoted literal", 5, "\"$\"0.00", "$5.00"},
        {"escaped literal", 5, "0\\x", "5x"},
        {"negative section", -1.5, "0.00;(0.00)", "(1.50)"},
        {"positive with sections", 1.5, "0.00;(0.00)", "1.50"},
        {"zero section", 0, "0.00;(0.00);\"nil\"", "nil"},
        {"hash fraction trims", 1.5, "0.##", "1.5"},
        {"hash fraction whole", 2, "0.##", "2."},
        {"mixed fraction", 9.8, "#0.#0#0#0#0#", "9.80000000"},
    };
    for (const QString& loc : kLocales)
        for (const Case& c : cases) {
            QString expected = QString::fromUtf8(c.expected);
            if (loc == QStringLiteral("de_DE")) {
                for (QChar& ch : expected) {
                    if (ch == u'.') ch = u',';
                    else if (ch == u',') ch = u'.';
                }
            }
            QTest::newRow(qPrintable(loc + QStringLiteral(": ") + QLatin1String(c.name)))
                << loc << c.value << QString::fromUtf8(c.pattern) << expected;
        }
}

void TestRuntimeNumbers::format() {
    QFETCH(QString, loc);
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    setLocale(localeNamed(loc));
    QCOMPARE(Format(value, pattern), expected);
}

void TestRuntimeNumbers::formatText_data() {
    QTest::addColumn<QString>("loc");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* loc, const char* name, const QString& text, const char* pattern, const QString& expected) {
        QTest::newRow(qPrintable(QLatin1String(loc) + QStringLiteral(": ") + QLatin1String(name)))
            << QString::fromLatin1(loc) << text << QString::fromUtf8(pattern) << expected;
    };
    // The converters' last result text formatted "0.00".
    row("en_US", "tooltip 30.4800000001219", "30.4800000001219", "0.00", "30.48");
    row("en_US", "tooltip 3784.29660711319", "3784.29660711319", "0.00", "3784.30");
    row("en_US", "text ending in 5", "1.005", "0.00", "1.01");
    row("en_US", "digits beyond the 15th count", "1.0049999999999999", "0.00", "1.00");
    row("en_US", "empty stays empty", "", "0.00", "");
    row("en_US", "not numeric comes back", "abc", "0.00", "abc");
    row("en_US", "minus alone comes back", "-", "0.00", "-");
    row("en_US", "beyond double comes back", "1E400", "0.00", "1E400");
    row("en_US", "amount field", "12.5", "00.00", "12.50");
    row("en_US", "budget display read back", "$1,125", "#.00", "1125.00");
    row("en_US", "empty pattern: general form", "12.50", "", "12.5");
    row("C", "tooltip", "0.934579439252336", "0.00", "0.93");
    row("de_DE", "tooltip with comma", "30,4800000001219", "0.00", "30,48");
    row("de_DE", "point groups", "1.5", "0.00", "15,00");
    row("de_DE", "amount 0,50", "0,50", "00.00", "00,50");
    row("de_DE", "total 1234,5", "1234,5", "0.00", "1234,50");
}

void TestRuntimeNumbers::formatText() {
    QFETCH(QString, loc);
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    setLocale(localeNamed(loc));
    QCOMPARE(Format(text, pattern), expected);
}

void TestRuntimeNumbers::formatNonFinite() {
    QCOMPARE(errorOf([] { Format(kInf, QStringLiteral("0.00")); }), 6);
    QCOMPARE(errorOf([] { Format(kNaN, QStringLiteral("0.00")); }), 6);
    QCOMPARE(Format(2.5, QString()), QStringLiteral("2.5"));
}

// --- Integer conversions --------------------------------------------------------------

void TestRuntimeNumbers::integers_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<int>("error");
    auto ok = [](const char* type, double v, qint64 e) {
        QTest::newRow(qPrintable(QLatin1String(type) + QStringLiteral(" ") + show(v))) << QString::fromLatin1(type) << v << e << 0;
    };
    auto overflow = [](const char* type, double v) {
        QTest::newRow(qPrintable(QLatin1String(type) + QStringLiteral(" overflow ") + show(v))) << QString::fromLatin1(type) << v << qint64(0) << 6;
    };
    for (const char* type : {"CInt", "CLng", "CLngLng"}) {
        ok(type, 2.5, 2);
        ok(type, 3.5, 4);
        ok(type, -2.5, -2);
        ok(type, -3.5, -4);
        ok(type, 0.5, 0);
        ok(type, 1.5, 2);
        ok(type, -0.5, 0);
        ok(type, -0.4, 0);
        ok(type, 2.4999999999, 2);
        ok(type, 2.5000000001, 3);
        ok(type, 12.5, 12);   // a debt of 12.50 counts 12
        ok(type, 13.5, 14);
        overflow(type, kNaN);
        overflow(type, kInf);
        overflow(type, -kInf);
    }
    ok("CInt", 32767.4, 32767);
    ok("CInt", 32766.5, 32766);
    overflow("CInt", 32767.5);
    ok("CInt", -32768.5, -32768);
    overflow("CInt", -32768.6);
    overflow("CInt", 40000);
    ok("CLng", 32767.5, 32768);
    ok("CLng", 2147483646.5, 2147483646);
    overflow("CLng", 2147483647.5);
    ok("CLng", -2147483648.5, std::numeric_limits<qint32>::min());
    overflow("CLng", -2147483649.0);
    overflow("CLng", 1e10);
    ok("CLngLng", 1e10, 10000000000LL);
    ok("CLngLng", 4503599627370497.0, 4503599627370497LL);
    ok("CLngLng", -9223372036854775808.0, std::numeric_limits<qint64>::min());
    overflow("CLngLng", 9223372036854775808.0);
    overflow("CLngLng", 1e19);
}

void TestRuntimeNumbers::integers() {
    QFETCH(QString, type);
    QFETCH(double, value);
    QFETCH(qint64, expected);
    QFETCH(int, error);
    qint64 got = 0;
    const int err = errorOf([&] {
        if (type == QStringLiteral("CInt")) got = CInt(value);
        else if (type == QStringLiteral("CLng")) got = CLng(value);
        else got = CLngLng(value);
    });
    QCOMPARE(err, error);
    if (!error) QCOMPARE(got, expected);
}

void TestRuntimeNumbers::integerText_data() {
    QTest::addColumn<QString>("loc");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("error");
    auto row = [](const char* loc, const char* name, const QString& text, int e, int err) {
        QTest::newRow(qPrintable(QLatin1String(loc) + QStringLiteral(": ") + QLatin1String(name)))
            << QString::fromLatin1(loc) << text << e << err;
    };
    // The first 8 characters of a debt item.
    row("en_US", "12.50 counts 12", "12.50   ", 12, 0);
    row("en_US", "13.50 counts 14", "13.50   ", 14, 0);
    row("en_US", "05.00", "05.00   ", 5, 0);
    row("en_US", "32767.49", "32767.49", 32767, 0);
    row("en_US", "32767.50 overflows", "32767.50", 0, 6);
    row("en_US", "not a number", "Rent    ", 0, 13);
    row("de_DE", "12,50 counts 12", "12,50   ", 12, 0);
    row("de_DE", "7,25", "7,25    ", 7, 0);
    // The page figure F.
    row("en_US", "F .0", ".0", 0, 0);
    row("en_US", "F 2.1", "2.1", 2, 0);
    row("en_US", "F 2.5", "2.5", 2, 0);
    row("de_DE", "F 2,1", "2,1", 2, 0);
    row("de_DE", "F ,0", ",0", 0, 0);
}

void TestRuntimeNumbers::integerText() {
    QFETCH(QString, loc);
    QFETCH(QString, text);
    QFETCH(int, expected);
    QFETCH(int, error);
    setLocale(localeNamed(loc));
    int got = -1;
    QCOMPARE(errorOf([&] { got = CInt(text); }), error);
    if (!error) QCOMPARE(got, expected);
    QCOMPARE(errorOf([&] { got = CLng(text); }), error == 6 ? 0 : error);
}

// --- Separator probe and trimming --------------------------------------------------------

void TestRuntimeNumbers::decimalSeparatorProbe_data() {
    QTest::addColumn<QString>("loc");
    QTest::addColumn<QChar>("expected");
    QTest::newRow("C") << QStringLiteral("C") << QChar(u'.');
    QTest::newRow("en_US") << QStringLiteral("en_US") << QChar(u'.');
    QTest::newRow("de_DE") << QStringLiteral("de_DE") << QChar(u',');
}

void TestRuntimeNumbers::decimalSeparatorProbe() {
    QFETCH(QString, loc);
    QFETCH(QChar, expected);
    setLocale(localeNamed(loc));
    QCOMPARE(decimalSeparator(), expected);
    // The separator probes of the windows find the same character.
    QCOMPARE(CStr(1.5).at(1), expected);                         // second character of 1.5
    const QString zero = Format(0.0, QStringLiteral("0.00"));    // the calculator
    QCOMPARE(zero.at(zero.size() - 3), expected);
    QCOMPARE(CStr(0.99).at(1), expected);                        // the budget
}

void TestRuntimeNumbers::trim_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("both");
    QTest::newRow("blanks") << "  a b  " << "a b  " << "  a b" << "a b";
    QTest::newRow("tabs stay") << "\t a \t" << "\t a \t" << "\t a \t" << "\t a \t";
    QTest::newRow("only blanks") << "   " << "" << "" << "";
    QTest::newRow("empty") << "" << "" << "" << "";
}

void TestRuntimeNumbers::trim() {
    QFETCH(QString, text);
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(QString, both);
    QCOMPARE(LTrim(text), left);
    QCOMPARE(RTrim(text), right);
    QCOMPARE(Trim(text), both);
}

// --- The windows' computations ------------------------------------------------------------

void TestRuntimeNumbers::unitConverter_data() {
    // Amount, factor of the shown row, factor of the active row, tooltip,
    // caption (written with the point; German rows swap it).
    QTest::addColumn<QString>("loc");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("factorTo");
    QTest::addColumn<QString>("factorFrom");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("caption");
    struct Case { const char* name; const char* amount; const char* to; const char* from; const char* tooltip; const char* caption; };
    const QList<Case> cases = {
        {"1 m in cm", "1", "100", "1", "100", "100.00"},
        {"1 m in inches", "1", "39.37007874", "1", "39.37007874", "39.37"},
        {"1 m in feet", "1", "3.280839895", "1", "3.280839895", "3.28"},
        {"1 m in yards", "1", "1.093613298", "1", "1.093613298", "1.09"},
        {"1 m in km", "1", "0.001", "1", "0.001", "0.00"},
        {"1 m in miles", "1", "0.00062137119", "1", "0.00062137119", "0.00"},
        {"12 in in cm", "12", "100", "39.37007874", "30.4800000001219", "30.48"},
        {"12 in in feet", "12", "3.280839895", "39.37007874", "1", "1.00"},
        {"1 gal in ml", "1", "1000", "0.2642499", "3784.29660711319", "3784.30"},
        {"1 gal in fl oz", "1", "33.8239926", "0.2642499", "128.000020435202", "128.00"},
        {"1 gal in quarts", "1", "1.056998", "0.2642499", "3.99999394512543", "4.00"},
        {"1 gal in litres", "1", "1", "0.2642499", "3.78429660711319", "3.78"},
        {"1 kg in mg", "1", "1000000", "1", "1000000", "1000000.00"},
        {"1 kg in oz", "1", "35.273944", "1", "35.273944", "35.27"},
        {"1 kg in stones", "1", "0.1574731232747", "1", "0.1574731232747", "0.16"},
        {"100 $ in pounds", "100", "0.68", "1", "68", "68.00"},
        {"100 $ in pesetas", "100", "178.10", "1", "17810", "17810.00"},
        {"100 $ in lira", "100", "2168.62", "1", "216862", "216862.00"},
        {"1 euro in dollars", "1", "1", "1.07", "0.934579439252336", "0.93"},
        {"1 euro in pounds", "1", "0.68", "1.07", "0.635514018691589", "0.64"},
    };
    for (const QString& loc : kLocales)
        for (const Case& c : cases) {
            QString tooltip = QString::fromLatin1(c.tooltip), caption = QString::fromLatin1(c.caption);
            if (loc == QStringLiteral("de_DE")) {
                tooltip.replace(u'.', u',');
                caption.replace(u'.', u',');
            }
            QTest::newRow(qPrintable(loc + QStringLiteral(": ") + QLatin1String(c.name)))
                << loc << QString::fromLatin1(c.amount) << QString::fromLatin1(c.to)
                << QString::fromLatin1(c.from) << tooltip << caption;
        }
}

void TestRuntimeNumbers::unitConverter() {
    QFETCH(QString, loc);
    QFETCH(QString, amount);
    QFETCH(QString, factorTo);
    QFETCH(QString, factorFrom);
    QFETCH(QString, tooltip);
    QFETCH(QString, caption);
    setLocale(localeNamed(loc));
    QVERIFY(IsNumeric(amount));
    const QString last = CStr(convert(amount, factorTo, factorFrom));
    QCOMPARE(last, tooltip);
    QCOMPARE(Format(last, QStringLiteral("0.00")), caption);
}

void TestRuntimeNumbers::temperature_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    // The temperature converter's results, computed with its own operations.
    auto row = [](const char* name, double v, const char* pattern, const char* e) {
        QTest::newRow(name) << v << QString::fromUtf8(pattern) << QString::fromUtf8(e);
    };
    row("100 C in F", (100 * 1.8) + 32, "0.00 °F", "212.00 °F");
    row("100 C in K", 100 + 273.15, "0.00 °K", "373.15 °K");
    row("100 C in R", (100 * 1.8) + 491.67, "0.00 °R", "671.67 °R");
    row("-40 F in C", ((-40 - 32) * 5.0) / 9, "0.00 °C", "-40.00 °C");
    row("-40 F in K", (-40 + 459.67) / 1.8, "0.00 °K", "233.15 °K");
    row("-40 F in R", -40 + 459.67, "0.00 °R", "419.67 °R");
    row("33 F in C", ((33 - 32) * 5.0) / 9, "0.00 °C", "0.56 °C");
    row("300 K in C", 300 - 273.15, "0.00 °C", "26.85 °C");
    row("300 K in F", (300 * 1.8) - 459.67, "0.00 °F", "80.33 °F");
    row("300 K in R", 300 * 1.8, "0.00 °R", "540.00 °R");
    row("300.5 K in F", (300.5 * 1.8) - 459.67, "0.00 °F", "81.23 °F");
    row("0 R in C", (0 - 491.67) / 1.8, "0.00 °C", "-273.15 °C");
    row("0 R in F", 0 - 459.67, "0.00 °F", "-459.67 °F");
    row("0 R in K", 0 / 1.8, "0.00 °K", "0.00 °K");
    row("just below freezing shows no minus", 273.149 - 273.15, "0.00 °C", "0.00 °C");
}

void TestRuntimeNumbers::temperature() {
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    setLocale(localeNamed(QStringLiteral("en_US")));
    QCOMPARE(Format(value, pattern), expected);
}

void TestRuntimeNumbers::calculatorChain_data() {
    QTest::addColumn<QString>("loc");
    QTest::addColumn<QString>("third");
    QTest::addColumn<QString>("back");
    QTest::newRow("C") << "C" << "0.333333333333333" << "0.999999999999999";
    QTest::newRow("en_US") << "en_US" << "0.333333333333333" << "0.999999999999999";
    QTest::newRow("de_DE") << "de_DE" << "0,333333333333333" << "0,999999999999999";
}

void TestRuntimeNumbers::calculatorChain() {
    // The calculator: the display's text is read back for every operation, so the
    // running result goes on with the digits that the display shows.
    QFETCH(QString, loc);
    QFETCH(QString, third);
    QFETCH(QString, back);
    setLocale(localeNamed(loc));
    QString display = QStringLiteral("0");
    display = CStr(CDbl(display) + CDbl(QStringLiteral("1")));
    QCOMPARE(display, QStringLiteral("1"));
    display = CStr(CDbl(display) / CDbl(QStringLiteral("3")));
    QCOMPARE(display, third);
    display = CStr(CDbl(display) * CDbl(QStringLiteral("3")));
    QCOMPARE(display, back);
    // 5 + 3 * 3 with the last operand again (the Part's first example).
    display = QStringLiteral("0");
    display = CStr(CDbl(display) + 5);
    display = CStr(CDbl(display) * 3);
    display = CStr(CDbl(display) * 3);
    QCOMPARE(display, QStringLiteral("45"));
}

void TestRuntimeNumbers::statementPages_data() {
    QTest::addColumn<QString>("loc");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("figure");
    QTest::addColumn<int>("pageTotal");
    QTest::addColumn<int>("linesPerPage");
    QTest::newRow("en_US 100 rows") << "en_US" << 100 << "2.1" << 3 << 48;
    QTest::newRow("en_US 96 rows") << "en_US" << 96 << "2.0" << 2 << 48;
    QTest::newRow("en_US title only") << "en_US" << 1 << ".0" << 1 << 48;
    QTest::newRow("C 100 rows") << "C" << 100 << "2.1" << 3 << 48;
    QTest::newRow("de_DE 100 rows") << "de_DE" << 100 << "2,1" << 3 << 52;
    QTest::newRow("de_DE title only") << "de_DE" << 1 << ",0" << 1 << 52;
}

void TestRuntimeNumbers::statementPages() {
    // Bank statements: the page figure, the page total, and the y position kept as
    // text and read back by its leading value.
    QFETCH(QString, loc);
    QFETCH(int, rows);
    QFETCH(QString, figure);
    QFETCH(int, pageTotal);
    QFETCH(int, linesPerPage);
    setLocale(localeNamed(loc));

    const QString f = Format(rows / 48.0, QStringLiteral("#.0"));
    QCOMPARE(f, figure);
    int total = CInt(f);
    const QChar last = f.back();
    if (last.isDigit() && last > u'0' && Val(f) > 1) ++total;
    if (total == 0) total = 1;
    QCOMPARE(total, pageTotal);

    QString y = CStr(0.7);
    int lines = 0;
    while (Val(y) < 10.3) {
        ++lines;
        y = CStr(CDbl(y) + 0.2);
    }
    QCOMPARE(lines, linesPerPage);
}

void TestRuntimeNumbers::independentOfCLocale() {
    // Qt takes LC_NUMERIC from the environment; the C library's conversions
    // would then write and read decimal commas. These functions must not.
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    const QByteArray saved = before ? QByteArray(before) : QByteArray("C");
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE"))
        QSKIP("no German C locale on this computer");
    setLocale(localeNamed(QStringLiteral("en_US")));
    const QString general = CStr(1.5);
    const double leading = Val(QStringLiteral("2.25"));
    const double converted = CDbl(QStringLiteral("3.75"));
    const QString formatted = Format(1.005, QStringLiteral("0.00"));
    std::setlocale(LC_NUMERIC, saved.constData());
    QCOMPARE(general, QStringLiteral("1.5"));
    QVERIFY(same(leading, 2.25));
    QVERIFY(same(converted, 3.75));
    QCOMPARE(formatted, QStringLiteral("1.01"));
}

QTEST_GUILESS_MAIN(TestRuntimeNumbers)
#include "tst_runtime_numbers.moc"
