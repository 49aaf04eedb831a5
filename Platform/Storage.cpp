#include "Platform/Storage.h"

#include "Platform/SaveError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace Storage {

namespace {
std::optional<qint64> failAfter;
QString failingRead;
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
    if (!f.commit()) {
        if (error) *error = Err::saveFailed(f, true, 0);
        return false;
    }
    return true;
}

std::optional<QByteArray> read(const QString& path, RuntimeError* error) {
    QFile f(path);
    if (!failingRead.isEmpty() && QFileInfo(path).absoluteFilePath() == QFileInfo(failingRead).absoluteFilePath()) {
        if (error) *error = Err::systemError(EACCES);
        return std::nullopt;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = Err::readFailed(path);
        return std::nullopt;
    }
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error) *error = Err::systemError(EIO);
        return std::nullopt;
    }
    return bytes;
}

void failWritesAfter(std::optional<qint64> bytes) { failAfter = bytes; }
void failReading(const QString& path) { failingRead = path; }

} // namespace Storage
