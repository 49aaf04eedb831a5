#include "Forms/Main/frmChoice.h"

#include "Forms/Main/LaunchTable.h"
#include "Forms/Main/frmMsg.h"
#include "Modules/modAniGif.h"
#include "Modules/modAniWindow.h"
#include "Modules/modLanguage.h"
#include "Modules/modMCI.h"
#include "Modules/modMain.h"
#include "Modules/modOfficeLook.h"
#include "Platform/App.h"
#include "Platform/Clock.h"
#include "Platform/Effects.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/Problem.h"
#include "Platform/Resources.h"
#include "Platform/Runtime.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>

class frmChoice* frmChoice() { return touchForm<class frmChoice>(); }

namespace {
using Resources::skin;

Label* makeLabel(QWidget* parent, const QString& caption, int x, int y, int w, int h, double pt = 9, bool bold = false,
                 const QString& family = QStringLiteral("Verdana")) {
    auto* l = new Label(caption, parent);
    l->setGeometry(x, y, w, h);
    l->setFont(Fonts::font(family, pt, bold));
    l->setForeColor(Qt::white);
    return l;
}

Image* makeImage(QWidget* parent, const QPixmap& pic, int x, int y, bool visible = true) {
    auto* i = new Image(parent);
    i->move(x, y);
    i->setPicture(pic);
    i->setVisible(visible);
    return i;
}
} // namespace

frmChoice::frmChoice() {
    setWindowFlag(Qt::FramelessWindowHint);
    setCaption(QStringLiteral("Quembly"));
    buildControls();
    wireControls();
    TimerTime = new Timer(this, 1, true);
    TimerGif = new Timer(this, 1, true);
    connect(TimerTime, &Timer::tick, this, &frmChoice::TimerTime_Timer);
    connect(TimerGif, &Timer::tick, this, &frmChoice::TimerGif_Timer);
}

