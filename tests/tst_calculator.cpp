// The calculator: key sequences typed and clicked into the window and the
// display they leave, under a point and under a comma as the computer's
// decimal separator; the division message; results beyond the range of a
// double; the menu and the return tune; the bank's flag; both languages.
#include "Forms/Calculator/frmCalc.h"
#include "Forms/Main/frmChoice.h"
#include "Modules/modLanguage.h"
#include "Platform/MsgBox.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

using namespace TestSupport;

namespace {
QLocale german() { return QLocale(QLocale::German, QLocale::Germany); }
// A comma for the decimals and a blank between the thousands: Clear's
// "0.00" is no number by these settings.
QLocale french() { return QLocale(QLocale::French, QLocale::France); }

QString fileName(const QString& path) { return path.section(u'/', -1); }

// The menu as the program starts it, then the calculator opened from it.
class frmCalc* openFromMenu() {
    frmChoice();
    auto* f = frmCalc();
    f->Show();
    return f;
}

// Where the keyboard's keys go: the window's focused control.
QWidget* keyTarget(class frmCalc* f) { return f->focusWidget() ? f->focusWidget() : f; }

// Works the calculator as a user would. Tokens are separated by blanks:
//   [+] [-] [x] [/] [C]   click the operation or the clear button
//   kp. kp, kp+ kp5       keys of the numeric keypad (decimal key with the
//                         point or the comma that the keyboard layout types)
//   BS                    Backspace
//   anything else         typed on the main keyboard, character by character
void work(class frmCalc* f, const QString& keys) {
    for (const QString& token : keys.split(u' ', Qt::SkipEmptyParts)) {
        if (token == "[+]") QTest::mouseClick(f->cmdPLUS, Qt::LeftButton);
        else if (token == "[-]") QTest::mouseClick(f->cmdMINUS, Qt::LeftButton);
        else if (token == "[x]") QTest::mouseClick(f->cmdTIMES, Qt::LeftButton);
        else if (token == "[/]") QTest::mouseClick(f->cmdDIVIDE, Qt::LeftButton);
        else if (token == "[C]") QTest::mouseClick(f->cmdClr, Qt::LeftButton);
        else if (token == "kp.") QTest::keyClick(keyTarget(f), Qt::Key_Period, Qt::KeypadModifier);
        else if (token == "kp,") QTest::keyClick(keyTarget(f), Qt::Key_Comma, Qt::KeypadModifier);
        else if (token == "kp+") QTest::keyClick(keyTarget(f), Qt::Key_Plus, Qt::KeypadModifier);
        else if (token.startsWith("kp"))
            QTest::keyClick(keyTarget(f), Qt::Key(Qt::Key_0 + token.mid(2).toInt()), Qt::KeypadModifier);
        else if (token == "BS") QTest::keyClick(keyTarget(f), Qt::Key_Backspace);
        else QTest::keyClicks(keyTarget(f), token);
    }
}

QStringList messages() {
    QStringList texts;
    for (const auto& box : MsgBoxSeam::shown()) texts << box.text;
    return texts;
}

const QString zeros300 = QString(300, u'0');
} // namespace

class TestCalculator : public QObject {
    Q_OBJECT
private slots:
    void init() {
        setUp(true);
        frmCalc::FromBank = false;
        frmCalc::resetRunState();
    }
    void cleanup() { tearDown(); }

