#include "Platform/App.h"

#include "Platform/Storage.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QLibraryInfo>
#include <QLockFile>
#include <QTranslator>
#include <QWidget>
#include <memory>
#include <optional>

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
std::unique_ptr<QLockFile> lock;
std::unique_ptr<QLockFile> dataLock;
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

bool programFolderWritable() {
    if (writableOverride) return *writableOverride;
    // Asked once per program folder: every data file's path goes through here.
    static QString probedFolder;
    static bool writable = false;
    if (probedFolder == path()) return writable;
    probedFolder = path();
    const QFileInfo info(probedFolder);
    // The permission bits can say yes on a read-only mount: try it.
    QTemporaryFile probe(probedFolder + QStringLiteral("/.qem-write-XXXXXX"));
    writable = info.isDir() && info.isWritable() && probe.open();
    return writable;
}

QString dataFolder() {
    if (programFolderWritable()) return path();
    QString f = userFolder();
    if (f.isEmpty()) f = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(f);
    return QDir::cleanPath(f);
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
    if (QFileInfo::exists(beside)) {
        // Read whole and saved whole: an empty or cut copy would be taken
        // for the file itself from then on, and hide the one beside the program.
        RuntimeError why(0, QString());
        const std::optional<QByteArray> bytes = Storage::read(beside, &why);
        if ((!bytes || !Storage::save(data, *bytes, &why)) && error) *error = why;
    }
    return data;
}

void setProgramFolderWritable(std::optional<bool> writable) { writableOverride = writable; }
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

QString instanceLockFile(const QString& folder) {
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) runtime = QDir::tempPath();
    const QByteArray key =
        QCryptographicHash::hash(QDir(folder).absolutePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return runtime + QStringLiteral("/quembly-") + QString::fromLatin1(key) + QStringLiteral(".lock");
}

QString instanceLockFile() { return instanceLockFile(path()); }

namespace {
// Takes the lock of `folder`; false when another process holds it. One
// that cannot be made at all (no runtime folder, no permission) lets the
// program run.
bool takeLock(std::unique_ptr<QLockFile>& held, const QString& folder) {
    const QString file = instanceLockFile(folder);
    held = std::make_unique<QLockFile>(file);
    held->setStaleLockTime(0);
    if (held->tryLock(0) || held->error() != QLockFile::LockFailedError) return true;
    // A copy that ended between making its lock file and writing its process
    // into it left the file empty, and no copy would start again. A starting
    // copy writes it at once, so an empty one some seconds old is left over;
    // it is removed only while no running process holds its lock.
    if (!held->getLockInfo(nullptr, nullptr, nullptr) &&
        QFileInfo(file).lastModified().secsTo(QDateTime::currentDateTime()) >= 2 && held->removeStaleLockFile())
        return held->tryLock(0) || held->error() != QLockFile::LockFailedError;
    return false;
}
} // namespace

bool previousInstance() {
    if (!otherCopy) {
        // Two installations in read-only folders share the per-user data
        // folder: the copy that comes second would write over the other's files.
        const QString data = dataFolder();
        otherCopy = !takeLock(lock, path()) ||
                    (QDir(data).absolutePath() != QDir(path()).absolutePath() && !takeLock(dataLock, data));
    }
    return *otherCopy;
}

void releaseInstanceLock() {
    lock.reset();
    dataLock.reset();
    otherCopy.reset();
}

} // namespace App