void frmChoice::buildControls() {
    resize(600, 440);
    imgBack = makeImage(this, skin("menu_back.png"), 0, 0);
    imgBack->setStretch(true);
    imgBack->setGeometry(0, 0, 600, 440);

    lblTitle = makeLabel(this, QStringLiteral("Quembly"), 12, 4, 400, 20, 10, true);
    imgM = makeImage(this, skin("min.png"), 548, 4, false);
    imgMIN2 = makeImage(this, skin("min_down.png"), 548, 4, false);
    imgMin = makeImage(this, imgM->Picture(), 548, 4);
    imgX = makeImage(this, skin("close.png"), 572, 4, false);
    imgEXIT2 = makeImage(this, skin("close_down.png"), 572, 4, false);
    imgExit = makeImage(this, imgX->Picture(), 572, 4);
    imgMin->setToolTip(QStringLiteral("_"));
    imgExit->setToolTip(QStringLiteral("X"));

    // The globe stands still on its first frame until the window is active.
    auto* globe = new Image(this);
    globe->setGeometry(24, 44, 96, 96);
    globe->setPicture(Resources::picture(App::file(QStringLiteral("Pics/Globe.gif"))));
    imgGif << globe;
    imgChrstms = makeImage(this, skin("christmas.png"), 100, 120, false);

    lblDate = makeLabel(this, QStringLiteral("Date"), 140, 46, 170, 22, 11, true);
    lblDate->setCursor(Qt::PointingHandCursor);
    lblTime = makeLabel(this, QStringLiteral("Time"), 140, 70, 170, 22, 11);
    lblVersion = makeLabel(this, QStringLiteral("QEM"), 140, 94, 120, 20, 9);
    lblVersion->setCursor(Qt::PointingHandCursor);
    imgSound = makeImage(this, skin("sound.png"), 140, 118);
    imgSound->setCursor(Qt::PointingHandCursor);
    lblLanguage = new Label(QString(), this);
    lblLanguage->setGeometry(176, 120, 32, 20);
    lblLanguage->setPixmap(skin("language.png"));
    lblLanguage->setCursor(Qt::PointingHandCursor);
    lblLanguage->onClick = [this] { lblLanguage_Click(); };

    fraConv = new Frame(QStringLiteral("Converters"), this);
    fraConv->setGeometry(320, 40, 260, 268);
    fraConv->setFont(Fonts::font(QStringLiteral("Verdana"), 9, true));
    fraConv->setStyleSheet(QStringLiteral("QGroupBox { color: white; border: 1px solid rgba(255,255,255,120);"
                                          " margin-top: 8px; } QGroupBox::title { left: 10px; top: -2px; }"));
    static const char* const conv[] = {"Length/Distance", "Weight",     "Volume",     "Currency",  "Temperature",
                                       "Computer",        "Ascii Code", "Calculator", "Morse Code"};
    for (int i = 0; i < 9; ++i) {
        Label* l = makeLabel(fraConv, QString::fromLatin1(conv[i]), 16, 20 + i * 27, 228, 24, 10);
        l->setIndent(6);
        l->setCursor(Qt::PointingHandCursor);
        lblConv << l;
    }
    lblStatus = makeLabel(this, QStringLiteral("Fabulix"), 320, 316, 260, 20, 9, false, QStringLiteral("Comic Sans MS"));
    lblStatus->setAlignment(Qt::AlignCenter);

    // The eight tool buttons in two rows, each with its caption below.
    auto tool = [this](const char* icon, int col, int row) {
        auto* b = new PictureButton(QString(), this);
        b->setGeometry(28 + col * 70, 164 + row * 110, 52, 52);
        if (icon) b->setPicture(skin(icon));
        return b;
    };
    auto caption = [this](const QString& text, int col, int row, int span = 1) {
        Label* l = makeLabel(this, text, 16 + col * 70, 218 + row * 110, 76 + (span - 1) * 70, 34, 8, true);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        l->setWordWrap(true);
        return l;
    };
    cmdTrans = tool("tool_trans.png", 0, 0);
    cmdBank = tool(nullptr, 1, 0);
    cmdBank->setCaption(QStringLiteral("$"));
    cmdBank->setFont(Fonts::font(QStringLiteral("Verdana"), 20, true));
    cmdPlaner = tool("tool_planer.png", 2, 0);
    cmdKeyb = tool("tool_keyb.png", 3, 0);
    cmdHangman1p = tool("tool_hangman1p.png", 0, 1);
    cmdHangman2p = tool("tool_hangman2p.png", 1, 1);
    cmdSSS = tool("tool_sss.png", 2, 1);
    cmdMsg = tool("tool_msg.png", 3, 1);
    lblEG = caption(QStringLiteral("Translator"), 0, 0);
    lblBank = caption(QStringLiteral("Bank"), 1, 0);
    lblBrthdylst = caption(QStringLiteral("Planer"), 2, 0);
    lblKeyb = caption(QStringLiteral("Typing Master"), 3, 0);
    lblHangman = caption(QStringLiteral("Hang Man"), 0, 1, 2);
    lblRSP = caption(QStringLiteral("RSP"), 2, 1);
    lblMsg = caption(QStringLiteral("Messenger"), 3, 1);

    lblCredit = makeLabel(this, QStringLiteral("A toolbox for every day"), 16, 404, 300, 22, 8, false,
                          QStringLiteral("Comic Sans MS"));

    imgB = makeImage(this, skin("btn_exit.png"), 470, 398, false);
    imgB2 = makeImage(this, skin("btn_exit_down.png"), 470, 398, false);
    imgBUTTON = makeImage(this, imgB->Picture(), 470, 398);
    lblExit = makeLabel(this, QStringLiteral("&Exit"), 470, 398, 110, 30, 14, false, QStringLiteral("Haettenschweiler"));
    lblExit->setUseMnemonic(true);
    lblExit->setAlignment(Qt::AlignCenter);
    lblExit->setCursor(Qt::PointingHandCursor);
}

