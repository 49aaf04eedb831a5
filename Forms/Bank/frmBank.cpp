#include "Forms/Bank/frmBank.h"

#include "Classes/clsBank.h"
#include "Forms/Calculator/frmCalc.h"
#include "Forms/Calendar/frmClndr.h"
#include "Forms/Main/frmChoice.h"
#include "Modules/modBank.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/App.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"
#include "Platform/QuotedLines.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>

using Ledger::Register;

class frmBank* frmBank() { return touchForm<class frmBank>(); }

void SetLangBankLogin(class frmBank* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Bank"));
    frm->fraUser->setCaption(QStringLiteral("Bank Benutzer-Anmeldung"));
    frm->optNewUser->setText(QStringLiteral("Neuer Benutzer"));
    frm->optUser->setText(QStringLiteral("Bestehender Nutzer"));
    frm->lblPwd->setCaption(QStringLiteral("Konto#-Eingabe"));
    frm->lblLastName->setCaption(QStringLiteral("Nachname"));
    frm->lblFirstName->setCaption(QStringLiteral("Vorname"));
}

namespace {
// Places of the register frame's controls, in twips.
constexpr double kGridLeft = 120, kGridTop = 720, kGridWidth = 8760, kGridHeight = 2880;
constexpr double kAddDelTop = 5340;

// The checkings and savings grids' heading rows; their blanks give the
// relative column widths.
const QString kCheckingsFormat =
    QStringLiteral("No.   | Date      | Payee                 | Description    | Transact | Balance  | X|||");
const QString kSavingsFormat = QStringLiteral("Balance      | Transact    | Date          ||");

Label* makeLabel(QWidget* parent, const QString& caption, double left, double top, double width, double height) {
    auto* l = new Label(caption, parent);
    Form::place(l, left, top, width, height);
    return l;
}

TextBox* makeText(QWidget* parent, double left, double top, double width, double height = 315) {
    auto* t = new TextBox(parent);
    Form::place(t, left, top, width, height);
    return t;
}

Frame* makeFrame(QWidget* parent, const QString& caption, double left, double top, double width, double height) {
    auto* f = new Frame(caption, parent);
    Form::place(f, left, top, width, height);
    return f;
}

// A grid's headings from its format text, each column as wide as its
// heading with the blanks around it.
void formatGrid(FlexGrid* grid, const QString& format) {
    grid->setFormatString(format);
    const QStringList titles = format.split(u'|');
    for (int col = 0; col < titles.size(); ++col) {
        grid->setTextMatrix(0, col, titles[col].trimmed());
        grid->setColWidth(col, int(std::max<qsizetype>(titles[col].size(), 1) * 105));
    }
}

void setLabelColor(Label* l, const QColor& c) { l->setForeColor(c); }

// A label-button's font: "Haettenschweiler" at the given size.
void buttonFont(Label* l, double size, bool bold = false) {
    l->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), size, bold));
    l->setCursor(Qt::PointingHandCursor);
}

} // namespace

