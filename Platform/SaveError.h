#pragma once
// The one mapping of why a file could not be saved or read to the runtime's
// errors: 61 "Disk full" when the disk (or the user's quota) has no room
// left, 76 "Path not found" when its folder is missing, 70 "Permission
// denied" when it may not be written or replaced (or read), 57 "Device I/O
// error" when writing or reading failed on the way, 53 "File not found"
// for a file to read that is not there, 75 "Path/File access error" for a
// pipe, a device or a socket where a file was expected, 67 "Too many
// files" when the process has no file descriptor left, 7 "Out of memory"
// for a file larger than the program reads or can hold. The description is
// in the program's language (Err::inGerman), never the toolkit's English
// text with the file's full path; a file that is there and could not be
// read is named in it: 57: Device I/O error ("Planer.qem" could not be read).
#include "Platform/Errors.h"

#include <QtGlobal>

class QString;

namespace Err {
// The runtime's "7: Out of memory" in the program's language: an
// allocation that failed, or a file too large to hold.
RuntimeError outOfMemory();
// The error of a failed system call, by its error number (errno).
RuntimeError systemError(int errnoValue);
// Why the file at `path` could not be saved: the system's error number
// of the step that failed (making the temporary file, writing, syncing
// or the rename that gives the new file its name). A missing folder is
// 76; whatever names no other cause is 70, as a file that may not be
// written or replaced.
RuntimeError saveFailed(const QString& path, int errnoValue);
// Why the file at `path` could not be read (`errnoValue`: the system's
// error number): a missing file as the runtime says it, unnamed; any other
// failure names the file.
RuntimeError readFailed(int errnoValue, const QString& path);
// The file at `path` is no regular file: a folder (70, "is a folder") or a
// pipe, a device or a socket (75, "is not a regular file").
RuntimeError notAFile(const QString& path, bool folder);
// A file of more than `largest` bytes, more than the program reads: 7,
// "Out of memory", naming the file.
RuntimeError tooLarge(const QString& path, qint64 largest);
// A file larger than the memory the program can still take: 7, "Out of
// memory", naming the file.
RuntimeError cannotHold(const QString& path);
// A save refused because what it would write is more than `largest`
// bytes, which the program would refuse to read again: 7, naming the file.
RuntimeError tooLargeToSave(const QString& path, qint64 largest);
// A save refused because another program changed the file since the
// window read it: 75, naming the file.
RuntimeError changedElsewhere(const QString& path);
// A save refused because the file it would replace could not be read
// (`why`): the same number, and a description that names the file. With
// `whenOpened` the reading that failed was the one that opened the file for
// the window saving it now: what the file holds was never shown there.
RuntimeError notReplaced(const RuntimeError& why, const QString& path, bool whenOpened = false);
} // namespace Err
