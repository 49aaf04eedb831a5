#include "Forms/HangMan2P/frmHangman2p.h"

#include "Modules/modLanguage.h"
#include "Modules/modMCI.h"
#include "Modules/modMain.h"
#include "Modules/modPlaySound.h"
#include "Platform/App.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"
#include "Platform/Timer.h"

#include <cmath>

class frmHangman2p* frmHangman2p() { return touchForm<class frmHangman2p>(); }

void SetLangHangman2p(class frmHangman2p* frm) {
    if (!isGerman()) return;
    SetLangHangmanBoard(frm);
    frm->lblHEAD->setCaption(QStringLiteral("HENKER 2Sp"));
    setFrameCaption(frm->fraENTERW, QStringLiteral("Wort(gruppen) Eingabe"));
    for (int i = 0; i < frm->txt.size(); ++i)
        frm->txt[i]->setAccessibleName(frm->fraENTERW->Caption() + QLatin1Char(' ') + QString::number(i + 1));
}

namespace {
// The board lies lower than on the one-player window: the letter boxes
// and the used letters share the frame under the title.
constexpr int kLower = 60;
} // namespace

frmHangman2p::frmHangman2p() {
    setCaption(QStringLiteral("QEM Hang Man 2P"));
    resize(910, 560 + kLower);
    buildBoard(QColor(200, 214, 190), QColor(20, 40, 20), HangmanColors::darkGreen);
    lblHEAD->setCaption(QStringLiteral("HANG MAN 2P"));
    for (QObject* o : children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && !w->isWindow() && w->y() >= 180) w->move(w->x(), w->y() + kLower);
    }

    const QFont names = lblALIAS1->font();
    imgPOINT = new Image(this);
    imgPOINT->setGeometry(20, 67, 36, 30);
    imgPOINT2 = new Image(this);
    imgPOINT2->setGeometry(400, 67, 36, 30);
    for (Image* p : {imgPOINT, imgPOINT2}) {
        p->setPicture(QPixmap(QStringLiteral(":/hangman/point.png")));
        p->setVisible(false);
    }
    // Each name keeps a clear gap to the total after it.
    lblALIAS1->setGeometry(60, 64, 172, 30);
    lblTOTAL1->setGeometry(245, 64, 80, 30);
    lblALIAS2 = new Label(QString(), this);
    lblALIAS2->setGeometry(440, 64, 292, 30);
    lblALIAS2->setTextFormat(Qt::PlainText);
    lblTOTAL2 = new Label(QString(), this);
    lblTOTAL2->setGeometry(745, 64, 90, 30);
    for (Label* l : {lblALIAS2, lblTOTAL2}) l->setFont(names);
    for (Label* l : {lblALIAS1, lblTOTAL1, lblALIAS2, lblTOTAL2}) fitToWidth(l);

    fraENTERW->setGeometry(330, 100, 570, 138);
    fraENTERW->setCaption(QStringLiteral("Enter Word(s)"));
    txtUSED->setGeometry(10, 86, 550, 42);
    const QFont letters = Fonts::font(QStringLiteral("Haettenschweiler"), 20);
    for (int i = 0; i < 15; ++i) {
        auto* l = new Label(QString(), fraENTERW);
        l->setGeometry(10 + i * 37, 28, 33, 48);
        l->setFont(letters);
        l->setAlignment(Qt::AlignCenter);
        setBackColor(l, HangmanColors::green);
        // One size for the whole row: the size the widest letter fits.
        fitToWidth(l, QStringLiteral("W"));
        lbl << l;
    }
    for (int i = 0; i < 15; ++i) {
        auto* t = new TextBox(fraENTERW);
        t->setGeometry(10 + i * 37, 28, 33, 48);
        t->setFont(letters);
        t->setAlignment(Qt::AlignCenter);
        t->setMaxLength(1);
        fitToWidth(t, QStringLiteral("W"));
        t->setAccessibleName(fraENTERW->Caption() + QLatin1Char(' ') + QString::number(i + 1));
        t->onKeyPress = [this, i](int& KeyAscii) { txt_KeyPress(i, KeyAscii); };
        txt << t;
    }
    lblERNSTL1 = new Label(QString(), this);
    lblERNSTL1->setGeometry(20, 96, 300, 2);
    lblERNSTL2 = new Label(QString(), this);
    lblERNSTL2->setGeometry(400, 96, 490, 2);
    for (Label* l : {lblERNSTL1, lblERNSTL2}) setBackColor(l, HangmanColors::darkGreen);
    setBackColor(txtENTERL, HangmanColors::green);
    setDefaultButton(cmdPROCEED);

    connect(cmdPROCEED, &QPushButton::clicked, this, [this] { cmdPROCEED_Click(); });
    connect(cmdHELP, &QPushButton::clicked, this, [this] { cmdHELP_Click(); });
    connect(cmdRESTART, &QPushButton::clicked, this, [this] { cmdRESTART_Click(); });
}

