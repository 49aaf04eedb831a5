#pragma once
// The menu: the program's start window. Its load runs the start-up, its
// clock gates closing, its unload ends the program.
#include "Platform/Controls.h"
#include "Platform/Effects.h"
#include "Platform/Form.h"
#include "Platform/Timer.h"

#include <QList>

class frmChoice : public Form {
    Q_OBJECT
public:
    frmChoice();

    // Window state.
    float ActivatedOnce = 0;
    QString GifFile;

    // Controls.
    Image* imgBack;
    Label* lblTitle;
    Label* lblVersion;
    Label* lblDate;
    Label* lblTime;
    Label* lblStatus;
    Label* lblCredit;
    Label* lblLanguage;
    Image* imgSound;
    Image* imgChrstms;
    QList<Image*> imgGif;
    Frame* fraConv;
    QList<Label*> lblConv;
    PictureButton* cmdTrans;
    PictureButton* cmdBank;
    PictureButton* cmdSSS;
    PictureButton* cmdHangman1p;
    PictureButton* cmdHangman2p;
    PictureButton* cmdPlaner;
    PictureButton* cmdMsg;
    PictureButton* cmdKeyb;
    Label* lblEG;
    Label* lblBank;
    Label* lblRSP;
    Label* lblHangman;
    Label* lblBrthdylst;
    Label* lblMsg;
    Label* lblKeyb;
    Image* imgMin;
    Image* imgM;
    Image* imgMIN2;
    Image* imgExit;
    Image* imgX;
    Image* imgEXIT2;
    Image* imgBUTTON;
    Image* imgB;
    Image* imgB2;
    Label* lblExit;
    Timer* TimerTime;
    Timer* TimerGif;

    // The clock's tick count, kept in TimerTime's Tag.
    int tickCount() const;

    // Handlers.
    void TimerTime_Timer();
    void TimerGif_Timer();
    void imgExit_Click();
    void lblExit_Click();
    void lblLanguage_Click();
    void lblConv_MouseMove(int Index, int Button, int Shift, int X, int Y);
    void lblConv_MouseDown(int Index, int Button, int Shift, int X, int Y);
    void lblConv_MouseUp(int Index, int Button, int Shift, int X, int Y);
    void fraConv_MouseMove(int Button, int Shift, int X, int Y);
    void lblVersion_MouseMove(int Button, int Shift, int X, int Y);
    void lblTitle_MouseDown(int Button, int Shift, int X, int Y);
    void lblTitle_MouseMove(int Button, int Shift, int X, int Y);
    void imgMin_Click();
    void imgMin_MouseDown(int Button, int Shift, int X, int Y);
    void imgMin_MouseUp(int Button, int Shift, int X, int Y);
    void imgExit_MouseDown(int Button, int Shift, int X, int Y);
    void imgExit_MouseUp(int Button, int Shift, int X, int Y);
    void lblExit_MouseDown(int Button, int Shift, int X, int Y);
    void lblExit_MouseUp(int Button, int Shift, int X, int Y);

    // Moves the window with the mouse until the button is released.
    void DragForm(Form* frm);

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload(int& Cancel) override;
    void Form_MouseMove(int Button, int Shift, int X, int Y) override;
    QString formName() const override { return QStringLiteral("Choice"); }
    void paintEvent(QPaintEvent* e) override;

private:
    void buildControls();
    void wireControls();
    // A press on the title allows one drag; the window system then moves
    // the window until the button goes up.
    Effects::MoveGate titleMove_;
    void nameControls();
    // A copy refused because another one runs: closes once the clock allows.
    bool refused_ = false;
    // Today in the date label, its long form in the tooltip; again whenever
    // the day changes while the menu is open.
    void showDate();
    // Reads the globe's frames (GifFile) and starts it turning.
    void startGlobe();
    // The menu has been drawn once; until then an activation leaves the
    // globe waiting for it.
    bool drawn_ = false;
    bool globeWaits_ = false;
};

frmChoice* frmChoice();
