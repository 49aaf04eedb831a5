#include "Modules/modBank.h"

#include "Classes/clsBank.h"
#include "Forms/Bank/frmBank.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"
#include "Platform/Runtime.h"
#include "Platform/SaveError.h"

#include <QComboBox>
#include <QRadioButton>
#include <QSet>
#include <algorithm>

std::unique_ptr<clsBank> objBank;
double dblPrevBalance = 0;
qint64 vEntryCount = 0;
qint64 vCheckedCount = 0;
qint64 vSelEntry = 0;
qint64 vSelSavEntry = 0;
qint64 vPrevEntry = 0;
qint64 intNextEntry = 0;
bool bNewTransaction = false;
bool bZeroAmount = false;
bool bEditEntry = false;
bool bDateForTransfer = false;
bool bExists = false;
bool bLoggedIn = false;
bool bDateOld = false;
Ledger::Place ChkCorrectFrom;
Ledger::Place SavCorrectFrom;

Ado::Connection& cnBank() {
    // Made on first use (the database layer needs the application) and kept
    // for the whole run, so a repeated log-in reuses the one named connection.
    static auto* connection = new Ado::Connection(QStringLiteral("Bank"));
    return *connection;
}

QString BankFile() {
    std::optional<RuntimeError> failed;
    const QString file = App::dataFile(QStringLiteral("Bank.mdb"), App::Access::Write, &failed);
    if (failed) throw *failed;
    return file;
}

QStringList BudgetCategories() {
    if (isGerman())
        return {QStringLiteral("Ersparnisse"),  QStringLiteral("Soll/Darlehen"), QStringLiteral("Hausrat/Betrieb"),
                QStringLiteral("Lebensmittel"), QStringLiteral("Auto"),          QStringLiteral("Kleidung"),
                QStringLiteral("Freizeit"),     QStringLiteral("Arzt"),          QStringLiteral("Versicherung"),
                QStringLiteral("Sonstiges")};
    return {QStringLiteral("Savings"),    QStringLiteral("Debts"),   QStringLiteral("Housing/Utilities"),
            QStringLiteral("Groceries"),  QStringLiteral("Auto"),    QStringLiteral("Clothing"),
            QStringLiteral("Recreation"), QStringLiteral("Medical"), QStringLiteral("Insurance"),
            QStringLiteral("Other")};
}

QString EntriesCaption(bool reconciled) {
    QString text = QString::number(vEntryCount) + L(QStringLiteral(" Entries"), QString::fromUtf8(" Einträge"));
    if (reconciled)
        text += QStringLiteral("\r\n") + QString::number(vCheckedCount) +
                L(QStringLiteral(" are reconciled"), QString::fromUtf8(" sind geprüft"));
    return text;
}

namespace BankText {

QDate dateOf(const QString& text) { return Runtime::dateBySettings(text); }

std::optional<Ledger::Money> amountOf(const QString& text) {
    if (!Runtime::IsNumeric(text)) return std::nullopt;
    // The text's own digits rounded to the cent ("0.00" of a text is exact,
    // however many digits it has); a double would round
    // 99,999,999,999,999.99 to 100,000,000,000,000.
    const QString cents = Runtime::Format(text, QStringLiteral("0.00")).remove(Runtime::decimalSeparator());
    const bool negative = cents.startsWith(u'-');
    constexpr qint64 kLargest = 100'000'000'000'000 * 100;
    qint64 value = 0;
    for (qsizetype i = negative ? 1 : 0; i < cents.size(); ++i) {
        if (!cents[i].isDigit()) return std::nullopt;
        value = value * 10 + cents[i].digitValue();
        if (value > kLargest) return std::nullopt;
    }
    return (negative ? -value : value) * (Ledger::kUnit / 100);
}

QString gridDateFormat() {
    const QString today = DateToday(QStringLiteral("Medium"));
    if (today.size() > 2 && today[2] == u'.') return QStringLiteral("dd.mm.yy");
    // The computer's date separator: the first one of its short date form.
    QString separator = QStringLiteral("/");
    for (const QChar c : Runtime::locale().dateFormat(QLocale::ShortFormat)) {
        if (c == u'/' || c == u'.' || c == u'-') {
            separator = c;
            break;
        }
    }
    return QStringLiteral("mm") + separator + QStringLiteral("dd") + separator + QStringLiteral("yy");
}

namespace {
void twoDigits(QString& out, int n) {
    out += QChar(u'0' + n / 10 % 10);
    out += QChar(u'0' + n % 10);
}
} // namespace

QString gridDate(const QDate& d, const QString& form) {
    // Written by hand: the registers show thousands of dates at a time.
    QString out;
    out.reserve(8);
    const bool dayFirst = form.startsWith(u'd');
    twoDigits(out, dayFirst ? d.day() : d.month());
    out += form[2];
    twoDigits(out, dayFirst ? d.month() : d.day());
    out += form[5];
    twoDigits(out, d.year() % 100);
    return out;
}

QString money(Ledger::Money m, QChar decimalSeparator, int wholeDigits) {
    // Computed on the magnitude: -m of the lowest Money would overflow.
    const quint64 magnitude = m < 0 ? quint64(0) - quint64(m) : quint64(m);
    const quint64 cents = (magnitude + 50) / 100;
    QString out;
    if (m < 0 && cents != 0) out += u'-';
    const quint64 whole = cents / 100;
    if (whole < 10 && wholeDigits > 1) out += u'0';
    out += QString::number(whole);
    out += decimalSeparator;
    twoDigits(out, int(cents % 100));
    return out;
}

} // namespace BankText

