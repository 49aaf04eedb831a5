// One-player Hangman: the round engine played through the window (miss
// ladder, solving, repeated letters per level, phrases, the letter box,
// Help, Next and Restart, the cheat, a new game), the dictionary file and
// its editor, the log-in and the return to the window.
#include "Forms/HangMan1P/frmHangman1p.h"
#include "Forms/HangMan1P/frmHmDic.h"
#include "Forms/Main/frmChoice.h"
#include "Modules/modAniGif.h"
#include "Modules/modHangman.h"
#include "Modules/modLanguage.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "Platform/QuotedLines.h"
#include "Platform/Random.h"
#include "Platform/Timer.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

using namespace TestSupport;

namespace {

QByteArray quotedLines(const QStringList& values) {
    QByteArray out;
    for (const QString& v : values) out += '"' + v.toLatin1() + "\"\r\n";
    return out;
}

QStringList messages() {
    QStringList texts;
    for (const auto& box : MsgBoxSeam::shown()) texts << box.text;
    return texts;
}

QString lastTune() { return music().lastPlayed.section(u'/', -1); }

// The window opened from the menu with a dictionary of the given words;
// the player gives `name` at the log-in.
class frmHangman1p* openGame(const QStringList& words, const QString& name = QStringLiteral("Ann"),
                             const QString& language = QStringLiteral("English")) {
    writeFile(QStringLiteral("Hangman.qem"), quotedLines(words));
    frmChoice();
    CurrentLanguage = language;
    MsgBoxSeam::queueInput(name);
    auto* f = frmHangman1p();
    f->Show();
    f->activateNow();
    // Keys go to the focused control of the active window.
    (void)QTest::qWaitForWindowActive(f, 100);
    return f;
}

void chooseLevel(class frmHangman1p* f, const QString& level) {
    f->cboLEVEL->setCurrentIndex(f->cboLEVEL->findText(level));
}

void start(class frmHangman1p* f) { QTest::mouseClick(f->cmdPROCEED, Qt::LeftButton); }

// The Dictionary button; in the editor the player adds `word` and saves
// (with no word the editor is closed at once), then back to the game.
void visitEditor(class frmHangman1p* f, const QString& word = QString()) {
    Form::setModalHandler([word](Form* w) {
        auto* editor = qobject_cast<class frmHmDic*>(w);
        QVERIFY(editor);
        editor->activateNow();
        if (!word.isEmpty()) {
            typeKeys(editor->txtEnter, word);
            QTest::mouseClick(editor->cmdAdd, Qt::LeftButton);
            MsgBoxSeam::queueAnswer(vbYes);
            QTest::mouseClick(editor->cmdSave, Qt::LeftButton);
        }
        editor->close();
    });
    QTest::mouseClick(f->cmdHmDic, Qt::LeftButton);
    Form::setModalHandler(nullptr);
    f->activateNow();
}

// Each letter typed into the letter box in lower case, then OK.
void guess(class frmHangman1p* f, const QString& letters) {
    for (QChar c : letters) {
        QTest::keyClick(f->txtENTERL, c.toLatin1());
        QTest::mouseClick(f->cmdOKL, Qt::LeftButton);
    }
}

// Keys as the keyboard sends them, each to the control that has the focus.
void pressKeys(const char* keys) {
    for (const char* k = keys; *k; ++k) QTest::keyClick(QApplication::focusWidget(), *k);
}

// Whether a caption is drawn whole within `room` pixels in the control's font.
bool fits(const QWidget* w, const QString& text, int room) {
    return QFontMetrics(w->font()).horizontalAdvance(text) <= room;
}

void resizeWindow(QWidget* f, const QSize& size) {
    f->setWindowState(Qt::WindowNoState);
    f->resize(size);
    processEvents();
}

bool showsStage(const class frmHangman1p* f, int stage) {
    return f->imgHANGMAN[0]->Picture().toImage() ==
           QPixmap(QStringLiteral(":/hangman/stage%1.png").arg(stage)).toImage();
}

} // namespace

class TestHangman : public QObject {
    Q_OBJECT
private slots:
    void init() {
        setUp(true);
        RandomSeam::clear();
        newHangmanGame();
    }
    void cleanup() {
        tearDown();
        RandomSeam::clear();
    }

    void freshState() {
        clsHangMan game;
        QVERIFY(!game.Dic().isValid());
        QVERIFY(game.Dic() != 1);
        game.setScore(140);
        game.setWrong(10);
        QCOMPARE(game.Score(), qint16(140));
        QCOMPARE(game.TotalScore1(), qint16(0));
        QVERIFY(!game.TotalScore2().isValid());
    }

    // ------------------------------------------------------ the engine --

    void missLadder_data() {
        QTest::addColumn<QString>("level");
        QTest::addColumn<int>("misses");
        QTest::addColumn<int>("score");
        QTest::addColumn<bool>("lastTry");
        QTest::addColumn<QString>("tune");
        QTest::newRow("first miss") << "Medium" << 1 << 120 << false << "Wrong.mp3";
        QTest::newRow("second miss") << "Medium" << 2 << 100 << false << "Wrong.mp3";
        QTest::newRow("third miss") << "Medium" << 3 << 80 << false << "Wrong.mp3";
        QTest::newRow("fourth miss") << "Medium" << 4 << 60 << false << "Wrong.mp3";
        QTest::newRow("fifth miss") << "Medium" << 5 << 40 << false << "Wrong.mp3";
        QTest::newRow("sixth miss") << "Medium" << 6 << 20 << true << "Warn.mp3";
        QTest::newRow("sixth miss on Hard") << "Hard" << 6 << 20 << false << "Warn.mp3";
        QTest::newRow("seventh miss") << "Easy" << 7 << 0 << true << "GameOver.mp3";
    }
    void missLadder() {
        QFETCH(QString, level);
        QFETCH(int, misses);
        auto* f = openGame({"jazz"});
        chooseLevel(f, level);
        start(f);
        guess(f, QStringLiteral("bcdefgh").left(misses));
        QCOMPARE(HangmanGame->Wrong(), qint16(misses));
        QVERIFY(showsStage(f, misses));
        QTEST(int(HangmanGame->Score()), "score");
        QTEST(f->lblLASTRY->isVisible(), "lastTry");
        QTEST(lastTune(), "tune");
        const bool lost = misses == 7;
        QCOMPARE(f->lblLOSER->isVisible(), lost);
        QCOMPARE(f->lblWord->Caption(), lost ? QStringLiteral("JAZZ") : QStringLiteral("----"));
        QCOMPARE(f->lblTEMP->Caption(), lost ? QStringLiteral("+0") : QString());
        QCOMPARE(f->cmdRESTART->Caption(), lost ? QStringLiteral("Next") : QStringLiteral("Restart"));
        QCOMPARE(f->txtENTERL->isEnabled(), !lost);
        QCOMPARE(messages().contains("Game Over"), lost);
    }

