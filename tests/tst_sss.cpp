// Rock-paper-scissors: every sign against every sign with the computer's
// draws scripted, the game's end on its last attempt with each verdict, a
// missing sign picture, the attempt limit, the signs before OK, the looks
// of the sign labels, the German texts, and what a screen reader is told.
#include "Forms/Main/frmChoice.h"
#include "Forms/RockPaperScissors/frmSSS.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "Platform/Random.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QTest>

using namespace TestSupport;

namespace {

enum Sign { Rock, Scissors, Paper, Well };

class frmSSS* openFromMenu() {
    frmChoice();
    auto* f = frmSSS();
    f->Show();
    return f;
}

// The set-up: the limit typed, the well ticked or not, OK.
class frmSSS* startGame(const QString& limit = QStringLiteral("10"), bool well = true) {
    auto* f = openFromMenu();
    f->txtTryLimit->clear();
    typeKeys(f->txtTryLimit, limit);
    f->chkHole->setChecked(well);
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    return f;
}

// One attempt: the computer's draw scripted, then a click on the player's sign.
void play(class frmSSS* f, Sign player, Sign computer) {
    RandomSeam::script({(int(computer) + 0.5) / f->SignCount});
    QTest::mouseClick(f->lblSSS[player], Qt::LeftButton);
}

bool shows(const class frmSSS* f, const QString& picture) {
    return f->picSSS->Picture().toImage() == QImage(App::file(QStringLiteral("Pics/") + picture));
}

} // namespace

