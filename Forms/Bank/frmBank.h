#pragma once
// The home bank's window. It opens as a small log-in panel; a log-in (or a
// new account) turns it into the account book of that one account: the
// checkings and savings registers in two grids laid over each other, the
// entry editor below them, the totals, the holder, the currency choice,
// the debts book and the transfer panel. The account number stays in
// txtPwd, where every query of the bank reads it.
//
// The store and its rules live in Ledger (Forms/Bank/Ledger.h), the shared
// state and the register fillers in modBank, the account's figures and
// its checks in clsBank; this window reads its fields and shows results.
#include "Forms/Bank/Ledger.h"
#include "Platform/Controls.h"
#include "Platform/FlexGrid.h"
#include "Platform/Form.h"

#include <QList>
#include <array>

class QComboBox;
class QListWidget;
class QRadioButton;

class frmBank : public Form {
    Q_OBJECT
public:
    frmBank();

    // Log-in panel.
    Frame* fraUser;
    QRadioButton* optUser;
    QRadioButton* optNewUser;
    Label* lblPwd;
    TextBox* txtPwd;
    Label* lblLastName;
    TextBox* txtLastName;
    Label* lblFirstName;
    TextBox* txtFirstName;
    QPushButton* cmdOK;
    QFrame* shpPwd;

    // Totals, holder, currency.
    Frame* fraTotal;
    Label* lblCheckings;
    Label* lblSavings;
    Label* lblDebts;
    Label* lblCheckingsTotal;
    Label* lblSavingsTotal;
    Label* lblDebtsTotal;
    Frame* fraInfo;
    Label* lblInfo;
    Frame* fraCurrency;
    QRadioButton* optDollar;
    QRadioButton* optEuro;

    // The registers and the entry editor.
    Frame* fraCheckings;
    std::array<Label*, 2> lblSwitch;
    QFrame* shpCheckings;
    QFrame* shpSavings;
    Label* lblYear;
    QComboBox* cboYear;
    Label* lblMonth;
    QComboBox* cboMonth;
    FlexGrid* flxGrid;
    FlexGrid* flxgrid2;
    Label* lblEntries;
    // The strip laid over the clicked row.
    QFrame* fraDrag;
    Label* lblNr;
    Label* lblDate;
    Label* lblOrder;
    Label* lblDescription;
    Label* lblTransaction;
    Label* lblBalance;
    Label* lblCheck;
    // Entry fields: 0 number, 1 date, 2 description, 3 amount, 4 balance,
    // 5 transfer date, 6 transfer amount.
    std::array<Label*, 7> lblDat;
    std::array<TextBox*, 7> txtDat;
    Label* lblPayee;
    QComboBox* cboPayee;
    Label* lblCat;
    QComboBox* cboCat;
    Label* lblChk;
    Label* lblReconcile;
    Label* lblDeposit;
    Label* lblPayment;
    Label* lblWithdrawl;
    Label* lblTransfer;
    // 0 "Add", 1 "New" of the editor; 2 "Add" of the debts book.
    std::array<Label*, 3> lblAdd;
    // 0 "Upd", 1 "Del" of the editor; 2 "Del" of the debts book.
    std::array<Label*, 3> lblDel;

    // Debts book.
    Frame* fraDebts;
    QListWidget* lstDebts;
    Label* lblDebt;
    TextBox* txtDebt;
    Label* lblDebtDescription;
    TextBox* txtDebtDescription;
    QPushButton* cmdKillDebts;

    // Transfers.
    Frame* fraTransfer;
    Label* lblFromTo;
    QComboBox* cboFromTo;
    QPushButton* cmdTransfer;

    // Side buttons.
    QPushButton* cmdBudget;
    QPushButton* cmdCalc;
    QPushButton* cmdPrint;

    // The totals, the type label of the edited entry and its field formats.
    void Activation();

    // Handlers.
    void optNewUser_Click();
    void optUser_Click();
    void txtPwd_KeyPress(int& KeyAscii);
    void cmdOK_Click();
    void lblSwitch_Click(int Index);
    void cboYear_Click();
    void cboMonth_Click();
    void optDollar_Click();
    void optEuro_Click();
    void lblAdd_Click(int Index);

    // The account number of the logged-in account (the text of txtPwd).
    QString account() const;
    // The checkings register is the one shown (the payee box is visible).
    bool checkingsShown() const;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;
    QString formName() const override { return QStringLiteral("Bank"); }

private:
    void buildLogin();
    void buildTotals();
    void buildRegisters();
    void buildEditor();
    void buildDebts();
    void buildTransfer();
    void wire();

    // Log-in steps.
    void invalidAccount();
    void ShowAccountViews();
    void FillTransferList();

    // Add a new entry to the register shown; true when it was stored.
    bool SaveCheckingsEntry();
    bool SaveSavingsEntry();
    bool saveEntry(Ledger::Register r);
    // The checkings-only fields of the editor shown or hidden.
    void showCheckingsControls(bool on);
};

class frmBank* frmBank();
void SetLangBankLogin(class frmBank* frm);
void SetLangBank(class frmBank* frm);
