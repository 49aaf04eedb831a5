// The data layers: the database (opening, bound values, rows added,
// changed and deleted through a record set, transactions and their
// nesting), and whole files read (whole or not at all) and saved.
#include "Modules/modLanguage.h"
#include "Platform/Ado.h"
#include "Platform/App.h"
#include "Platform/Memory.h"
#include "Platform/SaveError.h"
#include "Platform/Storage.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <cerrno>

using namespace TestSupport;
using namespace Ado;

namespace {
// An open database with one table of people.
struct Db {
    Connection c{"test"};
    Db() {
        c.Open(App::dataFile("test.db", App::Access::Write));
        c.Execute("CREATE TABLE People (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, Amount INTEGER DEFAULT 5)");
    }
    qint64 count() { return c.scalar("SELECT count(*) FROM People").toLongLong(); }
};
} // namespace

class TestData : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void openCreatesAndReuses() {
        Db db;
        QCOMPARE(db.c.State(), int(adStateOpen));
        QVERIFY(QFile::exists(App::dataFile("test.db")));
        db.c.Open(App::dataFile("test.db", App::Access::Write));
        QVERIFY(db.c.hasTable("people"));
        QVERIFY(!db.c.hasTable("Other"));
        db.c.Close();
        QCOMPARE(db.c.State(), int(adStateClosed));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, db.c.Execute("SELECT 1"));
    }

    void notADatabase() {
        const QByteArray text = QByteArray("These are not the rows you are looking for.\r\n").repeated(50);
        writeFile("Voc.mdb", text);
        Connection c("test");
        try {
            c.Open(App::dataFile("Voc.mdb", App::Access::Write));
            QFAIL("opened");
        } catch (const RuntimeError& e) {
            QVERIFY(e.number != 0);
            QVERIFY(!e.description.isEmpty());
        }
        QCOMPARE(c.State(), int(adStateClosed));
        QCOMPARE(readFile("Voc.mdb"), text);
    }

    void boundValues_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("apostrophe") << "O'Brien";
        QTest::newRow("statement in a name") << "'; DROP TABLE People; --";
        QTest::newRow("double quotes") << "\"quoted\"";
        QTest::newRow("beyond ASCII") << QString::fromUtf8("Grüße €");
    }
    void boundValues() {
        QFETCH(QString, name);
        Db db;
        db.c.Execute("INSERT INTO People (Name) VALUES (?)", {name});
        Recordset rs;
        rs.Open("SELECT * FROM People WHERE Name = ?", db.c, {name});
        QVERIFY(!rs.Eof());
        QCOMPARE(rs.Fields("name").toString(), name);
        QCOMPARE(db.count(), 1);
    }

    void addUpdateDelete() {
        Db db;
        Recordset rs;
        rs.Open("SELECT * FROM People ORDER BY ID", db.c);
        QVERIFY(rs.Eof() && rs.Bof());
        rs.AddNew();
        rs.setField("Name", "Ann");
        rs.Update();
        QCOMPARE(rs.Fields("id").toLongLong(), 1);
        QCOMPARE(rs.Fields("Amount").toInt(), 5);
        rs.AddNew();
        rs.setField("Name", "Bob");
        rs.setField("Amount", 7);
        rs.MoveFirst(); // saves Bob
        QCOMPARE(rs.RecordCount(), 2);
        QCOMPARE(rs.Fields("Name").toString(), QString("Ann"));

        // Only the field set is written: a change made meanwhile stays.
        db.c.Execute("UPDATE People SET Name = 'Anna' WHERE ID = 1");
        rs.setField("Amount", 9);
        rs.Update();
        QCOMPARE(db.c.scalar("SELECT Name || Amount FROM People WHERE ID = 1").toString(), QString("Anna9"));

        rs.Delete();
        rs.MoveNext();
        QCOMPARE(rs.Fields("Name").toString(), QString("Bob"));
        rs.MoveNext();
        QVERIFY(rs.Eof());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, rs.Fields("Name"));
        QCOMPARE(db.c.scalar("SELECT group_concat(Name) FROM People").toString(), QString("Bob"));
    }

    void errorsCarryTheDriversText() {
        Db db;
        Recordset rs;
        try {
            rs.Open("SELECT * FROM Nowhere", db.c);
            QFAIL("opened");
        } catch (const RuntimeError& e) {
            QVERIFY(e.number != 0);
            QVERIFY2(e.description.contains("no such table"), qPrintable(e.description));
        }
        rs.Open("SELECT count(*) AS n FROM People GROUP BY Name", db.c);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, rs.AddNew());
        rs.Open("SELECT * FROM People", db.c);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, rs.Fields("Nobody"));
    }

    void rollbackOnException() {
        Db db;
        try {
            Transaction t(db.c);
            db.c.Execute("INSERT INTO People (Name) VALUES ('a')");
            throw RuntimeError(5, "failed half way");
        } catch (const RuntimeError&) {
        }
        QVERIFY(!db.c.inTransaction());
        QCOMPARE(db.count(), 0);
    }

    void nestedTransactions_data() {
        QTest::addColumn<bool>("innerFails"); // the inner statement fails, and the engine ends the transaction
        QTest::addColumn<bool>("innerCommits");
        QTest::addColumn<bool>("outerCommits");
        QTest::addColumn<bool>("outerThrows");
        QTest::addColumn<qint64>("rows");
        QTest::newRow("both commit") << false << true << true << false << qint64(2);
        QTest::newRow("inner rolls back") << false << false << true << true << qint64(0);
        QTest::newRow("outer rolls back") << false << true << false << false << qint64(0);
        QTest::newRow("engine ends it, the caller goes on") << true << true << true << true << qint64(0);
    }
    void nestedTransactions() {
        QFETCH(bool, innerFails);
        QFETCH(bool, innerCommits);
        QFETCH(bool, outerCommits);
        Db db;
        db.c.BeginTrans();
        db.c.Execute("INSERT INTO People (Name) VALUES ('outer')");
        db.c.BeginTrans();
        if (innerFails)
            QVERIFY_THROWS_EXCEPTION(RuntimeError, db.c.Execute("INSERT OR ROLLBACK INTO People (ID, Name) VALUES (1, 'inner')"));
        else
            db.c.Execute("INSERT INTO People (Name) VALUES ('inner')");
        innerCommits ? db.c.CommitTrans() : db.c.RollbackTrans();
        // Every statement after the end of the transaction is refused, a read too.
        if (!innerCommits || innerFails) {
            QVERIFY_THROWS_EXCEPTION(RuntimeError, db.c.Execute("INSERT INTO People DEFAULT VALUES"));
            QVERIFY_THROWS_EXCEPTION(RuntimeError, db.c.scalar("SELECT count(*) FROM People"));
        }
        bool threw = false;
        try {
            outerCommits ? db.c.CommitTrans() : db.c.RollbackTrans();
        } catch (const RuntimeError&) {
            threw = true;
        }
        QTEST(threw, "outerThrows");
        QVERIFY(!db.c.inTransaction());
        QTEST(db.count(), "rows");
        db.c.Execute("INSERT INTO People DEFAULT VALUES"); // usable again
    }

    // A file is read whole or not at all, and only a regular file is read:
    // what cannot be read is an error naming the file, in the program's
    // language; a pipe is not waited on, a device not read.
    void readWholeOrNot_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("readsLater");
        QTest::newRow("reading fails part-way") << "I/O error" << "English"
                                                << "57: Device I/O error (\"t.txt\" could not be read)" << false;
        QTest::newRow("reading fails part-way, German")
            << "I/O error" << "German" << QString::fromUtf8("57: Geräte-E/A-Fehler (\"t.txt\" konnte nicht gelesen werden)")
            << false;
        QTest::newRow("the first reading fails, the next works")
            << "I/O error once" << "English" << "57: Device I/O error (\"t.txt\" could not be read)" << true;
        QTest::newRow("no read permission") << "no permission" << "English"
                                            << "70: Permission denied (\"t.txt\" could not be read)" << false;
        QTest::newRow("a pipe") << "pipe" << "English" << "75: Path/File access error (\"t.txt\" is not a regular file)"
                                << false;
        QTest::newRow("a pipe, German") << "pipe" << "German"
                                        << "75: Fehler beim Zugriff auf Pfad/Datei (\"t.txt\" ist keine reguläre Datei)"
                                        << false;
        QTest::newRow("a link to a device") << "device" << "English"
                                            << "75: Path/File access error (\"t.txt\" is not a regular file)" << false;
        QTest::newRow("a folder") << "folder" << "English" << "70: Permission denied (\"t.txt\" is a folder)" << false;
        QTest::newRow("larger than a kept file may be")
            << "too large" << "English" << "7: Out of memory (\"t.txt\" is larger than 64 MB, more than the program reads)"
            << false;
        QTest::newRow("larger than the memory left")
            << "memory" << "English"
            << "7: Out of memory (\"t.txt\" is larger than the memory the program can still take)" << false;
        QTest::newRow("larger than the memory left, German")
            << "memory" << "German"
            << QString::fromUtf8("7: Nicht genügend Speicher (\"t.txt\" ist größer als der Speicher, den das Programm "
                                 "noch belegen kann)")
            << false;
        QTest::newRow("too many files open") << "too many files" << "English"
                                             << "67: Too many files (\"t.txt\" could not be read)" << false;
    }
    void readWholeOrNot() {
        QFETCH(QString, how);
        QFETCH(QString, language);
        QFETCH(bool, readsLater);
        CurrentLanguage = language;
        const QByteArray bytes = QByteArray("a line of the file\r\n").repeated(10000);
        if (how == "memory" || how == "too many files") {
            writeFile("t.txt", bytes);
            // A computer short of memory; a process out of descriptors at every open.
            if (how == "memory") Memory::failAbove(bytes.size() - 1);
            else Storage::failReading(App::file("t.txt"), EMFILE);
        } else {
            makeUnreadable("t.txt", how, bytes);
        }
        RuntimeError why(0, QString());
        QVERIFY(!Storage::read(App::file("t.txt"), &why, Storage::kLargestKeptFile));
        QTEST(QString::number(why.number) + ": " + why.description, "error");
        QCOMPARE(Storage::read(App::file("t.txt"), &why, Storage::kLargestKeptFile),
                 readsLater ? std::optional<QByteArray>(bytes) : std::nullopt);
        QVERIFY(unreadableKept("t.txt", how, bytes));
    }

    // A save whose temporary file cannot be made, or whose last step, giving
    // the new file its name, fails, says why by the system's error; the old
    // file stays and nothing of the save is left beside it.
    void renameFailures_data() {
        QTest::addColumn<bool>("atRename");
        QTest::addColumn<int>("errnoValue");
        QTest::addColumn<QString>("error");
        QTest::newRow("a device error") << true << EIO << "57: Device I/O error";
        QTest::newRow("no room for the name") << true << ENOSPC << "61: Disk full";
        QTest::newRow("over the quota") << true << EDQUOT << "61: Disk full";
        QTest::newRow("any other reason") << true << EACCES << "70: Permission denied";
        QTest::newRow("temporary file: a device error") << false << EIO << "57: Device I/O error";
        QTest::newRow("temporary file: no room") << false << ENOSPC << "61: Disk full";
        QTest::newRow("temporary file: read-only file system") << false << EROFS << "70: Permission denied";
        QTest::newRow("temporary file: no descriptor left") << false << EMFILE << "67: Too many files";
    }
    void renameFailures() {
        QFETCH(bool, atRename);
        QFETCH(int, errnoValue);
        writeFile("t.txt", "old");
        Storage::failNextSave(errnoValue, atRename);
        RuntimeError e(0, QString());
        QVERIFY(!Storage::save(App::file("t.txt"), "new", &e));
        QTEST(QString::number(e.number) + ": " + e.description, "error");
        QCOMPARE(readFile("t.txt"), QByteArray("old"));
        QCOMPARE(QDir(programFolder()).entryList({"*t.txt*"}, QDir::Files | QDir::Hidden), QStringList{"t.txt"});
    }

    void keysBeyond32Bits() {
        Db db;
        const qint64 big = 3000000000LL;
        db.c.Execute("INSERT INTO People (ID, Name) VALUES (?, ?)", {big, "big"});
        Recordset rs;
        rs.Open("SELECT ID, Name FROM People WHERE ID = ?", db.c, {big});
        QCOMPARE(rs.Fields("ID").toLongLong(), big);
        rs.setField("Name", "changed");
        rs.Update();
        rs.AddNew();
        rs.Update();
        QCOMPARE(rs.Fields("ID").toLongLong(), big + 1);
        QCOMPARE(db.c.scalar("SELECT Name FROM People WHERE ID = ?", {big}).toString(), QString("changed"));
    }
};

QTEST_MAIN(TestData)
#include "tst_platform_data.moc"
