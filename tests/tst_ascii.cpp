// The ASCII converter and its spinner: characters to codes, codes to
// characters (Windows-1252), the key filters with paste, the spinner's
// steps and limits, the texts in both languages and the way back to the menu.
#include "Forms/AsciiConverter/frmAscii.h"
#include "Forms/Main/frmChoice.h"
#include "Modules/modLanguage.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "Platform/UpDown.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QTest>

using namespace TestSupport;

namespace {
const QString tooBig = "Please type in a number between 0 and 255.";

// The menu is running and the converter opened from it, as a user has it.
class frmAscii* open() {
    frmChoice()->activateNow();
    auto* f = frmAscii();
    f->Show();
    QApplication::setActiveWindow(f);
    return f;
}


void clickDisplay(class frmAscii* f, int row) { QTest::mouseClick(f->txtDISPLAY[row], Qt::LeftButton); }

// A press on the spinner's upper or lower arrow.
void spin(UpDown* s, bool up) {
    QTest::mouseClick(s, Qt::LeftButton, Qt::NoModifier, QPoint(s->width() / 2, up ? 2 : s->height() - 3));
}
} // namespace

class TestAscii : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(true); }
    void cleanup() { tearDown(); }

    void opening() {
        auto* f = open();
        QVERIFY(!frmChoice()->isVisible());
        QCOMPARE(f->Caption(), QString("QEM Ascii Code Converter"));
        QCOMPARE(f->lblText->Caption(), QString("Text"));
        QCOMPARE(f->lblAscii->Caption(), QString("Ascii"));
        QCOMPARE(f->cmdOK->Caption(), QString("&OK"));
        QCOMPARE(f->cmdClr->Caption(), QString("&Clear"));
        QCOMPARE(f->ActiveRow, qint16(0));
        QVERIFY(f->txtEnter[0]->isVisible());
        QVERIFY(!f->txtEnter[1]->isVisible());
        QVERIFY(!f->cmdOK->isVisible());
        QVERIFY(!f->UpDown->isVisible());
        QCOMPARE(f->txtEnter[0]->maxLength(), 1);
        QCOMPARE(f->txtEnter[1]->maxLength(), 3);
        QCOMPARE(f->UpDown->Min(), 0);
        QCOMPARE(f->UpDown->Max(), 255);
        QCOMPARE(f->UpDown->Increment(), 1);
    }

    void characterToCode_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("code");
        QTest::newRow("A") << "A" << "" << "A" << "65";
        QTest::newRow("a then b") << "ab" << "" << "b" << "98";
        QTest::newRow("Backspace") << "A\b" << "" << "" << "8";
        QTest::newRow("Enter") << "x\r" << "" << "" << "13";
        QTest::newRow("blank") << " " << "" << " " << "32";
        QTest::newRow("digit") << "7" << "" << "7" << "55";
        QTest::newRow("umlaut") << QString::fromUtf8("ä") << "" << QString::fromUtf8("ä") << "228";
        QTest::newRow("euro sign") << QString::fromUtf8("€") << "" << QString::fromUtf8("€") << "128";
        QTest::newRow("y diaeresis") << QString::fromUtf8("ÿ") << "" << QString::fromUtf8("ÿ") << "255";
        QTest::newRow("paste keeps the last") << "^V" << "xyz" << "z" << "122";
        QTest::newRow("composed by a dead key") << QString::fromUtf8("{é}") << "" << QString::fromUtf8("é") << "233";
        // A character the code page lacks is its "?", never another's code beside itself.
        QTest::newRow("question mark") << "?" << "" << "?" << "63";
        QTest::newRow("beyond the code page: L stroke") << QString::fromUtf8("Ł") << "" << "?" << "63";
        QTest::newRow("pasted emoji") << "^V" << QString::fromUtf8("😀") << "?" << "63";
    }
    void characterToCode() {
        QFETCH(QString, keys);
        QFETCH(QString, clipboard);
        QApplication::clipboard()->setText(clipboard);
        auto* f = open();
        typeKeys(f->txtEnter[0], keys);
        QTEST(f->txtEnter[0]->text(), "entry");
        QTEST(f->txtDISPLAY[1]->text(), "code");
    }

    void controlLettersCount_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("code");
        QTest::newRow("Ctrl+A") << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::ControlModifier) << "1";
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << Qt::KeyboardModifiers(Qt::ControlModifier) << "3";
        QTest::newRow("Ctrl+M") << int(Qt::Key_M) << Qt::KeyboardModifiers(Qt::ControlModifier) << "13";
        QTest::newRow("Ctrl+Shift+Z")
            << int(Qt::Key_Z) << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier) << "26";
    }
    void controlLettersCount() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        auto* f = open();
        typeKeys(f->txtEnter[0], "x");
        QTest::keyClick(f->txtEnter[0], Qt::Key(key), modifiers);
        QTEST(f->txtDISPLAY[1]->text(), "code");
        // A control character cannot be shown: the entry box stays empty.
        QCOMPARE(f->txtEnter[0]->text(), QString());
        // In the code row the same keys type nothing and show nothing.
        clickDisplay(f, 1);
        typeKeys(f->txtEnter[1], "65");
        f->txtDISPLAY[1]->clear();
        QTest::keyClick(f->txtEnter[1], Qt::Key(key), modifiers);
        QVERIFY(f->txtDISPLAY[1]->text().isEmpty());
    }

    void codeToCharacter_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("character");
        QTest::addColumn<QString>("message");
        QTest::newRow("65") << "65" << "65" << "A" << "";
        QTest::newRow("empty is code 0") << "" << "" << QString(QChar(0)) << "";
        QTest::newRow("0") << "0" << "0" << QString(QChar(0)) << "";
        QTest::newRow("leading zeros") << "097" << "097" << "a" << "";
        QTest::newRow("128 euro sign") << "128" << "128" << QString::fromUtf8("€") << "";
        QTest::newRow("150 en dash") << "150" << "150" << QString(QChar(0x2013)) << "";
        QTest::newRow("129 unassigned") << "129" << "129" << QString(QChar(0x81)) << "";
        QTest::newRow("255") << "255" << "255" << QString::fromUtf8("ÿ") << "";
        QTest::newRow("256") << "256" << "256" << "before" << tooBig;
        QTest::newRow("999") << "999" << "999" << "before" << tooBig;
        QTest::newRow("letters dropped") << "6a5" << "65" << "A" << "";
        QTest::newRow("signs and points dropped") << "-6.6," << "66" << "B" << "";
        QTest::newRow("three digits at most") << "1234" << "123" << "{" << "";
        QTest::newRow("Backspace passes") << "67\b" << "6" << QString(QChar(6)) << "";
        QTest::newRow("Enter dropped") << "70\r" << "70" << "F" << "";
        QTest::newRow("paste filtered") << "^V" << "70" << "F" << "";
    }
    void codeToCharacter() {
        QFETCH(QString, keys);
        QFETCH(QString, message);
        QApplication::clipboard()->setText("7x0");
        auto* f = open();
        clickDisplay(f, 1);
        f->txtDISPLAY[0]->setText("before");
        typeKeys(f->txtEnter[1], keys);
        QTEST(f->txtEnter[1]->text(), "code");
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QTEST(f->txtDISPLAY[0]->text(), "character");
        if (message.isEmpty()) {
            QCOMPARE(MsgBoxSeam::shown().size(), 0);
        } else {
            QCOMPARE(MsgBoxSeam::shown().size(), 1);
            QCOMPARE(MsgBoxSeam::last().text, message);
            QCOMPARE(MsgBoxSeam::last().icon, int(vbExclamation));
            QCOMPARE(MsgBoxSeam::last().title, QString("Quembly"));
        }
        // Ready for the next code: focus in the code box, all of it selected.
        QCOMPARE(QApplication::focusWidget(), f->txtEnter[1]);
        QCOMPARE(f->txtEnter[1]->selectedText(), f->txtEnter[1]->text());
    }

    void rowChoice() {
        auto* f = open();
        typeKeys(f->txtEnter[0], "A");
        clickDisplay(f, 1);
        QCOMPARE(f->ActiveRow, qint16(1));
        QVERIFY(f->txtEnter[1]->isVisible());
        QVERIFY(!f->txtEnter[0]->isVisible());
        QVERIFY(f->cmdOK->isVisible());
        QVERIFY(f->UpDown->isVisible());
        QCOMPARE(QApplication::focusWidget(), f->txtEnter[1]);
        // Texts stay: the character row shows its display box with nothing
        // converted yet, the code row's entry is empty.
        QCOMPARE(f->txtDISPLAY[1]->text(), QString("65"));
        QCOMPARE(f->txtEnter[0]->text(), QString("A"));
        typeKeys(f->txtEnter[1], "66");
        clickDisplay(f, 0);
        QCOMPARE(f->ActiveRow, qint16(0));
        QVERIFY(f->txtEnter[0]->isVisible());
        QVERIFY(!f->txtEnter[1]->isVisible());
        QVERIFY(!f->cmdOK->isVisible());
        QVERIFY(!f->UpDown->isVisible());
        QCOMPARE(QApplication::focusWidget(), f->txtEnter[0]);
        QCOMPARE(f->txtEnter[0]->text(), QString("A"));
        QCOMPARE(f->txtEnter[1]->text(), QString("66"));
    }

    // The other row's display box is a button to it for the keyboard too:
    // Tab reaches it, Space or Enter chooses its row; a screen reader hears
    // a button named by the row's caption, with the code it shows, and
    // presses it (key 0).
    void rowChosenByKeys_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("a screen reader's press") << 0;
    }
    void rowChosenByKeys() {
        QFETCH(int, key);
        auto* f = open();
        f->txtEnter[0]->setFocus();
        typeKeys(f->txtEnter[0], "A");
        QTest::keyClick(f->txtEnter[0], Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f->txtDISPLAY[1]);
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(f->txtDISPLAY[1]);
        QCOMPARE(reader->role(), QAccessible::Button);
        QCOMPARE(reader->text(QAccessible::Name), QString("Ascii"));
        QCOMPARE(reader->text(QAccessible::Description), QString("65"));
        if (key) QTest::keyClick(f->txtDISPLAY[1], Qt::Key(key));
        else reader->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(f->ActiveRow, qint16(1));
        QCOMPARE(QApplication::focusWidget(), f->txtEnter[1]);
        // The display box under the entry box is not in use: hidden.
        QVERIFY(!f->txtDISPLAY[1]->isVisible());
        QVERIFY(f->txtDISPLAY[0]->isVisible());
    }

    void clear_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("character row") << 0;
        QTest::newRow("code row") << 1;
    }
    void clear() {
        QFETCH(int, row);
        auto* f = open();
        typeKeys(f->txtEnter[0], "A");
        clickDisplay(f, 1);
        typeKeys(f->txtEnter[1], "66");
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        if (row == 0) clickDisplay(f, 0);
        QTest::mouseClick(f->cmdClr, Qt::LeftButton);
        for (int i = 0; i < 2; ++i) {
            QVERIFY(f->txtEnter[i]->text().isEmpty());
            QVERIFY(f->txtDISPLAY[i]->text().isEmpty());
        }
        QCOMPARE(f->ActiveRow, qint16(row));
        QCOMPARE(QApplication::focusWidget(), f->txtEnter[row]);
    }

    void spinner_data() {
        QTest::addColumn<int>("start");     // the spinner's value before
        QTest::addColumn<QString>("typed"); // the code box's text before
        QTest::addColumn<bool>("up");
        QTest::addColumn<bool>("byKey");    // Up or Down on the spinner, else a click
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("messages");
        QTest::newRow("64 typed, up") << 0 << "64" << true << false << 65 << "65" << "A" << 0;
        QTest::newRow("64 typed, down") << 100 << "64" << false << false << 63 << "63" << "?" << 0;
        QTest::newRow("empty, up") << 50 << "" << true << false << 1 << "1" << QString(QChar(1)) << 0;
        QTest::newRow("0 typed, down stays at the minimum")
            << 5 << "0" << false << false << 0 << "0" << QString(QChar(0)) << 0;
        QTest::newRow("254 typed, up") << 0 << "254" << true << false << 255 << "255" << QString::fromUtf8("ÿ") << 0;
        QTest::newRow("255 typed, up stays at the maximum")
            << 10 << "255" << true << false << 255 << "255" << QString::fromUtf8("ÿ") << 0;
        QTest::newRow("255 typed, down goes on from it")
            << 10 << "255" << false << false << 254 << "254" << QString::fromUtf8("þ") << 0;
        QTest::newRow("300 typed, up: message, no step") << 10 << "300" << true << false << 10 << "300" << "before" << 1;
        QTest::newRow("300 typed, down: message, no step") << 10 << "300" << false << false << 10 << "300" << "before" << 1;
        QTest::newRow("250 typed, Up key: the focus stays on the spinner")
            << 0 << "250" << true << true << 251 << "251" << QString::fromUtf8("û") << 0;
        QTest::newRow("300 typed, Down key: message, the focus stays")
            << 10 << "300" << false << true << 10 << "300" << "before" << 1;
    }
    void spinner() {
        QFETCH(int, start);
        QFETCH(QString, typed);
        QFETCH(bool, up);
        QFETCH(bool, byKey);
        auto* f = open();
        clickDisplay(f, 1);
        f->UpDown->setValue(start);
        f->txtEnter[1]->clear();
        typeKeys(f->txtEnter[1], typed);
        f->txtDISPLAY[0]->setText("before");
        MsgBoxSeam::clear();
        if (byKey) {
            QTest::keyClick(f->txtEnter[1], Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), f->UpDown);
            QTest::keyClick(f->UpDown, up ? Qt::Key_Up : Qt::Key_Down);
        } else {
            spin(f->UpDown, up);
        }
        QTEST(f->UpDown->Value(), "value");
        QTEST(f->txtEnter[1]->text(), "code");
        QTEST(f->txtDISPLAY[0]->text(), "character");
        QTEST(int(MsgBoxSeam::shown().size()), "messages");
        if (!MsgBoxSeam::shown().isEmpty()) QCOMPARE(MsgBoxSeam::last().text, tooBig);
        // A click goes on in the code box, keys go on stepping.
        QCOMPARE(QApplication::focusWidget(), byKey ? static_cast<QWidget*>(f->UpDown) : f->txtEnter[1]);
        QCOMPARE(f->txtEnter[1]->selectedText(), f->txtEnter[1]->text());
    }

    void spinnerSetByProgram() {
        auto* f = open();
        clickDisplay(f, 1);
        // Setting the value converts at once, like a step does.
        f->UpDown->setValue(90);
        QCOMPARE(f->txtEnter[1]->text(), QString("90"));
        QCOMPARE(f->txtDISPLAY[0]->text(), QString("Z"));
    }

    void germanTexts() {
        writeFile("QEM.ini", "[Values]\r\nLanguage=German\r\n");
        auto* f = open();
        QCOMPARE(f->Caption(), QString("ZOV Ascii-Umsetzer"));
        QCOMPARE(f->cmdClr->Caption(), QString("&Leeren"));
        QCOMPARE(f->cmdOK->Caption(), QString("&OK"));
        QCOMPARE(f->lblText->Caption(), QString("Text"));
        QCOMPARE(f->lblAscii->Caption(), QString("Ascii"));
        clickDisplay(f, 1);
        typeKeys(f->txtEnter[1], "300");
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QCOMPARE(MsgBoxSeam::last().text, QString("Bitte geben Sie eine Zahl zwischen 0 und 255 ein"));
        QCOMPARE(MsgBoxSeam::last().title, QString("Zovikon"));
    }

    void germanNumberFormat() {
        setLocale(QLocale(QLocale::German, QLocale::Germany));
        auto* f = open();
        clickDisplay(f, 1);
        typeKeys(f->txtEnter[1], "65");
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QCOMPARE(f->txtDISPLAY[0]->text(), QString("A"));
        spin(f->UpDown, true);
        QCOMPARE(f->txtDISPLAY[0]->text(), QString("B"));
    }

    void backToMenu() {
        auto* f = open();
        QVERIFY(!frmChoice()->isVisible());
        f->close();
        processEvents();
        QVERIFY(!isFormLoaded<class frmAscii>());
        QVERIFY(frmChoice()->isVisible());
        QCOMPARE(music().lastPlayed.section(u'/', -1), QString("Stretch4.mp3"));
        // Opened again, it starts afresh on the character row.
        auto* g = open();
        QVERIFY(!frmChoice()->isVisible());
        QCOMPARE(g->ActiveRow, qint16(0));
        QVERIFY(g->txtEnter[0]->isVisible());
        QVERIFY(g->txtDISPLAY[1]->text().isEmpty());
    }
};

