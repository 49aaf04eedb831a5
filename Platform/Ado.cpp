#include "Platform/Ado.h"

#include "Platform/SaveError.h"
#include "Platform/Storage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>
#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace Ado {
namespace {

// The errors of the database layer, with the numbers the program showed.
RuntimeError closedError() { return {3704, QStringLiteral("Operation is not allowed when the object is closed.")}; }
RuntimeError noCurrentRecord() {
    return {3021, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                 "Requested operation requires a current record.")};
}
RuntimeError noSuchField(const QString& name) {
    return {3265, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or "
                                 "ordinal: %1")
                      .arg(name)};
}
RuntimeError notUpdatable() {
    return {3251, QStringLiteral("Current Recordset does not support updating: its query reads no single table.")};
}
RuntimeError noTransaction() { return {-2147168242, QStringLiteral("No transaction is active.")}; }
RuntimeError rolledBack() { return {-2147168231, QStringLiteral("The transaction was rolled back.")}; }
RuntimeError malformed() { return {SQLITE_CORRUPT, QStringLiteral("database disk image is malformed")}; }

RuntimeError driverError(const QSqlError& e) {
    const int code = e.nativeErrorCode().toInt();
    const QString text = e.databaseText().isEmpty() ? e.driverText() : e.databaseText();
    return {code ? code : 1, text.isEmpty() ? QStringLiteral("Database error") : text};
}

// A statement run on a database that is not (yet) a connection's: the
// checks while opening it.
QSqlQuery runOn(const QSqlDatabase& db, const QString& sql, const QVariantList& binds = {}) {
    if (!db.isOpen()) throw closedError();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql)) throw driverError(q.lastError());
    for (const QVariant& v : binds) q.addBindValue(v);
    if (!q.exec()) throw driverError(q.lastError());
    return q;
}

sqlite3* handleOf(const QSqlDriver* driver) {
    if (!driver) return nullptr;
    const QVariant handle = driver->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

QList<Connection*>& live();

} // namespace

bool next(QSqlQuery& q) {
    if (q.next()) return true;
    // The driver ends the rows early and notes why.
    if (!q.lastError().isValid()) return false;
    const RuntimeError e = driverError(q.lastError());
    // A read that failed inside a transaction may have ended it too.
    for (Connection* c : live())
        if (c->open_ && c->database().driver() == q.driver()) c->noteFailure(e);
    throw e;
}

