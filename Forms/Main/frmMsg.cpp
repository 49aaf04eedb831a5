#include "Forms/Main/frmMsg.h"

#include "Forms/Main/frmChoice.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Modules/modPlaySound.h"
#include "Platform/App.h"
#include "Platform/Effects.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/Keys.h"
#include "Platform/MsgBox.h"
#include "Platform/Resources.h"

class frmMsg* frmMsg() { return touchForm<class frmMsg>(); }

namespace {
using Resources::skin;
Image* picture(QWidget* parent, const char* name, int x, int y, bool visible = true) {
    auto* i = new Image(parent);
    i->move(x, y);
    i->setPicture(skin(name));
    i->setVisible(visible);
    return i;
}
} // namespace

frmMsg::frmMsg() {
    setWindowFlag(Qt::FramelessWindowHint);
    setCaption(QStringLiteral("Message"));
    resize(360, 200);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0x1f, 0x3b, 0x5c));
    setPalette(p);

    imgTop = picture(this, "msg_top.png", 0, 0);
    imgBOTTOM = picture(this, "msg_bottom.png", 0, 188);
    imgLEFT = picture(this, "msg_left.png", 0, 0);
    imgRIGHT = picture(this, "msg_right.png", 348, 0);

    lblMsg = new Label(QStringLiteral("Merry Christmas!"), this);
    lblMsg->setGeometry(20, 40, 320, 80);
    lblMsg->setFont(Fonts::font(QStringLiteral("Showcard Gothic"), 18, true));
    lblMsg->setForeColor(QColor(0xff, 0xe0, 0x70));
    lblMsg->setAlignment(Qt::AlignCenter);
    lblMsg->setWordWrap(true);

    imgB = picture(this, "btn_exit.png", 125, 140, false);
    imgB2 = picture(this, "btn_exit_down.png", 125, 140, false);
    imgBUTTON = picture(this, "btn_exit.png", 125, 140, false);
    lblExit = new Label(QStringLiteral("&Alrighty Then"), this);
    lblExit->setUseMnemonic(true);
    lblExit->setGeometry(125, 140, 110, 30);
    lblExit->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 13));
    lblExit->setForeColor(Qt::white);
    lblExit->setAlignment(Qt::AlignCenter);
    lblExit->setVisible(false);

    lblExit->onClick = [this] { lblExit_Click(); };
    lblExit->onMouseDown = [this](int, int, int, int) { imgBUTTON->setPicture(imgB2->Picture()); };
    lblExit->onMouseUp = [this](int, int, int, int) { imgBUTTON->setPicture(imgB->Picture()); };
    lblMsg->onMouseDown = [this](int Button, int, int, int) { move_.press(Button); };
    lblMsg->onMouseMove = [this](int Button, int, int, int) {
        if (move_.move(Button)) DragForm(this);
    };

    TimerSound = new Timer(this, 1, true);
    connect(TimerSound, &Timer::tick, this, &frmMsg::TimerSound_Timer);
}

void frmMsg::Form_Load() {
    try {
        SetLangMsg(this);
        const QString day = frmChoice()->lblDate->Caption().left(5);
        if (day == Silvester()) PlaySound(App::file(QStringLiteral("Sound/Fireworks.wav")), 0, false);
        if (day == Christmas()) PlaySound(App::file(QStringLiteral("Sound/Drummer.wav")), 0, false);
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("Msg_Load"), e.number, e.description);
    }
}

void frmMsg::TimerSound_Timer() {
    const int count = tickCount();
    if (count < 50) {
        TimerSound->Tag = QString::number(count + 1);
    } else {
        imgBUTTON->setVisible(true);
        lblExit->setVisible(true);
    }
}

void frmMsg::lblExit_Click() {
    if (tickCount() >= 50) Unload();
}

void frmMsg::Form_KeyDown(int& KeyCode, int) {
    if (KeyCode == Keys::vbKeyReturn) lblExit_Click();
}

void frmMsg::mousePressEvent(QMouseEvent* e) {
    move_.press(Keys::mouseButton(e->button()));
    Form::mousePressEvent(e);
}

void frmMsg::Form_MouseMove(int Button, int, int, int) {
    if (move_.move(Button)) DragForm(this);
}

// The greeting stays its fifty ticks, however the user tries to close it
// (the window manager's close included); its own label unloads it after.
void frmMsg::Form_QueryUnload(int& Cancel, int UnloadMode) {
    if (UnloadMode == vbFormControlMenu && tickCount() < 50) Cancel = 1;
}

void frmMsg::DragForm(Form* frm) { Effects::dragWindow(frm); }
