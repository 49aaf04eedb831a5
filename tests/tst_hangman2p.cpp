// Two-player Hangman: whole games played through the window (scores per
// half and per player, the winner or a tie, a new game), words with blanks,
// the letter boxes, Help, Restart mid-word, the pointers, the return to the
// window.
#include "Forms/HangMan2P/frmHangman2p.h"
#include "Forms/Main/LaunchTable.h"
#include "Forms/Main/frmChoice.h"
#include "Modules/modHangman.h"
#include "Modules/modLanguage.h"
#include "Platform/MsgBox.h"
#include "Platform/Random.h"
#include "Platform/Timer.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QTest>

using namespace TestSupport;

namespace {

QStringList messages() {
    QStringList texts;
    for (const auto& box : MsgBoxSeam::shown()) texts << box.text;
    return texts;
}

class frmHangman2p* openGame(const QString& name1 = QStringLiteral("Ann"), const QString& name2 = QStringLiteral("Bob"),
                             const QString& language = QStringLiteral("English")) {
    frmChoice();
    CurrentLanguage = language;
    MsgBoxSeam::queueInput(name1);
    MsgBoxSeam::queueInput(name2);
    auto* f = frmHangman2p();
    f->Show();
    f->activateNow();
    (void)QTest::qWaitForWindowActive(f, 100);
    return f;
}

// The maker types the word box by box ("_" for a box left empty) and
// presses Start.
void makeWord(class frmHangman2p* f, const QString& word) {
    for (int i = 0; i < word.size(); ++i)
        if (word[i] != u'_') typeKeys(f->txt[i], QString(word[i]));
    QTest::mouseClick(f->cmdPROCEED, Qt::LeftButton);
}

void guess(class frmHangman2p* f, const QString& letters) {
    for (QChar c : letters) {
        typeKeys(f->txtENTERL, QString(c));
        QTest::mouseClick(f->cmdOKL, Qt::LeftButton);
    }
}

void next(class frmHangman2p* f) { QTest::mouseClick(f->cmdRESTART, Qt::LeftButton); }

// Five words "ab", each guessed with the given letters before "ab"; the
// boxes after the fifth word's Next take the given answers.
void playHalf(class frmHangman2p* f, const QStringList& misses, const QList<int>& answers = {}) {
    for (int word = 0; word < misses.size(); ++word) {
        makeWord(f, QStringLiteral("ab"));
        guess(f, misses[word] + QStringLiteral("ab"));
        if (word == misses.size() - 1)
            for (int a : answers) MsgBoxSeam::queueAnswer(a);
        next(f);
    }
}

// Keys as the keyboard sends them, each to the control that has the focus.
void pressKeys(const char* keys) {
    for (const char* k = keys; *k; ++k) QTest::keyClick(QApplication::focusWidget(), *k);
}

QString shown(const class frmHangman2p* f) {
    QString out;
    for (const Label* l : f->lbl) out += l->Caption().isEmpty() ? QStringLiteral("_") : l->Caption();
    return out;
}

} // namespace

class TestHangman2p : public QObject {
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

    void openedFromTheMenu() {
        auto* menu = frmChoice();
        MsgBoxSeam::queueInput(QString());
        MsgBoxSeam::queueInput(QString());
        Launch(menu, *LaunchRowOf(menu, menu->cmdHangman2p));
        QVERIFY(isFormLoaded<class frmHangman2p>());
        auto* f = frmHangman2p();
        f->activateNow();
        QCOMPARE(music().lastPlayed.section(u'/', -1), QStringLiteral("Drumroll.wav"));
        QVERIFY(!menu->isVisible());
        QCOMPARE(f->lblALIAS1->Caption(), QStringLiteral("Player 1"));
        QCOMPARE(f->lblALIAS2->Caption(), QStringLiteral("Player 2"));
        QCOMPARE(messages().last(), QStringLiteral("Player 2, it's your turn to make up 5 words or phrases to get "
                                                   "Player 1 on the gallow"));
        QVERIFY(f->imgPOINT2->isVisible());
        QVERIFY(!f->imgPOINT->isVisible());
        QCOMPARE(f->lblNR1->Caption(), QStringLiteral("5"));
        QVERIFY(f->TimerGif->Enabled());
    }

