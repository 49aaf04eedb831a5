#include "Forms/Bank/frmBank.h"

#include "Classes/clsBank.h"
#include "Forms/Bank/frmBudget.h"
#include "Forms/Calculator/frmCalc.h"
#include "Forms/Calendar/frmClndr.h"
#include "Forms/Main/frmChoice.h"
#include "Modules/modBank.h"
#include "Modules/modBankPrint.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/Announce.h"
#include "Platform/Ansi.h"
#include "Platform/App.h"
#include "Platform/Fonts.h"
#include "Platform/Keys.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"
#include "Platform/OutOfMemory.h"
#include "Platform/Runtime.h"
#include "Platform/SaveError.h"

#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QWheelEvent>

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
// Lengths the fields hold.
constexpr int kNameLength = 50, kTextLength = 64, kCheckNumberDigits = 9;

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

// Room in the grid's font for a text, with the cell's margins, in twips.
int roomFor(const FlexGrid* grid, const QStringList& texts) {
    const QFontMetrics metrics(grid->font());
    int widest = 0;
    for (const QString& t : texts) widest = std::max(widest, metrics.horizontalAdvance(t));
    return (widest + 12) * Form::twipsPerPixel;
}

// The number, amount and balance columns as wide as their widest figure.
void fitMoneyColumns(class frmBank* frm) {
    // The widest amount a register can show, under either sign, and its
    // heading in the language shown.
    const QStringList amounts{QStringLiteral("$ -9999999.99"), QString::fromUtf8("€ -9999999.99")};
    auto widen = [&](FlexGrid* grid, int col, const QStringList& texts, QList<int> donors) {
        const int need = roomFor(grid, texts + QStringList{grid->TextMatrix(0, col)}) - grid->ColWidth(col);
        if (need <= 0) return;
        grid->setColWidth(col, grid->ColWidth(col) + need);
        // The text columns give up what the figures take, the widest first.
        std::sort(donors.begin(), donors.end(), [grid](int a, int b) { return grid->ColWidth(a) > grid->ColWidth(b); });
        int left = need;
        for (int d : donors) {
            const int give = std::min(left, std::max(0, grid->ColWidth(d) - roomFor(grid, {grid->TextMatrix(0, d)})));
            grid->setColWidth(d, grid->ColWidth(d) - give);
            left -= give;
        }
    };
    widen(frm->flxGrid, 0, {QStringLiteral("999999999")}, {2, 3});
    widen(frm->flxGrid, 4, amounts, {2, 3});
    widen(frm->flxGrid, 5, amounts, {2, 3});
    widen(frm->flxgrid2, 0, amounts, {});
    widen(frm->flxgrid2, 1, amounts, {});
}

// A label-button's font: "Haettenschweiler" at the given size.
void buttonFont(Label* l, double size, bool bold = false) {
    l->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), size, bold));
    l->setCursor(Qt::PointingHandCursor);
}

// Sizes a label button to its caption at the size a press leaves it with, so
// a released button is not cut off at its right edge.
void fitButton(Label* l) {
    const double size = l->FontSize();
    l->setFontSize(22);
    l->adjustSize();
    l->setFontSize(size);
}

// Keeps a label button clear of the one to its left: the substitute font
// draws wider than the captions were placed for, and touching captions read
// as one word.
void keepRightOf(Label* right, const Label* left) {
    const int end = left->x() + left->width() + Form::px(120);
    if (right->x() < end) right->move(end, right->y());
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
        fitButton(frm->lblAdd[i]);
        fitButton(frm->lblDel[i]);
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
    frm->lstDebts->setAccessibleName(frm->fraDebts->Caption());
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
    keepRightOf(frm->lblDel[0], frm->lblAdd[0]);
    keepRightOf(frm->lblAdd[1], frm->lblDel[1]);
    const std::array<std::pair<Label*, double>, 4> types{
        {{frm->lblDeposit, 16}, {frm->lblPayment, 16}, {frm->lblWithdrawl, 16}, {frm->lblTransfer, 14}}};
    for (const auto& [label, size] : types) {
        label->move(Form::px(4200), label->y());
        label->setFontSize(size);
    }
    // "Über-" and "weisung" on two lines, the dots of the Ü and the
    // descender of the g inside the label.
    frm->lblTransfer->resize(frm->lblTransfer->width(),
                             QFontMetrics(frm->lblTransfer->font()).lineSpacing() * 2 + Form::px(60));
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
    for (TextBox* name : {txtLastName, txtFirstName}) name->setMaxLength(kNameLength);
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
    for (Label* l : {lblCheckingsTotal, lblSavingsTotal, lblDebtsTotal})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

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
    flxgrid2->setVisible(false);
    flxGrid = new FlexGrid(fraCheckings);
    place(flxGrid, kGridLeft, kGridTop, kGridWidth, kGridHeight);
    formatGrid(flxGrid, kCheckingsFormat);
    // A cell is one line, a text too long for it cut by characters ("A 20260…"),
    // never wrapped to its first word.
    for (FlexGrid* g : {flxGrid, flxgrid2}) g->setWordWrap(false);

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

    lblEntries = makeLabel(fraCheckings, QString(), 6840, 3660, 2160, 540);
}

void frmBank::buildEditor() {
    const double top1 = 3660, field1 = 3930, top2 = 4320;
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
    // What the register stores: check numbers of up to nine digits, texts
    // of up to 64 characters.
    txtDat[0]->setMaxLength(kCheckNumberDigits);
    txtDat[2]->setMaxLength(kTextLength);
    lblPayee = makeLabel(fraCheckings, QStringLiteral("Payee"), 2340, top1, 2100, 270);
    cboPayee = new QComboBox(fraCheckings);
    cboPayee->setEditable(true);
    cboPayee->setInsertPolicy(QComboBox::NoInsert);
    // A text box as the payee's text: its typing limit never cuts a longer
    // stored payee put into it.
    auto* payee = new TextBox;
    cboPayee->setLineEdit(payee);
    payee->setMaxLength(kTextLength);
    place(cboPayee, 2340, field1, 2100, 315);
    lblCat = makeLabel(fraCheckings, QStringLiteral("Budget Category"), 6840, top2, 2100, 270);
    cboCat = new QComboBox(fraCheckings);
    place(cboCat, 6840, top2 + (field1 - top1), 2100, 315);
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
    lblAdd[0] = makeLabel(fraCheckings, add[0], 240, kAddDelTop, 600, 600);
    lblDel[0] = makeLabel(fraCheckings, del[0], 1140, kAddDelTop, 600, 600);
    lblDel[1] = makeLabel(fraCheckings, del[1], 3525, kAddDelTop, 600, 600);
    lblAdd[1] = makeLabel(fraCheckings, add[1], 4140, kAddDelTop, 600, 600);
}

