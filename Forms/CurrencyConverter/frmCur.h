#pragma once
// The currency converter: an amount in one of seven currencies shown in all
// seven. The rates are those of the rate editor frmSetRate (units per US
// dollar), loaded from "Rates.qem" at every activation. The input currency
// is chosen by clicking its result label.
#include "Modules/modConverter.h"

class QCheckBox;

class frmCur : public ConverterForm {
    Q_OBJECT
public:
    frmCur();

    // Rows: US dollar, British pound, German mark, French franc, Spanish
    // peseta, Italian lira, euro.
    QList<TextBox*>& txtCur = rowInputs;
    QList<Label*>& lblCur = rowResults;
    Label* lblUSD;
    Label* lblGBP;
    Label* lblDEM;
    Label* lblFRF;
    Label* lblESP;
    Label* lblITL;
    Label* lblEURO;
    // The flags beside the names, in row order.
    QList<Image*> imgFlag;
    // Ticked while the rate editor is open.
    QCheckBox* chkSetRate;

    void lblCur_Click(int Index);
    void chkSetRate_Click();
    void cmdCnvrt_Click() override;

protected:
    void Form_Activate() override;
    void applyLanguage() override;
    std::optional<QList<RowResult>> convert(const QString& amount) override;
    QString formName() const override { return QStringLiteral("Cur"); }

private:
    // Reads "Rates.qem" into the rate editor's boxes when it holds six
    // values (a file that is there and cannot be read is named once a
    // showing, and the editor does not save over it); then the active
    // row's input box gets the focus.
    void LoadRates();
    // "Please check the rates you have entered", critical, OK.
    void showRateMessage();
    // The result labels of the other rows are shown, to be chosen; the
    // active row's lies under its input box, not in use.
    void showChoices();

    // A damaged or unreadable "Rates.qem" has been reported in this showing.
    bool problemTold_ = false;
};

class frmCur* frmCur();
void SetLangCur(class frmCur* frm);