void frmHangman2p::Form_Load() {
    Tag = QStringLiteral("HangMan2p");
    newHangmanGame();
    SetLangHangman2p(this);
    NameLetterBoxes(this);
    loadBoard();
}

void frmHangman2p::Form_Activate() {
    if (shownOnce_) return;
    shownOnce_ = true;
    beginHalf();
}

void frmHangman2p::beginHalf() {
    maximiseForGame();
    setButtonCaption(cmdPROCEED, QStringLiteral("Start"));
    const QString turn = L(QStringLiteral(", it's your turn to make up 5 words or phrases to get "),
                           QStringLiteral(", Sie sind an der Reihe 5 Wörter oder Wortgruppen zu bilden, um "));
    const QString gallow = L(QStringLiteral(" on the gallow"), QStringLiteral(" an den Galgen zu kriegen"));
    if (Player2Guesses.toInt() == 1) {
        MsgBox(shownName(lblALIAS1) + turn + shownName(lblALIAS2) + gallow, vbInformation);
        imgPOINT2->setVisible(false);
        imgPOINT->setVisible(true);
        Player2Guesses = 1;
        Player1Guesses = 0;
    } else {
        const QString title = L(QStringLiteral("Log-in"), QStringLiteral("Anmeldung"));
        for (int player = 1; player <= 2; ++player) {
            const QString n = QString::number(player);
            QString name = playerName(InputBox(
                QStringLiteral("\n") + L(QStringLiteral("Please enter your name, Player ") + n,
                                          QStringLiteral("Bitte geben Sie Ihren Namen ein, Spieler ") + n),
                title));
            if (name.isEmpty()) name = L(QStringLiteral("Player "), QStringLiteral("Spieler ")) + n;
            showName(player == 1 ? lblALIAS1 : lblALIAS2, name);
            (player == 1 ? lblTOTAL1 : lblTOTAL2)->setCaption(QStringLiteral("0"));
        }
        MsgBox(shownName(lblALIAS2) + turn + shownName(lblALIAS1) + gallow, vbInformation);
        imgPOINT->setVisible(false);
        imgPOINT2->setVisible(true);
        Player1Guesses = 1;
        Player2Guesses = 0;
    }
    if (HangmanGame->Games() == 0) {
        lblNR1->setCaption(QStringLiteral("5"));
        lblNR2->setCaption(QStringLiteral("5"));
    }
    if (txt[0]->isVisible()) txt[0]->setFocus();
    NormaliseLevelText(this);
}

void frmHangman2p::txt_KeyPress(int Index, int& KeyAscii) {
    TextBox* box = txt[Index];
    const bool last = Index == int(txt.size()) - 1;
    if ((KeyAscii >= 97 && KeyAscii <= 122) || KeyAscii == 32) {
        // One character a box: a second one (a paste of several) is
        // dropped; typing over the selected character replaces it.
        if (!box->Text().isEmpty()) {
            if (box->selectedText() != box->Text()) {
                KeyAscii = 0;
                return;
            }
            box->clear();
        }
        if (KeyAscii == 32) {
            if (!last) lbl[Index]->setCaption(QStringLiteral(" "));
        } else {
            KeyAscii -= 32;
        }
        if (!last) txt[Index + 1]->setFocus();
        return;
    }
    if (KeyAscii == 8) {
        if (Index > 0) {
            txt[Index - 1]->clear();
            txt[Index - 1]->setFocus();
        }
        return;
    }
    KeyAscii = 0;
    box->setFocus();
}

void frmHangman2p::cmdPROCEED_Click() {
    // Typed letters come in capitals; a pasted one keeps its case in the
    // box, and the word is guessed in capitals.
    for (TextBox* t : txt) t->setTextValue(t->Text().toUpper());
    const QString first = txt[0]->Text();
    if (first.isEmpty() || first == QLatin1String(" ")) {
        txt[0]->setFocus();
        return;
    }
    // Blank boxes show from the start; every other label waits for its
    // letter, whatever was typed and taken back before.
    for (int i = 0; i < txt.size(); ++i)
        lbl[i]->setCaption(txt[i]->Text() == QLatin1String(" ") ? QStringLiteral(" ") : QString());
    ApplyLevel(this);
    BeginGuessing(this);
    for (TextBox* t : txt) t->setVisible(false);
    HangmanGame->setScore(140);
    int letters = 0;
    for (TextBox* t : txt)
        if (!t->Text().isEmpty() && t->Text() != QLatin1String(" ")) ++letters;
    if (!isHardLevel(this))
        lblCount->setCaption(QString::number(letters) + L(QStringLiteral(" Letters"), QStringLiteral(" Buchstaben")));
    const bool atPlayer1 = imgPOINT->isVisible();
    imgPOINT->setVisible(!atPlayer1);
    imgPOINT2->setVisible(atPlayer1);
}

