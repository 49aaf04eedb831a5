#include "Platform/App.h"

#include "Platform/Ado.h"
#include "Platform/Storage.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QLibraryInfo>
#include <QTranslator>
#include <QWidget>
#include <optional>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace App {

namespace {
QString& folder() {
    static QString f;
    return f;
}
QString& appTitle() {
    static QString t = QStringLiteral("Quembly");
    return t;
}
std::function<void()>& endHandler() {
    static std::function<void()> h;
    return h;
}
std::optional<bool> writableOverride;
QString& userFolder() {
    static QString f;
    return f;
}
bool endingFlag = false;
// The open lock files whose flock this copy holds (-1: none).
int programLock = -1;
int dataLock = -1;
std::optional<bool> otherCopy;
} // namespace

QString path() {
    if (folder().isEmpty()) return QCoreApplication::applicationDirPath();
    return folder();
}

void setPath(const QString& f) {
    folder() = QDir::cleanPath(f);
    releaseInstanceLock();
}

QString file(const QString& name) { return path() + u'/' + name; }

namespace {
// Asked once per program folder: every data file's path goes through here.
QString probedFolder;
bool probedWritable = false;
int probeFailures = 0;

// The permission bits can say yes on a read-only mount: try it.
bool probe(const QString& folder) {
    if (probeFailures > 0) {
        --probeFailures;
        return false;
    }
    QTemporaryFile file(folder + QStringLiteral("/.qem-write-XXXXXX"));
    return file.open();
}
} // namespace

bool programFolderWritable() {
    if (writableOverride) return *writableOverride;
    if (probedFolder == path()) return probedWritable;
    probedFolder = path();
    const QFileInfo info(probedFolder);
    // A second try: one passing fault (an I/O error) must not move the data
    // folder, which then stays in the per-user folder for good.
    probedWritable = info.isDir() && info.isWritable() && (probe(probedFolder) || probe(probedFolder));
    return probedWritable;
}

namespace {
QString userDataFolder() {
    const QString f = userFolder();
    return QDir::cleanPath(f.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) : f);
}

QString keptHereMark(const QString& user) {
    const QByteArray key = QDir(path()).absolutePath().toUtf8();
    return user + QStringLiteral("/.quembly-data-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

bool hasJournal(const QString& file) {
    return QFileInfo::exists(file + QStringLiteral("-journal")) || QFileInfo::exists(file + QStringLiteral("-wal"));
}

// A store is copied through the engine: its journal or log beside it
// belongs to it.
bool isStore(const QString& name, const QString& file) {
    return name.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive) || hasJournal(file);
}
} // namespace

QString dataFolderMark() { return keptHereMark(userDataFolder()); }

QString dataFolder() {
    const QString user = userDataFolder();
    // Once the per-user folder has held this program folder's data it holds
    // it for good: a program folder writable again, or a probe that failed
    // once, must not bring back older files in front of what was saved there.
    const QString mark = keptHereMark(user);
    if (QFileInfo::exists(mark)) return user;
    if (programFolderWritable()) return path();
    QDir().mkpath(user);
    // Where the mark cannot be made, nothing can be saved there either.
    QFile made(mark);
    if (made.open(QIODevice::WriteOnly | QIODevice::NewOnly)) made.close();
    return user;
}

QString dataFile(const QString& name, Access access, std::optional<RuntimeError>* error) {
    const QString folder = dataFolder();
    const QString data = folder + u'/' + name;
    const QString beside = file(name);
    if (data == beside || QFileInfo::exists(data)) return data;
    // Without a per-user folder to write in (no usable home folder) the
    // files beside the program are the only ones: they are read, and a
    // write to them fails as a write to the missing folder would.
    const QFileInfo user(folder);
    if (!user.isDir() || !user.isWritable()) return beside;
    if (access == Access::Read) return QFileInfo::exists(beside) ? beside : data;
    if (!QFileInfo::exists(beside)) return data;
    RuntimeError why(0, QString());
    bool copied = false;
    if (isStore(name, beside) && (QFileInfo(beside).size() > 0 || hasJournal(beside))) {
        // As the engine reads it: the bare file without its journal or log
        // could be a change half made or lack the last ones committed.
        const std::optional<RuntimeError> failed = Ado::copyStore(beside, data);
        copied = !failed;
        if (failed) why = *failed;
    } else {
        // Read whole and saved whole: an empty or cut copy would be taken
        // for the file itself from then on, and hide the one beside the program.
        const std::optional<QByteArray> bytes = Storage::read(beside, &why);
        copied = bytes && Storage::save(data, *bytes, &why);
    }
    if (!copied && error) *error = why;
    return data;
}