void frmBank::buildDebts() {
    fraDebts = makeFrame(this, QStringLiteral("Debtbook"), 120, 6180, 9120, 2340);
    lstDebts = new QListWidget(fraDebts);
    place(lstDebts, 120, 270, 4080, 1950);
    lstDebts->setFont(Fonts::font(QStringLiteral("Courier New"), 9));
    lstDebts->setAccessibleName(fraDebts->Caption());
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
        fitButton(lblAdd[i]);
        fitButton(lblDel[i]);
        setLabelColor(lblAdd[i], QColor(0, 192, 0));
        setLabelColor(lblDel[i], QColor(255, 128, 128));
    }
    keepRightOf(lblDel[0], lblAdd[0]);
    keepRightOf(lblAdd[1], lblDel[1]);
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

    for (QWidget* w : accountViews()) w->setVisible(false);
}

QList<QWidget*> frmBank::accountViews() const {
    // The side buttons lie beyond the log-in panel, and nothing is there to
    // print or work out before a log-in.
    return {fraTotal, fraInfo, fraCurrency, fraCheckings, fraDebts, fraTransfer, cmdBudget, cmdCalc, cmdPrint};
}

namespace {
// Whether the group separators of an amount text stand where the computer's
// settings put them: between groups of three digits of its whole part.
bool groupedProperly(const QString& text) {
    const QString group = Runtime::locale().groupSeparator();
    const QChar decimal = Runtime::decimalSeparator();
    if (group.isEmpty() || !text.contains(group)) return true;
    if (text.section(decimal, 1).contains(group)) return false;
    QStringList groups = text.section(decimal, 0, 0).split(group);
    if (groups.first().startsWith(u'-')) groups.first().remove(0, 1);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const qsizetype n = groups[i].size();
        if (i == 0 ? n < 1 || n > 3 : n != 3) return false;
    }
    return true;
}

