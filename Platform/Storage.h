#pragma once
// Whole files read and saved, the one way every reader and every saver of
// the program works (kept files, ini files, documents).
//
// save() writes the new content into a temporary file beside the old one
// and renames it over the old file only after every byte was written (the
// counts compared) and synced to the device, once. The temporary file's
// name is hidden and marked as the program's own (".Planer.qem.~save-
// A1b2C3", see isUnfinishedSave): a save cut off by a kill leaves that
// file, and the start-up clean-up removes only names of that shape, never
// a file the user named (the user's "Planer.qem.backup" stays). The new
// file takes the old file's permission bits. On any failure the temporary
// file is dropped, the old file stays whole, and the error says why
// (Platform/SaveError.h), a full disk as "61: Disk full". A pipe, a device
// or a socket in the file's place is not replaced.
//
// read() gives a file whole or not at all. It opens the file without
// blocking (a named pipe with no writer would otherwise hold the program
// for good), reads only a regular file (a pipe, a device, a socket or a
// folder is refused with an error naming the file), checks every read and
// never reads past the size the file had when it was opened (a link to an
// endless device cannot fill the memory). A read that fails, or ends
// before that size, is "57: Device I/O error" naming the file, never a
// short or empty file. A file larger than the memory the process can
// still take is refused before it is read (Memory::mayHold), and an
// allocation that fails while reading is caught: both are "7: Out of
// memory" naming the file, never a crash.
#include "Platform/Errors.h"

#include <QByteArray>
#include <QString>
#include <cerrno>
#include <functional>
#include <optional>

class QFileDevice;
class QStringView;

namespace Storage {

// Replaces the file at `path` whole with `bytes`; false and `error` when it
// could not.
bool save(const QString& path, const QByteArray& bytes, RuntimeError* error = nullptr);

// What identifies the state of a file: whether it exists, and its size,
// modification time and identity on the device. A file another program
// rewrote or appended to has another stamp.
struct Stamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 device = 0, inode = 0;
    bool operator==(const Stamp&) const = default;
};
// The stamp of the file at `path` now (a missing file's; none when it
// cannot be asked for or is no regular file).
std::optional<Stamp> stampOf(const QString& path);

// Whether `fileName` is a temporary file save() names its own
// (".<file>.~save-" and six letters or digits): what a cut-off save left.
bool isUnfinishedSave(QStringView fileName);

// Writes every byte to an open file, past any buffer: 0 when all were
// written, else the system's error number (errno) of the write that failed.
int writeAll(QFileDevice& device, const QByteArray& bytes);

// The most a file the program keeps ("Planer.qem", "QEM.ini", ...) may
// hold: what its tool can still show (a list of some millions of lines)
// in the memory of an ordinary computer. A larger one is refused unread.
constexpr qint64 kLargestKeptFile = 64 * 1024 * 1024;

// The whole file; no value when it cannot be read (`error` says why: 53
// when it does not exist, 70 without permission or for a folder, 75 for a
// pipe, a device or a socket, 57 when reading failed). A file of more than
// `largest` bytes (when >= 0) is not read: 7, "Out of memory", naming it.
// `stamp`, when given, is set to the stamp of the file as it was read (a
// missing file's when it does not exist).
std::optional<QByteArray> read(const QString& path, RuntimeError* error = nullptr, qint64 largest = -1,
                               Stamp* stamp = nullptr);

// A document the user opens into a box, read as read() does and decoded
// as Platform/Ansi.h says; one that a box could not hold
// (Memory::textCost) is refused before it is decoded. Throws the reading's
// RuntimeError, or std::bad_alloc, so the box keeps what it showed.
QString readDocument(const QString& path);

// The file's beginning: read as read() does, piece by piece, until
// `enough` (asked with all bytes read so far) is true or the file ends.
// More than `largest` bytes (when >= 0) without `enough` is too large.
std::optional<QByteArray> readStart(const QString& path, const std::function<bool(const QByteArray&)>& enough,
                                    RuntimeError* error = nullptr, qint64 largest = -1, Stamp* stamp = nullptr);

// Tests: every save fails as on a full disk once `bytes` bytes of it are
// written (none: writes go through).
void failWritesAfter(std::optional<qint64> bytes);
// Tests: the next save fails with the system's error number `errnoValue`
// where it creates its temporary file, or (`atRename`) where it gives the
// new file its name.
void failNextSave(int errnoValue, bool atRename = false);
// Tests: reading the file at `path` fails with the system's error number
// `errnoValue`: EACCES (the default) when it is opened, as without read
// permission, which a test run as the superuser cannot set up through the
// file's permissions; any other once `afterBytes` bytes of it were read,
// as a failing device does. `once`: only its next reading fails, later
// ones work, as on a flaky stick. An empty path: no file fails.
void failReading(const QString& path, int errnoValue = EACCES, qint64 afterBytes = 0, bool once = false);

} // namespace Storage
