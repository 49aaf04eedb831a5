#include "Platform/Storage.h"

#include "Platform/Ansi.h"
#include "Platform/Memory.h"
#include "Platform/SaveError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>

namespace Storage {

namespace {
std::optional<qint64> failAfter;

// The test seam's failing save.
struct FailingSave {
    int errnoValue = 0;
    bool atRename = false;
} failingSave;

// What marks a temporary file as the save's own: ".<file>" + this + six letters or digits.
constexpr QStringView kSaveMark = u".~save-";
constexpr int kSaveLetters = 6;

Stamp stampFrom(const struct stat& st) {
    return {true, qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            quint64(st.st_dev), quint64(st.st_ino)};
}

// The test seam's failing reading.
struct FailingRead {
    QString path;
    int errnoValue = EACCES;
    qint64 afterBytes = 0;
    bool once = false;
} failing;

bool failsToRead(const QString& path) {
    return !failing.path.isEmpty() && QFileInfo(path).absoluteFilePath() == QFileInfo(failing.path).absoluteFilePath();
}

// Closes the descriptor however the function that opened it ends.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

// Reads `size` bytes of the open file `fd` (see readFile); `fail` makes the error.
template <class Fail>
std::optional<QByteArray> readPieces(int fd, const QString& path, qint64 size,
                                     const std::function<bool(const QByteArray&)>* enough, qint64 largest,
                                     const FailingRead& failure, const Fail& fail) {
    // The size fstat gave is all that is read: a file growing meanwhile is
    // read as it was, and a file that ends sooner has failed.
    constexpr qint64 kPiece = 64 * 1024;
    QByteArray bytes;
    if (!enough) bytes.resize(size);
    qint64 done = 0;
    while (done < size) {
        qint64 want = enough ? std::min(kPiece, size - done) : size - done;
        if (enough && bytes.size() < done + want) bytes.resize(done + want);
        if (failure.errnoValue != EACCES && !failure.path.isEmpty()) {
            if (done >= failure.afterBytes) return fail(Err::readFailed(failure.errnoValue, path));
            want = std::min(want, failure.afterBytes - done);
        }
        const ssize_t got = ::read(fd, bytes.data() + done, size_t(want));
        if (got < 0) {
            if (errno == EINTR) continue;
            return fail(Err::readFailed(errno, path));
        }
        // Cut short since it was opened.
        if (got == 0) return fail(Err::readFailed(EIO, path));
        done += got;
        if (enough) {
            bytes.resize(done);
            if ((*enough)(bytes)) break;
            if (largest >= 0 && done > largest) return fail(Err::tooLarge(path, largest));
        }
    }
    bytes.resize(done);
    return bytes;
}

// Reads the file at `path` piece by piece into one buffer; see read() and readStart().
std::optional<QByteArray> readFile(const QString& path, const std::function<bool(const QByteArray&)>* enough,
                                   RuntimeError* error, qint64 largest, Stamp* stamp) {
    const auto fail = [&](const RuntimeError& e) -> std::optional<QByteArray> {
        if (error) *error = e;
        return std::nullopt;
    };
    const bool seam = failsToRead(path);
    const FailingRead failure = seam ? failing : FailingRead();
    if (seam && failing.once) failing = FailingRead();
    if (seam && failure.errnoValue == EACCES) return fail(Err::readFailed(EACCES, path));

    Descriptor file;
    const QByteArray name = QFile::encodeName(path);
    // Without blocking: a pipe is opened at once even when nothing writes to it.
    do file.fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (file.fd < 0 && errno == EINTR);
    if (file.fd < 0) {
        const int why = errno;
        if (stamp && why == ENOENT) *stamp = Stamp();
        return fail(Err::readFailed(why, path));
    }
    // The kind of what was opened, not of what the path names now.
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) return fail(Err::readFailed(errno, path));
    if (!S_ISREG(st.st_mode)) return fail(Err::notAFile(path, S_ISDIR(st.st_mode)));
    if (stamp) *stamp = stampFrom(st);
    const qint64 size = st.st_size;
    if (!enough && largest >= 0 && size > largest) return fail(Err::tooLarge(path, largest));
    try {
        // Asked before the one allocation of the whole file.
        if (!enough) Memory::reserve(size);
        return readPieces(file.fd, path, size, enough, largest, failure, fail);
    } catch (const std::bad_alloc&) {
        return fail(Err::cannotHold(path));
    }
}
} // namespace

namespace {
// Writes every byte to the open file `fd`; 0 or the errno of the write that failed.
int writeFd(int fd, const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        qint64 chunk = bytes.size() - done;
        if (failAfter) {
            if (done >= *failAfter) return ENOSPC;
            chunk = std::min(chunk, *failAfter - done);
        }
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(chunk));
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        // A device that takes nothing and names no error.
        if (written == 0) return EIO;
        done += written;
    }
    return 0;
}

