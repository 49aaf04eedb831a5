#include "Platform/Storage.h"

#include "Platform/SaveError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Storage {

namespace {
std::optional<qint64> failAfter;

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

// Reads the file at `path` piece by piece into one buffer; see read() and readStart().
std::optional<QByteArray> readFile(const QString& path, const std::function<bool(const QByteArray&)>* enough,
                                   RuntimeError* error, qint64 largest) {
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
    if (file.fd < 0) return fail(Err::readFailed(errno, path));
    // The kind of what was opened, not of what the path names now.
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) return fail(Err::readFailed(errno, path));
    if (!S_ISREG(st.st_mode)) return fail(Err::notAFile(path, S_ISDIR(st.st_mode)));
    const qint64 size = st.st_size;
    if (!enough && largest >= 0 && size > largest) return fail(Err::tooLarge(path, largest));

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
        const ssize_t got = ::read(file.fd, bytes.data() + done, size_t(want));
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
} // namespace

int writeAll(QFileDevice& device, const QByteArray& bytes) {
    const int fd = device.handle();
    if (fd < 0) return EBADF;
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

bool save(const QString& path, const QByteArray& bytes, RuntimeError* error) {
    // A pipe, a device or a socket is no file to replace (the toolkit would
    // put a file of its own in the place of the device a link names).
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        if (error) *error = Err::notAFile(path, false);
        return false;
    }
    QSaveFile f(path);
    errno = 0;
    // Unbuffered: every write reaches the device here, where its result is seen.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error) *error = Err::saveFailed(f, false, errno);
        return false;
    }
    int failed = writeAll(f, bytes);
    // Some file systems report a full disk only when the data is synced.
    if (!failed && ::fsync(f.handle()) != 0 && errno != EINVAL) failed = errno;
    if (failed) {
        // The temporary file goes; the old file was never touched.
        f.cancelWriting();
        if (error) *error = Err::systemError(failed);
        return false;
    }
    errno = 0;
    if (!f.commit()) {
        // The error of the rename or link that gave the new file its name.
        const int why = errno;
        if (error) *error = Err::saveFailed(f, true, why);
        return false;
    }
    return true;
}

std::optional<QByteArray> read(const QString& path, RuntimeError* error, qint64 largest) {
    return readFile(path, nullptr, error, largest);
}

std::optional<QByteArray> readStart(const QString& path, const std::function<bool(const QByteArray&)>& enough,
                                    RuntimeError* error, qint64 largest) {
    return readFile(path, &enough, error, largest);
}

void failWritesAfter(std::optional<qint64> bytes) { failAfter = bytes; }

void failReading(const QString& path, int errnoValue, qint64 afterBytes, bool once) {
    failing = {path, errnoValue, afterBytes, once};
}

} // namespace Storage
