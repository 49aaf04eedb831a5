#pragma once
// The calculator: four operations on a running result. A number typed into
// the entry box is combined with the displayed result as soon as an
// operation key is pressed; an operation on an empty entry applies the
// last number entered again. Opened from the menu it hides the menu and
// brings it back with the return tune; opened from the bank it leaves the
// menu hidden.
#include "Platform/Controls.h"
#include "Platform/Form.h"

class frmCalc : public Form {
    Q_OBJECT
public:
    frmCalc();

    // True while the bank window uses the calculator; the bank sets it
    // after loading and clears it when the bank closes. Like the running
    // result and the last operand it outlives the window: closing the
    // calculator resets none of them.
    static inline bool FromBank = false;

    // Controls.
    TextBox* txtEnter;
    Label* lblDISPLAY;
    PictureButton* cmdPLUS;
    PictureButton* cmdMINUS;
    PictureButton* cmdTIMES;
    PictureButton* cmdDIVIDE;
    PictureButton* cmdClr;

    // Handlers.
    void txtEnter_KeyDown(int& KeyCode, int Shift);
    void txtEnter_KeyPress(int& KeyAscii);
    void cmdPLUS_Click();
    void cmdMINUS_Click();
    void cmdTIMES_Click();
    void cmdDIVIDE_Click();
    void cmdClr_Click();

    // A new run of the program: running result and last operand back to 0
    // (tests start every case with it).
    static void resetRunState();

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    QString formName() const override { return QStringLiteral("Calc"); }

private:
    enum class Op { Plus, Minus, Times, Divide };
    // "Possible" when the entry is a number (it becomes the last operand),
    // else "Impossible".
    QString CheckInput();
    void ShowResult();
    void operate(Op op);
    void showDivisionMessage();
    void setDisplay(const QString& text);

    // "," or ".", decided at load.
    QString decimalSeparator_ = QStringLiteral(".");

    static inline double runningResult_ = 0;
    static inline double lastOperand_ = 0;
};

class frmCalc* frmCalc();
void SetLangCalc(class frmCalc* frm);
