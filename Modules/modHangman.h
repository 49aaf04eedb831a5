#pragma once
// Hangman: the one game state, the window base both Hangman windows share,
// and the round engine that plays a word on either window.
//
// The engine's procedures take the window and reach its controls by name,
// so both windows carry the same controls (HangmanWindow). They tell the
// windows apart by the window's Tag: "HangMan1p" for the one-player window
// (the word lies in lblHid, shown in lblWord), "HangMan2p" for the
// two-player window (the word lies one character per box in txt, shown in
// the labels lbl of the same index).
//
// A word passes through three states:
//   setting up  cmdPROCEED shown, guessing controls disabled; BeginGuessing
//               leaves it;
//   guessing    letter box, OK, Help and Restart enabled; a solved word or
//               the seventh miss leaves it (EvaluateGuess);
//   word over   cmdRESTART reads "Next", the solution and "+" and the word's
//               score are shown; ResetRound leaves it.
//
// How a window is written on this base:
//   1. Its constructor calls buildBoard(back colour, text colour, alphabet
//      colour), then places its own controls (lblWord/lblHid, or txt/lbl and
//      the pointers) and moves the shared ones where its layout differs.
//   2. Its load sets Tag, makes a new game state (newHangmanGame) and calls
//      loadBoard() for the gallows, the stick-man and the menu.
//   3. Its set-up calls maximiseForGame() before the log-in.
//   4. It connects its own handlers for Start, Next/Restart and Help; the
//      letter submission, cheat, alphabet, title-bar looks, resize, tick and
//      background click are the base's.
#include "Classes/clsHangMan.h"
#include "Platform/Controls.h"
#include "Platform/Form.h"

#include <QColor>
#include <QComboBox>
#include <QList>
#include <memory>

class Timer;

// The game state every Hangman window, the engine and the dictionary
// editor read and write. Each load of a Hangman window replaces it.
extern std::unique_ptr<clsHangMan> HangmanGame;
// A new, empty game state in HangmanGame (the old one is released).
void newHangmanGame();

// Colours of the board.
namespace HangmanColors {
inline const QColor lightBlue{128, 128, 255};
inline const QColor blue{0, 0, 255};
inline const QColor green{0, 192, 0};
inline const QColor brightGreen{0, 255, 0};
inline const QColor darkGreen{0, 64, 0};
inline const QColor red{255, 0, 0};
} // namespace HangmanColors

// The back colour of a label or text box, as the board sets it.
QColor backColor(const QWidget* w);
void setBackColor(QWidget* w, const QColor& c);

class HangmanWindow : public Form {
    Q_OBJECT
public:
    // Title bar.
    Label* lblHEAD = nullptr;
    QList<Label*> lblCtrl; // 0 "X" closes, 1 "_" minimises
    // Player 1 (both windows) and the words left.
    Label* lblALIAS1 = nullptr;
    Label* lblTOTAL1 = nullptr;
    Label* lblNR1 = nullptr;
    Label* lblNR2 = nullptr;
    // The gallows: the frame (a click toggles the cheat), the stick-man, the
    // picture shown (imgHANGMAN[0]) and the stored stage pictures (imgHM for
    // the first miss, imgHANGMAN[1..6] for the second to seventh), which lie
    // under element 0 and never show.
    Label* lblFRAME = nullptr;
    QList<Image*> imgGif;
    Timer* TimerGif = nullptr;
    QList<Image*> imgHANGMAN;
    Image* imgHM = nullptr;
    Image* picBLANK = nullptr;
    // The word being guessed (one player) ...
    Label* lblWord = nullptr;
    Label* lblHid = nullptr;
    // ... or the made-up word and its uncovered letters (two players).
    QList<TextBox*> txt;
    QList<Label*> lbl;
    // Letter entry, used letters, level.
    Frame* fraENTERL = nullptr;
    TextBox* txtENTERL = nullptr;
    PictureButton* cmdOKL = nullptr;
    Frame* fraENTERW = nullptr;
    TextBox* txtUSED = nullptr;
    Frame* fraLEVEL = nullptr;
    QComboBox* cboLEVEL = nullptr;
    // Buttons.
    PictureButton* cmdPROCEED = nullptr;
    PictureButton* cmdRESTART = nullptr;
    PictureButton* cmdHELP = nullptr;
    // Notices.
    Label* lblCHEAT = nullptr;
    Label* lblLASTRY = nullptr;
    Label* lblEXC = nullptr;
    Label* lblLOSER = nullptr;
    Label* lblTEMP = nullptr;
    Label* lblCount = nullptr;
    // The alphabet, "A" to "Z".
    QList<Label*> lblL;

    QString Tag;

    // Window values.
    int LastWidth = 0, LastHeight = 0;
    QString GifFile;
    int HoverIndex = -1, PrevHoverIndex = -1;
    double LetterFontSize = 0;
    int CtrlFontSize = 0;

