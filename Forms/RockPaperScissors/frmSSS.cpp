#include "Forms/RockPaperScissors/frmSSS.h"

#include "Forms/Main/frmChoice.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/Announce.h"
#include "Platform/App.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"
#include "Platform/Random.h"

#include <QCheckBox>
#include <QEvent>
#include <QMouseEvent>
#include <QPixmap>

namespace Signs {

Outcome outcome(int player, int computer) {
    // Rows: the player's sign; columns: the computer's, both rock, scissors, paper, well.
    static constexpr Outcome table[4][4]{
        {Tie, Win, Lose, Lose},
        {Lose, Tie, Win, Lose},
        {Win, Lose, Tie, Win},
        {Win, Win, Lose, Tie},
    };
    return table[player][computer - 1];
}

QString pictureFile(int computer) {
    static const char* const files[]{"Stein.gif", "Schere.gif", "Papier.gif", "Brunnen.gif"};
    return QLatin1String(files[computer - 1]);
}

} // namespace Signs

class frmSSS* frmSSS() { return touchForm<class frmSSS>(); }

namespace {
const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
constexpr double kSetupWidth = 3975;
constexpr double kPlayWidth = 11000;
constexpr double kHeight = 5400;
// The biggest limit the box takes; attempts never count beyond the limit.
constexpr int kLimitDigits = 4;

const char* const kRulesEnglish =
    "The Rock:\r\n"
    "* beats the scissors (it blunts them)\r\n"
    "* loses to the paper (it is wrapped up)\r\n"
    "* loses to the hole (it falls in)\r\n"
    "\r\n"
    "The Scissors:\r\n"
    "* beat the paper (they cut it)\r\n"
    "* lose to the rock (they get blunt)\r\n"
    "* lose to the hole (they fall in)\r\n"
    "\r\n"
    "The Paper:\r\n"
    "* beats the rock (it wraps it up)\r\n"
    "* beats the hole (it covers it)\r\n"
    "* loses to the scissors (it is cut)\r\n"
    "\r\n"
    "The Hole:\r\n"
    "* beats the rock (it swallows it)\r\n"
    "* beats the scissors (it swallows them)\r\n"
    "* loses to the paper (it is covered)";

const char* const kRulesGerman =
    "Der Stein:\r\n"
    "* schlägt die Schere (macht sie stumpf)\r\n"
    "* verliert gegen Papier (wird eingewickelt)\r\n"
    "* verliert gegen Brunnen (fällt hinein)\r\n"
    "\r\n"
    "Die Schere:\r\n"
    "* schlägt das Papier (schneidet es)\r\n"
    "* verliert gegen Stein (wird stumpf)\r\n"
    "* verliert gegen Brunnen (fällt hinein)\r\n"
    "\r\n"
    "Das Papier:\r\n"
    "* schlägt den Stein (wickelt ihn ein)\r\n"
    "* schlägt den Brunnen (deckt ihn zu)\r\n"
    "* verliert gegen Schere (wird zerschnitten)\r\n"
    "\r\n"
    "Der Brunnen:\r\n"
    "* schlägt den Stein (verschluckt ihn)\r\n"
    "* schlägt die Schere (verschluckt sie)\r\n"
    "* verliert gegen Papier (wird zugedeckt)";

TextArea* rulesBox(QWidget* parent, const char* text) {
    auto* box = new TextArea(parent);
    Form::place(box, 120, 120, kSetupWidth, kHeight - 240);
    box->setTextValue(QString::fromUtf8(text));
    box->setLocked(true);
    box->setFont(Fonts::font(QStringLiteral("Comic Sans MS"), 8));
    box->viewport()->setMouseTracking(true);
    return box;
}

Label* scoreLabel(QWidget* parent, const QString& caption, double left, double top, double width) {
    auto* l = new Label(caption, parent);
    Form::place(l, left, top, width, 360);
    l->setFont(Fonts::font(QStringLiteral("Comic Sans MS"), 12, true));
    l->setForeColor(QColor(0, 0, 128));
    return l;
}
} // namespace

