#pragma once
// The holiday greeting: a small skinned message window whose OK label
// appears only after its timer has ticked fifty times.
#include "Platform/Controls.h"
#include "Platform/Effects.h"
#include "Platform/Form.h"
#include "Platform/Timer.h"

class frmMsg : public Form {
    Q_OBJECT
public:
    frmMsg();

    Label* lblMsg;
    Label* lblExit;
    Image* imgBUTTON;
    Image* imgB;
    Image* imgB2;
    Image* imgTop;
    Image* imgBOTTOM;
    Image* imgLEFT;
    Image* imgRIGHT;
    Timer* TimerSound;

    int tickCount() const { return TimerSound->Tag.toInt(); }

    void TimerSound_Timer();
    void lblExit_Click();
    void DragForm(Form* frm);

protected:
    void Form_Load() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_MouseMove(int Button, int Shift, int X, int Y) override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void mousePressEvent(QMouseEvent* e) override;
    QString formName() const override { return QStringLiteral("Msg"); }

private:
    Effects::MoveGate move_;
};

frmMsg* frmMsg();