// Whether an amount pasted (or dropped) into a field whose key filter is
// `filter` goes in. It does when the filter drops only blanks and currency
// signs, or when what the filter keeps is the amount the paste's digits,
// separators and sign make by the computer's settings ("$1,200.00" in
// English keeps 1200.00). Else the filter would make it another amount
// ("-1.200,00", an amount in the other number format, would read -1.20000),
// and nothing goes in.
bool amountPasteTaken(const QString& pasted, const std::function<void(int&)>& filter) {
    QString kept, meant;
    bool onlyBlanks = true;
    for (const QChar ch : pasted) {
        const int key = Ansi::code(ch);
        int code = key;
        filter(code);
        if (code == key) kept += ch;
        else if (!ch.isSpace() && ch.category() != QChar::Symbol_Currency && ch.category() != QChar::Other_Control)
            onlyBlanks = false;
        if ((ch >= u'0' && ch <= u'9') || ch == u'.' || ch == u',' || ch == u'-') meant += ch;
    }
    if (onlyBlanks) return true;
    const std::optional<Ledger::Money> amount = BankText::amountOf(kept);
    return amount && groupedProperly(meant) && BankText::amountOf(meant) == amount;
}
} // namespace

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
    flxGrid->onClick = [this] { flxGrid_Click(); };
    flxgrid2->onClick = [this] { flxgrid2_Click(); };
    // The editor belongs to the row it was opened on: any other move of the
    // current row than the opening click closes it, as scrolling does.
    for (FlexGrid* g : {flxGrid, flxgrid2}) {
        g->onRowChange = [this](bool byLeftPress) {
            if (!byLeftPress) fraDrag->setVisible(false);
        };
        g->installEventFilter(this);
    }
    // The editor's fields in the order Enter moves through them, then the
    // second row.
    const std::array<QWidget*, 8> editor{txtDat[0],    txtDat[1], cboPayee,  txtDat[2],
                                         lblReconcile, txtDat[3], txtDat[4], cboCat};
    for (std::size_t i = 1; i < editor.size(); ++i) setTabOrder(editor[i - 1], editor[i]);
    fraCheckings->installEventFilter(this);
    fraDrag->installEventFilter(this);
    for (QWidget* w : fraDrag->findChildren<QWidget*>()) w->installEventFilter(this);
    lblReconcile->onMouseDown = [this](int Button, int Shift, int X, int Y) {
        lblReconcile_MouseDown(Button, Shift, X, Y);
    };
    // Space, Enter and a reader's toggle work the mark as the mouse does.
    lblReconcile->setToggle([this] { return lblReconcile->Caption() == QLatin1String("P"); },
                            [this] { lblReconcile_MouseDown(0, 0, 0, 0); });
    // A double click on OK books one transfer: its second press is no second click.
    cmdTransfer->installEventFilter(this);
    for (int i = 0; i < 7; ++i) {
        txtDat[i]->onKeyPress = [this, i](int& KeyAscii) { txtDat_KeyPress(i, KeyAscii); };
        txtDat[i]->onKeyDown = [this, i](int& KeyCode, int Shift) { txtDat_KeyDown(i, KeyCode, Shift); };
        txtDat[i]->installEventFilter(this);
        txtDat[i]->setMouseTracking(true);
    }
    cboPayee->installEventFilter(this);
    cboPayee->lineEdit()->installEventFilter(this);
    connect(cboPayee, &QComboBox::activated, this, [this] { cboPayee_Click(); });
    for (int i = 0; i < 3; ++i) {
        lblAdd[i]->onClick = [this, i] { lblAdd_Click(i); };
        lblDel[i]->onClick = [this, i] { lblDel_Click(i); };
        lblAdd[i]->onMouseMove = [this, i](int B, int S, int X, int Y) { lblAdd_MouseMove(i, B, S, X, Y); };
        lblDel[i]->onMouseMove = [this, i](int B, int S, int X, int Y) { lblDel_MouseMove(i, B, S, X, Y); };
        lblAdd[i]->onMouseDown = [this, i](int B, int S, int X, int Y) { lblAdd_MouseDown(i, B, S, X, Y); };
        lblAdd[i]->onMouseUp = [this, i](int B, int S, int X, int Y) { lblAdd_MouseUp(i, B, S, X, Y); };
        lblDel[i]->onMouseDown = [this, i](int B, int S, int X, int Y) { lblDel_MouseDown(i, B, S, X, Y); };
        lblDel[i]->onMouseUp = [this, i](int B, int S, int X, int Y) { lblDel_MouseUp(i, B, S, X, Y); };
    }
    for (int i = 0; i < 2; ++i) {
        lblSwitch[i]->onMouseDown = [this, i](int B, int S, int X, int Y) { lblSwitch_MouseDown(i, B, S, X, Y); };
        lblSwitch[i]->onMouseUp = [this, i](int B, int S, int X, int Y) { lblSwitch_MouseUp(i, B, S, X, Y); };
    }
    txtDebt->onKeyPress = [this](int& KeyAscii) { txtDebt_KeyPress(KeyAscii); };
    // A pasted amount goes in as the amount it is, or not at all.
    for (int i : {3, 6})
        txtDat[i]->acceptsPaste = [this, i](const QString& text) {
            return amountPasteTaken(text, [this, i](int& KeyAscii) { txtDat_KeyPress(i, KeyAscii); });
        };
    txtDebt->acceptsPaste = [this](const QString& text) {
        return amountPasteTaken(text, [this](int& KeyAscii) { txtDebt_KeyPress(KeyAscii); });
    };
    txtDebtDescription->onKeyDown = [this](int& KeyCode, int Shift) { txtDebtDescription_KeyDown(KeyCode, Shift); };
    connect(cmdKillDebts, &QPushButton::clicked, this, [this] { cmdKillDebts_Click(); });
    connect(cmdTransfer, &QPushButton::clicked, this, [this] { cmdTransfer_Click(); });
    connect(cmdBudget, &QPushButton::clicked, this, [this] { cmdBudget_Click(); });
    connect(cmdCalc, &QPushButton::clicked, this, [this] { cmdCalc_Click(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    // Scrolling a register closes the editor.
    for (FlexGrid* g : {flxGrid, flxgrid2})
        connect(g->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { fraDrag->setVisible(false); });

    // The surfaces whose mouse-move resets the label buttons' hover colours.
    const auto reset = [this](int, int, int, int) { ResetLabels(); };
    for (Frame* f : {fraCheckings, fraTotal, fraDebts, fraInfo, fraTransfer, fraCurrency}) f->onMouseMove = reset;
    for (FlexGrid* g : {flxGrid, flxgrid2}) {
        g->onMouseMove = reset;
        g->setMouseTracking(true);
        g->viewport()->setMouseTracking(true);
    }
    for (Label* l : {lblDebt, lblSwitch[0], lblSwitch[1]}) l->onMouseMove = reset;
    txtDebt->installEventFilter(this);
    txtDebt->setMouseTracking(true);
    lstDebts->viewport()->installEventFilter(this);
    lstDebts->viewport()->setMouseTracking(true);
    setMouseTracking(true);

    // Names for assistive tools: each field by its label.
    const std::array<std::pair<QWidget*, Label*>, 13> named{{
        {txtPwd, lblPwd},
        {txtLastName, lblLastName},
        {txtFirstName, lblFirstName},
        {cboPayee, lblPayee},
        {cboCat, lblCat},
        {cboYear, lblYear},
        {cboMonth, lblMonth},
        {txtDebt, lblDebt},
        {txtDebtDescription, lblDebtDescription},
        {cboFromTo, lblFromTo},
        {lblReconcile, lblChk},
        {flxGrid, lblSwitch[0]},
        {flxgrid2, lblSwitch[1]},
    }};
    named_.assign(named.begin(), named.end());
    for (int i = 0; i < 7; ++i) named_.push_back({txtDat[i], lblDat[i]});
    for (Label* l : {lblSwitch[0], lblSwitch[1], lblAdd[0], lblAdd[1], lblAdd[2], lblDel[0], lblDel[1], lblDel[2]})
        named_.push_back({l, l});
    // Each box is labelled by its caption for assistive tools.
    for (const auto& [control, label] : named_)
        if (control != label && !dynamic_cast<FlexGrid*>(control) && !dynamic_cast<Label*>(control))
            label->setBuddy(control);
    nameControls();
}

void frmBank::nameControls() {
    for (const auto& [control, label] : named_) control->setAccessibleName(captionText(label->Caption()).trimmed());
}

QString frmBank::account() const { return txtPwd->Text(); }
bool frmBank::checkingsShown() const { return cboPayee->isVisibleTo(this); }

void frmBank::Form_Load() {
    if (isFormLoaded<class frmChoice>()) frmChoice()->setVisible(false);
    SetLangBankLogin(this);
    nameControls();
    bLoggedIn = false;
    bNewTransaction = bEditEntry = bZeroAmount = bDateOld = bDateForTransfer = false;
    vSelEntry = vSelSavEntry = vPrevEntry = intNextEntry = 0;
    objBank = std::make_unique<clsBank>();
    // A date picked for the transfer goes to the transfer's field, any
    // other to the entry's.
    frmClndr::bankDateField = []() -> TextBox* {
        if (!isFormLoaded<class frmBank>()) return nullptr;
        return ::frmBank()->txtDat[bDateForTransfer ? 5 : 1];
    };
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
    // Enter passes on to the window, which logs in.
    if (!(KeyAscii >= 48 && KeyAscii <= 57) && KeyAscii != 8 && KeyAscii != 13) KeyAscii = 0;
}

namespace {
// An account number: 1 to 8 digits, as typed, nothing around them.
bool isAccountNumber(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,8}$"));
    return digits.match(text).hasMatch();
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
                MsgBox(L(QStringLiteral("Please enter a user name"),
                         QStringLiteral("Bitte geben Sie einen Benutzernamen ein")),
                       vbExclamation);
                return;
            }
            if (txtPwd->Text().startsWith(u'0')) {
                cnBank().Close();
                MsgBox(L(QStringLiteral("Account# cannot start with 0"),
                         QStringLiteral("Konto# darf nicht mit einer 0 beginnen")),
                       vbExclamation);
                return;
            }
            if (Ledger::accountExists(cnBank(), account())) {
                invalidAccount();
                return;
            }
            Ledger::addAccount(cnBank(), account(), txtLastName->Text(), txtFirstName->Text());
            // A debts file that outlived a lost database is taken up (read and
            // totalled below); an empty one is written only where none is.
            if (!objBank->DebtsFileExists(this)) {
                try {
                    objBank->SaveDebts(this);
                } catch (const RuntimeError&) {
                    // The new account's debts list is empty whether the file could
                    // be written or not; the first change of the debts reports it.
                }
            }
        } else {
            invalidAccount();
            return;
        }
        ShowAccountViews();
        bLoggedIn = true;
    } catch (const RuntimeError& e) {
        // A log-in either ends in the account book or leaves the log-in panel.
        if (!fraUser->isVisibleTo(this)) showLoginPanel();
        cnBank().Close();
        ShowProblem(QStringLiteral("Could Not Access Database"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        const RuntimeError e = Err::outOfMemory();
        if (!fraUser->isVisibleTo(this)) showLoginPanel();
        cnBank().Close();
        ShowProblem(QStringLiteral("Could Not Access Database"), e.number, e.description);
    }
}

void frmBank::showLoginPanel() {
    for (QWidget* w : accountViews()) w->setVisible(false);
    fraUser->setVisible(true);
    setClientSizeTwips(10800, 2100);
    txtPwd->setFocus();
}

void frmBank::ShowAccountViews() {
    SetLangBank(this);
    setClientSizeTwips(13500, 8650);
    fraUser->setVisible(false);
    show();
    for (QWidget* w : accountViews()) w->setVisible(true);
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
    // The log-in only reads the debts: nothing is written back.
    objBank->LoadDebts(this);
    objBank->ShowDebtsTotal(this);
    fitMoneyColumns(this);
    nameControls();
}

void frmBank::FillTransferList() {
    cboFromTo->clear();
    cboFromTo->addItem(L(QStringLiteral("From Checkings To Savings"), QStringLiteral("Von Girokonto Zu Sparkonto")));
    cboFromTo->addItem(L(QStringLiteral("From Savings To Checkings"), QStringLiteral("Von Sparkonto Zu Girokonto")));
    cboFromTo->setCurrentIndex(-1);
}

void frmBank::showCheckingsControls(bool on) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{lblDat[0], txtDat[0], lblChk, lblReconcile, lblPayee, cboPayee, lblDat[2],
                                         txtDat[2], lblCat, cboCat, lblNr, lblOrder, lblDescription, lblCheck})
        w->setVisible(on);
}

