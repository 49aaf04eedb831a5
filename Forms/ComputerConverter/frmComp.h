#pragma once
// The number-system converter: a whole number typed in decimal, binary,
// BCD (binary coded decimal), octal or hexadecimal, shown in all five.
// The number is carried from the typed row to the others as its decimal
// text, which the decimal row keeps.
#include "Modules/modConverter.h"

#include <optional>

class frmComp : public ConverterForm {
    Q_OBJECT
public:
    frmComp();

    enum Rows { RowDecimal = 0, RowBinary = 1, RowBcd = 2, RowOctal = 3, RowHex = 4 };
    // Accepted numbers stay below this; larger ones count as invalid input.
    static constexpr qint64 Limit = 1000000000000000LL; // 10^15
    // Typing limits of the decimal and the binary box (a number put there by
    // a conversion may be longer).
    static constexpr int DecimalLength = 9, BinaryLength = 31;

    // The rows: buttons, input boxes, result labels.
    QList<PictureButton*>& cmdComp = rowButtons;
    QList<TextBox*>& txtComp = rowInputs;
    QList<Label*>& lblComp = rowResults;
    // Hidden: the digit of each value 0 to 15, and its four-bit code.
    QList<TextBox*> txtChr;
    QList<TextBox*> txtCode;

    Label* lblDec;
    Label* lblBin;
    Label* lblBCD;
    Label* lblOct;
    Label* lblHex;

    // The number in decimal as the last conversion built it.
    QString DecimalText;

    void RowInput_KeyPress(int Index, int& KeyAscii) override;
    void cmdCnvrt_Click() override;
    void lblComp_MouseMove(int Index, int Button, int Shift, int X, int Y);

    // The value of a text of digits in a base (2, 8 or 16; a digit's value
    // is its place in txtChr); no value when a character is no digit of that
    // base or the value reaches the limit. The empty text is 0.
    std::optional<qint64> readDigits(const QString& text, int base) const;

protected:
    void applyLanguage() override;
    QString formName() const override { return QStringLiteral("Comp"); }

private:
    // Fills the result rows from the decimal row; empties them all when the
    // typed number cannot be converted.
    void ShowAllBases();
    // The decimal text of a BCD input: one digit per group of four, or no
    // value when a group is above 1001 or the number reaches the limit.
    std::optional<QString> bcdToDecimal(const QString& bits) const;
};

class frmComp* frmComp();
// Sets the window's German texts when the language is German.
void SetLangComp(class frmComp* frm);
