#pragma once
// A routine's error trap: what it runs may fail with a runtime error or an
// allocation failure (std::bad_alloc, from an allocation or from
// Memory::reserve). Either ends the routine there and is shown as the
// runtime showed it, "Problem: <routine>\n<number>: <description>", an
// allocation failure as "7: Out of memory" in the program's language. The
// window and what it holds stay as they were when the failure came: a
// routine that must undo a part it built does so in `undo`.
#include "Platform/Errors.h"
#include "Platform/MsgBox.h"
#include "Platform/OutOfMemory.h"

#include <new>
#include <utility>

namespace Problem {

// Runs `work`; false when it failed and the problem was shown.
template <class Work, class Undo>
bool trap(const QString& routine, Work&& work, Undo&& undo) {
    try {
        work();
        return true;
    } catch (const RuntimeError& e) {
        undo();
        ShowProblem(routine, e.number, e.description);
    } catch (const std::bad_alloc&) {
        // What failed to be built is gone by now, so the box has room.
        undo();
        ShowOutOfMemory(routine);
    }
    return false;
}

template <class Work>
bool trap(const QString& routine, Work&& work) {
    return trap(routine, std::forward<Work>(work), [] {});
}

} // namespace Problem
