#include "Forms/Bank/frmBudget.h"

#include "Forms/Bank/Ledger.h"
#include "Forms/Bank/frmBank.h"
#include "Modules/modBank.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/Ado.h"
#include "Platform/Errors.h"
#include "Platform/Keys.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"
#include "Platform/OutOfMemory.h"
#include "Platform/SaveError.h"
#include "Platform/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

bool BudgetCreated = false;

class frmBudget* frmBudget() { return touchForm<class frmBudget>(); }

namespace {
const QString kEuro = QString::fromUtf8("€");
const QString kAmountPattern = QStringLiteral("#.00");
// The percentages of a new budget; they add up to 100.
const std::array<const char*, frmBudget::kCategories> kDefaultPercent{"5", "5", "33", "14", "15",
                                                                       "5", "12", "5", "5", "1"};
QString defaultPercent(int i) { return QString::fromLatin1(kDefaultPercent[i]); }

// Columns of the sheet, in twips inside the frames.
constexpr int kLabelLeft = 120;
constexpr int kPercentLeft = 1980;
constexpr int kMonthlyLeft = 3480;
constexpr int kYearlyLeft = 5280;
constexpr int kFigureWidth = 1680;
constexpr int kRowHeight = 300;

// The bank window when it is loaded; the sheet never loads it itself.
class frmBank* loadedBank() {
    for (Form* f : Form::loadedForms())
        if (auto* bank = qobject_cast<class frmBank*>(f)) return bank;
    return nullptr;
}

TextBox* figure(QWidget* parent, int left, int top) {
    auto* box = new TextBox(parent);
    Form::place(box, left, top, kFigureWidth, kRowHeight);
    box->setAlignment(Qt::AlignRight);
    return box;
}

// A percentage box with its spinner and its "%" label.
void percentRow(QWidget* parent, int top, TextBox*& box, UpDown*& spinner, Label*& percent, int max,
                const QString& text) {
    box = new TextBox(parent);
    Form::place(box, kPercentLeft, top, 600, kRowHeight);
    box->setAlignment(Qt::AlignRight);
    box->setText(text);
    spinner = new UpDown(parent);
    Form::place(spinner, kPercentLeft + 600, top, 255, kRowHeight);
    spinner->setMin(0);
    spinner->setMax(max);
    spinner->setIncrement(1);
    spinner->setValue(int(Runtime::Val(text)));
    percent = new Label(QStringLiteral("%"), parent);
    Form::place(percent, kPercentLeft + 900, top + 30, 300, 255);
}

// The leading value of a percentage text. A typed percentage beyond any
// number counts 0 for the spinners; the computation reports it.
double percentOf(const QString& text) {
    try {
        return Runtime::Val(text);
    } catch (const RuntimeError&) {
        return 0;
    }
}
double percentOf(const TextBox* box) { return percentOf(box->Text()); }

// The leading value of a percentage text as a whole number for a spinner,
// held within its range before it is converted.
int spinnerValue(const UpDown* spinner, const QString& text) {
    const double v = std::clamp(percentOf(text), double(spinner->Min()), double(spinner->Max()));
    return int(v);
}

// A spinner's limit from what the percentages leave.
int limit(double rest) { return int(std::clamp(rest, -1e9, 1e9)); }

// Percentages written by the build: whole numbers, empty when 0.
QString percentText(double value) { return Runtime::Format(value, QStringLiteral("##")); }
} // namespace

void SetLangBudget(class frmBudget* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Haushaltsplan"));
    frm->cmdNew->setText(QStringLiteral("&Neuer Haushalt"));
    QRect r = frm->cmdNew->geometry();
    frm->cmdNew->setGeometry(r.x() + Form::px(200), r.y(), r.width() + Form::px(250), r.height());
    frm->chkCreate->setText(QStringLiteral("Von &Daten erstellen"));
    r = frm->chkCreate->geometry();
    frm->chkCreate->setGeometry(frm->fraGrossIncome->x(), r.y(), r.width() + Form::px(100), r.height());
    frm->lblMonthly->setCaption(QStringLiteral("Monatlich"));
    frm->lblYearly->setCaption(QString::fromUtf8("Jährlich"));
    frm->fraGrossIncome->setCaption(QStringLiteral("Bruttoeinkommen bzw. Einnahmen"));
    frm->lblGrossIncome->setCaption(QStringLiteral("Verdienst"));
    frm->fraTitheTax->setCaption(QStringLiteral("Der Zehnte und Abgaben"));
    frm->lblTithe->setCaption(QStringLiteral("Zehnt"));
    frm->lblTax->setCaption(QStringLiteral("Steuern"));
    frm->fraNetIncome->setCaption(QString::fromUtf8("Nettoeinkommen bzw. Vermögen"));
    frm->lblNetIncome->setCaption(QStringLiteral("Ertrag"));
    frm->fraExpenses->setCaption(QStringLiteral("Ausgaben bzw. Kosten"));
}