void SetLangBank(class frmBank* frm) {
    if (!isGerman()) return;
    frm->fraTotal->setCaption(QString::fromUtf8("Gesamt-Kontostände"));
    frm->lblSavings->setCaption(QStringLiteral("Sparkonto"));
    frm->lblCheckings->setCaption(QStringLiteral("Girokonto"));
    frm->lblDebts->setCaption(QStringLiteral("Schulden"));
    frm->fraInfo->setCaption(QStringLiteral("Benutzer-Auskunft"));
    frm->fraCheckings->setCaption(QStringLiteral("Scheckbuch"));
    frm->lblDat[0]->setCaption(QStringLiteral("Nummer"));
    frm->lblDat[1]->setCaption(QStringLiteral("Datum"));
    frm->lblChk->setCaption(QString::fromUtf8("Prüfen"));
    frm->lblPayee->setCaption(QString::fromUtf8("Empfänger"));
    frm->lblDat[2]->setCaption(QStringLiteral("Beschreibung"));
    frm->lblCat->setCaption(QStringLiteral("Haushaltsbereich"));
    frm->lblDat[3]->setCaption(QStringLiteral("Betrag"));
    frm->lblDat[4]->setCaption(QStringLiteral("Kontostand"));
    const QStringList add{QStringLiteral("Hinzu"), QStringLiteral("Neu"), QStringLiteral("Hinzu")};
    const QStringList del{QStringLiteral("Akt"), QStringLiteral("Entf"), QStringLiteral("Entf")};
    for (int i = 0; i < 3; ++i) {
        frm->lblAdd[i]->setCaption(add[i]);
        frm->lblDel[i]->setCaption(del[i]);
    }
    frm->lblDeposit->setCaption(QStringLiteral("Einzahlung"));
    frm->lblPayment->setCaption(QStringLiteral("Zahlung"));
    frm->lblWithdrawl->setCaption(QStringLiteral("Abbuchung"));
    frm->lblTransfer->setCaption(QString::fromUtf8("Über-\r\nweisung"));
    frm->lblSwitch[0]->setCaption(QStringLiteral("Girokonto"));
    frm->lblSwitch[1]->setCaption(QStringLiteral("Sparkonto"));
    const QStringList chkHeads{QStringLiteral("Nr."),          QStringLiteral("Datum"),  QString::fromUtf8("Empfänger"),
                               QStringLiteral("Beschreibung"), QStringLiteral("Betrag"), QStringLiteral("Stand")};
    for (int col = 0; col < chkHeads.size(); ++col) frm->flxGrid->setTextMatrix(0, col, chkHeads[col]);
    const QStringList savHeads{QStringLiteral("Stand"), QStringLiteral("Betrag"), QStringLiteral("Datum")};
    for (int col = 0; col < savHeads.size(); ++col) frm->flxgrid2->setTextMatrix(0, col, savHeads[col]);
    frm->fraDebts->setCaption(QStringLiteral("Schuldbuch"));
    frm->lblDebt->setCaption(QStringLiteral("Schulden"));
    frm->lblDebtDescription->setCaption(QStringLiteral("Beschreibung"));
    frm->cmdKillDebts->setText(QStringLiteral("Erstatten"));
    frm->fraTransfer->setCaption(QString::fromUtf8("Überweisung"));
    frm->lblDat[5]->setCaption(QStringLiteral("Datum"));
    frm->lblDat[6]->setCaption(QStringLiteral("Betrag"));
    frm->lblFromTo->setCaption(QStringLiteral("Von Zu"));
    frm->fraCurrency->setCaption(QString::fromUtf8("Währung"));
    QFont budget = frm->cmdBudget->font();
    budget.setPointSizeF(20);
    frm->cmdBudget->setFont(budget);
    frm->cmdBudget->setText(QStringLiteral("Haushalt"));
    frm->lblYear->setCaption(QStringLiteral("Jahr"));
    if (frm->cboYear->count() > 0) frm->cboYear->setItemText(frm->cboYear->count() - 1, QStringLiteral("Alle"));
    frm->lblMonth->setCaption(QStringLiteral("Monat"));
    frm->cboMonth->setItemText(12, QStringLiteral("Alle"));
    frm->cmdCalc->setText(QStringLiteral("Rechner"));
    frm->cmdPrint->setText(QStringLiteral("Konto Drucken"));

    // German captions are longer: the buttons move.
    auto left = [](QWidget* w, double twips) { w->move(Form::px(twips), w->y()); };
    left(frm->lblAdd[0], 240);
    left(frm->lblAdd[1], 4140);
    left(frm->lblAdd[2], 4320);
    frm->lblDel[0]->move(frm->lblAdd[0]->x() + frm->lblAdd[0]->width(), frm->lblDel[0]->y());
    left(frm->lblDel[1], 3525);
    left(frm->lblDel[2], 6600);
    const std::array<std::pair<Label*, double>, 4> types{
        {{frm->lblDeposit, 16}, {frm->lblPayment, 16}, {frm->lblWithdrawl, 16}, {frm->lblTransfer, 14}}};
    for (const auto& [label, size] : types) {
        label->move(label->x() + Form::px(60), label->y());
        label->setFontSize(size);
    }
    frm->shpSavings->setGeometry(Form::px(3480), frm->shpSavings->y(), Form::px(1185), frm->shpSavings->height());
}

frmBank::frmBank() {
    setCaption(QStringLiteral("QEM Bank"));
    buildLogin();
    buildTotals();
    buildRegisters();
    buildEditor();
    buildDebts();
    buildTransfer();
    wire();
}

