// The home bank: its store (the database opened, created or refused; rows
// added at every place of a register; the running balances corrected;
// 64-bit entry numbers; texts stored as typed), and its window (opened
// from the menu, log-in and account creation, the registers with their
// filters, formats and lists, a new entry saved, the entry checks), under
// both languages, "." and "," number settings and both date regions; and
// a writer killed at random moments leaves a sound database.
#include "Classes/clsBank.h"
#include "Forms/Bank/Ledger.h"
#include "Forms/Bank/frmBank.h"
#include "Forms/Calculator/frmCalc.h"
#include "Forms/Calendar/frmClndr.h"
#include "Forms/Main/frmChoice.h"
#include "Modules/modBank.h"
#include "Modules/modLanguage.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "Platform/Runtime.h"
#include "Platform/Storage.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QScrollBar>
#include <QThread>
#include <QWheelEvent>

using namespace TestSupport;
using Ledger::Money;
using Ledger::Register;

namespace {
const QLocale kUS(QLocale::English, QLocale::UnitedStates);
const QLocale kDE(QLocale::German, QLocale::Germany);
const QString kEurope = QStringLiteral("W. Europe Standard Time");
const QString kAmerica = QStringLiteral("Pacific Standard Time");
const QString kSqlText = QStringLiteral("'; DROP TABLE ID; -- 100% \"quoted\";");

Money money(double v) { return Ledger::toMoney(v); }
QString bankFile() { return App::dataFile(QStringLiteral("Bank.mdb"), App::Access::Write); }

// A connection of the test's own on the program folder's "Bank.mdb".
struct Store {
    Ado::Connection c{QStringLiteral("bank-test")};
    Store() { Ledger::open(c, bankFile()); }
    ~Store() { c.Close(); }
};

// One booking as the window makes it: the row, then the correction from
// its place, in one transaction.
qint64 book(Ado::Connection& c, Register r, const QString& account, const QDate& date, double amount,
            const QString& payee = QStringLiteral("Shop")) {
    Ado::Transaction t(c);
    Ledger::Entry e;
    e.date = date;
    e.amount = money(amount);
    e.payee = payee;
    const qint64 key = Ledger::addEntry(c, r, account, e);
    Ledger::correct(c, r, account, {date, key});
    t.commit();
    return key;
}

// The bytes of a SQLite database made by one statement.
QByteArray databaseBytes(const QString& statement) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("other.mdb"));
    {
        Ado::Connection c(QStringLiteral("other"));
        c.Open(file);
        c.Execute(statement);
        c.Close();
    }
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The bytes of a book of 2,000 entries whose 40 bytes at the start of a
// page in its middle are flipped.
QByteArray damagedBook() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Bank.mdb"));
    {
        Ado::Connection c(QStringLiteral("other"));
        Ledger::open(c, file);
        Ledger::addAccount(c, "5", "Doe", "Jane");
        Ado::Transaction t(c);
        for (int i = 0; i < 2000; ++i) {
            Ledger::Entry e;
            e.date = QDate(2025, 1, 1).addDays(i / 10);
            e.amount = Ledger::toMoney(1);
            e.payee = QStringLiteral("Payee %1").arg(i);
            Ledger::addEntry(c, Register::Checkings, "5", e);
        }
        t.commit();
        c.Close();
    }
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = f.readAll();
    const qsizetype at = bytes.size() / 2 / 4096 * 4096;
    for (qsizetype i = at; i < at + 40; ++i) bytes[i] = char(~bytes[i]);
    return bytes;
}

QList<Money> balances(Ado::Connection& c, Register r, const QString& account) {
    QList<Money> out;
    for (const Ledger::Entry& e : Ledger::entries(c, r, account)) out << e.balance;
    return out;
}

QList<Money> moneyList(std::initializer_list<double> values) {
    QList<Money> out;
    for (double v : values) out << money(v);
    return out;
}

// The language the menu reads from "QEM.ini" at its start.
void useLanguage(const QString& language) {
    writeFile(QStringLiteral("QEM.ini"), "[Values]\r\nLanguage=" + language.toLatin1() + "\r\n");
}

// The window opened from the menu's bank button.
class frmBank* openBank() {
    frmChoice()->cmdBank->click();
    class frmBank* f = frmBank();
    f->activateNow();
    return f;
}

// The user's steps at the log-in panel. The account text is put into the
// field whole, as a paste leaves it.
void enter(class frmBank* f, const QString& account, QRadioButton* option, const QString& last = QString(),
           const QString& first = QString()) {
    if (option) option->click();
    f->txtPwd->setTextValue(account);
    f->txtLastName->setTextValue(last);
    f->txtFirstName->setTextValue(first);
    f->cmdOK->click();
}

class frmBank* loggedIn(const QString& account = QStringLiteral("4711")) {
    class frmBank* f = openBank();
    enter(f, account, f->optNewUser, QStringLiteral("Doe"), QStringLiteral("Jane"));
    return f;
}

// Jane Doe's account 4711, stored before, and the log-in to it.
class frmBank* loggedInAgain() {
    {
        Store s;
        Ledger::addAccount(s.c, "4711", "Doe", "Jane");
    }
    class frmBank* f = openBank();
    enter(f, QStringLiteral("4711"), f->optUser);
    return f;
}

// The editor's fields typed and "Add" pressed.
void addEntry(class frmBank* f, const QString& date, const QString& amount,
              const QString& payee = QStringLiteral("Shop"), const QString& number = QString(),
              const QString& description = QString()) {
    f->txtDat[0]->setTextValue(number);
    f->txtDat[1]->setTextValue(date);
    f->cboPayee->setEditText(payee);
    f->txtDat[2]->setTextValue(description);
    f->txtDat[3]->setTextValue(amount);
    f->lblAdd[0]->click();
}

// Number, date, payee, amount and category, as the editor shows them.
QStringList editorFields(class frmBank* f) {
    return {f->txtDat[0]->Text(), f->txtDat[1]->Text(), f->cboPayee->currentText(), f->txtDat[3]->Text(),
            f->cboCat->currentText()};
}

QStringList column(FlexGrid* g, int col) {
    QStringList out;
    for (int row = 1; row < g->Rows(); ++row) out << g->TextMatrix(row, col);
    return out;
}

QStringList shownTexts() {
    QStringList out;
    for (const MsgBoxSeam::Shown& s : MsgBoxSeam::shown()) out << s.text;
    return out;
}

// A click on a register row opens the editor over it.
void pick(class frmBank* f, int row) {
    FlexGrid* g = f->checkingsShown() ? f->flxGrid : f->flxgrid2;
    g->clickCell(row, 2);
}

// Where a row's payee cell (the date cell in savings) shows, in the
// viewport's coordinates; the current row is left as it was.
QPoint cellPoint(FlexGrid* g, int row) {
    const int current = g->Row();
    g->setRow(row);
    g->setCol(2);
    const QPoint p(Form::px(g->CellLeft()) + 4, Form::px(g->CellTop()) + Form::px(g->CellHeight()) / 2);
    g->setRow(current);
    return p - g->viewport()->pos();
}

// The transfer panel filled and "OK" pressed.
void transfer(class frmBank* f, int direction, const QString& date, const QString& amount, bool doubleClick = false) {
    f->cboFromTo->setCurrentIndex(direction);
    f->txtDat[5]->setTextValue(date);
    f->txtDat[6]->setTextValue(amount);
    if (!doubleClick) return f->cmdTransfer->click();
    QTest::mouseClick(f->cmdTransfer, Qt::LeftButton);
    QTest::mouseDClick(f->cmdTransfer, Qt::LeftButton);
    QTest::mouseRelease(f->cmdTransfer, Qt::LeftButton);
}

QStringList debtItems(class frmBank* f) {
    QStringList out;
    for (int i = 0; i < f->lstDebts->count(); ++i) out << f->lstDebts->item(i)->text();
    return out;
}

// The debts file's lines without their quotes.
QStringList debtsFileLines(const QString& account) {
    QStringList out;
    for (const QByteArray& line : readFile(account + "Debts.qem").split('\n'))
        if (line.size() >= 3) out << QString::fromLatin1(line.trimmed().mid(1, line.trimmed().size() - 2));
    return out;
}

QColor colorOf(const Label* l) { return l->palette().color(QPalette::WindowText); }

void checkPairs(Ado::Connection& c, const QString& account) {
    for (const Ledger::Entry& e : Ledger::entries(c, Register::Checkings, account)) {
        if (!e.link) continue;
        const std::optional<Ledger::Entry> other = Ledger::entry(c, Register::Savings, *e.link);
        QVERIFY(other);
        QCOMPARE(other->link, std::optional<qint64>(e.entry));
        QCOMPARE(other->amount, -e.amount);
        QCOMPARE(other->date, e.date);
    }
    for (const Ledger::Entry& e : Ledger::entries(c, Register::Savings, account))
        if (e.link) {
            const std::optional<Ledger::Entry> other = Ledger::entry(c, Register::Checkings, *e.link);
            QVERIFY(other);
            QCOMPARE(other->link, std::optional<qint64>(e.entry));
        }
    for (const Register r : {Register::Checkings, Register::Savings}) QVERIFY(Ledger::balancesHold(c, r, account));
}
} // namespace

