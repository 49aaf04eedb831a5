// The number-system converter: conversions from every row to every other,
// numbers beyond 32 bits, invalid input, the key filters with paste, row
// changes, tooltips, "Clear", the texts in both languages, a comma decimal
// separator and the way back to the menu.
#include "Forms/ComputerConverter/frmComp.h"
#include "Forms/Main/frmChoice.h"
#include "Modules/modLanguage.h"
#include "Platform/MsgBox.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QTest>

using namespace TestSupport;

namespace {
constexpr int Dec = 0, Bin = 1, Bcd = 2, Oct = 3, Hex = 4;

// The menu is running and the converter opened from it, as a user has it.
class frmComp* open() {
    frmChoice()->activateNow();
    auto* f = frmComp();
    f->Show();
    QApplication::setActiveWindow(f);
    return f;
}


void chooseRow(class frmComp* f, int row) { QTest::mouseClick(f->cmdComp[row], Qt::LeftButton); }
void convert(class frmComp* f) { QTest::mouseClick(f->cmdCnvrt, Qt::LeftButton); }
// Chooses the row, types and converts.
void convertIn(class frmComp* f, int row, const QString& keys) {
    chooseRow(f, row);
    typeKeys(f->txtComp[row], keys);
    convert(f);
}
void hover(QWidget* w) {
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}
QStringList captions(class frmComp* f) {
    QStringList c;
    for (Label* l : f->lblComp) c << l->Caption();
    return c;
}
QString groups(const char* digitCode, int count) {
    return QStringList(count, QString::fromLatin1(digitCode)).join(u' ');
}
} // namespace