void frmBank::lblSwitch_Click(int Index) {
    const bool checkings = Index == 0;
    fraCheckings->setCaption(checkings ? L(QStringLiteral("Checkings"), QStringLiteral("Scheckbuch"))
                                       : L(QStringLiteral("Bankbook"), QStringLiteral("Sparbuch")));
    {
        // The register is filled once, below, not at each change of the year.
        const QSignalBlocker quiet(cboYear);
        objBank->FindYears(this, checkings ? QStringLiteral("Checkings") : QStringLiteral("Savings"));
    }
    // The register not in use is hidden, out of the keyboard's way (the one
    // shown is filled in view). The focus in a control that hides passes to
    // the register shown, not on to the date field (which opens the calendar).
    FlexGrid* shown = checkings ? flxGrid : flxgrid2;
    FlexGrid* other = checkings ? flxgrid2 : flxGrid;
    shown->setVisible(true);
    const QWidget* focus = focusWidget();
    std::vector<QWidget*> hiding{other};
    if (!checkings) hiding.insert(hiding.end(), {txtDat[0], cboPayee, txtDat[2], cboCat});
    for (QWidget* w : hiding)
        if (focus && (focus == w || w->isAncestorOf(focus))) shown->setFocus();
    other->setVisible(false);
    // A transfer fills both registers once when both halves are booked.
    if (!transferring_) {
        if (checkings)
            FillCheckingsGrid(this);
        else
            FillSavingsGrid(this);
    }
    lblAdd_Click(1);
    if (checkings) cboPayee->setEditText(QString());
    fraDrag->raise();
    showCheckingsControls(checkings);
    shpCheckings->setVisible(checkings);
    shpSavings->setVisible(!checkings);
}

void frmBank::cboYear_Click() {
    if (!bLoggedIn) return;
    if (checkingsShown())
        FillCheckingsGrid(this);
    else
        FillSavingsGrid(this);
}

void frmBank::cboMonth_Click() { cboYear_Click(); }

void frmBank::optDollar_Click() {
    if (!bLoggedIn) return;
    FillCheckingsGrid(this);
    // The savings register shown takes the sign too, and its counts stay below it.
    if (!checkingsShown()) FillSavingsGrid(this);
    Activation();
}

void frmBank::optEuro_Click() { optDollar_Click(); }

namespace {
// An amount field's text as the register stores it: exact, to the cent.
Ledger::Money exactAmount(const QString& text) {
    const std::optional<Ledger::Money> m = BankText::amountOf(text);
    if (!m) throw Err::typeMismatch();
    return *m;
}

// The reconcile mark: "P", drawn as the tick of "Wingdings 2", or empty.
// Assistive tools hear it by its caption ("Check") with its state, never
// as the letter or, empty, as the frame around it.
void setReconcile(Label* mark, const Label* caption, bool on) {
    mark->setCaption(on ? QStringLiteral("P") : QString());
    if (on) mark->setText(Fonts::symbol(QStringLiteral("Wingdings 2"), u'P'));
    mark->setAccessibleName(captionText(caption->Caption()));
    mark->setAccessibleDescription(on ? L(QStringLiteral("Reconciled"), QString::fromUtf8("Geprüft"))
                                      : L(QStringLiteral("Not reconciled"), QString::fromUtf8("Nicht geprüft")));
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent told(mark, changed);
    QAccessible::updateAccessibility(&told);
}

// The strip's label over the grid's current cell.
void placeOverCell(Label* label, FlexGrid* grid, bool fullHeight) {
    label->setCaption(grid->Text());
    label->setGeometry(Form::px(grid->CellLeft()), 0, Form::px(grid->CellWidth()),
                       fullHeight ? Form::px(grid->CellHeight()) : label->parentWidget()->height());
}

// The strip laid over the grid's current row. The row is first brought
// wholly into view (one half under the heading scrolls when its cells are
// made current, and scrolling closes the strip).
void showStrip(QFrame* strip, FlexGrid* grid) {
    grid->scrollTo(grid->currentIndex());
    strip->setVisible(true);
    strip->raise();
    strip->setGeometry(grid->x(), grid->y() + Form::px(grid->CellTop()), strip->width(), Form::px(grid->CellHeight()));
}

// The stored date of a row, in the computer's short date form with its
// four-digit year (never rebuilt from the grid's two-digit year).
QString storedDate(Register r, const QString& key) {
    const std::optional<Ledger::Entry> e = Ledger::entry(cnBank(), r, key.toLongLong());
    return e ? Runtime::shortDate(e->date) : QString();
}
} // namespace

void frmBank::flxGrid_Click() {
    try {
        if (vEntryCount == 0 || flxGrid->Row() < 1) return;
        showStrip(fraDrag, flxGrid);
        const int row = flxGrid->Row();
        editRow_ = row;
        editKey_ = flxGrid->TextMatrix(row, 7).toLongLong();
        const std::array<Label*, 6> strip{lblNr, lblDate, lblOrder, lblDescription, lblTransaction, lblBalance};
        for (int col = 0; col < 6; ++col) {
            flxGrid->setCol(col);
            placeOverCell(strip[col], flxGrid, col == 2 || col == 3);
        }
        txtDat[0]->setTextValue(flxGrid->TextMatrix(row, 0));
        txtDat[1]->setTextValue(storedDate(Register::Checkings, flxGrid->TextMatrix(row, 7)));
        cboPayee->setEditText(flxGrid->TextMatrix(row, 2));
        txtDat[2]->setTextValue(flxGrid->TextMatrix(row, 3));
        // The cells without their currency sign (the blank after it stays).
        txtDat[3]->setTextValue(flxGrid->TextMatrix(row, 4).mid(1));
        txtDat[4]->setTextValue(flxGrid->TextMatrix(row, 5).mid(1));
        flxGrid->setCol(6);
        const bool reconciled = flxGrid->Text() == QLatin1String("X");
        setReconcile(lblReconcile, lblChk, reconciled);
        placeOverCell(lblCheck, flxGrid, false);
        lblCheck->setCaption(reconciled ? QStringLiteral("X") : QString());
        objBank->GetBudgetCat(this);
        objBank->OldDate = txtDat[1]->Text();
        objBank->OldCheckingsTransaction = exactAmount(txtDat[3]->Text());
        Activation();
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("FlexGrid Checkings"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QStringLiteral("FlexGrid Checkings"));
    }
}

