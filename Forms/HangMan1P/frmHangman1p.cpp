#include "Forms/HangMan1P/frmHangman1p.h"

#include "Forms/HangMan1P/frmHmDic.h"
#include "Modules/modLanguage.h"
#include "Modules/modMCI.h"
#include "Modules/modMain.h"
#include "Modules/modPlaySound.h"
#include "Platform/App.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/Timer.h"

class frmHangman1p* frmHangman1p() { return touchForm<class frmHangman1p>(); }

void SetLangHangman1p(class frmHangman1p* frm) {
    if (!isGerman()) return;
    SetLangHangmanBoard(frm);
    frm->lblHEAD->setCaption(QStringLiteral("HENKER 1Sp"));
    setButtonCaption(frm->cmdHmDic, QString::fromUtf8("Wörterbuch"));
    setFrameCaption(frm->fraENTERW, QStringLiteral("Benutzte Buchstaben"));
}

frmHangman1p::frmHangman1p() {
    setCaption(QStringLiteral("QEM Hang Man 1P"));
    resize(910, 560);
    buildBoard(QColor(16, 16, 16), QColor(230, 230, 230), HangmanColors::brightGreen);
    lblHEAD->setCaption(QStringLiteral("HANG MAN 1P"));

    lblWord = new Label(QString(), this);
    lblWord->setGeometry(340, 110, 550, 64);
    lblWord->setFont(Fonts::font(QStringLiteral("Steamer"), 30));
    lblWord->setAlignment(Qt::AlignCenter);
    // A long phrase stays whole: its font shrinks to the label.
    fitToWidth(lblWord);
    lblHid = new Label(QString(), this);
    lblHid->setGeometry(340, 110, 550, 64);
    lblHid->setVisible(false);

    cmdHmDic = new PictureButton(QStringLiteral("Dictionary"), this);
    cmdHmDic->setGeometry(730, 382, 160, 28);
    cmdHmDic->setFont(cmdHELP->font());
    cmdHmDic->setAccessibleName(cmdHmDic->Caption());
    fitToWidth(cmdHmDic);
    setBackColor(txtENTERL, HangmanColors::blue);

    connect(cmdHmDic, &QPushButton::clicked, this, [this] { cmdHmDic_Click(); });
    connect(cmdPROCEED, &QPushButton::clicked, this, [this] { cmdPROCEED_Click(); });
    connect(cmdHELP, &QPushButton::clicked, this, [this] { cmdHELP_Click(); });
    connect(cmdRESTART, &QPushButton::clicked, this, [this] { cmdRESTART_Click(); });
}

void frmHangman1p::Form_Load() {
    Tag = QStringLiteral("HangMan1p");
    newHangmanGame();
    loadBoard();
    SetLangHangman1p(this);
}

void frmHangman1p::Form_Activate() {
    // The set-up runs at the first showing (and on a new game); coming back
    // to the window changes nothing, except that the dictionary is read
    // again once the editor has been shown.
    if (!setUpDone_) {
        setUpGame();
        return;
    }
    if (HangmanGame->Dic() == 1) {
        LoadDictionary(&setAsideTold_);
        HangmanGame->setDic(0);
    }
}

void frmHangman1p::setUpGame() {
    setUpDone_ = true;
    LoadDictionary(&setAsideTold_);
    maximiseForGame();
    cmdPROCEED->setVisible(true);
    setButtonCaption(cmdPROCEED, QStringLiteral("Start"));

    QString name = playerName(InputBox(QStringLiteral("\n") + L(QStringLiteral("Please enter your name, Player 1"),
                                                                QStringLiteral("Bitte geben Sie Ihren Namen ein, Spieler 1")),
                                       L(QStringLiteral("Log-in"), QStringLiteral("Anmeldung"))));
    if (name.isEmpty()) name = L(QStringLiteral("Player 1"), QStringLiteral("Spieler 1"));
    showName(lblALIAS1, name);
    MsgBox(name + L(QStringLiteral(", it's your turn to guess 5 words or phrases"),
                    QStringLiteral(", Sie sind an der Reihe 5 Wörter oder Wortgruppen zu erraten")),
           vbInformation);
    lblTOTAL1->setCaption(QStringLiteral("0"));
    if (HangmanGame->Games() == 0) {
        lblNR1->setCaption(QStringLiteral("5"));
        lblNR2->setCaption(QStringLiteral("5"));
    }
    cmdPROCEED->setFocus();
    NormaliseLevelText(this);
    HangmanGame->setDic(0);
}