namespace {

// The year and month chosen in the filters; the last item of each ("All")
// means any.
Ledger::Period chosenPeriod(class frmBank* frm) {
    Ledger::Period p;
    if (frm->cboYear->currentIndex() != frm->cboYear->count() - 1) p.year = frm->cboYear->currentText().toInt();
    if (frm->cboMonth->currentIndex() != frm->cboMonth->count() - 1) p.month = frm->cboMonth->currentText().toInt();
    return p;
}

QString currencySign(class frmBank* frm) {
    return frm->optDollar->isChecked() ? QStringLiteral("$ ") : QString::fromUtf8("€ ");
}

// The rows the filters choose; the grid emptied to its heading, the editor
// hidden, the counts reset.
QList<Ledger::Entry> startFill(class frmBank* frm, FlexGrid* grid, Ledger::Register r) {
    if (bNewTransaction) objBank->AddYear(frm);
    QList<Ledger::Entry> rows = Ledger::entries(cnBank(), r, frm->account(), chosenPeriod(frm));
    frm->fraDrag->setVisible(false);
    grid->setRows(1);
    vEntryCount = 0;
    vCheckedCount = 0;
    return rows;
}

// The last row made current and the strip moved over its column.
void endFill(class frmBank* frm, FlexGrid* grid) {
    grid->setRow(int(vEntryCount));
    frm->fraDrag->move(grid->x() + Form::px(grid->CellLeft()), frm->fraDrag->y());
}

// A fill that failed shows no rows rather than the rows of another choice,
// or a part of them, and no counts of them.
void failedFill(class frmBank* frm, FlexGrid* grid, bool reconciled) {
    grid->setRows(1);
    frm->fraDrag->setVisible(false);
    vEntryCount = 0;
    vCheckedCount = 0;
    frm->lblEntries->setCaption(EntriesCaption(reconciled));
}

} // namespace

