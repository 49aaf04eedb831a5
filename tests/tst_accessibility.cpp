// Screen readers and the keyboard reach every control of every window: each
// window of the program, opened in English and in German as the user meets
// it, holds no visible control without an accessible name (also those the
// keyboard never reaches), every label's accessible name is its caption as
// shown, and a reader hears every combo box's caption, choice and items.
// Label and picture buttons take the focus and click by Space and Enter,
// the focus shows with enough contrast, and the menu's clock tells readers
// of a new time only.
#include "Forms/HangMan1P/frmHangman1p.h"
#include "Forms/HangMan2P/frmHangman2p.h"
#include "Forms/Main/frmAbout.h"
#include "Forms/Main/frmChoice.h"
#include "Forms/Translator/frmTrans.h"
#include "Forms/TypingMaster/frmKeyb.h"
#include "Modules/modHangman.h"
#include "Modules/modMain.h"
#include "Platform/Announce.h"
#include "Platform/Controls.h"
#include "Platform/Dialogs.h"
#include "Platform/MsgBox.h"
#include "Platform/Random.h"
#include "Platform/UpDown.h"
#include "TestSupport.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace TestSupport;

namespace {

QString accessibleName(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

// What an owner needs to find the control: its class, its text and where it lies.
QString describe(QWidget* w, QWidget* window) {
    QString text;
    if (auto* l = qobject_cast<Label*>(w)) text = l->Caption();
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
    else if (auto* c = qobject_cast<QComboBox*>(w)) text = c->currentText();
    if (text.isEmpty()) text = w->toolTip();
    const QPoint at = w->mapTo(window, QPoint(0, 0));
    return QStringLiteral("%1 \"%2\" at %3,%4").arg(QLatin1String(w->metaObject()->className()), text.left(40)).arg(at.x()).arg(at.y());
}

// What a reader says of a combo box: its caption (the labels tied to it),
// its current choice and how many items its list holds.
QString comboReading(QComboBox* c) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
    QStringList captions;
    for (const auto& [label, relation] : a->relations(QAccessible::Label)) captions << label->text(QAccessible::Name);
    QAccessibleInterface* list = a->child(0);
    return QStringLiteral("%1: %2, %3 items").arg(captions.join(u' '), a->text(QAccessible::Value)).arg(list ? list->childCount() : -1);
}

// Controls a user operates or reads, also those the keyboard never reaches
// (a box that is only shown, a picture clicked as a button); not the parts
// of another control (a combo box's text, a scroll bar).
bool isControl(QWidget* w, QWidget* window) {
    for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractSpinBox*>(p)) return false;
    if (qobject_cast<QScrollBar*>(w) || qobject_cast<QHeaderView*>(w)) return false;
    if (auto* s = qobject_cast<ClickSurface*>(w)) return s->isButton();
    // A box without a frame shows its text as a label does.
    if (auto* box = qobject_cast<QLineEdit*>(w)) return box->focusPolicy() != Qt::NoFocus || box->hasFrame();
    return w->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(w) ||
           qobject_cast<QAbstractScrollArea*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<UpDown*>(w);
}

// Whether a label or picture acts on the mouse: a click, a double click or
// a drop. (A press starts a drag, of its window or of a caption to a drop
// target, which is the drop target's to offer by keys.)
bool actsByMouse(const ClickSurface* s) { return s->onClick || s->onDblClick || s->acceptDrops(); }

// Whether a label or picture that acts on a click offers the same by keys
// (a stop of Tab that clicks on Space and Enter) and to readers (a press
// action).
bool clickReachable(ClickSurface* s) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(s);
    return (s->focusPolicy() & Qt::TabFocus) && a && a->actionInterface() &&
           a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction());
}