namespace {

QString quoted(const QString& identifier) {
    return u'"' + QString(identifier).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

const QString kRowid = QStringLiteral("qem_rowid_");

} // namespace

// ---- Connection ----

namespace {

// Every connection object alive. Kept to the very end of the process: a
// connection held for the whole run leaves it during the static clean-up.
QList<Connection*>& live() {
    static auto* all = new QList<Connection*>;
    return *all;
}

// Set once the process ends: from then on the toolkit's registry of
// connections may be gone, and nothing here asks it anything.
bool processEnding = false;

// The database drivers are the application's plug-ins: once the
// application object is gone they may be too, and an open connection is
// left to the end of the process.
void closeAtExit() {
    if (QCoreApplication::instance()) Connection::closeAll();
    processEnding = true;
}

// Closes every connection when the application's event loop ends, when the
// application object goes, and when the process exits from inside the loop.
// Called after the toolkit's registry was made (by the first question put
// to it), so the exit handler runs before the registry's own clean-up.
void closeAllAtEnd() {
    static bool atExit = false;
    if (!atExit) {
        std::atexit(closeAtExit);
        atExit = true;
    }
    static QPointer<QCoreApplication> hooked;
    QCoreApplication* app = QCoreApplication::instance();
    if (app && hooked != app) {
        QObject::connect(app, &QCoreApplication::aboutToQuit, app, &Connection::closeAll);
        qAddPostRoutine(&Connection::closeAll);
        hooked = app;
    }
}

} // namespace

Connection::Connection(const QString& name) : name_(name) { live() << this; }

Connection::~Connection() {
    live().removeOne(this);
    if (processEnding) return;
    Close();
    // The name leaves the registry with its last connection object.
    for (const Connection* c : live())
        if (c->name_ == name_) return;
    if (QSqlDatabase::contains(name_)) QSqlDatabase::removeDatabase(name_);
}

void Connection::closeAll() {
    for (Connection* c : live()) c->Close();
    for (const Connection* c : live())
        if (QSqlDatabase::contains(c->name_)) QSqlDatabase::removeDatabase(c->name_);
}

QSqlDatabase Connection::database() const { return QSqlDatabase::database(name_, false); }

void Connection::Open(const QString& file) {
    if (State() == adStateOpen && file_ == file) return;
    Close();
    // Without a name the driver would open a temporary database of its own.
    if (file.isEmpty()) throw RuntimeError(3706, QStringLiteral("No database file given"));
    // A file that is missing or empty holds nothing that could be damaged.
    const QFileInfo before(file);
    const bool holdsData = before.exists() && before.size() > 0;
    QSqlDatabase db = QSqlDatabase::contains(name_) ? database() : QSqlDatabase::addDatabase("QSQLITE", name_);
    closeAllAtEnd();
    db.setDatabaseName(file);
    // A store another program holds locked is reported after half a second
    // instead of the driver's five: the wait holds the user interface.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=500"));
    if (!db.open()) throw driverError(db.lastError());
    // SQLite opens any file and reads it only on the first query: a file
    // that is no database shows itself here.
    try {
        runOn(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        // A damaged page would otherwise show only where a later read meets
        // it: a register cut short, a table list taken for empty, writes
        // into a broken file. The check reads every page once.
        if (holdsData) {
            QSqlQuery check = runOn(db, QStringLiteral("PRAGMA quick_check"));
            if (!check.next()) throw check.lastError().isValid() ? driverError(check.lastError()) : malformed();
            if (check.value(0).toString() != QLatin1String("ok")) throw malformed();
        }
        // Every commit reaches the disk before it returns, so a killed
        // program leaves the last committed state.
        runOn(db, QStringLiteral("PRAGMA synchronous=FULL"));
    } catch (const RuntimeError&) {
        db.close();
        throw;
    }
    file_ = file;
    depth_ = 0;
    failed_ = false;
    ended_.reset();
    open_ = true;
}

void Connection::Close() {
    if (!open_) return;
    open_ = false;
    QSqlDatabase db = database();
    if (db.isOpen()) {
        if (depth_ > 0 && !failed_ && engineInTransaction()) db.rollback();
        db.close();
    }
    depth_ = 0;
    failed_ = false;
    ended_.reset();
}

int Connection::State() const { return open_ && database().isOpen() ? adStateOpen : adStateClosed; }

bool Connection::engineInTransaction() const {
    // A driver that does not say is taken at its word: in the transaction.
    sqlite3* h = handleOf(database().driver());
    return !h || sqlite3_get_autocommit(h) == 0;
}

void Connection::checkTransaction() {
    if (depth_ == 0) return;
    // The engine ended it where no statement of ours saw it fail (a
    // commit or rollback of its own).
    if (!failed_ && !engineInTransaction()) {
        failed_ = true;
        ended_ = rolledBack();
    }
    // Statements of the outer levels would otherwise be stored one by one,
    // each on its own.
    if (failed_) throw ended_.value_or(rolledBack());
}

void Connection::noteFailure(const RuntimeError& e) {
    if (depth_ > 0 && !failed_ && !engineInTransaction()) {
        failed_ = true;
        ended_ = e;
    }
}

QSqlQuery Connection::prepare(const QString& sql) {
    const QSqlDatabase db = database();
    if (!open_ || !db.isOpen()) throw closedError();
    checkTransaction();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        const RuntimeError e = driverError(q.lastError());
        noteFailure(e);
        throw e;
    }
    return q;
}

void Connection::exec(QSqlQuery& q, const QVariantList& binds) {
    checkTransaction();
    for (int i = 0; i < binds.size(); ++i) q.bindValue(i, binds[i]);
    if (!q.exec()) {
        const RuntimeError e = driverError(q.lastError());
        noteFailure(e);
        throw e;
    }
}

QSqlQuery Connection::run(const QString& sql, const QVariantList& binds) {
    QSqlQuery q = prepare(sql);
    exec(q, binds);
    return q;
}

qint64 Connection::Execute(const QString& sql, const QVariantList& binds) { return run(sql, binds).numRowsAffected(); }

QVariant Connection::scalar(const QString& sql, const QVariantList& binds) {
    QSqlQuery q = run(sql, binds);
    return next(q) ? q.value(0) : QVariant();
}

QSqlQuery Connection::select(const QString& sql, const QVariantList& binds) { return run(sql, binds); }

bool Connection::hasTable(const QString& table) {
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"),
                  {table})
               .toLongLong() > 0;
}

