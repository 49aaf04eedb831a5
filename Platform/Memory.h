#pragma once
// Whether the program can still hold a large piece of memory, asked before
// it reads or builds one (a document, a planner's list, an interpretation).
// A computer short of memory makes a large allocation fail; the language
// runtime reported that as "7: Out of memory" and the routine's error trap
// showed it, so every trap that shows "Problem: <routine>" also catches
// std::bad_alloc and shows Err::outOfMemory() (Platform/SaveError.h),
// keeping its window and what it holds.
//
// reserve() throws std::bad_alloc where a size says in advance that the
// memory is not there: more than the process's address-space limit leaves,
// or more than the computer's memory and swap together. Whatever it lets
// through may still fail when allocated; the traps catch that as well.
#include <QtGlobal>
#include <optional>

namespace Memory {

// Whether `bytes` more can be held (by the limits above).
bool mayHold(qint64 bytes);
// Throws std::bad_alloc unless mayHold(bytes).
void reserve(qint64 bytes);

// What an editor box holds for a text of `characters` characters, at the
// least: the text decoded, its copy with one kind of line end, and the
// editor's own copy with the layout of its lines.
qint64 textCost(qint64 characters);

// Tests: every reserve() of more than `bytes` fails, as on a computer short
// of memory (none: only the real limits count).
void failAbove(std::optional<qint64> bytes);

} // namespace Memory