void frmBank::buildLogin() {
    fraUser = makeFrame(this, QStringLiteral("Bank User Login"), 120, 60, 10560, 1620);
    optUser = new QRadioButton(QStringLiteral("Enter Existing User"), fraUser);
    place(optUser, 180, 360, 2500, 330);
    optNewUser = new QRadioButton(QStringLiteral("Create New User"), fraUser);
    place(optNewUser, 180, 840, 2500, 330);
    lblPwd = makeLabel(fraUser, QStringLiteral("Enter Account#"), 2880, 300, 1900, 270);
    shpPwd = new QFrame(fraUser);
    shpPwd->setFrameStyle(QFrame::Box | QFrame::Plain);
    place(shpPwd, 2820, 560, 1980, 480);
    txtPwd = makeText(fraUser, 2880, 640, 1860);
    txtPwd->setEchoMode(QLineEdit::Password);
    txtPwd->setMaxLength(8);
    lblLastName = makeLabel(fraUser, QStringLiteral("Enter Last Name"), 5040, 300, 2200, 270);
    txtLastName = makeText(fraUser, 5040, 640, 2200);
    lblFirstName = makeLabel(fraUser, QStringLiteral("Enter First Name"), 7440, 300, 1900, 270);
    txtFirstName = makeText(fraUser, 7440, 640, 1900);
    cmdOK = new QPushButton(QStringLiteral("OK"), fraUser);
    place(cmdOK, 9540, 600, 840, 420);
    cmdOK->setDefault(true);
    for (QWidget* w : std::initializer_list<QWidget*>{lblLastName, txtLastName, lblFirstName, txtFirstName})
        w->setVisible(false);
}

void frmBank::buildTotals() {
    fraTotal = makeFrame(this, QStringLiteral("Total Account Balances"), 9360, 60, 4020, 1500);
    lblCheckings = makeLabel(fraTotal, QStringLiteral("Checkings"), 180, 300, 1500, 330);
    lblSavings = makeLabel(fraTotal, QStringLiteral("Savings"), 180, 660, 1500, 330);
    lblDebts = makeLabel(fraTotal, QStringLiteral("Debts"), 180, 1020, 1500, 330);
    lblCheckingsTotal = makeLabel(fraTotal, QString(), 1740, 300, 2160, 330);
    lblSavingsTotal = makeLabel(fraTotal, QString(), 1740, 660, 2160, 330);
    lblDebtsTotal = makeLabel(fraTotal, QString(), 1740, 1020, 2160, 330);
    for (Label* l : {lblCheckings, lblSavings, lblDebts, lblCheckingsTotal, lblSavingsTotal, lblDebtsTotal})
        l->setFont(Fonts::font(QStringLiteral("Verdana"), 10, true));
    for (Label* l : {lblCheckingsTotal, lblSavingsTotal, lblDebtsTotal}) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    fraInfo = makeFrame(this, QStringLiteral("User Information"), 9360, 1620, 4020, 960);
    lblInfo = makeLabel(fraInfo, QString(), 180, 300, 3660, 570);

    fraCurrency = makeFrame(this, QStringLiteral("Currency"), 9360, 2640, 4020, 660);
    optDollar = new QRadioButton(QStringLiteral("$"), fraCurrency);
    place(optDollar, 360, 270, 1200, 300);
    optEuro = new QRadioButton(QString::fromUtf8("€"), fraCurrency);
    place(optEuro, 2160, 270, 1200, 300);
    optDollar->setChecked(true);

    cmdBudget = new QPushButton(QStringLiteral("Budget"), this);
    place(cmdBudget, 9360, 7380, 1920, 900);
    cmdBudget->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 18));
    cmdCalc = new QPushButton(QStringLiteral("Calculator"), this);
    place(cmdCalc, 11400, 7380, 1980, 420);
    cmdPrint = new QPushButton(QStringLiteral("Print Account"), this);
    place(cmdPrint, 11400, 7860, 1980, 420);
}