void frmBank::flxgrid2_Click() {
    try {
        if (vEntryCount == 0 || flxgrid2->Row() < 1) return;
        showStrip(fraDrag, flxgrid2);
        const int row = flxgrid2->Row();
        editRow_ = row;
        editKey_ = flxgrid2->TextMatrix(row, 3).toLongLong();
        const std::array<Label*, 3> strip{lblBalance, lblTransaction, lblDate};
        for (int col = 0; col < 3; ++col) {
            flxgrid2->setCol(col);
            placeOverCell(strip[col], flxgrid2, false);
        }
        txtDat[4]->setTextValue(flxgrid2->TextMatrix(row, 0).mid(1));
        txtDat[3]->setTextValue(flxgrid2->TextMatrix(row, 1).mid(1));
        txtDat[1]->setTextValue(storedDate(Register::Savings, flxgrid2->TextMatrix(row, 3)));
        objBank->OldSavingsTransaction = exactAmount(txtDat[3]->Text());
        objBank->OldDate = txtDat[1]->Text();
        Activation();
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("FlexGrid Savings"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QStringLiteral("FlexGrid Savings"));
    }
}

void frmBank::fraCheckings_Click() { fraDrag->setVisible(false); }

void frmBank::lblReconcile_MouseDown(int, int, int, int) {
    setReconcile(lblReconcile, lblChk, lblReconcile->Caption().isEmpty());
    lblEntries->setCaption(EntriesCaption(true));
}

QChar frmBank::separator() const {
    const QString total = lblCheckingsTotal->Caption();
    return total.size() >= 3 && total[total.size() - 3] == u',' ? u',' : u'.';
}

void frmBank::txtDat_GotFocus(int Index) {
    if (Index == 1 || Index == 5) {
        bDateForTransfer = Index == 5;
        frmClndr::FromBank = true;
        class frmClndr* calendar = frmClndr();
        const QString before = txtDat[5]->Text();
        // The calendar writes the field the flag names; the flag is down
        // again when it closes, with or without a pick.
        connect(calendar, &QObject::destroyed, this, [this, before] {
            if (bDateForTransfer && txtDat[5]->Text() != before) txtDat[6]->setFocus();
            bDateForTransfer = false;
        });
        calendar->Show(vbModeless);
        // Dates are picked in the calendar, which writes the field; the focus
        // moves on. Tab and Shift+Tab pass the field in their own direction,
        // so the keyboard reaches every control both ways round.
        if (lastFocusReason_ == Qt::TabFocusReason || lastFocusReason_ == Qt::BacktabFocusReason)
            focusNextPrevChild(lastFocusReason_ == Qt::TabFocusReason);
        else if (checkingsShown())
            cboPayee->setFocus();
        else
            txtDat[3]->setFocus();
    }
}

void frmBank::txtDat_KeyPress(int Index, int& KeyAscii) {
    if (KeyAscii == 8) return;
    const bool digit = KeyAscii >= 48 && KeyAscii <= 57;
    const int sep = separator().unicode();
    bool admitted = true;
    switch (Index) {
    case 0: admitted = digit; break;
    case 1:
    case 5: admitted = digit || KeyAscii == 47; break;
    case 3: admitted = digit || KeyAscii == sep || KeyAscii == 45; break;
    case 6: admitted = digit || KeyAscii == sep; break;
    default: break;
    }
    if (!admitted) KeyAscii = 0;
}

void frmBank::txtDat_KeyDown(int Index, int& KeyCode, int) {
    if (KeyCode == Keys::vbKeyReturn) {
        if (Index == 0)
            txtDat[1]->setFocus();
        else if (Index == 1)
            cboPayee->setFocus();
        else if (Index == 2)
            txtDat[3]->setFocus();
    } else if (KeyCode == Keys::vbKeyDecimal && (Index == 3 || Index == 6)) {
        TextBox* field = txtDat[Index];
        field->setTextValue(field->Text() + separator());
        field->setCursorPosition(int(field->Text().size()));
        field->setFocus();
        // The key's own character would add a second separator.
        KeyCode = 0;
    }
}

void frmBank::cboPayee_GotFocus() {}

void frmBank::cboPayee_Click() {
    if (bLoggedIn) txtDat[2]->setFocus();
}

void frmBank::cboPayee_KeyDown(int& KeyCode, int) {
    if (KeyCode == Keys::vbKeyReturn) txtDat[2]->setFocus();
}

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
            const FlexGrid* grid = checkingsShown() ? flxGrid : flxgrid2;
            if (!grid->TextMatrix(editRow_, checkingsShown() ? 8 : 4).isEmpty()) {
                lblTransfer->setVisible(true);
                for (Label* l : {lblDeposit, lblPayment, lblWithdrawl}) l->setVisible(false);
            }
        }
        txtDat[3]->setTextValue(Runtime::Format(txtDat[3]->Text(), QStringLiteral("0.00")));
        txtDat[4]->setTextValue(Runtime::Format(txtDat[4]->Text(), QStringLiteral("0.00")));
        const QString sign = optDollar->isChecked() ? QStringLiteral("$") : QString::fromUtf8("€");
        auto show = [&](Label* l, Ledger::Money m, bool green) {
            l->setCaption(sign + BankText::money(m, Runtime::decimalSeparator(), 1));
            l->setForeColor(green ? QColor(0, 128, 0) : QColor(255, 0, 0));
        };
        show(lblSavingsTotal, objBank->LastSavingsBalance, objBank->LastSavingsBalance > 0);
        show(lblCheckingsTotal, objBank->LastCheckingsBalance, objBank->LastCheckingsBalance > 0);
        show(lblDebtsTotal, objBank->LastDebtsBalance, objBank->LastDebtsBalance <= 0);
        if (checkingsShown()) txtDat[0]->setFocus();
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("Activation"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QStringLiteral("Activation"));
    }
}

