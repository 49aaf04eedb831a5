#pragma once
// The running program: its folder, its title for untitled boxes, its end,
// and whether another copy runs.
#include <QString>
#include <functional>

namespace App {

// The program folder, where every file of the program lies; the
// executable's folder unless set (tests set a temporary folder).
QString path();
void setPath(const QString& folder);
// path() + "/" + name.
QString file(const QString& name);

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

// True when another copy of the program holds the program folder's lock.
// The first call takes the lock when it is free and keeps it for the run.
bool previousInstance();
void releaseInstanceLock();

} // namespace App
