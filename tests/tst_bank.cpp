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
#include "Forms/Main/frmChoice.h"
#include "Modules/modBank.h"
#include "Modules/modLanguage.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

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

// The editor's fields typed and "Add" pressed.
void addEntry(class frmBank* f, const QString& date, const QString& amount, const QString& payee = QStringLiteral("Shop"),
              const QString& number = QString(), const QString& description = QString()) {
    f->txtDat[0]->setTextValue(number);
    f->txtDat[1]->setTextValue(date);
    f->cboPayee->setEditText(payee);
    f->txtDat[2]->setTextValue(description);
    f->txtDat[3]->setTextValue(amount);
    f->lblAdd[0]->click();
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
        QTest::newRow("not a database") << QByteArray("Just some text, no database at all.\r\n");
        QByteArray empty;
        {
            // A SQLite database without the bank's tables.
            Ado::Connection c(QStringLiteral("other"));
            c.Open(bankFile());
            c.Execute(QStringLiteral("CREATE TABLE Other (x INTEGER)"));
            c.Close();
            QFile f(bankFile());
            QVERIFY(f.open(QIODevice::ReadOnly));
            empty = f.readAll();
            f.close();
            QFile::remove(bankFile());
        }
        QTest::newRow("database without the tables") << empty;
    }
    void foreignFileIsRefused() {
        QFETCH(QByteArray, bytes);
        writeFile(QStringLiteral("Bank.mdb"), bytes);
        class frmBank* f = openBank();
        enter(f, QStringLiteral("12"), f->optNewUser, QStringLiteral("Doe"), QStringLiteral("Jane"));
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QVERIFY(MsgBoxSeam::last().text.startsWith(QStringLiteral("Problem: OpenBankConnection\n")));
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        QCOMPARE(readFile(QStringLiteral("Bank.mdb")), bytes);
        QVERIFY(f->fraUser->isVisible());
        QVERIFY(!bLoggedIn);
        QCOMPARE(cnBank().State(), int(Ado::adStateClosed));
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
            if (change == "amount -80") e.amount = money(-80);
            else e.date = QDate(2026, 1, 5);
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
        QTest::newRow("one digit") << 5.5 << "." << "05.50";
        QTest::newRow("negative") << -7.5 << "." << "-07.50";
        QTest::newRow("four digits, comma") << 1234.5 << "," << "1234,50";
        QTest::newRow("half a cent away from zero") << -0.005 << "." << "-00.01";
        QTest::newRow("less than half a cent") << -0.0049 << "." << "00.00";
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
        QTest::newRow("empty number") << "English" << "user" << "" << "" << m1 << false;
        QTest::newRow("number with a group separator") << "English" << "user" << "1,000" << "" << m1 << false;
        QTest::newRow("number with an exponent") << "English" << "new" << "1e5" << "Doe" << m1 << false;
        QTest::newRow("number with blanks") << "English" << "new" << " 12 " << "Doe" << m1 << false;
        QTest::newRow("unknown account") << "English" << "user" << "99" << "" << m1 << false;
        QTest::newRow("no option chosen") << "English" << "" << "4711" << "" << m1 << false;
        QTest::newRow("new without a name") << "English" << "new" << "12" << "" << m2 << false;
        QTest::newRow("new beginning with 0") << "English" << "new" << "012" << "Doe" << m3 << false;
        QTest::newRow("new that exists") << "English" << "new" << "4711" << "Doe" << m1 << false;
        QTest::newRow("new account") << "English" << "new" << "12345678" << "Doe" << "" << true;
        QTest::newRow("existing account") << "English" << "user" << "4711" << "" << "" << true;
        QTest::newRow("German: unknown account") << "German" << "user" << "99" << ""
                                                 << QString::fromUtf8("Ungültige Konto#! Bitte geben Sie Ihre Konto# erneut ein!")
                                                 << false;
        QTest::newRow("German: without a name") << "German" << "new" << "12" << ""
                                                << "Bitte geben Sie einen Benutzernamen ein" << false;
        QTest::newRow("German: beginning with 0") << "German" << "new" << "012" << "Doe"
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

    void newAccountLogsInWithItsHolderAndDebtsFile() {
        useLanguage(QStringLiteral("German"));
        class frmBank* f = loggedIn(QStringLiteral("4711"));
        QCOMPARE(f->lblInfo->Caption(), QStringLiteral("Konto#: 4711\r\nName: Doe, Jane"));
        QCOMPARE(f->Caption(), QStringLiteral("ZOV Bank"));
        QCOMPARE(f->lblSwitch[1]->Caption(), QStringLiteral("Sparkonto"));
        QCOMPARE(f->cboMonth->currentText(), QStringLiteral("Alle"));
        QCOMPARE(f->cboFromTo->itemText(0), QStringLiteral("Von Girokonto Zu Sparkonto"));
        QCOMPARE(f->cboCat->itemText(2), QStringLiteral("Hausrat/Betrieb"));
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
        QTest::newRow("US settings, dollar") << kUS << kAmerica << false << "12/31/2003" << "12/31/03" << "$ -05.50" << "$-5.50";
        QTest::newRow("German settings, euro") << kDE << kEurope << true << "31.12.2003" << "31.12.03"
                                               << QString::fromUtf8("€ -05,50") << QString::fromUtf8("€-5,50");
        QTest::newRow("German settings, US region") << kDE << kAmerica << false << "31.12.2003" << "12.31.03"
                                                    << "$ -05,50" << "$-5,50";
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

    // A save that fails halfway (here the correction of the later
    // balances) leaves nothing of itself behind.
    void failedSaveLeavesNothing() {
        class frmBank* f = loggedIn();
        addEntry(f, "10 Mar 2026", "100");
        cnBank().Execute(QStringLiteral("CREATE TRIGGER Refuse BEFORE UPDATE OF Chk_Balance ON Checkings "
                                        "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
        addEntry(f, "1 Mar 2026", "-5");
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QVERIFY(MsgBoxSeam::last().text.startsWith(QStringLiteral("Problem: Checkings Transaction\n")));
        QVERIFY(MsgBoxSeam::last().text.contains(QStringLiteral("disk full")));
        QCOMPARE(column(f->flxGrid, 5), QStringList{"$ 100.00"});
        QCOMPARE(f->lblCheckingsTotal->Caption(), QStringLiteral("$100.00"));
        QVERIFY(!bDateOld);
        Store s;
        QCOMPARE(Ledger::entries(s.c, Register::Checkings, "4711").size(), 1);
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
        QTest::newRow("empty date") << QLocale::c() << "" << "" << "" << "" << QStringList{"Invalid Date"} << 0;
        QTest::newRow("empty amount and payee")
            << QLocale::c() << "1 Mar 2026" << "" << "" << "" << QStringList({"Invalid Transaction", "Please state a payee"}) << 0;
        QTest::newRow("amount 0") << QLocale::c() << "1 Mar 2026" << "0" << "Shop" << "" << QStringList{"Invalid Transaction"} << 0;
        QTest::newRow("comma amount under German settings")
            << kDE << "01.03.2026" << "0,50" << "Shop" << "" << QStringList() << 1;
        QTest::newRow("comma amount under US settings")
            << kUS << "3/1/2026" << "0,50" << "Shop" << "" << QStringList() << 1;
        QTest::newRow("minus sign in the middle")
            << QLocale::c() << "1 Mar 2026" << "5-3" << "Shop" << "" << QStringList{"Invalid Transaction"} << 0;
        QTest::newRow("check number in use")
            << QLocale::c() << "1 Mar 2026" << "-3" << "Shop" << "100"
            << QStringList{"Check number already exists! Please choose a different number"} << 1;
        QTest::newRow("check number in use on a deposit")
            << QLocale::c() << "1 Mar 2026" << "3" << "Shop" << "100" << QStringList() << 2;
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
            for (const Register r : {Register::Checkings, Register::Savings}) QVERIFY(Ledger::balancesHold(s.c, r, "7"));
            const QList<Ledger::Entry> chk = Ledger::entries(s.c, Register::Checkings, "7");
            for (const Ledger::Entry& e : chk) {
                if (!e.link) continue;
                const std::optional<Ledger::Entry> other = Ledger::entry(s.c, Register::Savings, *e.link);
                QVERIFY(other);
                QCOMPARE(other->link, std::optional<qint64>(e.entry));
                QCOMPARE(other->amount, -e.amount);
            }
            rows = chk.size();
        }
        // The writer got work done between the kills.
        QVERIFY(rows > 20);
    }
};

QTEST_MAIN(TestBank)
#include "tst_bank.moc"