namespace {
QString spaces(qsizetype n) { return QString(std::max<qsizetype>(n, 0), u' '); }
} // namespace

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
            const QString before = totalsShown();
            // A refused entry keeps what was typed, for another try.
            if (!(checkingsShown() ? SaveCheckingsEntry() : SaveSavingsEntry())) return;
            tellTotals(before);
            fraDrag->setVisible(false);
            lblAdd_Click(1);
        } else if (Index == 1) {
            for (int i : {0, 1, 2}) txtDat[i]->clear();
            cboPayee->setEditText(QString());
            cboCat->setCurrentIndex(-1);
            txtDat[3]->clear();
            txtDat[4]->clear();
            setReconcile(lblReconcile, lblChk, false);
            for (QWidget* w :
                 std::initializer_list<QWidget*>{fraDrag, lblDeposit, lblPayment, lblWithdrawl, lblTransfer})
                w->setVisible(false);
        } else {
            const std::optional<double> amount = Runtime::toNumber(txtDebt->Text());
            // Stored as "00.00": an amount that rounds to 0.00 is none.
            if (amount && BankText::amountOf(txtDebt->Text()) != Ledger::Money(0)) {
                txtDebt->setTextValue(Runtime::Format(*amount, QStringLiteral("00.00")));
                // The total reads the amount from the item's first 8 characters.
                if (txtDebt->Text().size() > 8) throw Err::overflow();
                lstDebts->addItem(txtDebt->Text() + spaces(8 - txtDebt->Text().size()) + txtDebtDescription->Text());
                try {
                    objBank->TotalDebts(this);
                } catch (const RuntimeError&) {
                    // The list keeps what the file holds.
                    objBank->LoadDebts(this);
                    throw;
                }
            } else {
                MsgBox(L(QStringLiteral("Invalid Debt"), QString::fromUtf8("Ungültige Schuldenangabe")), vbExclamation);
            }
            txtDebt->clear();
            txtDebtDescription->clear();
            txtDebt->setFocus();
        }
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("Adding/Clearing"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QStringLiteral("Adding/Clearing"));
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
    std::optional<RuntimeError> failure;
    try {
        newAmount = exactAmount(txtDat[3]->Text());
        txtDat[3]->setTextValue(BankText::money(newAmount, Runtime::decimalSeparator()));
        Ado::Transaction t(cnBank());
        if (checkings)
            objBank->IsChk_DateOld(this);
        else
            objBank->IsSav_DateOld(this);
        const Ledger::Entry e = editedEntry(this, r, newAmount, transfer);
        const qint64 key = Ledger::addEntry(cnBank(), r, account(), e);
        if (bDateOld) objBank->WrongBalance = -e.amount;
        (checkings ? ChkCorrectFrom : SavCorrectFrom) = {e.date, key};
        if (transfer) (checkings ? vSelEntry : vSelSavEntry) = key;
        if (bDateOld) {
            if (checkings)
                RecalcCheckingsBalances(this);
            else
                RecalcSavingsBalances(this);
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
        txtDat[4]->setTextValue(BankText::money(balance, Runtime::decimalSeparator(), 1));
    } catch (const std::bad_alloc&) {
        failure = Err::outOfMemory();
    } catch (const RuntimeError& e) {
        failure = e;
    }
    if (failure) {
        const RuntimeError& e = *failure;
        bDateOld = false;
        objBank->WrongBalance = 0;
        // A transfer's handler undoes both halves and reports.
        if (transfer) throw e;
        saved = false;
        // Nothing was stored: the register shows what is, and the entry's
        // year does not join the year list.
        bNewTransaction = false;
        ShowProblem(checkings ? QStringLiteral("Checkings Transaction") : QStringLiteral("Savings Transaction"),
                    e.number, e.description);
    }
    (checkings ? objBank->LastCheckingsBalance : objBank->LastSavingsBalance) =
        Ledger::lastBalance(cnBank(), r, account());
    if (!transfer) {
        // The fill sets the payee box to the last row's: a refused entry keeps the typed one.
        const QString payee = cboPayee->currentText();
        if (checkings)
            FillCheckingsGrid(this);
        else
            FillSavingsGrid(this);
        if (!saved) cboPayee->setEditText(payee);
        Activation();
        txtDat[3]->setFocus();
    }
    return saved;
}

QString frmBank::totalsShown() const {
    QStringList shown;
    for (const auto& [name, total] : {std::pair{lblCheckings, lblCheckingsTotal}, std::pair{lblSavings, lblSavingsTotal}})
        shown << name->Caption() + u' ' + total->Caption();
    // The count's two lines as two parts of the notice.
    shown << lblEntries->Caption().split(QStringLiteral("\r\n"));
    return shown.join(QStringLiteral(", "));
}

void frmBank::tellTotals(const QString& before) {
    const QString now = totalsShown();
    if (now != before) tellReaders(lblEntries, now);
}

void frmBank::showStoredState() {
    bDateOld = false;
    objBank->WrongBalance = 0;
    try {
        objBank->GetBalances(this);
    } catch (const RuntimeError&) {
        // The fillers below report what the database refuses.
    }
    // The register not shown first: the one shown sets the counts.
    if (checkingsShown()) {
        FillSavingsGrid(this);
        FillCheckingsGrid(this);
    } else {
        FillCheckingsGrid(this);
        FillSavingsGrid(this);
    }
    Activation();
}

namespace {
// The opposite of an amount as the other half of a transfer takes it.
QString oppositeAmount(Ledger::Money m) { return BankText::money(-m, Runtime::decimalSeparator()); }
} // namespace

void frmBank::updateRegister(Register r) {
    if (r == Register::Checkings) objBank->UpdateCheckings(this);
    else objBank->UpdateSavings(this);
}

bool frmBank::UpdateEntry() {
    if (objBank->CheckIfValidFields(this) == QLatin1String("False")) return false;
    bEditEntry = true;
    if (objBank->CheckIfValidNumber(this) == QLatin1String("False")) return false;
    const bool checkings = checkingsShown();
    const Register r = checkings ? Register::Checkings : Register::Savings;
    const Register other = checkings ? Register::Savings : Register::Checkings;
    const qint64 key = editKey_;
    if (!checkings) objBank->FindNextSav_Entry(this);

    Ado::Transaction t(cnBank());
    const std::optional<Ledger::Entry> old = Ledger::entry(cnBank(), r, key);
    if (!old) throw RuntimeError(3021, QStringLiteral("The entry is no longer stored"));
    // Rounded to the cent, as the register shows it (and both halves of a
    // transfer store it).
    const Ledger::Money amount = exactAmount(txtDat[3]->Text());
    Ledger::Entry e = editedEntry(this, r, amount, old->link.has_value());
    e.entry = key;
    e.link = old->link;
    if (checkings)
        objBank->IsChk_DateOld(this);
    else
        objBank->IsSav_DateOld(this);
    if (objBank->IsDateChanged(this) == QLatin1String("True") && bDateOld) objBank->WrongBalance = -amount;
    Ledger::updateEntry(cnBank(), r, e);
    (checkings ? ChkCorrectFrom : SavCorrectFrom) = std::min(Ledger::Place{old->date, key}, Ledger::Place{e.date, key});

    if (old->link) {
        // The other half takes the new date and the opposite amount.
        std::optional<Ledger::Entry> half = Ledger::entry(cnBank(), other, *old->link);
        if (!half) throw RuntimeError(3021, QStringLiteral("The other half of the transfer is no longer stored"));
        (checkings ? objBank->OldSavingsTransaction : objBank->OldCheckingsTransaction) = half->amount;
        const Ledger::Place before{half->date, half->entry};
        half->date = e.date;
        half->amount = -amount;
        Ledger::updateEntry(cnBank(), other, *half);
        (checkings ? SavCorrectFrom : ChkCorrectFrom) = std::min(before, Ledger::Place{half->date, half->entry});
        txtDat[3]->setTextValue(oppositeAmount(amount));
        updateRegister(other);
    }
    txtDat[3]->setTextValue(BankText::money(amount, Runtime::decimalSeparator()));
    updateRegister(r);
    t.commit();
    // An entry moved into a year the list does not hold brings it in, as "Add" does.
    objBank->AddYear(this, e.date.year());
    showStoredState();
    return true;
}

