// The currency converter and its rate editor: conversions with the rates in
// force, the rate checks, "Rates.qem" written, read back, missing, damaged
// and unwritable, and the editor opened and closed from the check box.
#include "Forms/CurrencyConverter/frmCur.h"
#include "Forms/CurrencyConverter/frmSetRate.h"
#include "Forms/Main/frmChoice.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QTest>
#include <functional>

using namespace TestSupport;

namespace {
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QStringList kDefaults{"1", "0.68", "2.09", "7.02", "178.10", "2168.62", "1.07"};

class frmCur* openCur() {
    class frmCur* f = frmCur();
    f->Show(vbModeless);
    f->activateNow();
    return f;
}

// The user's steps: the currency's label, the amount, "Convert".
void convert(class frmCur* f, int row, const QString& amount) {
    if (row != f->ActiveRow) QTest::mouseClick(f->lblCur[row], Qt::LeftButton);
    f->txtCur[row]->clear();
    QTest::keyClicks(f->txtCur[row], amount);
    QTest::mouseClick(f->cmdCnvrt, Qt::LeftButton);
}

QStringList captions(const class frmCur* f) {
    QStringList out;
    for (const Label* l : f->lblCur) out << l->Caption();
    return out;
}
QStringList tooltips(const class frmCur* f) {
    QStringList out;
    for (const Label* l : f->lblCur) out << l->ToolTipText();
    return out;
}

// The rates in force: the texts of the editor's rate boxes.
QStringList ratesInForce() {
    QStringList out;
    for (const TextBox* b : frmSetRate()->txtDat) out << b->Text();
    return out;
}

// Ticks "Set Currency Rate"; while the editor is open `steps` run, then
// the editor's close box unless `close` is false. Afterwards the converter
// becomes the active window again.
void withEditor(class frmCur* f, const std::function<void(class frmSetRate*)>& steps, bool close = true) {
    Form::setModalHandler([&](Form* w) {
        auto* editor = qobject_cast<class frmSetRate*>(w);
        QVERIFY(editor);
        QVERIFY(editor->isVisible());
        editor->activateNow();
        steps(editor);
        if (close) editor->close();
    });
    f->chkSetRate->click();
    Form::setModalHandler(nullptr);
    processEvents();
    f->activateNow();
}

// Another window takes over and the converter comes back.
void reactivate(class frmCur* f) {
    frmChoice()->activateNow();
    f->activateNow();
}

QByteArray quotedLines(const QStringList& values) {
    QByteArray out;
    for (const QString& v : values) out += '"' + v.toLatin1() + "\"\r\n";
    return out;
}
} // namespace

