#pragma once
// The database layer of the bank and the vocabulary: a connection to one
// SQLite database file and record sets opened on a query, with the surface
// the program's code uses (open, state, execute, EOF, move, fields by name,
// add, update, delete, close). Query texts take bound values (`?`), never
// pasted user text. Failures throw RuntimeError (number and description of
// the database's error), which handlers show as "Problem: ..." boxes.
//
// Every statement goes through a Connection (Execute, scalar, select, or
// prepare + exec for a statement run many times), so that a transaction
// the database engine ended on its own is noticed: after some failures (a
// disk I/O error, a full disk) SQLite rolls the whole transaction back and
// the connection is in autocommit again. From then on every statement of
// that transaction throws the error that ended it, and so does its commit:
// nothing runs on outside it.
#include "Platform/Errors.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>
#include <optional>

namespace Ado {

enum { adStateClosed = 0, adStateOpen = 1 };

// Steps a query to its next row: false at the end of its rows. A step that
// fails (a damaged file, a lost disk) throws the database's error, so a
// reader never takes the rows before the failure for all of them.
bool next(QSqlQuery& q);

// Every connection is closed and taken out of the toolkit's registry of
// connections while the application object still stands: when its event
// loop ends, or, where the process exits from inside the loop (the display
// server gone), before the toolkit's own clean-up at exit. A connection
// object that outlives that (one held for the whole run) is closed and
// touches the toolkit no more.
class Connection {
public:
    // `name` tells connections apart (one named connection per tool, reused
    // by a repeated open).
    explicit Connection(const QString& name);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens the database file; a missing file is created empty. A file that
    // is not a SQLite database throws. Any other file that holds something
    // is checked whole once (SQLite's quick check of every page and
    // record): a damaged one throws 11 "database disk image is malformed"
    // and is left as it was.
    void Open(const QString& file);
    void Close();
    int State() const;
    QString file() const { return file_; }

    // Runs one statement with bound values; the number of rows it changed.
    qint64 Execute(const QString& sql, const QVariantList& binds = {});
    // The first column of the first row of a query, or an invalid value.
    QVariant scalar(const QString& sql, const QVariantList& binds = {});
    // A query run with bound values, its rows read one at a time with
    // Ado::next (forward only: nothing of the rows is kept).
    QSqlQuery select(const QString& sql, const QVariantList& binds = {});
    // A statement prepared once and run with exec() as often as needed.
    QSqlQuery prepare(const QString& sql);
    void exec(QSqlQuery& q, const QVariantList& binds = {});
    bool hasTable(const QString& table);
    // How many tables the database holds (none: a new or never finished file).
    qint64 tableCount();

    // Transactions; a transaction begun inside another joins it. A rollback
    // at any level, or a failure after which the engine ended the
    // transaction, undoes the whole; until the outermost level ends, every
    // statement throws and the outermost CommitTrans throws instead of
    // committing.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool inTransaction() const { return depth_ > 0; }

    QSqlDatabase database() const;

    // Closes every connection and takes each out of the toolkit's registry.
    static void closeAll();

private:
    friend bool next(QSqlQuery& q);
    // Throws when the running transaction is over: rolled back at an inner
    // level, or ended by the engine.
    void checkTransaction();
    // After a failed statement: whether it ended the running transaction.
    void noteFailure(const RuntimeError& e);
    bool engineInTransaction() const;
    QSqlQuery run(const QString& sql, const QVariantList& binds);

    QString name_;
    QString file_;
    int depth_ = 0;
    bool failed_ = false;
    // The error that ended the transaction; none after a rollback of an inner level.
    std::optional<RuntimeError> ended_;
    bool open_ = false;
};

// Copies the store `source` to `target` (a name not in use) as the engine
// reads it: a hot journal beside it rolled back, committed changes still in
// its write-ahead log replayed, and every page checked as Open checks it.
// The file and its journal or log are first copied into a private folder
// beside `target`, so nothing beside `source` is written (it may lie in a
// read-only folder), and the engine's backup there takes the name `target`
// only once whole and on the disk. On any failure nothing is left at
// `target` and the error names `source`.
std::optional<RuntimeError> copyStore(const QString& source, const QString& target);

// Begins a transaction and rolls it back when left without commit() (an
// exception or early return undoes everything done inside).
class Transaction {
public:
    explicit Transaction(Connection& c);
    ~Transaction();
    void commit();

private:
    Connection& c_;
    bool done_ = false;
};

// The rows of one query, read at Open. The current row's fields are read
// and written by name; AddNew/Update/Delete write to the query's table (the
// one named after its FROM), identified by rowid; a query that reads more
// than one table (joins, groups, unions) gives read-only rows. After
// AddNew + Update the new row is the current one, with the keys and
// defaults the database gave it. Moving off a changed row saves it, as
// Update does. The connection must outlive its record sets.
class Recordset {
public:
    Recordset();
    ~Recordset();
    void Open(const QString& sql, Connection& c, const QVariantList& binds = {});
    void Close();
    int State() const;

    bool Eof() const;
    bool Bof() const;
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    qint64 RecordCount() const;
    qint64 AbsolutePosition() const; // 0-based index of the current row

    QVariant Fields(const QString& name) const;
    void setField(const QString& name, const QVariant& value);

    // A new row whose fields are set with setField and written by Update.
    void AddNew();
    void Update();
    void Delete();

private:
    struct Data;
    std::unique_ptr<Data> d_;
};

} // namespace Ado