void setProgramFolderWritable(std::optional<bool> writable) { writableOverride = writable; }
void failProbes(int attempts) {
    probeFailures = attempts;
    probedFolder.clear();
}
void setUserDataFolder(const QString& f) { userFolder() = f; }

void setToolkitLanguage(const QString& code) {
    static QTranslator* translator = nullptr;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    if (code != QLatin1String("de")) return;
    auto* t = new QTranslator;
    if (t->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(t);
        translator = t;
    } else {
        delete t;
    }
}

QString title() { return appTitle(); }
void setTitle(const QString& t) { appTitle() = t; }

void end() {
    endingFlag = true;
    if (endHandler()) {
        endHandler()();
        return;
    }
    // Every window goes with the program, without its close handlers.
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    QCoreApplication::exit(0);
}

void setEndHandler(std::function<void()> handler) { endHandler() = std::move(handler); }
bool ending() { return endingFlag; }
void resetEnding() { endingFlag = false; }

int run() {
    // An end before the loop runs has nothing to quit: the loop would
    // start afresh and never end.
    if (endingFlag) return 0;
    return QApplication::exec();
}

// Hidden, so it is no file of the program's data to the user or to a listing.
QString instanceLockFile(const QString& folder) {
    return QDir(folder).absolutePath() + QStringLiteral("/.quembly.lock");
}

QString instanceLockFile() { return instanceLockFile(dataFolder()); }

namespace {
enum class Lock { Taken, HeldElsewhere, Unavailable };

// Takes the lock of `folder` into `held`: exclusive, or shared where this
// copy only reads there. The file is never removed, not
// even at the end: a copy may have it open already, and another copy
// making a new file of that name would then hold a lock of its own.
Lock lockFolder(const QString& folder, int& held, bool shared = false) {
    const QByteArray file = QFile::encodeName(instanceLockFile(folder));
    // Not inherited by programs this copy starts, which would keep the
    // lock after it ends; never blocking on whatever lies under that name.
    const int flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    int fd = ::open(file.constData(), flags | O_CREAT, 0644);
    // A folder this user cannot write may hold the file another copy made.
    if (fd < 0) fd = ::open(file.constData(), flags);
    if (fd < 0) return Lock::Unavailable;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Lock::Unavailable;
    }
    int result;
    do result = ::flock(fd, (shared ? LOCK_SH : LOCK_EX) | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool elsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        // A file system without locks (ENOLCK) guards nothing.
        return elsewhere ? Lock::HeldElsewhere : Lock::Unavailable;
    }
    held = fd;
    return Lock::Taken;
}

void unlock(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}
} // namespace

bool previousInstance() {
    if (!otherCopy) {
        // The data folder first, in every copy: of two copies that start
        // at once on the same folders one always gets both.
        const QString data = QDir(dataFolder()).absolutePath();
        const Lock dataState = lockFolder(data, dataLock);
        // Two installations in read-only folders share the per-user data
        // folder: the copy that comes second would write over the other's
        // files. A copy whose data lies elsewhere only reads the program
        // folder: it shares that lock with other such copies (the users of
        // one installation), and keeps out a copy that writes there.
        const Lock programState = data == QDir(path()).absolutePath()
                                      ? Lock::Unavailable
                                      : lockFolder(path(), programLock, /*shared=*/true);
        otherCopy = dataState == Lock::HeldElsewhere || programState == Lock::HeldElsewhere;
        if (*otherCopy) {
            unlock(dataLock);
            unlock(programLock);
        }
    }
    return *otherCopy;
}

bool holdsDataFolderLock() { return dataLock >= 0; }

void releaseInstanceLock() {
    unlock(programLock);
    unlock(dataLock);
    otherCopy.reset();
}

} // namespace App
