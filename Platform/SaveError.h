#pragma once
// The one mapping of why a file could not be saved or read to the runtime's
// errors: 61 "Disk full" when the disk (or the user's quota) has no room
// left, 76 "Path not found" when its folder is missing, 70 "Permission
// denied" when it may not be written or replaced (or read), 57 "Device I/O
// error" when writing or reading failed on the way, 53 "File not found"
// for a file to read that is not there. The description is in the
// program's language (Err::inGerman), never the toolkit's English text
// with the file's full path.
#include "Platform/Errors.h"

class QSaveFile;
class QString;

namespace Err {
// The error of a failed system call, by its error number (errno).
RuntimeError systemError(int errnoValue);
// `opened`: whether QSaveFile::open succeeded (its commit failed).
// `errnoValue`: the system's error number right after the failed open, 0
// when unknown.
RuntimeError saveFailed(const QSaveFile& file, bool opened, int errnoValue = 0);
// Why the file at `path` could not be opened for reading.
RuntimeError readFailed(const QString& path);
// A save refused because the file it would replace could not be read
// (`why`): the same number, and a description that names the file.
RuntimeError notReplaced(const RuntimeError& why, const QString& path);
} // namespace Err