void SetLangSSS(class frmSSS* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("Schnick Schnack Schnuck"));
    frm->fraSetup->setCaption(QString::fromUtf8("Menü"));
    frm->chkHole->setText(QStringLiteral("Spiel mit Brunnen"));
    frm->lblAttemptLimit->setCaption(QStringLiteral("Max. Versuche eingeben"));
    // The German prompt is longer.
    const QRect limit = frm->txtTryLimit->geometry();
    frm->txtTryLimit->move(Form::px(3200), limit.y());
    frm->lblScore1->setCaption(QStringLiteral("SPIELER PUNKTE"));
    frm->lblScore2->setCaption(QStringLiteral("COMPUTER PUNKTE"));
    frm->lblAttempts->setCaption(QStringLiteral("VERSUCHE"));
    const QStringList signs{QStringLiteral("STEIN"), QStringLiteral("SCHERE"), QStringLiteral("PAPIER"),
                            QStringLiteral("BRUNNEN")};
    for (int i = 0; i < 4; ++i) frm->lblSSS[i]->setCaption(signs[i]);
    frm->txtHilfe->raise();
}

frmSSS::frmSSS() {
    setCaption(QStringLiteral("Rock Scissors Paper"));
    setClientSizeTwips(kPlayWidth, kHeight);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xf4, 0xf0, 0xe0));
    setPalette(p);

    fraSetup = new Frame(QStringLiteral("Setup"), this);
    place(fraSetup, 120, 120, kSetupWidth, 2520);
    lblAttemptLimit = new Label(QStringLiteral("Enter Max. Attempts"), fraSetup);
    place(lblAttemptLimit, 120, 420, 3000, 300);
    txtTryLimit = new TextBox(fraSetup);
    place(txtTryLimit, 2700, 360, 660, 360);
    txtTryLimit->setTextValue(QStringLiteral("10"));
    txtTryLimit->setMaxLength(kLimitDigits);
    chkHole = new QCheckBox(QStringLiteral("Game with Hole"), fraSetup);
    place(chkHole, 120, 1020, 3600, 360);
    cmdOK = new PictureButton(QStringLiteral("OK"), fraSetup);
    place(cmdOK, 120, 1680, 3720, 600);

    // The German rules lie behind the English ones until the German texts raise them.
    txtHilfe = rulesBox(this, kRulesGerman);
    txtHelp = rulesBox(this, kRulesEnglish);

    const QStringList signs{QStringLiteral("ROCK"), QStringLiteral("SCISSOR"), QStringLiteral("PAPER"),
                            QStringLiteral("HOLE")};
    // Rock, scissors, paper, well.
    const double lefts[4]{9360, 7380, 5760, 5760}, tops[4]{360, 1920, 360, 1920};
    for (int i = 0; i < 4; ++i) {
        auto* l = new Label(signs[i], this);
        place(l, lefts[i], tops[i], 1700, 600);
        l->setAlignment(Qt::AlignCenter);
        l->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 20));
        l->setForeColor(kGreen);
        l->setCursor(Qt::PointingHandCursor);
        lblSSS << l;
    }
    picSSS = new Image(this);
    place(picSSS, 7440, 600, 1800, 1260);
    picSSS->setAlignment(Qt::AlignCenter);

    lblScore1 = scoreLabel(this, QStringLiteral("PLAYER SCORE"), 5760, 3000, 3000);
    lblPScore = scoreLabel(this, QStringLiteral("0"), 8880, 3000, 1500);
    lblScore2 = scoreLabel(this, QStringLiteral("COMPUTER SCORE"), 5760, 3480, 3000);
    lblAIScore = scoreLabel(this, QStringLiteral("0"), 8880, 3480, 1500);
    lblAttempts = scoreLabel(this, QStringLiteral("ATTEMPTS"), 5760, 3960, 3000);
    lblTry = scoreLabel(this, QStringLiteral("0"), 8880, 3960, 1500);

    txtTryLimit->onKeyPress = [this](int& KeyAscii) { txtTryLimit_KeyPress(KeyAscii); };
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    for (int i = 0; i < 4; ++i) {
        lblSSS[i]->onClick = [this, i] { lblSSS_Click(i); };
        lblSSS[i]->onMouseMove = [this, i](int B, int S, int X, int Y) { lblSSS_MouseMove(i, B, S, X, Y); };
        lblSSS[i]->onMouseDown = [this, i](int B, int S, int X, int Y) { lblSSS_MouseDown(i, B, S, X, Y); };
        lblSSS[i]->onMouseUp = [this, i](int B, int S, int X, int Y) { lblSSS_MouseUp(i, B, S, X, Y); };
    }
    picSSS->onMouseMove = [this](int B, int S, int X, int Y) { picSSS_MouseMove(B, S, X, Y); };
    txtHelp->viewport()->installEventFilter(this);
    txtHilfe->viewport()->installEventFilter(this);
}