void frmBank::buildRegisters() {
    fraCheckings = makeFrame(this, QStringLiteral("Checkbook"), 120, 60, 9120, 6060);
    lblSwitch[0] = makeLabel(fraCheckings, QStringLiteral("Checkings"), 240, 240, 1500, 420);
    lblSwitch[1] = makeLabel(fraCheckings, QStringLiteral("Savings"), 1860, 240, 1500, 420);
    shpCheckings = new QFrame(fraCheckings);
    shpSavings = new QFrame(fraCheckings);
    for (QFrame* s : {shpCheckings, shpSavings}) s->setFrameStyle(QFrame::Box | QFrame::Plain);
    place(shpCheckings, 180, 220, 1560, 460);
    place(shpSavings, 1800, 220, 1560, 460);
    shpSavings->setVisible(false);
    for (Label* l : lblSwitch) {
        buttonFont(l, 15.75, true);
        l->setAlignment(Qt::AlignCenter);
        l->raise();
    }

    lblYear = makeLabel(fraCheckings, QStringLiteral("Year"), 4320, 300, 600, 300);
    cboYear = new QComboBox(fraCheckings);
    place(cboYear, 4920, 270, 1260, 330);
    lblMonth = makeLabel(fraCheckings, QStringLiteral("Month"), 6360, 300, 720, 300);
    cboMonth = new QComboBox(fraCheckings);
    place(cboMonth, 7080, 270, 1260, 330);
    for (int m = 1; m <= 12; ++m) cboMonth->addItem(QString::number(m));
    cboMonth->addItem(QStringLiteral("All"));

    flxgrid2 = new FlexGrid(fraCheckings);
    place(flxgrid2, kGridLeft, kGridTop, kGridWidth, kGridHeight);
    formatGrid(flxgrid2, kSavingsFormat);
    flxGrid = new FlexGrid(fraCheckings);
    place(flxGrid, kGridLeft, kGridTop, kGridWidth, kGridHeight);
    formatGrid(flxGrid, kCheckingsFormat);

    // The strip over the clicked row, with one label per shown column.
    fraDrag = new QFrame(fraCheckings);
    fraDrag->setFrameStyle(QFrame::Box | QFrame::Plain);
    fraDrag->setAutoFillBackground(true);
    QPalette strip = fraDrag->palette();
    strip.setColor(QPalette::Window, QColor(0xff, 0xff, 0xc0));
    fraDrag->setPalette(strip);
    place(fraDrag, kGridLeft, kGridTop, kGridWidth - 300, 270);
    lblNr = new Label(QString(), fraDrag);
    lblDate = new Label(QString(), fraDrag);
    lblOrder = new Label(QString(), fraDrag);
    lblDescription = new Label(QString(), fraDrag);
    lblTransaction = new Label(QString(), fraDrag);
    lblBalance = new Label(QString(), fraDrag);
    lblCheck = new Label(QString(), fraDrag);
    fraDrag->setVisible(false);

    lblEntries = makeLabel(fraCheckings, QString(), 6900, 3660, 2100, 540);
}

void frmBank::buildEditor() {
    const double top1 = 3660, field1 = 3930, top2 = 4320, field2 = 4590;
    const std::array<std::tuple<QString, double, double, double>, 5> fields{{
        {QStringLiteral("Number"), 120, top1, 840},
        {QStringLiteral("Date"), 1020, top1, 1260},
        {QStringLiteral("Description"), 4500, top1, 2280},
        {QStringLiteral("Transaction"), 1020, top2, 1440},
        {QStringLiteral("Balance"), 2520, top2, 1440},
    }};
    for (int i = 0; i < 5; ++i) {
        const auto& [caption, left, top, width] = fields[i];
        lblDat[i] = makeLabel(fraCheckings, caption, left, top, width, 270);
        txtDat[i] = makeText(fraCheckings, left, top + (field1 - top1), width);
    }
    (void)field2;
    lblPayee = makeLabel(fraCheckings, QStringLiteral("Payee"), 2340, top1, 2100, 270);
    cboPayee = new QComboBox(fraCheckings);
    cboPayee->setEditable(true);
    cboPayee->setInsertPolicy(QComboBox::NoInsert);
    cboPayee->lineEdit()->setMaxLength(64);
    place(cboPayee, 2340, field1, 2100, 315);
    lblCat = makeLabel(fraCheckings, QStringLiteral("Budget Category"), 6840, top1 - 600, 2100, 270);
    cboCat = new QComboBox(fraCheckings);
    place(cboCat, 6840, field1 - 600, 2100, 315);
    lblChk = makeLabel(fraCheckings, QStringLiteral("Check"), 120, top2, 840, 270);
    lblReconcile = makeLabel(fraCheckings, QString(), 240, field1 + (top2 - top1), 480, 330);
    lblReconcile->setFont(Fonts::font(QStringLiteral("Wingdings 2"), 14));
    lblReconcile->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblReconcile->setAlignment(Qt::AlignCenter);

    lblDeposit = makeLabel(fraCheckings, QStringLiteral("Deposit"), 4140, top2, 2400, 600);
    lblPayment = makeLabel(fraCheckings, QStringLiteral("Payment"), 4140, top2, 2400, 600);
    lblWithdrawl = makeLabel(fraCheckings, QStringLiteral("Withdrawl"), 4140, top2, 2400, 600);
    lblTransfer = makeLabel(fraCheckings, QStringLiteral("Transfer"), 4140, top2, 2400, 600);
    for (Label* l : {lblDeposit, lblPayment, lblWithdrawl, lblTransfer}) {
        l->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 18));
        l->setVisible(false);
    }

    const QStringList add{QStringLiteral("Add"), QStringLiteral("New")};
    const QStringList del{QStringLiteral("Upd"), QStringLiteral("Del")};
    lblAdd[0] = makeLabel(fraCheckings, add[0], 240, kAddDelTop, 900, 600);
    lblDel[0] = makeLabel(fraCheckings, del[0], 1140, kAddDelTop, 900, 600);
    lblDel[1] = makeLabel(fraCheckings, del[1], 3525, kAddDelTop, 900, 600);
    lblAdd[1] = makeLabel(fraCheckings, add[1], 4140, kAddDelTop, 900, 600);
}