void frmChoice::wireControls() {
    // The controls that open tools (and the sound icon) follow the launch table.
    for (const LaunchRow& row : LaunchTable()) {
        QWidget* control = row.control(this);
        auto launch = [this, &row] { Launch(this, row); };
        if (auto* surface = qobject_cast<ClickSurface*>(control)) surface->onClick = launch;
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            connect(button, &QAbstractButton::clicked, this, launch);
    }
    for (int i = 0; i < lblConv.size(); ++i) {
        lblConv[i]->onMouseMove = [this, i](int b, int s, int x, int y) { lblConv_MouseMove(i, b, s, x, y); };
        lblConv[i]->onMouseDown = [this, i](int b, int s, int x, int y) { lblConv_MouseDown(i, b, s, x, y); };
        lblConv[i]->onMouseUp = [this, i](int b, int s, int x, int y) { lblConv_MouseUp(i, b, s, x, y); };
    }
    using namespace std::placeholders;
    fraConv->onMouseMove = std::bind(&frmChoice::fraConv_MouseMove, this, _1, _2, _3, _4);
    lblVersion->onMouseMove = std::bind(&frmChoice::lblVersion_MouseMove, this, _1, _2, _3, _4);
    // The background picture is the window's free surface.
    imgBack->onMouseMove = std::bind(&frmChoice::Form_MouseMove, this, _1, _2, _3, _4);
    lblTitle->onMouseDown = std::bind(&frmChoice::lblTitle_MouseDown, this, _1, _2, _3, _4);
    lblTitle->onMouseMove = std::bind(&frmChoice::lblTitle_MouseMove, this, _1, _2, _3, _4);
    imgMin->onClick = [this] { imgMin_Click(); };
    imgMin->onMouseDown = std::bind(&frmChoice::imgMin_MouseDown, this, _1, _2, _3, _4);
    imgMin->onMouseUp = std::bind(&frmChoice::imgMin_MouseUp, this, _1, _2, _3, _4);
    imgExit->onClick = [this] { imgExit_Click(); };
    imgExit->onMouseDown = std::bind(&frmChoice::imgExit_MouseDown, this, _1, _2, _3, _4);
    imgExit->onMouseUp = std::bind(&frmChoice::imgExit_MouseUp, this, _1, _2, _3, _4);
    lblExit->onClick = [this] { lblExit_Click(); };
    lblExit->onMouseDown = std::bind(&frmChoice::lblExit_MouseDown, this, _1, _2, _3, _4);
    lblExit->onMouseUp = std::bind(&frmChoice::lblExit_MouseUp, this, _1, _2, _3, _4);

    // Tab goes through the window as it is read: the date, the version, the
    // sound and language icons, the tools, the converters, Exit, and last
    // the title bar's boxes.
    QList<QWidget*> order{lblDate, lblVersion, imgSound, lblLanguage, cmdTrans, cmdBank, cmdPlaner, cmdKeyb,
                          cmdHangman1p, cmdHangman2p, cmdSSS, cmdMsg};
    for (Label* l : lblConv) order << l;
    order << lblExit << imgMin << imgExit;
    for (QWidget* w : order)
        if (auto* surface = qobject_cast<ClickSurface*>(w)) surface->takeTabFocus();
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

int frmChoice::tickCount() const { return TimerTime->Tag.toInt(); }

// Screen readers announce the picture buttons and pictures by these names:
// the tool each opens, or what it does, in the current language.
void frmChoice::nameControls() {
    const bool de = isGerman();
    const QList<std::pair<QWidget*, std::pair<const char*, const char*>>> names{
        {cmdTrans, {"Translator", "Übersetzer"}},
        {cmdBank, {"Bank", "Bank"}},
        {cmdPlaner, {"Planer", "Planer"}},
        {cmdKeyb, {"Typing Master", "Tipp-Meister"}},
        {cmdHangman1p, {"Hang Man for one player", "Galgenraten für einen Spieler"}},
        {cmdHangman2p, {"Hang Man for two players", "Galgenraten für zwei Spieler"}},
        {cmdSSS, {"Rock Paper Scissors", "Schere Stein Papier"}},
        {cmdMsg, {"Messenger", "Bote"}},
        {imgSound, {"Play the welcome tune", "Begrüßungsmelodie spielen"}},
        {lblLanguage, {"To the German version", "Zur Englischen Fassung"}},
        {imgMin, {"Minimise", "Minimieren"}},
        {imgExit, {"Close", "Schließen"}},
    };
    for (const auto& [control, name] : names)
        control->setAccessibleName(QString::fromUtf8(de ? name.second : name.first));
}

void frmChoice::showDate() {
    lblDate->setCaption(DateToday(QStringLiteral("Medium")));
    lblDate->setToolTipText(DateToday(QStringLiteral("Long")));
}

void frmChoice::Form_Load() {
    Problem::trap(QStringLiteral("Choice_Load"), [&] {
        lblTitle->setCaption(App::title() + QStringLiteral(", v") + versionText());
        lblVersion->setCaption(QStringLiteral("QEM ") + shortVersionText());
        LoadLanguage();
        SetLangChoice(this);
        if (CurrentLanguage == QLatin1String("DefaultValue")) CurrentLanguage = QStringLiteral("English");
        nameControls();
        // The keyboard starts where the window is read, not at the title bar's boxes.
        lblDate->setFocus();

        if (App::previousInstance()) {
            MsgBox(L(QStringLiteral("The requested program is already opened"),
                     QString::fromUtf8("Das von Ihnen gewünschte Programm ist bereits geöffnet")),
                   vbInformation);
            refused_ = true;
            // Closes now if the clock allows, else as soon as it does.
            imgExit_Click();
            return;
        }
        RemoveUnfinishedSaves();

        for (PictureButton* b : {cmdTrans, cmdBank, cmdSSS, cmdHangman1p, cmdHangman2p, cmdPlaner, cmdMsg, cmdKeyb})
            SetOfficeLook(b);
        // The bank's currency sign stands out from the flat button.
        cmdBank->setStyleSheet(cmdBank->styleSheet() + QStringLiteral(" PictureButton { color: #ffe070; }"));
        showDate();
        // A new day changes the date alone: the greetings and tunes of the
        // start are not given again.
        auto* watch = new Clock::DayWatch(this);
        connect(watch, &Clock::DayWatch::dayChanged, this, [this] { showDate(); });
        TimerTime_Timer();
        if (DateRegion == QLatin1String("Europe")) cmdBank->setCaption(QString::fromUtf8("€"));

        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect r = screen->availableGeometry();
            move(r.x() + r.width() / 2 - width() / 2, r.y() + r.height() / 2 - height() / 2);
        }
        FadeInWindow(this);
        update();

        const QString day = lblDate->Caption().left(5);
        if (day == Christmas()) {
            imgChrstms->setVisible(true);
            frmMsg()->lblMsg->setCaption(L(QStringLiteral("Merry Christmas!"), QString::fromUtf8("Fröhliche Weihnachten!")));
            frmMsg()->Show(vbModal);
        }
        if (day == Silvester()) {
            frmMsg()->lblMsg->setCaption(L(QStringLiteral("Happy New Year!"), QStringLiteral("Prosit Neujahr!")));
            frmMsg()->Show(vbModal);
        }
    });
}

