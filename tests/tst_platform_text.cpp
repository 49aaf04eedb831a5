// The multi-line text box: every typed, pasted and composed character
// passes the key-press handler; the text and the selection count line
// breaks as CR LF. The one-line box: pastes pass the handler and go in
// whole, in one edit; its typing limit bounds only what the user enters.
#include "Platform/Controls.h"
#include "Platform/TextArea.h"
#include "Platform/TextEditing.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>

using namespace TestSupport;

namespace {
// A box whose handler drops "#", turns "," into "." and notes every code.
struct Box {
    TextArea box;
    QList<int> codes;
    Box() {
        box.onKeyPress = [this](int& k) {
            codes << k;
            if (k == '#') k = 0;
            else if (k == ',') k = '.';
        };
        box.show();
        box.setFocus();
    }
};

// A one-line box whose handler notes every code, drops "#", turns "," into
// "." and keeps one point: it reads its box for an earlier one.
struct LineBox {
    TextBox box;
    QList<int> codes;
    explicit LineBox(bool withHandler = true) {
        if (withHandler)
            box.onKeyPress = [this](int& k) {
                codes << k;
                if (k == '#') k = 0;
                else if (k == ',') k = '.';
                if (k == '.' && box.Text().contains(u'.')) k = 0;
            };
        box.show();
        box.setFocus();
    }
};

// A handler that lets digits and Backspace pass and drops everything else.
void digitsOnly(int& k) {
    if (!((k >= '0' && k <= '9') || k == 8)) k = 0;
}

// A one-line or a multi-line box with that handler, shown, with the focus.
struct DigitBox {
    TextBox line;
    TextArea area;
    QWidget* box;
    explicit DigitBox(bool multiLine) : box(multiLine ? static_cast<QWidget*>(&area) : &line) {
        line.onKeyPress = digitsOnly;
        area.onKeyPress = digitsOnly;
        box->show();
        box->setFocus();
    }
    QString text() const { return box == &area ? area.Text() : line.Text(); }
};

} // namespace

