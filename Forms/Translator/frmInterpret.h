#pragma once
// The interpreter: a text typed or opened in the input box is translated
// word by word into the output box, in three fonts (everything copied, the
// translations, the source word shown before a translation), and the output
// can be saved as an RTF document. It uses the translator's connection to
// "Voc.mdb": the translator window stays loaded, hidden, while this one is
// open, and shows again when this one closes.
#include "Platform/Controls.h"
#include "Platform/Dialogs.h"
#include "Platform/Form.h"

class QCheckBox;
class QComboBox;
class QProgressBar;
class RichTextBox;

class frmInterpret : public Form {
    Q_OBJECT
public:
    frmInterpret();

    Label* lblCategory;
    // The category filter; the empty entry means every category.
    QComboBox* cboCategory;
    // "English --> German" or "German --> English": the direction.
    Label* lblLanguage;
    PictureButton* cmdOpenFile;
    PictureButton* cmdSaveFile;
    PictureButton* cmdFont;
    PictureButton* cmdFont2;
    PictureButton* cmdFontOld;
    Frame* fraInput;
    RichTextBox* txtInput;
    Frame* fraOutput;
    RichTextBox* txtOutput;
    QCheckBox* chkShowOld;
    PictureButton* cmdClearInput;
    PictureButton* cmdInterpret;
    PictureButton* cmdClearOutput;
    QProgressBar* prgBar;
    // The general font, the translation font and the old-word font.
    FontChoice cmnDlg;
    FontChoice cmnDlg2;
    FontChoice cmnDlgOld;

    // Handlers.
    void Form_MouseMove(int Button, int Shift, int X, int Y) override;
    void cmdInterpret_Click();
    void cmdFont_Click();
    void cmdFont2_Click();
    void cmdFontOld_Click();
    void chkShowOld_Click();
    void cmdOpenFile_Click();
    void cmdSaveFile_Click();
    void cmdClearInput_Click();
    void cmdClearOutput_Click();
    void lblLanguage_Click();
    void lblLanguage_MouseDown(int Button, int Shift, int X, int Y);
    void lblLanguage_MouseUp(int Button, int Shift, int X, int Y);
    void lblLanguage_MouseMove(int Button, int Shift, int X, int Y);
    void fraInput_MouseMove(int Button, int Shift, int X, int Y);
    void txt_KeyPress(int& KeyAscii);

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(int& Cancel) override;
    QString formName() const override { return QStringLiteral("Interpret"); }
};

class frmInterpret* frmInterpret();
void SetLangInterpret(class frmInterpret* frm);

// Translates the input box into the output box (the interpret button).
void Text_Interpret(class frmInterpret* frm);