frmBudget::frmBudget() {
    setCaption(QStringLiteral("QEM Budget Worksheet"));
    setClientSizeTwips(7440, 8160);
    lblMonthly = new Label(QStringLiteral("Monthly"), this);
    place(lblMonthly, 120 + kMonthlyLeft, 60, kFigureWidth, 255);
    lblYearly = new Label(QStringLiteral("Yearly"), this);
    place(lblYearly, 120 + kYearlyLeft, 60, kFigureWidth, 255);
    buildIncome();
    buildTitheTax();
    buildExpenses();
    chkCreate = new QCheckBox(QStringLiteral("Create From &Data"), this);
    place(chkCreate, 720, 7620, 2280, 300);
    cmdNew = new QPushButton(QStringLiteral("&New Budget"), this);
    place(cmdNew, 4200, 7560, 1800, 420);
    wire();
}

void frmBudget::buildIncome() {
    fraGrossIncome = new Frame(QStringLiteral("Gross Income"), this);
    place(fraGrossIncome, 120, 300, 7200, 720);
    lblGrossIncome = new Label(QStringLiteral("Gross Income"), fraGrossIncome);
    place(lblGrossIncome, kLabelLeft, 330, 1800, 255);
    txtGrossIncomeM = figure(fraGrossIncome, kMonthlyLeft, 300);
    txtGrossIncomeA = figure(fraGrossIncome, kYearlyLeft, 300);

    fraNetIncome = new Frame(QStringLiteral("Net Income / Spendable $$$"), this);
    place(fraNetIncome, 120, 2280, 7200, 720);
    fraNetIncome->setEnabled(false);
    lblNetIncome = new Label(QStringLiteral("Net Income"), fraNetIncome);
    place(lblNetIncome, kLabelLeft, 330, 1800, 255);
    txtNetIncomeM = figure(fraNetIncome, kMonthlyLeft, 300);
    txtNetIncomeA = figure(fraNetIncome, kYearlyLeft, 300);
}

void frmBudget::buildTitheTax() {
    fraTitheTax = new Frame(QStringLiteral("Tithe And Tax"), this);
    place(fraTitheTax, 120, 1080, 7200, 1140);
    fraTitheTax->setEnabled(false);
    lblTithe = new Label(QStringLiteral("Tithe"), fraTitheTax);
    place(lblTithe, kLabelLeft, 330, 1800, 255);
    percentRow(fraTitheTax, 300, txtProTithe, updProTithe, lblProTithe, 99, QStringLiteral("10"));
    txtTitheM = figure(fraTitheTax, kMonthlyLeft, 300);
    txtTitheA = figure(fraTitheTax, kYearlyLeft, 300);
    lblTax = new Label(QStringLiteral("Tax"), fraTitheTax);
    place(lblTax, kLabelLeft, 720, 1800, 255);
    percentRow(fraTitheTax, 690, txtProTax, updProTax, lblProTax, 99, QStringLiteral("15"));
    txtTaxM = figure(fraTitheTax, kMonthlyLeft, 690);
    txtTaxA = figure(fraTitheTax, kYearlyLeft, 690);
}

void frmBudget::buildExpenses() {
    fraExpenses = new Frame(QStringLiteral("Expenses"), this);
    place(fraExpenses, 120, 3060, 7200, 4440);
    fraExpenses->setEnabled(false);
    const QStringList names = BudgetCategories();
    for (int i = 0; i < kCategories; ++i) {
        const int top = 300 + i * 400;
        lblExpense[i] = new Label(names[i], fraExpenses);
        place(lblExpense[i], kLabelLeft, top + 30, 1800, 255);
        percentRow(fraExpenses, top, txtProExpense[i], updProExpense[i], lblProExpense[i], 100, defaultPercent(i));
        txtExpenseM[i] = figure(fraExpenses, kMonthlyLeft, top);
        txtExpenseA[i] = figure(fraExpenses, kYearlyLeft, top);
    }
}