class TestTextArea : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void typingAndPasting_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        QTest::newRow("enter makes CR LF") << "a\rb" << "" << "a\r\nb";
        QTest::newRow("backspace joins lines") << "a\r\bb" << "" << "ab";
        QTest::newRow("dropped and replaced") << "1#,5" << "" << "1.5";
        QTest::newRow("paste filtered, not replaced") << "" << "x#y,\r\nz" << "xy,\r\nz";
        QTest::newRow("paste with LF and CR") << "" << "p\nq\rr" << "p\r\nq\r\nr";
        QTest::newRow("national character") << QString::fromUtf8("ä€") << "" << QString::fromUtf8("ä€");
        QTest::newRow("paste outside Windows-1252") << "" << QString::fromUtf8("x日→😀") << QString::fromUtf8("x日→😀");
    }
    void typingAndPasting() {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        Box b;
        typeKeys(&b.box, typed);
        if (!pasted.isEmpty()) {
            QApplication::clipboard()->setText(pasted);
            QTest::keyClick(&b.box, Qt::Key_V, Qt::ControlModifier);
        }
        QTEST(b.box.Text(), "expected");
    }

    // The context menu's Paste passes the same filter as Shift+Insert.
    void contextMenuPasteFiltered_data() {
        QTest::addColumn<bool>("multiLine");
        QTest::newRow("one-line box") << false;
        QTest::newRow("multi-line box") << true;
    }
    void contextMenuPasteFiltered() {
        QFETCH(bool, multiLine);
        QApplication::clipboard()->setText("12abc,3-4\n5");
        DigitBox b(multiLine);
        QVERIFY(chooseFromContextMenu(b.box, "&Paste"));
        QCOMPARE(b.text(), QString("12345"));
    }

    // An input method that commits over text it committed before (a
    // reconversion, an autocorrection) replaces that text.
    void compositionReplaces_data() { contextMenuPasteFiltered_data(); }
    void compositionReplaces() {
        QFETCH(bool, multiLine);
        DigitBox b(multiLine);
        typeKeys(b.box, "{12}");
        QInputMethodEvent again(QString(), {});
        again.setCommitString("345", -1, 1);
        QApplication::sendEvent(b.box, &again);
        QCOMPARE(b.text(), QString("1345"));
    }

    // With an empty clipboard (no program owns it) a paste pastes nothing.
    void emptyClipboardPastesNothing_data() {
        QTest::addColumn<bool>("withHandler");
        QTest::newRow("with a key handler") << true;
        QTest::newRow("without one") << false;
    }
    void emptyClipboardPastesNothing() {
        QFETCH(bool, withHandler);
        TextArea box;
        if (withHandler) box.onKeyPress = digitsOnly;
        box.show();
        box.setFocus();
        box.setTextValue("ab");
        QApplication::clipboard()->setMimeData(new QMimeData);
        QTest::keyClick(&box, Qt::Key_Insert, Qt::ShiftModifier);
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        box.paste();
        QCOMPARE(box.Text(), QString("ab"));
    }

    void ctrlVDroppedPastesNothing() {
        Box b;
        b.box.onKeyPress = [&b](int& k) {
            b.codes << k;
            if (k == 22) k = 0;
        };
        QApplication::clipboard()->setText("abc");
        QTest::keyClick(&b.box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(b.box.Text(), QString());
        QCOMPARE(b.codes, QList<int>({22}));
    }

    // A character Windows-1252 lacks reaches the handler as 63, as a typed
    // one does, and goes in as itself; the handler can tell it by keyText.
    void composedTextPassesHandler_data() {
        QTest::addColumn<QString>("composed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QStringList>("keyTexts");
        QTest::newRow("Windows-1252") << QString::fromUtf8("é#,") << QString::fromUtf8("é,") << QList<int>{0xE9, '#', ','}
                                      << QStringList{QString::fromUtf8("é"), "#", ","};
        QTest::newRow("beyond Windows-1252") << QString::fromUtf8("ł?😀") << QString::fromUtf8("ł?😀")
                                             << QList<int>{'?', '?', '?'}
                                             << QStringList{QString::fromUtf8("ł"), "?", QString::fromUtf8("😀")};
    }
    void composedTextPassesHandler() {
        QFETCH(QString, composed);
        Box b;
        QStringList keyTexts;
        const EditKeys::KeyPress noting = b.box.onKeyPress;
        b.box.onKeyPress = [&](int& k) {
            keyTexts << b.box.keyText();
            noting(k);
        };
        QInputMethodEvent e(QString(), {});
        e.setCommitString(composed);
        QApplication::sendEvent(&b.box, &e);
        QTEST(b.box.Text(), "expected");
        QTEST(b.codes, "codes");
        QTEST(keyTexts, "keyTexts");
        QCOMPARE(b.box.keyText(), QString());
    }

    // What a paste into a one-line box keeps: everything the handler lets
    // pass, as pasted, but control characters.
    void oneLinePaste_data() {
        QTest::addColumn<bool>("withHandler");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QList<int>>("codes");
        const QString beyond = QString::fromUtf8("Łódź ✓ Ωmega");
        QTest::newRow("beyond Windows-1252, kept") << true << beyond << beyond
                                                   << QList<int>{63, 243, 100, 63, 32, 63, 32, 63, 109, 101, 103, 97};
        QTest::newRow("beyond Windows-1252, without a handler") << false << beyond << beyond << QList<int>{};
        QTest::newRow("control characters never go in") << true << QString::fromUtf8("a\vb\x1b\r\nc\td\u0085e")
                                                        << "a b c d e"
                                                        << QList<int>{'a', ' ', 'b', ' ', 'c', ' ', 'd', ' ', 'e'};
        QTest::newRow("control characters, without a handler")
            << false << QString::fromUtf8("a\vb\x1b\r\nc\td\u0085e") << "a b c d e" << QList<int>{};
        QTest::newRow("breaks between words one blank") << true << "\r\nCall\r\n\r\n\tBob \nand\x01" "Al\n"
                                                        << "Call Bob andAl"
                                                        << QList<int>{'C', 'a', 'l', 'l', ' ', 'B', 'o', 'b', ' ',
                                                                      'a', 'n', 'd', 'A', 'l'};
        QTest::newRow("dropped, not replaced") << true << "1#,5" << "1,5" << QList<int>{'1', '#', ',', '5'};
        QTest::newRow("the handler sees what passed before it")
            << true << "1.2.3" << "1.23" << QList<int>{'1', '.', '2', '.', '3'};
        QTest::newRow("beyond 16 bits, one character") << true << QString::fromUtf8("x😀") << QString::fromUtf8("x😀")
                                                       << QList<int>{'x', 63};
    }
    void oneLinePaste() {
        QFETCH(bool, withHandler);
        QFETCH(QString, pasted);
        LineBox b(withHandler);
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(&b.box, Qt::Key_Insert, Qt::ShiftModifier);
        QTEST(b.box.Text(), "expected");
        QTEST(b.codes, "codes");
    }

    // A line break pasted next to a word of the box parts the two words.
    void breaksBesideTheBoxsWords_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        QTest::newRow("after a word") << "Call" << 4 << "\r\nBob" << "Call Bob";
        QTest::newRow("after a blank") << "Call " << 5 << "\r\nBob" << "Call Bob";
        QTest::newRow("before a word") << "Bob" << 0 << "Call\t" << "Call Bob";
        QTest::newRow("at the end") << "Call" << 4 << "\r\n" << "Call";
    }
    void breaksBesideTheBoxsWords() {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(QString, pasted);
        LineBox b(false);
        b.box.setTextValue(text);
        b.box.setCursorPosition(caret);
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(&b.box, Qt::Key_Insert, Qt::ShiftModifier);
        QTEST(b.box.Text(), "expected");
    }

    // Every way of pasting passes the handler, which drops but does not
    // replace, and goes in as one edit: one change, taken back whole by one
    // undo.
    void oneLinePasteWays_data() {
        QTest::addColumn<QString>("way");
        for (const char* way : {"Shift+Insert", "Ctrl+V", "context menu", "drop", "composed"})
            QTest::newRow(way) << QString(way);
    }
    void oneLinePasteWays() {
        QFETCH(QString, way);
        const QString text = QString::fromUtf8("a\v1#,5Ł");
        LineBox b;
        b.box.setTextValue("z");
        int changes = 0;
        connect(&b.box, &QLineEdit::textChanged, [&changes] { ++changes; });
        QApplication::clipboard()->setText(text);
        if (way == "Shift+Insert") {
            QTest::keyClick(&b.box, Qt::Key_Insert, Qt::ShiftModifier);
        } else if (way == "Ctrl+V") {
            QTest::keyClick(&b.box, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(b.codes.takeFirst(), 22);
        } else if (way == "context menu") {
            QVERIFY(chooseFromContextMenu(&b.box, "&Paste"));
        } else if (way == "drop") {
            dropText(&b.box, text);
        } else {
            QInputMethodEvent e(QString(), {});
            e.setCommitString(text);
            QApplication::sendEvent(&b.box, &e);
        }
        QCOMPARE(b.box.Text(), QString::fromUtf8("za 1,5Ł"));
        QCOMPARE(b.codes, QList<int>({'a', ' ', '1', '#', ',', '5', 63}));
        QCOMPARE(changes, 1);
        b.box.undo();
        QCOMPARE(b.box.Text(), QString("z"));
    }

    // The typing limit (5) bounds what the user types, pastes or composes
    // (what the handler drops takes no room); what the program puts in is
    // kept whole.
    void typingLimit_data() {
        QTest::addColumn<bool>("withHandler");
        QTest::addColumn<QString>("putIn");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("typed up to the limit") << true << "" << "abcdefg" << "abcde";
        QTest::newRow("typed, without a handler") << false << "" << "abcdefg" << "abcde";
        QTest::newRow("pasted up to the limit") << true << "ab" << "^V" << "abwxy";
        QTest::newRow("composed up to the limit") << true << "abcd" << QString::fromUtf8("{éè}") << QString::fromUtf8("abcdé");
        QTest::newRow("put in by the program, kept whole") << true << "abcdefgh" << "" << "abcdefgh";
        QTest::newRow("a longer text takes no more") << true << "abcdefgh" << "x^V" << "abcdefgh";
        QTest::newRow("once shortened, typed up to the limit") << true << "abcdefgh" << "\b\b\b\bxy" << "abcdx";
    }
    void typingLimit() {
        QFETCH(bool, withHandler);
        QFETCH(QString, putIn);
        QFETCH(QString, keys);
        LineBox b(withHandler);
        b.box.setMaxLength(5);
        b.box.setTextValue(putIn);
        QApplication::clipboard()->setText("w#x#yz123");
        typeKeys(&b.box, keys);
        QTEST(b.box.Text(), "expected");
        QCOMPARE(b.box.maxLength(), 5);
    }

    void keyDownAndUp() {
        Box b;
        QList<int> ups;
        b.box.onKeyDown = [](int& k, int) {
            if (k == 'X') k = 0;
        };
        b.box.onKeyUp = [&ups](int& k, int) { ups << k; };
        int changes = 0;
        b.box.onChange = [&changes] { ++changes; };
        QTest::keyClicks(&b.box, "aXb");
        QCOMPARE(b.box.Text(), QString("ab"));
        QCOMPARE(ups, QList<int>({'A', 'X', 'B'}));
        QCOMPARE(changes, 2);
    }

    void lineBreaksOnSetting_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("CR LF") << "a\r\nb\r\n\r\nc";
        QTest::newRow("LF") << "a\nb\n\nc";
        QTest::newRow("CR") << "a\rb\r\rc";
    }
    void lineBreaksOnSetting() {
        QFETCH(QString, text);
        TextArea box;
        box.setTextValue(text);
        QCOMPARE(box.Text(), QString("a\r\nb\r\n\r\nc"));
        QCOMPARE(box.blockCount(), 4);
    }

    void lineEndsToLf_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("CR LF") << "a\r\nb\r\n" << "a\nb\n";
        QTest::newRow("CR") << "a\rb\r" << "a\nb\n";
        QTest::newRow("LF") << "a\nb\n" << "a\nb\n";
        QTest::newRow("mixed, CR before CR LF") << "a\r\r\nb\n\rc\r" << "a\n\nb\n\nc\n";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("large") << QString("line\r\n").repeated(2000000) << QString("line\n").repeated(2000000);
    }
    void lineEndsToLf() {
        QFETCH(QString, text);
        QTEST(CrLf::toLf(text), "expected");
    }

    // "ab", CR LF, "cd": a line break counts two positions.
    void selectionCountsCrLf_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("replaced");
        QTest::newRow("second line") << 4 << 2 << "cd" << "ab\r\nX\r\nY";
        QTest::newRow("across the break") << 1 << 4 << "b\r\nc" << "aX\r\nYd";
        QTest::newRow("beyond the end") << 5 << 10 << "d" << "ab\r\ncX\r\nY";
    }
    void selectionCountsCrLf() {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, selected);
        TextArea box;
        box.setTextValue("ab\r\ncd");
        box.setSelStart(start);
        box.setSelLength(length);
        QCOMPARE(box.SelText(), selected);
        QCOMPARE(box.SelStart(), start);
        QCOMPARE(box.SelLength(), int(selected.size()));
        box.setSelText("X\r\nY");
        QTEST(box.Text(), "replaced");
    }
};

QTEST_MAIN(TestTextArea)
#include "tst_platform_text.moc"