class TestNumberSystems : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(true); }
    void cleanup() { tearDown(); }

    void opening() {
        auto* f = open();
        QVERIFY(!frmChoice()->isVisible());
        QCOMPARE(f->Caption(), QString("QEM Computer Conversions"));
        const QStringList names{"Decimal", "Binary", "BCD", "Octal", "Hexadecimal"};
        const QList<Label*> labels{f->lblDec, f->lblBin, f->lblBCD, f->lblOct, f->lblHex};
        for (int i = 0; i < 5; ++i) QCOMPARE(labels[i]->Caption(), names[i]);
        QCOMPARE(f->lblBCD->ToolTipText(), QString("binary coded decimal"));
        QCOMPARE(f->cmdCnvrt->Caption(), QString("Convert"));
        QCOMPARE(f->cmdClr->Caption(), QString("&Clear"));
        QCOMPARE(f->ActiveRow, qint16(0));
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(f->txtComp[i]->isVisible(), i == 0);
            QVERIFY(f->lblComp[i]->isVisible());
            QVERIFY(f->lblComp[i]->Caption().isEmpty());
            QVERIFY(f->txtComp[i]->Text().isEmpty());
        }
        QCOMPARE(f->txtChr.size(), 16);
        QCOMPARE(f->txtChr[11]->Text(), QString("B"));
        QCOMPARE(f->txtCode[11]->Text(), QString("1011"));
    }

    void conversions_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("box"); // the typed row's box afterwards
        QTest::addColumn<QString>("dec");
        QTest::addColumn<QString>("bin");
        QTest::addColumn<QString>("bcd");
        QTest::addColumn<QString>("oct");
        QTest::addColumn<QString>("hex");
        const QString ones30(30, u'1'), ones31(31, u'1');
        const QString nines15 = groups("1001", 15);
        for (const QString locale : {"C", "de_DE"}) {
            auto row = [&](const char* name) -> QTestData& { return QTest::newRow(qPrintable(locale + " " + name)) << locale; };
            // From the decimal row.
            row("decimal 255") << Dec << "255" << "255" << "255" << "11111111" << "0010 0101 0101" << "377" << "FF";
            row("decimal 0") << Dec << "0" << "0" << "0" << "0" << "0000" << "0" << "0";
            row("decimal 007") << Dec << "007" << "007" << "007" << "111" << "0000 0000 0111" << "7" << "7";
            row("decimal 999999999") << Dec << "999999999" << "999999999" << "999999999"
                                     << "111011100110101100100111111111" << groups("1001", 9) << "7346544777"
                                     << "3B9AC9FF";
            // From the binary row.
            row("binary 101") << Bin << "101" << "101" << "5" << "101" << "0101" << "5" << "5";
            row("binary 0") << Bin << "0" << "0" << "0" << "0" << "0000" << "0" << "0";
            row("binary with leading zeros") << Bin << "0011" << "0011" << "3" << "11" << "0011" << "3" << "3";
            row("binary thirty ones") << Bin << ones30 << ones30 << "1073741823" << ones30
                                      << "0001 0000 0111 0011 0111 0100 0001 1000 0010 0011" << "7777777777"
                                      << "3FFFFFFF";
            row("binary 2^30") << Bin << "1" + QString(30, u'0') << "1" + QString(30, u'0') << "1073741824"
                               << "1" + QString(30, u'0') << "0001 0000 0111 0011 0111 0100 0001 1000 0010 0100"
                               << "10000000000" << "40000000";
            row("binary thirty-one ones") << Bin << ones31 << ones31 << "2147483647" << ones31
                                          << "0010 0001 0100 0111 0100 1000 0011 0110 0100 0111" << "17777777777"
                                          << "7FFFFFFF";
            // From the BCD row: padded to groups of four.
            row("BCD 10010") << Bcd << "10010" << "00010010" << "12" << "1100" << "0001 0010" << "14" << "C";
            row("BCD 1001") << Bcd << "1001" << "1001" << "9" << "1001" << "1001" << "11" << "9";
            row("BCD 0") << Bcd << "0" << "0000" << "0" << "0" << "0000" << "0" << "0";
            row("BCD leading zero group") << Bcd << "000000010010" << "000000010010" << "012" << "1100"
                                          << "0000 0001 0010" << "14" << "C";
            row("BCD fifteen nines") << Bcd << QString("1001").repeated(15) << QString("1001").repeated(15)
                                     << "999999999999999" << "11100011010111111010100100110001100111111111111111"
                                     << nines15 << "34327724461477777" << "38D7EA4C67FFF";
            // From the octal row.
            row("octal 17") << Oct << "17" << "17" << "15" << "1111" << "0001 0101" << "17" << "F";
            row("octal 377") << Oct << "377" << "377" << "255" << "11111111" << "0010 0101 0101" << "377" << "FF";
            row("octal 7777777777") << Oct << "7777777777" << "7777777777" << "1073741823" << ones30
                                    << "0001 0000 0111 0011 0111 0100 0001 1000 0010 0011" << "7777777777"
                                    << "3FFFFFFF";
            row("octal 20000000000000") << Oct << "20000000000000" << "20000000000000" << "1099511627776"
                                        << "1" + QString(40, u'0')
                                        << "0001 0000 1001 1001 0101 0001 0001 0110 0010 0111 0111 0111 0110"
                                        << "20000000000000" << "10000000000";
            row("octal with leading zeros") << Oct << "0000000000000000000000010" << "0000000000000000000000010"
                                            << "8" << "1000" << "1000" << "10" << "8";
            // From the hexadecimal row.
            row("hex ff") << Hex << "ff" << "FF" << "255" << "11111111" << "0010 0101 0101" << "377" << "FF";
            row("hex 3FFFFFFF") << Hex << "3FFFFFFF" << "3FFFFFFF" << "1073741823" << ones30
                                << "0001 0000 0111 0011 0111 0100 0001 1000 0010 0011" << "7777777777" << "3FFFFFFF";
            row("hex FFFFFFFF") << Hex << "FFFFFFFF" << "FFFFFFFF" << "4294967295" << QString(32, u'1')
                                << "0100 0010 1001 0100 1001 0110 0111 0010 1001 0101" << "37777777777"
                                << "FFFFFFFF";
            row("hex just below 10^15") << Hex << "38d7ea4c67fff" << "38D7EA4C67FFF" << "999999999999999"
                                        << "11100011010111111010100100110001100111111111111111" << nines15
                                        << "34327724461477777" << "38D7EA4C67FFF";
            row("hex 0") << Hex << "0" << "0" << "0" << "0" << "0000" << "0" << "0";
            row("hex composed in small letters") << Hex << "{ff}" << "ff" << "255" << "11111111" << "0010 0101 0101"
                                                 << "377" << "FF";
        }
    }
    void conversions() {
        QFETCH(QString, locale);
        QFETCH(int, row);
        QFETCH(QString, keys);
        QFETCH(QString, dec);
        if (locale == "de_DE") setLocale(QLocale(QLocale::German, QLocale::Germany));
        auto* f = open();
        convertIn(f, row, keys);
        QTEST(f->txtComp[row]->Text(), "box");
        QCOMPARE(f->txtComp[Dec]->Text(), dec);
        if (row != Dec) QCOMPARE(f->lblComp[Dec]->Caption(), dec);
        QTEST(f->lblComp[Bin]->Caption(), "bin");
        QTEST(f->lblComp[Bcd]->Caption(), "bcd");
        QTEST(f->lblComp[Oct]->Caption(), "oct");
        QTEST(f->lblComp[Hex]->Caption(), "hex");
        QCOMPARE(QApplication::focusWidget(), f->txtComp[row]);
        QCOMPARE(f->txtComp[row]->cursorPosition(), int(f->txtComp[row]->Text().size()));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        // Convert sets no tooltip.
        for (Label* l : f->lblComp) QVERIFY(l->ToolTipText().isEmpty());
    }

    // Input that gives no number empties the decimal row; a number that
    // cannot be converted empties the other rows too, an empty input leaves
    // them as the conversion before showed them.
    void invalidInput_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("kept"); // the other rows keep the first number's values
        QTest::newRow("BCD 1010") << Bcd << "0101" << "1010" << "1010" << false;
        QTest::newRow("BCD 1111") << Bcd << "0101" << "1111" << "1111" << false;
        QTest::newRow("BCD group above 1001 in the middle") << Bcd << "0101" << "110100010" << "000110100010" << false;
        QTest::newRow("BCD sixteen digits") << Bcd << "0101" << "1" + QString(60, u'0') << "0001" + QString(60, u'0')
                                            << false;
        QTest::newRow("hex 10^15") << Hex << "ff" << "38D7EA4C68000" << "38D7EA4C68000" << false;
        QTest::newRow("hex beyond 64 bits") << Hex << "ff" << "FFFFFFFFFFFFFFFFFFFF" << "FFFFFFFFFFFFFFFFFFFF" << false;
        QTest::newRow("octal 10^15") << Oct << "17" << "34327724461500000" << "34327724461500000" << false;
        QTest::newRow("octal beyond 64 bits") << Oct << "17" << QString(30, u'7') << QString(30, u'7') << false;
        QTest::newRow("empty binary") << Bin << "101" << "" << "" << true;
        QTest::newRow("empty hex") << Hex << "ff" << "" << "" << true;
        QTest::newRow("empty BCD") << Bcd << "0101" << "" << "" << true;
    }
    void invalidInput() {
        QFETCH(int, row);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, kept);
        auto* f = open();
        convertIn(f, row, first);
        const QStringList before = captions(f);
        QVERIFY(!before[Dec].isEmpty());
        f->txtComp[row]->selectAll();
        QTest::keyClick(f->txtComp[row], Qt::Key_Backspace);
        typeKeys(f->txtComp[row], second);
        convert(f);
        QTEST(f->txtComp[row]->Text(), "box");
        QVERIFY(f->txtComp[Dec]->Text().isEmpty());
        QVERIFY(f->lblComp[Dec]->Caption().isEmpty());
        for (int i = Bin; i <= Hex; ++i) QCOMPARE(f->lblComp[i]->Caption(), kept ? before[i] : QString());
        QCOMPARE(QApplication::focusWidget(), f->txtComp[row]);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    void decimalThatCannotConvert_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("kept"); // the rows keep the first number's values
        QTest::newRow("empty") << "" << true;
        // Past the typist's limit (a paste by other means): beyond a 64-bit integer.
        QTest::newRow("twenty digits") << QString(20, u'9') << false;
        QTest::newRow("10^15") << "1" + QString(15, u'0') << false;
    }
    void decimalThatCannotConvert() {
        QFETCH(QString, text);
        QFETCH(bool, kept);
        auto* f = open();
        convertIn(f, Dec, "12");
        const QStringList before = captions(f);
        QTest::keyClick(f->txtComp[Dec], Qt::Key_Backspace);
        QTest::keyClick(f->txtComp[Dec], Qt::Key_Backspace);
        if (!text.isEmpty()) f->txtComp[Dec]->setTextValue(text);
        convert(f);
        QCOMPARE(captions(f), kept ? before : QStringList(5, QString()));
        QCOMPARE(QApplication::focusWidget(), f->txtComp[Dec]);
    }

    void keyFilter_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("box");
        QTest::newRow("decimal: digits only") << Dec << "1a2.3,-4 " << "" << "1234";
        QTest::newRow("decimal: nine digits at most") << Dec << "1234567890" << "" << "123456789";
        QTest::newRow("decimal: Backspace") << Dec << "12\b3" << "" << "13";
        QTest::newRow("decimal: paste filtered") << Dec << "^V" << "9x8 7.6" << "9876";
        QTest::newRow("decimal: paste held at nine") << Dec << "5^V" << "1234567890" << "512345678";
        QTest::newRow("decimal: composed digit held at nine") << Dec << QString::fromUtf8("123456789{³}") << "" << "123456789";
        QTest::newRow("hex: composed letter dropped") << Hex << QString::fromUtf8("{á}B") << "" << "B";
        QTest::newRow("binary: 0 and 1") << Bin << "10201a1" << "" << "10011";
        QTest::newRow("binary: 31 digits at most") << Bin << QString(32, u'1') << "" << QString(31, u'1');
        QTest::newRow("binary: paste filtered") << Bin << "^V" << "1 0 2 1" << "101";
        QTest::newRow("BCD: 0 and 1, no limit") << Bcd << "12" + QString(40, u'0') << "" << "1" + QString(40, u'0');
        QTest::newRow("octal: 0 to 7") << Oct << "0123456789" << "" << "01234567";
        QTest::newRow("octal 19: the 9 is refused") << Oct << "19" << "" << "1";
        QTest::newRow("octal: paste filtered") << Oct << "^V" << "789" << "7";
        QTest::newRow("hex: lower case shown upper") << Hex << "ff" << "" << "FF";
        QTest::newRow("hex: colon and G refused") << Hex << "1:G2gz" << "" << "12";
        QTest::newRow("hex: Backspace") << Hex << "AB\bC" << "" << "AC";
        QTest::newRow("hex: paste filtered, its case kept") << Hex << "^V" << "de:ad-beef" << "deadbeef";
    }
    void keyFilter() {
        QFETCH(int, row);
        QFETCH(QString, keys);
        QFETCH(QString, clipboard);
        QApplication::clipboard()->setText(clipboard);
        auto* f = open();
        chooseRow(f, row);
        typeKeys(f->txtComp[row], keys);
        QTEST(f->txtComp[row]->Text(), "box");
    }

    void rowChange() {
        auto* f = open();
        convertIn(f, Hex, "ff");
        hover(f->lblComp[Bin]);
        QCOMPARE(f->lblComp[Bin]->ToolTipText(), QString("11111111"));
        chooseRow(f, Oct);
        QCOMPARE(f->ActiveRow, qint16(Oct));
        QVERIFY(f->txtComp[Oct]->isVisible());
        QVERIFY(!f->txtComp[Hex]->isVisible());
        QCOMPARE(QApplication::focusWidget(), f->txtComp[Oct]);
        for (const QString& c : captions(f)) QVERIFY(c.isEmpty());
        // The other boxes keep their texts: the decimal row the last number.
        QCOMPARE(f->txtComp[Hex]->Text(), QString("FF"));
        QCOMPARE(f->txtComp[Dec]->Text(), QString("255"));
        // Tooltips stay until the mouse passes over the label again.
        QCOMPARE(f->lblComp[Bin]->ToolTipText(), QString("11111111"));
        hover(f->lblComp[Bin]);
        QVERIFY(f->lblComp[Bin]->ToolTipText().isEmpty());
        // Choosing the decimal row empties its box.
        chooseRow(f, Dec);
        QVERIFY(f->txtComp[Dec]->Text().isEmpty());
    }

    void tooltips_data() {
        QTest::addColumn<int>("label");
        QTest::addColumn<QString>("tip");
        QTest::newRow("decimal") << Dec << "255";
        QTest::newRow("binary") << Bin << "11111111";
        QTest::newRow("BCD") << Bcd << "0010 0101 0101";
        QTest::newRow("octal") << Oct << "377";
    }
    void tooltips() {
        QFETCH(int, label);
        auto* f = open();
        convertIn(f, Hex, "FF");
        QVERIFY(f->lblComp[label]->ToolTipText().isEmpty());
        hover(f->lblComp[label]);
        QTEST(f->lblComp[label]->ToolTipText(), "tip");
    }

    void clear() {
        auto* f = open();
        convertIn(f, Bin, "101");
        hover(f->lblComp[Hex]);
        QTest::mouseClick(f->cmdClr, Qt::LeftButton);
        for (int i = 0; i < 5; ++i) {
            QVERIFY(f->txtComp[i]->Text().isEmpty());
            QVERIFY(f->lblComp[i]->Caption().isEmpty());
            QVERIFY(f->lblComp[i]->ToolTipText().isEmpty());
        }
        QCOMPARE(f->ActiveRow, qint16(Bin));
        QCOMPARE(QApplication::focusWidget(), f->txtComp[Bin]);
        // Convert with the emptied box changes nothing.
        convert(f);
        for (const QString& c : captions(f)) QVERIFY(c.isEmpty());
    }

    // The longest numbers the window accepts are shown whole in every row.
    void longestResultsFit_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("keys");
        QTest::newRow("hex just below 10^15") << Hex << "38D7EA4C67FFF";
        QTest::newRow("BCD fifteen digits") << Bcd << QString("1001").repeated(15);
        QTest::newRow("binary thirty-one ones") << Bin << QString(31, u'1');
    }
    void longestResultsFit() {
        QFETCH(int, row);
        QFETCH(QString, keys);
        auto* f = open();
        convertIn(f, row, keys);
        QVERIFY(!f->lblComp[Bin]->Caption().isEmpty());
        for (int i = 0; i < 5; ++i) {
            const QString shown = i == row ? f->txtComp[i]->Text() : f->lblComp[i]->Caption();
            const QWidget* w = i == row ? static_cast<QWidget*>(f->txtComp[i]) : f->lblComp[i];
            const int room = i == row ? f->txtComp[i]->width() - 8
                                      : f->lblComp[i]->contentsRect().width() - f->lblComp[i]->indent();
            QVERIFY2(QFontMetrics(w->font()).horizontalAdvance(shown) <= room, qPrintable(shown));
        }
    }

    void germanTexts() {
        writeFile("QEM.ini", "[Values]\r\nLanguage=German\r\n");
        auto* f = open();
        QCOMPARE(f->Caption(), QString("ZOV Zahlensystem-Umrechnungen"));
        QCOMPARE(f->lblDec->Caption(), QString("Dezimal"));
        QCOMPARE(f->lblBin->Caption(), QString::fromUtf8("Binär"));
        QCOMPARE(f->lblBCD->Caption(), QString("BKD"));
        QCOMPARE(f->lblBCD->ToolTipText(), QString::fromUtf8("binär-kodiertes dezimal"));
        QCOMPARE(f->lblOct->Caption(), QString("Oktal"));
        QCOMPARE(f->lblHex->Caption(), QString("Hexadezimal"));
        QCOMPARE(f->cmdCnvrt->Caption(), QString("Umrechnen"));
        QCOMPARE(f->cmdClr->Caption(), QString("&Leeren"));
    }

    void backToMenu() {
        auto* f = open();
        convertIn(f, Hex, "1F");
        QVERIFY(!frmChoice()->isVisible());
        f->close();
        processEvents();
        QVERIFY(!isFormLoaded<class frmComp>());
        QVERIFY(frmChoice()->isVisible());
        QCOMPARE(music().lastPlayed.section(u'/', -1), QString("Stretch4.mp3"));
        // Opened again, it starts afresh on the decimal row.
        auto* g = open();
        QVERIFY(!frmChoice()->isVisible());
        QCOMPARE(g->ActiveRow, qint16(Dec));
        QVERIFY(g->txtComp[Dec]->isVisible());
        QVERIFY(!g->txtComp[Hex]->isVisible());
        for (const QString& c : captions(g)) QVERIFY(c.isEmpty());
        convertIn(g, Dec, "31");
        QCOMPARE(g->lblComp[Hex]->Caption(), QString("1F"));
    }
};

QTEST_MAIN(TestNumberSystems)
#include "tst_numbersystems.moc"
