// The length, weight, volume and temperature converters, driven as a user
// drives them: choose a row, type an amount, press "Convert", read the
// captions and tooltips. Every example runs under a number format with the
// point and again with the comma as decimal separator.
#include "Forms/LengthConverter/frmDis.h"
#include "Forms/Main/frmChoice.h"
#include "Forms/TemperatureConverter/frmTemp.h"
#include "Forms/VolumeConverter/frmVol.h"
#include "Forms/WeightConverter/frmWght.h"
#include "Modules/modLanguage.h"
#include "Platform/MsgBox.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QTest>

using namespace TestSupport;

namespace {
const QLocale kGerman(QLocale::German, QLocale::Germany);

// Opens a converter as the menu does and lets it become the active window.
ConverterForm* open(const QString& name) {
    ConverterForm* f = nullptr;
    if (name == "Dis") f = frmDis();
    else if (name == "Wght") f = frmWght();
    else if (name == "Vol") f = frmVol();
    else if (name == "Temp") f = frmTemp();
    f->Show(vbModeless);
    f->activateNow();
    return f;
}

// The user's steps: the row's button, the amount typed key by key, "Convert".
void convert(ConverterForm* f, int row, const QString& amount) {
    QTest::mouseClick(f->rowButton(row), Qt::LeftButton);
    QTest::keyClicks(f->inputBox(row), amount);
    QTest::mouseClick(f->cmdCnvrt, Qt::LeftButton);
}

QStringList captions(const ConverterForm* f) {
    QStringList out;
    for (int i = 0; i < f->rowCount(); ++i) out << f->resultLabel(i)->Caption();
    return out;
}
QStringList tooltips(const ConverterForm* f) {
    QStringList out;
    for (int i = 0; i < f->rowCount(); ++i) out << f->resultLabel(i)->ToolTipText();
    return out;
}

// Expected numbers are written with the point; under the German settings
// the decimal separator is the comma.
QString localized(QString s, bool german) { return german ? s.replace(u'.', u',') : s; }
} // namespace