void frmHangman2p::cmdHELP_Click() {
    cmdHELP->setEnabled(false);
    PlayMusic(QStringLiteral("Cheat.mp3"));
    QList<int> hidden;
    for (int i = 0; i < txt.size(); ++i)
        if (lbl[i]->Caption() != txt[i]->Text()) hidden << i;
    const int at = drawHiddenPosition(hidden);
    if (at < 0) return;
    txtENTERL->setText(txt[at]->Text());
    submitLetter(this, true);
    if (txtENTERL->isEnabled()) cmdHELP->setEnabled(true);
}

void frmHangman2p::AddScoreToPlayer() {
    clsHangMan& game = *HangmanGame;
    if (Player1Guesses.toInt() == 1) {
        game.setTotalScore1(qint16(game.TotalScore1() + game.Score()));
        lblTOTAL1->setCaption(QString::number(game.TotalScore1()));
    }
    if (Player2Guesses.toInt() == 1) {
        game.setTotalScore2(game.TotalScore2().toInt() + game.Score());
        lblTOTAL2->setCaption(QString::number(game.TotalScore2().toInt()));
    }
}

void frmHangman2p::pointAtMaker() {
    const bool player1Makes = Player2Guesses.toInt() == 1;
    imgPOINT->setVisible(player1Makes);
    imgPOINT2->setVisible(!player1Makes);
}

void frmHangman2p::cmdRESTART_Click() {
    clsHangMan& game = *HangmanGame;
    const QString caption = cmdRESTART->Caption();
    game.setRight(0);
    if (game.Cheat() != 1) game.setWrong(0);
    const QString restart = L(QStringLiteral("Restart"), QStringLiteral("Neustart"));
    if (caption == QLatin1String("Restart") || caption == QLatin1String("Neustart")) {
        // The word is abandoned: no score, no count; its maker types anew.
        ResetRound(this);
        pointAtMaker();
        return;
    }
    const QString left = QString::number(game.Games() - 5).right(1);
    lblNR1->setCaption(left);
    lblNR2->setCaption(left);
    AddScoreToPlayer();
    setButtonCaption(cmdRESTART, restart);
    ResetRound(this);
    if (game.Games() < 5) {
        pointAtMaker();
        return;
    }
    game.setGames(0);
    HalfOver = 1;
    if (Player1Guesses.toInt() == 1) {
        Player2Guesses = 1;
        Player1Guesses = 0;
        beginHalf();
    } else {
        endOfGame();
    }
}

void frmHangman2p::endOfGame() {
    HalfOver = 0;
    const double total1 = Runtime::Val(lblTOTAL1->Caption());
    const double total2 = Runtime::Val(lblTOTAL2->Caption());
    if (total1 != total2) {
        const bool first = total1 > total2;
        PointsDifference = int(std::lround(std::fabs(total1 - total2)));
        const QString winner = shownName(first ? lblALIAS1 : lblALIAS2);
        MsgBox(winner + L(QStringLiteral(" won the game"), QStringLiteral(" hat das Spiel gewonnen")) +
                   L(QStringLiteral(" with "), QStringLiteral(" mit ")) + QString::number(PointsDifference) +
                   L(QStringLiteral(" points difference"), QStringLiteral(" Punkten Unterschied")),
               vbExclamation);
    } else {
        MsgBox(L(QStringLiteral("Tie"), QStringLiteral("Gleichstand")), vbExclamation);
    }
    if (MsgBox(L(QStringLiteral("Do you want to start a new game"), QString::fromUtf8("Möchten Sie ein neues Spiel beginnen")),
               vbYesNo | vbQuestion) != vbYes) {
        Unload();
        return;
    }
    lblNR1->setCaption(QStringLiteral("?"));
    lblNR2->setCaption(QStringLiteral("?"));
    PointsDifference = 0;
    for (Label* l : {lblTOTAL1, lblTOTAL2, lblALIAS1, lblALIAS2}) l->setCaption(QString());
    cboLEVEL->setEnabled(true);
    fraLEVEL->setEnabled(true);
    lblCHEAT->setVisible(false);
    imgPOINT->setVisible(false);
    imgPOINT2->setVisible(false);
    for (Image* img : imgHANGMAN) img->setVisible(false);
    if (!imgGif[0]->Tag.isEmpty()) TimerGif->setEnabled(true);
    newHangmanGame();
    Player2Guesses = 0;
    beginHalf();
}

void frmHangman2p::Form_Unload(int&) {
    PlaySound(App::file(QStringLiteral("Sound/Blab.wav")), 0, false);
    PointsDifference = 0;
    LastWidth = 0;
    LastHeight = 0;
    ShowMainMenu();
}