bool frmBank::DeleteEntry() {
    if (MsgBox(L(QStringLiteral("Are You Sure That You Want To Delete This Entry"),
                 QString::fromUtf8("Sind Sie Sicher, Dass Sie Diesen Eintrag Entfernen Möchten")),
               vbYesNo + vbQuestion) != vbYes)
        return true;
    const bool checkings = checkingsShown();
    const Register r = checkings ? Register::Checkings : Register::Savings;
    const Register other = checkings ? Register::Savings : Register::Checkings;
    Ado::Transaction t(cnBank());
    if (checkings)
        objBank->FindNextChk_Entry(this);
    else
        objBank->FindNextSav_Entry(this);
    const qint64 key = editKey_;
    const std::optional<Ledger::Entry> old = Ledger::entry(cnBank(), r, key);
    if (!old) throw RuntimeError(3021, QStringLiteral("The entry is no longer stored"));
    Ledger::deleteEntry(cnBank(), r, key);
    // An amount of 0 tells the correction that the entry is gone.
    txtDat[3]->setTextValue(QStringLiteral("0"));
    if (old->link) {
        if (const std::optional<Ledger::Entry> half = Ledger::entry(cnBank(), other, *old->link)) {
            (checkings ? objBank->OldSavingsTransaction : objBank->OldCheckingsTransaction) = half->amount;
            Ledger::deleteEntry(cnBank(), other, half->entry);
            (checkings ? SavCorrectFrom : ChkCorrectFrom) = {half->date, half->entry};
            updateRegister(other);
        }
    }
    (checkings ? ChkCorrectFrom : SavCorrectFrom) = {old->date, key};
    updateRegister(r);
    t.commit();
    showStoredState();
    return true;
}

void frmBank::lblDel_Click(int Index) {
    // The flags are down again however "Upd" or "Del" ends.
    struct Lower {
        ~Lower() {
            bEditEntry = false;
            bZeroAmount = false;
        }
    } lower;
    try {
        if (Index == 2) {
            QListWidgetItem* item = lstDebts->currentItem();
            if (item && !item->text().isEmpty()) {
                const QString text = item->text();
                const QString sign = optDollar->isChecked() ? QStringLiteral("$") : QString::fromUtf8("€");
                const QString question =
                    L(QStringLiteral("Did you really reimburse ''") + sign + text + QStringLiteral("''"),
                      QStringLiteral("Haben Sie wirklich ''") + sign + text + QString::fromUtf8("'' zurückerstattet"));
                if (MsgBox(question, vbYesNo + vbQuestion) == vbYes) {
                    objBank->DebtRemoved(lstDebts->row(item));
                    delete item;
                    try {
                        objBank->TotalDebts(this);
                    } catch (const RuntimeError&) {
                        objBank->LoadDebts(this);
                        throw;
                    }
                }
            }
            txtDebt->setFocus();
        } else {
            if (!fraDrag->isVisibleTo(this)) {
                MsgBox(L(QStringLiteral("Please select an entry first"),
                         QStringLiteral("Bitte wählen Sie zuerst einen Eintrag")),
                       vbExclamation);
                return;
            }
            const QString before = totalsShown();
            if (!(Index == 0 ? UpdateEntry() : DeleteEntry())) return;
            tellTotals(before);
        }
        lblAdd_Click(1);
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("Deleting/Updating"), e.number, e.description);
        if (Index != 2) showStoredState();
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QStringLiteral("Deleting/Updating"));
        if (Index != 2) showStoredState();
    }
}

void frmBank::txtDebt_KeyPress(int& KeyAscii) {
    // The computer's decimal separator, so that "12,50" stays twelve and a half.
    const bool digit = KeyAscii >= 48 && KeyAscii <= 57;
    if (!digit && KeyAscii != 8 && KeyAscii != Runtime::decimalSeparator().unicode()) KeyAscii = 0;
}

void frmBank::txtDebtDescription_KeyDown(int& KeyCode, int) {
    if (KeyCode == Keys::vbKeyReturn) lblAdd_Click(2);
}

void frmBank::cmdKillDebts_Click() {
    if (lstDebts->count() > 0) {
        const QString total = lblDebtsTotal->Caption();
        const QString question =
            L(QStringLiteral("Did you really reimburse ''") + total + QStringLiteral("''"),
              QStringLiteral("Haben Sie wirklich ''") + total + QString::fromUtf8("'' zurückerstattet"));
        if (MsgBox(question, vbYesNo + vbQuestion) == vbYes) {
            lstDebts->clear();
            try {
                objBank->TotalDebts(this);
            } catch (const RuntimeError& e) {
                // The list shows what the file still holds.
                objBank->LoadDebts(this);
                ShowProblem(QStringLiteral("Reimburse"), e.number, e.description);
            } catch (const std::bad_alloc&) {
                const RuntimeError e = Err::outOfMemory();
                objBank->LoadDebts(this);
                ShowProblem(QStringLiteral("Reimburse"), e.number, e.description);
            }
        }
    }
    txtDebt->setFocus();
}

void frmBank::PrepareTransferEntry() {
    txtDat[1]->setTextValue(txtDat[5]->Text());
    const QString amount = txtDat[6]->Text();
    txtDat[3]->setTextValue(Runtime::toNumber(amount).value_or(0) > 0 ? QStringLiteral("-") + amount : amount);
}

