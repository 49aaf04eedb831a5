#pragma once
// Hangman for one player: the player logs in, picks a level and guesses
// five words or phrases drawn from the dictionary (frmHmDic), each scored by
// the misses it cost, with a running total. The round engine and the
// shared board are in Modules/modHangman.h. The menu is hidden while the
// window is open.
#include "Modules/modHangman.h"

class frmHangman1p : public HangmanWindow {
    Q_OBJECT
public:
    frmHangman1p();

    PictureButton* cmdHmDic;

    // The number of characters of the word being guessed.
    int WordLength = 0;
    // 1 between the fifth word's Next and the answer to the new-game question.
    int GameOver = 0;

    // Handlers.
    void cmdHmDic_Click();
    void cmdPROCEED_Click();
    void cmdHELP_Click();
    void cmdRESTART_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;
    QString formName() const override { return QStringLiteral("Hangman1p"); }

private:
    // The set-up of a game: dictionary, size, log-in, greeting, level.
    void setUpGame();
    // The stick-man in place of the gallows, as before the first word.
    void showStickMan();
    bool setUpDone_ = false;
    // Whether the dictionary's set-aside lines were told of while the window is open.
    bool setAsideTold_ = false;
};

class frmHangman1p* frmHangman1p();
void SetLangHangman1p(class frmHangman1p* frm);