    // Misses per word in each half (each word "ab") and the end.
    void wholeGame_data() {
        QTest::addColumn<QString>("name1");
        QTest::addColumn<QStringList>("firstHalf");
        QTest::addColumn<QStringList>("secondHalf");
        QTest::addColumn<QString>("total1");
        QTest::addColumn<QString>("total2");
        QTest::addColumn<QString>("verdict");
        const QStringList clean{"", "", "", "", ""};
        QTest::newRow("tie") << "Ann" << clean << clean << "700" << "700" << "Tie";
        QTest::newRow("player 1 wins") << "Ann" << clean << QStringList{"x", "", "xy", "", ""} << "700" << "640"
                                       << "Ann won the game with 60 points difference";
        QTest::newRow("player 2 wins") << "Ann" << QStringList{"cdefgh", "", "", "", ""} << clean << "580" << "700"
                                       << "Bob won the game with 120 points difference";
        QTest::newRow("name with ampersand and markup wins")
            << "Ann & Co <b>bold</b>" << clean << QStringList{"x", "", "xy", "", ""} << "700" << "640"
            << "Ann & Co <b>bold</b> won the game with 60 points difference";
    }
    void wholeGame() {
        QFETCH(QString, name1);
        auto* f = openGame(name1);
        // The name arrives as typed: shown as plain text, "&" and all.
        QCOMPARE(f->lblALIAS1->text(), name1);
        QCOMPARE(f->lblALIAS1->textFormat(), Qt::PlainText);
        QCOMPARE(messages().last(), QStringLiteral("Bob, it's your turn to make up 5 words or phrases to get ") + name1 +
                                        QStringLiteral(" on the gallow"));
        QFETCH(QStringList, firstHalf);
        QFETCH(QStringList, secondHalf);
        playHalf(f, firstHalf);
        QCOMPARE(messages().last(), name1 + QStringLiteral(", it's your turn to make up 5 words or phrases to get Bob "
                                                           "on the gallow"));
        QVERIFY(f->imgPOINT->isVisible());
        QCOMPARE(f->lblNR1->Caption(), QStringLiteral("5"));
        QCOMPARE(f->lblTOTAL2->Caption(), QStringLiteral("0"));
        QCOMPARE(f->cmdPROCEED->Caption(), QStringLiteral("Start"));
        playHalf(f, secondHalf, {vbOK, vbNo});
        QTEST(MsgBoxSeam::shown()[MsgBoxSeam::shown().size() - 2].text, "verdict");
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("Do you want to start a new game"));
        QTEST(QString::number(HangmanGame->TotalScore1()), "total1");
        QTEST(QString::number(HangmanGame->TotalScore2().toInt()), "total2");
        QVERIFY(!isFormLoaded<class frmHangman2p>());
        QVERIFY(frmChoice()->isVisible());
    }

    // A name is one line, and one that reads right to left (or holds
    // direction marks) is set apart from the words around it.
    void namesOneLineAndIsolated_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("line breaks and a tab") << "Ann\r\nLee\tX\x01" << "Ann Lee X";
        QTest::newRow("right-to-left override") << QString::fromUtf8("\u202Eevil") << QString::fromUtf8("\u2068\u202Eevil\u2069");
        QTest::newRow("Hebrew") << QString::fromUtf8("דוד") << QString::fromUtf8("\u2068דוד\u2069");
        QTest::newRow("a pop it did not open") << QString::fromUtf8("\u2069\u202Eevil")
                                               << QString::fromUtf8("\u2068\u202Eevil\u2069");
    }
    void namesOneLineAndIsolated() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        auto* f = openGame(typed);
        QCOMPARE(f->lblALIAS1->Caption(), shown);
        QCOMPARE(messages().last(), "Bob, it's your turn to make up 5 words or phrases to get " + shown + " on the gallow");
    }

    void newGameAsksBothNames() {
        auto* f = openGame();
        f->lblFRAME->click();
        QVERIFY(f->lblCHEAT->isVisible());
        playHalf(f, {"", "", "", "", ""});
        MsgBoxSeam::queueInput(QStringLiteral("Cy"));
        MsgBoxSeam::queueInput(QStringLiteral("Di"));
        playHalf(f, {"", "", "", "", ""}, {vbOK, vbYes});
        QCOMPARE(f->lblALIAS1->Caption(), QStringLiteral("Cy"));
        QCOMPARE(f->lblALIAS2->Caption(), QStringLiteral("Di"));
        QCOMPARE(f->lblTOTAL1->Caption(), QStringLiteral("0"));
        QCOMPARE(HangmanGame->TotalScore1(), qint16(0));
        QVERIFY(!f->lblCHEAT->isVisible());
        QVERIFY(!f->imgPOINT->isVisible());
        QVERIFY(f->imgPOINT2->isVisible());
        QCOMPARE(f->Player1Guesses, QVariant(1));
        QVERIFY(f->cboLEVEL->isEnabled());
    }

    // Blank boxes show from the start and the word can be solved.
    void blanks_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("count");
        QTest::newRow("blank in the middle") << "a b" << "_ _____________" << "2 Letters";
        QTest::newRow("blank in the last box") << "abcdefghijklmn " << "______________ " << "14 Letters";
        QTest::newRow("empty box in the middle") << "a_b" << "_______________" << "2 Letters";
    }
    void blanks() {
        auto* f = openGame();
        QFETCH(QString, word);
        makeWord(f, word);
        QTEST(shown(f), "start");
        QTEST(f->lblCount->Caption(), "count");
        QString letters = word;
        letters.remove(u' ').remove(u'_');
        guess(f, letters);
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("Congratulations"));
        QCOMPARE(f->lblTEMP->Caption(), QStringLiteral("+140"));
    }

    // A pasted small letter stays small in its box, but is guessed as any.
    void pastedLetterIsGuessed() {
        auto* f = openGame();
        QApplication::clipboard()->setText(QStringLiteral("x"));
        typeKeys(f->txt[0], "^V");
        QTest::mouseClick(f->cmdPROCEED, Qt::LeftButton);
        guess(f, "x");
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("Congratulations"));
    }

    void backspaceOverABlank() {
        auto* f = openGame();
        typeKeys(f->txt[0], QStringLiteral("a"));
        typeKeys(f->txt[1], QStringLiteral(" "));
        QCOMPARE(f->lbl[1]->Caption(), QStringLiteral(" "));
        typeKeys(f->txt[2], QStringLiteral("\b"));
        QCOMPARE(f->txt[1]->Text(), QString());
        QCOMPARE(f->focusWidget(), f->txt[1]);
        makeWord(f, QStringLiteral("_b"));
        QCOMPARE(shown(f), QStringLiteral("_______________"));
        QCOMPARE(f->lblCount->Caption(), QStringLiteral("2 Letters"));
        guess(f, QStringLiteral("ab"));
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("Congratulations"));
    }

    // A screen reader hears each box of the word by what it holds: a hidden
    // letter, a letter shown, a blank between words, or no part of the word.
    void letterBoxesNamedForReaders_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("names");
        const QString hidden = "Hidden letter", versteckt = QString::fromUtf8("Verdeckter Buchstabe");
        QTest::newRow("English") << "English"
                                 << (QStringList{hidden, hidden, hidden, "Blank", hidden, "O", hidden} +
                                     QStringList(8, "Unused"));
        QTest::newRow("German") << "German"
                                << (QStringList{versteckt, versteckt, versteckt, "Leerzeichen", versteckt, "O", versteckt} +
                                    QStringList(8, "Unbenutzt"));
    }
    void letterBoxesNamedForReaders() {
        QFETCH(QString, language);
        ReaderListening reader;
        auto* f = openGame(QStringLiteral("Ann"), QStringLiteral("Bob"), language);
        makeWord(f, QStringLiteral("cat dog"));
        guess(f, QStringLiteral("oz"));
        QStringList names;
        for (Label* l : f->lbl) names << QAccessible::queryAccessibleInterface(l)->text(QAccessible::Name);
        QTEST(names, "names");
    }

    void letterBoxes_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("focus");
        QTest::newRow("small letter") << "q" << "Q" << 1;
        QTest::newRow("capital dropped") << "Q" << "" << 0;
        QTest::newRow("digit dropped") << "5" << "" << 0;
        QTest::newRow("paste keeps one character, as pasted") << "^V" << "x" << 1;
        QTest::newRow("second letter dropped") << "qr" << "Q" << 1;
    }
    void letterBoxes() {
        auto* f = openGame();
        QApplication::clipboard()->setText(QStringLiteral("xyz"));
        QFETCH(QString, keys);
        typeKeys(f->txt[0], keys);
        QTEST(f->txt[0]->Text(), "box");
        QFETCH(int, focus);
        QCOMPARE(f->focusWidget(), f->txt[focus]);
    }

    void lastBoxKeepsTheFocus() {
        auto* f = openGame();
        typeKeys(f->txt[14], QStringLiteral("q"));
        QCOMPARE(f->txt[14]->Text(), QStringLiteral("Q"));
        typeKeys(f->txt[14], QStringLiteral("\b "));
        QCOMPARE(f->lbl[14]->Caption(), QString());
    }

    void startNeedsTheFirstBox_data() {
        QTest::addColumn<QString>("word");
        QTest::newRow("empty first box") << "_ab";
        QTest::newRow("blank first box") << " ab";
    }
    void startNeedsTheFirstBox() {
        auto* f = openGame();
        QFETCH(QString, word);
        makeWord(f, word);
        QVERIFY(f->cmdPROCEED->isVisible());
        QVERIFY(f->txt[0]->isVisible());
        QVERIFY(f->imgPOINT2->isVisible());
    }

    void hardShowsNoCount() {
        auto* f = openGame();
        f->cboLEVEL->setCurrentIndex(2);
        makeWord(f, QStringLiteral("ab"));
        QCOMPARE(f->lblCount->Caption(), QString());
        QVERIFY(!f->lblL[0]->isVisible());
    }

    void helpUncoversAHiddenLetter() {
        auto* f = openGame();
        f->cboLEVEL->setCurrentIndex(0);
        makeWord(f, QStringLiteral("ab cd"));
        guess(f, QStringLiteral("a"));
        RandomSeam::script({0.99});
        QTest::mouseClick(f->cmdHELP, Qt::LeftButton);
        QCOMPARE(shown(f), QStringLiteral("A_ _D__________"));
        QVERIFY(f->cmdHELP->isEnabled());
    }

    void helpWhenAllIsUncovered() {
        auto* f = openGame();
        f->cboLEVEL->setCurrentIndex(0);
        makeWord(f, QStringLiteral("ab"));
        guess(f, QStringLiteral("ab"));
        const QString used = f->txtUSED->Text();
        f->cmdHELP_Click();
        QVERIFY(!f->cmdHELP->isEnabled());
        QCOMPARE(f->txtUSED->Text(), used);
    }

    void restartGivesTheWordBack() {
        auto* f = openGame();
        makeWord(f, QStringLiteral("ab"));
        QVERIFY(f->imgPOINT->isVisible());
        guess(f, QStringLiteral("xy"));
        next(f);
        QCOMPARE(HangmanGame->Games(), qint16(0));
        QCOMPARE(HangmanGame->Wrong(), qint16(0));
        QCOMPARE(f->lblTOTAL1->Caption(), QStringLiteral("0"));
        QCOMPARE(f->lblNR1->Caption(), QStringLiteral("5"));
        QVERIFY(f->imgPOINT2->isVisible());
        QVERIFY(!f->imgPOINT->isVisible());
        QVERIFY(f->txt[0]->isVisible());
        QCOMPARE(f->txt[0]->Text(), QString());
        makeWord(f, QStringLiteral("cd"));
        guess(f, QStringLiteral("cd"));
        QCOMPARE(f->lblTEMP->Caption(), QStringLiteral("+140"));
    }

    // A letter refused as used before is not carried into the next word:
    // the keys go where the keyboard sends them, to the focused control.
    void refusedLetterStaysInItsWord() {
        auto* f = openGame();
        makeWord(f, QStringLiteral("ab"));
        pressKeys("a\ra\r");
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("You have already used this letter"));
        next(f);
        makeWord(f, QStringLiteral("ab"));
        QCOMPARE(f->txtENTERL->Text(), QString());
        pressKeys("b");
        QCOMPARE(f->txtENTERL->Text(), QStringLiteral("B"));
        pressKeys("\r");
        QCOMPARE(f->txtUSED->Text(), QStringLiteral("B"));
        QCOMPARE(shown(f), QStringLiteral("_B_____________"));
        QCOMPARE(HangmanGame->Wrong(), qint16(0));
    }

    // Long names fit their labels and keep a gap before the totals, at
    // window sizes of other proportions than the design's.
    void longNamesKeepAGap_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("5:4") << QSize(1280, 1024);
        QTest::newRow("4:3") << QSize(1024, 768);
        QTest::newRow("tall and narrow") << QSize(500, 900);
        QTest::newRow("smaller than the window takes") << QSize(200, 150);
    }
    void longNamesKeepAGap() {
        auto* f = openGame(QStringLiteral("Maximiliane Longname-Smith & Co"),
                           QStringLiteral("Bartholomew Longname-Smith"));
        QFETCH(QSize, size);
        f->setWindowState(Qt::WindowNoState);
        f->resize(size);
        processEvents();
        for (Label* name : {f->lblALIAS1, f->lblALIAS2}) {
            QVERIFY(QFontMetrics(name->font()).horizontalAdvance(name->text()) <= name->width());
        }
        QVERIFY(f->lblTOTAL1->x() - (f->lblALIAS1->x() + f->lblALIAS1->width()) >= 5);
        QVERIFY(f->lblTOTAL2->x() - (f->lblALIAS2->x() + f->lblALIAS2->width()) >= 5);
        QVERIFY(f->fraLEVEL->font().pointSizeF() >= 6);
        makeWord(f, QStringLiteral("abcdefghijklmnw"));
        guess(f, QStringLiteral("mw"));
        for (Label* l : {f->lbl[12], f->lbl[14]})
            QVERIFY(QFontMetrics(l->font()).horizontalAdvance(l->text()) <= l->width());
    }

    void nextCountsDown() {
        auto* f = openGame();
        QStringList left;
        for (int word = 0; word < 4; ++word) {
            makeWord(f, QStringLiteral("ab"));
            guess(f, QStringLiteral("ab"));
            next(f);
            left << f->lblNR1->Caption();
        }
        QCOMPARE(left, QStringList({"4", "3", "2", "1"}));
        QCOMPARE(f->cmdPROCEED->Caption(), QStringLiteral("Proceed"));
        QVERIFY(f->imgPOINT2->isVisible());
    }

    void lostWordShowsTheSolution() {
        auto* f = openGame();
        makeWord(f, QStringLiteral("ab"));
        guess(f, QStringLiteral("cdefghi"));
        QCOMPARE(shown(f), QStringLiteral("AB_____________"));
        QCOMPARE(f->lblTEMP->Caption(), QStringLiteral("+0"));
        QCOMPARE(backColor(f->txtENTERL), HangmanColors::blue);
        next(f);
        QCOMPARE(f->lblTOTAL1->Caption(), QStringLiteral("0"));
        QCOMPARE(f->lblNR1->Caption(), QStringLiteral("4"));
    }

    void returningChangesNothing() {
        auto* f = openGame();
        makeWord(f, QStringLiteral("ab"));
        const int boxes = int(MsgBoxSeam::shown().size());
        frmChoice()->activateNow();
        f->activateNow();
        QCOMPARE(int(MsgBoxSeam::shown().size()), boxes);
        QVERIFY(f->imgPOINT->isVisible());
        QVERIFY(!f->cmdPROCEED->isVisible());
    }

    void germanTexts() {
        auto* f = openGame(QString(), QString(), QStringLiteral("German"));
        QCOMPARE(f->lblHEAD->Caption(), QStringLiteral("HENKER 2Sp"));
        QCOMPARE(f->lblALIAS2->Caption(), QStringLiteral("Spieler 2"));
        QCOMPARE(f->cboLEVEL->currentText(), QStringLiteral("Mittel"));
        makeWord(f, QStringLiteral("ab"));
        QCOMPARE(f->fraENTERW->Caption(), QStringLiteral("Benutzte Buchstaben"));
        QCOMPARE(f->txtUSED->accessibleName(), QStringLiteral("Benutzte Buchstaben"));
        QCOMPARE(f->lblCount->Caption(), QStringLiteral("2 Buchstaben"));
    }
};

QTEST_MAIN(TestHangman2p)
#include "tst_hangman2p.moc"
