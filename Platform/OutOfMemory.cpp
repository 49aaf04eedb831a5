#include "Platform/OutOfMemory.h"

#include "Platform/MsgBox.h"
#include "Platform/SaveError.h"

void ShowOutOfMemory(const QString& routine) {
    const RuntimeError e = Err::outOfMemory();
    ShowProblem(routine, e.number, e.description);
}
