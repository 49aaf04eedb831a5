#pragma once
// Hangman for two players at one screen. One player makes up a word or
// phrase of up to 15 characters in the row of letter boxes txt, the other
// guesses it with the shared round engine (Modules/modHangman.h); a
// finished word's score goes to the guesser. First half: player 2 makes up
// five words for player 1; second half: player 1 for player 2; then the
// totals are compared. The pointers show whose move it is.
#include "Modules/modHangman.h"

#include <QVariant>

class frmHangman2p : public HangmanWindow {
    Q_OBJECT
public:
    frmHangman2p();

    Label* lblALIAS2;
    Label* lblTOTAL2;
    Image* imgPOINT;
    Image* imgPOINT2;
    Label* lblERNSTL1;
    Label* lblERNSTL2;

    // 1 while that player guesses; empty before the first log-in.
    QVariant Player1Guesses, Player2Guesses;
    int HalfOver = 0;
    int PointsDifference = 0;

    // Handlers.
    void txt_KeyPress(int Index, int& KeyAscii);
    void cmdPROCEED_Click();
    void cmdHELP_Click();
    void cmdRESTART_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;
    QString formName() const override { return QStringLiteral("Hangman2p"); }

private:
    // The log-in of both players at the start of a game, or the greeting
    // of the second half; run at the first showing, at the half change and
    // for a new game, never merely because the window became active.
    void beginHalf();
    void AddScoreToPlayer();
    // The pointer at the player who makes up the next word.
    void pointAtMaker();
    void endOfGame();
    bool shownOnce_ = false;
};

class frmHangman2p* frmHangman2p();
void SetLangHangman2p(class frmHangman2p* frm);
