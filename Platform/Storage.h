#pragma once
// Whole files read and saved, the one way every saver of the program writes
// (kept files, ini files, documents).
//
// save() writes the new content into a temporary file beside the old one
// and renames it over the old file only after every byte was written (the
// counts compared) and synced to the device. The toolkit's own commit would
// not do: a write smaller than its buffer only fills the buffer, and when
// the flush in the commit then fails on a full disk, the commit still
// renames the empty or cut file over the old one. On any failure the
// temporary file is dropped, the old file stays whole, and the error says
// why (Platform/SaveError.h), a full disk as "61: Disk full".
#include "Platform/Errors.h"

#include <QByteArray>
#include <QString>
#include <optional>

class QFileDevice;

namespace Storage {

// Replaces the file at `path` whole with `bytes`; false and `error` when it
// could not.
bool save(const QString& path, const QByteArray& bytes, RuntimeError* error = nullptr);

// Writes every byte to an open file, past any buffer: 0 when all were
// written, else the system's error number (errno) of the write that failed.
int writeAll(QFileDevice& device, const QByteArray& bytes);

// The whole file; no value when it cannot be read (`error` says why: 53
// when it does not exist, 70 without permission, 57 when reading failed).
std::optional<QByteArray> read(const QString& path, RuntimeError* error = nullptr);

// Tests: every save fails as on a full disk once `bytes` bytes of it are
// written (none: writes go through).
void failWritesAfter(std::optional<qint64> bytes);
// Tests: reading the file at `path` fails as without read permission, which
// a test run as the superuser cannot set up through the file's permissions
// (empty: no file fails).
void failReading(const QString& path);

} // namespace Storage