void frmBank::buildDebts() {
    fraDebts = makeFrame(this, QStringLiteral("Debtbook"), 120, 6180, 9120, 2340);
    lstDebts = new QListWidget(fraDebts);
    place(lstDebts, 120, 270, 4080, 1950);
    lstDebts->setFont(Fonts::font(QStringLiteral("Courier New"), 9));
    lblDebt = makeLabel(fraDebts, QStringLiteral("Debts"), 4320, 300, 1200, 270);
    txtDebt = makeText(fraDebts, 4320, 570, 1200);
    lblDebtDescription = makeLabel(fraDebts, QStringLiteral("Description"), 5640, 300, 3300, 270);
    txtDebtDescription = makeText(fraDebts, 5640, 570, 3300);
    lblAdd[2] = makeLabel(fraDebts, QStringLiteral("Add"), 4320, 1020, 1200, 600);
    lblDel[2] = makeLabel(fraDebts, QStringLiteral("Del"), 6600, 1020, 1200, 600);
    cmdKillDebts = new QPushButton(QStringLiteral("Reimburse"), fraDebts);
    place(cmdKillDebts, 4320, 1740, 2160, 420);

    for (int i = 0; i < 3; ++i) {
        buttonFont(lblAdd[i], 21.75);
        buttonFont(lblDel[i], 21.75);
        setLabelColor(lblAdd[i], QColor(0, 192, 0));
        setLabelColor(lblDel[i], QColor(255, 128, 128));
    }
}

void frmBank::buildTransfer() {
    fraTransfer = makeFrame(this, QStringLiteral("Transfer"), 9360, 3360, 4020, 3900);
    lblFromTo = makeLabel(fraTransfer, QStringLiteral("From To"), 180, 300, 3600, 270);
    cboFromTo = new QComboBox(fraTransfer);
    place(cboFromTo, 180, 570, 3660, 330);
    lblDat[5] = makeLabel(fraTransfer, QStringLiteral("Date"), 180, 1080, 1800, 270);
    txtDat[5] = makeText(fraTransfer, 180, 1350, 1800);
    lblDat[6] = makeLabel(fraTransfer, QStringLiteral("Transaction"), 180, 1800, 1800, 270);
    txtDat[6] = makeText(fraTransfer, 180, 2070, 1800);
    cmdTransfer = new QPushButton(QStringLiteral("OK"), fraTransfer);
    place(cmdTransfer, 2160, 2040, 1680, 420);

    for (QWidget* w : std::initializer_list<QWidget*>{fraTotal, fraInfo, fraCurrency, fraCheckings, fraDebts,
                                                      fraTransfer, cmdBudget})
        w->setVisible(false);
}

void frmBank::wire() {
    connect(optNewUser, &QRadioButton::clicked, this, [this] { optNewUser_Click(); });
    connect(optUser, &QRadioButton::clicked, this, [this] { optUser_Click(); });
    txtPwd->onKeyPress = [this](int& KeyAscii) { txtPwd_KeyPress(KeyAscii); };
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    for (int i = 0; i < 2; ++i) lblSwitch[i]->onClick = [this, i] { lblSwitch_Click(i); };
    connect(cboYear, &QComboBox::currentIndexChanged, this, [this] { cboYear_Click(); });
    connect(cboMonth, &QComboBox::currentIndexChanged, this, [this] { cboMonth_Click(); });
    connect(optDollar, &QRadioButton::toggled, this, [this](bool on) {
        if (on) optDollar_Click();
    });
    connect(optEuro, &QRadioButton::toggled, this, [this](bool on) {
        if (on) optEuro_Click();
    });
    for (int i = 0; i < 3; ++i) lblAdd[i]->onClick = [this, i] { lblAdd_Click(i); };
}

QString frmBank::account() const { return txtPwd->Text(); }
bool frmBank::checkingsShown() const { return cboPayee->isVisibleTo(this); }

void frmBank::Form_Load() {
    if (isFormLoaded<class frmChoice>()) frmChoice()->setVisible(false);
    SetLangBankLogin(this);
    bLoggedIn = false;
    bNewTransaction = bEditEntry = bZeroAmount = bDateOld = bDateForTransfer = false;
    objBank = std::make_unique<clsBank>();
    frmClndr::bankDateField = [this]() -> TextBox* { return txtDat[1]; };
}

void frmBank::Form_Activate() {
    if (!fraUser->isVisibleTo(this)) return;
    setClientSizeTwips(10800, 2100);
    show();
    optUser->setFocus();
}

