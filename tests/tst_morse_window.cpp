// The Morse converter window driven by keys and buttons: what each key and
// prosign button adds to both boxes and which sound it plays, Backspace and
// Enter, the two modes and their question, the active box, Convert,
// playback with the sounds it plays in order, documents written and read
// back, both languages, the menu and the return tune.
#include "Forms/Main/frmChoice.h"
#include "Forms/MorseCode/frmMorse.h"
#include "Modules/modLanguage.h"
#include "Platform/App.h"
#include "Platform/Dialogs.h"
#include "Platform/Memory.h"
#include "Platform/MsgBox.h"
#include "Platform/Storage.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <functional>

using namespace TestSupport;

namespace {
QString fileName(const QString& path) { return path.section(u'/', -1); }

const QString en = "English", de = "German";

// The menu as the program starts it, then the Morse label clicked.
class frmMorse* openFromMenu(const QString& language = en) {
    frmChoice()->Show();
    frmChoice()->activateNow();
    CurrentLanguage = language;
    frmChoice()->lblConv[8]->click();
    class frmMorse* f = frmMorse();
    QApplication::setActiveWindow(f);
    f->activateNow();
    music().commands.clear();
    return f;
}

// The user's steps, one list entry each: a button or option in brackets
// ("[Start]", "[Break]", "[Error]", "[EOM]", "[EOC]", "[Clear]",
// "[Convert]", "[Slow]", "[Fast]", "[Open]", "[Save]", "[Single]",
// "[At Once]"), a click into a box ("[text]", "[morse]"), a paste into the
// text box ("[paste]" and the text), a key of the text box that types no
// character ("[Ctrl+Z]", "[Ctrl+A]", "[Delete]"), an entry of
// its context menu ("[menu]" and the entry's name, e.g. "[menu]edit-undo"),
// a button or box reached from the focus by Tab or Shift+Tab ("[Tab]" or
// "[Shift+Tab]" and the button or box, e.g. "[Tab][morse]"; a button is
// then pressed with Return), or keys typed into the text box ("\b"
// Backspace, "\r" Enter, "{...}" composed text).
void work(class frmMorse* f, const QStringList& steps) {
    const QHash<QString, QKeyCombination> keys{{"[Ctrl+Z]", Qt::CTRL | Qt::Key_Z},
                                               {"[Ctrl+A]", Qt::CTRL | Qt::Key_A},
                                               {"[Delete]", QKeyCombination(Qt::Key_Delete)}};
    const QHash<QString, QAbstractButton*> buttons{
        {"[Start]", f->cmdStart},        {"[Break]", f->cmdBreak},       {"[Error]", f->cmdError},
        {"[EOM]", f->cmdEOM},            {"[EOC]", f->cmdEOC},           {"[Clear]", f->cmdClr},
        {"[Convert]", f->cmdConvert[0]}, {"[Slow]", f->cmdConvert[1]},   {"[Fast]", f->cmdConvert[2]},
        {"[Open]", f->cmdOpenFile},      {"[Save]", f->cmdSaveFile},     {"[Single]", f->optSingle},
        {"[At Once]", f->optAtOnce}};
    for (const QString& step : steps) {
        if (QAbstractButton* b = buttons.value(step)) QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
        else if (step.startsWith("[Tab]") || step.startsWith("[Shift+Tab]")) {
            const bool back = step.startsWith("[Shift+Tab]");
            const QString to = step.mid(back ? 11 : 5);
            QWidget* target = to == "[morse]" ? static_cast<QWidget*>(f->txtMC) : buttons.value(to);
            for (int i = 0; i < 40 && target && QApplication::focusWidget() != target; ++i)
                QTest::keyClick(QApplication::focusWidget(), back ? Qt::Key_Backtab : Qt::Key_Tab,
                                back ? Qt::ShiftModifier : Qt::NoModifier);
            QCOMPARE(QApplication::focusWidget(), target);
            if (to != "[morse]") QTest::keyClick(target, Qt::Key_Return);
        }
        else if (step == "[text]") QTest::mouseClick(f->txtText->viewport(), Qt::LeftButton);
        else if (step == "[morse]") QTest::mouseClick(f->txtMC->viewport(), Qt::LeftButton);
        else if (step.startsWith("[paste]")) {
            QApplication::clipboard()->setText(step.mid(7));
            typeKeys(f->txtText, "^V");
        }
        else if (keys.contains(step)) QTest::keyClick(f->txtText, keys[step].key(), keys[step].keyboardModifiers());
        else if (step.startsWith("[menu]")) QVERIFY(chooseFromContextMenu(f->txtText, step.mid(6)));
        else typeKeys(f->txtText, step);
    }
}

// The sounds started on the music device, by file name.
QStringList tunes() {
    QStringList out;
    for (const QString& c : music().commands)
        if (c.startsWith("open ") && c.size() > 5) out << fileName(c.mid(5));
    return out;
}

// The sounds played synchronously, by file name.
QStringList sounds() {
    QStringList out;
    for (const auto& call : sound().calls) out << fileName(call.path) + (call.flags == SoundPlayer::Sync ? "" : " async");
    return out;
}

int questions() {
    int n = 0;
    for (const auto& box : MsgBoxSeam::shown()) n += box.buttons == vbYesNo;
    return n;
}

bool fileButtonsEnabled(class frmMorse* f) {
    const bool on = f->cmdConvert[0]->isEnabled();
    for (QPushButton* b : {f->cmdConvert[1], f->cmdConvert[2], f->cmdOpenFile, f->cmdSaveFile})
        if (b->isEnabled() != on) return !on; // mixed: never what a row expects
    return on;
}

QColor background(const TextArea* box) { return box->palette().color(QPalette::Base); }
} // namespace