void frmHangman1p::cmdHmDic_Click() {
    PlayMusic(QStringLiteral("Stretch1.mp3"));
    frmHmDic()->Show(vbModal);
    PlayMusic(QStringLiteral("Stretch2.mp3"));
    // Unsaved changes of the editor are dropped: the list is the file again.
    if (HangmanGame->Dic() == 1) {
        LoadDictionary(&setAsideTold_);
        HangmanGame->setDic(0);
    }
}

void frmHangman1p::showStickMan() {
    for (Image* img : imgHANGMAN) img->setVisible(false);
    if (!imgGif[0]->Tag.isEmpty()) TimerGif->setEnabled(true);
}

void frmHangman1p::cmdPROCEED_Click() {
    if (frmHmDic()->lstSHOW->count() == 0) {
        // No word to draw (the dictionary may have emptied during the
        // game): the window waits at Start, where the player can fill the
        // dictionary and go on.
        showStickMan();
        setButtonCaption(cmdPROCEED, QStringLiteral("Start"));
        cmdPROCEED->setVisible(true);
        cmdPROCEED->setFocus();
        return;
    }
    ApplyLevel(this);
    PickRandomWord(this);
    RevealSpaces(this);
    BeginGuessing(this);
    HangmanGame->setScore(140);
    WordLength = int(lblWord->Caption().size());
    if (!isHardLevel(this))
        lblCount->setCaption(QString::number(WordLength) + L(QStringLiteral(" Letters"), QStringLiteral(" Buchstaben")));
}

void frmHangman1p::cmdHELP_Click() {
    cmdHELP->setEnabled(false);
    PlayMusic(QStringLiteral("Cheat.mp3"));
    const QString hidden = lblHid->Caption(), shown = lblWord->Caption();
    if (hidden == shown) return;
    QList<int> open;
    for (int i = 0; i < hidden.size(); ++i)
        if (i >= shown.size() || shown[i] != hidden[i]) open << i;
    const int at = drawHiddenPosition(open);
    if (at < 0) return;
    txtENTERL->setText(hidden.mid(at, 1));
    submitLetter(this, true);
    if (txtENTERL->isEnabled()) cmdHELP->setEnabled(true);
}

void frmHangman1p::cmdRESTART_Click() {
    clsHangMan* game = HangmanGame.get();
    const QString caption = cmdRESTART->Caption();
    ResetRound(this);
    game->setRight(0);
    if (game->Cheat() == 0) game->setWrong(0);
    if (caption == QLatin1String("Restart") || caption == QLatin1String("Neustart")) {
        // The word is abandoned: a new one, with no score and no count.
        cmdPROCEED_Click();
        return;
    }
    const QString left = QString::number(game->Games() - 5).right(1);
    lblNR1->setCaption(left);
    lblNR2->setCaption(left);
    game->setTotalScore1(qint16(game->TotalScore1() + game->Score()));
    lblTOTAL1->setCaption(QString::number(game->TotalScore1()));
    if (game->Games() == 5) {
        GameOver = 1;
        game->setGames(0);
    }
    if (GameOver == 1) {
        GameOver = 0;
        if (MsgBox(L(QStringLiteral("Do you want to start a new game"),
                     QString::fromUtf8("Möchten Sie ein neues Spiel beginnen")),
                   vbYesNo | vbQuestion) != vbYes) {
            Unload();
            return;
        }
        game->setCheat(0);
        lblCHEAT->setVisible(false);
        lblNR1->setCaption(QStringLiteral("?"));
        lblNR2->setCaption(QStringLiteral("?"));
        lblTOTAL1->setCaption(QString());
        lblALIAS1->setCaption(QString());
        cboLEVEL->setEnabled(true);
        fraLEVEL->setEnabled(true);
        showStickMan();
        newHangmanGame();
        game = HangmanGame.get();
        setUpGame();
    }
    if (game->Games() != 0) lblTOTAL1->setCaption(QString::number(game->TotalScore1()));
    const QString restart = L(QStringLiteral("Restart"), QStringLiteral("Neustart"));
    setButtonCaption(cmdRESTART, restart);
    if (game->Games() != 0) cmdPROCEED_Click();
}

void frmHangman1p::Form_Unload(int&) {
    PlaySound(App::file(QStringLiteral("Sound/Blab.wav")), 0, false);
    LastWidth = 0;
    LastHeight = 0;
    ShowMainMenu();
}
