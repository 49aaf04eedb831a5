#pragma once
// The typing trainer: the user opens or types a template, sets the run
// length in minutes, starts a run with "GO" and copies the template into
// the duplication box. The clock counts down from the first key; one tick
// after it shows 00:00 the speed is reported in words per minute. Below the
// template an on-screen US or German keyboard, chosen by the active
// keyboard layout at each opening of the window, shows each typed key pressed
// until the next key goes up. A typed character that keyboard has no key
// for ends the practice with a message and closes the window.
#include "Forms/TypingMaster/Keyboards.h"
#include "Platform/Controls.h"
#include "Platform/Form.h"
#include "Platform/TextArea.h"
#include "Platform/Timer.h"
#include "Platform/UpDown.h"

#include <QMap>

class QCheckBox;
class QRadioButton;

// How a run is scored.
namespace TypingRun {
// The runs of characters other than blanks, tabs and line breaks.
int countWords(const QString& text);
// Words over minutes, rounded to the nearest whole number, a half to the
// even one (12.5 gives 12, 13.5 gives 14).
int wordsPerMinute(int words, int minutes);
} // namespace TypingRun

class frmKeyb : public Form {
    Q_OBJECT
public:
    frmKeyb();

    // The keyboard layout's language, "0407" (German) or "0409", read at each load.
    QString KeyboardLanguage;
    // The key shown pressed last; 0 for none.
    int LastKey = 0;

    // Controls, from the top.
    Frame* fraInput;
    TextArea* txtInput;
    PictureButton* cmdOpenFile;
    Frame* fraKeybEng;
    Frame* fraKeybDe;
    // The keys by their index (see Keyboards.h); the indices have gaps.
    QMap<int, Image*> imgKey, imgKeyDe;
    QMap<int, Label*> lblKey, lblKeyDe;
    Frame* fraOutput;
    TextArea* txtOutput;
    Frame* fraTime;
    Label* lblWPM;
    Label* lblMin;
    Label* lblCol;
    Label* lblSec;
    class UpDown* UpDown;
    QCheckBox* chkStart;
    Timer* TimerTime;
    Frame* fraSound;
    QRadioButton* optSoundOn;
    QRadioButton* optSoundOff;

    // Handlers.
    void cmdOpenFile_Click();
    void txtInput_DblClick();
    void UpDown_Change();
    void chkStart_Click();
    void txtOutput_KeyDown(int& KeyCode, int Shift);
    void txtOutput_KeyPress(int& KeyAscii);
    void txtOutput_KeyUp(int& KeyCode, int Shift);
    void txtOutput_DblClick();
    void TimerTime_Timer();

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    QString formName() const override { return QStringLiteral("Keyb"); }

private:
    void buildKeyboard(Frame* frame, Keyboards::Layout layout, QMap<int, Image*>& images,
                       QMap<int, Label*>& labels);
    Keyboards::Layout layout() const { return Keyboards::layoutOf(KeyboardLanguage); }
    void ResetKeyPicture();
    void ShowKeyboardError(int key);
    void chooseFont(TextArea* box);
    void CalcWordsPerMinute();
    void setStartColor(bool on);
};

class frmKeyb* frmKeyb();
void SetLangKeyb(class frmKeyb* frm);
