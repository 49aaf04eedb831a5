// The typing trainer: words and words per minute; a run stepped tick by
// tick from "GO" through the first key to its result, stopped early and
// started again; the key each typed character lights on the US and the
// German keyboard, and the characters that close the window; templates
// opened as UTF-8 and as Windows-1252; fonts, spinner, sound, languages.
#include "Forms/Main/frmChoice.h"
#include "Forms/TypingMaster/frmKeyb.h"
#include "Modules/modLanguage.h"
#include "Platform/App.h"
#include "Platform/Dialogs.h"
#include "Platform/KeyboardLayout.h"
#include "Platform/Memory.h"
#include "Platform/MsgBox.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QInputMethod>
#include <QRadioButton>
#include <QLabel>
#include <QTest>

using namespace TestSupport;

namespace {

class frmKeyb* openFromMenu(const QString& keyboardLanguage = QStringLiteral("0409")) {
    KeyboardLayoutSeam::choose(keyboardLanguage);
    frmChoice();
    auto* f = frmKeyb();
    f->Show();
    return f;
}

QString clock(const class frmKeyb* f) { return f->lblMin->Caption() + u':' + f->lblSec->Caption(); }

// One tick of the countdown, only while it runs by itself.
void tick(class frmKeyb* f, int times = 1) {
    for (int i = 0; i < times; ++i) {
        QVERIFY2(f->TimerTime->running(), qPrintable(QStringLiteral("stopped at ") + clock(f)));
        f->TimerTime->fire();
    }
}

// A key goes down (and stays down): Backspace, Tab, Enter, Escape by their
// keys, any other character as the keyboard types it.
void press(QWidget* box, QChar c) {
    if (c == u'\b') QTest::keyPress(box, Qt::Key_Backspace);
    else if (c == u'\t') QTest::keyPress(box, Qt::Key_Tab);
    else if (c == u'\r') QTest::keyPress(box, Qt::Key_Return);
    else if (c == u'\x1b') QTest::keyPress(box, Qt::Key_Escape);
    else QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QList<int> keysShownPressed(const class frmKeyb* f) {
    const bool german = f->KeyboardLanguage == QLatin1String("0407");
    QList<int> lit;
    for (const auto& [index, label] : (german ? f->lblKeyDe : f->lblKey).asKeyValueRange())
        if (label->palette().color(QPalette::WindowText) == Qt::white) lit << index;
    return lit;
}

} // namespace

class TestTyping : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(true); }
    void cleanup() {
        KeyboardLayoutSeam::clear();
        tearDown();
    }

    void countWords_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("words");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("a, blank, b") << "a b" << 2;
        QTest::newRow("two blanks between") << "a  b" << 2;
        QTest::newRow("leading blank") << " a" << 1;
        QTest::newRow("trailing blank") << "ab " << 1;
        QTest::newRow("a single blank") << " " << 0;
        QTest::newRow("lines without blanks") << "ab\r\ncd" << 2;
        QTest::newRow("a tab separates") << "a\tb" << 2;
        QTest::newRow("three lines of two words") << "alpha beta\ngamma delta\nepsilon zeta" << 6;
        QTest::newRow("two blanks after a full stop") << "One.  Two." << 2;
    }
    void countWords() {
        QFETCH(QString, text);
        QTEST(TypingRun::countWords(text), "words");
    }

    void wordsPerMinute_data() {
        QTest::addColumn<int>("words");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("wpm");
        QTest::newRow("12.5 to the even 12") << 25 << 2 << 12;
        QTest::newRow("13.5 to the even 14") << 27 << 2 << 14;
        QTest::newRow("below a half") << 10 << 3 << 3;
        QTest::newRow("none") << 0 << 1 << 0;
    }
    void wordsPerMinute() {
        QFETCH(int, words);
        QFETCH(int, minutes);
        QTEST(TypingRun::wordsPerMinute(words, minutes), "wpm");
    }

    // One minute: the clock stands until the first key, shows 00:00 after
    // sixty ticks and gives the result at the next one.
    void oneMinuteRun() {
        auto* f = openFromMenu();
        f->UpDown->setValue(1);
        f->chkStart->click();
        QVERIFY(!f->UpDown->isEnabled());
        QVERIFY(!f->TimerTime->running());
        QString shownDuringResult;
        MsgBoxSeam::queueAction([&] { shownDuringResult = f->txtOutput->Text(); });
        typeKeys(f->txtOutput, "The quick brown fox");
        QCOMPARE(clock(f), "01:00");
        tick(f);
        QCOMPARE(clock(f), "00:59");
        tick(f, 59);
        QCOMPARE(clock(f), "00:00");
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        tick(f);
        QCOMPARE(MsgBoxSeam::last().text, "You typed 4 words per minute");
        QCOMPARE(MsgBoxSeam::last().icon, int(vbInformation));
        QCOMPARE(shownDuringResult, "The quick brown fox");
        QCOMPARE(f->lblWPM->Caption(), "4 WPM");
        QCOMPARE(clock(f), "01:00");
        QVERIFY(!f->chkStart->isChecked());
        QVERIFY(!f->TimerTime->running());
        QVERIFY(f->txtOutput->Text().isEmpty());
        QVERIFY(!f->txtOutput->isEnabled());
        QVERIFY(f->UpDown->isEnabled());
    }

    // A run stopped halfway gives no result; the next one counts its full
    // two minutes again and divides by two.
    void earlyStopAndRestart() {
        auto* f = openFromMenu();
        f->chkStart->click();
        typeKeys(f->txtOutput, "a b c");
        tick(f, 30);
        QCOMPARE(clock(f), "01:30");
        f->chkStart->click();
        QVERIFY(!f->TimerTime->running());
        QVERIFY(f->txtOutput->Text().isEmpty());
        f->chkStart->click();
        QCOMPARE(clock(f), "02:00");
        typeKeys(f->txtOutput, QStringLiteral("w ").repeated(24) + u'w');
        tick(f, 120);
        QCOMPARE(clock(f), "00:00");
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        tick(f);
        QCOMPARE(MsgBoxSeam::last().text, "You typed 12 words per minute");
    }

    void armedWithoutTyping() {
        auto* f = openFromMenu();
        f->chkStart->click();
        QVERIFY(f->txtOutput->isEnabled());
        QVERIFY(!f->TimerTime->running());
        f->chkStart->click();
        QVERIFY(!f->txtOutput->isEnabled());
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QCOMPARE(f->lblWPM->Caption(), "0 WPM");
    }

    // A key lights while it is down and returns to rest with the next key
    // up; -1: the keyboard has no key for it, which ends the practice.
    void keyLights_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::newRow("US: A") << "0409" << "A" << 65;
        QTest::newRow("US: a") << "0409" << "a" << 65;
        QTest::newRow("US: ? on the / key") << "0409" << "?" << 47;
        QTest::newRow("US: ! on the 1 key") << "0409" << "!" << 49;
        QTest::newRow("US: blank") << "0409" << " " << 32;
        QTest::newRow("US: Enter") << "0409" << "\r" << 13;
        QTest::newRow("US: Backspace") << "0409" << "\b" << 8;
        QTest::newRow("US: Tab") << "0409" << "\t" << 9;
        QTest::newRow("US: no key for e acute") << "0409" << QString::fromUtf8("é") << -1;
        QTest::newRow("US: no key for a umlaut") << "0409" << QString::fromUtf8("ä") << -1;
        QTest::newRow("US: no key for Escape") << "0409" << "\x1b" << -1;
        QTest::newRow("German: a umlaut") << "0407" << QString::fromUtf8("ä") << 196;
        QTest::newRow("German: A umlaut") << "0407" << QString::fromUtf8("Ä") << 196;
        QTest::newRow("German: ? on the sharp s key") << "0407" << "?" << 223;
        QTest::newRow("German: z") << "0407" << "z" << 90;
        QTest::newRow("German: ' on the # key") << "0407" << "'" << 35;
        QTest::newRow("German: ` on the acute key") << "0407" << "`" << 180;
        QTest::newRow("German: no key for the at sign") << "0407" << "@" << -1;
        QTest::newRow("German: no key for <") << "0407" << "<" << -1;
        QTest::newRow("German: no key for the euro") << "0407" << QString::fromUtf8("€") << -1;
        QTest::newRow("German: no key for {") << "0407" << "{" << -1;
        QTest::newRow("German: no key for Escape") << "0407" << "\x1b" << -1;
        QTest::newRow("another language id: the US keyboard") << "0807" << QString::fromUtf8("ä") << -1;
    }
    void keyLights() {
        QFETCH(QString, language);
        QFETCH(QString, typed);
        QFETCH(int, key);
        auto* f = openFromMenu(language);
        QCOMPARE(f->imgKey.size(), 58);
        QCOMPARE(f->imgKeyDe.size(), 58);
        QCOMPARE(f->fraKeybDe->isVisible(), language == "0407");
        QCOMPARE(f->fraKeybEng->isVisible(), language != "0407");
        f->chkStart->click();
        typeKeys(f->txtOutput, "x");
        press(f->txtOutput, typed[0]);
        if (key >= 0) {
            QCOMPARE(keysShownPressed(f), QList<int>{key});
            QCOMPARE(f->LastKey, key);
            QTest::keyRelease(f->txtOutput, Qt::Key_Shift);
            QVERIFY(keysShownPressed(f).isEmpty());
            QVERIFY(MsgBoxSeam::shown().isEmpty());
            return;
        }
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QVERIFY(MsgBoxSeam::last().text.startsWith("Problem: txtOutput_KeyPress\n340: "));
        QVERIFY(MsgBoxSeam::last().text.contains("It must be US-American or German!"));
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        // The last key shown stays the last existing one, so no key up
        // raises the error a second time.
        QCOMPARE(f->LastKey, int('X'));
        QTest::keyRelease(f->txtOutput, Qt::Key_Shift);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        processEvents();
        QVERIFY(!isFormLoaded<class frmKeyb>());
        QVERIFY(frmChoice()->isVisible());
    }

    // During a run (and when armed) Tab types a tab and leaves the focus in
    // the box, so the next blank is typed there too instead of pressing
    // "GO"; Shift+Tab and Ctrl+Tab leave the box, so that the keyboard
    // reaches "GO" and the other controls during a run.
    void tabDuringARun_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Tab is typed") << "a" << int(Qt::Key_Tab) << int(Qt::NoModifier) << "a\t " << "Duplication";
        QTest::newRow("Shift+Tab back to Open") << "a" << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << "a"
                                                << "Open";
        QTest::newRow("Ctrl+Tab on to GO") << "a" << int(Qt::Key_Tab) << int(Qt::ControlModifier) << "a" << "GO";
        QTest::newRow("armed: Shift+Tab back to Open") << "" << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << ""
                                                       << "Open";
    }
    void tabDuringARun() {
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        auto* f = openFromMenu();
        f->chkStart->click();
        typeKeys(f->txtOutput, before);
        QTest::keyClick(f->focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        // A blank goes where the focus now is ("GO" would end the run).
        if (f->focusWidget() != f->chkStart) QTest::keyClick(f->focusWidget(), Qt::Key_Space);
        QTEST(f->txtOutput->Text(), "text");
        QTEST(f->focusWidget()->accessibleName(), "focus");
        QVERIFY(f->chkStart->isChecked());
        QCOMPARE(f->TimerTime->running(), !before.isEmpty());
    }

    // The countdown is stopped before the error's box shows, so the run's
    // end cannot put a second box behind it.
    void keyboardErrorStopsTheClock() {
        auto* f = openFromMenu();
        f->UpDown->setValue(1);
        f->chkStart->click();
        typeKeys(f->txtOutput, "a");
        tick(f, 60);
        bool runningDuringBox = true;
        MsgBoxSeam::queueAction([&] { runningDuringBox = f->TimerTime->running(); });
        press(f->txtOutput, QChar(0xe9));
        QVERIFY(!runningDuringBox);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
    }

    void clickSound_data() {
        QTest::addColumn<bool>("soundOn");
        QTest::addColumn<QString>("played");
        QTest::newRow("ON: the click") << true << "Type.wav";
        QTest::newRow("OFF: silent") << false << "";
    }
    void clickSound() {
        QFETCH(bool, soundOn);
        auto* f = openFromMenu();
        (soundOn ? f->optSoundOn : f->optSoundOff)->click();
        f->chkStart->click();
        music().lastPlayed.clear();
        typeKeys(f->txtOutput, "k");
        QTEST(music().lastPlayed.section(u'/', -1), "played");
    }

    // A template is read whole or not at all: a failed read, a pipe or a
    // device leaves the template as it was and says why.
    void openTemplate_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        const QString before = QStringLiteral("before");
        QTest::newRow("UTF-8") << QByteArray("Gr\xc3\xbc\xc3\x9f" "e\r\nzwei") << "t.txt" << ""
                               << QString::fromUtf8("Grüße\r\nzwei") << "";
        QTest::newRow("Windows-1252") << QByteArray("Gr\xfc\xdf" "e \x80") << "t.txt" << ""
                                      << QString::fromUtf8("Grüße €") << "";
        QTest::newRow("UTF-16 with its byte-order mark")
            << QByteArray("\xff\xfeG\0r\0\xfc\0\xdf\0" "e\0", 12) << "t.txt" << "" << QString::fromUtf8("Grüße") << "";
        QTest::newRow("a file without a dot") << QByteArray("plain") << "README" << "" << "plain" << "";
        QTest::newRow("empty file keeps the template") << QByteArray() << "t.txt" << "" << before << "";
        QTest::newRow("cancelled") << QByteArray("x") << "" << "" << before << "";
        QTest::newRow("file gone") << QByteArray() << "gone.txt" << "" << before
                                   << "Problem: OpenFile\n53: File not found";
        const QByteArray text = QByteArray("a line to copy\r\n").repeated(5000);
        QTest::newRow("reading fails part-way") << text << "in.txt" << "I/O error" << before
                                                << "Problem: OpenFile\n57: Device I/O error (\"in.txt\" could not be read)";
        QTest::newRow("more than memory holds") << QByteArray("a template") << "t.txt" << "short of memory" << before
                                                << "Problem: OpenFile\n7: Out of memory";
        QTest::newRow("a pipe") << QByteArray() << "in.txt" << "pipe" << before
                                << "Problem: OpenFile\n75: Path/File access error (\"in.txt\" is not a regular file)";
        QTest::newRow("a link to a device")
            << QByteArray() << "in.txt" << "device" << before
            << "Problem: OpenFile\n75: Path/File access error (\"in.txt\" is not a regular file)";
    }
    void openTemplate() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, chosen);
        QFETCH(QString, fault);
        auto* f = openFromMenu();
        f->txtInput->setTextValue(QStringLiteral("before"));
        if (fault == "short of memory") writeFile(chosen, bytes), Memory::failAbove(bytes.size());
        else if (!fault.isEmpty()) makeUnreadable(chosen, fault, bytes);
        else if (chosen != "gone.txt") writeFile(QStringLiteral("t.txt"), bytes), writeFile(QStringLiteral("README"), bytes);
        DialogSeam::queueFile(chosen.isEmpty() ? QString() : App::file(chosen));
        QTest::mouseClick(f->cmdOpenFile, Qt::LeftButton);
        QTEST(f->txtInput->Text(), "shown");
        QTEST(MsgBoxSeam::shown().isEmpty() ? QString() : MsgBoxSeam::last().text, "message");
        QCOMPARE(DialogSeam::shown().value(0).title, "Opening File");
        QCOMPARE(DialogSeam::shown().value(0).filter, "All Files (*.*)|*.*");
    }

    // Name and size come from the dialog, nothing else; a disabled
    // duplication box opens no dialog.
    void fonts() {
        auto* f = openFromMenu();
        FontChoice choice;
        choice.font = QFont(QStringLiteral("DejaVu Serif"), 20);
        choice.font.setBold(true);
        DialogSeam::queueFont(choice);
        QTest::mouseDClick(f->txtInput->viewport(), Qt::LeftButton);
        QCOMPARE(f->txtInput->font().family(), "DejaVu Serif");
        QCOMPARE(f->txtInput->font().pointSizeF(), 20.0);
        QVERIFY(!f->txtInput->font().bold());
        // One font dialog: no colour dialog follows it.
        QCOMPARE(DialogSeam::shown().last().kind, QString("font only"));
        DialogSeam::queueFontCancel();
        QTest::mouseDClick(f->txtInput->viewport(), Qt::LeftButton);
        QCOMPARE(f->txtInput->font().pointSizeF(), 20.0);
        QTest::mouseDClick(f->txtOutput->viewport(), Qt::LeftButton);
        QCOMPARE(DialogSeam::shown().size(), 2);
    }

    // The font dialog of the focused box by Ctrl+Shift+F, and by the action a
    // screen reader finds on the box (with that key), in the template and in
    // the duplication box during a run: the run goes on, nothing is typed.
    void fontsByKeysAndReaders_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("duringARun");
        QTest::addColumn<bool>("byReader");
        QTest::addColumn<QString>("action");
        QTest::newRow("template: Ctrl+Shift+F") << "English" << false << false << "Choose Font";
        QTest::newRow("template: the reader's action") << "English" << false << true << "Choose Font";
        QTest::newRow("duplication box, during a run: Ctrl+Shift+F") << "English" << true << false << "Choose Font";
        QTest::newRow("German: duplication box, during a run: the reader's action")
            << "German" << true << true << QString::fromUtf8("Schriftart wählen");
    }
    void fontsByKeysAndReaders() {
        QFETCH(QString, language);
        QFETCH(bool, duringARun);
        QFETCH(bool, byReader);
        QFETCH(QString, action);
        writeFile(QStringLiteral("QEM.ini"), "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        ReaderListening reader;
        auto* f = openFromMenu();
        QApplication::setActiveWindow(f);
        TextArea* box = duringARun ? f->txtOutput : f->txtInput;
        if (duringARun) {
            f->chkStart->click();
            typeKeys(box, "ab");
        } else {
            box->setFocus();
        }
        FontChoice choice;
        choice.font = QFont(QStringLiteral("DejaVu Serif"), 20);
        DialogSeam::queueFont(choice);
        QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(box);
        QVERIFY(heard && heard->actionInterface() && heard->textInterface());
        QVERIFY2(heard->actionInterface()->actionNames().contains(action),
                 qPrintable(heard->actionInterface()->actionNames().join(u',')));
        QCOMPARE(heard->actionInterface()->keyBindingsForAction(action), QStringList{"Ctrl+Shift+F"});
        if (byReader) {
            // A reader's action runs once its call has returned.
            heard->actionInterface()->doAction(action);
            processEvents();
        } else QTest::keyClick(box, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(DialogSeam::shown().size(), 1);
        QCOMPARE(DialogSeam::shown().last().kind, QString("font only"));
        QCOMPARE(box->font().family(), "DejaVu Serif");
        QCOMPARE(box->font().pointSizeF(), 20.0);
        QCOMPARE(box->Text(), duringARun ? QString("ab") : QString());
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QCOMPARE(f->chkStart->isChecked(), duringARun);
        // The box still tells readers its text.
        QCOMPARE(heard->textInterface()->text(0, heard->textInterface()->characterCount()), box->Text());
    }

    // The clock and the speed are read out with what they show; the
    // spinner is announced as the minutes.
    void screenReaderNames_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("speed");
        QTest::newRow("English") << "English" << "Minutes" << "Words per minute";
        QTest::newRow("German") << "German" << "Minuten" << QString::fromUtf8("Wörter pro Minute");
    }
    void screenReaderNames() {
        QFETCH(QString, language);
        writeFile(QStringLiteral("QEM.ini"), "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        auto* f = openFromMenu();
        for (Label* l : {f->lblWPM, f->lblMin, f->lblSec}) {
            QAccessibleInterface* label = QAccessible::queryAccessibleInterface(l);
            QVERIFY(label);
            QCOMPARE(label->text(QAccessible::Name), captionText(l->Caption()));
            QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(f->fraTime);
            QVERIFY(frame->indexOfChild(label) >= 0);
        }
        // The spinner is heard by its caption only, not also by the clock
        // beside it (the frame's caption, "Status", goes with every control in it).
        QAccessibleInterface* spinner = QAccessible::queryAccessibleInterface(f->UpDown);
        QStringList heard{spinner->text(QAccessible::Name)};
        for (const auto& [label, relation] : spinner->relations(QAccessible::Label))
            if (qobject_cast<QLabel*>(label->object())) heard << label->text(QAccessible::Name);
        QFETCH(QString, minutes);
        QCOMPARE(heard, QStringList{minutes});
        QTEST(QAccessible::queryAccessibleInterface(f->lblWPM)->text(QAccessible::Description), "speed");
    }

    void spinnerLimits() {
        auto* f = openFromMenu();
        f->UpDown->setValue(99);
        QCOMPARE(f->lblMin->Caption(), "60");
        f->UpDown->setValue(0);
        QCOMPARE(f->lblMin->Caption(), "01");
    }

    void menuHiddenWhileOpen() {
        auto* f = openFromMenu();
        QVERIFY(!frmChoice()->isVisible());
        f->close();
        QVERIFY(frmChoice()->isVisible());
    }

    void german() {
        writeFile(QStringLiteral("QEM.ini"), "[Values]\r\nLanguage=German\r\n");
        auto* f = openFromMenu(QStringLiteral("0407"));
        QCOMPARE(f->Caption(), "ZOV Tipp-Meister");
        QCOMPARE(f->cmdOpenFile->Caption(), QString::fromUtf8("Ö&ffnen"));
        QCOMPARE(f->cmdOpenFile->font().pointSizeF(), 16.0);
        QCOMPARE(f->chkStart->accessibleName(), "LOS");
        QCOMPARE(f->lblKeyDe[8]->Caption(), QString::fromUtf8("Zurück"));
        f->UpDown->setValue(1);
        f->chkStart->click();
        typeKeys(f->txtOutput, QString::fromUtf8("Grüße aus"));
        tick(f, 61);
        QCOMPARE(MsgBoxSeam::last().text, QString::fromUtf8("Sie haben 2 Wörter pro Minute getippt"));
    }

    // The layout named by the X server's "_XKB_RULES_NAMES" and the active
    // group; where none can be read, the locale.
    void languageOfTheLayout_data() {
        QTest::addColumn<QByteArray>("rulesNames");
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("german");
        const QByteArray usDe("evdev\0pc105\0us,de\0,\0grp:alt_shift_toggle\0", 41);
        QTest::newRow("US first, first group") << usDe << 0 << "de_DE" << false;
        QTest::newRow("German, second group") << usDe << 1 << "en_US" << true;
        QTest::newRow("Austrian") << QByteArray("evdev\0pc105\0at\0\0\0", 17) << 0 << "C" << true;
        QTest::newRow("Swiss") << QByteArray("evdev\0pc105\0ch\0\0\0", 17) << 0 << "C" << true;
        QTest::newRow("French") << QByteArray("evdev\0pc105\0fr\0\0\0", 17) << 0 << "de_DE" << false;
        QTest::newRow("a group beyond the list: the first") << usDe << 3 << "de_DE" << false;
        QTest::newRow("no layout named: German locale") << QByteArray("evdev\0pc105\0\0", 13) << 0 << "de_AT" << true;
        QTest::newRow("no property: US locale") << QByteArray() << 0 << "en_US" << false;
        QTest::newRow("no property, C locale: the system's") << QByteArray() << 0 << "C" << false;
    }
    void languageOfTheLayout() {
        QFETCH(QByteArray, rulesNames);
        QFETCH(int, group);
        QFETCH(QString, locale);
        const std::optional<bool> fromX = KeyboardLayout::germanFromRulesNames(rulesNames, group);
        const QLocale l = locale == "C" ? QLocale::c() : QLocale(locale);
        // The system of this test has no German settings.
        QTEST(fromX.value_or(KeyboardLayout::germanFromLocale(l, QLocale::c())), "german");
    }

    // The computer's own layout: under the headless platform no X server
    // answers and the locales decide, without a crash.
    void layoutOfThisComputer() {
        KeyboardLayoutSeam::clear();
        const QLocale system = QLocale::system();
        const QLocale input = QGuiApplication::inputMethod()->locale();
        QCOMPARE(KeyboardLayout::isGerman(), KeyboardLayout::germanFromLocale(input, system));
        auto* f = frmKeyb();
        f->Show();
        QCOMPARE(f->fraKeybDe->isVisible(), KeyboardLayout::isGerman());
    }
};

QTEST_MAIN(TestTyping)
#include "tst_typing.moc"
