#pragma once
// The error trap's message for an allocation that failed: "Problem: " and
// the routine's name, a line break and the runtime's "7: Out of memory" in
// the program's language, as a critical box (see Platform/Memory.h).
class QString;

void ShowOutOfMemory(const QString& routine);
