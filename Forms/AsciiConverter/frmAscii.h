#pragma once
// The ASCII converter: the code of a typed character, and the character of
// a typed code from 0 to 255 (Windows-1252), with a spinner on the code.
// Each row is an entry box lying over a display box; clicking a display box
// (or Space or Enter on it) makes its row the typed one, and screen readers
// hear it as the button it acts as.
#include "Platform/Controls.h"
#include "Platform/Form.h"
#include "Platform/UpDown.h"

#include <QList>

class frmAscii : public Form {
    Q_OBJECT
public:
    frmAscii();

    // The row typed in: 0 the character, 1 the code.
    qint16 ActiveRow = 0;

    Label* lblText;
    Label* lblAscii;
    QList<TextBox*> txtEnter;
    QList<TextBox*> txtDISPLAY;
    PictureButton* cmdOK;
    PictureButton* cmdClr;
    class UpDown* UpDown;

    void txtDISPLAY_Click(int Index);
    void txtEnter_KeyPress(int Index, int& KeyAscii);
    void cmdOK_Click();
    void cmdClr_Click();
    void UpDown_Change();
    void UpDown_MouseDown(int Button, int Shift, int X, int Y);

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    QString formName() const override { return QStringLiteral("Ascii"); }
};

class frmAscii* frmAscii();
// Sets the window's German texts when the language is German.
void SetLangAscii(class frmAscii* frm);