void frmBank::cmdTransfer_Click() {
    if (objBank->CheckIfValidTransfer(this) == QLatin1String("False")) return;
    const int direction = cboFromTo->currentIndex();
    const QString date = txtDat[5]->Text(), amount = txtDat[6]->Text();
    const QString checkingsPayee = direction == 0 ? L(QStringLiteral("Savings"), QStringLiteral("Sparkonto"))
                                                  : L(QStringLiteral("Checkings"), QStringLiteral("Girokonto"));
    const QString description = L(QStringLiteral("Transfer"), QString::fromUtf8("Überweisung"));
    const QString before = totalsShown();
    // Both halves, their links and both corrections, or nothing.
    transferring_ = true;
    try {
        Ado::Transaction t(cnBank());
        if (direction == 0) {
            lblSwitch_Click(0);
            cboPayee->setEditText(checkingsPayee);
            txtDat[2]->setTextValue(description);
            PrepareTransferEntry();
            SaveCheckingsEntry();
            txtDat[3]->setTextValue(txtDat[3]->Text().mid(1));
            SaveSavingsEntry();
        } else {
            lblSwitch_Click(1);
            PrepareTransferEntry();
            SaveSavingsEntry();
            lblSwitch_Click(0);
            cboPayee->setEditText(checkingsPayee);
            txtDat[2]->setTextValue(description);
            PrepareTransferEntry();
            txtDat[3]->setTextValue(txtDat[3]->Text().mid(1));
            SaveCheckingsEntry();
        }
        t.commit();
    } catch (const RuntimeError& e) {
        vSelEntry = vSelSavEntry = 0;
        ShowProblem(QStringLiteral("Transfer"), e.number, e.description);
        // Back to checkings; both registers are filled once, below.
        if (!checkingsShown()) lblSwitch_Click(0);
        transferring_ = false;
        showStoredState();
        lblAdd_Click(1);
        // The transfer fields keep their values for another try.
        txtDat[5]->setTextValue(date);
        txtDat[6]->setTextValue(amount);
        cboFromTo->setCurrentIndex(direction);
        return;
    }
    transferring_ = false;
    objBank->GetBalances(this);
    // The checkings register is shown: a transfer into a year its list does
    // not hold brings the year in, as "Add" does.
    objBank->AddYear(this, BankText::dateOf(date).year());
    showStoredState();
    tellTotals(before);
    fraDrag->setVisible(false);
    lblAdd_Click(1);
    txtDat[5]->clear();
    txtDat[6]->clear();
    vSelSavEntry = 0;
    vSelEntry = 0;
    cboFromTo->setCurrentIndex(-1);
}

void frmBank::cmdBudget_Click() { frmBudget()->Show(vbModal); }

void frmBank::cmdCalc_Click() {
    class frmCalc* calc = frmCalc();
    frmCalc::FromBank = true;
    calc->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // Closing the calculator leaves the bank in front.
    connect(calc, &QObject::destroyed, this, [this] {
        if (!isUnloading() && isVisible()) bringForward();
    });
    calc->Show(vbModeless);
    calc->centreOver(this);
}

void frmBank::cmdPrint_Click() {
    // Before a log-in there is no register to print.
    if (!bLoggedIn) return;
    if (checkingsShown()) PrintCheckings(this);
    else PrintSavings(this);
}

void frmBank::ResetLabels() {
    for (int i = 0; i < int(lblAdd.size()); ++i) {
        lblAdd[i]->setForeColor(QColor(0, 192, 0));
        lblDel[i]->setForeColor(QColor(255, 128, 128));
    }
}

void frmBank::lblAdd_MouseMove(int Index, int, int, int, int) {
    ResetLabels();
    lblAdd[Index]->setForeColor(QColor(0, 128, 0));
}

void frmBank::lblDel_MouseMove(int Index, int, int, int, int) {
    ResetLabels();
    lblDel[Index]->setForeColor(QColor(255, 0, 0));
}

void frmBank::lblAdd_MouseDown(int Index, int, int, int, int) {
    lblAdd[Index]->setFontSize(lblAdd[Index]->FontSize() - 2);
}
void frmBank::lblAdd_MouseUp(int Index, int, int, int, int) { lblAdd[Index]->setFontSize(22); }
void frmBank::lblDel_MouseDown(int Index, int, int, int, int) {
    lblDel[Index]->setFontSize(lblDel[Index]->FontSize() - 2);
}
void frmBank::lblDel_MouseUp(int Index, int, int, int, int) { lblDel[Index]->setFontSize(22); }
void frmBank::lblSwitch_MouseDown(int Index, int, int, int, int) {
    lblSwitch[Index]->setFontSize(lblSwitch[Index]->FontSize() - 1);
}
void frmBank::lblSwitch_MouseUp(int Index, int, int, int, int) { lblSwitch[Index]->setFontSize(16); }

void frmBank::Form_MouseMove(int, int, int, int) { ResetLabels(); }

void frmBank::mousePressEvent(QMouseEvent* e) {
    // A click on the window's free surface closes the editor.
    fraDrag->setVisible(false);
    Form::mousePressEvent(e);
}

void frmBank::keyPressEvent(QKeyEvent* e) {
    // OK is the log-in panel's default button: Enter in any of its fields
    // logs in, as the button's look promises.
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && fraUser->isVisibleTo(this)) {
        cmdOK->click();
        return;
    }
    Form::keyPressEvent(e);
}

bool frmBank::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
    case QEvent::FocusIn:
        lastFocusReason_ = static_cast<QFocusEvent*>(e)->reason();
        for (int i = 0; i < 7; ++i)
            if (watched == txtDat[i]) txtDat_GotFocus(i);
        if (watched == cboPayee) cboPayee_GotFocus();
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (watched == cboPayee->lineEdit()) {
            int code = Keys::keyCode(key);
            cboPayee_KeyDown(code, Keys::shiftState(key->modifiers()));
        }
        const bool press = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space) &&
                           (key->modifiers() & ~Qt::KeypadModifier) == 0;
        if (press && (watched == flxGrid || watched == flxgrid2)) {
            // Return or Space on a register row opens the editor on it, as a click does.
            if (!key->isAutoRepeat()) static_cast<FlexGrid*>(watched)->onClick();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (watched == cmdTransfer) return true;
        break;
    case QEvent::MouseMove:
        if (watched != cboPayee && watched != cboPayee->lineEdit()) ResetLabels();
        break;
    case QEvent::MouseButtonRelease:
        if (watched == fraCheckings) fraCheckings_Click();
        break;
    case QEvent::Wheel:
        if (watched == fraDrag || watched->parent() == fraDrag) {
            // The strip lies over the register: the wheel turns the register.
            const auto* turn = static_cast<QWheelEvent*>(e);
            QWidget* view = (checkingsShown() ? flxGrid : flxgrid2)->viewport();
            QWheelEvent passed(view->mapFromGlobal(turn->globalPosition()), turn->globalPosition(), turn->pixelDelta(),
                               turn->angleDelta(), turn->buttons(), turn->modifiers(), turn->phase(), turn->inverted(),
                               turn->source());
            QCoreApplication::sendEvent(view, &passed);
            return true;
        }
        break;
    case QEvent::FontChange:
        if (watched == flxGrid || watched == flxgrid2) fitMoneyColumns(this);
        break;
    default: break;
    }
    return Form::eventFilter(watched, e);
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