    // {s} stands for the computer's decimal separator, {o} for the other
    // one; every row runs under the C settings ("."), under de_DE (",",
    // with "." between the thousands) and under fr_FR (",", with a blank).
    void sequences_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("divisionMessages");
        struct Row {
            const char* name;
            QString keys, display, entry;
            int messages = 0;
        };
        const QList<Row> rows{
            {"fresh window", "", "0", ""},
            {"5 plus", "5 +", "5", ""},
            {"5 plus, 3 times", "5 + 3 *", "15", ""},
            {"times again applies the last operand", "5 + 3 * *", "45", ""},
            {"the same with the buttons", "5 [+] 3 [x] [x]", "45", ""},
            {"fresh minus: 0 - 0", "-", "0", ""},
            {"minus is display minus entry", "5 + 8 -", "-3", ""},
            {"fresh divide: last operand 0", "/", "0", "", 1},
            {"8 divide, then 0 divide", "8 / 0 /", "0", "", 1},
            {"divide by a typed zero keeps the display", "9 + 0{s}0 /", "9", "", 1},
            {"divide after a zero divisor: last operand is 0", "9 + 0 / /", "9", "", 2},
            {"divide", "9 + 3 /", "3", ""},
            {"the display's digits go on", "1 + 3 / 3 *", "0{s}999999999999999", ""},
            {"fifteen digits at most", "2 + 3 /", "0{s}666666666666667", ""},
            {"decimal fraction", "2{s}5 + 2 *", "5", ""},
            {"decimal result", "1 + 4 /", "0{s}25", ""},
            {"the other separator is discarded", "2{o}5", "0", "25"},
            {"letters and signs are discarded", "7a(b)=%e", "0", "7"},
            {"Backspace passes", "12 BS 3 +", "13", ""},
            {"separator alone: nothing happens", "{s} +", "0", "{s}"},
            {"two separators: nothing happens", "1{s}{s}2 + *", "0", "1{s}{s}2"},
            {"keypad decimal key, point layout", "5 kp.", "0", "5{s}"},
            {"keypad decimal key, comma layout", "5 kp,", "0", "5{s}"},
            {"keypad decimal key gives one separator", "5 kp. 5 +", "5{s}5", ""},
            {"keypad decimal key on an empty entry", "kp. 5 +", "0{s}5", ""},
            {"keypad digits and plus", "kp4 kp2 kp+", "42", ""},
            {"clear shows 0.00", "5 + [C]", "0.00", ""},
            {"clear keeps the last operand", "5 + 3 * [C] +", "3", ""},
            {"clear empties the entry", "5 + 7 [C]", "0.00", ""},
            {"operation after clear reads 0.00", "5 + [C] 2 *", "0", ""},
            {"after clear the next number starts afresh", "5 + [C] 2 +", "2", ""},
            {"after clear minus gives the negative entry", "[C] 7 -", "-7", ""},
            {"exponent form", "1 + 1000000000000000 *", "1E+15", ""},
            {"small exponent form", "1 + 100000 /", "1E-05", ""},
            {"huge but in range", "1" + zeros300 + " +", "1E+300", ""},
            {"overflow keeps display and entry", "1" + zeros300 + " + 10000000000 *", "1E+300", "10000000000"},
            {"overflow keeps the last operand",
             "1" + zeros300 + " + 10000000000 * BS BS BS BS BS BS BS BS BS BS BS +", "2E+300", ""},
            {"overflow by division", "1" + zeros300 + " + 0{s}0000000001 /", "1E+300", "0{s}0000000001"},
            {"overflow on an empty entry", "1" + zeros300 + " + * * * * * * * * * *", "1E+300", ""},
            // The largest double shows as 1.79769313486232E+308, which would
            // not read back: such a result is not shown.
            {"result whose text would not read back", "17976931348623157" + QString(292, u'0') + " +", "0",
             "17976931348623157" + QString(292, u'0')},
            {"largest result that reads back", "17976931348623" + QString(295, u'0') + " +",
             "1{s}7976931348623E+308", ""},
            {"an entry beyond a double is no number", "2" + QString(310, u'0') + " +", "0", "2" + QString(310, u'0')},
        };
        for (const QLocale& locale : {QLocale::c(), german(), french()}) {
            const QString s = QString(locale.decimalPoint()), o = s == "." ? "," : ".";
            for (const Row& r : rows) {
                auto fill = [&](QString t) { return t.replace("{s}", s).replace("{o}", o); };
                QTest::addRow("%s: %s", qPrintable(locale.name()), r.name)
                    << locale << fill(r.keys) << fill(r.display) << fill(r.entry) << r.messages;
            }
        }
    }
    void sequences() {
        QFETCH(QLocale, locale);
        QFETCH(QString, keys);
        QFETCH(int, divisionMessages);
        setLocale(locale);
        auto* f = openFromMenu();
        MsgBoxSeam::clear();
        work(f, keys);
        QTEST(f->lblDISPLAY->Caption(), "display");
        QTEST(f->txtEnter->Text(), "entry");
        QCOMPARE(f->lblDISPLAY->ToolTipText(), f->lblDISPLAY->Caption());
        QCOMPARE(messages(), QStringList(divisionMessages, "Division by 0 is not possible"));
        QCOMPARE(f->focusWidget(), f->txtEnter);
        QVERIFY(isFormLoaded<class frmCalc>());
    }

    void divisionMessage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("English") << "English" << "Division by 0 is not possible" << "Quembly";
        QTest::newRow("German") << "German" << QString::fromUtf8("Division durch 0 ist nicht möglich") << "Zovikon";
    }
    void divisionMessage() {
        QFETCH(QString, language);
        writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        auto* f = openFromMenu();
        work(f, "6 + 0");
        MsgBoxSeam::clear();
        work(f, "/");
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QTEST(MsgBoxSeam::last().text, "text");
        QTEST(MsgBoxSeam::last().title, "title");
        QCOMPARE(MsgBoxSeam::last().icon, int(vbExclamation));
        QCOMPARE(MsgBoxSeam::last().buttons, int(vbOKOnly));
        QCOMPARE(f->lblDISPLAY->Caption(), QString("6"));
        QCOMPARE(f->txtEnter->Text(), QString());
    }

    void languages_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("clear");
        QTest::newRow("English") << "English" << "QEM Calculator" << "&Clear";
        QTest::newRow("German") << "German" << "ZOV Rechner" << "&Leeren";
        QTest::newRow("lower-case german is English") << "german" << "QEM Calculator" << "&Clear";
    }
    void languages() {
        QFETCH(QString, language);
        writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        auto* f = openFromMenu();
        QTEST(f->Caption(), "caption");
        QTEST(f->cmdClr->Caption(), "clear");
        QCOMPARE(f->lblDISPLAY->Caption(), QString("0"));
        QCOMPARE(f->lblDISPLAY->ToolTipText(), QString("0"));
    }

    void pastedTextPassesTheKeys() {
        auto* f = openFromMenu();
        QApplication::clipboard()->setText("12a+3,5.5");
        QTest::keyClick(keyTarget(f), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(f->lblDISPLAY->Caption(), QString("12"));
        QCOMPARE(f->txtEnter->Text(), QString("35.5"));
    }

    void menuHiddenWhileOpenAndBackWithTheTune() {
        auto* menu = frmChoice();
        QVERIFY(menu->isVisible());
        auto* f = frmCalc();
        f->Show();
        QVERIFY(!menu->isVisible());
        music().lastPlayed.clear();
        f->close();
        QVERIFY(!isFormLoaded<class frmCalc>());
        QVERIFY(menu->isVisible());
        QCOMPARE(fileName(music().lastPlayed), QString("Stretch4.mp3"));
    }

    void fromBankNoReturnToTheMenu() {
        auto* menu = frmChoice();
        menu->setVisible(false); // the bank hides the menu while it is open
        auto* f = frmCalc();
        frmCalc::FromBank = true;
        f->Show();
        QVERIFY(!menu->isVisible());
        work(f, "4 + 5 *");
        QCOMPARE(f->lblDISPLAY->Caption(), QString("20"));
        music().lastPlayed.clear();
        music().commands.clear();
        f->close();
        QVERIFY(!isFormLoaded<class frmCalc>());
        QVERIFY(!menu->isVisible());
        QCOMPARE(music().commands, QStringList());
        // The flag stays until the bank clears it; every later opening
        // by the bank is the same.
        QVERIFY(frmCalc::FromBank);
        frmCalc()->Show();
        QVERIFY(!menu->isVisible());
        frmCalc()->Unload();
        QVERIFY(!menu->isVisible());
        QCOMPARE(music().commands, QStringList());
    }

    void loadHidesTheMenuAlsoFromTheBank() {
        auto* menu = frmChoice();
        frmCalc::FromBank = true;
        frmCalc()->Show();
        QVERIFY(!menu->isVisible());
    }

    void reopenedShowsZeroButKeepsTheLastOperand() {
        auto* f = openFromMenu();
        work(f, "5 + 3 *");
        QCOMPARE(f->lblDISPLAY->Caption(), QString("15"));
        f->close();
        processEvents();
        f = openFromMenu();
        QCOMPARE(f->lblDISPLAY->Caption(), QString("0"));
        work(f, "+");
        QCOMPARE(f->lblDISPLAY->Caption(), QString("3"));
    }

    void separatorDecidedAtEachOpening() {
        auto* f = openFromMenu();
        work(f, "1,5.5");
        QCOMPARE(f->txtEnter->Text(), QString("15.5"));
        f->close();
        processEvents();
        setLocale(german());
        f = openFromMenu();
        work(f, "1,5.5 kp.");
        QCOMPARE(f->txtEnter->Text(), QString("1,55,"));
    }
};

QTEST_MAIN(TestCalculator)
#include "tst_calculator.moc"
