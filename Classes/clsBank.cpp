#include "Classes/clsBank.h"

#include "Forms/Bank/frmBank.h"
#include "Modules/modBank.h"
#include "Modules/modLanguage.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"
#include "Platform/OutOfMemory.h"
#include "Platform/QuotedLines.h"
#include "Platform/SaveError.h"

#include <QComboBox>
#include <QFileInfo>
#include <QListWidget>
#include <QRegularExpression>
#include <cmath>

using Ledger::Register;

namespace {

// The bank's input messages: exclamation icon, OK, no title of their own.
void warn(const QString& english, const QString& german, QWidget* focus) {
    MsgBox(L(english, german), vbExclamation);
    if (focus) focus->setFocus();
}

// The numeric value of a text by the computer's number settings; 0 when
// it is none (an empty check number).
double numberOf(const QString& text) { return Runtime::toNumber(text).value_or(0); }

// A check number the register can store: a whole number from 0 to nine digits.
bool isCheckNumber(const QString& text) {
    const std::optional<double> v = Runtime::toNumber(text);
    return v && *v >= 0 && *v <= 999999999 && *v == std::floor(*v);
}

} // namespace

void clsBank::OpenBankConnection() {
    try {
        cnBank().Close();
        Ledger::open(cnBank(), BankFile());
    } catch (const RuntimeError& e) {
        cnBank().Close();
        ShowProblem(QStringLiteral("OpenBankConnection"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        const RuntimeError e = Err::outOfMemory();
        cnBank().Close();
        ShowProblem(QStringLiteral("OpenBankConnection"), e.number, e.description);
    }
}

void clsBank::GetBalances(class frmBank* frm) {
    LastCheckingsBalance = Ledger::lastBalance(cnBank(), Register::Checkings, frm->account());
    LastSavingsBalance = Ledger::lastBalance(cnBank(), Register::Savings, frm->account());
}

void clsBank::GetInfo(class frmBank* frm) {
    const std::optional<Ledger::Holder> h = Ledger::holder(cnBank(), frm->account());
    if (!h) return;
    frm->lblInfo->setCaption(L(QStringLiteral("Account#: "), QStringLiteral("Konto#: ")) + h->account +
                             QStringLiteral("\r\nName: ") + h->lastName + QStringLiteral(", ") + h->firstName);
}

void clsBank::GetBudgetCat(class frmBank* frm) {
    vSelEntry = frm->editorKey();
    const std::optional<Ledger::Entry> e = Ledger::entry(cnBank(), Register::Checkings, vSelEntry);
    frm->cboCat->setCurrentIndex(e && e->category >= 0 && e->category < frm->cboCat->count() ? e->category : -1);
}

void clsBank::FindYears(class frmBank* frm, const QString& table) {
    try {
        {
            const QSignalBlocker quiet(frm->cboYear);
            frm->cboYear->clear();
            frm->cboYear->addItem(L(QStringLiteral("All"), QStringLiteral("Alle")));
            frm->cboYear->setCurrentIndex(-1);
            const Register r = table == QLatin1String("Savings") ? Register::Savings : Register::Checkings;
            // The years come from the stored dates.
            for (const int year : Ledger::years(cnBank(), r, frm->account()))
                frm->cboYear->insertItem(frm->cboYear->count() - 1, QString::number(year));
        }
        // The latest year, just before "All", once.
        if (frm->cboYear->count() > 1) frm->cboYear->setCurrentIndex(frm->cboYear->count() - 2);
    } catch (const RuntimeError& e) {
        ShowProblem(QStringLiteral("FindYears"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QStringLiteral("FindYears"));
    }
}

void clsBank::CheckIfPayeeExists(class frmBank* frm, const QString& payee) {
    if (frm->cboPayee->currentText().isEmpty()) return;
    bExists = false;
    for (int i = 0; i < frm->cboPayee->count(); ++i) {
        if (frm->cboPayee->itemText(i).compare(payee, Qt::CaseInsensitive) == 0) {
            bExists = true;
            return;
        }
    }
}

void clsBank::AddPayee(class frmBank* frm) {
    const QString payee = frm->cboPayee->currentText();
    CheckIfPayeeExists(frm, payee);
    if (!bExists && !payee.isEmpty()) {
        int at = 0;
        while (at < frm->cboPayee->count() && frm->cboPayee->itemText(at).compare(payee, Qt::CaseInsensitive) < 0) ++at;
        frm->cboPayee->insertItem(at, payee);
        frm->cboPayee->setEditText(payee);
    }
    bExists = false;
}

void clsBank::CheckIfYearExists(class frmBank* frm, const QString& year) {
    bExists = false;
    for (int i = 0; i < frm->cboYear->count(); ++i) {
        if (frm->cboYear->itemText(i).compare(year, Qt::CaseInsensitive) == 0) {
            bExists = true;
            return;
        }
    }
}

void clsBank::AddYear(class frmBank* frm) {
    const QDate d = BankText::dateOf(frm->txtDat[1]->Text());
    if (d.isValid()) AddYear(frm, d.year());
}

void clsBank::AddYear(class frmBank* frm, int year) {
    const QString text = QString::number(year);
    CheckIfYearExists(frm, text);
    if (!bExists) {
        QComboBox* box = frm->cboYear;
        // Years ascending; "All" stays the last item.
        int at = 0;
        while (at < box->count() - 1 && box->itemText(at).toInt() < year) ++at;
        // The register being filled shows the new year's rows; no second filling.
        const QSignalBlocker quiet(box);
        box->insertItem(at, text);
        box->setCurrentIndex(box->count() - 2);
    }
    bExists = false;
}

void clsBank::AddCat(class frmBank* frm) {
    frm->cboCat->clear();
    frm->cboCat->addItems(BudgetCategories());
    frm->cboCat->setCurrentIndex(-1);
}

QString clsBank::CheckIfValidFields(class frmBank* frm) {
    if (!BankText::dateOf(frm->txtDat[1]->Text()).isValid()) {
        warn(QStringLiteral("Invalid Date"), QString::fromUtf8("Ungültiges Datum"), frm->txtDat[1]);
        return QStringLiteral("False");
    }
    QString verdict;
    // By the computer's number settings: "0,50" is half a unit where the
    // comma is the decimal separator.
    const std::optional<Ledger::Money> amount = BankText::amountOf(frm->txtDat[3]->Text());
    if (!amount || *amount == 0) {
        warn(QStringLiteral("Invalid Transaction"), QString::fromUtf8("Ungültiger Betrag"), frm->txtDat[3]);
        verdict = QStringLiteral("False");
    }
    const bool checkings = frm->checkingsShown();
    if (checkings && frm->cboPayee->currentText().isEmpty()) {
        warn(QStringLiteral("Please state a payee"), QString::fromUtf8("Bitte geben Sie einen Empfänger an"),
             frm->cboPayee);
        return QStringLiteral("False");
    }
    const QString number = frm->txtDat[0]->Text();
    if (checkings && !number.isEmpty() && !isCheckNumber(number)) {
        warn(QStringLiteral("Invalid Check Number"), QString::fromUtf8("Ungültige Schecknummer"), frm->txtDat[0]);
        return QStringLiteral("False");
    }
    if (checkings && frm->cboCat->currentIndex() != -1 && amount && *amount > 0 && numberOf(number) == 0) {
        warn(QStringLiteral("This entry may not have a budget category"),
             QString::fromUtf8("Dieser Eintrag darf keinen Haushaltsbereich haben"), frm->cboCat);
        frm->cboCat->setCurrentIndex(-1);
    }
    return verdict;
}

QString clsBank::CheckIfValidNumber(class frmBank* frm) {
    // Check numbers belong to the checkings register alone.
    if (!frm->checkingsShown()) return {};
    const qint64 own = bNewTransaction ? -1 : frm->editorKey();
    const double number = numberOf(frm->txtDat[0]->Text());
    if (number == 0 || numberOf(frm->txtDat[3]->Text()) > 0) return {};
    if (Ledger::checkNumberUsed(cnBank(), frm->account(), Runtime::CLngLng(number), own == 0 ? -1 : own)) {
        warn(QStringLiteral("Check number already exists! Please choose a different number"),
             QString::fromUtf8("Schecknummer bereits vorhanden! Bitte wählen Sie eine andere Nummer"), frm->txtDat[0]);
        return QStringLiteral("False");
    }
    return {};
}

QString clsBank::CheckIfValidTransfer(class frmBank* frm) {
    if (!BankText::dateOf(frm->txtDat[5]->Text()).isValid()) {
        warn(QStringLiteral("Invalid Date"), QString::fromUtf8("Ungültiges Datum"), frm->txtDat[5]);
        return QStringLiteral("False");
    }
    const std::optional<Ledger::Money> amount = BankText::amountOf(frm->txtDat[6]->Text());
    if (!amount || *amount == 0) {
        warn(QStringLiteral("Invalid transaction"), QString::fromUtf8("Ungültiger Betrag"), frm->txtDat[6]);
        return QStringLiteral("False");
    }
    if (frm->cboFromTo->currentIndex() < 0) {
        warn(QStringLiteral("Please select a transfer type"),
             QString::fromUtf8("Wählen Sie bitte eine Überweisungsart"), frm->cboFromTo);
        return QStringLiteral("False");
    }
    return {};
}

QString clsBank::IsDateChanged(class frmBank* frm) {
    return frm->txtDat[1]->Text() != OldDate ? QStringLiteral("True") : QStringLiteral("False");
}

void clsBank::IsDateOld(class frmBank* frm, Register r) {
    const qint64 exclude = bEditEntry ? frm->editorKey() : 0;
    const QDate date = BankText::dateOf(frm->txtDat[1]->Text());
    const Ledger::Neighbours n = Ledger::neighboursOfDate(cnBank(), r, frm->account(), date, exclude);
    // Only a strictly earlier day puts an entry before others; on the same
    // day it goes after them.
    bDateOld = !n.last();
    if (!bDateOld) return;
    vPrevEntry = n.before ? n.before->entry : 0;
    dblPrevBalance = n.before ? Ledger::toDouble(n.before->balance) : 0;
    intNextEntry = n.after->entry;
}

void clsBank::IsChk_DateOld(class frmBank* frm) { IsDateOld(frm, Register::Checkings); }
void clsBank::IsSav_DateOld(class frmBank* frm) { IsDateOld(frm, Register::Savings); }

void clsBank::FindNextChk_Entry(class frmBank* frm) {
    const Ledger::Neighbours n =
        Ledger::neighboursOfEntry(cnBank(), Register::Checkings, frm->account(), frm->editorKey());
    intNextEntry = n.after ? n.after->entry : 0;
    vPrevEntry = n.before ? n.before->entry : 0;
}

void clsBank::FindNextSav_Entry(class frmBank* frm) {
    const Ledger::Neighbours n =
        Ledger::neighboursOfEntry(cnBank(), Register::Savings, frm->account(), frm->editorKey());
    intNextEntry = n.after ? n.after->entry : 0;
    vPrevEntry = n.before ? n.before->entry : 0;
}

void clsBank::CheckForCheckingsChange(class frmBank* frm) {
    WrongBalance = OldCheckingsTransaction - NewCheckingsTransaction;
    // Also when the amount stays: a changed date moves the entry, and the
    // balances from its earlier place on must follow.
    RecalcCheckingsBalances(frm);
}

void clsBank::CheckForSavingsChange(class frmBank* frm) {
    WrongBalance = OldSavingsTransaction - NewSavingsTransaction;
    RecalcSavingsBalances(frm);
}

namespace {
// The amount field formatted "00.00"; its value, rounded to the cent as
// the field then shows it.
Ledger::Money formatAmountField(class frmBank* frm) {
    const std::optional<Ledger::Money> value = BankText::amountOf(frm->txtDat[3]->Text());
    if (!value) throw Err::typeMismatch();
    frm->txtDat[3]->setTextValue(BankText::money(*value, Runtime::decimalSeparator()));
    return *value;
}
} // namespace

void clsBank::UpdateCheckings(class frmBank* frm) {
    NewCheckingsTransaction = formatAmountField(frm);
    bZeroAmount = NewCheckingsTransaction == 0;
    CheckForCheckingsChange(frm);
}

void clsBank::UpdateSavings(class frmBank* frm) {
    NewSavingsTransaction = formatAmountField(frm);
    bZeroAmount = NewSavingsTransaction == 0;
    CheckForSavingsChange(frm);
}

namespace {
QString debtsPath(class frmBank* frm, App::Access access) {
    return App::dataFile(frm->account() + QStringLiteral("Debts.qem"), access);
}

// The amount in a debt's first 8 characters: two decimals after a point or
// a comma (the file may come from other number settings), else whatever the
// computer's settings read there; 0 when it is no number.
Ledger::Money debtAmount(const QString& item) {
    static const QRegularExpression fixed(QStringLiteral("^\\s*(\\d+)[.,](\\d\\d)\\s*$"));
    const QString head = item.left(8);
    if (const QRegularExpressionMatch m = fixed.match(head); m.hasMatch())
        return m.captured(1).toLongLong() * Ledger::kUnit + m.captured(2).toLongLong() * (Ledger::kUnit / 100);
    return BankText::amountOf(head).value_or(0);
}
} // namespace

bool clsBank::DebtsFileExists(class frmBank* frm) { return QFileInfo::exists(debtsPath(frm, App::Access::Read)); }

void clsBank::LoadDebts(class frmBank* frm) {
    frm->lstDebts->clear();
    const QString name = frm->account() + QStringLiteral("Debts.qem");
    QString error;
    bool damaged = false;
    const QuotedLines::Kept before = DebtsKept;
    std::optional<QuotedLines::Contents> file =
        QuotedLines::readKept(debtsPath(frm, App::Access::Read), &error, &damaged, nullptr, &DebtsKept);
    if (!file) {
        // A file that cannot be read is named; the account book opens all
        // the same. Told once, not again when a failed save reads it back.
        if (damaged) ShowDamagedFile(name);
        else if (!error.isEmpty() && !(before.unread && before.unread->description == error))
            MsgBox(error, vbExclamation);
        return;
    }
    const qsizetype unreadable = file->setAside.size();
    // An empty line holds no debt: it is not listed and stays where it stood.
    file->setAsideIf([](const QString& item) { return item.isEmpty(); });
    // Told once a reading, not again when a failed save reads the file back.
    if (unreadable > 0 && file->setAside != before.setAside) ShowSetAside(name, unreadable);
    DebtsKept.setAside = file->setAside;
    frm->lstDebts->addItems(file->values);
}

void clsBank::DebtRemoved(int row) {
    for (QuotedLines::SetAside& line : DebtsKept.setAside)
        if (line.before > row) --line.before;
}

void clsBank::SaveDebts(class frmBank* frm) {
    QStringList items;
    for (int i = 0; i < frm->lstDebts->count(); ++i)
        if (!frm->lstDebts->item(i)->text().isEmpty()) items << frm->lstDebts->item(i)->text();
    QString error;
    int number = 0;
    if (!QuotedLines::write(debtsPath(frm, App::Access::Write), items, &error, &number, DebtsKept))
        throw RuntimeError(number, error);
}

void clsBank::TotalDebts(class frmBank* frm) {
    SaveDebts(frm);
    ShowDebtsTotal(frm);
}

void clsBank::ShowDebtsTotal(class frmBank* frm) {
    Money total = 0;
    for (int i = 0; i < frm->lstDebts->count(); ++i) total += debtAmount(frm->lstDebts->item(i)->text());
    LastDebtsBalance = total;
    frm->Activation();
}