    bool twoPlayers() const { return Tag == QLatin1String("HangMan2p"); }
    // The button that Enter clicks when no other button has the focus.
    PictureButton* defaultButton() const { return defaultButton_; }
    void setDefaultButton(PictureButton* b) { defaultButton_ = b; }

    // Handlers shared by both windows.
    void Form_Click();
    void TimerGif_Timer();
    void lblFRAME_Click();
    void txtENTERL_KeyPress(int& KeyAscii);
    void cmdOKL_Click();
    void lblL_Click(int Index);
    void lblL_MouseMove(int Index, int Button, int Shift, int X, int Y);
    void lblL_MouseDown(int Index, int Button, int Shift, int X, int Y);
    void lblL_MouseUp(int Index, int Button, int Shift, int X, int Y);
    void lblCtrl_MouseDown(int Index, int Button, int Shift, int X, int Y);
    void lblCtrl_MouseUp(int Index, int Button, int Shift, int X, int Y);
    void lblCtrl_Click(int Index);

protected:
    // Builds the controls both windows have, in the given colours.
    void buildBoard(const QColor& back, const QColor& ink, const QColor& letterColor);
    // The load steps both windows share: the gallows cleared and hidden,
    // the stick-man loaded and started, the menu hidden.
    void loadBoard();
    // The set-up of a game: the size to scale from, then maximised.
    void maximiseForGame();
    // The title-bar and alphabet font sizes after a resize.
    void noteFontSizes();
    // The colour the alphabet labels return to when not under the mouse.
    QColor letterColor_;
    // Makes a caption shrink its font to fit its control, now and after
    // every resize: a label (Label::setShrinkToFit), a button, a frame's
    // title, a text box or the level list (its longest item). With a
    // sample, the font is the one that fits the sample, whatever is shown.
    void fitToWidth(QWidget* w, const QString& sample = QString());

    void Form_Resize() override;
    void Form_MouseMove(int Button, int Shift, int X, int Y) override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    PictureButton* defaultButton_ = nullptr;
    bool pressedOnBackground_ = false;
    QList<QWidget*> fitted_;
};

// Captions that change while the window is open; each keeps its fit and
// an accessible name in the current language.
void setButtonCaption(PictureButton* b, const QString& caption);
void setFrameCaption(Frame* f, const QString& caption);
// A player's name in a label, shown as typed ("&" included); the name back.
void showName(Label* l, const QString& name);
QString shownName(const Label* l);
// A name as a player typed it into the log-in box, ready to be shown
// beside the program's words: one line (as every one-line box takes it),
// and a right-to-left name, or one holding direction marks, set apart from
// the text around it (first strong isolate ... pop directional isolate), so
// that it neither turns the words beside it around nor is turned by them.
QString playerName(const QString& typed);

// The German texts the two Hangman windows share (their board, buttons
// and level list); each window's own language routine adds the rest.
void SetLangHangmanBoard(HangmanWindow* frm);

// The round engine.
void ToggleCheat(HangmanWindow* frm);
void NormaliseLevelText(HangmanWindow* frm);
void ApplyLevel(HangmanWindow* frm);
bool isEasyLevel(const HangmanWindow* frm);
bool isHardLevel(const HangmanWindow* frm);
void PickRandomWord(HangmanWindow* frm);
void RevealSpaces(HangmanWindow* frm);
void BeginGuessing(HangmanWindow* frm);
int FilterLetterKey(HangmanWindow* frm, int KeyAscii);
// False (after a message) when the letter box holds no letter that may be
// submitted: only a letter A to Z, or a character that Help supplies.
bool CheckLetterEntered(HangmanWindow* frm, bool fromHelp = false);
int CheckUsedLetter(HangmanWindow* frm);
void ApplyLetter(HangmanWindow* frm);
void AfterGuess(HangmanWindow* frm);
void EvaluateGuess(HangmanWindow* frm);
void ResetRound(HangmanWindow* frm);
// The two-player word's boxes named for screen readers by what they hold:
// a hidden letter, a shown letter (by the letter), a blank between words,
// or nothing (a box the word does not reach).
void NameLetterBoxes(HangmanWindow* frm);
// The letter in the letter box, submitted: checked, recorded, uncovered,
// evaluated. A refused letter goes no further (no evaluation, no miss).
void submitLetter(HangmanWindow* frm, bool fromHelp = false);
// Help's choice: among the positions still hidden, one drawn uniformly;
// -1 when none is hidden.
int drawHiddenPosition(const QList<int>& hidden);

// The dictionary (frmHmDic's list), read afresh from "Hangman.qem". The
// user is told of the lines set aside unless `setAsideTold` says it was
// done already (it is then set): a window that keeps the flag tells once.
void LoadDictionary(bool* setAsideTold = nullptr);