// The controls a reader cannot name, the labels it would name wrongly, the
// combo boxes whose caption, choice or items it cannot read, and what acts
// on a click but offers no key and no action to readers.
QStringList problems(QWidget* window) {
    QStringList found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->isWindow()) continue;
        if (auto* s = qobject_cast<ClickSurface*>(w); s && actsByMouse(s) && !clickReachable(s))
            found << describe(w, window) + QStringLiteral(": acts on a click or a drop, offers no key or action");
        if (auto* l = qobject_cast<Label*>(w)) {
            // Its caption as shown, with blanks for line breaks, or what it
            // does where a glyph or an amount stands for that.
            const QString caption = spokenText(l->UseMnemonic() ? captionText(l->Caption()) : l->Caption());
            const QString expected = l->functionName().isEmpty() ? caption : l->functionName();
            const QString name = accessibleName(l);
            if (!caption.isEmpty() && name != expected)
                found << describe(w, window) + QStringLiteral(": named \"%1\", not \"%2\"").arg(name, expected);
        }
        if (!isControl(w, window)) continue;
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            const QString shown = combo->isEditable() ? combo->lineEdit()->text() : combo->currentText();
            const QString heard = comboReading(combo);
            const QString expected = QStringLiteral("%1, %2 items").arg(shown).arg(combo->count());
            if (heard.startsWith(u':') || !heard.endsWith(QStringLiteral(": ") + expected))
                found << describe(w, window) + QStringLiteral(": heard \"%1\", not a caption and \"%2\"").arg(heard, expected);
        } else if (accessibleName(w).trimmed().isEmpty()) {
            found << describe(w, window) + QStringLiteral(": no accessible name");
        }
    }
    return found;
}

// The contrast of two colours as the guidelines for accessible web content
// reckon it, from 1 (the same) to 21 (black and white).
double contrast(QRgb a, QRgb b) {
    auto luminance = [](QRgb c) {
        auto channel = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// How strongly the focus shows on a control: the strongest contrast
// between the window's look with the focus on it and without the focus
// anywhere, over the control and a margin around it.
double focusContrast(QWidget* window, QWidget* control, const QImage& without) {
    const QImage with = window->grab().toImage();
    const QRect area = QRect(control->mapTo(window, QPoint(0, 0)), control->size()).adjusted(-3, -3, 3, 3) & with.rect();
    double strongest = 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            strongest = std::max(strongest, contrast(with.pixel(x, y), without.pixel(x, y)));
    return strongest;
}

// Every window of the program, and the viewer of a version history.
const QList<ProgramWindow>& walkedWindows() {
    static const QList<ProgramWindow> list = [] {
        QList<ProgramWindow> windows = programWindows();
        windows.append({QStringLiteral("version history"), [] {
                            Form::setModalHandler([](Form*) {});
                            frmAbout()->Show(vbModal);
                            frmAbout()->activateNow();
                            frmAbout()->oleEng->DoVerb();
                            return static_cast<QWidget*>(frmAbout()->oleEng->viewer());
                        }});
        return windows;
    }();
    return list;
}

// The controls Tab reaches, in order, from no focus at all; the window is
// made the active one first.
QList<QWidget*> tabStops(QWidget* window) {
    window->show();
    QApplication::setActiveWindow(window);
    QCoreApplication::processEvents();
    if (QWidget* f = window->focusWidget()) f->clearFocus();
    QList<QWidget*> reached;
    for (int i = 0; i < 200; ++i) {
        QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, Qt::Key_Tab);
        QWidget* f = window->focusWidget();
        if (!f || reached.contains(f)) break;
        reached << f;
    }
    return reached;
}

QWidget* openWalked(const QString& name) {
    for (const ProgramWindow& p : walkedWindows())
        if (p.name == name) return p.open();
    return nullptr;
}

// The window opened in a language, as the user meets it.
QWidget* openWalked(const QString& name, const QString& language) {
    writeFile(QStringLiteral("QEM.ini"), "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
    LoadLanguage();
    return openWalked(name);
}

// The shown button (push, label or picture button) that readers know by this name.
QWidget* buttonNamed(QWidget* window, const QString& name) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        auto* s = qobject_cast<ClickSurface*>(w);
        if ((qobject_cast<QAbstractButton*>(w) || (s && s->isButton())) && w->isVisibleTo(window) &&
            accessibleName(w) == name)
            return w;
    }
    return nullptr;
}