void frmBank::optNewUser_Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{lblLastName, txtLastName, lblFirstName, txtFirstName})
        w->setVisible(true);
    txtPwd->setFocus();
}

void frmBank::optUser_Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{lblLastName, txtLastName, lblFirstName, txtFirstName})
        w->setVisible(false);
    txtPwd->setFocus();
}

void frmBank::txtPwd_KeyPress(int& KeyAscii) {
    if (!(KeyAscii >= 48 && KeyAscii <= 57) && KeyAscii != 8) KeyAscii = 0;
}

namespace {
// An account number: 1 to 8 digits, as typed, nothing around them.
bool isAccountNumber(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,8}$"));
    return digits.match(text).hasMatch();
}

QString debtsFile(const QString& account) {
    return App::dataFile(account + QStringLiteral("Debts.qem"), App::Access::Write);
}
} // namespace

void frmBank::invalidAccount() {
    cnBank().Close();
    MsgBox(L(QStringLiteral("Invalid Account#! Please re-enter your account#!"),
             QString::fromUtf8("Ungültige Konto#! Bitte geben Sie Ihre Konto# erneut ein!")),
           vbExclamation);
    txtPwd->setFocus();
    txtPwd->setSelection(0, int(txtPwd->Text().size()));
}

void frmBank::cmdOK_Click() {
    setMousePointer(vbHourglass);
    struct Restore {
        class frmBank* f;
        ~Restore() { f->setMousePointer(vbDefault); }
    } restore{this};
    try {
        // Checked on the text itself: "1,000", "1e5" or " 12 " are no account numbers.
        if (!isAccountNumber(txtPwd->Text())) {
            invalidAccount();
            return;
        }
        objBank->OpenBankConnection();
        if (cnBank().State() != Ado::adStateOpen) return;
        if (optUser->isChecked()) {
            if (!Ledger::accountExists(cnBank(), account())) {
                invalidAccount();
                return;
            }
        } else if (optNewUser->isChecked()) {
            if (txtLastName->Text().isEmpty() || txtFirstName->Text().isEmpty()) {
                cnBank().Close();
                MsgBox(L(QStringLiteral("Please enter a user name"), QStringLiteral("Bitte geben Sie einen Benutzernamen ein")),
                       vbExclamation);
                return;
            }
            if (txtPwd->Text().startsWith(u'0')) {
                cnBank().Close();
                MsgBox(L(QStringLiteral("Account# cannot start with 0"), QStringLiteral("Konto# darf nicht mit einer 0 beginnen")),
                       vbExclamation);
                return;
            }
            if (Ledger::accountExists(cnBank(), account())) {
                invalidAccount();
                return;
            }
            Ledger::addAccount(cnBank(), account(), txtLastName->Text(), txtFirstName->Text());
            QString error;
            if (!QuotedLines::write(debtsFile(account()), {}, &error)) throw RuntimeError(75, error);
        } else {
            invalidAccount();
            return;
        }
        ShowAccountViews();
        bLoggedIn = true;
    } catch (const RuntimeError& e) {
        if (fraUser->isVisibleTo(this)) cnBank().Close();
        ShowProblem(QStringLiteral("Could Not Access Database"), e.number, e.description);
    }
}

void frmBank::ShowAccountViews() {
    SetLangBank(this);
    setClientSizeTwips(13500, 8650);
    fraUser->setVisible(false);
    show();
    for (QWidget* w : std::initializer_list<QWidget*>{fraTotal, fraInfo, fraCurrency, fraCheckings, fraDebts,
                                                      fraTransfer, cmdBudget})
        w->setVisible(true);
    // The key columns carry entry numbers for the editor and are not meant to be seen.
    for (int col : {7, 8, 9}) flxGrid->setColWidth(col, 1);
    for (int col : {3, 4}) flxgrid2->setColWidth(col, 1);
    vEntryCount = 0;
    vCheckedCount = 0;
    objBank->FindYears(this, QStringLiteral("Checkings"));
    cboMonth->setCurrentIndex(12);
    FillCheckingsGrid(this);
    cboPayee->setEditText(QString());
    objBank->AddCat(this);
    objBank->GetInfo(this);
    objBank->GetBalances(this);
    FillTransferList();
    Activation();
}

void frmBank::FillTransferList() {
    cboFromTo->addItem(L(QStringLiteral("From Checkings To Savings"), QStringLiteral("Von Girokonto Zu Sparkonto")));
    cboFromTo->addItem(L(QStringLiteral("From Savings To Checkings"), QStringLiteral("Von Sparkonto Zu Girokonto")));
    cboFromTo->setCurrentIndex(-1);
}