void frmBudget::wire() {
    txtGrossIncomeM->onKeyPress = [this](int& k) { txtGrossIncomeM_KeyPress(k); };
    txtGrossIncomeM->installEventFilter(this);
    txtGrossIncomeA->installEventFilter(this);
    updProTithe->onChange = [this] { updProTithe_Change(); };
    updProTax->onChange = [this] { updProTax_Change(); };
    for (int i = 0; i < kCategories; ++i) updProExpense[i]->onChange = [this, i] { updProExpense_Change(i); };
    connect(cmdNew, &QPushButton::clicked, this, [this] { cmdNew_Click(); });
}

// The controls named for assistive tools, in the current language.
void frmBudget::nameControls() {
    const QString monthly = lblMonthly->Caption();
    const QString yearly = lblYearly->Caption();
    auto name = [&](QWidget* w, const QString& row, const QString& column) {
        w->setAccessibleName(row + QStringLiteral(" ") + column);
    };
    name(txtGrossIncomeM, lblGrossIncome->Caption(), monthly);
    name(txtGrossIncomeA, lblGrossIncome->Caption(), yearly);
    name(txtTitheM, lblTithe->Caption(), monthly);
    name(txtTitheA, lblTithe->Caption(), yearly);
    name(txtTaxM, lblTax->Caption(), monthly);
    name(txtTaxA, lblTax->Caption(), yearly);
    name(txtNetIncomeM, lblNetIncome->Caption(), monthly);
    name(txtNetIncomeA, lblNetIncome->Caption(), yearly);
    name(txtProTithe, lblTithe->Caption(), QStringLiteral("%"));
    name(updProTithe, lblTithe->Caption(), QStringLiteral("%"));
    name(txtProTax, lblTax->Caption(), QStringLiteral("%"));
    name(updProTax, lblTax->Caption(), QStringLiteral("%"));
    for (int i = 0; i < kCategories; ++i) {
        const QString row = lblExpense[i]->Caption();
        name(txtProExpense[i], row, QStringLiteral("%"));
        name(updProExpense[i], row, QStringLiteral("%"));
        name(txtExpenseM[i], row, monthly);
        name(txtExpenseA[i], row, yearly);
    }
    chkCreate->setAccessibleName(captionText(chkCreate->text()));
    cmdNew->setAccessibleName(captionText(cmdNew->text()));
}

void frmBudget::Form_Load() {
    SetLangBudget(this);
    nameControls();
    readCurrency();
}

// The bank's currency may have changed since the sheet was loaded, and a
// ticked "Create From Data" builds anew from the period chosen now.
void frmBudget::showEvent(QShowEvent* e) {
    readCurrency();
    BudgetCreated = false;
    Form::showEvent(e);
}

void frmBudget::readCurrency() {
    class frmBank* bank = loadedBank();
    sign_ = !bank || bank->optDollar->isChecked() ? QStringLiteral("$") : kEuro;
}

bool frmBudget::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyRelease && (watched == txtGrossIncomeM || watched == txtGrossIncomeA)) {
        auto* key = static_cast<QKeyEvent*>(e);
        int code = Keys::keyCode(key);
        const int shift = Keys::shiftState(key->modifiers());
        if (watched == txtGrossIncomeM) txtGrossIncomeM_KeyUp(code, shift);
        else txtGrossIncomeA_KeyUp(code, shift);
    }
    return Form::eventFilter(watched, e);
}

double frmBudget::amount(const QString& text) const {
    // Either sign: the figures may have been written before the bank's
    // currency changed.
    QString t = text;
    t.remove(u'$').remove(kEuro);
    return Runtime::CDbl(t);
}

QString frmBudget::income(double value) const { return sign_ + Runtime::Format(value, incomePattern_); }

void frmBudget::setPercent(TextBox* box, UpDown* spinner, const QString& text) {
    box->setTextValue(text);
    syncing_ = true;
    spinner->setValue(spinnerValue(spinner, text));
    syncing_ = false;
}

void frmBudget::txtGrossIncomeM_KeyPress(int& KeyAscii) {
    // Whole amounts only.
    if (!(KeyAscii >= '0' && KeyAscii <= '9') && KeyAscii != Keys::vbKeyBack) KeyAscii = 0;
}