class TestCurrency : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(true); }
    void cleanup() { tearDown(); }

    void conversions_data() {
        QTest::addColumn<bool>("german");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("tips");
        for (bool german : {false, true}) {
            auto loc = [german](QStringList l) {
                if (german)
                    for (QString& s : l) s.replace(u'.', u',');
                return l;
            };
            const char* tag = german ? " (de_DE)" : "";
            QTest::addRow("100 dollars%s", tag)
                << german << 0 << "100"
                << loc({"100.00 $", "68.00 £", "209.00 DM", "702.00 F", "17810.00 Pts", "216862.00 Li", "107.00 €"})
                << loc({"100 $", "68 £", "209 DM", "702 F", "17810 Pts", "216862 Li", "107 €"});
            QTest::addRow("1 euro%s", tag)
                << german << 6 << "1"
                << loc({"0.93 $", "0.64 £", "1.95 DM", "6.56 F", "166.45 Pts", "2026.75 Li", "1.00 €"})
                << loc({"0.934579439252336 $"});
            QTest::addRow("2.5 pounds%s", tag) << german << 1 << "2.5"
                                              << loc({"3.68 $", "2.50 £", "7.68 DM", "25.81 F", "654.78 Pts",
                                                      "7972.87 Li", "3.93 €"})
                                              << loc({"3.67647058823529 $", "2.5 £"});
        }
    }
    void conversions() {
        QFETCH(bool, german);
        QFETCH(int, row);
        QFETCH(QString, amount);
        QFETCH(QStringList, tips);
        if (german) setLocale(kGerman);
        class frmCur* f = openCur();
        convert(f, row, amount);
        QTEST(captions(f), "captions");
        QCOMPARE(tooltips(f).mid(0, tips.size()), tips);
        QCOMPARE(f->focusWidget(), f->txtCur[row]);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    // --- Reading "Rates.qem" ------------------------------------------------

    void ratesFileRead_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("rates");
        const QStringList six{"0.7", "1.9", "6.5", "160", "1900", "0.95"};
        QTest::newRow("missing") << QByteArray() << kDefaults;
        QTest::newRow("empty") << QByteArray("") << kDefaults;
        QTest::newRow("six quoted lines") << quotedLines(six) << QStringList{"1"} + six;
        QTest::newRow("line feeds only") << quotedLines(six).replace("\r\n", "\n") << QStringList{"1"} + six;
        QTest::newRow("no break after the last line") << quotedLines(six).chopped(2) << QStringList{"1"} + six;
        QTest::newRow("five lines change nothing") << quotedLines(six.mid(0, 5)) << kDefaults;
        QTest::newRow("seven lines: the first six")
            << quotedLines(six + QStringList{"99"}) << QStringList{"1"} + six;
        QTest::newRow("texts kept as written")
            << quotedLines({"178.10", "abc", "", "1,5", " 2 ", "0"})
            << QStringList{"1", "178.10", "abc", "", "1,5", " 2 ", "0"};
        QTest::newRow("stray quotes: between the first and the last")
            << QByteArray("\"1.5\"0\"\r\n\"2.5\r\n 3.5 \r\nx\"4\"y\r\n\"\"\"\r\n\"6\"\r\n")
            << QStringList{"1", "1.5\"0", "2.5", "3.5", "4", "\"", "6"};
        QTest::newRow("Windows-1252") << QByteArray("\"1\xA3\"\r\n\"2\x80\"\r\n\"3\"\r\n\"4\"\r\n\"5\"\r\n\"6\"\r\n")
                                      << QStringList{"1", "1£", "2€", "3", "4", "5", "6"};
    }
    void ratesFileRead() {
        QFETCH(QByteArray, file);
        if (!file.isNull()) writeFile("Rates.qem", file);
        openCur();
        QTEST(ratesInForce(), "rates");
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    // Not a text file: said once, the file left as it is, the defaults in force.
    void damagedRatesFile() {
        const QByteArray binary("\"0.5\"\r\n\0\x01\x02\x03\xff\xfe", 13);
        writeFile("Rates.qem", binary);
        class frmCur* f = openCur();
        QCOMPARE(ratesInForce(), kDefaults);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QVERIFY2(MsgBoxSeam::last().text.contains("\"Rates.qem\" is damaged"), qPrintable(MsgBoxSeam::last().text));
        reactivate(f);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(readFile("Rates.qem"), binary);
    }

    // A file that is there holds the user's rates: when it cannot be read
    // that is said, once, the built-in rates are in force, and the editor
    // does not save over the file. The next opening reads it again.
    void unreadableRatesFile_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QStringList>("afterwards");
        const QStringList users{"1", "0.86", "1.9", "6.5", "160", "1900", "0.95"};
        QTest::newRow("an I/O error") << "I/O error"
            << "Problem: LoadRates\n57: Device I/O error (\"Rates.qem\" could not be read)" << kDefaults;
        QTest::newRow("no read permission") << "no permission"
            << "Problem: LoadRates\n70: Permission denied (\"Rates.qem\" could not be read)" << kDefaults;
        QTest::newRow("a pipe") << "pipe"
            << "Problem: LoadRates\n75: Path/File access error (\"Rates.qem\" is not a regular file)" << kDefaults;
        QTest::newRow("a read that failed once") << "I/O error once"
            << "Problem: LoadRates\n57: Device I/O error (\"Rates.qem\" could not be read)" << users;
    }
    void unreadableRatesFile() {
        QFETCH(QString, how);
        QFETCH(QString, problem);
        const QByteArray users = quotedLines({"0.86", "1.9", "6.5", "160", "1900", "0.95"});
        makeUnreadable("Rates.qem", how, users);
        class frmCur* f = openCur();
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(MsgBoxSeam::last().text, problem);
        QCOMPARE(ratesInForce(), kDefaults);
        convert(f, 0, "100");
        QCOMPARE(f->lblCur[1]->Caption(), QString("68.00 £"));
        withEditor(f, [&](class frmSetRate* e) {
            MsgBoxSeam::queueAnswer(vbYes);
            QTest::mouseClick(e->cmdSave, Qt::LeftButton);
            QCOMPARE(MsgBoxSeam::last().text, "Problem: SetRate_Save\n" + problem.section('\n', 1).section(" (", 0, 0) +
                                                  " (\"Rates.qem\" could not be read when it was opened and is not "
                                                  "replaced)");
        });
        // Read again when the converter comes back; said only once.
        QCOMPARE(MsgBoxSeam::shown().size(), 3);
        QTEST(ratesInForce(), "afterwards");
        QVERIFY(unreadableKept("Rates.qem", how, users));
    }

    // Only the six rates are read, however long the file.
    void longRatesFile() {
        QByteArray file = quotedLines({"0.7", "1.9", "6.5", "160", "1900", "0.95"});
        file += QByteArray(3 * 1024 * 1024, 'x') + '\0';
        writeFile("Rates.qem", file);
        openCur();
        QCOMPARE(ratesInForce(), (QStringList{"1", "0.7", "1.9", "6.5", "160", "1900", "0.95"}));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    void ratesFileIsAFolder() {
        QDir(programFolder()).mkdir("Rates.qem");
        class frmCur* f = openCur();
        QCOMPARE(ratesInForce(), kDefaults);
        convert(f, 0, "100");
        QCOMPARE(f->lblCur[1]->Caption(), QString("68.00 £"));
    }

    void ratesReadAtEveryActivation() {
        class frmCur* f = openCur();
        convert(f, 0, "10");
        QCOMPARE(f->lblCur[6]->Caption(), QString("10.70 €"));
        writeFile("Rates.qem", quotedLines({"0.5", "2", "7", "170", "2000", "0.9"}));
        reactivate(f);
        QCOMPARE(f->focusWidget(), f->txtCur[0]);
        QTest::mouseClick(f->cmdCnvrt, Qt::LeftButton);
        QCOMPARE(f->lblCur[6]->Caption(), QString("9.00 €"));
        // A shorter file later leaves the rates in force as they are.
        writeFile("Rates.qem", quotedLines({"0.1"}));
        reactivate(f);
        QCOMPARE(ratesInForce(), (QStringList{"1", "0.5", "2", "7", "170", "2000", "0.9"}));
    }

    // --- The rate editor ----------------------------------------------------

    void editorOverTheConverter_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "English";
        QTest::newRow("German") << "German";
    }
    void editorOverTheConverter() {
        QFETCH(QString, language);
        writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        class frmCur* f = openCur();
        f->move(300, 200);
        withEditor(f, [f](class frmSetRate* e) {
            const QPoint offset = e->frameGeometry().center() - f->frameGeometry().center();
            QVERIFY2(offset.manhattanLength() < 20, qPrintable(QString("%1,%2").arg(offset.x()).arg(offset.y())));
            QVERIFY(e->width() > QFontMetrics(QApplication::font()).horizontalAdvance(e->Caption()) + 100);
        });
    }

    void saveWritesTheFile() {
        class frmCur* f = openCur();
        withEditor(f, [](class frmSetRate* e) {
            QCOMPARE(e->txtDat[1]->Text(), QString("0.68"));
            e->txtDat[2]->selectAll();
            QTest::keyClicks(e->txtDat[2], "2.5");
            // The euro sign, which the test keyboard cannot type, typed through the box.
            e->txtDat[6]->selectAll();
            e->txtDat[6]->typeText("0,92 €");
            MsgBoxSeam::queueAnswer(vbYes);
            QTest::mouseClick(e->cmdSave, Qt::LeftButton);
            const MsgBoxSeam::Shown box = MsgBoxSeam::last();
            QCOMPARE(box.text, QString("Are you sure?"));
            QCOMPARE(box.title, QString("Quembly"));
            QCOMPARE(box.icon, int(vbQuestion));
            QCOMPARE(box.buttons, int(vbYesNo));
            // The editor stays open with the focus in the first rate.
            QVERIFY(e->isVisible());
            QCOMPARE(e->focusWidget(), e->txtDat[1]);
        });
        QCOMPARE(readFile("Rates.qem"), QByteArray("\"0.68\"\r\n\"2.5\"\r\n\"7.02\"\r\n\"178.10\"\r\n\"2168.62\"\r\n"
                                                   "\"0,92 \x80\"\r\n"));
        // Closed: the box is unticked, the editor hidden (the reload of the
        // rates builds it afresh, hidden), the saved rates in force.
        QVERIFY(!f->chkSetRate->isChecked());
        QVERIFY(!frmSetRate()->isVisible());
        QCOMPARE(ratesInForce(), (QStringList{"1", "0.68", "2.5", "7.02", "178.10", "2168.62", "0,92 €"}));
    }

    // A pasted line break would move every later rate down one line.
    void pastedLineBreakNeverReachesTheFile() {
        class frmCur* f = openCur();
        withEditor(f, [](class frmSetRate* e) {
            QApplication::clipboard()->setText("0.70\r\n");
            e->txtDat[1]->clear();
            QTest::keyClick(e->txtDat[1], Qt::Key_Insert, Qt::ShiftModifier);
            QCOMPARE(e->txtDat[1]->Text(), QString("0.70"));
            MsgBoxSeam::queueAnswer(vbYes);
            QTest::mouseClick(e->cmdSave, Qt::LeftButton);
        });
        QCOMPARE(readFile("Rates.qem"), QByteArray("\"0.70\"\r\n\"2.09\"\r\n\"7.02\"\r\n\"178.10\"\r\n\"2168.62\"\r\n"
                                                   "\"1.07\"\r\n"));
        // Nor can any other way put one there.
        QString error;
        QVERIFY(!RatesFile::write({"0.7\n", "1", "1", "1", "1", "1"}, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile("Rates.qem").count('\n'), 6);
    }

    void saveAnsweredNo() {
        class frmCur* f = openCur();
        withEditor(f, [](class frmSetRate* e) {
            e->txtDat[3]->setFocus();
            MsgBoxSeam::queueAnswer(vbNo);
            QTest::mouseClick(e->cmdSave, Qt::LeftButton);
            QCOMPARE(e->focusWidget(), e->txtDat[1]);
        });
        QVERIFY(!QFile::exists(App::file("Rates.qem")));
    }

    void saveFails() {
        // A folder where the file should be: it is named when the converter
        // opens, and the save does not replace it; the editor stays open
        // with the typed rate.
        QDir(programFolder()).mkdir("Rates.qem");
        class frmCur* f = openCur();
        bool stillOpen = false;
        withEditor(f, [&](class frmSetRate* e) {
            e->txtDat[2]->selectAll();
            QTest::keyClicks(e->txtDat[2], "1.9");
            MsgBoxSeam::queueAnswer(vbYes);
            QTest::mouseClick(e->cmdSave, Qt::LeftButton);
            const MsgBoxSeam::Shown box = MsgBoxSeam::last();
            QCOMPARE(box.text, QString("Problem: SetRate_Save\n70: Permission denied (\"Rates.qem\" could not be read "
                                       "when it was opened and is not replaced)"));
            QCOMPARE(box.icon, int(vbCritical));
            stillOpen = e->isVisible() && isFormLoaded<class frmSetRate>();
            QCOMPARE(e->focusWidget(), e->txtDat[1]);
            QCOMPARE(e->txtDat[2]->Text(), QString("1.9"));
        });
        QVERIFY(stillOpen);
        QVERIFY(QFileInfo(App::file("Rates.qem")).isDir());
        QCOMPARE(MsgBoxSeam::shown().size(), 3);
    }

    void defaultWithoutSave() {
        const QByteArray file = quotedLines({"0.5", "2", "7", "170", "2000", "0.9"});
        writeFile("Rates.qem", file);
        class frmCur* f = openCur();
        withEditor(f, [](class frmSetRate* e) {
            QCOMPARE(e->txtDat[1]->Text(), QString("0.5"));
            QTest::mouseClick(e->cmdDFLT, Qt::LeftButton);
            QStringList shown;
            for (const TextBox* b : e->txtDat) shown << b->Text();
            QCOMPARE(shown, kDefaults);
            QCOMPARE(e->focusWidget(), e->txtDat[1]);
        });
        QCOMPARE(readFile("Rates.qem"), file);
        QCOMPARE(ratesInForce(), (QStringList{"1", "0.5", "2", "7", "170", "2000", "0.9"}));
    }

    void typedRatesLostWhenClosed() {
        class frmCur* f = openCur();
        withEditor(f, [](class frmSetRate* e) { e->txtDat[1]->setTextValue("5"); });
        QCOMPARE(ratesInForce(), kDefaults);
    }

    void inputRowKeptAcrossEditor() {
        class frmCur* f = openCur();
        QTest::mouseClick(f->lblCur[1], Qt::LeftButton);
        withEditor(f, [](class frmSetRate*) {});
        QCOMPARE(f->ActiveRow, qint16(1));
        QVERIFY(f->txtCur[1]->isVisible());
        QVERIFY(!f->txtCur[0]->isVisible());
        QCOMPARE(f->focusWidget(), f->txtCur[1]);
        QTest::keyClicks(f->txtCur[1], "1");
        QTest::mouseClick(f->cmdCnvrt, Qt::LeftButton);
        QCOMPARE(f->lblCur[0]->Caption(), QString("1.47 $"));
    }

    // --- Rate checks ----------------------------------------------------------

    void badRates_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<int>("row");
        // Where the focus lands: the check box, or the rate of the input row in the editor.
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("message");
        // The computer's decimal separator is the comma.
        QTest::addColumn<bool>("comma");
        const QString en = "Please check the rates you have entered";
        const QString de = "Bitte überprüfen Sie die von Ihnen eingegebenen Raten";
        QTest::newRow("abc as the mark's rate")
            << "English" << QStringList{"0.68", "abc", "7.02", "178.10", "2168.62", "1.07"} << 0 << "check" << en << false;
        QTest::newRow("German message")
            << "German" << QStringList{"0.68", "abc", "7.02", "178.10", "2168.62", "1.07"} << 0 << "check" << de << false;
        QTest::newRow("an empty rate")
            << "English" << QStringList{"0.68", "2.09", "7.02", "178.10", "", "1.07"} << 3 << "check" << en << false;
        QTest::newRow("a source rate of 0")
            << "English" << QStringList{"0.68", "0", "7.02", "178.10", "2168.62", "1.07"} << 2 << "rate" << en << false;
        QTest::newRow("a source rate that reads 0")
            << "English" << QStringList{"0.68", "2.09", "7.02", "178.10", "2168.62", "$1.07"} << 6 << "rate" << en << false;
        QTest::newRow("a source rate of 0, German")
            << "German" << QStringList{"0", "2.09", "7.02", "178.10", "2168.62", "1.07"} << 1 << "rate" << de << false;
        // Numeric by the settings, but the rate is read with the point only.
        QTest::newRow("a rate with the computer's decimal comma")
            << "German" << QStringList{"0.68", "2,09", "7.02", "178.10", "2168.62", "1.07"} << 0 << "check" << de << true;
        QTest::newRow("a rate with a group separator")
            << "English" << QStringList{"0.68", "2.09", "7.02", "178.10", "2168.62", "1,07"} << 0 << "check" << en << false;
    }
    void badRates() {
        QFETCH(QString, language);
        QFETCH(QStringList, file);
        QFETCH(int, row);
        QFETCH(QString, focus);
        QFETCH(bool, comma);
        if (comma) setLocale(QLocale(QLocale::German, QLocale::Germany));
        writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        class frmCur* f = openCur();
        // A first conversion with the default rates, whose results must stay.
        convert(f, row, "5");
        const QStringList before = captions(f), tipsBefore = tooltips(f);
        QVERIFY(!before.join("").isEmpty());
        writeFile("Rates.qem", quotedLines(file));
        reactivate(f);
        QTest::mouseClick(f->cmdCnvrt, Qt::LeftButton);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        const MsgBoxSeam::Shown box = MsgBoxSeam::last();
        QTEST(box.text, "message");
        QCOMPARE(box.icon, int(vbCritical));
        QCOMPARE(box.buttons, int(vbOKOnly));
        QCOMPARE(box.title, QString(language == "German" ? "Zovikon" : "Quembly"));
        QCOMPARE(captions(f), before);
        QCOMPARE(tooltips(f), tipsBefore);
        if (focus == "check") {
            QCOMPARE(f->focusWidget(), static_cast<QWidget*>(f->chkSetRate));
        } else {
            QCOMPARE(frmSetRate()->focusWidget(), frmSetRate()->txtDat[row]);
            // The editor opens with that rate ready to be mended.
            withEditor(f, [row](class frmSetRate* e) { QCOMPARE(e->focusWidget(), e->txtDat[row]); }, false);
        }
    }

    void zeroTargetRate() {
        writeFile("Rates.qem", quotedLines({"0.68", "2.09", "0", "178.10", "2168.62", "1.07"}));
        class frmCur* f = openCur();
        convert(f, 0, "3");
        QCOMPARE(f->lblCur[3]->Caption(), QString("0.00 F"));
        QCOMPARE(f->lblCur[1]->Caption(), QString("2.04 £"));
    }

    void amountBeyondDouble_data() {
        QTest::addColumn<QString>("amount");
        // 1E+306 dollars are 2.2E+309 lire: beyond a double, while the
        // rows before the lira would still fit.
        QTest::newRow("product") << "1" + QString(306, u'0');
        QTest::newRow("amount") << QString(400, u'9');
        QTest::newRow("empty") << QString();
        QTest::newRow("a point alone") << ".";
    }
    void amountBeyondDouble() {
        QFETCH(QString, amount);
        class frmCur* f = openCur();
        convert(f, 0, "1");
        const QStringList before = captions(f), tipsBefore = tooltips(f);
        const QString last = f->LastResult;
        // Put whole: beyond fifteen digits the amount cannot be typed.
        f->txtCur[0]->setTextValue(amount);
        QTest::mouseClick(f->cmdCnvrt, Qt::LeftButton);
        QCOMPARE(captions(f), before);
        QCOMPARE(tooltips(f), tipsBefore);
        QCOMPARE(f->LastResult, last);
        QCOMPARE(f->focusWidget(), f->txtCur[0]);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    // --- The window -------------------------------------------------------------

    // A label chooses its currency when clicked, or reached by Tab and
    // pressed with Space.
    void labelChoosesRow_data() {
        QTest::addColumn<bool>("byKeys");
        QTest::newRow("click") << false;
        QTest::newRow("Tab and Space") << true;
    }
    void labelChoosesRow() {
        QFETCH(bool, byKeys);
        class frmCur* f = openCur();
        convert(f, 0, "100");
        const QStringList tips = tooltips(f);
        if (byKeys) {
            QApplication::setActiveWindow(f);
            for (int i = 0; i < 10 && f->focusWidget() != f->lblCur[4]; ++i) QTest::keyClick(f->focusWidget(), Qt::Key_Tab);
            QCOMPARE(f->focusWidget(), f->lblCur[4]);
            QTest::keyClick(f->lblCur[4], Qt::Key_Space);
        } else {
            QTest::mouseClick(f->lblCur[4], Qt::LeftButton);
        }
        QCOMPARE(f->ActiveRow, qint16(4));
        QCOMPARE(captions(f), QStringList(7, QString()));
        QCOMPARE(tooltips(f), tips);
        // The active row's label lies under its box, not in use: hidden.
        for (int i = 0; i < 7; ++i) QCOMPARE(f->txtCur[i]->isVisible(), i == 4);
        for (int i = 0; i < 7; ++i) QCOMPARE(f->lblCur[i]->isVisible(), i != 4);
        QCOMPARE(f->focusWidget(), f->txtCur[4]);
        QTest::mouseClick(f->cmdClr, Qt::LeftButton);
        QCOMPARE(tooltips(f), QStringList(7, QString()));
        QCOMPARE(f->ActiveRow, qint16(4));
    }

    // Readers know a currency's label by its currency, before a conversion
    // as after it, and hear its amount besides.
    void labelsHeardByCurrency_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("before a conversion") << "English" << "" << "British (UK) Pound" << "";
        QTest::newRow("after one") << "English" << "100" << "British (UK) Pound" << "68.00 £";
        QTest::newRow("German") << "German" << "100" << "Britisches (UK) Pfund" << "68.00 £";
    }
    void labelsHeardByCurrency() {
        QFETCH(QString, language);
        QFETCH(QString, amount);
        writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        class frmCur* f = openCur();
        if (!amount.isEmpty()) convert(f, 0, amount);
        QAccessibleInterface* pound = QAccessible::queryAccessibleInterface(f->lblCur[1]);
        QTEST(pound->text(QAccessible::Name), "name");
        QTEST(pound->text(QAccessible::Description), "description");
    }

    // Large amounts run long in lire and pesetas: every caption still shows
    // whole, with its sign.
    void largeAmountsFitTheirLabels() {
        class frmCur* f = openCur();
        convert(f, 0, "100000000");
        QCOMPARE(f->lblCur[5]->Caption(), QString("216862000000.00 Li"));
        for (const Label* l : f->lblCur) {
            if (l->Caption().isEmpty()) continue;
            QVERIFY2(QFontMetrics(l->font()).horizontalAdvance(l->text()) <= l->contentsRect().width(),
                     qPrintable(l->Caption()));
        }
    }

    void keyAndPasteFilter() {
        class frmCur* f = openCur();
        QTest::keyClicks(f->txtCur[0], "$1a,2-3.5");
        QCOMPARE(f->txtCur[0]->Text(), QString("123.5"));
        f->txtCur[0]->clear();
        QApplication::clipboard()->setText("US$ 12.50");
        QTest::keyClick(f->txtCur[0], Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(f->txtCur[0]->Text(), QString("12.50"));
    }

    void menuHiddenWhileOpen() {
        frmChoice()->Show();
        frmChoice()->activateNow();
        class frmCur* f = openCur();
        QVERIFY(!frmChoice()->isVisible());
        music().lastPlayed.clear();
        f->close();
        processEvents();
        QCOMPARE(music().lastPlayed.section(u'/', -1), QString("Stretch4.mp3"));
        QVERIFY(frmChoice()->isVisible());
        // Opened again: the dollar row, the check box unticked.
        f = openCur();
        QCOMPARE(f->ActiveRow, qint16(0));
        QVERIFY(!f->chkSetRate->isChecked());
    }

    void namesFitTheirLabels_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "English";
        QTest::newRow("German") << "German";
    }
    void namesFitTheirLabels() {
        QFETCH(QString, language);
        writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        class frmCur* f = openCur();
        const QList<Label*> labels{f->lblUSD, f->lblGBP, f->lblDEM, f->lblFRF, f->lblESP, f->lblITL, f->lblEURO};
        for (const Label* l : labels) {
            const QFontMetrics fm(l->font());
            const QRect room = l->contentsRect();
            // Every word on one line, and the wrapped name within the label.
            for (const QString& word : l->Caption().split(u' ', Qt::SkipEmptyParts))
                QVERIFY2(fm.horizontalAdvance(word) <= room.width(), qPrintable(word));
            const QRect needed = fm.boundingRect(room, int(l->alignment()) | Qt::TextWordWrap, l->Caption());
            QVERIFY2(needed.height() <= room.height(), qPrintable(l->Caption()));
            QVERIFY2(f->rect().contains(l->geometry()), qPrintable(l->Caption()));
        }
        QVERIFY(f->rect().contains(f->cmdClr->geometry()));
        QVERIFY(!f->cmdClr->geometry().intersects(f->cmdCnvrt->geometry()));
        QVERIFY(!f->chkSetRate->geometry().intersects(f->cmdCnvrt->geometry()));
    }

    // A million of any currency is shown whole in every result label.
    void largeResultsFit() {
        class frmCur* f = openCur();
        for (int row = 0; row < 7; ++row) {
            convert(f, row, "1000000");
            for (const Label* l : f->lblCur) {
                const int room = l->contentsRect().width() - l->indent();
                QVERIFY2(QFontMetrics(l->font()).horizontalAdvance(l->Caption()) <= room, qPrintable(l->Caption()));
            }
        }
    }

    void texts_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("editorCaption");
        QTest::addColumn<QStringList>("editorButtons");
        QTest::newRow("English") << "English" << "QEM Currency Converter"
                                 << QStringList{"U.S. Dollar",    "British (UK) Pound ", "German Mark",  "French Franc",
                                                "Spanish Peseta", "Italian Lira",        "European Euro"}
                                 << "Set Currency Rate" << QStringList{"Convert", "&Clear"} << "Set Currency Rate"
                                 << QStringList{"&Default", "&Save"};
        QTest::newRow("German") << "German" << "ZOV Währungs-Umrechner"
                                << QStringList{"U.S. Dollar",       "Britisches (UK) Pfund", "Deutsche Mark",
                                               "Französischer Franke", "Spanischer Peseta", "Italienischer Lira",
                                               "Europäischer Euro"}
                                << "Währungs- Kurs setzen" << QStringList{"Umrechnen", "&Leeren"} << "Kurs setzen"
                                << QStringList{"Vorgabe", "Sichern"};
    }
    void texts() {
        QFETCH(QString, language);
        QFETCH(QStringList, names);
        writeFile("QEM.ini", "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        class frmCur* f = openCur();
        QTEST(f->Caption(), "caption");
        const QList<Label*> labels{f->lblUSD, f->lblGBP, f->lblDEM, f->lblFRF, f->lblESP, f->lblITL, f->lblEURO};
        for (int i = 0; i < 7; ++i) QCOMPARE(labels[i]->Caption(), names[i]);
        QTEST(f->chkSetRate->text(), "check");
        QTEST((QStringList{f->cmdCnvrt->Caption(), f->cmdClr->Caption()}), "buttons");
        class frmSetRate* e = frmSetRate();
        QTEST(e->Caption(), "editorCaption");
        QTEST((QStringList{e->cmdDFLT->Caption(), e->cmdSave->Caption()}), "editorButtons");
        const QList<Label*> rateLabels{e->lblEng, e->lblGER, e->lblFRE, e->lblSPA, e->lblITA, e->lblEURO};
        QStringList rateNames;
        for (const Label* l : rateLabels) rateNames << l->Caption();
        QCOMPARE(rateNames, (QStringList{"GBP", "DEM", "FRF", "ESP", "ITL", "EURO"}));
        QStringList signs;
        for (const TextBox* b : e->txtSGN) signs << b->Text();
        QCOMPARE(signs, (QStringList{"$", "£", "DM", "F", "Pts", "Li", "€"}));
        QVERIFY(!e->txtDat[0]->isVisibleTo(e));
    }
};

QTEST_MAIN(TestCurrency)
#include "tst_currency.moc"