void frmBank::showCheckingsControls(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{lblDat[0], txtDat[0], lblChk, lblReconcile, lblPayee, cboPayee,
                                                      lblDat[2], txtDat[2], lblCat, cboCat, lblNr, lblOrder,
                                                      lblDescription, lblCheck})
        w->setVisible(on);
}

void frmBank::lblSwitch_Click(int Index) {
    const bool checkings = Index == 0;
    fraCheckings->setCaption(checkings ? L(QStringLiteral("Checkings"), QStringLiteral("Scheckbuch"))
                                       : L(QStringLiteral("Bankbook"), QStringLiteral("Sparbuch")));
    objBank->FindYears(this, checkings ? QStringLiteral("Checkings") : QStringLiteral("Savings"));
    if (checkings) FillCheckingsGrid(this);
    else FillSavingsGrid(this);
    lblAdd_Click(1);
    if (checkings) cboPayee->setEditText(QString());
    (checkings ? flxGrid : flxgrid2)->raise();
    fraDrag->raise();
    showCheckingsControls(checkings);
    shpCheckings->setVisible(checkings);
    shpSavings->setVisible(!checkings);
}

void frmBank::cboYear_Click() {
    if (!bLoggedIn) return;
    if (checkingsShown()) FillCheckingsGrid(this);
    else FillSavingsGrid(this);
}

void frmBank::cboMonth_Click() { cboYear_Click(); }

void frmBank::optDollar_Click() {
    if (!bLoggedIn) return;
    FillCheckingsGrid(this);
    Activation();
}

void frmBank::optEuro_Click() { optDollar_Click(); }

void frmBank::Activation() {
    try {
        const QString amountText = txtDat[3]->Text();
        if (amountText.isEmpty()) {
            for (Label* l : {lblDeposit, lblPayment, lblWithdrawl, lblTransfer}) l->setVisible(false);
        } else if (const std::optional<double> amount = Runtime::toNumber(amountText)) {
            if (*amount > 0) {
                lblDeposit->setVisible(true);
                for (Label* l : {lblPayment, lblWithdrawl, lblTransfer}) l->setVisible(false);
            } else if (*amount < 0) {
                lblPayment->setVisible(checkingsShown());
                lblWithdrawl->setVisible(!checkingsShown());
                lblDeposit->setVisible(false);
                lblTransfer->setVisible(false);
            }
        } else {
            // An amount that is no number names no type; the totals are still brought up to date.
            for (Label* l : {lblDeposit, lblPayment, lblWithdrawl, lblTransfer}) l->setVisible(false);
        }
        if (fraDrag->isVisibleTo(this)) {
            FlexGrid* grid = checkingsShown() ? flxGrid : flxgrid2;
            grid->setCol(checkingsShown() ? 8 : 4);
            if (!grid->Text().isEmpty()) {
                lblTransfer->setVisible(true);
                for (Label* l : {lblDeposit, lblPayment, lblWithdrawl}) l->setVisible(false);
            }
        }
        txtDat[3]->setTextValue(Runtime::Format(txtDat[3]->Text(), QStringLiteral("0.00")));
        txtDat[4]->setTextValue(Runtime::Format(txtDat[4]->Text(), QStringLiteral("0.00")));
        const QString sign = optDollar->isChecked() ? QStringLiteral("$") : QString::fromUtf8("€");
        auto show = [&](Label* l, Ledger::Money m, bool green) {
            l->setCaption(sign + Runtime::Format(Ledger::toDouble(m), QStringLiteral("0.00")));
            l->setForeColor(green ? QColor(0, 128, 0) : QColor(255, 0, 0));
        };
        show(lblSavingsTotal, objBank->LastSavingsBalance, objBank->LastSavingsBalance > 0);
        show(lblCheckingsTotal, objBank->LastCheckingsBalance, objBank->LastCheckingsBalance > 0);
        show(lblDebtsTotal, objBank->LastDebtsBalance, objBank->LastDebtsBalance <= 0);
        if (checkingsShown()) txtDat[0]->setFocus();
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("Activation"), e.number, e.description);
    }
}

void frmBank::lblAdd_Click(int Index) {
    try {
        if (Index == 0) {
            if (objBank->CheckIfValidFields(this) == QLatin1String("False")) return;
            bNewTransaction = true;
            // The flag is down again however the add ends.
            struct Lower {
                ~Lower() { bNewTransaction = false; }
            } lower;
            if (objBank->CheckIfValidNumber(this) == QLatin1String("False") && checkingsShown()) return;
            cboFromTo->setCurrentIndex(-1);
            if (checkingsShown()) SaveCheckingsEntry();
            else SaveSavingsEntry();
            fraDrag->setVisible(false);
            lblAdd_Click(1);
        } else if (Index == 1) {
            for (int i : {0, 1, 2}) txtDat[i]->clear();
            cboPayee->setEditText(QString());
            cboCat->setCurrentIndex(-1);
            txtDat[3]->clear();
            txtDat[4]->clear();
            lblReconcile->setCaption(QString());
            for (QWidget* w : std::initializer_list<QWidget*>{fraDrag, lblDeposit, lblPayment, lblWithdrawl, lblTransfer})
                w->setVisible(false);
        }
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("Adding/Clearing"), e.number, e.description);
    }
}

