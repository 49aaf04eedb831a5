#pragma once
// The budget worksheet of the bank. The user types a gross income, monthly
// or yearly; the sheet shows the tithe and the tax taken from it, the net
// income left, and the net income spread over ten categories by their
// percentages, each figure monthly and yearly. Spinners change the
// percentages; "Create From Data" takes them once from what the logged-in
// account moved in the year and month chosen in the bank window.
//
// The sheet keeps its figures in its text boxes: each computation reads the
// shown texts back as numbers and writes new texts; nothing is saved.
// Percentages are read by their leading value, amounts by the computer's
// number settings with the sheet's own "$" or "€" taken off first.
#include "Platform/Controls.h"
#include "Platform/Form.h"

#include <array>

class QCheckBox;
class UpDown;

class frmBudget : public Form {
    Q_OBJECT
public:
    frmBudget();

    static constexpr int kCategories = 10;

    Frame* fraGrossIncome;
    Label* lblGrossIncome;
    TextBox* txtGrossIncomeM;
    TextBox* txtGrossIncomeA;

    Frame* fraTitheTax;
    Label* lblTithe;
    TextBox* txtProTithe;
    UpDown* updProTithe;
    Label* lblProTithe;
    TextBox* txtTitheM;
    TextBox* txtTitheA;
    Label* lblTax;
    TextBox* txtProTax;
    UpDown* updProTax;
    Label* lblProTax;
    TextBox* txtTaxM;
    TextBox* txtTaxA;

    Frame* fraNetIncome;
    Label* lblNetIncome;
    TextBox* txtNetIncomeM;
    TextBox* txtNetIncomeA;

    Frame* fraExpenses;
    std::array<Label*, kCategories> lblExpense;
    std::array<TextBox*, kCategories> txtProExpense;
    std::array<UpDown*, kCategories> updProExpense;
    std::array<Label*, kCategories> lblProExpense;
    std::array<TextBox*, kCategories> txtExpenseM;
    std::array<TextBox*, kCategories> txtExpenseA;

    Label* lblMonthly;
    Label* lblYearly;
    QCheckBox* chkCreate;
    QPushButton* cmdNew;

    // Handlers.
    void txtGrossIncomeM_KeyPress(int& KeyAscii);
    void txtGrossIncomeM_KeyUp(int& KeyCode, int Shift);
    void txtGrossIncomeA_KeyUp(int& KeyCode, int Shift);
    void updProTithe_Change();
    void updProTax_Change();
    void updProExpense_Change(int Index);
    void cmdNew_Click();

    void ShowBudget();
    void ResetBudget();
    void UnlockBudget();
    void LockBudget();
    // The categories from the account's books in the bank's chosen period.
    void CreateBudget();

    // "$" or "€", as the bank's currency option stood when the sheet was
    // last shown.
    QString currencySign() const { return sign_; }

protected:
    void Form_Load() override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    QString formName() const override { return QStringLiteral("Budget"); }

private:
    void buildIncome();
    void buildTitheTax();
    void buildExpenses();
    void wire();
    void nameControls();
    void readCurrency();
    // A percentage written by the program: its spinner follows, held within
    // its range, without recomputing the sheet.
    void setPercent(TextBox* box, UpDown* spinner, const QString& text);
    // The amount value of a shown figure ("$1,125", "150.00", "€1125").
    double amount(const QString& text) const;
    QString income(double value) const;

    QString sign_ = QStringLiteral("$");
    QString incomePattern_ = QStringLiteral("###,###");
    bool building_ = false;
    bool syncing_ = false;
};

class frmBudget* frmBudget();
void SetLangBudget(class frmBudget* frm);

// Set once a build from the books has ended; from then on the sheet spreads
// the net income by the percentages that build left, for the rest of the
// program's run.
extern bool BudgetCreated;