void frmChoice::Form_Activate() {
    if (refused_) return;
    Problem::trap(QStringLiteral("ChoiceActivate"), [&] {
        const QString day = lblDate->Caption().left(5);
        if (ActivatedOnce != 1) {
            if (day != Silvester() && day != Christmas()) PlayMusic(QStringLiteral("Welcome.mp3"));
            ActivatedOnce = 1;
        }
        GifFile = App::file(QStringLiteral("Pics/Globe.gif"));
        if (day == Silvester()) GifFile = App::file(QStringLiteral("Pics/Silvester.gif"));
        TimerGif->setEnabled(false);
        // At start the globe's first frame already stands: its other frames
        // are read once the menu has been drawn, so that the menu shows
        // without waiting for them.
        if (!drawn_) {
            globeWaits_ = true;
            return;
        }
        startGlobe();
    });
}

void frmChoice::startGlobe() {
    // The globe is read afresh and starts from its first frame.
    if (LoadAniGif(GifFile, imgGif)) {
        CurrentFrame = 0;
        imgGif[0]->setVisible(true);
        TimerGif->setInterval(imgGif[0]->Tag.toInt());
        TimerGif->setEnabled(true);
    }
}

void frmChoice::paintEvent(QPaintEvent* e) {
    Form::paintEvent(e);
    if (drawn_) return;
    drawn_ = true;
    if (!globeWaits_) return;
    // Once the first drawing has gone to the screen.
    QTimer::singleShot(0, this, [this] {
        globeWaits_ = false;
        // The menu may have lost the activation meanwhile: its next one starts the globe.
        if (refused_ || Form::activeForm() != this) return;
        Problem::trap(QStringLiteral("ChoiceActivate"), [this] { startGlobe(); });
    });
}