void FillCheckingsGrid(class frmBank* frm) {
    FlexGrid* grid = frm->flxGrid;
    try {
        const QList<Ledger::Entry> rows = startFill(frm, grid, Ledger::Register::Checkings);
        frm->cboPayee->clear();
        const QString sign = currencySign(frm);
        const QString dateForm = BankText::gridDateFormat();
        const QChar separator = Runtime::decimalSeparator();
        grid->setRows(int(rows.size()) + 1);
        std::optional<FlexGrid::Filling> filling(grid);
        const auto put = [&filling](int row, int col, const QString& text) { filling->set(row, col, text); };
        // The payees of the rows shown, each once whatever its case (the
        // first one seen), sorted as the list shows them.
        QSet<QString> seen, seenExactly;
        QStringList payees;
        for (const Ledger::Entry& e : rows) {
            const int row = int(++vEntryCount);
            if (e.checked) ++vCheckedCount;
            put(row, 0, e.number ? QString::number(*e.number) : QString());
            put(row, 1, BankText::gridDate(e.date, dateForm));
            put(row, 2, e.payee);
            put(row, 3, e.description);
            put(row, 4, sign + BankText::money(e.amount, separator));
            put(row, 5, sign + BankText::money(e.balance, separator));
            put(row, 6, e.checked ? QStringLiteral("X") : QString());
            put(row, 7, QString::number(e.entry));
            put(row, 8, e.link ? QString::number(*e.link) : QString());
            put(row, 9, QString::number(row));
            // Most rows repeat a payee exactly; only a new spelling is
            // compared ignoring case.
            if (!e.payee.isEmpty() && !seenExactly.contains(e.payee)) {
                seenExactly.insert(e.payee);
                const QString key = e.payee.toLower();
                if (!seen.contains(key)) {
                    seen.insert(key);
                    payees << e.payee;
                }
            }
        }
        filling.reset();
        std::sort(payees.begin(), payees.end(),
                  [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        frm->cboPayee->addItems(payees);
        // The box keeps the last row's payee as its text.
        frm->cboPayee->setEditText(rows.isEmpty() ? QString() : rows.last().payee);
        endFill(frm, grid);
        frm->lblEntries->setCaption(EntriesCaption(true));
    } catch (const RuntimeError& e) {
        failedFill(frm, grid, true);
        ShowProblem(QStringLiteral("Display Checkings"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        const RuntimeError e = Err::outOfMemory();
        failedFill(frm, grid, true);
        ShowProblem(QStringLiteral("Display Checkings"), e.number, e.description);
    }
}

void FillSavingsGrid(class frmBank* frm) {
    FlexGrid* grid = frm->flxgrid2;
    try {
        const QList<Ledger::Entry> rows = startFill(frm, grid, Ledger::Register::Savings);
        const QString sign = currencySign(frm);
        const QString dateForm = BankText::gridDateFormat();
        const QChar separator = Runtime::decimalSeparator();
        grid->setRows(int(rows.size()) + 1);
        std::optional<FlexGrid::Filling> filling(grid);
        const auto put = [&filling](int row, int col, const QString& text) { filling->set(row, col, text); };
        for (const Ledger::Entry& e : rows) {
            const int row = int(++vEntryCount);
            put(row, 0, sign + BankText::money(e.balance, separator));
            put(row, 1, sign + BankText::money(e.amount, separator));
            put(row, 2, BankText::gridDate(e.date, dateForm));
            put(row, 3, QString::number(e.entry));
            put(row, 4, e.link ? QString::number(*e.link) : QString());
        }
        filling.reset();
        endFill(frm, grid);
        frm->lblEntries->setCaption(EntriesCaption(false));
    } catch (const RuntimeError& e) {
        failedFill(frm, grid, false);
        ShowProblem(QStringLiteral("Display Savings"), e.number, e.description);
    } catch (const std::bad_alloc&) {
        const RuntimeError e = Err::outOfMemory();
        failedFill(frm, grid, false);
        ShowProblem(QStringLiteral("Display Savings"), e.number, e.description);
    }
}

namespace {
// The hourglass for as long as a correction runs, also when it fails.
struct BusyPointer {
    class frmBank* frm;
    explicit BusyPointer(class frmBank* f) : frm(f) { frm->setMousePointer(vbHourglass); }
    ~BusyPointer() { frm->setMousePointer(vbDefault); }
};
} // namespace

void RecalcCheckingsBalances(class frmBank* frm) {
    BusyPointer busy(frm);
    Ledger::correct(cnBank(), Ledger::Register::Checkings, frm->account(), ChkCorrectFrom);
    objBank->LastCheckingsBalance = Ledger::lastBalance(cnBank(), Ledger::Register::Checkings, frm->account());
    objBank->WrongBalance = 0;
    bDateOld = false;
}

void RecalcSavingsBalances(class frmBank* frm) {
    BusyPointer busy(frm);
    Ledger::correct(cnBank(), Ledger::Register::Savings, frm->account(), SavCorrectFrom);
    objBank->LastSavingsBalance = Ledger::lastBalance(cnBank(), Ledger::Register::Savings, frm->account());
    objBank->WrongBalance = 0;
    bDateOld = false;
}
