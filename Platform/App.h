#pragma once
// The running program: its folder, its title for untitled boxes, its end,
// and whether another copy runs.
#include "Platform/Errors.h"

#include <QString>
#include <functional>
#include <optional>

namespace App {

// The program folder, where every file of the program lies; the
// executable's folder unless set (tests set a temporary folder).
QString path();
void setPath(const QString& folder);
// path() + "/" + name: media and other files shipped beside the program.
QString file(const QString& name);

// Where the program keeps what it writes: the program folder when it can
// be written, else the per-user data folder (made on first use). Once the
// per-user folder has held this program folder's data (a mark there says
// so), it stays the data folder, even when the program folder can be
// written again: the saves of one session are found by the next, and the
// program folder is then only where files not yet copied are read from.
QString dataFolder();
// The mark in the per-user folder that this program folder's data lives
// there: one hidden file per program folder, named by its path, so that
// installations sharing the per-user folder each keep their own choice.
QString dataFolderMark();
enum class Access { Read, Write };
// Where data file `name` ("QEM.ini", "Bank.mdb", ...) lives. Read: the data
// folder's copy, else the one beside the program, else the data folder's
// path (a file not made yet). Write: the data folder's path; a file that so
// far lies only beside the program is copied there first, so a database
// opened for writing keeps what it held. A store (".mdb", or a file with
// a journal or log beside it) is copied through the engine
// (Ado::copyStore): as the engine reads it, or not at all. Any other copy
// is written whole under a temporary name and takes the file's name only
// once every byte is on the disk: a copy that fails leaves nothing in the data folder, and `error`
// says why (a full disk as "61: Disk full"). The path is given all the same,
// so a file saved there whole loses nothing; a caller that changes the file
// in place (a database) must not go on when `error` is set, or it would
// start a new file in front of the one beside the program. Where the
// per-user folder cannot be made or written, both give the path beside the
// program.
QString dataFile(const QString& name, Access access = Access::Read, std::optional<RuntimeError>* error = nullptr);
// Tests: whether the program folder counts as writable (unset: ask the
// file system), and the per-user folder used when it is not.
void setProgramFolderWritable(std::optional<bool> writable);
void setUserDataFolder(const QString& folder);
// Tests: the program folder is probed anew, and its next `attempts` tries
// to write there fail as on a device error.
void failProbes(int attempts);

// The language of the toolkit's own texts (standard buttons, dialogs,
// context menus): "de" loads Qt's German translations, anything else
// leaves them English.
void setToolkitLanguage(const QString& code);

// The application title, shown on message boxes without a title of their own.
QString title();
void setTitle(const QString& t);

// Ends the program at once: no window's close handler runs. The caller
// returns right after. Tests replace the ending with their own handler.
void end();
void setEndHandler(std::function<void()> handler);
bool ending();
void resetEnding();
// Runs the event loop until the program ends. When end() came before the
// loop began (a copy refused during its start-up), returns at once.
int run();

// True when another copy of the program holds the lock of the data folder
// it writes, or, where that is another folder, holds the program folder's
// lock exclusively (it writes there). A copy whose data lies elsewhere
// holds the program folder's lock shared: the users of one read-only
// installation, each with a per-user folder of their own, all run. A lock
// is an flock on a hidden file in the folder (instanceLockFile()), which
// the kernel releases when the process ends however it ends: what the file
// holds, the environment and reused process numbers play no part. A
// program folder where the lock file cannot be made (installed read-only)
// is guarded by the data folder's lock alone, since writes go there; a copy
// that can make no lock anywhere runs. The first call takes the locks when
// they are free and keeps them for the run.
bool previousInstance();
// Whether this copy holds the lock of its data folder (after
// previousInstance()): only then is what lies there its own to tidy.
bool holdsDataFolderLock();
// The lock file of a folder (of the data folder when none is given).
QString instanceLockFile();
QString instanceLockFile(const QString& folder);
void releaseInstanceLock();

} // namespace App
