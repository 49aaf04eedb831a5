#pragma once
// Rock, scissors, paper against the computer, optionally with the well
// ("HOLE") as a fourth sign. The player first sets the number of attempts
// and whether the well plays, then clicks a sign per attempt: the computer
// draws its sign, shows its picture, the attempt's outcome is announced and
// scored, and after the last attempt a verdict on the game closes the
// window.
#include "Platform/Controls.h"
#include "Platform/Form.h"
#include "Platform/TextArea.h"

#include <QList>

class QCheckBox;

// Signs in one order everywhere: rock, scissors, paper, well.
namespace Signs {
enum Outcome { Tie, Win, Lose };
// The player's sign 0..3 against the computer's sign 1..4.
Outcome outcome(int player, int computer);
// The picture of the computer's sign 1..4 in the Pics folder.
QString pictureFile(int computer);
} // namespace Signs

class frmSSS : public Form {
    Q_OBJECT
public:
    frmSSS();

    // 3, or 4 with the well; 0 until the game has started.
    int SignCount = 0;
    // Attempts played, counting up to the limit.
    int Attempts = 0;
    int HoverIndex = 0;
    int PrevHoverIndex = 0;

    // Controls.
    Frame* fraSetup;
    Label* lblAttemptLimit;
    TextBox* txtTryLimit;
    QCheckBox* chkHole;
    PictureButton* cmdOK;
    QList<Label*> lblSSS;
    Image* picSSS;
    Label* lblScore1;
    Label* lblPScore;
    Label* lblScore2;
    Label* lblAIScore;
    Label* lblAttempts;
    Label* lblTry;
    TextArea* txtHilfe;
    TextArea* txtHelp;

    // Handlers.
    void txtTryLimit_KeyPress(int& KeyAscii);
    void cmdOK_Click();
    void lblSSS_Click(int Index);
    void lblSSS_MouseMove(int Index, int Button, int Shift, int X, int Y);
    void lblSSS_MouseDown(int Index, int Button, int Shift, int X, int Y);
    void lblSSS_MouseUp(int Index, int Button, int Shift, int X, int Y);
    void picSSS_MouseMove(int Button, int Shift, int X, int Y);
    void txtHelp_MouseMove(int Button, int Shift, int X, int Y);
    void txtHilfe_MouseMove(int Button, int Shift, int X, int Y);

protected:
    void Form_Load() override;
    void Form_MouseMove(int Button, int Shift, int X, int Y) override;
    void Form_Unload(int& Cancel) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    QString formName() const override { return QStringLiteral("SSS"); }

private:
    void resetHover();
    void announce(Signs::Outcome outcome);
    void showVerdict();

    // The number of attempts of this game, fixed by OK.
    int tryLimit_ = 0;
};

class frmSSS* frmSSS();
void SetLangSSS(class frmSSS* frm);