void frmSSS::Form_Load() {
    if (isFormLoaded<class frmChoice>()) frmChoice()->setVisible(false);
    SetLangSSS(this);
    // Only the set-up frame is in view until the game starts.
    setFixedSize(px(kSetupWidth + 220), px(kHeight));
    txtHelp->setVisible(false);
    txtHilfe->setVisible(false);
    // The signs lie beyond the narrow window until the game starts: hidden,
    // so that Tab does not reach them.
    for (Label* l : lblSSS) l->setVisible(false);
    for (Label* l : lblSSS) l->setAccessibleName(l->Caption());
    txtTryLimit->setAccessibleName(lblAttemptLimit->Caption());
    chkHole->setAccessibleName(chkHole->text());
    cmdOK->setAccessibleName(cmdOK->Caption());
    for (TextArea* rules : {txtHelp, txtHilfe}) rules->setAccessibleName(L(QStringLiteral("Rules"), QStringLiteral("Regeln")));
}

// Whole numbers only: digits and Backspace reach the box.
void frmSSS::txtTryLimit_KeyPress(int& KeyAscii) {
    if (KeyAscii != 8 && (KeyAscii < 48 || KeyAscii > 57)) KeyAscii = 0;
}

void frmSSS::cmdOK_Click() {
    const int limit = int(Runtime::Val(txtTryLimit->Text()));
    // A game without attempts could never end.
    if (limit < 1) {
        MsgBox(L(QStringLiteral("Enter a number of attempts from 1 to 9999"),
                 QStringLiteral("Geben Sie eine Anzahl Versuche von 1 bis 9999 ein")),
               vbExclamation);
        txtTryLimit->setFocus();
        return;
    }
    tryLimit_ = limit;
    for (int i = 0; i < 3; ++i) lblSSS[i]->setVisible(true);
    if (chkHole->isChecked()) {
        lblSSS[3]->setVisible(true);
        // Two rows then: paper and rock above, well and scissors below.
        lblSSS[1]->move(lblSSS[1]->x() + px(1500), lblSSS[1]->y());
        SignCount = 4;
    } else {
        SignCount = 3;
    }
    lblTry->setCaption(QStringLiteral("0/") + QString::number(tryLimit_));
    fraSetup->setVisible(false);
    // The rules of the current language; the other box is hidden, not
    // merely covered, so that neither Tab nor a screen reader finds it.
    txtHelp->setVisible(!isGerman());
    txtHilfe->setVisible(isGerman());
    setFixedSize(px(kPlayWidth), px(kHeight));
}

// The outcome, told to screen readers with the computer's sign (the picture
// a sighted player looks at), then shown and scored.
void frmSSS::announce(Signs::Outcome outcome) {
    QString message;
    switch (outcome) {
    case Signs::Tie: message = L(QStringLiteral("Tie"), QStringLiteral("Gleichstand")); break;
    case Signs::Win: message = L(QStringLiteral("You won"), QStringLiteral("Sie haben gewonnen")); break;
    case Signs::Lose: message = L(QStringLiteral("You lost"), QStringLiteral("Sie haben verloren")); break;
    }
    tellReaders(picSSS, picSSS->accessibleName() + QStringLiteral(". ") + message);
    switch (outcome) {
    case Signs::Tie: MsgBox(message, vbExclamation); break;
    case Signs::Win:
        MsgBox(message, isGerman() ? vbExclamation : vbInformation);
        lblPScore->setCaption(QString::number(int(Runtime::Val(lblPScore->Caption())) + 1));
        break;
    case Signs::Lose:
        MsgBox(message, vbExclamation);
        lblAIScore->setCaption(QString::number(int(Runtime::Val(lblAIScore->Caption())) + 1));
        break;
    }
}