// The buttons a window draws in its own title bar, from the left.
QList<QWidget*> titleBarButtons(QWidget* window) {
    if (auto* m = qobject_cast<class frmChoice*>(window)) return {m->imgMin, m->imgExit};
    if (auto* h = qobject_cast<HangmanWindow*>(window)) return {h->lblCtrl[1], h->lblCtrl[0]};
    if (auto* t = qobject_cast<class frmTrans*>(window)) return {t->lblCtrl[1], t->lblCtrl[0]};
    return {};
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        tearDown();
        RandomSeam::clear();
    }

    void everyControlNamed_data() {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("language");
        for (const QString& language : {QStringLiteral("English"), QStringLiteral("German")})
            for (int i = 0; i < walkedWindows().size(); ++i)
                QTest::newRow(qPrintable(walkedWindows()[i].name + QStringLiteral(", ") + language)) << i << language;
    }
    void everyControlNamed() {
        QFETCH(int, window);
        QFETCH(QString, language);
        setUp(true);
        // Windows opened without the menu still speak the stored language.
        QWidget* w = openWalked(walkedWindows()[window].name, language);
        QVERIFY(w);
        QCoreApplication::processEvents();
        const QStringList found = problems(w);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("\n"))));
    }

    // What Tab reaches shows that it has the focus, with at least 3 : 1
    // contrast against its look without it: every control of the menu, and
    // the buttons (label, picture and push buttons, boxes clicked as
    // buttons) elsewhere.
    void focusShown_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("everyControl");
        QTest::newRow("menu") << "menu" << true;
        QTest::newRow("currency: the currencies") << "currency" << false;
        QTest::newRow("ascii: the rows") << "ascii" << false;
        QTest::newRow("rock paper scissors: the signs") << "sss" << false;
    }
    void focusShown() {
        QFETCH(QString, window);
        QFETCH(bool, everyControl);
        setUp(true);
        QWidget* w = openWalked(window);
        QVERIFY(w);
        const QList<QWidget*> stops = tabStops(w);
        QVERIFY(stops.size() > 1);
        w->focusWidget()->clearFocus();
        const QImage without = w->grab().toImage();
        QStringList weak;
        for (QWidget* f : stops) {
            auto* box = qobject_cast<QLineEdit*>(f);
            const bool button = qobject_cast<ClickSurface*>(f) || qobject_cast<PictureButton*>(f) || (box && box->isReadOnly());
            if (!everyControl && !button) continue;
            f->setFocus(Qt::TabFocusReason);
            const double c = focusContrast(w, f, without);
            if (c < 3) weak << describe(f, w) + QStringLiteral(": %1 : 1").arg(c, 0, 'f', 2);
        }
        QVERIFY2(weak.isEmpty(), qPrintable(weak.join(QStringLiteral("\n"))));
    }

    // Every label and picture clicked as a button is a stop of Tab (which
    // reaches it where no other control keeps Tab for itself), takes the
    // focus and is clicked by Space and by Enter.
    void labelButtonsByKeys_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("buttons");
        QTest::newRow("menu: converters, date, version, sound, language, minimise, close, exit") << "menu" << 16;
        QTest::newRow("currency: the currencies but the one typed") << "currency" << 6;
        QTest::newRow("rock paper scissors: the signs") << "sss" << 4;
        QTest::newRow("bank: add, delete, new, the registers") << "bank" << 8;
        QTest::newRow("interpreter: the direction") << "interpreter" << 1;
    }
    void labelButtonsByKeys() {
        QFETCH(QString, window);
        setUp(true);
        QWidget* w = openWalked(window);
        QVERIFY(w);
        w->show();
        QApplication::setActiveWindow(w);
        QStringList missed;
        int buttons = 0;
        for (ClickSurface* b : w->findChildren<ClickSurface*>()) {
            if (!b->isVisibleTo(w) || !b->isButton()) continue;
            ++buttons;
            b->setFocus(Qt::TabFocusReason);
            const bool focused = (b->focusPolicy() & Qt::TabFocus) && b->hasFocus();
            int clicks = 0;
            b->onClick = [&clicks] { ++clicks; };
            QTest::keyClick(b, Qt::Key_Space);
            QTest::keyClick(b, Qt::Key_Return);
            if (!focused || clicks != 2)
                missed << describe(b, w) + QStringLiteral(": %1, %2 clicks").arg(focused ? "focused" : "no focus").arg(clicks);
        }
        QVERIFY2(missed.isEmpty(), qPrintable(missed.join(QStringLiteral("\n"))));
        QTEST(buttons, "buttons");
    }

    // Within a window Enter on a focused button clicks that button, a push
    // button outside a dialog and a label button where the window gives
    // Enter to its default button otherwise, and nothing else.
    void enterClicksFocusedButton_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        QTest::newRow("bank: Print Account") << "bank" << "Print Account";
        QTest::newRow("hang man 1P: a letter") << "hangman1p" << "A";
        QTest::newRow("hang man 1P: the close box") << "hangman1p" << "Close";
    }
    void enterClicksFocusedButton() {
        QFETCH(QString, window);
        QFETCH(QString, button);
        setUp(true);
        QWidget* w = openWalked(window);
        QVERIFY(w);
        w->show();
        QApplication::setActiveWindow(w);
        QWidget* b = buttonNamed(w, button);
        QVERIFY2(b && b->isEnabled(), qPrintable(button));
        int clicks = 0;
        if (auto* s = qobject_cast<ClickSurface*>(b)) {
            s->onClick = [&clicks] { ++clicks; };
        } else {
            QObject::disconnect(b, SIGNAL(clicked(bool)), nullptr, nullptr);
            connect(static_cast<QAbstractButton*>(b), &QAbstractButton::clicked, this, [&clicks] { ++clicks; });
        }
        b->setFocus(Qt::TabFocusReason);
        const qsizetype boxes = MsgBoxSeam::shown().size();
        QTest::keyClick(b, Qt::Key_Return);
        QCOMPARE(clicks, 1);
        QCOMPARE(MsgBoxSeam::shown().size(), boxes);
    }

    // The buttons a window draws in its title bar are named by what they
    // do, not by their glyph ("X", "_", "^").
    void titleBarButtonsNamedByFunction_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("menu") << "menu" << "English" << QStringList{"Minimise", "Close"};
        QTest::newRow("hang man 1P, German") << "hangman1p" << "German" << QStringList{"Minimieren", "Schließen"};
        QTest::newRow("hang man 2P") << "hangman2p" << "English" << QStringList{"Minimise", "Close"};
        QTest::newRow("translator, German") << "translator" << "German" << QStringList{"Maximieren", "Schließen"};
    }
    void titleBarButtonsNamedByFunction() {
        QFETCH(QString, window);
        QFETCH(QString, language);
        setUp(true);
        QWidget* w = openWalked(window, language);
        QVERIFY(w);
        QStringList names;
        for (QWidget* b : titleBarButtons(w)) names << accessibleName(b);
        QTEST(names, "names");
    }

    // What a sighted user reads after an action, away from the focus, a
    // screen reader is told as a notification: a conversion's results, the
    // calculator's, a guess's outcome (the word spelled out, or the misses;
    // the solution when the word is lost).
    // Steps are typed into the focus, "[name]" presses the button so named.
    void resultsTold_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("told");
        QTest::newRow("length: 100.5 centimetres") << "length" << "English" << QStringList()
                                                   << "39.57 Inches, 3.30 Feet, 1.10 Yards, 1.01 Meters, "
                                                      "0.00 Kilometers: KM/H, 0.00 Miles: MPH";
        QTest::newRow("number systems, German: 10")
            << "numbersystems" << "German" << QStringList{"10", "[Umrechnen]"}
            << QString::fromUtf8("1010 Binär, 0001 0000 BKD, 12 Oktal, A Hexadezimal");
        QTest::newRow("calculator: 5 +") << "calculator" << "English" << QStringList{"5+"} << "5";
        QTest::newRow("hang man 1P: a miss") << "hangman1p" << "English" << QStringList() << "Wrong: T. 2 of 7 misses";
        QTest::newRow("hang man 1P, German: a hit")
            << "hangman1p" << "German" << QStringList{"c", "[OK]"} << "Richtig: C. - C E, C R E - -";
        QTest::newRow("hang man 2P: a hit") << "hangman2p" << "English" << QStringList{"a", "[OK]"}
                                            << "Right: A. - A -, - O -";
        QTest::newRow("hang man 1P: the word lost")
            << "hangman1p" << "English"
            << QStringList{"b", "[OK]", "d", "[OK]", "f", "[OK]", "g", "[OK]", "h", "[OK]"}
            << "Wrong: H. 7 of 7 misses. Solution: I C E, C R E A M";
        QTest::newRow("hang man 2P, German: the word lost")
            << "hangman2p" << "German"
            << QStringList{"b", "[OK]", "e", "[OK]", "f", "[OK]", "h", "[OK]", "i", "[OK]", "j", "[OK]"}
            << QString::fromUtf8("Falsch: J. 7 von 7 Fehlern. Lösung: C A T, D O G");
    }
    void resultsTold() {
        QFETCH(QString, window);
        QFETCH(QString, language);
        QFETCH(QStringList, steps);
        setUp(true);
        ReaderListening reader;
        QWidget* w = openWalked(window, language);
        QVERIFY(w);
        w->show();
        QApplication::setActiveWindow(w);
        for (const QString& step : steps) {
            if (!step.startsWith(u'[')) {
                typeKeys(w->focusWidget(), step);
                continue;
            }
            QWidget* b = buttonNamed(w, step.mid(1, step.size() - 2));
            QVERIFY2(b, qPrintable(step));
            if (auto* s = qobject_cast<ClickSurface*>(b)) s->click();
            else static_cast<QAbstractButton*>(b)->click();
        }
        QVERIFY(!reader.notices().isEmpty());
        QTEST(reader.notices().last(), "told");
    }

    // While the cheat is on no miss counts, and a miss is told without one.
    void cheatMissTellsNoCount_data() {
        QTest::addColumn<int>("players");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("told");
        QTest::newRow("one player") << 1 << "English" << "Wrong: Z.";
        QTest::newRow("two players, German") << 2 << "German" << "Falsch: Z.";
    }
    void cheatMissTellsNoCount() {
        QFETCH(int, players);
        QFETCH(QString, language);
        setUp(true);
        ReaderListening reader;
        writeFile(QStringLiteral("QEM.ini"), "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        LoadLanguage();
        writeFile(QStringLiteral("Hangman.qem"), "\"ice cream\"\r\n");
        frmChoice();
        MsgBoxSeam::queueInput(QStringLiteral("Ann"));
        MsgBoxSeam::queueInput(QStringLiteral("Bob"));
        HangmanWindow* f = players == 1 ? static_cast<HangmanWindow*>(frmHangman1p()) : frmHangman2p();
        f->Show();
        f->activateNow();
        // The cheat goes on before the word starts.
        f->lblFRAME->click();
        if (players == 2)
            for (int i = 0; i < 2; ++i) f->txt[i]->typeText(QStringLiteral("ab").mid(i, 1));
        f->cmdPROCEED->click();
        f->txtENTERL->setText(QStringLiteral("Z"));
        f->cmdOKL->click();
        QVERIFY(!reader.notices().isEmpty());
        QTEST(reader.notices().last(), "told");
    }

    // Each text told is a notice of its own, shown once and never renamed,
    // holding the text as its content too (what braille displays show): a
    // reader that reads late still reads every text as it was told.
    void noticesReadAsTold() {
        setUp(true);
        ReaderListening reader;
        QWidget window;
        auto* result = new QLabel(&window);
        window.show();
        const QStringList lines{"Bob: one", "Bob: two\r\nlines", "Bob: three", "Bob: four", "Bob: five"};
        for (const QString& line : lines) {
            tellReaders(result, line);
            QTest::qWait(50);
        }
        const QStringList told{"Bob: one", "Bob: two lines", "Bob: three", "Bob: four", "Bob: five"};
        QStringList read, readAsText;
        QSet<QAccessible::Id> notices;
        for (const ReaderListening::Heard& h : reader.heard()) {
            if (h.role != QAccessible::Notification) continue;
            QCOMPARE(h.type, QAccessible::ObjectShow);
            notices << h.id;
            QAccessibleInterface* notice = QAccessible::accessibleInterface(h.id);
            QVERIFY(notice && notice->isValid() && notice->textInterface());
            read << notice->text(QAccessible::Name);
            readAsText << notice->textInterface()->text(0, notice->textInterface()->characterCount());
        }
        QCOMPARE(reader.notices(), told);
        QCOMPARE(read, told);
        QCOMPARE(readAsText, told);
        QCOMPARE(notices.size(), told.size());
    }

    // A flood of texts keeps only the last few notices: what it costs stays
    // bounded, and the newest text is still there to read.
    void floodKeepsFewNotices() {
        setUp(true);
        ReaderListening reader;
        QWidget window;
        auto* result = new QLabel(&window);
        window.show();
        for (int i = 0; i < 1000; ++i) tellReaders(result, QStringLiteral("line %1").arg(i));
        const QList<QWidget*> live = window.findChildren<QWidget*>(QStringLiteral("qem_reader_notice"));
        QVERIFY2(!live.isEmpty() && live.size() <= 20, qPrintable(QString::number(live.size())));
        QCOMPARE(reader.notices().size(), 1000);
        QAccessibleInterface* last = QAccessible::accessibleInterface(reader.heard().last().id);
        QVERIFY(last);
        QCOMPARE(last->textInterface()->text(0, 20), QStringLiteral("line 999"));
    }

    // A reader's call of an action the program adds returns before the
    // action opens its dialog, as the toolkit's own press does: the dialog
    // comes once the call is answered.
    void readerActionReturnsBeforeItsDialog_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control"); // a button's name; "" the typing window's duplication box
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("typing: the duplication box's font") << "typing" << "" << "Choose Font" << "font only";
        // Rock against the computer's rock.
        QTest::newRow("rock-paper-scissors: a sign pressed") << "sss" << "ROCK" << "Press" << "Tie";
    }
    void readerActionReturnsBeforeItsDialog() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, action);
        QFETCH(QString, dialog);
        setUp(true);
        ReaderListening reader;
        QWidget* w = openWalked(window, QStringLiteral("English"));
        QVERIFY(w);
        QWidget* called = control.isEmpty() ? static_cast<QWidget*>(frmKeyb()->txtOutput) : buttonNamed(w, control);
        QVERIFY(called);
        RandomSeam::script({0.1});
        DialogSeam::clear();
        MsgBoxSeam::clear();
        FontChoice choice;
        choice.font = QFont(QStringLiteral("DejaVu Serif"), 20);
        DialogSeam::queueFont(choice);
        QAccessibleActionInterface* actions = QAccessible::queryAccessibleInterface(called)->actionInterface();
        QVERIFY(actions);
        QVERIFY2(actions->actionNames().contains(action), qPrintable(actions->actionNames().join(u',')));
        actions->doAction(action);
        QVERIFY(DialogSeam::shown().isEmpty() && MsgBoxSeam::shown().isEmpty());
        processEvents();
        QStringList shown;
        for (const DialogSeam::Shown& d : DialogSeam::shown()) shown << d.kind;
        for (const auto& box : MsgBoxSeam::shown()) shown << box.text;
        QCOMPARE(shown, QStringList{dialog});
    }

    // The menu's clock tells screen readers of a new time only, not of
    // every tick that shows the same one.
    void clockTellsOnlyChanges() {
        setUp(true);
        // Every notice to screen readers looks up the object's interface and
        // asks whether it is valid, also where no reader listens (as here):
        // the labels' interfaces count how often they are asked.
        static QHash<QObject*, int> notices;
        notices.clear();
        struct Counting : QAccessibleWidget {
            using QAccessibleWidget::QAccessibleWidget;
            bool isValid() const override {
                ++notices[object()];
                return QAccessibleWidget::isValid();
            }
        };
        const QAccessible::InterfaceFactory counting = [](const QString& key, QObject* o) -> QAccessibleInterface* {
            if (key != QLatin1String("Label")) return nullptr;
            return new Counting(static_cast<QWidget*>(o), QAccessible::StaticText);
        };
        QAccessible::installFactory(counting);
        class frmChoice* menu = frmChoice();
        QAccessible::removeFactory(counting);
        menu->TimerTime->fire();
        const int before = notices.value(menu->lblTime);
        for (int i = 0; i < 60; ++i) menu->TimerTime->fire();
        QCOMPARE(notices.value(menu->lblTime) - before, 0);
        setNow(QDateTime(QDate(2026, 3, 15), QTime(10, 0, 1)));
        menu->TimerTime->fire();
        QVERIFY(notices.value(menu->lblTime) > before);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
