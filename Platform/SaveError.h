#pragma once
// Why a file could not be saved, as the runtime's error: 76 "Path not
// found" when its folder is missing, 70 "Permission denied" when it may not
// be written or replaced, 57 "Device I/O error" when writing failed on the
// way. The description is in the program's language (Err::inGerman), never
// the toolkit's English text with the file's full path.
#include "Platform/Errors.h"

class QSaveFile;

namespace Err {
// `opened`: whether QSaveFile::open succeeded (its write or commit failed).
RuntimeError saveFailed(const QSaveFile& file, bool opened);
} // namespace Err