class TestBank : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() {
        tearDown();
        CurrentLanguage = QStringLiteral("English");
    }

    // --- The store ---------------------------------------------------------

    void missingDatabaseIsCreated() {
        QVERIFY(!QFile::exists(bankFile()));
        Store s;
        for (const char* table : {"ID", "Checkings", "Savings"}) QVERIFY(s.c.hasTable(QString::fromLatin1(table)));
        QCOMPARE(Ledger::accounts(s.c), QStringList());
    }

    void foreignFileIsRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("says");
        QTest::newRow("not a database") << QByteArray("Just some text, no database at all.\r\n")
                                        << "3343: \"Bank.mdb\" is not a database of this program";
        QTest::newRow("a database of an older format")
            << QByteArray("\0\x01\0\0Standard Jet DB\0", 20) + QByteArray(2028, '\x55')
            << "3343: \"Bank.mdb\" is not a database of this program";
        QTest::newRow("database of other tables")
            << databaseBytes(QStringLiteral("CREATE TABLE Other (x INTEGER)")) << "3078: The database holds no table 'ID'";
        QTest::newRow("a book with 40 bytes flipped") << damagedBook() << "11: database disk image is malformed";
    }
    void foreignFileIsRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        writeFile(QStringLiteral("Bank.mdb"), bytes);
        class frmBank* f = openBank();
        enter(f, QStringLiteral("12"), f->optNewUser, QStringLiteral("Doe"), QStringLiteral("Jane"));
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(MsgBoxSeam::last().text, "Problem: OpenBankConnection\n" + says);
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        QCOMPARE(readFile(QStringLiteral("Bank.mdb")), bytes);
        QVERIFY(f->fraUser->isVisible());
        QVERIFY(!bLoggedIn);
        QCOMPARE(cnBank().State(), int(Ado::adStateClosed));
    }

    // A creation killed before its tables were written leaves an empty file.
    void emptyDatabaseIsTakenUp_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("0 bytes") << QByteArray();
        QTest::newRow("a database without any table") << databaseBytes(QStringLiteral("PRAGMA user_version = 1"));
    }
    void emptyDatabaseIsTakenUp() {
        QFETCH(QByteArray, bytes);
        writeFile(QStringLiteral("Bank.mdb"), bytes);
        class frmBank* f = loggedIn(QStringLiteral("12"));
        QCOMPARE(shownTexts(), QStringList());
        QVERIFY(bLoggedIn);
        QVERIFY(!f->fraUser->isVisible());
        Store s;
        QCOMPARE(Ledger::accounts(s.c), QStringList{"12"});
    }

    // The book lies beside a program whose folder cannot be written, and the
    // data folder is on a full disk: the copy there fails, is told, leaves
    // nothing behind and opens nothing; once the disk has room, the log-in
    // opens the book.
    void failedCopyOpensNothing() {
        {
            Store s;
            Ledger::addAccount(s.c, "4711", "Doe", "Jane");
        }
        const QByteArray book = readFile(QStringLiteral("Bank.mdb"));
        App::setProgramFolderWritable(false);
        Storage::failWritesAfter(4096);
        class frmBank* f = openBank();
        enter(f, QStringLiteral("4711"), f->optUser);
        QCOMPARE(shownTexts(), QStringList{"Problem: OpenBankConnection\n61: Disk full (\"" +
                                           QDir::toNativeSeparators(App::file("Bank.mdb")) + "\" could not be copied)"});
        QVERIFY(f->fraUser->isVisible());
        QVERIFY(!bLoggedIn);
        // Only the lock of the running copy and the mark that the data lives there.
        QCOMPARE(QDir(App::dataFolder())
                     .entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot),
                 (QStringList{QFileInfo(App::dataFolderMark()).fileName(), QFileInfo(App::instanceLockFile()).fileName()}));
        Storage::failWritesAfter(std::nullopt);
        enter(f, QStringLiteral("4711"), f->optUser);
        QVERIFY(bLoggedIn);
        QCOMPARE(readFile(QStringLiteral("Bank.mdb")), book);
    }

    // A disk that fails for a moment while a booking is written (SQLite then
    // ends its transaction): the booking stops with one message, and both
    // registers, their balances and the transfer pair stay as they were.
    void failedWriteBooksNothing_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("when");
        QTest::addColumn<QString>("message");
        QTest::newRow("Add, back-dated") << "add" << "Before Insert On Checkings"
                                         << "Problem: Checkings Transaction\n778: disk I/O error";
        QTest::newRow("Upd of a transfer half, the other half's write")
            << "upd" << "Before Update On Savings" << "Problem: Deleting/Updating\n778: disk I/O error";
        QTest::newRow("Del of a transfer half, the other half's write")
            << "del" << "Before Delete On Savings" << "Problem: Deleting/Updating\n778: disk I/O error";
        QTest::newRow("transfer, the second half's write")
            << "transfer" << "Before Insert On Savings" << "Problem: Transfer\n778: disk I/O error";
        QTest::newRow("Add, the book held locked by another program")
            << "add" << "held" << "Problem: Checkings Transaction\n5: database is locked";
    }
    void failedWriteBooksNothing() {
        QFETCH(QString, change);
        QFETCH(QString, when);
        QFETCH(QString, message);
        class frmBank* f = loggedIn();
        addEntry(f, "10 Jan 2026", "100");
        transfer(f, 0, "10 Feb 2026", "30");
        const auto books = [] {
            Store s;
            QStringList rows;
            for (const Register r : {Register::Checkings, Register::Savings})
                for (const Ledger::Entry& e : Ledger::entries(s.c, r, "4711"))
                    rows << QString("%1 %2 %3 %4").arg(e.date.toString(Qt::ISODate)).arg(e.amount).arg(e.balance).arg(e.link.value_or(0));
            return rows;
        };
        const QStringList before = books();
        QCOMPARE(before.size(), 3);
        std::unique_ptr<Store> other;
        if (when == "held") {
            other = std::make_unique<Store>();
            other->c.Execute("BEGIN IMMEDIATE");
        } else {
            failDatabaseWriteWhen(cnBank(), when);
        }
        MsgBoxSeam::clear();
        if (change == "add") {
            f->cboCat->setCurrentIndex(3);
            addEntry(f, "1 Jan 2026", "-5", "Grocer", "17");
        } else if (change == "transfer") {
            transfer(f, 0, "1 Jan 2026", "20");
        } else {
            pick(f, 2);
            QVERIFY(f->lblTransfer->isVisible());
            if (change == "upd") {
                f->txtDat[3]->setTextValue(QStringLiteral("-40"));
                f->lblDel[0]->click();
            } else {
                MsgBoxSeam::queueAnswer(vbYes);
                f->lblDel[1]->click();
            }
        }
        QCOMPARE(problemsShown(), QStringList{message});
        // Every typed field is kept for another try.
        if (change == "add")
            QCOMPARE(editorFields(f), QStringList({"17", "1 Jan 2026", "Grocer", "-5.00", "Groceries"}));
        other.reset();
        QCOMPARE(books(), before);
        QCOMPARE(column(f->flxGrid, 5), QStringList({"$ 100.00", "$ 70.00"}));
        Store s;
        checkPairs(s.c, "4711");
    }

    // The totals and the entry count change away from the focus: a change
    // that moves them tells them once, as shown; one that is refused or
    // moves nothing tells nothing.
    void totalsToldToReaders_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("Add") << "add" << QStringList{"Checkings $95.00, Savings $0.00, 2 Entries, 0 are reconciled"};
        QTest::newRow("Upd") << "upd" << QStringList{"Checkings $40.00, Savings $0.00, 1 Entries, 0 are reconciled"};
        QTest::newRow("Upd of the description alone") << "describe" << QStringList{};
        QTest::newRow("Del") << "del" << QStringList{"Checkings $0.00, Savings $0.00, 0 Entries, 0 are reconciled"};
        QTest::newRow("transfer")
            << "transfer" << QStringList{"Checkings $70.00, Savings $30.00, 2 Entries, 0 are reconciled"};
        QTest::newRow("Add refused") << "refused" << QStringList{};
    }
    void totalsToldToReaders() {
        QFETCH(QString, change);
        class frmBank* f = loggedIn();
        addEntry(f, "10 Jan 2026", "100");
        ReaderListening reader;
        if (change == "add" || change == "refused") {
            if (change == "refused") failDatabaseWriteWhen(cnBank(), "Before Insert On Checkings");
            addEntry(f, "12 Jan 2026", "-5");
        } else if (change == "transfer") {
            transfer(f, 0, "10 Feb 2026", "30");
        } else {
            pick(f, 1);
            if (change == "del") MsgBoxSeam::queueAnswer(vbYes);
            if (change == "upd") f->txtDat[3]->setTextValue(QStringLiteral("40"));
            if (change == "describe") f->txtDat[2]->setTextValue(QStringLiteral("Rent"));
            f->lblDel[change == "del" ? 1 : 0]->click();
        }
        QTEST(reader.notices(), "told");
    }

    // Balances of a register holding +100 on 10 Jan, -30 on 10 Feb and +50
    // on 10 Mar after one more row is booked.
    void rowAtEveryPlace_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<double>("amount");
        QTest::addColumn<QList<Money>>("expected");
        QTest::newRow("after all") << QDate(2026, 4, 1) << 20.0 << moneyList({100, 70, 120, 140});
        QTest::newRow("before all") << QDate(2026, 1, 1) << 20.0 << moneyList({20, 120, 90, 140});
        QTest::newRow("between two") << QDate(2026, 2, 1) << -0.5 << moneyList({100, 99.5, 69.5, 119.5});
        QTest::newRow("same day as the last") << QDate(2026, 3, 10) << 20.0 << moneyList({100, 70, 120, 140});
        QTest::newRow("same day as the first") << QDate(2026, 1, 10) << 0.01 << moneyList({100, 100.01, 70.01, 120.01});
    }
    void rowAtEveryPlace() {
        QFETCH(QDate, date);
        QFETCH(double, amount);
        QFETCH(QList<Money>, expected);
        Store s;
        for (const Register r : {Register::Checkings, Register::Savings}) {
            book(s.c, r, "1", QDate(2026, 1, 10), 100);
            book(s.c, r, "1", QDate(2026, 2, 10), -30);
            book(s.c, r, "1", QDate(2026, 3, 10), 50);
            // Another account's rows are never touched.
            book(s.c, r, "2", QDate(2026, 2, 20), 7);
            book(s.c, r, "1", date, amount);
            QCOMPARE(balances(s.c, r, "1"), expected);
            QCOMPARE(balances(s.c, r, "2"), moneyList({7}));
            QCOMPARE(Ledger::lastBalance(s.c, r, "1"), expected.last());
        }
    }

    // Changes that move, change or remove a row, corrected from the
    // earliest place they touched.
    void correctionAfterChanges_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QList<Money>>("expected");
        QTest::newRow("date moved earlier") << "move to 5 Jan" << moneyList({-30, 70, 120});
        QTest::newRow("date moved later") << "move first to 1 Apr" << moneyList({-30, 20, 120});
        QTest::newRow("amount changed") << "amount -80" << moneyList({100, 20, 70});
        QTest::newRow("removed in the middle") << "remove" << moneyList({100, 150});
        QTest::newRow("stored balances damaged") << "damage" << moneyList({100, 70, 120});
    }
    void correctionAfterChanges() {
        QFETCH(QString, change);
        QFETCH(QList<Money>, expected);
        Store s;
        const qint64 first = book(s.c, Register::Checkings, "1", QDate(2026, 1, 10), 100);
        const qint64 middle = book(s.c, Register::Checkings, "1", QDate(2026, 2, 10), -30);
        book(s.c, Register::Checkings, "1", QDate(2026, 3, 10), 50);
        Ado::Transaction t(s.c);
        const Ledger::Place oldFirst = *Ledger::placeOf(s.c, Register::Checkings, first);
        const Ledger::Place oldMiddle = *Ledger::placeOf(s.c, Register::Checkings, middle);
        Ledger::Place from;
        if (change == "move to 5 Jan" || change == "amount -80") {
            Ledger::Entry e = *Ledger::entry(s.c, Register::Checkings, middle);
            if (change == "amount -80")
                e.amount = money(-80);
            else
                e.date = QDate(2026, 1, 5);
            Ledger::updateEntry(s.c, Register::Checkings, e);
            from = std::min(oldMiddle, Ledger::Place{e.date, middle});
        } else if (change == "move first to 1 Apr") {
            Ledger::Entry e = *Ledger::entry(s.c, Register::Checkings, first);
            e.date = QDate(2026, 4, 1);
            Ledger::updateEntry(s.c, Register::Checkings, e);
            from = oldFirst;
        } else if (change == "remove") {
            Ledger::deleteEntry(s.c, Register::Checkings, middle);
            from = oldMiddle;
        } else {
            s.c.Execute(QStringLiteral("UPDATE Checkings SET Chk_Balance = 0"));
            from = oldFirst;
        }
        Ledger::correct(s.c, Register::Checkings, "1", from);
        t.commit();
        QCOMPARE(balances(s.c, Register::Checkings, "1"), expected);
        QVERIFY(Ledger::balancesHold(s.c, Register::Checkings, "1"));
    }

    void correctionRewritesOnlyWrongBalances() {
        Store s;
        book(s.c, Register::Savings, "1", QDate(2026, 1, 10), 100);
        const qint64 key = book(s.c, Register::Savings, "1", QDate(2026, 2, 10), 5);
        book(s.c, Register::Savings, "1", QDate(2026, 3, 10), 5);
        QCOMPARE(Ledger::correct(s.c, Register::Savings, "1", {QDate(2026, 1, 1), 0}), 0);
        s.c.Execute(QStringLiteral("UPDATE Savings SET Sav_Balance = 1 WHERE Sav_Entry = ?"), {key});
        QCOMPARE(Ledger::correct(s.c, Register::Savings, "1", {QDate(2026, 1, 1), 0}), 1);
    }

    void entryNumbersBeyondSixteenBits() {
        Store s;
        s.c.Execute(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES ('Checkings', 40000)"));
        const qint64 late = book(s.c, Register::Checkings, "1", QDate(2026, 3, 1), 10);
        const qint64 early = book(s.c, Register::Checkings, "1", QDate(2026, 1, 1), 5);
        QCOMPARE(late, qint64(40001));
        QCOMPARE(early, qint64(40002));
        QCOMPARE(balances(s.c, Register::Checkings, "1"), moneyList({5, 15}));
        QCOMPARE(Ledger::neighboursOfEntry(s.c, Register::Checkings, "1", early).after->entry, late);
    }

    void amountForm_data() {
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("text");
        QTest::newRow("one digit") << 5.5 << "."
                                   << "05.50";
        QTest::newRow("negative") << -7.5 << "."
                                  << "-07.50";
        QTest::newRow("four digits, comma") << 1234.5 << ","
                                            << "1234,50";
        QTest::newRow("half a cent away from zero") << -0.005 << "."
                                                    << "-00.01";
        QTest::newRow("less than half a cent") << -0.0049 << "."
                                               << "00.00";
    }
    void amountForm() {
        QFETCH(double, amount);
        QFETCH(QString, separator);
        QFETCH(QString, text);
        QCOMPARE(BankText::money(money(amount), separator[0]), text);
    }

    // --- The window: opening and log-in -----------------------------------

    void opensFromMenuAndReturns() {
        class frmBank* f = openBank();
        QVERIFY(f->isVisible());
        QVERIFY(!frmChoice()->isVisible());
        QVERIFY(f->fraUser->isVisible());
        QCOMPARE(f->width(), Form::px(10800));
        f->Unload();
        QVERIFY(frmChoice()->isVisible());
    }

    void logIn_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("account");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("in");
        const QString m1 = "Invalid Account#! Please re-enter your account#!";
        const QString m2 = "Please enter a user name";
        const QString m3 = "Account# cannot start with 0";
        QTest::newRow("empty number") << "English"
                                      << "user"
                                      << ""
                                      << "" << m1 << false;
        QTest::newRow("number with a group separator") << "English"
                                                       << "user"
                                                       << "1,000"
                                                       << "" << m1 << false;
        QTest::newRow("number with an exponent") << "English"
                                                 << "new"
                                                 << "1e5"
                                                 << "Doe" << m1 << false;
        QTest::newRow("number with blanks") << "English"
                                            << "new"
                                            << " 12 "
                                            << "Doe" << m1 << false;
        QTest::newRow("unknown account") << "English"
                                         << "user"
                                         << "99"
                                         << "" << m1 << false;
        QTest::newRow("no option chosen") << "English"
                                          << ""
                                          << "4711"
                                          << "" << m1 << false;
        QTest::newRow("new without a name") << "English"
                                            << "new"
                                            << "12"
                                            << "" << m2 << false;
        QTest::newRow("new beginning with 0") << "English"
                                              << "new"
                                              << "012"
                                              << "Doe" << m3 << false;
        QTest::newRow("new that exists") << "English"
                                         << "new"
                                         << "4711"
                                         << "Doe" << m1 << false;
        QTest::newRow("new account") << "English"
                                     << "new"
                                     << "12345678"
                                     << "Doe"
                                     << "" << true;
        QTest::newRow("existing account") << "English"
                                          << "user"
                                          << "4711"
                                          << ""
                                          << "" << true;
        QTest::newRow("German: unknown account")
            << "German"
            << "user"
            << "99"
            << "" << QString::fromUtf8("Ungültige Konto#! Bitte geben Sie Ihre Konto# erneut ein!") << false;
        QTest::newRow("German: without a name") << "German"
                                                << "new"
                                                << "12"
                                                << ""
                                                << "Bitte geben Sie einen Benutzernamen ein" << false;
        QTest::newRow("German: beginning with 0") << "German"
                                                  << "new"
                                                  << "012"
                                                  << "Doe"
                                                  << "Konto# darf nicht mit einer 0 beginnen" << false;
    }
    void logIn() {
        QFETCH(QString, language);
        QFETCH(QString, option);
        QFETCH(QString, account);
        QFETCH(QString, last);
        QFETCH(QString, message);
        QFETCH(bool, in);
        {
            Store s;
            Ledger::addAccount(s.c, "4711", "Roe", "Richard");
        }
        useLanguage(language);
        class frmBank* f = openBank();
        QRadioButton* choice = option == "user" ? f->optUser : option == "new" ? f->optNewUser : nullptr;
        enter(f, account, choice, last, last.isEmpty() ? QString() : QStringLiteral("Jane"));
        QCOMPARE(shownTexts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty()) QCOMPARE(MsgBoxSeam::last().icon, int(vbExclamation));
        QCOMPARE(bLoggedIn, in);
        QCOMPARE(f->fraUser->isVisible(), !in);
        QCOMPARE(f->fraCheckings->isVisible(), in);
        // A failed attempt leaves no connection open.
        QCOMPARE(cnBank().State(), in ? int(Ado::adStateOpen) : int(Ado::adStateClosed));
        if (message == "Invalid Account#! Please re-enter your account#!") {
            QCOMPARE(f->txtPwd->selectedText(), account);
        }
        Store s;
        QCOMPARE(Ledger::accounts(s.c).size(), account == "12345678" ? 2 : 1);
    }

    // Before a log-in the window is the panel alone: Tab stays in it, and
    // nothing prints.
    void logInPanelAlone() {
        class frmBank* f = openBank();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        f->optUser->setFocus();
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(f->focusWidget(), Qt::Key_Tab);
            QVERIFY2(f->fraUser->isAncestorOf(f->focusWidget()), qPrintable(f->focusWidget()->accessibleName()));
        }
        QVERIFY(!f->cmdCalc->isVisible() && !f->cmdPrint->isVisible());
        f->cmdPrint_Click();
        QCOMPARE(printer().jobsStarted, 0);
        QCOMPARE(shownTexts(), QStringList());
    }

    void enterLogsIn_data() {
        QTest::addColumn<bool>("newUser");
        QTest::newRow("existing user, in the number") << false;
        QTest::newRow("new user, in the first name") << true;
    }

    void enterLogsIn() {
        QFETCH(bool, newUser);
        {
            Store s;
            Ledger::addAccount(s.c, "4711", "Roe", "Richard");
        }
        class frmBank* f = openBank();
        (newUser ? f->optNewUser : f->optUser)->click();
        QTest::keyClicks(f->txtPwd, newUser ? QStringLiteral("12") : QStringLiteral("4711"));
        QWidget* last = f->txtPwd;
        if (newUser) {
            QTest::keyClicks(f->txtLastName, QStringLiteral("Doe"));
            QTest::keyClicks(f->txtFirstName, QStringLiteral("Jane"));
            last = f->txtFirstName;
        }
        QTest::keyClick(last, Qt::Key_Return);
        QVERIFY(bLoggedIn);
        QCOMPARE(f->txtPwd->Text(), newUser ? QStringLiteral("12") : QStringLiteral("4711"));
    }

    void newAccountLogsInWithItsHolderAndDebtsFile() {
        useLanguage(QStringLiteral("German"));
        class frmBank* f = loggedIn(QStringLiteral("4711"));
        QCOMPARE(f->lblInfo->Caption(), QStringLiteral("Konto#: 4711\r\nName: Doe, Jane"));
        QCOMPARE(f->Caption(), QStringLiteral("ZOV Bank"));
        QCOMPARE(f->lblSwitch[1]->Caption(), QStringLiteral("Sparkonto"));
        QCOMPARE(f->cboMonth->currentText(), QStringLiteral("Alle"));
        QCOMPARE(f->cboFromTo->itemText(0), QStringLiteral("Von Girokonto Zu Sparkonto"));
        QCOMPARE(f->cboCat->itemText(2), QStringLiteral("Hausrat/Betrieb"));
        // Fields and label buttons are named for assistive tools in the language shown.
        QCOMPARE(f->txtDat[3]->accessibleName(), QStringLiteral("Betrag"));
        QCOMPARE(f->lblAdd[1]->accessibleName(), QStringLiteral("Neu"));
        QCOMPARE(f->width(), Form::px(13500));
        QVERIFY(QFile::exists(App::dataFile(QStringLiteral("4711Debts.qem"))));
        QCOMPARE(f->lblCheckingsTotal->Caption(), QStringLiteral("$0.00"));
        f->Unload();
        QVERIFY(frmChoice()->isVisible());
        QCOMPARE(cnBank().State(), int(Ado::adStateClosed));
    }

    void textsStoredAsTyped() {
        class frmBank* f = openBank();
        enter(f, QStringLiteral("31"), f->optNewUser, kSqlText, kSqlText);
        addEntry(f, QStringLiteral("1 Mar 2026"), QStringLiteral("-5"), kSqlText, QString(), kSqlText);
        QCOMPARE(f->flxGrid->TextMatrix(1, 2), kSqlText);
        QCOMPARE(f->flxGrid->TextMatrix(1, 3), kSqlText);
        Store s;
        QCOMPARE(Ledger::holder(s.c, "31")->lastName, kSqlText);
        QCOMPARE(Ledger::entries(s.c, Register::Checkings, "31").first().payee, kSqlText);
        QCOMPARE(Ledger::accounts(s.c), QStringList{"31"});
    }

    // --- The registers ----------------------------------------------------

    void gridCells_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("zone");
        QTest::addColumn<bool>("euro");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("dateCell");
        QTest::addColumn<QString>("amountCell");
        QTest::addColumn<QString>("total");
        QTest::newRow("US settings, dollar") << kUS << kAmerica << false << "12/31/2003"
                                             << "12/31/03"
                                             << "$ -05.50"
                                             << "$-5.50";
        QTest::newRow("German settings, euro")
            << kDE << kEurope << true << "31.12.2003"
            << "31.12.03" << QString::fromUtf8("€ -05,50") << QString::fromUtf8("€-5,50");
        QTest::newRow("German settings, US region") << kDE << kAmerica << false << "31.12.2003"
                                                    << "12.31.03"
                                                    << "$ -05,50"
                                                    << "$-5,50";
    }
    void gridCells() {
        QFETCH(QLocale, locale);
        QFETCH(QString, zone);
        QFETCH(bool, euro);
        QFETCH(QString, date);
        QFETCH(QString, dateCell);
        QFETCH(QString, amountCell);
        QFETCH(QString, total);
        setLocale(locale);
        setZone(zone);
        class frmBank* f = loggedIn();
        if (euro) f->optEuro->click();
        addEntry(f, date, locale == kUS ? "-5.5" : "-5,5", "Shop", "7");
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(f->flxGrid->TextMatrix(1, 0), QStringLiteral("7"));
        QCOMPARE(f->flxGrid->TextMatrix(1, 1), dateCell);
        QCOMPARE(f->flxGrid->TextMatrix(1, 4), amountCell);
        QCOMPARE(f->flxGrid->TextMatrix(1, 5), amountCell);
        QCOMPARE(f->flxGrid->TextMatrix(1, 9), QStringLiteral("1"));
        QCOMPARE(f->lblCheckingsTotal->Caption(), total);
        QCOMPARE(f->cboYear->currentText(), QStringLiteral("2003"));
    }

    // A long text in a narrow column shows as one line cut by characters,
    // filling its cell, not just its first word.
    void textCellsAreOneLine() {
        class frmBank* f = loggedIn();
        addEntry(f, "1 Mar 2026", "-5", "Shop", "", "A 2026000123456789 order");
        FlexGrid* g = f->flxGrid;
        const QRect cell = g->cellRect(1, 3);
        const QImage shown = g->viewport()->grab(cell).toImage();
        // Ink in the right half of the cell, short of its border.
        int ink = 0;
        for (int x = shown.width() / 2; x < shown.width() - 3; ++x)
            for (int y = 0; y < shown.height(); ++y) ink += qGray(shown.pixel(x, y)) < 128;
        QVERIFY2(ink > 10, qPrintable(QString::number(ink)));
    }

    void filtersAndViews() {
        {
            Store s;
            Ledger::addAccount(s.c, "5", "Doe", "Jane");
            book(s.c, Register::Checkings, "5", QDate(2024, 3, 2), 10, "Baker");
            book(s.c, Register::Checkings, "5", QDate(2025, 3, 9), 20, "baker");
            book(s.c, Register::Checkings, "5", QDate(2025, 7, 1), 30, "Grocer");
            book(s.c, Register::Savings, "5", QDate(2023, 1, 1), 40);
            book(s.c, Register::Checkings, "6", QDate(2025, 3, 9), 99, "Other account");
        }
        class frmBank* f = openBank();
        enter(f, QStringLiteral("5"), f->optUser);
        // The latest year, all months.
        QCOMPARE(f->cboYear->currentText(), QStringLiteral("2025"));
        QCOMPARE(column(f->flxGrid, 4), QStringList({"$ 20.00", "$ 30.00"}));
        QCOMPARE(column(f->flxGrid, 5), QStringList({"$ 30.00", "$ 60.00"}));
        QCOMPARE(f->lblEntries->Caption(), QStringLiteral("2 Entries\r\n0 are reconciled"));
        QCOMPARE(f->cboPayee->count(), 2);
        f->cboMonth->setCurrentIndex(2);
        QCOMPARE(column(f->flxGrid, 2), QStringList({"baker"}));
        f->cboYear->setCurrentIndex(f->cboYear->count() - 1);
        QCOMPARE(column(f->flxGrid, 2), QStringList({"Baker", "baker"}));
        f->cboMonth->setCurrentIndex(12);
        QCOMPARE(column(f->flxGrid, 9), QStringList({"1", "2", "3"}));
        // Payees that differ only in case appear once.
        QCOMPARE(f->cboPayee->count(), 2);
        f->lblSwitch[1]->click();
        QVERIFY(!f->checkingsShown());
        QCOMPARE(f->fraCheckings->Caption(), QStringLiteral("Bankbook"));
        QCOMPARE(f->cboYear->currentText(), QStringLiteral("2023"));
        QCOMPARE(column(f->flxgrid2, 0), QStringList({"$ 40.00"}));
        QCOMPARE(f->lblEntries->Caption(), QStringLiteral("1 Entries"));
        QVERIFY(!f->lblPayee->isVisible());
        f->lblSwitch[0]->click();
        QVERIFY(f->checkingsShown());
        QCOMPARE(f->cboPayee->currentText(), QString());
        QVERIFY(f->flxGrid->ColWidth(7) <= 1);
    }

    // The currency changed while the savings register is shown.
    void currencyInSavingsView() {
        class frmBank* f = loggedIn();
        f->lblSwitch[1]->click();
        addEntry(f, "1 Mar 2026", "40");
        f->optEuro->click();
        QCOMPARE(column(f->flxgrid2, 0), QStringList{QString::fromUtf8("€ 40.00")});
        QCOMPARE(f->lblEntries->Caption(), QStringLiteral("1 Entries"));
        pick(f, 1);
        QVERIFY(f->fraDrag->isVisible());
        QCOMPARE(f->txtDat[3]->Text(), QStringLiteral("40.00"));
    }

    // Switching to savings from the check number field leaves the
    // calendar closed.
    void switchOpensNoCalendar() {
        class frmBank* f = loggedIn();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        f->txtDat[0]->setFocus();
        QTest::mouseClick(f->lblSwitch[1], Qt::LeftButton);
        QVERIFY(!f->checkingsShown());
        QVERIFY(!isFormLoaded<class frmClndr>());
        QVERIFY(f->flxgrid2->hasFocus());
    }

    // The widest figures a register holds fit their columns, in the
    // grid's font, in both languages.
    void figuresFit_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QStringLiteral("English");
        QTest::newRow("German") << QStringLiteral("German");
    }
    void figuresFit() {
        QFETCH(QString, language);
        useLanguage(language);
        class frmBank* f = loggedIn();
        addEntry(f, "1 Mar 2026", "-9999999.99", "Shop", "999999999");
        f->optEuro->click();
        f->lblSwitch[1]->click();
        addEntry(f, "1 Mar 2026", "-9999999.99");
        const auto fits = [](FlexGrid* g, int col) {
            const int text = QFontMetrics(g->font()).horizontalAdvance(g->TextMatrix(1, col));
            return text + 6 <= Form::px(g->ColWidth(col));
        };
        for (int col : {0, 4, 5}) QVERIFY2(fits(f->flxGrid, col), qPrintable(f->flxGrid->TextMatrix(1, col)));
        for (int col : {0, 1}) QVERIFY2(fits(f->flxgrid2, col), qPrintable(f->flxgrid2->TextMatrix(1, col)));
        QCOMPARE(f->flxGrid->TextMatrix(1, 4), QString::fromUtf8("€ -9999999.99"));
        // The text columns still show their headings.
        for (int col : {2, 3}) QVERIFY(f->flxGrid->ColWidth(col) >= 600);
    }

    void germanLooks() {
        useLanguage(QStringLiteral("German"));
        class frmBank* f = loggedIn();
        f->lblSwitch[1]->click();
        // The selection box stands around "Sparkonto", clear of "Jahr".
        QVERIFY(f->shpSavings->geometry().contains(f->lblSwitch[1]->geometry()));
        QVERIFY(f->shpSavings->geometry().right() < f->lblYear->x());
        // "Über-" and "weisung" both fit.
        const QFontMetrics metrics(f->lblTransfer->font());
        QVERIFY(f->lblTransfer->height() >= 2 * metrics.lineSpacing());
        // The filters are labelled by their captions.
        QCOMPARE(f->lblYear->buddy(), static_cast<QWidget*>(f->cboYear));
        QCOMPARE(f->lblMonth->buddy(), static_cast<QWidget*>(f->cboMonth));
        QCOMPARE(f->cboYear->accessibleName(), QStringLiteral("Jahr"));
    }

    // A page of "Bank.mdb" damaged while the book is open is reported; the
    // register is never shown cut short as if whole.
    void damagedDatabaseIsReported() {
        {
            Store s;
            Ledger::addAccount(s.c, "5", "Doe", "Jane");
            Ado::Transaction t(s.c);
            for (int i = 0; i < 30000; ++i) {
                Ledger::Entry e;
                e.date = QDate(2000, 1, 1).addDays(i / 10);
                e.amount = money(1);
                e.payee = QStringLiteral("Payee %1").arg(i);
                e.description = QStringLiteral("Entry number %1 of the register").arg(i);
                Ledger::addEntry(s.c, Register::Checkings, "5", e);
            }
            t.commit();
        }
        class frmBank* f = openBank();
        enter(f, QStringLiteral("5"), f->optUser);
        QVERIFY(bLoggedIn);
        // While the book is open: 4 KB overwritten in the middle of the file,
        // on a page of its own, and the file's change counter moved on, as
        // another writer's commit does, so that its pages are read afresh.
        QFile file(bankFile());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(file.size() / 2 / 4096 * 4096));
        file.write(QByteArray(4096, '\xa5'));
        QVERIFY(file.seek(24));
        file.write(QByteArray("\x7f\x7f\x7f\x7f", 4));
        file.close();
        try {
            Ledger::entries(cnBank(), Register::Checkings, "5");
            QFAIL("the register was read as if whole");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number, 11);
            QCOMPARE(e.description, QStringLiteral("database disk image is malformed"));
        }
        f->cboYear->setCurrentIndex(f->cboYear->count() - 1);
        f->cboMonth->setCurrentIndex(0);
        MsgBoxSeam::clear();
        f->cboMonth->setCurrentIndex(12);
        QCOMPARE(shownTexts(), QStringList{"Problem: Display Checkings\n11: database disk image is malformed"});
        QCOMPARE(f->flxGrid->Rows(), 1);
    }

    // A register that cannot be read shows no counts of the one shown before.
    void failedFillShowsNoCounts() {
        class frmBank* f = loggedIn();
        f->lblReconcile->setCaption(QStringLiteral("P"));
        addEntry(f, "1 Mar 2026", "-5");
        addEntry(f, "2 Mar 2026", "-6");
        QCOMPARE(f->lblEntries->Caption(), QStringLiteral("2 Entries\r\n1 are reconciled"));
        cnBank().Execute(QStringLiteral("ALTER TABLE Savings RENAME COLUMN Sav_Balance TO Other"));
        f->lblSwitch[1]->click();
        QVERIFY(MsgBoxSeam::last().text.startsWith(QStringLiteral("Problem: Display Savings\n")));
        QCOMPARE(f->lblEntries->Caption(), QStringLiteral("0 Entries"));
        cnBank().Execute(QStringLiteral("ALTER TABLE Checkings RENAME COLUMN Chk_Balance TO Other"));
        f->lblSwitch[0]->click();
        QCOMPARE(f->lblEntries->Caption(), QStringLiteral("0 Entries\r\n0 are reconciled"));
        QCOMPARE(vEntryCount, qint64(0));
    }

    // --- Saving entries ---------------------------------------------------

    void backDatedThroughTheWindow_data() {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QStringList>("balances");
        QTest::newRow("before all") << "1 Jan 2026" << QStringList({"$ 01.00", "$ 101.00", "$ 71.00"});
        QTest::newRow("between two") << "1 Feb 2026" << QStringList({"$ 100.00", "$ 101.00", "$ 71.00"});
        QTest::newRow("same day as the last") << "10 Feb 2026" << QStringList({"$ 100.00", "$ 70.00", "$ 71.00"});
    }
    void backDatedThroughTheWindow() {
        QFETCH(QString, date);
        QFETCH(QStringList, balances);
        class frmBank* f = loggedIn();
        addEntry(f, "10 Jan 2026", "100");
        addEntry(f, "10 Feb 2026", "-30");
        addEntry(f, date, "1");
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(column(f->flxGrid, 5), balances);
        QCOMPARE(f->lblCheckingsTotal->Caption(), QStringLiteral("$71.00"));
        QVERIFY(!bDateOld);
        QCOMPARE(objBank->WrongBalance, Money(0));
        // The editor is empty again.
        QCOMPARE(f->txtDat[3]->Text(), QString());
        Store s;
        QVERIFY(Ledger::balancesHold(s.c, Register::Checkings, "4711"));
    }

    void storedFields() {
        class frmBank* f = loggedIn();
        f->lblReconcile->setCaption(QStringLiteral("P"));
        f->cboCat->setCurrentIndex(3);
        addEntry(f, "2 Mar 2026", "-7.5", "Grocer", "", "Milk");
        addEntry(f, "3 Mar 2026", "5", "Boss", "12", "Pay");
        Store s;
        const QList<Ledger::Entry> rows = Ledger::entries(s.c, Register::Checkings, "4711");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].number, std::optional<qint64>(0));
        QCOMPARE(rows[0].category, 3);
        QVERIFY(rows[0].checked);
        QCOMPARE(rows[0].amount, money(-7.5));
        QCOMPARE(rows[0].date, QDate(2026, 3, 2));
        QCOMPARE(rows[1].number, std::nullopt);
        QVERIFY(!rows[1].checked);
        QCOMPARE(f->flxGrid->TextMatrix(1, 6), QStringLiteral("X"));
    }

    // A save that fails halfway (the correction of the later balances, or
    // the row itself) leaves nothing of itself behind; the register and the
    // year list show what is stored.
    void failedSaveLeavesNothing_data() {
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("date");
        QTest::newRow("correction refused") << "UPDATE OF Chk_Balance" << "1 Mar 2026";
        QTest::newRow("row of a new year refused") << "INSERT" << "1 Mar 2027";
    }
    void failedSaveLeavesNothing() {
        QFETCH(QString, refused);
        QFETCH(QString, date);
        class frmBank* f = loggedIn();
        addEntry(f, "10 Mar 2026", "100");
        cnBank().Execute("CREATE TRIGGER Refuse BEFORE " + refused +
                         " ON Checkings BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        addEntry(f, date, "-5");
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QVERIFY(MsgBoxSeam::last().text.startsWith(QStringLiteral("Problem: Checkings Transaction\n")));
        QVERIFY(MsgBoxSeam::last().text.contains(QStringLiteral("disk full")));
        QCOMPARE(column(f->flxGrid, 5), QStringList{"$ 100.00"});
        QCOMPARE(f->lblCheckingsTotal->Caption(), QStringLiteral("$100.00"));
        QCOMPARE(f->cboYear->count(), 2);
        QCOMPARE(f->cboYear->currentText(), QStringLiteral("2026"));
        QVERIFY(!bDateOld);
        Store s;
        QCOMPARE(Ledger::entries(s.c, Register::Checkings, "4711").size(), 1);
    }

    // Running balances at the edge of what an amount holds: nine deposits
    // of 99,999,999,999,999.99 (each stored to the cent) and one of 1.00.
    // A write that would put a balance beyond is refused, nothing stored.
    void balanceBeyondTheMoneyRange_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message");
        QTest::newRow("deposit appended") << "add 1 Apr 2026" << "Problem: Checkings Transaction\n6: Overflow";
        QTest::newRow("deposit back-dated") << "add 1 Jan 2026" << "Problem: Checkings Transaction\n6: Overflow";
        QTest::newRow("amount raised by Upd") << "update" << "Problem: Deleting/Updating\n6: Overflow";
        QTest::newRow("transfer into checkings") << "transfer" << "Problem: Transfer\n6: Overflow";
    }
    void balanceBeyondTheMoneyRange() {
        QFETCH(QString, action);
        QFETCH(QString, message);
        const QString most = QStringLiteral("99999999999999.99");
        class frmBank* f = loggedIn();
        for (int day = 1; day <= 9; ++day) addEntry(f, QString::number(day) + " Feb 2026", most);
        addEntry(f, "10 Mar 2026", "1");
        QCOMPARE(f->lblCheckingsTotal->Caption(), QStringLiteral("$900000000000000.91"));
        MsgBoxSeam::clear();
        if (action.startsWith(QLatin1String("add"))) {
            addEntry(f, action.mid(4), most);
        } else if (action == QLatin1String("update")) {
            pick(f, 10);
            f->txtDat[3]->setTextValue(most);
            f->lblDel[0]->click();
        } else {
            transfer(f, 1, "1 Apr 2026", most);
        }
        QCOMPARE(shownTexts(), QStringList{message});
        QCOMPARE(f->flxGrid->Rows(), 11);
        QCOMPARE(f->lblCheckingsTotal->Caption(), QStringLiteral("$900000000000000.91"));
        Store s;
        const QList<Ledger::Entry> rows = Ledger::entries(s.c, Register::Checkings, "4711");
        QCOMPARE(rows.size(), 10);
        QCOMPARE(rows.first().amount, Money(999999999999999900));
        QCOMPARE(rows.last().balance, Money(9000000000000009100));
        QVERIFY(Ledger::balancesHold(s.c, Register::Checkings, "4711"));
        QCOMPARE(Ledger::entries(s.c, Register::Savings, "4711").size(), 0);
    }

    // --- Entry checks -----------------------------------------------------

    void entryChecks_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("payee");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("stored");
        QTest::newRow("empty date") << QLocale::c() << ""
                                    << ""
                                    << ""
                                    << "" << QStringList{"Invalid Date"} << 0;
        QTest::newRow("empty amount and payee")
            << QLocale::c() << "1 Mar 2026"
            << ""
            << ""
            << "" << QStringList({"Invalid Transaction", "Please state a payee"}) << 0;
        QTest::newRow("amount 0") << QLocale::c() << "1 Mar 2026"
                                  << "0"
                                  << "Shop"
                                  << "" << QStringList{"Invalid Transaction"} << 0;
        QTest::newRow("comma amount under German settings") << kDE << "01.03.2026"
                                                            << "0,50"
                                                            << "Shop"
                                                            << "" << QStringList() << 1;
        QTest::newRow("comma amount under US settings") << kUS << "3/1/2026"
                                                        << "0,50"
                                                        << "Shop"
                                                        << "" << QStringList() << 1;
        QTest::newRow("amount rounding to 0.00") << QLocale::c() << "1 Mar 2026"
                                                 << "-0.004"
                                                 << "Shop"
                                                 << "" << QStringList{"Invalid Transaction"} << 0;
        QTest::newRow("amount of five decimals rounding to 0.00")
            << QLocale::c() << "1 Mar 2026" << "-0.00499" << "Shop" << "" << QStringList{"Invalid Transaction"} << 0;
        QTest::newRow("minus sign in the middle") << QLocale::c() << "1 Mar 2026"
                                                  << "5-3"
                                                  << "Shop"
                                                  << "" << QStringList{"Invalid Transaction"} << 0;
        QTest::newRow("check number in use")
            << QLocale::c() << "1 Mar 2026"
            << "-3"
            << "Shop"
            << "100" << QStringList{"Check number already exists! Please choose a different number"} << 1;
        QTest::newRow("check number in use on a deposit") << QLocale::c() << "1 Mar 2026"
                                                          << "3"
                                                          << "Shop"
                                                          << "100" << QStringList() << 2;
    }
    void entryChecks() {
        QFETCH(QLocale, locale);
        QFETCH(QString, date);
        QFETCH(QString, amount);
        QFETCH(QString, payee);
        QFETCH(QString, number);
        QFETCH(QStringList, messages);
        QFETCH(int, stored);
        setLocale(locale);
        class frmBank* f = loggedIn();
        if (!number.isEmpty()) addEntry(f, date, "-1", "Earlier", number);
        MsgBoxSeam::clear();
        addEntry(f, date, amount, payee, number);
        QCOMPARE(shownTexts(), messages);
        Store s;
        QCOMPARE(Ledger::entries(s.c, Register::Checkings, "4711").size(), qsizetype(stored));
    }

    // The fields hold what the register and the holder's row store.
    void fieldBounds() {
        class frmBank* f = openBank();
        f->optNewUser->click();
        f->txtLastName->typeText(QString(60, u'L'));
        f->txtFirstName->typeText(QString(60, u'F'));
        QCOMPARE(f->txtLastName->Text().size(), 50);
        QCOMPARE(f->txtFirstName->Text().size(), 50);
        f->txtPwd->setTextValue(QStringLiteral("4711"));
        f->cmdOK->click();
        f->txtDat[0]->typeText(QStringLiteral("12345678901234567890"));
        QCOMPARE(f->txtDat[0]->Text(), QStringLiteral("123456789"));
        f->txtDat[2]->typeText(QString(70, u'd'));
        QCOMPARE(f->txtDat[2]->Text().size(), 64);
        f->txtDat[1]->setTextValue(QStringLiteral("1 Mar 2026"));
        f->cboPayee->setEditText(QStringLiteral("Shop"));
        f->txtDat[3]->setTextValue(QStringLiteral("-5"));
        f->lblAdd[0]->click();
        QCOMPARE(shownTexts(), QStringList());
        Store s;
        const Ledger::Entry e = Ledger::entries(s.c, Register::Checkings, "4711").first();
        QCOMPARE(e.number, std::optional<qint64>(123456789));
        QCOMPARE(e.description, QString(64, u'd'));
    }

    void categoryOnDepositIsCleared() {
        class frmBank* f = loggedIn();
        f->cboCat->setCurrentIndex(2);
        addEntry(f, "1 Mar 2026", "20", "Boss");
        QCOMPARE(shownTexts(), QStringList{"This entry may not have a budget category"});
        Store s;
        QCOMPARE(Ledger::entries(s.c, Register::Checkings, "4711").first().category, -1);
    }

    void savingsEntryWithEmptyCheckingsGrid() {
        class frmBank* f = loggedIn();
        f->lblSwitch[1]->click();
        addEntry(f, "1 Mar 2026", "-20");
        addEntry(f, "1 Feb 2026", "50");
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(column(f->flxgrid2, 0), QStringList({"$ 50.00", "$ 30.00"}));
        QCOMPARE(f->lblSavingsTotal->Caption(), QStringLiteral("$30.00"));
    }

    // --- The entry editor -------------------------------------------------

    void editorOverCheckingsRow() {
        setLocale(kUS);
        setZone(kAmerica);
        class frmBank* f = loggedIn();
        f->lblReconcile->setCaption(QStringLiteral("P"));
        f->cboCat->setCurrentIndex(4);
        addEntry(f, "12/31/1999", "-12.5", "Garage", "42", "Tyres");
        pick(f, 1);
        QVERIFY(f->fraDrag->isVisible());
        QCOMPARE(f->txtDat[0]->Text(), QStringLiteral("42"));
        // The stored date in four digits, not the grid's "12/31/99".
        QCOMPARE(f->txtDat[1]->Text(), QStringLiteral("12/31/1999"));
        QCOMPARE(f->cboPayee->currentText(), QStringLiteral("Garage"));
        QCOMPARE(f->txtDat[2]->Text(), QStringLiteral("Tyres"));
        QCOMPARE(f->txtDat[3]->Text(), QStringLiteral("-12.50"));
        QCOMPARE(f->lblReconcile->Caption(), QStringLiteral("P"));
        QCOMPARE(f->lblCheck->Caption(), QStringLiteral("X"));
        QCOMPARE(f->cboCat->currentIndex(), 4);
        QCOMPARE(objBank->OldCheckingsTransaction, money(-12.5));
        QVERIFY(f->lblPayment->isVisible());
        // An update that changes nothing keeps the century.
        f->lblDel[0]->click();
        Store s;
        QCOMPARE(Ledger::entries(s.c, Register::Checkings, "4711").first().date, QDate(1999, 12, 31));
        QVERIFY(!f->fraDrag->isVisible());
    }

    // The editor opened on the first of three entries; the grid's current
    // row then moves by the keyboard, a right click, or the program. Upd
    // and Del act on the entry the editor shows, or on none.
    void editorKeepsItsEntry_data() {
        QTest::addColumn<bool>("savings");
        QTest::addColumn<QString>("move");
        QTest::addColumn<bool>("remove");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QList<Money>>("amounts");
        const QStringList none{"Please select an entry first"};
        const QList<Money> untouched = moneyList({100, -50, 20});
        QTest::newRow("checkings: Down, Upd") << false << "Down" << false << none << untouched;
        QTest::newRow("checkings: right click, Escape, Del") << false << "right click" << true << none << untouched;
        QTest::newRow("checkings: moved by the program, Upd")
            << false << "program" << false << QStringList() << moneyList({-77, -50, 20});
        QTest::newRow("checkings: moved by the program, Del")
            << false << "program" << true << QStringList{"Are You Sure That You Want To Delete This Entry"}
            << moneyList({-50, 20});
        QTest::newRow("savings: Down, Upd") << true << "Down" << false << none << untouched;
        QTest::newRow("savings: right click, Escape, Del") << true << "right click" << true << none << untouched;
        QTest::newRow("savings: moved by the program, Upd")
            << true << "program" << false << QStringList() << moneyList({-77, -50, 20});
    }
    void editorKeepsItsEntry() {
        QFETCH(bool, savings);
        QFETCH(QString, move);
        QFETCH(bool, remove);
        QFETCH(QStringList, messages);
        QFETCH(QList<Money>, amounts);
        class frmBank* f = loggedIn();
        if (savings) f->lblSwitch[1]->click();
        addEntry(f, "10 Jan 2026", "100", "A");
        addEntry(f, "10 Feb 2026", "-50", "B");
        addEntry(f, "10 Mar 2026", "20", "C");
        FlexGrid* g = savings ? f->flxgrid2 : f->flxGrid;
        pick(f, 1);
        QVERIFY(f->fraDrag->isVisible());
        if (move == QLatin1String("Down")) {
            // The focus in the grid, where Shift+Tab from the editor puts it.
            g->setFocus();
            QTest::keyClick(g, Qt::Key_Down);
        } else if (move == QLatin1String("right click")) {
            QTest::mouseClick(g->viewport(), Qt::RightButton, {}, cellPoint(g, 2));
            QTest::keyClick(g, Qt::Key_Escape);
        } else {
            g->setRow(2);
        }
        QCOMPARE(g->Row(), 2);
        MsgBoxSeam::clear();
        if (remove) {
            MsgBoxSeam::queueAnswer(vbYes);
            f->lblDel[1]->click();
        } else {
            f->txtDat[3]->setTextValue(QStringLiteral("-77"));
            f->lblDel[0]->click();
        }
        QCOMPARE(shownTexts(), messages);
        Store s;
        QList<Money> stored;
        for (const Ledger::Entry& e : Ledger::entries(s.c, savings ? Register::Savings : Register::Checkings, "4711"))
            stored << e.amount;
        QCOMPARE(stored, amounts);
    }

    // Under a style that scrolls by pixels (some desktops' styles do), the
    // register's top row can stand half under the heading. A click on it
    // opens the editor over the whole row; the wheel over the strip turns
    // the register.
    void stripOverHalfShownRow_data() {
        QTest::addColumn<bool>("savings");
        QTest::addColumn<QString>("action");
        QTest::newRow("checkings: Upd") << false << "Upd";
        QTest::newRow("savings: Upd") << true << "Upd";
        QTest::newRow("checkings: wheel over the strip") << false << "wheel";
        QTest::newRow("savings: wheel over the strip") << true << "wheel";
    }
    void stripOverHalfShownRow() {
        QFETCH(bool, savings);
        QFETCH(QString, action);
        const Register r = savings ? Register::Savings : Register::Checkings;
        {
            Store s;
            Ledger::addAccount(s.c, "5", "Doe", "Jane");
            for (int day = 1; day <= 30; ++day) book(s.c, r, "5", QDate(2026, 1, day), 10);
        }
        class frmBank* f = openBank();
        enter(f, QStringLiteral("5"), f->optUser);
        if (savings) f->lblSwitch[1]->click();
        FlexGrid* g = savings ? f->flxgrid2 : f->flxGrid;
        g->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        g->setTopRow(10);
        g->verticalScrollBar()->setValue(g->verticalScrollBar()->value() + g->rowHeight(0) / 2);
        const int top = g->TopRow();
        QVERIFY(g->cellRect(top, 2).top() < 0);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(top, 2).bottomLeft() + QPoint(4, -2));
        QVERIFY(f->fraDrag->isVisible());
        QCOMPARE(g->cellRect(top, 2).top(), 0);
        QCOMPARE(f->fraDrag->y(), g->y() + g->viewport()->y());
        MsgBoxSeam::clear();
        if (action == QLatin1String("Upd")) {
            f->txtDat[3]->setTextValue(QStringLiteral("-77"));
            f->lblDel[0]->click();
            QCOMPARE(shownTexts(), QStringList());
            Store s;
            QCOMPARE(Ledger::entries(s.c, r, "5").at(top - 1).amount, money(-77));
        } else {
            const int before = g->verticalScrollBar()->value();
            QWheelEvent turn(QPointF(4, 4), f->lblDate->mapToGlobal(QPointF(4, 4)), {}, {0, -120}, Qt::NoButton,
                             Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(f->lblDate, &turn);
            QVERIFY(g->verticalScrollBar()->value() > before);
            QVERIFY(!f->fraDrag->isVisible());
        }
    }

    // Ctrl+C in a register without entries (no current cell) copies
    // nothing and leaves the window as it was.
    void copyFromEmptyRegister() {
        class frmBank* f = loggedIn();
        f->flxGrid->clearRows();
        f->txtDat[2]->setTextValue(QStringLiteral("typed"));
        QTest::mouseClick(f->flxGrid->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QTest::keyClick(f->flxGrid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f->txtDat[2]->Text(), QStringLiteral("typed"));
    }

    // Up to the first of two rows, then Return or Space: the editor opens on
    // it as a click does, and "Upd" changes that entry.
    void keysOpenTheEditor_data() {
        QTest::addColumn<bool>("savings");
        QTest::addColumn<int>("key");
        QTest::newRow("checkings: Return") << false << int(Qt::Key_Return);
        QTest::newRow("savings: Space") << true << int(Qt::Key_Space);
    }
    void keysOpenTheEditor() {
        QFETCH(bool, savings);
        QFETCH(int, key);
        class frmBank* f = loggedIn();
        if (savings) f->lblSwitch[1]->click();
        addEntry(f, "10 Jan 2026", "100", "A");
        addEntry(f, "10 Feb 2026", "-50", "B");
        FlexGrid* g = savings ? f->flxgrid2 : f->flxGrid;
        g->setFocus();
        QTest::keyClick(g, Qt::Key_Up);
        QTest::keyClick(g, Qt::Key(key));
        QVERIFY(f->fraDrag->isVisible());
        QCOMPARE(f->txtDat[3]->Text(), QStringLiteral("100.00"));
        QCOMPARE(f->txtDat[1]->Text(), QStringLiteral("10 Jan 2026"));
        f->txtDat[3]->setTextValue(QStringLiteral("-77"));
        f->lblDel[0]->click();
        QCOMPARE(shownTexts(), QStringList());
        Store s;
        QCOMPARE(Ledger::entries(s.c, savings ? Register::Savings : Register::Checkings, "4711").first().amount,
                 money(-77));
    }

    // The mark is a check box to keys and readers: Space, Return, Enter and
    // the reader's toggle work it as the mouse does.
    void reconcileMarkByKeys_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Space") << "Space";
        QTest::newRow("keypad Enter") << "Enter";
        QTest::newRow("reader's toggle") << "toggle";
    }
    void reconcileMarkByKeys() {
        QFETCH(QString, how);
        class frmBank* f = loggedIn();
        QAccessibleInterface* mark = QAccessible::queryAccessibleInterface(f->lblReconcile);
        QCOMPARE(mark->role(), QAccessible::CheckBox);
        QVERIFY(mark->state().checkable && mark->state().focusable);
        for (const bool on : {true, false}) {
            if (how == QLatin1String("toggle")) {
                // A reader's action runs once its call has returned.
                mark->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
                processEvents();
            }
            else if (how == QLatin1String("Enter"))
                QTest::keyClick(f->lblReconcile, Qt::Key_Enter, Qt::KeypadModifier);
            else
                QTest::keyClick(f->lblReconcile, Qt::Key_Space);
            QCOMPARE(f->lblReconcile->Caption(), on ? QStringLiteral("P") : QString());
            QCOMPARE(bool(mark->state().checked), on);
        }
    }

    // The mark toggles; a screen reader hears it by its caption, with its
    // state, whether set, cleared or emptied by "New".
    void reconcileMarkToggles_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("English") << "English" << QStringList({"Check", "Reconciled", "Not reconciled"});
        QTest::newRow("German") << "German" << QStringList({QString::fromUtf8("Prüfen"), QString::fromUtf8("Geprüft"),
                                                            QString::fromUtf8("Nicht geprüft")});
    }
    void reconcileMarkToggles() {
        QFETCH(QString, language);
        QFETCH(QStringList, heard);
        useLanguage(language);
        class frmBank* f = loggedIn();
        addEntry(f, "1 Mar 2026", "5", "Boss");
        const QString entries = f->lblEntries->Caption();
        QAccessibleInterface* mark = QAccessible::queryAccessibleInterface(f->lblReconcile);
        f->lblReconcile->onMouseDown(1, 0, 0, 0);
        QCOMPARE(f->lblReconcile->Caption(), QStringLiteral("P"));
        QCOMPARE(QStringList({mark->text(QAccessible::Name), mark->text(QAccessible::Description)}), heard.mid(0, 2));
        f->lblReconcile->onMouseDown(1, 0, 0, 0);
        QCOMPARE(f->lblReconcile->Caption(), QString());
        QCOMPARE(f->lblEntries->Caption(), entries);
        f->lblReconcile->onMouseDown(1, 0, 0, 0);
        f->lblAdd[1]->click();
        QCOMPARE(QStringList({mark->text(QAccessible::Name), mark->text(QAccessible::Description)}),
                 QStringList({heard[0], heard[2]}));
    }

    // An entry stored with a longer text than its field takes as typed (an
    // older build stored up to 32,767 characters) is shown and updated whole.
    void longStoredTextsKeptWhole_data() {
        QTest::addColumn<bool>("payee");
        QTest::newRow("description") << false;
        QTest::newRow("payee") << true;
    }
    void longStoredTextsKeptWhole() {
        QFETCH(bool, payee);
        const QString text = QStringLiteral("Long text ").repeated(10);
        {
            Store s;
            Ledger::addAccount(s.c, "5", "Doe", "Jane");
            Ledger::Entry e;
            e.date = QDate(2026, 3, 1);
            e.amount = e.balance = money(-5);
            e.payee = payee ? text : QStringLiteral("Shop");
            e.description = payee ? QString() : text;
            Ledger::addEntry(s.c, Register::Checkings, "5", e);
        }
        class frmBank* f = openBank();
        enter(f, QStringLiteral("5"), f->optUser);
        pick(f, 1);
        QCOMPARE(payee ? f->cboPayee->currentText() : f->txtDat[2]->Text(), text);
        f->txtDat[3]->setTextValue(QStringLiteral("-7"));
        f->lblDel[0]->click();
        QCOMPARE(shownTexts(), QStringList());
        Store s;
        const Ledger::Entry stored = Ledger::entries(s.c, Register::Checkings, "5").first();
        QCOMPARE(stored.amount, money(-7));
        QCOMPARE(payee ? stored.payee : stored.description, text);
    }

    // "Upd" of the middle of three checkings entries (+100 on 10 Jan, -50
    // on 10 Feb, +20 on 10 Mar).
    void updateEntry_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QStringList>("balances");
        QTest::newRow("amount changed") << QLocale::c() << "10 Feb 2026"
                                        << "-80" << QStringList({"$ 100.00", "$ 20.00", "$ 40.00"});
        QTest::newRow("same amount") << QLocale::c() << "10 Feb 2026"
                                     << "-50" << QStringList({"$ 100.00", "$ 50.00", "$ 70.00"});
        QTest::newRow("moved before all") << QLocale::c() << "1 Jan 2026"
                                          << "-50" << QStringList({"$ -50.00", "$ 50.00", "$ 70.00"});
        QTest::newRow("moved after all") << QLocale::c() << "1 Apr 2026"
                                         << "-50" << QStringList({"$ 100.00", "$ 120.00", "$ 70.00"});
        QTest::newRow("moved and changed") << QLocale::c() << "1 Jan 2026"
                                           << "-10" << QStringList({"$ -10.00", "$ 90.00", "$ 110.00"});
        // Stored as shown, to the cent: the balances still add up.
        QTest::newRow("three decimals") << QLocale::c() << "10 Feb 2026"
                                        << "-12.345" << QStringList({"$ 100.00", "$ 87.65", "$ 107.65"});
        QTest::newRow("German: three decimals")
            << kDE << "10.02.2026" << "-12,345" << QStringList({"$ 100,00", "$ 87,65", "$ 107,65"});
    }
    void updateEntry() {
        QFETCH(QLocale, locale);
        QFETCH(QString, date);
        QFETCH(QString, amount);
        QFETCH(QStringList, balances);
        setLocale(locale);
        class frmBank* f = loggedIn();
        addEntry(f, Runtime::shortDate(QDate(2026, 1, 10)), "100");
        addEntry(f, Runtime::shortDate(QDate(2026, 2, 10)), "-50");
        addEntry(f, Runtime::shortDate(QDate(2026, 3, 10)), "20");
        pick(f, 2);
        f->txtDat[1]->setTextValue(date);
        f->txtDat[3]->setTextValue(amount);
        f->lblDel[0]->click();
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(column(f->flxGrid, 5), balances);
        QCOMPARE(f->lblCheckingsTotal->Caption(), "$" + balances.last().mid(2));
        QVERIFY(!bEditEntry);
        QVERIFY(!bZeroAmount);
        Store s;
        QVERIFY(Ledger::balancesHold(s.c, Register::Checkings, "4711"));
    }

    void updateSavingsEntry() {
        setLocale(kDE);
        class frmBank* f = loggedIn();
        f->lblSwitch[1]->click();
        addEntry(f, "10.01.2026", "100");
        addEntry(f, "10.02.2026", "-50");
        addEntry(f, "10.03.2026", "20");
        pick(f, 2);
        QVERIFY(f->lblWithdrawl->isVisible());
        QCOMPARE(f->txtDat[1]->Text(), QStringLiteral("10.02.2026"));
        f->txtDat[1]->setTextValue(QStringLiteral("01.01.2026"));
        f->txtDat[3]->setTextValue(QStringLiteral("-0,5"));
        f->lblDel[0]->click();
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(column(f->flxgrid2, 0), QStringList({"$ -00,50", "$ 99,50", "$ 119,50"}));
        QCOMPARE(f->lblSavingsTotal->Caption(), QStringLiteral("$119,50"));
    }

    void deleteEntry_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("balances");
        QTest::newRow("answered no") << 2 << int(vbNo) << QStringList({"$ 100.00", "$ 50.00", "$ 70.00"});
        QTest::newRow("the middle one") << 2 << int(vbYes) << QStringList({"$ 100.00", "$ 120.00"});
        QTest::newRow("the last one") << 3 << int(vbYes) << QStringList({"$ 100.00", "$ 50.00"});
        QTest::newRow("the first one") << 1 << int(vbYes) << QStringList({"$ -50.00", "$ -30.00"});
    }
    void deleteEntry() {
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(QStringList, balances);
        useLanguage(QStringLiteral("German"));
        class frmBank* f = loggedIn();
        addEntry(f, "10.01.2026", "100");
        addEntry(f, "10.02.2026", "-50");
        addEntry(f, "10.03.2026", "20");
        pick(f, row);
        MsgBoxSeam::clear();
        MsgBoxSeam::queueAnswer(answer);
        f->lblDel[1]->click();
        QCOMPARE(shownTexts(),
                 QStringList{QString::fromUtf8("Sind Sie Sicher, Dass Sie Diesen Eintrag Entfernen Möchten")});
        QCOMPARE(MsgBoxSeam::last().icon, int(vbQuestion));
        QCOMPARE(column(f->flxGrid, 5), balances);
        QVERIFY(!f->fraDrag->isVisible());
        QCOMPARE(f->txtDat[3]->Text(), QString());
    }

    void updateWithoutSelection() {
        class frmBank* f = loggedIn();
        f->txtDat[3]->setTextValue(QStringLiteral("5"));
        f->lblDel[0]->click();
        QCOMPARE(shownTexts(), QStringList{"Please select an entry first"});
        QCOMPARE(f->txtDat[3]->Text(), QStringLiteral("5"));
    }

    void failedUpdateLeavesStoredState() {
        class frmBank* f = loggedIn();
        addEntry(f, "10 Jan 2026", "100");
        addEntry(f, "10 Feb 2026", "-50");
        cnBank().Execute(QStringLiteral("CREATE TRIGGER Refuse BEFORE UPDATE OF Chk_Balance ON Checkings "
                                        "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
        pick(f, 2);
        f->txtDat[3]->setTextValue(QStringLiteral("-80"));
        f->lblDel[0]->click();
        QVERIFY(MsgBoxSeam::last().text.startsWith(QStringLiteral("Problem: Deleting/Updating\n")));
        QCOMPARE(column(f->flxGrid, 4), QStringList({"$ 100.00", "$ -50.00"}));
        QVERIFY(!bEditEntry);
        QVERIFY(!bZeroAmount);
        QVERIFY(!bDateOld);
    }

    // --- Totals -----------------------------------------------------------

    void totalsAndTypeLabel() {
        setLocale(kDE);
        class frmBank* f = loggedIn();
        QCOMPARE(colorOf(f->lblCheckingsTotal), QColor(255, 0, 0));
        QCOMPARE(colorOf(f->lblDebtsTotal), QColor(0, 128, 0));
        addEntry(f, "01.03.2026", "1234,5");
        QCOMPARE(f->lblCheckingsTotal->Caption(), QStringLiteral("$1234,50"));
        QCOMPARE(colorOf(f->lblCheckingsTotal), QColor(0, 128, 0));
        f->optEuro->click();
        QCOMPARE(f->lblSavingsTotal->Caption(), QString::fromUtf8("€0,00"));
        // An amount that is no number names no type; the totals still follow.
        f->txtDat[3]->setTextValue(QStringLiteral("-"));
        objBank->LastSavingsBalance = money(3);
        f->Activation();
        QCOMPARE(shownTexts(), QStringList());
        QVERIFY(!f->lblDeposit->isVisible() && !f->lblPayment->isVisible());
        QCOMPARE(f->lblSavingsTotal->Caption(), QString::fromUtf8("€3,00"));
        QCOMPARE(colorOf(f->lblSavingsTotal), QColor(0, 128, 0));
    }

    // --- Transfers --------------------------------------------------------

    void transfers_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("payee");
        QTest::addColumn<QString>("description");
        QTest::addColumn<double>("checkings");
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("checkings to savings") << "English" << 0 << "Savings"
                                              << "Transfer" << -50.0 << false;
        QTest::newRow("savings to checkings") << "English" << 1 << "Checkings"
                                              << "Transfer" << 50.0 << false;
        QTest::newRow("German: checkings to savings")
            << "German" << 0 << "Sparkonto" << QString::fromUtf8("Überweisung") << -50.0 << false;
        QTest::newRow("German: savings to checkings")
            << "German" << 1 << "Girokonto" << QString::fromUtf8("Überweisung") << 50.0 << false;
        // The second press of a double click on OK is no second click.
        QTest::newRow("double click on OK") << "English" << 0 << "Savings" << "Transfer" << -50.0 << true;
    }
    void transfers() {
        QFETCH(QString, language);
        QFETCH(int, direction);
        QFETCH(QString, payee);
        QFETCH(QString, description);
        QFETCH(double, checkings);
        QFETCH(bool, doubleClick);
        useLanguage(language);
        class frmBank* f = loggedIn();
        const QString early = language == "German" ? "01.01.2026" : "1 Jan 2026";
        addEntry(f, language == "German" ? "10.03.2026" : "10 Mar 2026", "200", "Boss");
        // Dated before the entry above: its balance follows.
        transfer(f, direction, early, "50", doubleClick);
        QCOMPARE(shownTexts(), QStringList());
        Store s;
        const QList<Ledger::Entry> chk = Ledger::entries(s.c, Register::Checkings, "4711");
        const QList<Ledger::Entry> sav = Ledger::entries(s.c, Register::Savings, "4711");
        QCOMPARE(chk.size(), 2);
        QCOMPARE(sav.size(), 1);
        QCOMPARE(chk[0].payee, payee);
        QCOMPARE(chk[0].description, description);
        QCOMPARE(chk[0].amount, money(checkings));
        QCOMPARE(chk[0].number, std::nullopt);
        QCOMPARE(chk[1].balance, money(200 + checkings));
        QCOMPARE(sav[0].date, QDate(2026, 1, 1));
        checkPairs(s.c, "4711");
        // The checkings register is shown, the panel empty.
        QVERIFY(f->checkingsShown());
        QCOMPARE(f->cboFromTo->currentIndex(), -1);
        QCOMPARE(f->txtDat[5]->Text(), QString());
        QCOMPARE(f->txtDat[6]->Text(), QString());
        QCOMPARE(f->lblSavingsTotal->Caption(), "$" + QString(checkings < 0 ? "50.00" : "-50.00"));
    }

    void transferChecks_data() {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("message");
        QTest::newRow("no direction") << -1 << "1 Mar 2026"
                                      << "50"
                                      << "Please select a transfer type";
        QTest::newRow("no date") << 0 << ""
                                 << "50"
                                 << "Invalid Date";
        QTest::newRow("amount a lone point") << 0 << "1 Mar 2026"
                                             << "."
                                             << "Invalid transaction";
        QTest::newRow("amount rounding to 0.00") << 1 << "1 Mar 2026"
                                                 << "0.004"
                                                 << "Invalid transaction";
        QTest::newRow("amount of five decimals rounding to 0.00") << 1 << "1 Mar 2026" << "0.00499"
                                                                 << "Invalid transaction";
    }
    void transferChecks() {
        QFETCH(int, direction);
        QFETCH(QString, date);
        QFETCH(QString, amount);
        QFETCH(QString, message);
        class frmBank* f = loggedIn();
        transfer(f, direction, date, amount);
        QCOMPARE(shownTexts(), QStringList{message});
        QCOMPARE(f->txtDat[6]->Text(), amount);
        Store s;
        QCOMPARE(Ledger::entries(s.c, Register::Savings, "4711").size(), 0);
        QCOMPARE(Ledger::entries(s.c, Register::Checkings, "4711").size(), 0);
    }

    void failedTransferBooksNothing() {
        class frmBank* f = loggedIn();
        cnBank().Execute(QStringLiteral("CREATE TRIGGER Refuse BEFORE INSERT ON Savings "
                                        "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
        transfer(f, 0, "1 Mar 2026", "50");
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QVERIFY(MsgBoxSeam::last().text.startsWith(QStringLiteral("Problem: Transfer\n")));
        QCOMPARE(f->flxGrid->Rows(), 1);
        QCOMPARE(f->lblCheckingsTotal->Caption(), QStringLiteral("$0.00"));
        // Kept for another try.
        QCOMPARE(f->cboFromTo->currentIndex(), 0);
        QCOMPARE(f->txtDat[5]->Text(), QStringLiteral("1 Mar 2026"));
        QCOMPARE(f->txtDat[6]->Text(), QStringLiteral("50"));
        Store s;
        QCOMPARE(Ledger::entries(s.c, Register::Checkings, "4711").size(), 0);
    }

    // Entries in 2025 alone, the year 2025 chosen; an entry booked into 2026
    // by a transfer or moved there by "Upd" brings 2026 into the list, as
    // "Add" does, and is shown.
    void newYearJoinsTheList_data() {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QStringList>("payees");
        QTest::newRow("transfer to savings") << 0 << QStringList{"Savings"};
        QTest::newRow("transfer to checkings") << 1 << QStringList{"Checkings"};
        QTest::newRow("Upd") << -1 << QStringList{"Grocer"};
    }
    void newYearJoinsTheList() {
        QFETCH(int, direction);
        class frmBank* f = loggedIn();
        addEntry(f, "10 Jan 2025", "1000", "Salary");
        addEntry(f, "20 Jan 2025", "-30", "Grocer");
        if (direction >= 0) {
            transfer(f, direction, "15 Mar 2026", "50");
        } else {
            pick(f, 2);
            f->txtDat[1]->setTextValue(QStringLiteral("1 Dec 2026"));
            f->lblDel[0]->click();
        }
        QCOMPARE(shownTexts(), QStringList());
        QStringList years;
        for (int i = 0; i < f->cboYear->count(); ++i) years << f->cboYear->itemText(i);
        QCOMPARE(years, QStringList({"2025", "2026", "All"}));
        QCOMPARE(f->cboYear->currentText(), QStringLiteral("2026"));
        QTEST(column(f->flxGrid, 2), "payees");
    }

    // Changing or removing one half of a transfer changes the other.
    void transferHalves_data() {
        QTest::addColumn<bool>("fromSavings");
        QTest::addColumn<bool>("remove");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<double>("checkings");
        QTest::newRow("update the checkings half") << false << false << "-80" << 400.0;
        QTest::newRow("update the savings half") << true << false << "80" << 400.0;
        QTest::newRow("update the checkings half, three decimals") << false << false << "-12.345" << 467.65;
        QTest::newRow("delete the checkings half") << false << true << "" << 480.0;
        QTest::newRow("delete the savings half") << true << true << "" << 480.0;
    }
    void transferHalves() {
        QFETCH(bool, fromSavings);
        QFETCH(bool, remove);
        QFETCH(QString, amount);
        QFETCH(double, checkings);
        class frmBank* f = loggedIn();
        addEntry(f, "1 Jan 2026", "500", "Boss");
        transfer(f, 0, "1 Feb 2026", "50");
        addEntry(f, "1 Mar 2026", "-20", "Shop");
        if (fromSavings) f->lblSwitch[1]->click();
        pick(f, fromSavings ? 1 : 2);
        QVERIFY(f->lblTransfer->isVisible());
        if (remove) {
            MsgBoxSeam::queueAnswer(vbYes);
            f->lblDel[1]->click();
        } else {
            f->txtDat[1]->setTextValue(QStringLiteral("15 Jan 2026"));
            f->txtDat[3]->setTextValue(amount);
            f->lblDel[0]->click();
        }
        QVERIFY(!MsgBoxSeam::last().text.startsWith(QStringLiteral("Problem")));
        Store s;
        checkPairs(s.c, "4711");
        const QList<Ledger::Entry> sav = Ledger::entries(s.c, Register::Savings, "4711");
        QCOMPARE(sav.size(), remove ? 0 : 1);
        QCOMPARE(Ledger::lastBalance(s.c, Register::Checkings, "4711"), money(checkings));
        if (!remove) QCOMPARE(sav[0].date, QDate(2026, 1, 15));
    }

    // --- Debts ------------------------------------------------------------

    void addDebt_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("message");
        QTest::newRow("short amount") << QLocale::c() << "5"
                                      << "Rent"
                                      << "05.00   Rent"
                                      << "";
        QTest::newRow("longer amount") << QLocale::c() << "1234.5"
                                       << "Car"
                                       << "1234.50 Car"
                                       << "";
        QTest::newRow("eight characters") << QLocale::c() << "12345.67"
                                          << "House"
                                          << "12345.67House"
                                          << "";
        QTest::newRow("comma settings") << kDE << "12,5"
                                        << "Bike"
                                        << "12,50   Bike"
                                        << "";
        QTest::newRow("text as typed") << QLocale::c() << "1" << kSqlText << "01.00   " + kSqlText << "";
        QTest::newRow("empty amount") << QLocale::c() << ""
                                      << "Rent"
                                      << ""
                                      << "Invalid Debt";
        QTest::newRow("amount 0") << QLocale::c() << "0"
                                  << "Rent"
                                  << ""
                                  << "Invalid Debt";
        QTest::newRow("amount rounding to 0.00") << QLocale::c() << "0.004"
                                                 << "Rent"
                                                 << ""
                                                 << "Invalid Debt";
        QTest::newRow("amount of five decimals rounding to 0.00") << QLocale::c() << "0.00499" << "zero" << ""
                                                                 << "Invalid Debt";
        QTest::newRow("lone separator") << QLocale::c() << "."
                                        << "Rent"
                                        << ""
                                        << "Invalid Debt";
    }
    void addDebt() {
        QFETCH(QLocale, locale);
        QFETCH(QString, amount);
        QFETCH(QString, description);
        QFETCH(QString, item);
        QFETCH(QString, message);
        setLocale(locale);
        class frmBank* f = loggedIn();
        f->txtDebt->typeText(amount);
        f->txtDebtDescription->setTextValue(description);
        f->lblAdd[2]->click();
        QCOMPARE(shownTexts(), message.isEmpty() ? QStringList() : QStringList{message});
        const QStringList items = item.isEmpty() ? QStringList() : QStringList{item};
        QCOMPARE(debtItems(f), items);
        QCOMPARE(debtsFileLines("4711"), items);
        QCOMPARE(f->txtDebt->Text(), QString());
        QCOMPARE(f->txtDebtDescription->Text(), QString());
    }

    void debtTooLongIsRefused() {
        class frmBank* f = loggedIn();
        f->txtDebt->typeText(QStringLiteral("100000"));
        f->txtDebtDescription->setTextValue(QStringLiteral("Boat"));
        f->lblAdd[2]->click();
        QVERIFY(MsgBoxSeam::last().text.startsWith(QStringLiteral("Problem: Adding/Clearing\n")));
        QCOMPARE(f->txtDebt->Text(), QStringLiteral("100000.00"));
        QCOMPARE(f->txtDebtDescription->Text(), QStringLiteral("Boat"));
        QCOMPARE(debtItems(f), QStringList());
    }

    void debtsTotalIsExact() {
        QStringList lines;
        for (int i = 0; i < 250; ++i) lines << "\"12.50   Item " + QString::number(i) + "\"";
        lines << "\"32767.50Big\"";
        writeFile("4711Debts.qem", lines.join("\r\n").toLatin1() + "\r\n");
        class frmBank* f = loggedInAgain();
        QCOMPARE(f->lstDebts->count(), 251);
        QCOMPARE(objBank->LastDebtsBalance, money(250 * 12.5 + 32767.5));
        QCOMPARE(f->lblDebtsTotal->Caption(), QStringLiteral("$35892.50"));
        QCOMPARE(colorOf(f->lblDebtsTotal), QColor(255, 0, 0));
        QCOMPARE(debtsFileLines("4711").size(), 251);
    }

    // The log-in reads the debts file and writes nothing back.
    void logInOnlyReadsTheDebts() {
        const QByteArray bytes("\"12.50   Rent\"\r\"02.25   M\xfcller\"\r");
        writeFile("4711Debts.qem", bytes);
        class frmBank* f = loggedInAgain();
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(debtItems(f), QStringList({"12.50   Rent", QString::fromUtf8("02.25   Müller")}));
        QCOMPARE(f->lblDebtsTotal->Caption(), QStringLiteral("$14.75"));
        QCOMPARE(readFile("4711Debts.qem"), bytes);
    }

    // The debts file as the log-in finds it: what can be read is listed and
    // totalled, what cannot is written back unchanged with the next change.
    void debtsFileTakenUp_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("newAccount");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QByteArray>("saved");
        const QByteArray debts("\"12.50   Rent\"\r\n\"02.25   Milk\"\r\n");
        const QByteArray damaged("\"12.50   Rent\"\r\n\"05.00   Bad\x0bline\"\r\n\"02.25   Milk\"\r\n");
        const QStringList items{"12.50   Rent", "02.25   Milk"};
        QTest::newRow("one damaged line")
            << "English" << false << damaged << items
            << QStringList{"1 line of \"4711Debts.qem\" could not be read. It stays in the file as it is."}
            << damaged + "\"05.00   \"\r\n";
        QTest::newRow("a new account whose debts file exists")
            << "English" << true << debts << items << QStringList() << debts + "\"05.00   \"\r\n";
        QTest::newRow("German: a file that is not text")
            << "German" << false << QByteArray(64, '\0') + "\"12.50   Rent\"\r\n" << QStringList()
            << QStringList{QString::fromUtf8("Die Datei \"4711Debts.qem\" ist beschädigt: sie ist keine Textdatei. "
                                             "Sie wurde nicht gelesen und bleibt, wie sie ist.")}
            << QByteArray("\"05.00   \"\r\n");
    }
    void debtsFileTakenUp() {
        QFETCH(QString, language);
        QFETCH(bool, newAccount);
        QFETCH(QByteArray, file);
        QFETCH(QStringList, items);
        QFETCH(QStringList, messages);
        QFETCH(QByteArray, saved);
        writeFile("4711Debts.qem", file);
        useLanguage(language);
        class frmBank* f = newAccount ? loggedIn() : loggedInAgain();
        QCOMPARE(shownTexts(), messages);
        QCOMPARE(debtItems(f), items);
        QCOMPARE(objBank->LastDebtsBalance, items.isEmpty() ? money(0) : money(14.75));
        f->txtDebt->typeText(QStringLiteral("5"));
        f->lblAdd[2]->click();
        QCOMPARE(readFile("4711Debts.qem"), saved);
    }

    // A debts file that cannot be written keeps no one out; a change of
    // the debts then says it cannot be saved.
    void debtsFileNotWritable() {
        QDir(programFolder()).mkdir("4711Debts.qem");
        class frmBank* f = loggedInAgain();
        for (const QString& text : shownTexts()) QVERIFY2(!text.startsWith(QStringLiteral("Problem")), qPrintable(text));
        QVERIFY(bLoggedIn);
        QVERIFY(f->fraCheckings->isVisible());
        QCOMPARE(f->lblDebtsTotal->Caption(), QStringLiteral("$0.00"));
        MsgBoxSeam::clear();
        f->txtDebt->typeText(QStringLiteral("5"));
        f->lblAdd[2]->click();
        QVERIFY(MsgBoxSeam::last().text.startsWith(QStringLiteral("Problem: Adding/Clearing\n70: Permission denied")));
        QCOMPARE(debtItems(f), QStringList());
    }

    // A debts file that is there but cannot be read at the log-in is named
    // once, with the reason; the debts added then do not replace it, even
    // when it can be read again by then (the list then shows it again).
    void unreadableDebtsFile_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QStringList>("listed");
        const QString name("(\"4711Debts.qem\" ");
        QTest::newRow("a read that failed once") << "I/O error once"
            << "57: Device I/O error " + name + "could not be read)" << QStringList{"12.50   Rent", "02.25   Milk"};
        QTest::newRow("a folder in its place") << "folder" << "70: Permission denied " + name + "is a folder)"
                                               << QStringList();
        QTest::newRow("a pipe") << "pipe" << "75: Path/File access error " + name + "is not a regular file)"
                                << QStringList();
        QTest::newRow("a link to a device") << "device" << "75: Path/File access error " + name + "is not a regular file)"
                                            << QStringList();
    }
    void unreadableDebtsFile() {
        QFETCH(QString, how);
        QFETCH(QString, told);
        const QByteArray debts("\"12.50   Rent\"\r\n\"02.25   Milk\"\r\n");
        makeUnreadable("4711Debts.qem", how, debts);
        class frmBank* f = loggedInAgain();
        QVERIFY(bLoggedIn);
        QCOMPARE(shownTexts(), QStringList{told.section(": ", 1)});
        QCOMPARE(debtItems(f), QStringList());
        f->txtDebt->typeText(QStringLiteral("5"));
        f->txtDebtDescription->typeText(QStringLiteral("Milk"));
        f->lblAdd[2]->click();
        QCOMPARE(shownTexts(), (QStringList{told.section(": ", 1), "Problem: Adding/Clearing\n" + told.section(" (", 0, 0) +
                                                                       " (\"4711Debts.qem\" could not be read when it was "
                                                                       "opened and is not replaced)"}));
        QTEST(debtItems(f), "listed");
        QVERIFY(unreadableKept("4711Debts.qem", how, debts));
    }

    // A failure after the log-in panel was left brings the panel back.
    void failedLogInLeavesThePanel() {
        {
            Store s;
            Ledger::addAccount(s.c, "4711", "Doe", "Jane");
            s.c.Execute(QStringLiteral("ALTER TABLE Checkings RENAME COLUMN Chk_Balance TO Other"));
        }
        class frmBank* f = openBank();
        enter(f, QStringLiteral("4711"), f->optUser);
        QVERIFY(MsgBoxSeam::last().text.startsWith(QStringLiteral("Problem: Could Not Access Database\n")));
        QVERIFY(f->fraUser->isVisible());
        QVERIFY(!f->fraCheckings->isVisible());
        QVERIFY(!bLoggedIn);
        QCOMPARE(cnBank().State(), int(Ado::adStateClosed));
    }

    // A debt holding a character Windows-1252 has not comes back as typed.
    void debtKeepsEveryCharacter() {
        class frmBank* f = loggedIn();
        f->txtDebt->typeText(QStringLiteral("5"));
        f->txtDebtDescription->setTextValue(QString::fromUtf8("Gdańsk"));
        f->lblAdd[2]->click();
        f->Unload();
        f = openBank();
        enter(f, QStringLiteral("4711"), f->optUser);
        QCOMPARE(debtItems(f), QStringList{QString::fromUtf8("05.00   Gdańsk")});
        QCOMPARE(f->lblDebtsTotal->Caption(), QStringLiteral("$5.00"));
    }

    void reimburseOne() {
        class frmBank* f = loggedIn();
        f->optEuro->click();
        for (const char* amount : {"5", "7"}) {
            f->txtDebt->typeText(QString::fromLatin1(amount));
            f->lblAdd[2]->click();
        }
        f->lstDebts->setCurrentRow(0);
        MsgBoxSeam::clear();
        MsgBoxSeam::queueAnswer(vbYes);
        f->lblDel[2]->click();
        QCOMPARE(shownTexts(), QStringList{QString::fromUtf8("Did you really reimburse ''€05.00   ''")});
        QCOMPARE(debtItems(f), QStringList{"07.00   "});
        QCOMPARE(debtsFileLines("4711"), QStringList{"07.00   "});
        QCOMPARE(f->lblDebtsTotal->Caption(), QString::fromUtf8("€7.00"));
    }

    void reimburseAll_data() {
        QTest::addColumn<bool>("writable");
        QTest::newRow("file written") << true;
        QTest::newRow("file cannot be written") << false;
    }
    void reimburseAll() {
        QFETCH(bool, writable);
        class frmBank* f = loggedIn();
        f->txtDebt->typeText(QStringLiteral("12.5"));
        f->lblAdd[2]->click();
        if (!writable) {
            // A folder where the file should be: nothing can replace it.
            QFile::remove(App::dataFile("4711Debts.qem"));
            QDir(programFolder()).mkdir("4711Debts.qem");
        }
        MsgBoxSeam::clear();
        MsgBoxSeam::queueAnswer(vbYes);
        f->cmdKillDebts->click();
        QCOMPARE(MsgBoxSeam::shown().first().text, QStringLiteral("Did you really reimburse ''$12.50''"));
        if (writable) {
            QCOMPARE(shownTexts().size(), 1);
            QCOMPARE(debtItems(f), QStringList());
            QCOMPARE(f->lblDebtsTotal->Caption(), QStringLiteral("$0.00"));
            QCOMPARE(debtsFileLines("4711"), QStringList());
        } else {
            QVERIFY(MsgBoxSeam::last().text.startsWith(QStringLiteral("Problem: Reimburse\n")));
            // The list shows what the file holds (here: nothing readable).
            QCOMPARE(debtItems(f), QStringList());
        }
    }

    // --- Input rules ------------------------------------------------------

    // What each field takes as typed; a pasted amount goes in as the amount
    // it is, or not at all.
    void inputRules_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("field"); // -1: the debt
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("text");
        const int debt = -1;
        QTest::newRow("check number: digits") << QLocale::c() << 0 << "12ab-3" << "" << "123";
        QTest::newRow("date: digits and slash") << QLocale::c() << 1 << "3/1.x2026" << "" << "3/12026";
        QTest::newRow("amount, point settings") << QLocale::c() << 3 << "-1a2.5,0" << "" << "-12.50";
        QTest::newRow("amount, comma settings") << kDE << 3 << "-1a2.5,0" << "" << "-125,0";
        QTest::newRow("transfer amount: no minus") << QLocale::c() << 6 << "-5.5" << "" << "5.5";
        QTest::newRow("description: anything") << QLocale::c() << 2 << "a;'%" << "" << "a;'%";
        QTest::newRow("English: amount pasted in the German form") << kUS << 3 << "7" << "-1.200,00" << "7";
        QTest::newRow("English: debt pasted in the German form") << kUS << debt << "7" << "1.200,00" << "7";
        QTest::newRow("German: amount pasted in the English form") << kDE << 3 << "7" << "-1,200.00" << "7";
        QTest::newRow("English: transfer pasted with a decimal comma") << kUS << 6 << "7" << "1,5" << "7";
        QTest::newRow("German: pasted with blanks and currency sign")
            << kDE << 3 << "7" << QString::fromUtf8("-1 200,00 €") << "7-1200,00";
        QTest::newRow("English: pasted with the group separator in place") << kUS << debt << "7" << "$1,200.00"
                                                                           << "71200.00";
    }
    void inputRules() {
        QFETCH(QLocale, locale);
        QFETCH(int, field);
        QFETCH(QString, keys);
        QFETCH(QString, pasted);
        setLocale(locale);
        class frmBank* f = loggedIn();
        TextBox* box = field < 0 ? f->txtDebt : f->txtDat[field];
        box->typeText(keys);
        if (!pasted.isEmpty()) {
            QApplication::clipboard()->setText(pasted);
            typeKeys(box, QStringLiteral("^V"));
        }
        QTEST(box->Text(), "text");
    }

    void pastesPassTheRules() {
        setLocale(kDE);
        class frmBank* f = loggedIn();
        QApplication::clipboard()->setText(QStringLiteral("12,50x"));
        typeKeys(f->txtDebt, QStringLiteral("^V"));
        QCOMPARE(f->txtDebt->Text(), QStringLiteral("12,50"));
        QApplication::clipboard()->setText(QString(70, u'p'));
        typeKeys(f->cboPayee->lineEdit(), QStringLiteral("^V"));
        QCOMPARE(f->cboPayee->currentText().size(), 64);
        f->Unload();
        f = openBank();
        QApplication::clipboard()->setText(QStringLiteral("1234567890"));
        typeKeys(f->txtPwd, QStringLiteral("^V"));
        QCOMPARE(f->txtPwd->Text(), QStringLiteral("12345678"));
    }

    // The keypad's decimal key gives the key code and the layout's
    // character; the field takes the computer's separator once.
    void keypadSeparator_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("character");
        QTest::addColumn<QString>("text");
        QTest::newRow("US keyboard, amount") << kUS << 3 << "."
                                             << "5.25";
        QTest::newRow("German keyboard, amount") << kDE << 3 << ","
                                                 << "5,25";
        QTest::newRow("German keyboard, transfer amount") << kDE << 6 << ","
                                                          << "5,25";
        QTest::newRow("US keyboard, transfer amount") << kUS << 6 << "."
                                                      << "5.25";
    }
    void keypadSeparator() {
        QFETCH(QLocale, locale);
        QFETCH(int, field);
        QFETCH(QString, character);
        QFETCH(QString, text);
        setLocale(locale);
        class frmBank* f = loggedIn();
        TextBox* box = f->txtDat[field];
        box->typeText(QStringLiteral("5"));
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Period, character, Qt::KeypadModifier);
        box->typeText(QStringLiteral("25"));
        QCOMPARE(box->Text(), text);
    }

    // Enter in the number field moves to the date, which opens the
    // calendar and hands the focus on; a picked day lands in the field.
    void dateFromCalendar() {
        class frmBank* f = loggedIn();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        f->txtDat[0]->setFocus();
        QTest::keyClick(f->txtDat[0], Qt::Key_Return);
        QVERIFY(isFormLoaded<class frmClndr>());
        QVERIFY(frmClndr::FromBank);
        frmClndr()->mvClndr_DateClick(QDate(2026, 3, 3));
        processEvents();
        QCOMPARE(f->txtDat[1]->Text(), QStringLiteral("3 Mar 2026"));
        QVERIFY(!isFormLoaded<class frmClndr>());
    }

    void transferDateHandOver() {
        class frmBank* f = loggedIn();
        f->txtDat_GotFocus(5);
        QVERIFY(bDateForTransfer);
        frmClndr()->mvClndr_DateClick(QDate(2026, 3, 4));
        processEvents();
        f->cboPayee_GotFocus();
        QCOMPARE(f->txtDat[5]->Text(), QStringLiteral("4 Mar 2026"));
        QCOMPARE(f->txtDat[1]->Text(), QString());
        QVERIFY(!bDateForTransfer);
    }

    // With the editor open, a date picked for the transfer goes to the
    // transfer alone; the edited entry keeps its date.
    void transferDateBesideTheEditor() {
        class frmBank* f = loggedIn();
        addEntry(f, "7 Jan 2026", "-5", "A");
        addEntry(f, "9 Jan 2026", "-6", "B");
        pick(f, 1);
        f->txtDat_GotFocus(5);
        frmClndr()->mvClndr_DateClick(QDate(2026, 1, 5));
        processEvents();
        QCOMPARE(f->txtDat[5]->Text(), QStringLiteral("5 Jan 2026"));
        QCOMPARE(f->txtDat[1]->Text(), QStringLiteral("7 Jan 2026"));
        f->lblDel[0]->click();
        Store s;
        QCOMPARE(Ledger::entries(s.c, Register::Checkings, "4711").first().date, QDate(2026, 1, 7));
    }

    // The calendar closed without a pick leaves the entry date field to
    // the next row opened.
    void transferCalendarClosedWithoutPick() {
        class frmBank* f = loggedIn();
        addEntry(f, "7 Jan 2026", "-5", "A");
        f->txtDat_GotFocus(5);
        frmClndr()->Unload();
        processEvents();
        QVERIFY(!bDateForTransfer);
        pick(f, 1);
        QCOMPARE(f->txtDat[1]->Text(), QStringLiteral("7 Jan 2026"));
        QCOMPARE(f->txtDat[5]->Text(), QString());
    }

    // Tab and Shift+Tab go round the account book: a date field opens the
    // calendar and, after Escape there, the key goes on past it in its own
    // direction; the way round ends in the register shown, never in the
    // register hidden.
    void tabReachesEveryControl_data() {
        QTest::addColumn<bool>("savings");
        QTest::addColumn<bool>("backwards");
        QTest::newRow("checkings, Tab") << false << false;
        QTest::newRow("checkings, Shift+Tab") << false << true;
        QTest::newRow("savings, Tab") << true << false;
        QTest::newRow("savings, Shift+Tab") << true << true;
    }
    void tabReachesEveryControl() {
        QFETCH(bool, savings);
        QFETCH(bool, backwards);
        class frmBank* f = loggedIn();
        if (savings) f->lblSwitch[1]->click();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        QList<QWidget*> ring{f->txtDat[3],  f->txtDat[4],   f->lstDebts,     f->txtDebt,  f->txtDebtDescription,
                             f->cmdKillDebts, f->cboFromTo, f->txtDat[6],   f->cmdTransfer, f->cmdBudget,
                             f->cmdCalc,      f->cmdPrint,  f->cboYear,     f->cboMonth};
        if (!savings) ring << f->txtDat[0] << f->cboPayee << f->txtDat[2] << f->lblReconcile << f->cboCat;
        QWidget* start = backwards ? static_cast<QWidget*>(f->cboMonth) : f->txtDat[savings ? 3 : 0];
        start->setFocus();
        FlexGrid* shown = savings ? f->flxgrid2 : f->flxGrid;
        QList<QWidget*> reached{start};
        while (reached.size() < 60 && !dynamic_cast<FlexGrid*>(reached.last())) {
            QTest::keyClick(reached.last(), Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
            if (isFormLoaded<class frmClndr>()) {
                QTest::keyClick(frmClndr()->focusWidget(), Qt::Key_Escape);
                processEvents();
                f->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(f));
            }
            reached << f->focusWidget();
        }
        QCOMPARE(reached.last(), static_cast<QWidget*>(shown));
        for (QWidget* w : ring) QVERIFY2(reached.contains(w), qPrintable(w->accessibleName()));
        // The currency choice, at its option checked or the one the key meets first.
        QVERIFY(reached.contains(f->optDollar) || reached.contains(f->optEuro));
        QVERIFY(!reached.contains(f->txtDat[1]) && !reached.contains(f->txtDat[5]));
    }

    // --- Side buttons and looks -------------------------------------------

    void calculatorFromBank() {
        class frmBank* f = loggedIn();
        f->cmdCalc->click();
        QVERIFY(frmCalc::FromBank);
        class frmCalc* calc = frmCalc();
        QVERIFY(calc->isVisible());
        QVERIFY(calc->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(qAbs(calc->frameGeometry().center().x() - f->frameGeometry().center().x()) <= 1);
        calc->Unload();
        processEvents();
        QVERIFY(!frmChoice()->isVisible());
        QCOMPARE(Form::activeForm(), static_cast<Form*>(f));
        f->Unload();
        QVERIFY(!frmCalc::FromBank);
        QVERIFY(frmChoice()->isVisible());
    }

    void labelLooks() {
        class frmBank* f = loggedIn();
        f->lblAdd[1]->onMouseMove(0, 0, 1, 1);
        QCOMPARE(colorOf(f->lblAdd[1]), QColor(0, 128, 0));
        f->lblDel[1]->onMouseMove(0, 0, 1, 1);
        QCOMPARE(colorOf(f->lblAdd[1]), QColor(0, 192, 0));
        QCOMPARE(colorOf(f->lblDel[1]), QColor(255, 0, 0));
        f->flxGrid->onMouseMove(0, 0, 1, 1);
        QCOMPARE(colorOf(f->lblDel[1]), QColor(255, 128, 128));
        QTest::mousePress(f->lblAdd[2], Qt::LeftButton);
        QCOMPARE(f->lblAdd[2]->FontSize(), 19.75);
        QTest::mouseRelease(f->lblAdd[2], Qt::LeftButton);
        QCOMPARE(f->lblAdd[2]->FontSize(), 22.0);
        QTest::mousePress(f->lblSwitch[1], Qt::LeftButton);
        QCOMPARE(f->lblSwitch[1]->FontSize(), 14.75);
        QTest::mouseRelease(f->lblSwitch[1], Qt::LeftButton);
        QCOMPARE(f->lblSwitch[1]->FontSize(), 16.0);
        QVERIFY(!f->checkingsShown());
    }

    void labelButtonsKeepApart_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QStringLiteral("English");
        QTest::newRow("German") << QStringLiteral("German");
    }

    void labelButtonsKeepApart() {
        QFETCH(QString, language);
        useLanguage(language);
        class frmBank* f = loggedIn();
        // The editor's row reads "Add Upd ... Del New"; each caption, even at
        // the size a press leaves, ends a visible gap before the next one.
        const std::array<Label*, 4> row{f->lblAdd[0], f->lblDel[0], f->lblDel[1], f->lblAdd[1]};
        for (std::size_t i = 0; i + 1 < row.size(); ++i) {
            QFont pressed = row[i]->font();
            pressed.setPointSizeF(22);
            const int textEnd = row[i]->x() + QFontMetrics(pressed).horizontalAdvance(row[i]->text());
            QVERIFY2(textEnd + Form::px(60) <= row[i + 1]->x(), qPrintable(row[i]->text() + row[i + 1]->text()));
            QVERIFY(textEnd <= row[i]->x() + row[i]->width());
        }
    }

    // --- A writer killed at random moments --------------------------------

    void killedWriterLeavesSoundDatabase() {
        {
            Store s;
            Ledger::addAccount(s.c, "7", "Doe", "Jane");
            for (int i = 0; i < 20; ++i) book(s.c, Register::Checkings, "7", QDate(2026, 1, 1).addDays(i), 10);
        }
        QRandomGenerator rnd(20260315);
        qsizetype rows = 0;
        for (int round = 0; round < 50; ++round) {
            QProcess writer;
            writer.start(QStringLiteral(BANK_WRITER), {bankFile(), QStringLiteral("7"), QString::number(round)});
            QVERIFY(writer.waitForStarted());
            QVERIFY(writer.waitForReadyRead(10000));
            QThread::msleep(rnd.bounded(5, 60));
            writer.kill();
            QVERIFY(writer.waitForFinished());
            Store s;
            // Balances hold; every transfer has both halves, linked both ways.
            checkPairs(s.c, "7");
            if (QTest::currentTestFailed()) return;
            rows = Ledger::entries(s.c, Register::Checkings, "7").size();
        }
        // The writer got work done between the kills.
        QVERIFY(rows > 20);
    }
};

QTEST_MAIN(TestBank)
#include "tst_bank.moc"
