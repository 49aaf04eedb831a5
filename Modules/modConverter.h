#pragma once
// The converter window, written once and shared by every converter.
//
// A converter has N unit rows, 0 to N-1 from top to bottom. Row i has
//   - a result label (rowResults[i]) showing the converted amount,
//   - an input box (rowInputs[i]) of the same place and size lying over it,
//   - a unit name label (rowNames[i]) at the right of the row,
//   - usually a row button (rowButtons[i]) at the left, which makes the row
//     the input row (ActiveRow).
// Exactly one input box is visible: that of the active row. When the window
// opens, row 0 is the active row, every box and caption is empty.
// Below the rows: "Convert" (cmdCnvrt) and "&Clear" (cmdClr).
// The load hides the menu and applies the window's language routine; the
// unload returns to the menu (return tune, menu shown).
//
// How a window is written on this base:
//   1. In its constructor: setCaption(...), one addRow(name) per row (keep
//      the returned name label in the window's own member, e.g. lblCm),
//      then layoutColumn() (or place the rows itself with placeRow()).
//      The window binds its own control names to the shared lists:
//          QList<TextBox*>& txtDis = rowInputs;
//          QList<Label*>& lblDis = rowResults;
//          QList<PictureButton*>& cmdDis = rowButtons;
//   2. applyLanguage(): call the window's language routine (SetLangDis(this)).
//   3. The conversion, one of:
//      - override convert(amount): return the caption and tooltip of every
//        row (computed all before any is shown), or no value when the amount
//        cannot be converted (the amount then counts as invalid: the input
//        box gets the focus back and nothing changes). factorResults() is the
//        factor table computation of the unit converters.
//      - or override cmdCnvrt_Click() altogether (the number systems).
//   4. A different key filter: override RowInput_KeyPress(Index, KeyAscii)
//      and set KeyAscii to 0 to drop a key (or to another code to replace
//      it). Pasted text passes through the same filter character by
//      character.
//   5. Anything more on a row change or "Clear": override RowButton_Click /
//      cmdClr_Click and call the base first; after a conversion: override
//      afterConvert(). A window that overrides cmdCnvrt_Click() ends it with
//      tellResults().
#include "Platform/Controls.h"
#include "Platform/Form.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class ConverterForm : public Form {
    Q_OBJECT
public:
    // "Convert" and "&Clear" below the rows.
    PictureButton* cmdCnvrt = nullptr;
    PictureButton* cmdClr = nullptr;

    // The row whose input box is shown and in whose unit the amount is
    // typed. 0 when the window opens (each opening builds it afresh).
    qint16 ActiveRow = 0;
    // The general number form of the value computed last by "Convert".
    QString LastResult;

    int rowCount() const { return int(rowInputs.size()); }
    TextBox* inputBox(int row) const { return rowInputs.value(row); }
    Label* resultLabel(int row) const { return rowResults.value(row); }
    PictureButton* rowButton(int row) const { return rowButtons.value(row); }
    Label* nameLabel(int row) const { return rowNames.value(row); }
    // The input box of the active row.
    TextBox* activeBox() const { return rowInputs.value(ActiveRow); }

    // --- Handlers of the pattern ----------------------------------------
    // Row k becomes the input row: the old input box hides, row k's box is
    // shown and gets the focus, every result caption and the new box are
    // emptied. Tooltips stay as they are.
    virtual void RowButton_Click(int Index);
    // The key filter of the input boxes: the digits, backspace and "."
    // pass; every other key (letters, comma, minus, control keys) is dropped,
    // and so is a digit beyond the fifteenth significant one.
    virtual void RowInput_KeyPress(int Index, int& KeyAscii);
    // When the active box holds a numeric amount (by the regional settings),
    // every row shows its result; otherwise the box gets the focus and
    // nothing changes.
    virtual void cmdCnvrt_Click();
    // Empties every input box, caption and tooltip; the visible input box
    // gets the focus. The active row stays.
    virtual void cmdClr_Click();

protected:
    ConverterForm();

    // What "Convert" shows in one row.
    struct RowResult {
        QString caption;
        QString toolTip;
    };

    // The row controls, in row order.
    QList<PictureButton*> rowButtons;   // empty for windows without row buttons
    QList<TextBox*> rowInputs;
    QList<Label*> rowResults;
    QList<Label*> rowNames;

    // Creates the controls of the next row and returns its name label.
    // Without a button the row is chosen some other way (see selectRow()).
    Label* addRow(const QString& name, bool withButton = true);
    // Places every row in one column (row button, input box over result
    // label, name label at the right), the two buttons below, and sizes the
    // window. Row pitch and sizes in twips.
    void layoutColumn();
    // Places one row: its result label and input box at left/top (twips),
    // the name label at nameLeft, the row button left of the box.
    void placeRow(int row, double left, double top, double boxWidth, double nameLeft, double nameWidth);

    // The steps of a row change (RowButton_Click calls it).
    void selectRow(int row);

    // The window's language routine (German texts when German is current).
    virtual void applyLanguage() {}

    // The results of every row for an amount that IsNumeric accepted, in
    // row order; no value when it cannot be converted (a value or product
    // beyond the range of a double).
    virtual std::optional<QList<RowResult>> convert(const QString& amount);
    // Runs after "Convert" has shown every row: gives the active box the
    // focus (a window may put the focus elsewhere or show more).
    virtual void afterConvert();
    // Tells screen readers what "Convert" shows (see Platform/Announce.h):
    // the result of every row but the active one, with its unit. The base's
    // "Convert" does it last; a window that replaces it does the same.
    void tellResults();

    // The factor table computation: for every row i,
    //   r = (x * factor(i)) / factor(active row),
    // x and the factors read with the point as decimal separator (Val),
    // the product formed first. LastResult becomes r in the general number
    // form; the caption is it formatted "0.00", the tooltip is it; each
    // followed by suffixes[i] when given (" $"). No value when a value,
    // product or quotient lies beyond the range of a double or is not a
    // number (a zero source factor).
    std::optional<QList<RowResult>> factorResults(const QString& amount, const QStringList& factors,
                                                  const QStringList& suffixes = QStringList());

    // Hidden text boxes holding the given texts (a window's factor table).
    QList<TextBox*> hiddenTexts(const QStringList& texts);
    // The texts of some text boxes.
    static QStringList textsOf(const QList<TextBox*>& boxes);

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    // What the key filter last counted of a row's box: the significant
    // digits of its text before `upTo`. A paste's characters come one after
    // another at the caret, so each is counted once, not once a character;
    // any other change of the box (a signal, Backspace) forgets the count.
    struct DigitCount {
        int row = -1;
        qsizetype upTo = 0;
        int digits = 0;
    };
    DigitCount counted_;
};

// The numbers of the converters, shared by the windows and their tests.
namespace Converter {
// x * f(i) / f(a) in double precision, the product first; no value when the
// result (or the product) is infinite or not a number.
std::optional<double> scale(double x, double factor, double sourceFactor);
// A value shown with two decimals by the regional settings ("0.00").
QString twoDecimals(double value);
}
