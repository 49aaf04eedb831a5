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
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
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
// A store "Voc.mdb" with the word alpha committed, left beside the program
// as a killed writer leaves it: "journal", 300 more rows of x committed,
// then a change of them all to y spilled into the file with its journal
// beside it; "log", beta committed after
// alpha, both only in the write-ahead log; "damaged", a header and no pages.
// Words are read by their first five letters.
void leaveStore(const QString& left) {
    if (left == "damaged") {
        writeFile("Voc.mdb", QByteArray("SQLite format 3", 16) + QByteArray(4080, 'x'));
        return;
    }
    QTemporaryDir scratch;
    const QString file = scratch.path() + "/Voc.mdb";
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "writer");
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery q(db);
        if (left == "log") {
            QVERIFY(q.exec("PRAGMA journal_mode=WAL"));
            QVERIFY(q.exec("PRAGMA wal_autocheckpoint=0"));
        }
        QVERIFY(q.exec("CREATE TABLE Words (Word TEXT)"));
        QVERIFY(q.exec("INSERT INTO Words VALUES ('alpha')"));
        if (left == "log") QVERIFY(q.exec("INSERT INTO Words VALUES ('beta')"));
        if (left == "journal") {
            QVERIFY(q.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                           "INSERT INTO Words SELECT printf('%.500c', 'x') FROM n"));
            const QByteArray committed = Storage::read(file).value_or("?");
            QVERIFY(q.exec("PRAGMA cache_size=1"));
            QVERIFY(q.exec("BEGIN"));
            QVERIFY(q.exec("UPDATE Words SET Word = printf('%.500c', 'y') WHERE Word <> 'alpha'"));
            // The change has reached the file itself, not only the cache.
            QVERIFY(Storage::read(file).value_or("?") != committed);
        }
        for (const QString suffix : {"", "-journal", "-wal"})
            if (QFileInfo::exists(file + suffix)) QVERIFY(QFile::copy(file + suffix, App::file("Voc.mdb" + suffix)));
        q.finish();
        if (left == "journal") QVERIFY(q.exec("ROLLBACK"));
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase("writer");
}

// What the per-user folder holds, hidden files and folders too.
QStringList userFolderContents() {
    return QDir(App::dataFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot);
}

// A word added to "Words.qem" or "Voc.mdb" in the data folder, as a session
// of the program adds it; and every word the data folder holds.
void addWord(const QString& name, const QString& word) {
    std::optional<RuntimeError> failed;
    const QString file = App::dataFile(name, App::Access::Write, &failed);
    QVERIFY(!failed);
    if (name.endsWith(".mdb")) {
        Connection c("test");
        c.Open(file);
        c.Execute("CREATE TABLE IF NOT EXISTS Words (Word TEXT)");
        c.Execute("INSERT INTO Words VALUES (?)", {word});
        return;
    }
    const QByteArray held = QFile::exists(file) ? Storage::read(file).value_or("?") : QByteArray();
    QVERIFY(Storage::save(file, held + word.toUtf8() + "\r\n"));
}
QStringList wordsIn(const QString& store) {
    Connection c("test");
    c.Open(store);
    QStringList all;
    if (!c.hasTable("Words")) return all;
    QSqlQuery q = c.select("SELECT substr(Word, 1, 5) FROM Words GROUP BY 1 ORDER BY min(rowid)");
    while (Ado::next(q)) all << q.value(0).toString();
    return all;
}
QStringList words(const QString& name) {
    if (name.endsWith(".mdb")) return wordsIn(App::dataFile(name, App::Access::Write));
    const QString file = App::dataFile(name);
    if (!QFile::exists(file)) return {};
    return QString::fromUtf8(Storage::read(file).value_or("?")).split("\r\n", Qt::SkipEmptyParts);
}
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

    // The program folder cannot be written and a store beside it is copied
    // to the per-user folder: the copy holds what the engine reads from the
    // store (a half-done change rolled back, committed words of the log
    // taken in), or is refused, naming the store, with nothing left behind.
    // The files beside the program are never written.
    void storeCopiedAsTheEngineReadsIt_data() {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QStringList>("words"); // none: refused
        QTest::newRow("a change killed with its journal beside") << "journal" << QStringList{"alpha", "xxxxx"};
        QTest::newRow("committed words only in the log") << "log" << QStringList{"alpha", "beta"};
        QTest::newRow("a damaged store") << "damaged" << QStringList{};
    }
    void storeCopiedAsTheEngineReadsIt() {
        QFETCH(QString, left);
        leaveStore(left);
        if (QTest::currentTestFailed()) return;
        QStringList beside = QDir(programFolder()).entryList({"Voc.mdb*"}, QDir::Files);
        QMap<QString, QByteArray> bytes;
        for (const QString& name : beside) bytes[name] = readFile(name);
        App::setProgramFolderWritable(false);
        std::optional<RuntimeError> failed;
        const QString copy = App::dataFile("Voc.mdb", App::Access::Write, &failed);
        const QString mark = QFileInfo(App::dataFolderMark()).fileName();
        QFETCH(QStringList, words);
        if (words.isEmpty()) {
            QVERIFY(failed);
            QVERIFY2(failed->description.contains(QDir::toNativeSeparators(App::file("Voc.mdb"))),
                     qPrintable(failed->description));
            QCOMPARE(userFolderContents(), QStringList{mark});
        } else {
            QVERIFY2(!failed, failed ? qPrintable(failed->description) : "");
            QCOMPARE(userFolderContents(), (QStringList{mark, "Voc.mdb"}));
            QCOMPARE(wordsIn(copy), words);
        }
        for (const QString& name : beside) QCOMPARE(readFile(name), bytes[name]);
    }

    // Session one adds alpha with the program folder writable, session two
    // beta while it cannot be written (installed read-only, write-protected,
    // or a probe that failed once), session three gamma with it writable
    // again: each session finds what the one before saved.
    void sessionsFindTheLastSaves_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("failedProbes"); // in the second session; -1: the folder is read-only
        QTest::addColumn<QString>("dataFolder");
        QTest::newRow("a kept file") << "Words.qem" << -1 << "UserData";
        QTest::newRow("a store") << "Voc.mdb" << -1 << "UserData";
        QTest::newRow("one probe failing once") << "Voc.mdb" << 1 << ".";
        QTest::newRow("the probe failing twice") << "Words.qem" << 2 << "UserData";
    }
    void sessionsFindTheLastSaves() {
        QFETCH(QString, name);
        QFETCH(int, failedProbes);
        const QStringList added{"alpha", "beta", "gamma"};
        for (int session = 0; session < 3; ++session) {
            const bool second = session == 1;
            if (failedProbes < 0) App::setProgramFolderWritable(!second);
            else App::failProbes(second ? failedProbes : 0);
            QCOMPARE(words(name), added.mid(0, session));
            addWord(name, added[session]);
        }
        QCOMPARE(words(name), added);
        QTEST(QDir(programFolder()).relativeFilePath(App::dataFolder()), "dataFolder");
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