class TestConverters : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(true); }
    void cleanup() { tearDown(); }

    // --- Unit converters --------------------------------------------------

    void unitConversions_data() {
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QStringList>("captions");
        // Tooltips of the first rows; later rows are not checked.
        QTest::addColumn<QStringList>("tips");
        struct Example {
            const char* name;
            const char* window;
            int row;
            const char* amount;
            QStringList captions, tips;
        };
        const QList<Example> examples{
            {"1 metre", "Dis", 4, "1", {"100.00", "39.37", "3.28", "1.09", "1.00", "0.00", "0.00"},
             {"100", "39.37007874", "3.280839895", "1.093613298", "1"}},
            {"12 inches", "Dis", 1, "12", {"30.48", "12.00", "1.00", "0.33", "0.30", "0.00", "0.00"},
             {"30.4800000001219", "12"}},
            {"100.5 cm, a half rounded up", "Dis", 0, "100.5",
             {"100.50", "39.57", "3.30", "1.10", "1.01", "0.00", "0.00"}, {"100.5", "39.5669291337"}},
            {"1 mile", "Dis", 6, "1", {"160934.40", "63360.00", "5280.00", "1760.00", "1609.34", "1.61", "1.00"},
             {}},
            {"1 gallon", "Vol", 4, "1", {"3784.30", "128.00", "4.00", "3.78", "1.00"},
             {"3784.29660711319", "128.000020435202", "3.99999394512543", "3.78429660711319", "1"}},
            {"1 kilogram", "Wght", 4, "1", {"1000000.00", "1000.00", "35.27", "2.20", "1.00", "0.16", "0.00"},
             {"1000000", "1000", "35.273944", "2.2046215", "1", "0.1574731232747", "0.001"}},
            {"1 ton", "Wght", 6, "1", {"1000000000.00", "1000000.00", "35273.94", "2204.62", "1000.00", "157.47", "1.00"},
             {}},
        };
        for (bool german : {false, true}) {
            for (const Example& e : examples) {
                QStringList caps, tips;
                for (const QString& c : e.captions) caps << localized(c, german);
                for (const QString& t : e.tips) tips << localized(t, german);
                QTest::addRow("%s%s", e.name, german ? " (de_DE)" : "")
                    << german << QString(e.window) << e.row << QString(e.amount) << caps << tips;
            }
        }
    }
    void unitConversions() {
        QFETCH(bool, german);
        QFETCH(QString, window);
        QFETCH(int, row);
        QFETCH(QString, amount);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, tips);
        if (german) setLocale(kGerman);
        ConverterForm* f = open(window);
        convert(f, row, amount);
        QCOMPARE(::captions(f), captions);
        QCOMPARE(::tooltips(f).mid(0, tips.size()), tips);
        QCOMPARE(f->LastResult, ::tooltips(f).last());
        QCOMPARE(f->focusWidget(), f->inputBox(row));
        QVERIFY(f->inputBox(row)->isVisible());
        QCOMPARE(f->inputBox(row)->Text(), amount);
    }

    void rejectedAmounts_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty") << "Dis" << 4 << "";
        QTest::newRow("a point alone") << "Wght" << 1 << ".";
        QTest::newRow("two points") << "Vol" << 0 << "1.2.3";
        QTest::newRow("beyond a double") << "Dis" << 2 << QString(400, u'9');
        // 1E+305 kilograms are 1E+311 milligrams: beyond a double.
        QTest::newRow("product beyond a double") << "Wght" << 4 << "1" + QString(305, u'0');
        QTest::newRow("temperature minus alone") << "Temp" << 1 << "-";
        QTest::newRow("temperature minus between digits") << "Temp" << 2 << "1-2";
        QTest::newRow("temperature minus after the digits") << "Temp" << 0 << "5-";
        QTest::newRow("temperature beyond a double") << "Temp" << 0 << "-" + QString(400, u'9');
        QTest::newRow("temperature product beyond a double") << "Temp" << 0 << "1" + QString(308, u'0');
    }
    void rejectedAmounts() {
        QFETCH(QString, window);
        QFETCH(int, row);
        QFETCH(QString, typed);
        ConverterForm* f = open(window);
        // A first conversion whose results must survive.
        convert(f, row, "1");
        const QStringList before = captions(f), tipsBefore = tooltips(f);
        QVERIFY(!before.join("").isEmpty());
        // Put whole: amounts beyond a double cannot be typed past the filter's
        // fifteen digits, yet the conversion must refuse them too.
        f->inputBox(row)->setTextValue(typed);
        f->cmdCnvrt->setFocus();
        QTest::mouseClick(f->cmdCnvrt, Qt::LeftButton);
        QCOMPARE(captions(f), before);
        QCOMPARE(tooltips(f), tipsBefore);
        QCOMPARE(f->focusWidget(), f->inputBox(row));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    void keyFilter_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("digits and points") << "Dis" << "1.5.0" << "1.5.0";
        QTest::newRow("letters, comma, minus, blank") << "Wght" << "a1,b-2 c+e" << "12";
        QTest::newRow("backspace") << "Vol" << "12\b3" << "13";
        QTest::newRow("fifteen significant digits")
            << "Dis" << "00.1234567890123456789" << "00.123456789012345";
        QTest::newRow("temperature: fifteen significant digits")
            << "Temp" << "-98765432109876543" << "-987654321098765";
        QTest::newRow("temperature admits minus anywhere") << "Temp" << "-1-2a,5" << "-1-25";
        QTest::newRow("temperature drops letters") << "Temp" << "e-x" << "-";
    }
    void keyFilter() {
        QFETCH(QString, window);
        QFETCH(QString, typed);
        ConverterForm* f = open(window);
        TextBox* box = f->activeBox();
        typeKeys(box, typed);
        QTEST(box->Text(), "kept");
        // Control keys other than backspace type nothing.
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Escape);
        QTEST(box->Text(), "kept");
    }

    void pasteFilter_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("kept");
        QTest::newRow("letters dropped") << "Dis" << "1a2b.5" << "12.5";
        QTest::newRow("a text without digits") << "Wght" << "abc" << "";
        QTest::newRow("minus kept for temperatures") << "Temp" << "-40 F" << "-40";
        QTest::newRow("minus dropped for lengths") << "Vol" << "-40,5\r\n" << "405";
        QTest::newRow("a column of amounts: fifteen significant digits")
            << "Dis" << "0.00\r\n0.01\r\n1234567.89\r\n98765432.10\r\n" << "0.000.011234567.8998765.";
    }
    void pasteFilter() {
        QFETCH(QString, window);
        QFETCH(QString, clipboard);
        ConverterForm* f = open(window);
        QApplication::clipboard()->setText(clipboard);
        TextBox* box = f->activeBox();
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        QTEST(box->Text(), "kept");
        // Ctrl+V is the character 22 to the box's filter, which drops it.
        box->clear();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->Text(), QString());
    }

    // A million in any row is shown whole in every result label.
    void largeResultsFit_data() {
        QTest::addColumn<QString>("window");
        for (const char* w : {"Dis", "Wght", "Vol", "Temp"}) QTest::newRow(w) << QString(w);
    }
    void largeResultsFit() {
        QFETCH(QString, window);
        ConverterForm* f = open(window);
        for (int row = 0; row < f->rowCount(); ++row) {
            convert(f, row, "1000000");
            for (int i = 0; i < f->rowCount(); ++i) {
                const Label* l = f->resultLabel(i);
                const int room = l->contentsRect().width() - l->indent();
                QVERIFY2(QFontMetrics(l->font()).horizontalAdvance(l->Caption()) <= room, qPrintable(l->Caption()));
            }
        }
    }

    void noDrops() {
        ConverterForm* f = open("Dis");
        for (int i = 0; i < f->rowCount(); ++i) QVERIFY(!f->inputBox(i)->acceptDrops());
    }

    // --- The pattern: rows, Clear, opening again ---------------------------

    void rowChange() {
        ConverterForm* f = open("Dis");
        convert(f, 4, "1");
        const QStringList tips = tooltips(f);
        QTest::mouseClick(f->rowButton(2), Qt::LeftButton);
        QCOMPARE(f->ActiveRow, qint16(2));
        QCOMPARE(captions(f), QStringList(7, QString()));
        // Tooltips still tell the last conversion.
        QCOMPARE(tooltips(f), tips);
        for (int i = 0; i < 7; ++i) QCOMPARE(f->inputBox(i)->isVisible(), i == 2);
        QCOMPARE(f->focusWidget(), f->inputBox(2));
        // The old box keeps its text, the new one is empty.
        QCOMPARE(f->inputBox(4)->Text(), QString("1"));
        QCOMPARE(f->inputBox(2)->Text(), QString());
        // "Convert" now reads feet.
        QTest::keyClicks(f->inputBox(2), "3.280839895");
        QTest::mouseClick(f->cmdCnvrt, Qt::LeftButton);
        QCOMPARE(f->resultLabel(4)->Caption(), QString("1.00"));
    }

    void clearKeepsRow_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("length") << "Dis";
        QTest::newRow("weight") << "Wght";
        QTest::newRow("volume") << "Vol";
        QTest::newRow("temperature") << "Temp";
    }
    void clearKeepsRow() {
        QFETCH(QString, window);
        ConverterForm* f = open(window);
        convert(f, 1, "5");
        QTest::mouseClick(f->cmdClr, Qt::LeftButton);
        QCOMPARE(f->ActiveRow, qint16(1));
        for (int i = 0; i < f->rowCount(); ++i) {
            QCOMPARE(f->inputBox(i)->Text(), QString());
            QCOMPARE(f->resultLabel(i)->Caption(), QString());
            QCOMPARE(f->resultLabel(i)->ToolTipText(), QString());
        }
        QCOMPARE(f->focusWidget(), f->inputBox(1));
        QVERIFY(f->inputBox(1)->isVisible());
    }

    void openedAgainStartsOnRowZero_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("length") << "Dis";
        QTest::newRow("weight") << "Wght";
        QTest::newRow("volume") << "Vol";
        QTest::newRow("temperature") << "Temp";
    }
    void openedAgainStartsOnRowZero() {
        QFETCH(QString, window);
        ConverterForm* f = open(window);
        convert(f, 2, "7");
        f->close();
        processEvents();
        f = open(window);
        QCOMPARE(f->ActiveRow, qint16(0));
        QCOMPARE(f->focusWidget(), f->inputBox(0));
        for (int i = 0; i < f->rowCount(); ++i) {
            QCOMPARE(f->inputBox(i)->isVisibleTo(f), i == 0);
            QCOMPARE(f->inputBox(i)->Text(), QString());
            QCOMPARE(f->resultLabel(i)->Caption(), QString());
        }
        QTest::keyClicks(f->inputBox(0), "1");
        QTest::mouseClick(f->cmdCnvrt, Qt::LeftButton);
        QVERIFY(!f->resultLabel(1)->Caption().isEmpty());
    }

    void otherWindowKeepsRow() {
        ConverterForm* f = open("Wght");
        QTest::mouseClick(f->rowButton(3), Qt::LeftButton);
        ConverterForm* other = open("Vol");
        f->activateNow();
        QCOMPARE(f->ActiveRow, qint16(3));
        QVERIFY(f->inputBox(3)->isVisible());
        QCOMPARE(other->ActiveRow, qint16(0));
    }

    void menuHiddenWhileOpen_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("length") << "Dis";
        QTest::newRow("weight") << "Wght";
        QTest::newRow("volume") << "Vol";
        QTest::newRow("temperature") << "Temp";
    }
    void menuHiddenWhileOpen() {
        QFETCH(QString, window);
        // The menu has greeted the user before a converter is opened.
        frmChoice()->Show();
        frmChoice()->activateNow();
        QVERIFY(frmChoice()->isVisible());
        ConverterForm* f = open(window);
        QVERIFY(!frmChoice()->isVisible());
        music().lastPlayed.clear();
        f->close();
        processEvents();
        QCOMPARE(music().lastPlayed.section(u'/', -1), QString("Stretch4.mp3"));
        QVERIFY(frmChoice()->isVisible());
    }

    void texts_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("convert");
        QTest::addColumn<QString>("clear");
        QTest::newRow("length, English")
            << "English" << "Dis" << "QEM Length/Distance Converter"
            << QStringList{"Centimeters", "Inches", "Feet", "Yards", "Meters", "Kilometers: KM/H", "Miles: MPH"}
            << "Convert" << "&Clear";
        QTest::newRow("length, German")
            << "German" << "Dis" << "ZOV Längen/Weg-Umrechner"
            << QStringList{"Zentimeter", "Zoll / Inch", "Fuss", "Yard", "Meter", "Kilometer: KM/H", "Meilen: MPH"}
            << "Umrechnen" << "&Leeren";
        QTest::newRow("weight, English")
            << "English" << "Wght" << "QEM Weight Converter"
            << QStringList{"Milligrams", "Grams", "Ounces", "Pounds", "Kilograms", "Stones", "Tons"} << "Convert"
            << "&Clear";
        QTest::newRow("weight, German")
            << "German" << "Wght" << "ZOV Gewicht-Umrechner"
            << QStringList{"Milligramm", "Gramm", "Unzen", "Pfund (amerik.)", "Kilogramm", "Steine", "Tonnen"}
            << "Umrechnen" << "&Leeren";
        QTest::newRow("volume, English")
            << "English" << "Vol" << "QEM Volume Converter"
            << QStringList{"Milliliters", "Fluid Ounces", "Quarts", "Liters", "Gallons"} << "Convert" << "&Clear";
        QTest::newRow("volume, German")
            << "German" << "Vol" << "ZOV Rauminhalts-Umrechner"
            << QStringList{"Milliliter", "Flüssige Unzen", "Quarts (¼ Gallone)", "Liter", "Gallonen"} << "Umrechnen"
            << "&Leeren";
        QTest::newRow("temperature, English") << "English" << "Temp" << "QEM Temperature Converter"
                                              << QStringList{"Celsius", "Fahrenheit", "Kelvin", "Rankine"}
                                              << "Convert" << "&Clear";
        QTest::newRow("temperature, German") << "German" << "Temp" << "ZOV Wärmegrad-Umrechner"
                                             << QStringList{"Celsius", "Fahrenheit", "Kelvin", "Rankine"}
                                             << "Umrechnen" << "&Leeren";
    }
    void texts() {
        QFETCH(QString, language);
        QFETCH(QString, window);
        QFETCH(QStringList, names);
        writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        ConverterForm* f = open(window);
        QTEST(f->Caption(), "caption");
        QCOMPARE(f->rowCount(), names.size());
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(f->nameLabel(i)->Caption(), names[i]);
            // The arrow button and the amount box are named after the unit.
            QCOMPARE(f->rowButton(i)->accessibleName(), names[i].simplified());
            QCOMPARE(f->inputBox(i)->accessibleName(), names[i].simplified());
        }
        QTEST(f->cmdCnvrt->Caption(), "convert");
        QTEST(f->cmdClr->Caption(), "clear");
    }

    // --- Temperature --------------------------------------------------------

    void temperatures_data() {
        QTest::addColumn<bool>("german");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("picture");
        struct Example {
            const char* name;
            int row;
            const char* amount;
            QStringList captions;
            const char* picture;
        };
        const QList<Example> examples{
            {"100 C", 0, "100", {"", "212.00 °F", "373.15 °K", "671.67 °R"}, "sun"},
            {"0 C", 0, "0", {"", "32.00 °F", "273.15 °K", "491.67 °R"}, "snow"},
            {"0.001 C", 0, "0.001", {"", "32.00 °F", "273.15 °K", "491.67 °R"}, "snow"},
            {"0.003 C", 0, "0.003", {"", "32.01 °F", "273.15 °K", "491.68 °R"}, "sun"},
            {"-40 F", 1, "-40", {"-40.00 °C", "", "233.15 °K", "419.67 °R"}, "snow"},
            {"33 F", 1, "33", {"0.56 °C", "", "273.71 °K", "492.67 °R"}, "sun"},
            {"300 K", 2, "300", {"26.85 °C", "80.33 °F", "", "540.00 °R"}, "sun"},
            {"300.5 K", 2, "300.5", {"27.35 °C", "81.23 °F", "", "540.90 °R"}, "sun"},
            {"0 R", 3, "0", {"-273.15 °C", "-459.67 °F", "0.00 °K", ""}, "snow"},
            {"below absolute zero", 2, "-10", {"-283.15 °C", "-477.67 °F", "", "-18.00 °R"}, "snow"},
            {"-0.001 C shows no minus", 0, "-0.001", {"", "32.00 °F", "273.15 °K", "491.67 °R"}, "snow"},
            {"-0.004 K: shown -273.15", 2, "-0.004", {"-273.15 °C", "-459.68 °F", "", "-0.01 °R"}, "snow"},
        };
        for (bool german : {false, true}) {
            for (const Example& e : examples) {
                QStringList caps;
                for (const QString& c : e.captions) caps << localized(c, german);
                QTest::addRow("%s%s", e.name, german ? " (de_DE)" : "")
                    << german << e.row << QString(e.amount) << caps << QString(e.picture);
            }
        }
    }
    void temperatures() {
        QFETCH(bool, german);
        QFETCH(int, row);
        QFETCH(QString, amount);
        QFETCH(QStringList, captions);
        QFETCH(QString, picture);
        if (german) setLocale(kGerman);
        auto* f = static_cast<class frmTemp*>(open("Temp"));
        convert(f, row, amount);
        QCOMPARE(::captions(f), captions);
        // The tooltips repeat the captions.
        QCOMPARE(::tooltips(f), captions);
        QCOMPARE(f->imgSnow->isVisible(), picture == "snow");
        QCOMPARE(f->imgSun->isVisible(), picture == "sun");
        // After Celsius the focus stays on "Convert", else it is in the box.
        QCOMPARE(f->focusWidget(), row == 0 ? static_cast<QWidget*>(f->cmdCnvrt) : f->inputBox(row));
    }

    void temperaturePictureHidden() {
        auto* f = static_cast<class frmTemp*>(open("Temp"));
        QVERIFY(!f->imgSnow->isVisibleTo(f) && !f->imgSun->isVisibleTo(f));
        convert(f, 0, "20");
        QVERIFY(f->imgSun->isVisible());
        QTest::mouseClick(f->cmdClr, Qt::LeftButton);
        QVERIFY(!f->imgSnow->isVisible() && !f->imgSun->isVisible());
        convert(f, 0, "-5");
        QVERIFY(f->imgSnow->isVisible());
        QTest::mouseClick(f->rowButton(2), Qt::LeftButton);
        QVERIFY(!f->imgSnow->isVisible() && !f->imgSun->isVisible());
        // A refused amount leaves the picture as it is.
        convert(f, 2, "300");
        QTest::keyClicks(f->inputBox(2), "-");
        QTest::mouseClick(f->cmdCnvrt, Qt::LeftButton);
        QVERIFY(f->imgSun->isVisible());
    }

    void temperatureReopenedOnCelsius() {
        auto* f = static_cast<class frmTemp*>(open("Temp"));
        QTest::mouseClick(f->rowButton(2), Qt::LeftButton);
        f->close();
        processEvents();
        f = static_cast<class frmTemp*>(open("Temp"));
        QCOMPARE(f->ActiveRow, qint16(0));
        QTest::keyClicks(f->inputBox(0), "100");
        QTest::mouseClick(f->cmdCnvrt, Qt::LeftButton);
        QCOMPARE(f->resultLabel(1)->Caption(), QString("212.00 °F"));
        QVERIFY(!f->imgSnow->isVisible() && f->imgSun->isVisible());
    }
};

QTEST_MAIN(TestConverters)
#include "tst_converters.moc"