void frmBudget::txtGrossIncomeM_KeyUp(int& KeyCode, int) {
    if (KeyCode != Keys::vbKeyReturn) return;
    try {
        const QString text = txtGrossIncomeM->Text();
        if (text.isEmpty() || text == sign_) {
            ResetBudget();
            return;
        }
        const double value = amount(text);
        if (value < 100) {
            ResetBudget();
            return;
        }
        incomePattern_ = DateRegion == QLatin1String("Europe") ? QStringLiteral("#") : QStringLiteral("###,###");
        txtGrossIncomeM->setTextValue(Runtime::CStr(value));
        txtGrossIncomeA->setTextValue(Runtime::CStr(value * 12));
        UnlockBudget();
        ShowBudget();
        txtGrossIncomeM->setCursorPosition(int(txtGrossIncomeM->Text().size()));
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("GrossIncomeM_KeyUp"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QStringLiteral("GrossIncomeM_KeyUp"));
    }
}

void frmBudget::txtGrossIncomeA_KeyUp(int& KeyCode, int) {
    if (KeyCode != Keys::vbKeyReturn) return;
    try {
        const QString text = txtGrossIncomeA->Text();
        if (text.isEmpty() || text == sign_) {
            ResetBudget();
            return;
        }
        const double value = amount(text);
        if (value < 1200) {
            ResetBudget();
            return;
        }
        incomePattern_ = QStringLiteral("###,###.00");
        txtGrossIncomeA->setTextValue(Runtime::CStr(value));
        txtGrossIncomeM->setTextValue(Runtime::CStr(value / 12));
        UnlockBudget();
        ShowBudget();
        txtGrossIncomeA->setCursorPosition(int(txtGrossIncomeA->Text().size()));
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("txtGrossIncomeA_KeyUp"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QStringLiteral("txtGrossIncomeA_KeyUp"));
    }
}

void frmBudget::updProTithe_Change() {
    if (syncing_) return;
    updProTithe->setMax(limit(90 - percentOf(txtProTax)));
    txtProTithe->setTextValue(QString::number(updProTithe->Value()));
    ShowBudget();
}

void frmBudget::updProTax_Change() {
    if (syncing_) return;
    updProTax->setMax(limit(90 - percentOf(txtProTithe)));
    txtProTax->setTextValue(QString::number(updProTax->Value()));
    ShowBudget();
}

void frmBudget::updProExpense_Change(int Index) {
    if (syncing_ || building_) return;
    // What the other nine leave, read before this one's text changes; it
    // bounds the next step of this spinner.
    double rest = 100;
    for (int j = 0; j < kCategories; ++j)
        if (j != Index) rest -= percentOf(txtProExpense[j]);
    updProExpense[Index]->setMax(limit(rest));
    txtProExpense[Index]->setTextValue(QString::number(updProExpense[Index]->Value()));
    ShowBudget();
}

void frmBudget::cmdNew_Click() { ResetBudget(); }

void frmBudget::ShowBudget() {
    try {
        const double G = amount(txtGrossIncomeM->Text());
        txtTitheM->setTextValue(Runtime::Format(G * (Runtime::Val(txtProTithe->Text()) / 100), kAmountPattern));
        txtTitheA->setTextValue(Runtime::Format(amount(txtTitheM->Text()) * 12, kAmountPattern));
        txtTaxM->setTextValue(Runtime::Format(G * (Runtime::Val(txtProTax->Text()) / 100), kAmountPattern));
        txtTaxA->setTextValue(Runtime::Format(amount(txtTaxM->Text()) * 12, kAmountPattern));
        txtNetIncomeM->setTextValue(
            Runtime::Format(G - amount(txtTitheM->Text()) - amount(txtTaxM->Text()), kAmountPattern));
        const double N = amount(txtNetIncomeM->Text());
        txtNetIncomeA->setTextValue(Runtime::Format(N * 12, kAmountPattern));
        if (!chkCreate->isChecked() || BudgetCreated) {
            for (int i = 0; i < kCategories; ++i) {
                txtExpenseM[i]->setTextValue(
                    Runtime::Format(N * (Runtime::Val(txtProExpense[i]->Text()) / 100), kAmountPattern));
                txtExpenseA[i]->setTextValue(Runtime::Format(amount(txtExpenseM[i]->Text()) * 12, kAmountPattern));
            }
        } else {
            CreateBudget();
        }
        for (int i = 0; i < kCategories; ++i) {
            txtExpenseM[i]->setTextValue(Runtime::Format(amount(txtExpenseM[i]->Text()), kAmountPattern));
            txtExpenseA[i]->setTextValue(Runtime::Format(amount(txtExpenseM[i]->Text()) * 12, kAmountPattern));
        }
        for (TextBox* box : {txtGrossIncomeM, txtGrossIncomeA, txtNetIncomeM, txtNetIncomeA})
            box->setTextValue(income(amount(box->Text())));
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("ShowBudget"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QStringLiteral("ShowBudget"));
    }
}