void frmChoice::Form_Deactivate() { TimerGif->setEnabled(false); }

void frmChoice::TimerTime_Timer() {
    const int count = tickCount();
    if (count < 50) TimerTime->Tag = QString::number(count + 1);
    lblTime->setCaption(Runtime::timeText(Clock::time()));
    if (refused_ && tickCount() >= 10) imgExit_Click();
}

void frmChoice::TimerGif_Timer() {
    // Nothing to animate in a copy that is about to close.
    if (refused_ || App::previousInstance()) return;
    Problem::trap(QStringLiteral("TimerGif"), [this] { AnimateGif(this); });
}

void frmChoice::imgExit_Click() {
    // The window is already on its way out while it shrinks.
    if (IsImploding(this)) return;
    if (tickCount() >= 10) Unload();
}

void frmChoice::lblExit_Click() {
    if (IsImploding(this) || tickCount() < 10) return;
    QPointer<class frmChoice> self(this);
    ImplodeForm(this);
    if (self) self->Unload();
}

void frmChoice::lblConv_MouseMove(int Index, int, int, int, int) {
    for (int i = 0; i < lblConv.size(); ++i) {
        const int style = i == Index ? 1 : 0;
        if (lblConv[i]->BorderStyle() != style) lblConv[i]->setBorderStyle(style);
    }
}

void frmChoice::lblConv_MouseDown(int Index, int, int, int, int) {
    for (int i = 0; i < lblConv.size(); ++i) lblConv[i]->setFontBold(i == Index);
}

void frmChoice::lblConv_MouseUp(int, int, int, int, int) {
    for (Label* l : lblConv) l->setFontBold(false);
}

void frmChoice::fraConv_MouseMove(int, int, int, int) { ResetBorderStyles(lblConv); }
void frmChoice::lblVersion_MouseMove(int, int, int, int) { ResetBorderStyles(lblConv); }
void frmChoice::Form_MouseMove(int, int, int, int) { ResetBorderStyles(lblConv); }

void frmChoice::lblTitle_MouseDown(int Button, int, int, int) { titleMove_.press(Button); }
void frmChoice::lblTitle_MouseMove(int Button, int, int, int) {
    if (titleMove_.move(Button)) DragForm(this);
}

void frmChoice::DragForm(Form* frm) {
    if (frm) Effects::dragWindow(frm);
}

void frmChoice::imgMin_Click() { setWindowState(windowState() | Qt::WindowMinimized); }
void frmChoice::imgMin_MouseDown(int, int, int, int) { imgMin->setPicture(imgMIN2->Picture()); }
void frmChoice::imgMin_MouseUp(int, int, int, int) { imgMin->setPicture(imgM->Picture()); }
void frmChoice::imgExit_MouseDown(int, int, int, int) { imgExit->setPicture(imgEXIT2->Picture()); }
void frmChoice::imgExit_MouseUp(int, int, int, int) { imgExit->setPicture(imgX->Picture()); }
void frmChoice::lblExit_MouseDown(int, int, int, int) { imgBUTTON->setPicture(imgB2->Picture()); }
void frmChoice::lblExit_MouseUp(int, int, int, int) { imgBUTTON->setPicture(imgB->Picture()); }

void frmChoice::lblLanguage_Click() {
    // Every value but "German" shows English, so it switches to German.
    const QString before = CurrentLanguage;
    CurrentLanguage = isGerman() ? QStringLiteral("English") : QStringLiteral("German");
    // Nothing was written: the program goes on in the language it shows.
    if (!SaveLanguage()) CurrentLanguage = before;
}

void frmChoice::Form_QueryUnload(int& Cancel, int UnloadMode) {
    // The window manager's close (Alt+F4, the task bar) obeys the same gate
    // as the close box, and waits, like it, while the window shrinks.
    if (UnloadMode == vbFormControlMenu && (tickCount() < 10 || IsImploding(this))) Cancel = 1;
}

void frmChoice::Form_Unload(int&) {
    StopMusic();
    RemoveAnimHook(this);
    App::end();
}