// Creates the save's temporary file beside `path` under a free name of the
// marked shape; its descriptor, or -1 with errno set.
int createTemporary(const QString& path, QByteArray& name) {
    if (failingSave.errnoValue != 0 && !failingSave.atRename) {
        errno = std::exchange(failingSave.errnoValue, 0);
        return -1;
    }
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const QFileInfo target(path);
    const QString start = target.absolutePath() + QStringLiteral("/.") + target.fileName() + kSaveMark.toString();
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString tail;
        for (int i = 0; i < kSaveLetters; ++i)
            tail += QLatin1Char(letters[QRandomGenerator::system()->bounded(int(sizeof letters - 1))]);
        name = QFile::encodeName(start + tail);
        // Read and write for everyone the umask allows, as any new file.
        int fd;
        do fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        while (fd < 0 && errno == EINTR);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}
} // namespace

int writeAll(QFileDevice& device, const QByteArray& bytes) {
    const int fd = device.handle();
    if (fd < 0) return EBADF;
    return writeFd(fd, bytes);
}

bool save(const QString& path, const QByteArray& bytes, RuntimeError* error) {
    const auto fail = [&](const RuntimeError& e) {
        if (error) *error = e;
        return false;
    };
    // A pipe, a device or a socket is no file to replace (a rename would
    // put a file in the place of the device a link names).
    struct stat old {};
    const bool existed = ::stat(QFile::encodeName(path).constData(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode) && !S_ISDIR(old.st_mode)) return fail(Err::notAFile(path, false));
    // A link stays a link: the file it names is the one replaced.
    const QFileInfo info(path);
    const QString real = existed && info.isSymLink() ? info.canonicalFilePath() : path;
    const QByteArray target = QFile::encodeName(real);

    QByteArray temporary;
    Descriptor file;
    file.fd = createTemporary(real, temporary);
    if (file.fd < 0) return fail(Err::saveFailed(real, errno));
    // The temporary file goes on any failure; the old file was never touched.
    const auto drop = [&](const RuntimeError& why) {
        if (file.fd >= 0) ::close(std::exchange(file.fd, -1));
        ::unlink(temporary.constData());
        return fail(why);
    };
    // The new file may be read and written by whom the old one could.
    if (existed && S_ISREG(old.st_mode) && ::fchmod(file.fd, old.st_mode & 07777) != 0)
        return drop(Err::systemError(errno));
    if (const int failed = writeFd(file.fd, bytes)) return drop(Err::systemError(failed));
    // Once, and before the rename: some file systems report a full disk
    // only when the data is synced.
    if (::fsync(file.fd) != 0 && errno != EINVAL) return drop(Err::systemError(errno));
    // A network file system may report a failed write only at closing.
    if (::close(std::exchange(file.fd, -1)) != 0 && errno != EINTR) return drop(Err::systemError(errno));
    if (failingSave.errnoValue != 0 && failingSave.atRename)
        return drop(Err::saveFailed(real, std::exchange(failingSave.errnoValue, 0)));
    if (::rename(temporary.constData(), target.constData()) != 0) return drop(Err::saveFailed(real, errno));
    return true;
}

bool isUnfinishedSave(QStringView fileName) {
    const qsizetype mark = fileName.size() - kSaveLetters - kSaveMark.size();
    // A hidden name, something before the mark, the mark, six letters or digits.
    if (mark < 2 || fileName[0] != u'.' || fileName.mid(mark, kSaveMark.size()) != kSaveMark) return false;
    const QStringView tail = fileName.right(kSaveLetters);
    return std::all_of(tail.begin(), tail.end(), [](QChar c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
    });
}

std::optional<Stamp> stampOf(const QString& path) {
    struct stat st {};
    // A folder or a device in the file's place is no state of the file: the save itself refuses it.
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        return S_ISREG(st.st_mode) ? std::optional(stampFrom(st)) : std::nullopt;
    if (errno == ENOENT) return Stamp();
    return std::nullopt;
}

std::optional<QByteArray> read(const QString& path, RuntimeError* error, qint64 largest, Stamp* stamp) {
    return readFile(path, nullptr, error, largest, stamp);
}

QString readDocument(const QString& path) {
    RuntimeError why(0, QString());
    const std::optional<QByteArray> bytes = read(path, &why);
    if (!bytes) throw why;
    Memory::reserve(Memory::textCost(bytes->size()));
    return Ansi::decodeDocument(*bytes);
}

std::optional<QByteArray> readStart(const QString& path, const std::function<bool(const QByteArray&)>& enough,
                                    RuntimeError* error, qint64 largest, Stamp* stamp) {
    return readFile(path, &enough, error, largest, stamp);
}

void failWritesAfter(std::optional<qint64> bytes) { failAfter = bytes; }

void failNextSave(int errnoValue, bool atRename) { failingSave = {errnoValue, atRename}; }

void failReading(const QString& path, int errnoValue, qint64 afterBytes, bool once) {
    failing = {path, errnoValue, afterBytes, once};
}

} // namespace Storage
