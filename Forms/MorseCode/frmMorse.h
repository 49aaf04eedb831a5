#pragma once
// The Morse code converter and player. A plain-text box and a Morse box;
// the box that last had the focus is the active one (its Tag is "Active")
// and decides what Convert, Open and Save act on.
//
// Two modes. Single (at start): every character typed into the text box
// appends its code group to the Morse box at once and sounds its letter.
// At Once: the text grows alone and Convert turns the whole active box
// into the other; only then are Convert, Play and the file buttons enabled.
// In both modes Enter adds a line break to both boxes, Backspace takes the
// text's last character and, where the Morse box ends with its group,
// that group; the prosign buttons append their tags. A character
// Windows-1252 lacks goes into the text box alone.
//
// Playback and conversions run inside their click: the window takes no
// input and refuses to close until they end. The table and the rules of
// Morse text are in Modules/modMorse.h; the chart shows that table.
#include "Platform/Controls.h"
#include "Platform/Form.h"
#include "Platform/TextArea.h"

#include <QList>
#include <QRadioButton>
#include <QTextCursor>
#include <array>
#include <optional>

namespace Morse {
struct Prosigns;
}

class frmMorse : public Form {
    Q_OBJECT
public:
    frmMorse();
    ~frmMorse() override;

    // Controls.
    TextArea* txtText;
    TextArea* txtMC;
    PictureButton* cmdStart;
    PictureButton* cmdBreak;
    PictureButton* cmdError;
    PictureButton* cmdClr;
    PictureButton* cmdSaveFile;
    PictureButton* cmdEOM;
    // 0 Convert, 1 Play Slow, 2 Play Fast.
    std::array<PictureButton*, 3> cmdConvert;
    PictureButton* cmdEOC;
    PictureButton* cmdOpenFile;
    QRadioButton* optSingle;
    QRadioButton* optAtOnce;
    // The chart: character codes (0..46), characters and prosign captions
    // (0..51), code groups (0..53); entries 46, 52 and 53 are not shown.
    QList<TextBox*> txtAscii;
    QList<TextBox*> txtChr;
    QList<TextBox*> txtMorse;

    // 1 after the user confirmed the clear question; the mode switch reads
    // and resets it.
    qint16 Cleared = 0;
    // The prosigns' tags and captions in the current language, set at load.
    QString TagStart, CapStart, TagBreak, CapBreak, TagError, CapError, TagEOM, CapEOM, TagEOC, CapEOC;

    // True while a conversion or playback runs.
    bool isBusy() const { return busy_; }

    // Handlers.
    void txtText_GotFocus();
    void txtMC_GotFocus();
    void txtText_KeyPress(int& KeyAscii);
    void txtText_TextRun(bool starts);
    void cmdStart_Click();
    void cmdBreak_Click();
    void cmdError_Click();
    void cmdEOM_Click();
    void cmdEOC_Click();
    void optSingle_Click();
    void optAtOnce_Click();
    void cmdClr_Click();
    void cmdConvert_Click(int Index);
    void cmdOpenFile_Click();
    void cmdSaveFile_Click();

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload(int& Cancel) override;
    QString formName() const override { return QStringLiteral("Morse"); }
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    // Each letter typed in Single mode sounds at once: the music device's
    // output is kept ready while the window shows in that mode.
    void keepLettersReady(bool shown);
    void buildChart();
    Morse::Prosigns prosigns() const;
    TextArea* activeBox() const;
    // Gives the box the focus and makes it the active box.
    void focusBox(TextArea* box);
    void appendProsign(int prosign);
    void AddMorseNewLine();
    void addMorse(const QString& codes);
    void putMorseRun();
    void switchMode(bool toAtOnce);
    void setMode(bool atOnce);
    void ConvertTextToMorse();
    void ConvertMorseToText();
    void PlayMorse(int speed);
    void Morse_OpenFile();
    void Morse_SaveFile();

    bool atOnce_ = false;
    bool busy_ = false;
    // While a paste or composed text runs through the key handler: the
    // codes it adds to the Morse box so far, not yet in the box, and the
    // sound of its last letter that has one.
    std::optional<QString> morseRun_;
    QString runSound_;
};

class frmMorse* frmMorse();
void SetLangMorse(class frmMorse* frm);