qint64 Connection::tableCount() {
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table'")).toLongLong();
}

void Connection::BeginTrans() {
    if (depth_ == 0) {
        QSqlDatabase db = database();
        if (!open_ || !db.isOpen()) throw closedError();
        if (!db.transaction()) throw driverError(db.lastError());
        failed_ = false;
        ended_.reset();
    } else {
        // A level begun inside a transaction that is over joins nothing.
        checkTransaction();
    }
    ++depth_;
}

void Connection::CommitTrans() {
    if (depth_ == 0) throw noTransaction();
    if (depth_ > 1) {
        --depth_;
        return;
    }
    try {
        checkTransaction();
    } catch (const RuntimeError&) {
        depth_ = 0;
        failed_ = false;
        ended_.reset();
        throw;
    }
    depth_ = 0;
    QSqlDatabase db = database();
    if (!db.commit()) {
        const RuntimeError e = driverError(db.lastError());
        // A commit that failed may have left the transaction open.
        if (engineInTransaction()) db.rollback();
        throw e;
    }
}

void Connection::RollbackTrans() {
    if (depth_ == 0) throw noTransaction();
    --depth_;
    if (!failed_) {
        failed_ = depth_ > 0;
        if (failed_) ended_ = rolledBack();
        // Nothing to undo where the engine ended the transaction itself.
        if (engineInTransaction()) {
            QSqlDatabase db = database();
            if (!db.rollback()) throw driverError(db.lastError());
        }
    }
    if (depth_ == 0) {
        failed_ = false;
        ended_.reset();
    }
}

// ---- Transaction ----

Transaction::Transaction(Connection& c) : c_(c) { c_.BeginTrans(); }

Transaction::~Transaction() {
    if (done_) return;
    try {
        c_.RollbackTrans();
    } catch (const RuntimeError&) {
    }
}

void Transaction::commit() {
    done_ = true;
    c_.CommitTrans();
}

// ---- Recordset ----

struct Recordset::Data {
    Connection* conn = nullptr;
    QString table; // empty: the rows cannot be written back
    QStringList names;
    QList<QVariantList> rows;
    QList<qint64> rowids;
    qsizetype pos = 0;
    bool open = false;
    bool adding = false;
    bool editing = false;
    bool deleted = false; // the current row was deleted; the next move lands after it
    QVariantList buffer;  // the row being added or edited
    QList<int> changed;   // its fields set since AddNew or the first setField

    bool current() const { return !deleted && pos >= 0 && pos < rows.size(); }
    int field(const QString& name) const {
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(name, Qt::CaseInsensitive) == 0) return i;
        throw noSuchField(name);
    }
};

Recordset::Recordset() : d_(std::make_unique<Data>()) {}
Recordset::~Recordset() = default;