void frmBudget::CreateBudget() {
    building_ = true;
    try {
        for (int i = 0; i < kCategories; ++i) {
            setPercent(txtProExpense[i], updProExpense[i], QStringLiteral("0"));
            txtExpenseM[i]->setTextValue(QStringLiteral("0"));
        }
        const double N = amount(txtNetIncomeM->Text());
        // No income in the period: no share of it can be taken.
        if (N == 0) throw Err::divisionByZero();
        class frmBank* bank = loadedBank();
        if (!bank || cnBank().State() != Ado::adStateOpen)
            throw RuntimeError(3704, QStringLiteral("Operation is not allowed when the object is closed."));
        // The last item of either list stands for "All".
        const auto chosen = [](const QComboBox* box) {
            return box->currentIndex() < 0 || box->currentIndex() == box->count() - 1 ? 0
                                                                                        : box->currentText().toInt();
        };
        const Ledger::Period period{chosen(bank->cboYear), chosen(bank->cboMonth)};
        const QString account = bank->account();
        const auto categories = Ledger::categoryTotals(cnBank(), account, period);
        const double saved = Ledger::toDouble(Ledger::total(cnBank(), Ledger::Register::Savings, account, period));

        // The savings register's net movement is what was saved.
        txtExpenseM[0]->setTextValue(Runtime::CStr(saved));
        if (saved > 0) setPercent(txtProExpense[0], updProExpense[0], percentText(saved / N * 100));
        for (const auto& [c, sum] : categories) {
            if (c < 0 || c >= kCategories) continue;
            // Payments are negative; an insurance payment counts a third.
            const double spent = c == 8 ? -Ledger::toDouble(sum) / 3 : -Ledger::toDouble(sum);
            const double total = amount(txtExpenseM[c]->Text()) + spent;
            txtExpenseM[c]->setTextValue(Runtime::CStr(total));
            setPercent(txtProExpense[c], updProExpense[c], percentText(total / N * 100));
        }

        double planned = 0;
        for (TextBox* box : txtProExpense) planned += Runtime::Val(box->Text());
        if (planned <= 100) {
            // The unplanned rest goes to "Other"; its spending stays as found.
            setPercent(txtProExpense[9], updProExpense[9],
                       Runtime::CStr(100 - planned + Runtime::Val(txtProExpense[9]->Text())));
        } else {
            setPercent(txtProExpense[9], updProExpense[9], QStringLiteral("0"));
            MsgBox(L(QStringLiteral("Your expenses exceed your budget by "),
                     QString::fromUtf8("Ihre Ausgaben überschreiten den Haushalt bei ")) +
                       Runtime::CStr(planned - 100) + QStringLiteral("%"),
                   vbExclamation);
            txtExpenseM[9]->setTextValue(Runtime::CStr(N * Runtime::Val(txtProExpense[9]->Text()) / 100));
        }
        BudgetCreated = true;
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("CreateBudget"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QStringLiteral("CreateBudget"));
    }
    building_ = false;
}

void frmBudget::ResetBudget() {
    BudgetCreated = false;
    for (TextBox* box : {txtGrossIncomeM, txtGrossIncomeA, txtTitheM, txtTitheA, txtTaxM, txtTaxA, txtNetIncomeM,
                         txtNetIncomeA})
        box->clear();
    setPercent(txtProTithe, updProTithe, QStringLiteral("10"));
    setPercent(txtProTax, updProTax, QStringLiteral("15"));
    for (int i = 0; i < kCategories; ++i) {
        setPercent(txtProExpense[i], updProExpense[i], defaultPercent(i));
        txtExpenseM[i]->clear();
        txtExpenseA[i]->clear();
    }
    LockBudget();
    txtGrossIncomeM->setFocus();
}

void frmBudget::UnlockBudget() {
    const bool typedIncome = fraGrossIncome->isAncestorOf(focusWidget());
    fraGrossIncome->setEnabled(false);
    fraTitheTax->setEnabled(true);
    fraNetIncome->setEnabled(true);
    fraExpenses->setEnabled(true);
    // The income's field leaves the focus on no control as its frame is
    // disabled: it goes on to the first control the unlock enables.
    if (typedIncome) txtProTithe->setFocus(Qt::TabFocusReason);
}

void frmBudget::LockBudget() {
    fraGrossIncome->setEnabled(true);
    fraTitheTax->setEnabled(false);
    fraNetIncome->setEnabled(false);
    fraExpenses->setEnabled(false);
}