namespace {
// The entry that the editor's fields describe, for the register given.
Ledger::Entry editedEntry(class frmBank* f, Register r, Ledger::Money amount, bool transfer) {
    Ledger::Entry e;
    e.date = BankText::dateOf(f->txtDat[1]->Text());
    if (!e.date.isValid()) throw Err::typeMismatch();
    e.amount = amount;
    if (r == Register::Checkings) {
        if (amount < 0 && !transfer) e.number = Runtime::CLngLng(Runtime::Val(f->txtDat[0]->Text()));
        e.payee = f->cboPayee->currentText();
        e.description = f->txtDat[2]->Text();
        e.category = f->cboCat->currentIndex();
        e.checked = f->lblReconcile->Caption() == QLatin1String("P");
    }
    return e;
}
} // namespace

bool frmBank::SaveCheckingsEntry() { return saveEntry(Register::Checkings); }
bool frmBank::SaveSavingsEntry() { return saveEntry(Register::Savings); }

bool frmBank::saveEntry(Register r) {
    const bool checkings = r == Register::Checkings;
    const bool transfer = cboFromTo->currentIndex() != -1;
    Ledger::Money& newAmount = checkings ? objBank->NewCheckingsTransaction : objBank->NewSavingsTransaction;
    bool saved = true;
    try {
        txtDat[3]->setTextValue(Runtime::Format(Runtime::CDbl(txtDat[3]->Text()), QStringLiteral("00.00")));
        newAmount = Ledger::toMoney(Runtime::CDbl(txtDat[3]->Text()));
        Ado::Transaction t(cnBank());
        if (checkings) objBank->IsChk_DateOld(this);
        else objBank->IsSav_DateOld(this);
        const Ledger::Entry e = editedEntry(this, r, newAmount, transfer);
        const qint64 key = Ledger::addEntry(cnBank(), r, account(), e);
        if (bDateOld) objBank->WrongBalance = -e.amount;
        (checkings ? ChkCorrectFrom : SavCorrectFrom) = {e.date, key};
        if (transfer) (checkings ? vSelEntry : vSelSavEntry) = key;
        if (bDateOld) {
            if (checkings) RecalcCheckingsBalances(this);
            else RecalcSavingsBalances(this);
        }
        // The second half of a transfer links the pair: savings to
        // checkings books the savings half first, checkings to savings
        // the checkings half.
        if (transfer && cboFromTo->currentIndex() == (checkings ? 1 : 0)) {
            Ledger::setLink(cnBank(), Register::Savings, vSelSavEntry, vSelEntry);
            Ledger::setLink(cnBank(), Register::Checkings, vSelEntry, vSelSavEntry);
        }
        const Ledger::Money balance = Ledger::entry(cnBank(), r, key)->balance;
        t.commit();
        txtDat[4]->setTextValue(Runtime::CStr(Ledger::toDouble(balance)));
    } catch (const RuntimeError& e) {
        bDateOld = false;
        objBank->WrongBalance = 0;
        // A transfer's handler undoes both halves and reports.
        if (transfer) throw;
        saved = false;
        ShowProblem(checkings ? QStringLiteral("Checkings Transaction") : QStringLiteral("Savings Transaction"),
                    e.number, e.description);
    }
    (checkings ? objBank->LastCheckingsBalance : objBank->LastSavingsBalance) =
        Ledger::lastBalance(cnBank(), r, account());
    if (!transfer) {
        if (checkings) FillCheckingsGrid(this);
        else FillSavingsGrid(this);
        Activation();
        txtDat[3]->setFocus();
    }
    return saved;
}

void frmBank::Form_Unload(int&) {
    if (!fraUser->isVisibleTo(this) && cnBank().State() == Ado::adStateOpen) cnBank().Close();
    bLoggedIn = false;
    if (isFormLoaded<class frmClndr>()) frmClndr()->Unload();
    if (isFormLoaded<class frmCalc>()) frmCalc()->Unload();
    frmClndr::FromBank = false;
    frmCalc::FromBank = false;
    frmClndr::bankDateField = nullptr;
    ShowMainMenu();
}