namespace {
// The table of a plain query on one table ("SELECT ... FROM t [WHERE|ORDER
// BY|LIMIT ...]"); empty for joins, groups, unions, subqueries.
QString tableOf(const QString& sql, qsizetype* columnsAt) {
    static const QRegularExpression plain(
        QStringLiteral(R"(^\s*select\s+(.+?)\s+from\s+([A-Za-z_]\w*|\[[^\]]+\]|"[^"]+"|`[^`]+`)\s*)"
                       R"((?:where\b|order\s+by\b|limit\b|;|$))"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression complex(
        QStringLiteral(R"(\b(?:join|union|intersect|except|group\s+by|having|distinct)\b|\(\s*select\b)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = plain.match(sql);
    if (!m.hasMatch() || complex.match(sql).hasMatch()) return QString();
    *columnsAt = m.capturedStart(1);
    return m.captured(2);
}
} // namespace

void Recordset::Open(const QString& sql, Connection& c, const QVariantList& binds) {
    Close();
    qsizetype columnsAt = 0;
    QString table = tableOf(sql, &columnsAt);
    std::optional<QSqlQuery> q;
    if (!table.isEmpty()) {
        // The rowid read alongside identifies each row for Update and Delete.
        try {
            q = c.select(sql.left(columnsAt) + QStringLiteral("rowid AS ") + kRowid + QStringLiteral(", ") +
                             sql.mid(columnsAt),
                         binds);
        } catch (const RuntimeError&) {
            table.clear(); // a view or a table without rowid: read only
        }
    }
    if (!q) q = c.select(sql, binds);
    const QSqlRecord rec = q->record();
    const int first = table.isEmpty() ? 0 : 1;
    for (int i = first; i < rec.count(); ++i) d_->names << rec.fieldName(i);
    while (next(*q)) {
        QVariantList row;
        for (int i = first; i < rec.count(); ++i) row << q->value(i);
        d_->rows << row;
        d_->rowids << (first ? q->value(0).toLongLong() : 0);
    }
    d_->conn = &c;
    d_->table = table;
    d_->open = true;
}

void Recordset::Close() { *d_ = Data(); }

int Recordset::State() const { return d_->open ? adStateOpen : adStateClosed; }

bool Recordset::Eof() const { return !d_->adding && (d_->rows.isEmpty() || d_->pos >= d_->rows.size()); }
bool Recordset::Bof() const { return !d_->adding && (d_->rows.isEmpty() || d_->pos < 0); }

// Moving away from a row being added or edited saves it first.
void Recordset::MoveFirst() {
    if (!d_->open) throw closedError();
    Update();
    d_->deleted = false;
    d_->pos = 0;
}

void Recordset::MoveLast() {
    if (!d_->open) throw closedError();
    Update();
    d_->deleted = false;
    d_->pos = d_->rows.isEmpty() ? 0 : d_->rows.size() - 1;
}

void Recordset::MoveNext() {
    if (!d_->open) throw closedError();
    Update();
    if (d_->deleted) {
        // The rows after the deleted one moved up to its place.
        d_->deleted = false;
        return;
    }
    if (Eof()) throw noCurrentRecord();
    ++d_->pos;
}

void Recordset::MovePrevious() {
    if (!d_->open) throw closedError();
    Update();
    if (Bof()) throw noCurrentRecord();
    d_->deleted = false;
    --d_->pos;
}

qint64 Recordset::RecordCount() const { return d_->rows.size(); }
qint64 Recordset::AbsolutePosition() const { return d_->pos; }

QVariant Recordset::Fields(const QString& name) const {
    if (!d_->open) throw closedError();
    const int i = d_->field(name);
    if (d_->adding || d_->editing) return d_->buffer.value(i);
    if (!d_->current()) throw noCurrentRecord();
    return d_->rows[d_->pos].value(i);
}

void Recordset::setField(const QString& name, const QVariant& value) {
    if (!d_->open) throw closedError();
    const int i = d_->field(name);
    if (!d_->adding && !d_->editing) {
        if (!d_->current()) throw noCurrentRecord();
        d_->buffer = d_->rows[d_->pos];
        d_->editing = true;
    }
    d_->buffer[i] = value;
    if (!d_->changed.contains(i)) d_->changed << i;
}

void Recordset::AddNew() {
    if (!d_->open) throw closedError();
    if (d_->table.isEmpty()) throw notUpdatable();
    Update();
    d_->buffer = QVariantList(d_->names.size());
    d_->changed.clear();
    d_->adding = true;
}

void Recordset::Update() {
    Data& d = *d_;
    if (!d.open) throw closedError();
    if (!d.adding && !d.editing) return;
    if (d.table.isEmpty()) throw notUpdatable();
    QStringList columns;
    QVariantList values;
    for (int i : d.changed) {
        columns << quoted(d.names[i]);
        values << d.buffer[i];
    }
    if (d.adding) {
        if (columns.isEmpty()) d.conn->Execute(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(d.table));
        else
            d.conn->Execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(d.table, columns.join(u','), QStringList(columns.size(), "?").join(u',')),
                            values);
        const qint64 rowid = d.conn->scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
        // Read the row back for what the database filled in (keys, defaults).
        QSqlQuery q = d.conn->select(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(d.table), {rowid});
        if (next(q)) {
            const QSqlRecord rec = q.record();
            for (int i = 0; i < d.names.size(); ++i) {
                const int at = rec.indexOf(d.names[i]);
                if (at >= 0) d.buffer[i] = q.value(at);
            }
        }
        d.rows << d.buffer;
        d.rowids << rowid;
        d.pos = d.rows.size() - 1;
    } else if (!columns.isEmpty()) {
        values << d.rowids[d.pos];
        d.conn->Execute(QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?").arg(d.table, columns.join(" = ?, ")),
                        values);
        d.rows[d.pos] = d.buffer;
    }
    d.adding = d.editing = false;
    d.changed.clear();
    d.buffer.clear();
}

void Recordset::Delete() {
    Data& d = *d_;
    if (!d.open) throw closedError();
    if (d.adding) {
        // A row not yet written is only dropped.
        d.adding = false;
        d.changed.clear();
        return;
    }
    d.editing = false;
    d.changed.clear();
    if (!d.current()) throw noCurrentRecord();
    if (d.table.isEmpty()) throw notUpdatable();
    d.conn->Execute(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(d.table), {d.rowids[d.pos]});
    d.rows.removeAt(d.pos);
    d.rowids.removeAt(d.pos);
    d.deleted = true;
}

// ---- Copying a store ----

namespace {

// One engine connection of the copy, closed on every way out.
struct EngineFile {
    sqlite3* db = nullptr;
    ~EngineFile() {
        if (db) sqlite3_close_v2(db);
    }
};

RuntimeError engineError(sqlite3* db, int rc) {
    const int code = (db ? sqlite3_errcode(db) : rc) & 0xff;
    if (code == SQLITE_NOMEM) return Err::outOfMemory();
    const char* text = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    return {code ? code : 1, QString::fromUtf8(text)};
}

// The quick check Open makes, run on the engine's own handle; reading every
// page also makes the engine roll back a hot journal or take in the log.
void quickCheck(sqlite3* db) {
    sqlite3_stmt* step = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &step, nullptr);
    if (rc != SQLITE_OK) throw engineError(db, rc);
    rc = sqlite3_step(step);
    const bool whole = rc == SQLITE_ROW &&
                       qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(step, 0)), "ok") == 0;
    sqlite3_finalize(step);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) throw engineError(db, rc);
    if (!whole) throw malformed();
}

void syncFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw Err::systemError(errno);
    const int result = ::fsync(fd);
    const int why = errno;
    ::close(fd);
    if (result != 0) throw Err::systemError(why);
}

void copyFile(const QString& from, const QString& to) {
    RuntimeError why(0, QString());
    const std::optional<QByteArray> bytes = Storage::read(from, &why);
    if (!bytes || !Storage::save(to, *bytes, &why)) throw why;
}

} // namespace

std::optional<RuntimeError> copyStore(const QString& source, const QString& target) {
    const QString name = QFileInfo(source).fileName();
    // The private folder goes with this function, with whatever lies in it.
    QTemporaryDir work(QFileInfo(target).absolutePath() + QStringLiteral("/.qem-copy-XXXXXX"));
    const QString copy = work.path() + u'/' + name;
    const QString made = work.path() + QStringLiteral("/copy");
    try {
        if (!work.isValid()) throw Err::systemError(errno ? errno : EACCES);
        copyFile(source, copy);
        // The shared-memory index is not copied: the engine makes it anew from the log.
        for (const char* suffix : {"-journal", "-wal"})
            if (QFileInfo::exists(source + QLatin1String(suffix)))
                copyFile(source + QLatin1String(suffix), copy + QLatin1String(suffix));
        EngineFile from, to;
        int rc = sqlite3_open_v2(QFile::encodeName(copy).constData(), &from.db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) throw engineError(from.db, rc);
        quickCheck(from.db);
        rc = sqlite3_open_v2(QFile::encodeName(made).constData(), &to.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
        if (rc != SQLITE_OK) throw engineError(to.db, rc);
        sqlite3_backup* backup = sqlite3_backup_init(to.db, "main", from.db, "main");
        if (!backup) throw engineError(to.db, sqlite3_errcode(to.db));
        rc = sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE) throw engineError(to.db, rc);
        rc = sqlite3_close(to.db);
        to.db = nullptr;
        if (rc != SQLITE_OK) throw engineError(nullptr, rc);
        syncFile(made);
        if (::rename(QFile::encodeName(made).constData(), QFile::encodeName(target).constData()) != 0)
            throw Err::systemError(errno);
        // The name is on the disk with the folder's next sync at the latest:
        // a copy not kept is made again from the source.
        try {
            syncFile(QFileInfo(target).absolutePath());
        } catch (const RuntimeError&) {
        }
        return std::nullopt;
    } catch (const RuntimeError& e) {
        const QString file = QDir::toNativeSeparators(source);
        return RuntimeError(e.number, e.description +
                                          (Err::inGerman() ? QStringLiteral(" (\"") + file +
                                                                 QString::fromUtf8("\" ließ sich nicht kopieren)")
                                                           : QStringLiteral(" (\"") + file +
                                                                 QStringLiteral("\" could not be copied)")));
    } catch (const std::bad_alloc&) {
        return Err::outOfMemory();
    }
}

} // namespace Ado
