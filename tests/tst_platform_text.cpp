// The multi-line text box: every typed, pasted and composed character
// passes the key-press handler; the text and the selection count line
// breaks as CR LF.
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

// A handler that lets digits and Backspace pass and drops everything else.
void digitsOnly(int& k) {
    if (!((k >= '0' && k <= '9') || k == 8)) k = 0;
}

// Opens the box's context menu as a right click would and chooses its
// Paste. The menu may run its own loop: Paste is chosen from inside it.
void pasteByContextMenu(QWidget* box) {
    bool chosen = false;
    auto choose = [&chosen] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* a : menu->actions())
            if (a->text().startsWith("&Paste")) {
                chosen = true;
                menu->close();
                a->trigger();
                return;
            }
        menu->close();
    };
    QTimer::singleShot(0, choose);
    QWidget* target = qobject_cast<QAbstractScrollArea*>(box) ? qobject_cast<QAbstractScrollArea*>(box)->viewport() : box;
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(target, &e);
    QTRY_VERIFY(chosen);
}
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
        QTest::newRow("paste filtered") << "" << "x#y,\r\nz" << "xy.\r\nz";
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
        TextBox line;
        TextArea area;
        line.onKeyPress = digitsOnly;
        area.onKeyPress = digitsOnly;
        QWidget* box = multiLine ? static_cast<QWidget*>(&area) : &line;
        box->show();
        box->setFocus();
        pasteByContextMenu(box);
        QCOMPARE(multiLine ? area.Text() : line.Text(), QString("12345"));
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
        QTest::newRow("Windows-1252") << QString::fromUtf8("é#,") << QString::fromUtf8("é.") << QList<int>{0xE9, '#', ','}
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
