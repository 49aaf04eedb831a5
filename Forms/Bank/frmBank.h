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
#include <vector>

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
    void flxGrid_Click();
    void flxgrid2_Click();
    void fraCheckings_Click();
    void lblReconcile_MouseDown(int Button, int Shift, int X, int Y);
    void txtDat_GotFocus(int Index);
    void txtDat_KeyPress(int Index, int& KeyAscii);
    void txtDat_KeyDown(int Index, int& KeyCode, int Shift);
    void cboPayee_GotFocus();
    void cboPayee_Click();
    void cboPayee_KeyDown(int& KeyCode, int Shift);
    void lblAdd_Click(int Index);
    void lblDel_Click(int Index);
    void txtDebt_KeyPress(int& KeyAscii);
    void txtDebtDescription_KeyDown(int& KeyCode, int Shift);
    void cmdKillDebts_Click();
    void cmdTransfer_Click();
    void cmdBudget_Click();
    void cmdCalc_Click();
    void cmdPrint_Click();
    // Label-button looks.
    void lblAdd_MouseMove(int Index, int Button, int Shift, int X, int Y);
    void lblDel_MouseMove(int Index, int Button, int Shift, int X, int Y);
    void lblAdd_MouseDown(int Index, int Button, int Shift, int X, int Y);
    void lblAdd_MouseUp(int Index, int Button, int Shift, int X, int Y);
    void lblDel_MouseDown(int Index, int Button, int Shift, int X, int Y);
    void lblDel_MouseUp(int Index, int Button, int Shift, int X, int Y);
    void lblSwitch_MouseDown(int Index, int Button, int Shift, int X, int Y);
    void lblSwitch_MouseUp(int Index, int Button, int Shift, int X, int Y);
    // The hover colours of lblAdd and lblDel back to normal (the mouse
    // moved over the window or one of its surfaces).
    void ResetLabels();

    // The account number of the logged-in account (the text of txtPwd).
    QString account() const;
    // The checkings register is the one shown (the payee box is visible).
    bool checkingsShown() const;
    // The entry number of the row the editor was opened on (by a click on
    // it); the editor's writes and checks act on this entry, whatever row
    // of the grid is current.
    qint64 editorKey() const { return editKey_; }

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;
    void Form_MouseMove(int Button, int Shift, int X, int Y) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    QString formName() const override { return QStringLiteral("Bank"); }

private:
    void buildLogin();
    void buildTotals();
    void buildRegisters();
    void buildEditor();
    void buildDebts();
    void buildTransfer();
    void wire();
    // What the log-in shows (and a failed one hides again), in the order shown.
    QList<QWidget*> accountViews() const;

    // Log-in steps.
    void invalidAccount();
    // Back from a log-in that failed half-way: the panel alone, as opened.
    void showLoginPanel();
    void ShowAccountViews();
    void FillTransferList();

    // Add a new entry to the register shown; true when it was stored.
    bool SaveCheckingsEntry();
    bool SaveSavingsEntry();
    bool saveEntry(Ledger::Register r);
    // The checkings-only fields of the editor shown or hidden.
    void showCheckingsControls(bool on);
    // The decimal separator the totals show.
    QChar separator() const;
    // Both registers and the totals as stored (after a failed operation).
    void showStoredState();
    // The totals and the entry count as shown, and, after a change of the
    // book, told to screen readers when they moved from `before` (they
    // change away from the focus).
    QString totalsShown() const;
    void tellTotals(const QString& before);
    // "Upd" and "Del" of the entry editor; false when a check stopped them.
    bool UpdateEntry();
    // The register's new amount formatted and its balances corrected.
    void updateRegister(Ledger::Register r);
    bool DeleteEntry();
    void PrepareTransferEntry();

    // Every field named for assistive tools by its label, in the current language.
    void nameControls();
    std::vector<std::pair<QWidget*, Label*>> named_;

    // How the focus came to the field that got it last (a date field passes
    // it on in the direction Tab or Shift+Tab moved).
    Qt::FocusReason lastFocusReason_ = Qt::OtherFocusReason;
    // Set while a transfer books its two halves in one transaction.
    bool transferring_ = false;
    // The grid row and the entry number the editor was opened on.
    int editRow_ = 0;
    qint64 editKey_ = 0;
};

class frmBank* frmBank();
void SetLangBankLogin(class frmBank* frm);
void SetLangBank(class frmBank* frm);