// The spinner itself, as every window uses it.
class TestUpDown : public QObject {
    Q_OBJECT
private slots:
    void steps_data() {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("increment");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("presses"); // u up, d down
        QTest::addColumn<QList<int>>("values");
        QTest::newRow("up and down") << 0 << 10 << 1 << 5 << "uud" << QList<int>{6, 7, 6};
        QTest::newRow("held at the maximum") << 0 << 10 << 1 << 9 << "uuu" << QList<int>{10, 10, 10};
        QTest::newRow("held at the minimum") << 0 << 10 << 1 << 1 << "ddd" << QList<int>{0, 0, 0};
        QTest::newRow("increment 5 stops at the limit") << 0 << 12 << 5 << 0 << "uuud" << QList<int>{5, 10, 12, 7};
        QTest::newRow("negative range") << -3 << 3 << 2 << 0 << "ddd" << QList<int>{-2, -3, -3};
    }
    void steps() {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, increment);
        QFETCH(int, start);
        QFETCH(QString, presses);
        QFETCH(QList<int>, values);
        UpDown s;
        s.resize(17, 32);
        s.setMin(min);
        s.setMax(max);
        s.setIncrement(increment);
        s.setValue(start);
        QList<int> changes;
        s.onChange = [&] { changes << s.Value(); };
        QList<int> seen;
        for (QChar p : presses) {
            spin(&s, p == u'u');
            seen << s.Value();
        }
        QCOMPARE(seen, values);
        // One change event per step that moved the value, none at a limit.
        QList<int> moved;
        int last = start;
        for (int v : values)
            if (v != last) moved << (last = v);
        QCOMPARE(changes, moved);
    }

    void setByProgram_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("changes");
        QTest::newRow("a new value") << 3 << 7 << 7 << 1;
        QTest::newRow("the same value") << 3 << 3 << 3 << 0;
        QTest::newRow("above the maximum") << 3 << 50 << 10 << 1;
        QTest::newRow("below the minimum") << 3 << -4 << 0 << 1;
    }
    void setByProgram() {
        QFETCH(int, start);
        QFETCH(int, set);
        UpDown s;
        s.setMax(10);
        s.setValue(start);
        int changes = 0;
        s.onChange = [&] { ++changes; };
        s.setValue(set);
        QTEST(s.Value(), "value");
        QTEST(changes, "changes");
    }

    void lowerMaximumKeepsValue() {
        UpDown s;
        s.resize(17, 32);
        s.setMax(100);
        s.setValue(80);
        s.setMax(50);
        QCOMPARE(s.Value(), 80);
        spin(&s, true);
        QCOMPARE(s.Value(), 80);
        spin(&s, false);
        QCOMPARE(s.Value(), 79);
    }

    void mouseDownRunsFirstAndMayCancel_data() {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("buttonValue");
        QTest::addColumn<int>("value");
        QTest::newRow("left button steps") << false << Qt::LeftButton << 1 << 6;
        QTest::newRow("cancelled") << true << Qt::LeftButton << 1 << 5;
        QTest::newRow("right button does not step") << false << Qt::RightButton << 2 << 5;
    }
    void mouseDownRunsFirstAndMayCancel() {
        QFETCH(bool, cancel);
        QFETCH(Qt::MouseButton, button);
        UpDown s;
        s.resize(17, 32);
        s.setValue(5);
        int seenValue = -1, seenButton = 0;
        s.onMouseDown = [&](int Button, int, int, int) {
            seenValue = s.Value();
            seenButton = Button;
            if (cancel) s.cancelStep();
        };
        QTest::mouseClick(&s, button, Qt::NoModifier, QPoint(8, 2));
        QCOMPARE(seenValue, 5);
        QTEST(seenButton, "buttonValue");
        QTEST(s.Value(), "value");
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestAscii ascii;
    TestUpDown upDown;
    int status = QTest::qExec(&ascii, argc, argv);
    status |= QTest::qExec(&upDown, argc, argv);
    return status;
}

#include "tst_ascii.moc"