    void solving_data() {
        QTest::addColumn<QString>("letters");
        QTest::addColumn<bool>("excellent");
        QTest::addColumn<QString>("plus");
        QTest::newRow("no miss") << "ab" << true << "+140";
        QTest::newRow("one miss") << "axb" << false << "+120";
        QTest::newRow("last letter after six misses") << "acdefghb" << false << "+20";
    }
    void solving() {
        auto* f = openGame({"Abba"});
        start(f);
        QFETCH(QString, letters);
        guess(f, letters);
        QCOMPARE(f->lblWord->Caption(), QStringLiteral("ABBA"));
        QTEST(f->lblEXC->isVisible(), "excellent");
        QTEST(f->lblTEMP->Caption(), "plus");
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("Congratulations"));
        QCOMPARE(HangmanGame->Games(), qint16(1));
        QCOMPARE(f->cmdRESTART->Caption(), QStringLiteral("Next"));
        QVERIFY(!f->cmdOKL->isEnabled());
        for (const Label* l : f->lblL) QVERIFY(!l->isEnabled());
    }

    // A repeated letter is refused with its message on every level: no miss.
    void repeatedLetter_data() {
        QTest::addColumn<QString>("level");
        QTest::newRow("Easy") << "Easy";
        QTest::newRow("Medium") << "Medium";
        QTest::newRow("Hard") << "Hard";
    }
    void repeatedLetter() {
        QFETCH(QString, level);
        auto* f = openGame({"jazz"});
        chooseLevel(f, level);
        start(f);
        guess(f, QStringLiteral("qq"));
        QCOMPARE(f->txtUSED->Text(), QStringLiteral("Q"));
        QCOMPARE(HangmanGame->Wrong(), qint16(1));
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("You have already used this letter"));
        QCOMPARE(f->lblL[0]->isVisible(), level != "Hard");
        QCOMPARE(f->lblCount->Caption().isEmpty(), level == "Hard");
        QCOMPARE(f->cmdHELP->isVisible(), level == "Easy");
    }

    void phraseShowsItsBlanks() {
        auto* f = openGame({"ab cd"});
        start(f);
        QCOMPARE(f->lblWord->Caption(), QStringLiteral("-- --"));
        QCOMPARE(f->lblCount->Caption(), QStringLiteral("5 Letters"));
        guess(f, QStringLiteral("c"));
        QCOMPARE(f->lblWord->Caption(), QStringLiteral("-- C-"));
    }

    // What reaches the engine from the letter box: one letter A to Z.
    void letterBox_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("okFocused");
        QTest::newRow("small letter") << "j" << "J" << true;
        QTest::newRow("capital letter dropped") << "J" << "" << false;
        QTest::newRow("digit dropped") << "7" << "" << false;
        QTest::newRow("second letter replaces the first") << "ja" << "A" << true;
        QTest::newRow("backspace empties") << "j\b" << "" << false;
        QTest::newRow("paste of two small letters keeps the last, as pasted") << "^V" << "b" << true;
    }
    void letterBox() {
        auto* f = openGame({"jazz"});
        start(f);
        QApplication::clipboard()->setText(QStringLiteral("ab"));
        QFETCH(QString, keys);
        typeKeys(f->txtENTERL, keys);
        QTEST(f->txtENTERL->Text(), "box");
        QTEST(f->focusWidget() == f->cmdOKL, "okFocused");
    }

    void pastedSmallLetterIsGuessed() {
        auto* f = openGame({"jazz"});
        start(f);
        QApplication::clipboard()->setText(QStringLiteral("z"));
        typeKeys(f->txtENTERL, QStringLiteral("^V"));
        QTest::mouseClick(f->cmdOKL, Qt::LeftButton);
        QCOMPARE(f->txtUSED->Text(), QStringLiteral("Z"));
        QCOMPARE(HangmanGame->Wrong(), qint16(0));
    }

    void pasteOfCapitalsNeverSubmits() {
        auto* f = openGame({"jazz"});
        start(f);
        QApplication::clipboard()->setText(QStringLiteral("AB"));
        typeKeys(f->txtENTERL, QStringLiteral("^V"));
        QCOMPARE(f->txtENTERL->Text(), QString());
        // Text put there some other way is no letter either.
        f->txtENTERL->setMaxLength(5);
        f->txtENTERL->setText(QStringLiteral("AB"));
        QTest::mouseClick(f->cmdOKL, Qt::LeftButton);
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("You must type in a letter"));
        QCOMPARE(HangmanGame->Wrong(), qint16(0));
        QCOMPARE(f->txtUSED->Text(), QString());
    }

    void enterSubmits() {
        auto* f = openGame({"jazz"});
        start(f);
        // Enter goes where the focus is: OK after a letter, else the box.
        typeKeys(f->txtENTERL, QStringLiteral("a"));
        typeKeys(f->focusWidget(), QStringLiteral("\r"));
        QCOMPARE(f->lblWord->Caption(), QStringLiteral("-A--"));
        QCOMPARE(f->focusWidget(), f->txtENTERL);
        typeKeys(f->focusWidget(), QStringLiteral("\r"));
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("You must type in a letter"));
        QCOMPARE(lastTune(), QStringLiteral("Wrong.mp3"));
    }

    // A letter refused as used before is not carried into the next word:
    // the keys go where the keyboard sends them, to the focused control.
    void refusedLetterStaysInItsWord() {
        auto* f = openGame({"ab"});
        start(f);
        pressKeys("a\ra\r");
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("You have already used this letter"));
        QTest::mouseClick(f->cmdRESTART, Qt::LeftButton);
        QCOMPARE(f->txtENTERL->Text(), QString());
        pressKeys("b");
        QCOMPARE(f->txtENTERL->Text(), QStringLiteral("B"));
        pressKeys("\r");
        QCOMPARE(f->txtUSED->Text(), QStringLiteral("B"));
        QCOMPARE(f->lblWord->Caption(), QStringLiteral("-B"));
        QCOMPARE(HangmanGame->Wrong(), qint16(0));
    }

    void alphabetLabelSubmits() {
        auto* f = openGame({"jazz"});
        start(f);
        f->lblL[1]->click(); // B, a miss
        QVERIFY(!f->lblL[1]->isEnabled());
        QCOMPARE(HangmanGame->Wrong(), qint16(1));
        f->lblL[25]->click(); // Z
        QCOMPARE(f->lblWord->Caption(), QStringLiteral("--ZZ"));
        QCOMPARE(f->txtUSED->Text(), QStringLiteral("BZ"));
    }

    // Help uncovers a letter drawn among the hidden positions only.
    void help_data() {
        QTest::addColumn<double>("random");
        QTest::addColumn<QString>("shown");
        QTest::newRow("first hidden position") << 0.0 << "AB-A";
        QTest::newRow("last hidden position") << 0.99 << "A-CA";
    }
    void help() {
        auto* f = openGame({"abca"});
        chooseLevel(f, "Easy");
        start(f);
        guess(f, QStringLiteral("a"));
        QFETCH(double, random);
        RandomSeam::script({random});
        QTest::mouseClick(f->cmdHELP, Qt::LeftButton);
        QTEST(f->lblWord->Caption(), "shown");
        QVERIFY(f->cmdHELP->isEnabled());
        QCOMPARE(HangmanGame->Score(), qint16(140));
    }

    void helpOnTheLastLetterEndsTheWord() {
        auto* f = openGame({"ab"});
        chooseLevel(f, "Easy");
        start(f);
        guess(f, QStringLiteral("a"));
        RandomSeam::script({0.5});
        QTest::mouseClick(f->cmdHELP, Qt::LeftButton);
        QCOMPARE(f->lblWord->Caption(), QStringLiteral("AB"));
        QVERIFY(!f->cmdHELP->isEnabled());
        // With nothing hidden Help does nothing and stays disabled.
        f->cmdHELP_Click();
        QVERIFY(!f->cmdHELP->isEnabled());
        QCOMPARE(drawHiddenPosition({}), -1);
    }

    // ------------------------------------------------- a game of words --

    void fiveWordsThenNewGame() {
        auto* f = openGame({"ab"});
        QStringList left;
        for (int word = 1; word <= 5; ++word) {
            if (word == 1) start(f);
            guess(f, word == 2 ? QStringLiteral("xab") : QStringLiteral("ab"));
            if (word == 5) {
                MsgBoxSeam::queueAnswer(vbYes);
                MsgBoxSeam::queueInput(QStringLiteral("Bob"));
            }
            QTest::mouseClick(f->cmdRESTART, Qt::LeftButton);
            left << f->lblNR1->Caption();
            if (word == 4) QCOMPARE(f->lblTOTAL1->Caption(), QStringLiteral("540"));
        }
        QCOMPARE(left, QStringList({"4", "3", "2", "1", "5"}));
        QVERIFY(messages().contains("Do you want to start a new game"));
        QCOMPARE(MsgBoxSeam::shown().last().text, QStringLiteral("Bob, it's your turn to guess 5 words or phrases"));
        QCOMPARE(f->lblALIAS1->Caption(), QStringLiteral("Bob"));
        QCOMPARE(f->lblTOTAL1->Caption(), QStringLiteral("0"));
        QCOMPARE(HangmanGame->TotalScore1(), qint16(0));
        QVERIFY(f->cmdPROCEED->isVisible());
        QCOMPARE(f->cmdPROCEED->Caption(), QStringLiteral("Start"));
        QVERIFY(f->cboLEVEL->isEnabled());
    }

    void noNewGameCloses() {
        auto* f = openGame({"ab"});
        start(f);
        for (int word = 1; word <= 5; ++word) {
            guess(f, QStringLiteral("ab"));
            if (word == 5) MsgBoxSeam::queueAnswer(vbNo);
            QTest::mouseClick(f->cmdRESTART, Qt::LeftButton);
        }
        QVERIFY(!isFormLoaded<class frmHangman1p>());
        QVERIFY(frmChoice()->isVisible());
        QCOMPARE(sound().calls.last().path.section(u'/', -1), QStringLiteral("Blab.wav"));
    }

    void restartAbandonsTheWord() {
        auto* f = openGame({"ab", "cd"});
        RandomSeam::script({0.0, 0.9});
        start(f);
        guess(f, QStringLiteral("x"));
        QTest::mouseClick(f->cmdRESTART, Qt::LeftButton);
        QCOMPARE(f->lblWord->Caption(), QStringLiteral("--"));
        QCOMPARE(f->lblHid->Caption(), QStringLiteral("CD"));
        QCOMPARE(HangmanGame->Games(), qint16(0));
        QCOMPARE(HangmanGame->Wrong(), qint16(0));
        QCOMPARE(HangmanGame->Score(), qint16(140));
        QCOMPARE(f->lblTOTAL1->Caption(), QStringLiteral("0"));
        QCOMPARE(f->lblNR1->Caption(), QStringLiteral("5"));
    }

    void cheatHoldsTheGallows() {
        auto* f = openGame({"ab"});
        f->lblFRAME->click();
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("Cheat enabled"));
        QVERIFY(f->lblCHEAT->isVisible());
        start(f);
        guess(f, QStringLiteral("cdefghijk"));
        QCOMPARE(HangmanGame->Wrong(), qint16(19));
        QCOMPARE(HangmanGame->Score(), qint16(140));
        QVERIFY(!f->lblLOSER->isVisible());
        // Once a word has started the cheat stays as it is.
        f->lblFRAME->click();
        QCOMPARE(HangmanGame->Cheat(), qint16(1));
    }

    void newGameHidesTheCheat() {
        auto* f = openGame({"ab"});
        f->lblFRAME->click();
        start(f);
        for (int word = 1; word <= 5; ++word) {
            guess(f, QStringLiteral("ab"));
            if (word == 5) MsgBoxSeam::queueAnswer(vbYes);
            QTest::mouseClick(f->cmdRESTART, Qt::LeftButton);
        }
        QCOMPARE(HangmanGame->Cheat(), qint16(0));
        QVERIFY(!f->lblCHEAT->isVisible());
    }

    // ---------------------------------------------------- the window --

    void logIn_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("greeting");
        QTest::newRow("named") << "English" << "Ann" << "Ann" << "Ann, it's your turn to guess 5 words or phrases";
        QTest::newRow("ampersand and markup shown as typed")
            << "English" << "Ann & Co <b>bold</b>" << "Ann & Co <b>bold</b>"
            << "Ann & Co <b>bold</b>, it's your turn to guess 5 words or phrases";
        QTest::newRow("empty") << "English" << "" << "Player 1"
                               << "Player 1, it's your turn to guess 5 words or phrases";
        QTest::newRow("empty, German") << "German" << "" << "Spieler 1"
                                       << "Spieler 1, Sie sind an der Reihe 5 Wörter oder Wortgruppen zu erraten";
        // One line, and set apart from the words around it, as in two-player Hangman.
        QTest::newRow("tab, line break and right-to-left mark")
            << "English" << QString::fromUtf8("Ann\tLee\r\nBo‏") << QString::fromUtf8("⁨Ann Lee Bo‏⁩")
            << QString::fromUtf8("⁨Ann Lee Bo‏⁩, it's your turn to guess 5 words or phrases");
    }
    void logIn() {
        QFETCH(QString, language);
        QFETCH(QString, answer);
        auto* f = openGame({"ab"}, answer, language);
        const auto boxes = MsgBoxSeam::shown();
        QVERIFY(boxes[0].isInput);
        QCOMPARE(boxes[0].title, language == "German" ? QStringLiteral("Anmeldung") : QStringLiteral("Log-in"));
        QTEST(f->lblALIAS1->text(), "name");
        QCOMPARE(f->lblALIAS1->textFormat(), Qt::PlainText);
        QTEST(boxes[1].text, "greeting");
        QCOMPARE(boxes[1].icon, int(vbInformation));
        QCOMPARE(f->lblNR1->Caption(), QStringLiteral("5"));
        QVERIFY(!frmChoice()->isVisible());
        QVERIFY(f->isMaximized());
    }

    void germanTexts() {
        auto* f = openGame({"ab"}, QStringLiteral("Ann"), QStringLiteral("German"));
        QCOMPARE(f->lblHEAD->Caption(), QStringLiteral("HENKER 1Sp"));
        QCOMPARE(f->cboLEVEL->currentText(), QStringLiteral("Mittel"));
        QCOMPARE(f->cboLEVEL->itemText(2), QStringLiteral("Schwer"));
        QCOMPARE(f->cmdHELP->accessibleName(), QStringLiteral("Hilfe"));
        QCOMPARE(f->cboLEVEL->lineEdit()->accessibleName(), QStringLiteral("Schwierigkeitsgrad"));
        // The title bar's glyph is named by what it does.
        QCOMPARE(QAccessible::queryAccessibleInterface(f->lblCtrl[0])->text(QAccessible::Name), QString::fromUtf8("Schließen"));
        QVERIFY(f->cmdHmDic->fontMetrics().horizontalAdvance(f->cmdHmDic->Caption()) <= f->cmdHmDic->width() - 8);
        start(f);
        QCOMPARE(f->lblCount->Caption(), QStringLiteral("2 Buchstaben"));
        QCOMPARE(f->cmdPROCEED->Caption(), QStringLiteral("Weiter"));
    }

    // Coming back to the window mid-game asks nothing and keeps the word.
    void returningChangesNothing() {
        auto* f = openGame({"jazz"});
        start(f);
        guess(f, QStringLiteral("a"));
        const int boxes = int(MsgBoxSeam::shown().size());
        frmChoice()->activateNow();
        f->activateNow();
        QCOMPARE(int(MsgBoxSeam::shown().size()), boxes);
        QCOMPARE(f->lblWord->Caption(), QStringLiteral("-A--"));
        QCOMPARE(f->txtUSED->Text(), QStringLiteral("A"));
    }

    void editorChangesUnsavedAreDropped() {
        auto* f = openGame({"jazz", "quiz", "x_y", "word"});
        start(f);
        const QString word = f->lblHid->Caption();
        Form::setModalHandler([](Form* w) {
            auto* editor = qobject_cast<class frmHmDic*>(w);
            QVERIFY(editor);
            editor->activateNow();
            QCOMPARE(editor->focusWidget(), editor->txtEnter);
            QCOMPARE(editor->lblCount->Caption(), QStringLiteral("3 Entries"));
            typeKeys(editor->txtEnter, QStringLiteral("extra"));
            QTest::mouseClick(editor->cmdAdd, Qt::LeftButton);
            QCOMPARE(editor->lstSHOW->count(), 4);
            editor->close();
        });
        const int boxes = int(MsgBoxSeam::shown().size());
        const QPointer<QListWidget> closed = frmHmDic()->lstSHOW;
        QTest::mouseClick(f->cmdHmDic, Qt::LeftButton);
        Form::setModalHandler(nullptr);
        f->activateNow();
        QCOMPARE(frmHmDic()->lstSHOW->count(), 3);
        // The closed editor's entries are gone: a dictionary is held once.
        QVERIFY(!closed || closed->count() == 0);
        QCOMPARE(int(MsgBoxSeam::shown().size()), boxes);
        QCOMPARE(f->lblHid->Caption(), word);
        QCOMPARE(lastTune(), QStringLiteral("Stretch2.mp3"));
        // The set-aside line was told of once, when the window opened.
        QCOMPARE(messages().filter(QStringLiteral("could not be read")).size(), 1);
    }

    // With no word to draw the window waits at Start; a word added in the
    // editor is then played. `letters` are guessed before the file goes.
    void emptyDictionary_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("letters");
        QTest::newRow("empty from the start") << QStringList{} << "";
        QTest::newRow("emptied during a word, then Restart") << QStringList{"ab"} << "x";
        QTest::newRow("emptied after a word, then Next") << QStringList{"ab"} << "ab";
    }
    void emptyDictionary() {
        QFETCH(QStringList, words);
        QFETCH(QString, letters);
        auto* f = openGame(words);
        if (!words.isEmpty()) {
            start(f);
            guess(f, letters);
            QFile::remove(HangmanDictionary::path());
            visitEditor(f);
            QTest::mouseClick(f->cmdRESTART, Qt::LeftButton);
        }
        QVERIFY(messages().contains("No words available"));
        start(f);
        QVERIFY(f->cmdPROCEED->isVisible());
        QCOMPARE(f->cmdPROCEED->Caption(), QStringLiteral("Start"));
        QCOMPARE(f->lblWord->Caption(), QString());
        visitEditor(f, QStringLiteral("cd"));
        start(f);
        QCOMPARE(f->lblHid->Caption(), QStringLiteral("CD"));
        QCOMPARE(f->lblWord->Caption(), QStringLiteral("--"));
        QVERIFY(f->cmdRESTART->isEnabled());
    }

    void stickManUntilTheFirstStart() {
        auto* f = openGame({"ab"});
        QVERIFY(f->TimerGif->Enabled());
        QVERIFY(f->imgGif.size() > 1);
        f->TimerGif->fire();
        QCOMPARE(CurrentFrame, 1);
        QVERIFY(f->imgGif[1]->isVisible());
        start(f);
        QVERIFY(!f->TimerGif->Enabled());
        QVERIFY(f->imgHANGMAN[0]->isVisible());
    }

    void withoutTheStickMan() {
        QDir(programFolder() + "/Pics").removeRecursively();
        auto* f = openGame({"ab"});
        QVERIFY(!f->TimerGif->Enabled());
        start(f);
        QCOMPARE(f->lblWord->Caption(), QStringLiteral("--"));
    }

    void resizeKeepsProportions() {
        auto* f = openGame({"ab"});
        const QRect letter = f->lblL[13]->geometry();
        const double font = f->LetterFontSize;
        const QSize full = f->size();
        f->setWindowState(Qt::WindowNoState);
        const QSize smaller(full.width() * 4 / 5, full.height() / 2);
        f->resize(smaller);
        processEvents();
        QCOMPARE(f->size(), smaller);
        QVERIFY(qAbs(f->lblL[13]->x() - letter.x() * 4 / 5) <= 1);
        QVERIFY(qAbs(f->lblL[13]->y() - letter.y() / 2) <= 1);
        QVERIFY(qAbs(f->LetterFontSize - font / 2) < 0.6);
        f->lblL_MouseDown(0, 1, 0, 0, 0);
        QCOMPARE(f->lblL[0]->FontSize(), f->LetterFontSize - 4);
        // Minimised, nothing is scaled.
        const QRect now = f->lblL[13]->geometry();
        f->setWindowState(Qt::WindowMinimized);
        processEvents();
        QCOMPARE(f->lblL[13]->geometry(), now);
    }

    // Captions stay whole at window sizes of other proportions than the
    // design's, and at the smallest size the window takes: the longest
    // shipped phrase, a long name with a gap before the total, every used
    // letter, the words left, the alphabet, the title and the buttons.
    void captionsFit_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QSize>("size");
        QTest::newRow("5:4") << "English" << QSize(1280, 1024);
        QTest::newRow("4:3") << "English" << QSize(1024, 768);
        QTest::newRow("4:3, German") << "German" << QSize(1024, 768);
        QTest::newRow("tall and narrow") << "English" << QSize(500, 900);
        QTest::newRow("tall and narrow, German") << "German" << QSize(500, 900);
        QTest::newRow("smaller than the window takes") << "English" << QSize(200, 150);
    }
    void captionsFit() {
        QFETCH(QString, language);
        QFETCH(QSize, size);
        auto* f = openGame({"practice makes perfect"}, QStringLiteral("Maximiliane Longname-Smith & Co"), language);
        // The cheat lets every letter of the alphabet be used in one word.
        f->lblFRAME->click();
        start(f);
        const QSize full = f->size();
        resizeWindow(f, size);
        guess(f, QStringLiteral("bdghjlnoquvwxyzpracti"));
        QCOMPARE(f->lblWord->Caption(), QStringLiteral("PRACTIC- -A--- P-R--CT"));
        QVERIFY(fits(f->lblWord, f->lblWord->text(), f->lblWord->contentsRect().width()));
        QCOMPARE(f->txtUSED->Text(), QStringLiteral("BDGHJLNOQUVWXYZPRACTI"));
        QVERIFY(fits(f->txtUSED, f->txtUSED->Text(), f->txtUSED->width() - 8));
        QVERIFY(fits(f->lblALIAS1, f->lblALIAS1->text(), f->lblALIAS1->width()));
        QVERIFY(f->lblTOTAL1->x() - (f->lblALIAS1->x() + f->lblALIAS1->width()) >= 5);
        QVERIFY(fits(f->lblHEAD, f->lblHEAD->text(), f->lblHEAD->width()));
        for (const Label* l : f->lblCtrl + f->lblL + QList<Label*>{f->lblNR1, f->lblNR2})
            QVERIFY2(fits(l, l->text(), l->width()), qPrintable(l->text()));
        // Fonts follow the height; the smallest stays legible.
        QVERIFY(f->fraLEVEL->font().pointSizeF() >= 6);
        for (QPushButton* b : {static_cast<QPushButton*>(f->cmdHmDic), static_cast<QPushButton*>(f->cmdRESTART)})
            QVERIFY2(fits(b, b->text(), b->width() - 8), qPrintable(b->text()));
        for (QGroupBox* g : {static_cast<QGroupBox*>(f->fraENTERL), static_cast<QGroupBox*>(f->fraENTERW),
                             static_cast<QGroupBox*>(f->fraLEVEL)})
            QVERIFY2(fits(g, g->title(), g->width() - 10), qPrintable(g->title()));
        // The shrinking never adds up over resizes: back at a size, the
        // word has the size it had there.
        guess(f, QStringLiteral("efkms"));
        QCOMPARE(f->lblWord->Caption(), QStringLiteral("PRACTICE MAKES PERFECT"));
        resizeWindow(f, full);
        const double wordFont = f->lblWord->FontSize();
        resizeWindow(f, QSize(500, 900));
        resizeWindow(f, full);
        QCOMPARE(f->lblWord->FontSize(), wordFont);
    }

    void looks() {
        auto* f = openGame({"ab"});
        start(f);
        QTest::mouseClick(f, Qt::LeftButton, {}, QPoint(2, f->height() - 2));
        QCOMPARE(lastTune(), QStringLiteral("Bounce.mp3"));
        f->lblL_MouseMove(2, 0, 0, 0, 0);
        f->lblL_MouseMove(3, 0, 0, 0, 0);
        QCOMPARE(f->lblL[3]->palette().color(QPalette::WindowText), HangmanColors::red);
        QCOMPARE(f->lblL[2]->palette().color(QPalette::WindowText), HangmanColors::brightGreen);
        // The pressed look never asks for a font below 1 point.
        f->LetterFontSize = 3;
        f->lblL_MouseDown(0, 1, 0, 0, 0);
        QCOMPARE(f->lblL[0]->FontSize(), 1.0);
        f->lblL_MouseUp(0, 1, 0, 0, 0);
        QCOMPARE(f->lblL[0]->FontSize(), 3.0);
    }

    // ------------------------------------------------ the dictionary --

    // Entries a game can use; the other lines (unreadable, or no letter
    // box could ever enter them) are written back as they stood, in place.
    void dictionaryFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QByteArray>("written");
        const QByteArray three("\"apple\"\r\n\"ice cream\"\r\n\"Haus\"\r\n");
        QTest::newRow("three lines") << three << QStringList{"apple", "ice cream", "Haus"} << three;
        QTest::newRow("LF line ends") << QByteArray("\"apple\"\n\"pear\"\n") << QStringList{"apple", "pear"}
                                      << QByteArray("\"apple\"\r\n\"pear\"\r\n");
        const QByteArray comma("\"salt\"\r\n\"salt, pepper\"\r\n\"pepper\"\r\n");
        QTest::newRow("comma set aside") << comma << QStringList{"salt", "pepper"} << comma;
        const QByteArray quotes("\"say \"hi\"\"\r\n");
        QTest::newRow("one pair of quotes set aside") << quotes << QStringList{} << quotes;
        const QByteArray umlauts("\"M\xfc\x64\x65\"\r\n\"Stra\xdf\x65\"\r\n");
        QTest::newRow("umlauts set aside") << umlauts << QStringList{} << umlauts;
        const QByteArray utf8Umlaut("\"B\xc3\xa4r\"\r\n\"bear\"\r\n");
        QTest::newRow("UTF-8 umlaut set aside, written back in UTF-8") << utf8Umlaut << QStringList{"bear"} << utf8Umlaut;
        const QByteArray signs("\"x_y\"\r\n\"[x]\"\r\n\"a^b`c\\\"\r\n\"xy\"\r\n");
        QTest::newRow("signs between the capitals and small letters set aside") << signs << QStringList{"xy"} << signs;
        const QByteArray digit("\"route 66\"\r\n\"a\tb\"\r\n");
        QTest::newRow("digit and tab set aside") << digit << QStringList{} << digit;
        const QByteArray blanks("\" apple\"\r\n\"pear \"\r\n");
        QTest::newRow("blank at an end set aside") << blanks << QStringList{} << blanks;
        QTest::newRow("empty lines left out") << QByteArray("\"\"\r\n\"a\"\r\n") << QStringList{"a"}
                                              << QByteArray("\"a\"\r\n");
        QTest::newRow("empty line before a set-aside one")
            << QByteArray("\"a\"\r\n\"\"\r\n\"x_y\"\r\n\"b\"\r\n") << QStringList{"a", "b"}
            << QByteArray("\"a\"\r\n\"x_y\"\r\n\"b\"\r\n");
        const QByteArray damaged("\"ab\"\r\n\"c\x00\x1b\"\r\n\"ef\"\r\n", 19);
        QTest::newRow("line with control characters") << damaged << QStringList{"ab", "ef"} << damaged;
        const QByteArray after("\"ab\"\r\nhello\"\r\n\"cd\"\r\n");
        QTest::newRow("quote after a word") << after << QStringList{"ab", "cd"} << after;
        const QByteArray inside("x\"y\r\n\"cd\"\r\n");
        QTest::newRow("quote inside a word") << inside << QStringList{"cd"} << inside;
        const QByteArray outside("x\"Birne\"\r\n\"Kirsche\"zz\r\n\"Apfel\"\r\n");
        QTest::newRow("text outside the quotes set aside") << outside << QStringList{"Apfel"} << outside;
    }
    void dictionaryFile() {
        QFETCH(QByteArray, bytes);
        writeFile(QStringLiteral("Hangman.qem"), bytes);
        const QuotedLines::Contents read = HangmanDictionary::read().value();
        QTEST(read.values, "entries");
        QVERIFY(HangmanDictionary::write(read.values, read.kept()));
        QTEST(readFile(QStringLiteral("Hangman.qem")), "written");
    }

    // Loading says once how many lines it set aside; Save keeps them in
    // their places.
    void setAsideLines_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("three") << "English" << quotedLines({"x_y", "apple", "route 66", "[x]"})
                               << "3 lines of \"Hangman.qem\" could not be read. They stay in the file as they are."
                               << quotedLines({"x_y", "apple", "route 66", "[x]", "zebra"});
        QTest::newRow("one, German") << "German" << quotedLines({"apple", "a^b"})
                                     << "1 Zeile der Datei \"Hangman.qem\" konnte nicht gelesen werden. Sie bleibt "
                                        "unverändert in der Datei."
                                     << quotedLines({"apple", "a^b", "zebra"});
        // What a power loss leaves after the text: no line, not written back.
        QTest::newRow("a tail of NUL bytes")
            << "English" << quotedLines({"apple", "x_y", "pear"}) + QByteArray(4096, '\0')
            << "1 line of \"Hangman.qem\" could not be read. It stays in the file as it is."
            << quotedLines({"apple", "x_y", "pear", "zebra"});
    }
    void setAsideLines() {
        QFETCH(QString, language);
        QFETCH(QByteArray, bytes);
        CurrentLanguage = language;
        writeFile(QStringLiteral("Hangman.qem"), bytes);
        LoadDictionary();
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QTEST(MsgBoxSeam::last().text, "message");
        auto* editor = frmHmDic();
        QVERIFY(editor->lstSHOW->findItems(QStringLiteral("apple"), Qt::MatchExactly).size() == 1);
        typeKeys(editor->txtEnter, QStringLiteral("zebra"));
        QTest::mouseClick(editor->cmdAdd, Qt::LeftButton);
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(editor->cmdSave, Qt::LeftButton);
        QTEST(readFile(QStringLiteral("Hangman.qem")), "saved");
    }

    void sixHundredEntries() {
        QStringList entries;
        for (int i = 0; i < 600; ++i) entries << QStringLiteral("word ") + QString(QChar(u'a' + i % 26)).repeated(1 + i / 26);
        writeFile(QStringLiteral("Hangman.qem"), quotedLines(entries));
        LoadDictionary();
        auto* editor = frmHmDic();
        QCOMPARE(editor->lstSHOW->count(), 600);
        // The last entry is still checked for duplicates.
        editor->txtEnter->setText(entries.last().toUpper());
        QTest::mouseClick(editor->cmdAdd, Qt::LeftButton);
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("Word is already in dictionary"));
        editor->txtEnter->setText(QStringLiteral("last one"));
        QTest::mouseClick(editor->cmdAdd, Qt::LeftButton);
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(editor->cmdSave, Qt::LeftButton);
        QCOMPARE(HangmanDictionary::read().value().values, entries << QStringLiteral("last one"));
    }

    // Messages name the file, not its folder.
    void missingEmptyOrDamagedFile_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << false << QByteArray() << "No words available";
        QTest::newRow("empty") << true << QByteArray() << "No words available";
        QTest::newRow("not a text file")
            << true << QByteArray("\"ab\"\r\n\x00\x01\x02\xff\xfe\"cd\"\x00\r\n", 18)
            << "The file \"Hangman.qem\" is damaged: it is not a text file. It was not read and stays as it is.";
    }
    void missingEmptyOrDamagedFile() {
        QFETCH(bool, exists);
        QFETCH(QByteArray, bytes);
        if (exists) writeFile(QStringLiteral("Hangman.qem"), bytes);
        LoadDictionary();
        QCOMPARE(frmHmDic()->lstSHOW->count(), 0);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QFETCH(QString, message);
        QCOMPARE(MsgBoxSeam::last().text, message);
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        if (exists) QCOMPARE(readFile(QStringLiteral("Hangman.qem")), bytes);
    }

    // A dictionary that is there but cannot be read is named, with the
    // reason; a word added in the editor then does not replace it, even
    // when it can be read again by the time of the save.
    void unreadableDictionary_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("problem");
        const QString name("(\"Hangman.qem\" ");
        QTest::newRow("a read that failed once") << "I/O error once" << "57: Device I/O error " + name + "could not be read)";
        QTest::newRow("a pipe") << "pipe" << "75: Path/File access error " + name + "is not a regular file)";
        QTest::newRow("a link to a device") << "device" << "75: Path/File access error " + name + "is not a regular file)";
        QTest::newRow("larger than the editor shows")
            << "too large" << "7: Out of memory " + name + "is larger than 64 MB, more than the program reads)";
    }
    void unreadableDictionary() {
        QFETCH(QString, how);
        QFETCH(QString, problem);
        const QByteArray words = quotedLines({"apple", "pear"});
        makeUnreadable(QStringLiteral("Hangman.qem"), how, words);
        LoadDictionary();
        QCOMPARE(messages(), QStringList{"Problem: LoadDictionary\n" + problem});
        auto* editor = frmHmDic();
        QCOMPARE(editor->lstSHOW->count(), 0);
        typeKeys(editor->txtEnter, QStringLiteral("kiwi"));
        QTest::mouseClick(editor->cmdAdd, Qt::LeftButton);
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(editor->cmdSave, Qt::LeftButton);
        QCOMPARE(MsgBoxSeam::last().text, "Problem: HmDic_Save\n" + problem.section(" (", 0, 0) +
                                              " (\"Hangman.qem\" could not be read when it was opened and is not replaced)");
        QVERIFY(unreadableKept(QStringLiteral("Hangman.qem"), how, words));
    }

    // "^V" pastes "pe\"ar7ä"; "=" puts the rest in the box past the key
    // filter (as a drop would).
    void editorAdd_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("message");
        QTest::newRow("new word") << "pear" << 4 << "";
        QTest::newRow("phrase") << "ice cream" << 4 << "";
        QTest::newRow("duplicate") << "apple" << 3 << "Word is already in dictionary";
        QTest::newRow("trailing blank") << "pear " << 3 << "";
        QTest::newRow("paste filtered") << "^V" << 4 << "";
        QTest::newRow("quote put in") << "=say \"hi\"" << 3 << "";
        QTest::newRow("digit put in") << "=abc1" << 3 << "";
        QTest::newRow("umlaut put in") << QString::fromUtf8("=Müde") << 3 << "";
        QTest::newRow("underscore put in") << "=x_y" << 3 << "";
        QTest::newRow("signs typed are dropped") << "x[_]y" << 4 << "";
    }
    void editorAdd() {
        writeFile(QStringLiteral("Hangman.qem"), quotedLines({"APPLE", "Haus", "ice"}));
        LoadDictionary();
        auto* editor = frmHmDic();
        QFETCH(QString, entry);
        QApplication::clipboard()->setText(QString::fromUtf8("pe\"ar7ä"));
        if (entry.startsWith(u'=')) editor->txtEnter->setText(entry.mid(1));
        else typeKeys(editor->txtEnter, entry);
        QTest::mouseClick(editor->cmdAdd, Qt::LeftButton);
        QTEST(editor->lstSHOW->count(), "count");
        QTEST(MsgBoxSeam::shown().isEmpty() ? QString() : MsgBoxSeam::last().text, "message");
        for (int i = 0; i < editor->lstSHOW->count(); ++i)
            QVERIFY(HangmanDictionary::acceptable(editor->lstSHOW->item(i)->text()));
    }

    void editorCountDeleteAndSave() {
        CurrentLanguage = QStringLiteral("German");
        // "x_y" is set aside; it stays between the entries around it.
        writeFile(QStringLiteral("Hangman.qem"), quotedLines({"a", "b", "x_y", "c"}));
        LoadDictionary();
        auto* editor = frmHmDic();
        editor->Show();
        editor->activateNow();
        QCOMPARE(editor->lblCount->Caption(), QString::fromUtf8("3 Einträge"));
        QCOMPARE(HangmanGame->Dic(), QVariant(1));
        QTest::mouseClick(editor->cmdDel, Qt::LeftButton);
        QCOMPARE(editor->lstSHOW->count(), 3);
        editor->lstSHOW->setCurrentRow(1);
        QTest::mouseClick(editor->cmdDel, Qt::LeftButton);
        QCOMPARE(editor->lblCount->Caption(), QString::fromUtf8("2 Einträge"));
        // A deleted entry may be added again, at the end.
        typeKeys(editor->txtEnter, QStringLiteral("B"));
        QTest::mouseClick(editor->cmdAdd, Qt::LeftButton);
        QCOMPARE(editor->lstSHOW->count(), 3);
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(editor->cmdSave, Qt::LeftButton);
        QCOMPARE(readFile(QStringLiteral("Hangman.qem")), quotedLines({"a", "x_y", "c", "B"}));
    }

    // After a removal no entry is chosen: a second click, or a double
    // click, on Delete removes nothing more.
    void deleteChoosesNoOtherEntry_data() {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("second click") << false;
        QTest::newRow("double click") << true;
    }
    void deleteChoosesNoOtherEntry() {
        writeFile(QStringLiteral("Hangman.qem"), quotedLines({"apple", "banana", "Cherry"}));
        LoadDictionary();
        auto* editor = frmHmDic();
        editor->Show();
        editor->activateNow();
        QListWidget* list = editor->lstSHOW;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QCOMPARE(list->currentItem()->text(), QStringLiteral("banana"));
        QFETCH(bool, doubleClick);
        if (doubleClick) {
            // What the mouse sends: press, release, double click, release.
            QWidget* del = editor->cmdDel;
            const QPointF at = QPointF(del->rect().center());
            QTest::mouseClick(del, Qt::LeftButton);
            QMouseEvent twice(QEvent::MouseButtonDblClick, at, del->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(del, &twice);
            QTest::mouseRelease(del, Qt::LeftButton);
        } else {
            QTest::mouseClick(editor->cmdDel, Qt::LeftButton);
            QTest::mouseClick(editor->cmdDel, Qt::LeftButton);
        }
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(1)->text(), QStringLiteral("Cherry"));
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(list->currentRow(), -1);
        QVERIFY(list->uniformItemSizes());
    }

    void saveRefusals_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("empty list") << "empty list" << "The list is empty and will not be saved"
                                    << QByteArray("\"a\"\r\n");
        QTest::newRow("unwritable file") << "folder" << "Problem: HmDic_Save" << QByteArray();
        QTest::newRow("changed by another program while the editor was open")
            << "changed elsewhere"
            << "Problem: HmDic_Save\n75: Path/File access error (\"Hangman.qem\" was changed by another program since "
               "it was opened and is not replaced)"
            << QByteArray("\"a\"\r\n\"AddedElsewhere\"\r\n");
    }
    void saveRefusals() {
        writeFile(QStringLiteral("Hangman.qem"), quotedLines({"a"}));
        LoadDictionary();
        auto* editor = frmHmDic();
        QFETCH(QString, how);
        if (how == "empty list") {
            editor->lstSHOW->clear();
        } else if (how == "folder") {
            // A folder where the file should be: the save cannot replace it.
            QFile::remove(App::dataFile(QStringLiteral("Hangman.qem"), App::Access::Write));
            QDir(programFolder()).mkdir(QStringLiteral("Hangman.qem"));
        } else {
            QFile file(App::dataFile(QStringLiteral("Hangman.qem")));
            QVERIFY(file.open(QIODevice::Append));
            file.write("\"AddedElsewhere\"\r\n");
            file.close();
            typeKeys(editor->txtEnter, QStringLiteral("zebra"));
            QTest::mouseClick(editor->cmdAdd, Qt::LeftButton);
        }
        MsgBoxSeam::queueAnswer(vbYes);
        QTest::mouseClick(editor->cmdSave, Qt::LeftButton);
        QFETCH(QString, message);
        QVERIFY2(MsgBoxSeam::last().text.startsWith(message), qPrintable(MsgBoxSeam::last().text));
        QFETCH(QByteArray, after);
        if (!after.isEmpty()) QCOMPARE(readFile(QStringLiteral("Hangman.qem")), after);
    }
};

QTEST_MAIN(TestHangman)
#include "tst_hangman.moc"