class TestSSS : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(true); }
    void cleanup() {
        RandomSeam::clear();
        tearDown();
    }

    void outcomes_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("player");
        QTest::addColumn<int>("computer");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("score");
        const int info = vbInformation, excl = vbExclamation;
        const QString en = QStringLiteral("English");
        QTest::newRow("rock, rock") << en << +Rock << +Rock << "Stein.gif" << "Tie" << excl << "0:0";
        QTest::newRow("rock, scissors") << en << +Rock << +Scissors << "Schere.gif" << "You won" << info << "1:0";
        QTest::newRow("rock, paper") << en << +Rock << +Paper << "Papier.gif" << "You lost" << excl << "0:1";
        QTest::newRow("rock, well") << en << +Rock << +Well << "Brunnen.gif" << "You lost" << excl << "0:1";
        QTest::newRow("scissors, rock") << en << +Scissors << +Rock << "Stein.gif" << "You lost" << excl << "0:1";
        QTest::newRow("scissors, scissors") << en << +Scissors << +Scissors << "Schere.gif" << "Tie" << excl << "0:0";
        QTest::newRow("scissors, paper") << en << +Scissors << +Paper << "Papier.gif" << "You won" << info << "1:0";
        QTest::newRow("scissors, well") << en << +Scissors << +Well << "Brunnen.gif" << "You lost" << excl << "0:1";
        QTest::newRow("paper, rock") << en << +Paper << +Rock << "Stein.gif" << "You won" << info << "1:0";
        QTest::newRow("paper, scissors") << en << +Paper << +Scissors << "Schere.gif" << "You lost" << excl << "0:1";
        QTest::newRow("paper, paper") << en << +Paper << +Paper << "Papier.gif" << "Tie" << excl << "0:0";
        QTest::newRow("paper, well") << en << +Paper << +Well << "Brunnen.gif" << "You won" << info << "1:0";
        QTest::newRow("well, rock") << en << +Well << +Rock << "Stein.gif" << "You won" << info << "1:0";
        QTest::newRow("well, scissors") << en << +Well << +Scissors << "Schere.gif" << "You won" << info << "1:0";
        QTest::newRow("well, paper") << en << +Well << +Paper << "Papier.gif" << "You lost" << excl << "0:1";
        QTest::newRow("well, well") << en << +Well << +Well << "Brunnen.gif" << "Tie" << excl << "0:0";
        const QString de = QStringLiteral("German");
        QTest::newRow("German tie") << de << +Rock << +Rock << "Stein.gif" << "Gleichstand" << excl << "0:0";
        QTest::newRow("German win: exclamation icon")
            << de << +Rock << +Scissors << "Schere.gif" << "Sie haben gewonnen" << excl << "1:0";
        QTest::newRow("German loss") << de << +Rock << +Paper << "Papier.gif" << "Sie haben verloren" << excl << "0:1";
    }
    void outcomes() {
        QFETCH(QString, language);
        QFETCH(int, player);
        QFETCH(int, computer);
        QFETCH(QString, picture);
        writeFile(QStringLiteral("QEM.ini"), "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        auto* f = startGame();
        play(f, Sign(player), Sign(computer));
        QVERIFY(shows(f, picture));
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QTEST(MsgBoxSeam::last().text, "message");
        QTEST(MsgBoxSeam::last().icon, "icon");
        QTEST(f->lblPScore->Caption() + u':' + f->lblAIScore->Caption(), "score");
        QCOMPARE(f->lblTry->Caption(), "1/10");
    }

    // Won attempts first, then lost ones, ties for the rest of the ten.
    void gameEndsOnTheTenthAttempt_data() {
        QTest::addColumn<int>("won");
        QTest::addColumn<int>("lost");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("more won") << 6 << 4 << "Congratulations, you won the game";
        QTest::newRow("equal scores") << 3 << 3 << "Well, at least you didn't lose";
        QTest::newRow("more lost") << 2 << 5 << "You miserably failed";
    }
    void gameEndsOnTheTenthAttempt() {
        QFETCH(int, won);
        QFETCH(int, lost);
        auto* f = startGame();
        for (int i = 0; i < 10; ++i) {
            QVERIFY(isFormLoaded<class frmSSS>());
            QCOMPARE(MsgBoxSeam::shown().size(), i);
            play(f, Rock, i < won ? Scissors : i < won + lost ? Paper : Rock);
        }
        QCOMPARE(MsgBoxSeam::shown().size(), 11);
        QTEST(MsgBoxSeam::last().text, "verdict");
        QCOMPARE(MsgBoxSeam::last().icon, int(vbExclamation));
        processEvents();
        QVERIFY(!isFormLoaded<class frmSSS>());
        QVERIFY(frmChoice()->isVisible());
    }

    void missingPicture() {
        QFile::remove(App::file(QStringLiteral("Pics/Brunnen.gif")));
        auto* f = startGame();
        play(f, Rock, Well);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(MsgBoxSeam::last().text, "Image Brunnen.gif not found!");
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        QCOMPARE(f->lblTry->Caption(), "0/10");
        QCOMPARE(f->lblAIScore->Caption(), "0");
        play(f, Rock, Paper);
        QCOMPARE(f->lblTry->Caption(), "1/10");
    }

    // Only digits reach the box; a game needs one attempt at least.
    void attemptLimit_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("limit");
        QTest::addColumn<bool>("starts");
        QTest::newRow("fraction: the point is dropped") << "1.5" << "15" << true;
        QTest::newRow("negative: the sign is dropped") << "-3" << "3" << true;
        QTest::newRow("letters dropped") << "1a2" << "12" << true;
        QTest::newRow("four digits at most") << "123456" << "1234" << true;
        QTest::newRow("zero") << "0" << "0" << false;
        QTest::newRow("empty") << "" << "" << false;
    }
    void attemptLimit() {
        QFETCH(QString, typed);
        QFETCH(bool, starts);
        auto* f = startGame(typed);
        QTEST(f->txtTryLimit->Text(), "limit");
        QCOMPARE(f->fraSetup->isVisibleTo(f), !starts);
        QCOMPARE(f->SignCount, starts ? 4 : 0);
        if (starts) QCOMPARE(f->lblTry->Caption(), "0/" + f->txtTryLimit->Text());
        else QCOMPARE(MsgBoxSeam::last().text, "Enter a number of attempts from 1 to 9999");
    }

    // Tab and Space alone set the game up and play it.
    void playedByKeys() {
        auto* f = openFromMenu();
        QApplication::setActiveWindow(f);
        auto tabTo = [f](QWidget* target) {
            for (int i = 0; i < 20 && f->focusWidget() != target; ++i)
                QTest::keyClick(f->focusWidget() ? f->focusWidget() : f, Qt::Key_Tab);
            return f->focusWidget() == target;
        };
        QVERIFY(tabTo(f->txtTryLimit));
        QTest::keyClick(f->txtTryLimit, Qt::Key_Backspace);
        QTest::keyClick(f->txtTryLimit, Qt::Key_Backspace);
        QTest::keyClicks(f->txtTryLimit, "1");
        QVERIFY(tabTo(f->cmdOK));
        QTest::keyClick(f->cmdOK, Qt::Key_Space);
        QCOMPARE(f->SignCount, 3);
        QVERIFY(tabTo(f->lblSSS[Paper]));
        RandomSeam::script({0.1});
        QTest::keyClick(f->lblSSS[Paper], Qt::Key_Space);
        QCOMPARE(MsgBoxSeam::shown().size(), 2);
        QCOMPARE(MsgBoxSeam::shown().first().text, "You won");
        QCOMPARE(MsgBoxSeam::last().text, "Congratulations, you won the game");
    }

    void signsAnswerOnlyAfterOK() {
        auto* f = openFromMenu();
        // Beyond the narrow window, hidden: Tab does not reach them either.
        QVERIFY(!f->lblSSS[Rock]->isVisibleTo(f));
        RandomSeam::script({0.1});
        QTest::mouseClick(f->lblSSS[Rock], Qt::LeftButton);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QCOMPARE(f->Attempts, 0);
        QVERIFY(f->picSSS->Picture().isNull());
    }

    void threeSigns() {
        auto* f = startGame(QStringLiteral("10"), false);
        QVERIFY(!f->lblSSS[Well]->isVisibleTo(f));
        QCOMPARE(f->lblSSS[Scissors]->x(), Form::px(7380));
        RandomSeam::script({0.99});
        QTest::mouseClick(f->lblSSS[Rock], Qt::LeftButton);
        QVERIFY(shows(f, QStringLiteral("Papier.gif")));
    }

    void layoutWithTheWell() {
        auto* f = openFromMenu();
        QCOMPARE(f->width(), Form::px(3975 + 220));
        QVERIFY(!f->txtHelp->isVisibleTo(f));
        f->chkHole->setChecked(true);
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QCOMPARE(f->width(), Form::px(11000));
        QVERIFY(f->lblSSS[Well]->isVisibleTo(f));
        QCOMPARE(f->lblSSS[Scissors]->x(), Form::px(7380 + 1500));
        QVERIFY(f->txtHelp->isVisibleTo(f));
        QVERIFY(!f->txtHilfe->isVisibleTo(f));
        QCOMPARE(f->txtHelp->accessibleName(), "Rules");
    }

    void looksOfTheSigns() {
        auto* f = startGame();
        auto color = [&](int i) { return f->lblSSS[i]->palette().color(QPalette::WindowText); };
        QTest::mouseMove(f->lblSSS[Rock]);
        QCOMPARE(color(Rock), QColor(255, 0, 0));
        QTest::mouseMove(f->lblSSS[Paper]);
        QCOMPARE(color(Paper), QColor(255, 0, 0));
        QCOMPARE(color(Rock), QColor(0, 128, 0));
        QTest::mouseMove(f, QPoint(Form::px(5000), Form::px(4500)));
        QCOMPARE(color(Paper), QColor(0, 128, 0));
        QTest::mousePress(f->lblSSS[Paper], Qt::LeftButton);
        QCOMPARE(f->lblSSS[Paper]->FontSize(), 16.0);
        QTest::mouseRelease(f->lblSSS[Paper], Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(f->lblSSS[Paper]->FontSize(), 20.0);
    }

    // A screen reader knows the computer's picture by its sign and is told
    // it with the outcome, before the message shows the outcome.
    void computerSignTold_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("player");
        QTest::addColumn<int>("computer");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("told");
        QTest::newRow("English: paper, won") << "English" << +Scissors << +Paper << "Computer: Paper"
                                             << "Computer: Paper. You won";
        QTest::newRow("German: well, lost") << "German" << +Rock << +Well << "Computer: Brunnen"
                                            << "Computer: Brunnen. Sie haben verloren";
    }
    void computerSignTold() {
        QFETCH(QString, language);
        QFETCH(int, player);
        QFETCH(int, computer);
        writeFile(QStringLiteral("QEM.ini"), "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
        ReaderListening reader;
        auto* f = startGame();
        play(f, Sign(player), Sign(computer));
        QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(f->picSSS);
        QVERIFY(picture);
        QTEST(picture->text(QAccessible::Name), "picture");
        QCOMPARE(reader.notices().size(), 1);
        QTEST(reader.notices().last(), "told");
    }

    void german() {
        writeFile(QStringLiteral("QEM.ini"), "[Values]\r\nLanguage=German\r\n");
        auto* f = startGame();
        QCOMPARE(f->Caption(), "Schnick Schnack Schnuck");
        QCOMPARE(f->lblSSS[Well]->Caption(), "BRUNNEN");
        QCOMPARE(f->txtTryLimit->x(), Form::px(3200));
        // The German rules lie in front; the English ones are hidden, not
        // merely covered, and the rules box is named in German.
        QVERIFY(f->children().indexOf(f->txtHilfe) > f->children().indexOf(f->txtHelp));
        QVERIFY(f->txtHilfe->isVisibleTo(f));
        QVERIFY(!f->txtHelp->isVisibleTo(f));
        QCOMPARE(f->txtHilfe->accessibleName(), "Regeln");
    }
};

QTEST_MAIN(TestSSS)
#include "tst_sss.moc"