class TestMorseWindow : public QObject {
    Q_OBJECT
private slots:
    void init() {
        setUp();
        // The program's sounds, read in place: copying every medium for
        // each case would take most of the run.
        QVERIFY(QFile::link(qEnvironmentVariable("QEM_MEDIA_DIR") + "/Sound", programFolder() + "/Sound"));
    }
    void cleanup() { tearDown(); }

    // Letters typed in Single mode sound the moment they are typed: the
    // music device's output is kept ready while the window shows in that
    // mode, and let rest in At Once mode and once the window is closed.
    void lettersKeptReadyInSingleMode() {
        class frmMorse* f = openFromMenu();
        QVERIFY(music().keptReady);
        work(f, {"[At Once]"});
        QVERIFY(!music().keptReady);
        work(f, {"[Single]"});
        QVERIFY(music().keptReady);
        // Closed, the window is gone.
        f->close();
        processEvents();
        QVERIFY(!music().keptReady);
    }

    void menuHiddenWhileOpen() {
        class frmMorse* f = openFromMenu();
        QVERIFY(!frmChoice()->isVisible());
        f->close();
        processEvents();
        QCOMPARE(fileName(music().lastPlayed), QString("Stretch4.mp3"));
        QVERIFY(frmChoice()->isVisible());
    }

    void freshWindowAndActiveBox() {
        class frmMorse* f = openFromMenu();
        QVERIFY(f->optSingle->isChecked());
        QVERIFY(!fileButtonsEnabled(f));
        QCOMPARE(f->txtText->Tag, QString("Active"));
        QCOMPARE(background(f->txtText), QColor(Qt::black));
        QCOMPARE(background(f->txtMC), QColor(0x40, 0x40, 0x40));
        QVERIFY(f->txtMC->isReadOnly());
        // A click into the Morse box makes it the active one.
        work(f, {"[morse]"});
        QCOMPARE(f->txtMC->Tag, QString("Active"));
        QCOMPARE(f->txtText->Tag, QString());
        QCOMPARE(background(f->txtMC), QColor(Qt::black));
        QCOMPARE(background(f->txtText), QColor(0x40, 0x40, 0x40));
    }

