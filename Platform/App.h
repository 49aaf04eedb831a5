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
// be written, else the per-user data folder (made on first use).
QString dataFolder();
enum class Access { Read, Write };
// Where data file `name` ("QEM.ini", "Bank.mdb", ...) lives. Read: the data
// folder's copy, else the one beside the program, else the data folder's
// path (a file not made yet). Write: the data folder's path; a file that so
// far lies only beside the program is copied there first, so a database
// opened for writing keeps what it held. The copy is written whole under a
// temporary name and takes the file's name only once every byte is on the
// disk: a copy that fails leaves nothing in the data folder, and `error`
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
// it writes, or of the program folder where that is another folder. A lock
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