void frmSSS::showVerdict() {
    const double player = Runtime::Val(lblPScore->Caption());
    const double computer = Runtime::Val(lblAIScore->Caption());
    QString verdict;
    if (computer < player)
        verdict = L(QStringLiteral("Congratulations, you won the game"),
                    QString::fromUtf8("Herzlichen Glückwunsch, Sie haben das Spiel gewonnen"));
    else if (computer == player)
        verdict = L(QStringLiteral("Well, at least you didn't lose"),
                    QStringLiteral("Nun ja, wenigstens haben Sie nicht verloren"));
    else
        verdict = L(QStringLiteral("You miserably failed"), QString::fromUtf8("Sie haben kläglich versagt"));
    MsgBox(verdict, vbExclamation);
}

void frmSSS::lblSSS_Click(int Index) {
    // The signs play only once OK has started the game.
    if (SignCount == 0 || isUnloading()) return;
    lblSSS[Index]->setFontSize(20);
    const int computer = int(Rnd() * SignCount) + 1;
    const QString file = Signs::pictureFile(computer);
    const QPixmap picture(App::file(QStringLiteral("Pics/") + file));
    if (picture.isNull()) {
        ShowImageNotFound(file);
        return;
    }
    picSSS->setPicture(picture);
    // Readers know the picture by the sign it shows.
    static const char* const english[]{"Rock", "Scissors", "Paper", "Hole"};
    static const char* const german[]{"Stein", "Schere", "Papier", "Brunnen"};
    picSSS->setAccessibleName(QStringLiteral("Computer: ") +
                              L(QLatin1String(english[computer - 1]), QLatin1String(german[computer - 1])));
    ++Attempts;
    lblTry->setCaption(QString::number(Attempts) + u'/' + QString::number(tryLimit_));
    announce(Signs::outcome(Index, computer));
    if (Attempts < tryLimit_) return;
    showVerdict();
    Unload();
}

void frmSSS::lblSSS_MouseMove(int Index, int, int, int, int) {
    HoverIndex = Index;
    lblSSS[Index]->setForeColor(kRed);
    if (PrevHoverIndex != Index) lblSSS[PrevHoverIndex]->setForeColor(kGreen);
    PrevHoverIndex = Index;
}

void frmSSS::lblSSS_MouseDown(int Index, int, int, int, int) {
    lblSSS[Index]->setFontSize(lblSSS[Index]->FontSize() - 4);
}

void frmSSS::lblSSS_MouseUp(int Index, int, int, int, int) { lblSSS[Index]->setFontSize(20); }

void frmSSS::resetHover() {
    for (Label* l : lblSSS) l->setForeColor(kGreen);
}

void frmSSS::Form_MouseMove(int, int, int, int) { resetHover(); }
void frmSSS::picSSS_MouseMove(int, int, int, int) { resetHover(); }
void frmSSS::txtHelp_MouseMove(int, int, int, int) { resetHover(); }
void frmSSS::txtHilfe_MouseMove(int, int, int, int) { resetHover(); }

bool frmSSS::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseMove) {
        if (watched == txtHelp->viewport()) txtHelp_MouseMove(0, 0, 0, 0);
        else if (watched == txtHilfe->viewport()) txtHilfe_MouseMove(0, 0, 0, 0);
    }
    return Form::eventFilter(watched, e);
}

void frmSSS::Form_Unload(int&) {
    SignCount = 0;
    Attempts = 0;
    ShowMainMenu();
}