    // Keys and prosign buttons: both boxes and the sounds, in order.
    void typing_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("morse");
        QTest::addColumn<QStringList>("played");
        using L = QStringList;
        QTest::newRow("lower-case a") << en << L{"a"} << "A" << ".- " << L{"A.au"};
        QTest::newRow("signs with and without a sound") << en << L{";?"} << ";?" << "-.-.-. ..--.. " << L{"QM.au"};
        QTest::newRow("blank") << en << L{"E T"} << "E T" << ".  - " << L{"E.au", "T.au"};
        QTest::newRow("outside the table: text only") << en << L{QString::fromUtf8("!Ä")} << QString::fromUtf8("!Ä")
                                                      << "" << L{};
        QTest::newRow("outside Windows-1252: text only") << en << L{QString::fromUtf8("Łł")} << QString::fromUtf8("Łł")
                                                        << "" << L{};
        QTest::newRow("outside Windows-1252, then Backspace") << en << L{QString::fromUtf8("Eł\b\b")} << "" << ""
                                                              << L{"E.au"};
        QTest::newRow("paste outside Windows-1252") << en << L{QString::fromUtf8("[paste]ał b")} << QString::fromUtf8("ał b")
                                                    << ".-  -... " << L{"B.au"};
        QTest::newRow("paste outside Windows-1252, Backspace twice")
            << en << L{QString::fromUtf8("[paste]ał b"), "\b\b"} << QString::fromUtf8("ał") << ".- " << L{"B.au"};
        QTest::newRow("paste outside Windows-1252, Backspace thrice")
            << en << L{QString::fromUtf8("[paste]ał b"), "\b\b\b"} << "a" << ".- " << L{"B.au"};
        QTest::newRow("paste with a line break") << en << L{"E", "[paste]t\r\nq?"} << "Et\r\nq?"
                                                 << ". - \r\n--.- ..--.. " << L{"E.au", "QM.au"};
        QTest::newRow("paste: only its last letter sounds") << en << L{"[paste]sos; "} << "sos; "
                                                            << "... --- ... -.-.-.  " << L{"S.au"};
        QTest::newRow("composed outside Windows-1252") << en << L{QString::fromUtf8("E{→e}")} << QString::fromUtf8("E→e")
                                                       << ". . " << L{"E.au", "E.au"};
        QTest::newRow("composed beyond 16 bits, then Backspace")
            << en << L{QString::fromUtf8("E{😀}\b")} << "E" << ". " << L{"E.au"};
        QTest::newRow("< and > cannot be typed") << en << L{"<E>"} << "E" << ". " << L{"E.au"};
        QTest::newRow("letter and Backspace") << en << L{"A\b"} << "" << "" << L{"A.au"};
        QTest::newRow("Backspace removes the tag") << en << L{"HI", "[Start]", "\b"} << "HI" << ".... .. "
                                                   << L{"H.au", "I.au"};
        QTest::newRow("Enter and Backspace") << en << L{"E\r\b"} << "E" << ". " << L{"E.au"};
        QTest::newRow("Backspace in an empty text box") << en << L{"\b\b"} << "" << "" << L{};
        QTest::newRow("Backspace after a character outside the table") << en << L{"E!\b"} << "E" << ". "
                                                                       << L{"E.au"};
        QTest::newRow("break") << en << L{"[Break]"} << "<BREAK>" << ".--... " << L{"Break.au"};
        QTest::newRow("German break") << de << L{"[Break]"} << "<PAUSE>" << ".--... " << L{"Break.au"};
        QTest::newRow("German end of message and conversation")
            << de << L{"[EOM]", "[EOC]"} << "<EDM><EDG>" << ".-.-. ....-. " << L{"EOM.au", "EOC.au"};
        QTest::newRow("German error and Backspace") << de << L{"E", "[Error]", "\b"} << "E" << ". " << L{"E.au"};
        // In Single mode the text changes only through typing, so the Morse box stays in step.
        QTest::newRow("Single: Ctrl+Z undoes nothing") << en << L{"ab", "[Ctrl+Z]"} << "AB" << ".- -... "
                                                       << L{"A.au", "B.au"};
        QTest::newRow("Single: Ctrl+A, Delete deletes nothing") << en << L{"ab", "[Ctrl+A]", "[Delete]"} << "AB"
                                                                << ".- -... " << L{"A.au", "B.au"};
        QTest::newRow("Single: the menu's Undo and Delete do nothing")
            << en << L{"ab", "[Ctrl+A]", "[menu]edit-undo", "[menu]edit-delete"} << "AB" << ".- -... "
            << L{"A.au", "B.au"};
        QTest::newRow("At Once: Ctrl+A, Delete deletes") << en << L{"[At Once]", "ab", "[Ctrl+A]", "[Delete]"} << ""
                                                         << "" << L{};
        QTest::newRow("At Once: Ctrl+Z undoes") << en << L{"[At Once]", "ab", "[Ctrl+Z]"} << "" << "" << L{};
        QTest::newRow("At Once: typing adds no Morse") << en << L{"[At Once]", "ab"} << "AB" << "" << L{};
        QTest::newRow("At Once: Enter still adds to the Morse box") << en << L{"[At Once]", "a\r"} << "A\r\n"
                                                                    << "\r\n" << L{};
        QTest::newRow("At Once: Backspace keeps converted Morse")
            << en << L{"[At Once]", "OK", "[Start]", "[Convert]", " w\b\b"} << "OK<START>" << "--- -.- -.-.- " << L{};
        QTest::newRow("At Once: Backspace takes the group the Morse ends with")
            << en << L{"[At Once]", "OK", "[Convert]", "\b"} << "O" << "--- " << L{};
        QTest::newRow("At Once: prosign buttons add the tag only") << en << L{"[At Once]", "[EOM]"} << "<EOM>" << ""
                                                                   << L{};
    }
    void typing() {
        QFETCH(QString, language);
        QFETCH(QStringList, steps);
        class frmMorse* f = openFromMenu(language);
        work(f, steps);
        QTEST(f->txtText->Text(), "text");
        QTEST(f->txtMC->Text(), "morse");
        QTEST(tunes(), "played");
        QCOMPARE(f->txtText->Tag, QString("Active"));
    }

    // A long paste onto long texts: every letter and code in place.
    void largePaste() {
        class frmMorse* f = openFromMenu();
        f->txtText->setTextValue(QString("SOS ").repeated(2500));
        f->txtMC->setTextValue(QString("... --- ...  ").repeated(2500));
        work(f, {"[text]", "[paste]" + QString("sos\r\n").repeated(2500)});
        QCOMPARE(f->txtText->Text(), QString("SOS ").repeated(2500) + QString("sos\r\n").repeated(2500));
        QCOMPARE(f->txtMC->Text(), QString("... --- ...  ").repeated(2500) + QString("... --- ... \r\n").repeated(2500));
        QCOMPARE(f->txtText->textCursor().position(), f->txtText->document()->characterCount() - 1);
        QCOMPARE(f->txtMC->textCursor().position(), f->txtMC->document()->characterCount() - 1);
    }

    void typingAddsAtTheEnd() {
        class frmMorse* f = openFromMenu();
        work(f, {"ST"});
        QTextCursor c = f->txtText->textCursor();
        c.setPosition(0);
        f->txtText->setTextCursor(c);
        work(f, {"E"});
        QCOMPARE(f->txtText->Text(), QString("STE"));
        QCOMPARE(f->txtMC->Text(), QString("... - . "));
    }

    // The mode options: question, answers, both boxes, the five buttons.
    void modeSwitch_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("atOnce");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("asked");
        using L = QStringList;
        using A = QList<int>;
        QTest::newRow("empty boxes: no question") << L{"[At Once]"} << A{} << true << "" << 0;
        QTest::newRow("and back") << L{"[At Once]", "[Single]"} << A{} << false << "" << 0;
        QTest::newRow("with text, No keeps everything") << L{"A", "[At Once]"} << A{vbNo} << false << "A" << 1;
        QTest::newRow("with text, Yes clears and switches") << L{"A", "[At Once]"} << A{vbYes} << true << "" << 1;
        QTest::newRow("the current mode asks nothing") << L{"A", "[Single]"} << A{} << false << "A" << 0;
        QTest::newRow("Clear, then a switch still asks")
            << L{"A", "[Clear]", "B", "[At Once]"} << A{vbYes, vbNo} << false << "B" << 2;
        QTest::newRow("Clear answered No") << L{"A", "[Clear]"} << A{vbNo} << false << "A" << 1;
    }
    void modeSwitch() {
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, answers);
        QFETCH(bool, atOnce);
        class frmMorse* f = openFromMenu();
        for (int a : answers) MsgBoxSeam::queueAnswer(a);
        work(f, steps);
        QCOMPARE(f->optAtOnce->isChecked(), atOnce);
        QCOMPARE(f->optSingle->isChecked(), !atOnce);
        QCOMPARE(fileButtonsEnabled(f), atOnce);
        QTEST(f->txtText->Text(), "text");
        QTEST(questions(), "asked");
        if (questions() > 0) QCOMPARE(MsgBoxSeam::last().text, QString("Are You Sure You Want To Clear"));
    }

    // Convert from the active box into the other one.
    void convert_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("fromMorse");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("steps");
        const QStringList click{"[Convert]"};
        QTest::newRow("text to Morse") << en << false << "sos hi" << "... --- ...  .... .. " << click;
        QTest::newRow("Morse with an empty line") << en << true << ". \r\n\r\n- " << "E\r\n\r\nT" << click;
        QTest::newRow("German break code") << de << true << ".--... " << "<PAUSE>" << click;
        QTest::newRow("empty text empties the Morse box") << en << false << "" << "" << click;
        // The buttons come before the Morse box: Tab leaves the text box
        // active; the Morse box, reached by Tab, is active when Shift+Tab
        // goes back to them.
        QTest::newRow("text to Morse, Convert reached by Tab")
            << en << false << "paris" << ".--. .- .-. .. ... " << QStringList{"[Tab][Convert]"};
        QTest::newRow("German: text to Morse, Convert reached by Tab")
            << de << false << "paris" << ".--. .- .-. .. ... " << QStringList{"[Tab][Convert]"};
        QTest::newRow("Morse to text, the Morse box reached by Tab")
            << en << true << "... --- ... " << "SOS" << QStringList{"[text]", "[Tab][morse]", "[Shift+Tab][Convert]"};
    }
    void convert() {
        QFETCH(QString, language);
        QFETCH(bool, fromMorse);
        QFETCH(QString, source);
        QFETCH(QStringList, steps);
        class frmMorse* f = openFromMenu(language);
        work(f, {"[At Once]"});
        TextArea* from = fromMorse ? f->txtMC : f->txtText;
        TextArea* to = fromMorse ? f->txtText : f->txtMC;
        to->setTextValue("old");
        from->setTextValue(source);
        work(f, QStringList{fromMorse ? "[morse]" : "[text]"} + steps);
        QTEST(to->Text(), "result");
        QCOMPARE(from->Text(), source);
        QCOMPARE(from->Tag, QString("Active"));
    }

    // Playback: the sounds in order, each played to its end.
    void playback_data() {
        QTest::addColumn<QString>("morse");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QStringList>("played");
        using L = QStringList;
        QTest::newRow("A slow") << ".- " << "[Slow]" << L{"ShortSlow.wav", "LongSlow.wav", "BlankSlow.wav"};
        QTest::newRow("line break plays nothing")
            << ". \r\n- " << "[Fast]" << L{"ShortQuick.wav", "BlankQuick.wav", "LongQuick.wav", "BlankQuick.wav"};
        QTest::newRow("empty Morse box") << "" << "[Slow]" << L{};
    }
    void playback() {
        QFETCH(QString, morse);
        QFETCH(QString, speed);
        class frmMorse* f = openFromMenu();
        work(f, {"[At Once]", "[morse]"});
        f->txtMC->setTextValue(morse);
        work(f, {speed});
        QTEST(sounds(), "played");
        QCOMPARE(f->txtText->Tag, QString("Active"));
        QCOMPARE(f->txtMC->Text(), morse);
    }

    void playbackWithoutItsSounds() {
        class frmMorse* f = openFromMenu();
        // A Sound folder of its own, without the slow dot.
        const QString sound = programFolder() + "/Sound";
        QVERIFY(QFile::remove(sound) && QDir().mkdir(sound));
        for (const QString name : {"LongSlow.wav", "BlankSlow.wav"})
            QVERIFY(QFile::copy(qEnvironmentVariable("QEM_MEDIA_DIR") + "/Sound/" + name, sound + "/" + name));
        work(f, {"[At Once]"});
        f->txtMC->setTextValue(". - ");
        work(f, {"[Slow]"});
        QCOMPARE(sounds(), (QStringList{"BlankSlow.wav", "LongSlow.wav", "BlankSlow.wav"}));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    // While a sound plays, the window takes no keys or clicks and stays open.
    void busyWhilePlaying() {
        class frmMorse* f = openFromMenu();
        work(f, {"[At Once]", "A"});
        f->txtMC->setTextValue(". ");
        struct Meddler : SoundPlayer {
            std::function<void()> during;
            bool play(const QString&, int) override {
                if (during) std::exchange(during, nullptr)();
                return true;
            }
            void stop() override {}
        };
        auto meddler = std::make_unique<Meddler>();
        meddler->during = [f] {
            work(f, {"B", "[Clear]", "[EOM]", "[Single]"});
            f->close();
        };
        SoundPlayer::install(std::move(meddler));
        work(f, {"[Fast]"});
        processEvents();
        QVERIFY(isFormLoaded<class frmMorse>());
        QVERIFY(f->isVisible());
        QCOMPARE(f->txtText->Text(), QString("A"));
        QVERIFY(f->optAtOnce->isChecked());
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QVERIFY(!f->isBusy());
    }

    // Save: the dialog's texts, the file written, the extension added.
    void save_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("morseBox");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("file");
        QTest::newRow("Morse document") << en << true << "Saving QMC File"
                                        << "QEM 's Morse Code (*.qmc)|*.qmc|All Files (*.*)|*.*" << "doc.qmc";
        QTest::newRow("German Morse document") << de << true << "Sichere ZMK Datei"
                                               << "ZOV 's Morse Kode (*.zmk)|*.zmk|Alle Dateien (*.*)|*.*"
                                               << "doc.zmk";
        QTest::newRow("text document") << en << false << "Saving Text Document"
                                       << "Text Document (*.txt)|*.txt|All Files (*.*)|*.*" << "doc.txt";
    }
    void save() {
        QFETCH(QString, language);
        QFETCH(bool, morseBox);
        QFETCH(QString, file);
        class frmMorse* f = openFromMenu(language);
        work(f, {"SOS", "[At Once]", morseBox ? "[morse]" : "[text]"});
        // In Single mode the switch asks first: answered yes, boxes empty.
        f->txtMC->setTextValue("... --- ... ");
        f->txtText->setTextValue("SOS");
        DialogSeam::queueFile(programFolder() + "/doc");
        work(f, {"[Save]"});
        QCOMPARE(DialogSeam::shown().size(), 1);
        QCOMPARE(DialogSeam::shown()[0].kind, QString("save"));
        QTEST(DialogSeam::shown()[0].title, "title");
        QTEST(DialogSeam::shown()[0].filter, "filter");
        QCOMPARE(readFile(file), QByteArray(morseBox ? "... --- ... \r\n" : "SOS\r\n"));
    }

    void open_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("morseBox");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::newRow("Morse document") << en << true << "Opening QMC File"
                                        << "QEM 's Morse Code (*.qmc)|*.qmc|All Files (*.*)|*.*";
        QTest::newRow("German Morse document") << de << true << QString::fromUtf8("Öffne ZMK Datei")
                                               << "ZOV's Morse Kode (*.zmk)|*.zmk|Alle Dateien (*.*)|*.*";
        QTest::newRow("text document") << en << false << "Opening Text Document"
                                       << "Text Document (*.txt)|*.txt|All Files (*.*)|*.*";
    }
    void open() {
        QFETCH(QString, language);
        QFETCH(bool, morseBox);
        class frmMorse* f = openFromMenu(language);
        work(f, {"[At Once]", morseBox ? "[morse]" : "[text]"});
        writeFile("doc", "one\r\ntwo \xC4\r\n");
        DialogSeam::queueFile(programFolder() + "/doc");
        work(f, {"[Open]"});
        QTEST(DialogSeam::shown()[0].title, "title");
        QTEST(DialogSeam::shown()[0].filter, "filter");
        QCOMPARE((morseBox ? f->txtMC : f->txtText)->Text(), QString::fromUtf8("one\r\ntwo Ä"));
        QCOMPARE((morseBox ? f->txtText : f->txtMC)->Text(), QString());
    }

    // What was saved comes back exactly, line breaks and every character
    // included: Windows-1252 where it holds the text, else UTF-8.
    void saveAndOpenAgain_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Windows-1252") << QString::fromUtf8("Grüße\r\n\r\nzwei Zeilen\r\n")
                                      << QByteArray("Gr\xFC\xDF" "e\r\n\r\nzwei Zeilen\r\n\r\n");
        QTest::newRow("beyond Windows-1252") << QString::fromUtf8("Łódź ✓ €") << QByteArray("Łódź ✓ €\r\n");
    }
    void saveAndOpenAgain() {
        QFETCH(QString, text);
        class frmMorse* f = openFromMenu();
        work(f, {"[At Once]", "[text]"});
        f->txtText->setTextValue(text);
        DialogSeam::queueFile(programFolder() + "/round.txt");
        work(f, {"[Save]"});
        QTEST(readFile("round.txt"), "bytes");
        f->txtText->setTextValue("other");
        DialogSeam::queueFile(programFolder() + "/round.txt");
        work(f, {"[Open]"});
        QCOMPARE(f->txtText->Text(), text);
    }

    // Documents are read as UTF-8, UTF-16 or Windows-1252; one that is not
    // text is refused by name and the box keeps its text.
    void openDocument_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("UTF-8") << en << QByteArray("Grüße\r\n") << QString::fromUtf8("Grüße") << "";
        QTest::newRow("UTF-16") << en << QByteArray("\xFF\xFEO\0K\0", 6) << "OK" << "";
        QTest::newRow("one stray control character") << en << QByteArray("SOS\r\nA\x1b" "B\r\nC\r\n")
                                                     << "SOS\r\nA\x1b" "B\r\nC" << "";
        QTest::newRow("one line with one stray byte") << en << QByteArray("... ---\x01 ...\r\n") << "... ---\x01 ..."
                                                      << "";
        QTest::newRow("binary") << en << QByteArray("AB\0\x01\x02", 5) << "OLD"
                                << "\"doc.bin\" is not a text document; it was not opened.";
        QTest::newRow("binary, German") << de << QByteArray("AB\0\x01\x02", 5) << "OLD"
                                        << QString::fromUtf8("\"doc.bin\" ist kein Textdokument; es wurde nicht geöffnet.");
    }
    void openDocument() {
        QFETCH(QString, language);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        class frmMorse* f = openFromMenu(language);
        work(f, {"[At Once]", "[text]", "old"});
        writeFile("doc.bin", content);
        DialogSeam::queueFile(programFolder() + "/doc.bin");
        work(f, {"[Open]"});
        QTEST(f->txtText->Text(), "text");
        QCOMPARE(MsgBoxSeam::shown().isEmpty() ? QString() : MsgBoxSeam::last().text, message);
        if (!message.isEmpty()) QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
    }

    void openNothing_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("cancelled") << "" << QByteArray("new");
        QTest::newRow("empty file") << "empty" << QByteArray();
    }
    void openNothing() {
        QFETCH(QString, answer);
        QFETCH(QByteArray, content);
        class frmMorse* f = openFromMenu();
        work(f, {"[At Once]", "[text]", "old"});
        writeFile("empty", content);
        DialogSeam::queueFile(answer.isEmpty() ? QString() : programFolder() + "/" + answer);
        work(f, {"[Open]"});
        QCOMPARE(f->txtText->Text(), QString("OLD"));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    // A document that cannot be read or written: the problem is shown and
    // the boxes keep what they held. A document is read whole or not at
    // all, and a pipe or a device is neither waited on nor read or replaced.
    void documentFails_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("save into a missing folder") << "[Save]" << "nowhere/doc.txt" << ""
                                                    << "Problem: Morse_SaveFile\n76: Path not found";
        // The system's own folder, which not even the superuser may write.
        QTest::newRow("save into a folder that cannot be written")
            << "[Save]" << "/sys/doc.txt" << "" << "Problem: Morse_SaveFile\n70: Permission denied";
        QTest::newRow("save on a full disk") << "[Save]" << "doc.txt" << "full disk"
                                             << "Problem: Morse_SaveFile\n61: Disk full";
        QTest::newRow("open a file gone meanwhile") << "[Open]" << "gone.txt" << ""
                                                    << "Problem: Morse_OpenFile\n53: File not found";
        QTest::newRow("open a document whose reading fails part-way")
            << "[Open]" << "in.txt" << "I/O error"
            << "Problem: Morse_OpenFile\n57: Device I/O error (\"in.txt\" could not be read)";
        QTest::newRow("open a pipe") << "[Open]" << "in.txt" << "pipe"
                                     << "Problem: Morse_OpenFile\n75: Path/File access error (\"in.txt\" is not a "
                                        "regular file)";
        QTest::newRow("open a link to a device")
            << "[Open]" << "in.txt" << "device"
            << "Problem: Morse_OpenFile\n75: Path/File access error (\"in.txt\" is not a regular file)";
        QTest::newRow("save over a pipe") << "[Save]" << "in.txt" << "pipe"
                                          << "Problem: Morse_SaveFile\n75: Path/File access error (\"in.txt\" is not a "
                                             "regular file)";
        // Read whole, and then more than the memory left to make its text.
        QTest::newRow("open a document that cannot be held") << "[Open]" << "in.txt" << "short of memory"
                                                             << "Problem: Morse_OpenFile\n7: Out of memory";
    }
    void documentFails() {
        QFETCH(QString, button);
        QFETCH(QString, path);
        QFETCH(QString, fault);
        if (path.startsWith('/') && !QFileInfo(QFileInfo(path).path()).isDir()) QSKIP("No such folder here.");
        class frmMorse* f = openFromMenu();
        work(f, {"[At Once]", "[text]", "a"});
        const QByteArray document = QByteArray("a long document\r\n").repeated(12000);
        if (fault == "full disk") {
            Storage::failWritesAfter(0);
        } else if (fault == "short of memory") {
            writeFile(path, document);
            Memory::failAbove(document.size() * 3 / 2);
        } else if (!fault.isEmpty()) {
            makeUnreadable(path, fault, document);
        }
        DialogSeam::queueFile(path.startsWith('/') ? path : programFolder() + "/" + path);
        work(f, {button});
        QTEST(MsgBoxSeam::last().text, "message");
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        QCOMPARE(f->txtText->Text(), QString("A"));
        QVERIFY(!QFileInfo::exists(programFolder() + "/doc.txt"));
        if (!fault.isEmpty() && fault != "full disk" && fault != "short of memory")
            QVERIFY(unreadableKept(path, fault, document));
    }

    // Where the program's folder cannot be written, the save dialog starts
    // in the per-user data folder, where the document can be saved.
    void saveDialogStartsWhereTheProgramWrites() {
        App::setProgramFolderWritable(false);
        class frmMorse* f = openFromMenu();
        work(f, {"[At Once]", "[text]", "a"});
        work(f, {"[Save]"});
        QCOMPARE(DialogSeam::shown().size(), 1);
        QCOMPARE(DialogSeam::shown()[0].initialDir, App::dataFolder());
        QVERIFY(DialogSeam::shown()[0].initialDir != App::path());
    }

    // The captions of the narrow buttons and the chart's characters and
    // prosign names are shown whole, clear of the edges.
    void captionsFit_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << en;
        QTest::newRow("German") << de;
    }
    void captionsFit() {
        QFETCH(QString, language);
        class frmMorse* f = openFromMenu(language);
        for (PictureButton* b : {f->cmdStart, f->cmdBreak, f->cmdError, f->cmdClr, f->cmdEOM, f->cmdEOC})
            QVERIFY2(b->fontMetrics().horizontalAdvance(captionText(b->text())) <= b->width() - 6, qPrintable(b->text()));
        // A chart box keeps two pixels of its own on either side.
        for (int i = 0; i <= 51; ++i) // the characters and the prosigns
            if (i != 46) QVERIFY2(f->txtChr[i]->fontMetrics().horizontalAdvance(f->txtChr[i]->Text()) <= f->txtChr[i]->width() - 4,
                     qPrintable(f->txtChr[i]->Text()));
    }

    // Every control the keyboard reaches has a name for screen readers.
    void controlsNamed_data() { captionsFit_data(); }
    void controlsNamed() {
        QFETCH(QString, language);
        class frmMorse* f = openFromMenu(language);
        work(f, {"[At Once]"});
        for (QWidget* w : f->findChildren<QWidget*>())
            if (w->isVisibleTo(f) && w->focusPolicy() != Qt::NoFocus && !w->focusProxy())
                QVERIFY2(!QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty(),
                         w->metaObject()->className());
    }

    void germanTexts() {
        class frmMorse* f = openFromMenu(de);
        QCOMPARE(f->Caption(), QString("ZOV Morsezeichen-Umsetzer"));
        QCOMPARE(f->cmdEOC->text(), QString("ED&G"));
        QCOMPARE(f->cmdConvert[1]->accessibleName(), QString("Langsam Abspielen"));
        QCOMPARE(f->cmdEOM->accessibleName(), QString("EDM"));
        QCOMPARE(f->txtChr[48]->Text(), QString("Pause"));
        QCOMPARE(f->txtChr[47]->Text(), QString("Start"));
        QCOMPARE(f->TagEOC, QString("<EDG>"));
    }
};

QTEST_MAIN(TestMorseWindow)
#include "tst_morse_window.moc"
