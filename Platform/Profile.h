#pragma once
// Private-profile (ini) files: [section] headers and key=value lines,
// names compared without regard to case. Read as every kept file is (UTF-16
// after its byte-order mark, UTF-8, else Windows-1252) and written whole in
// Windows-1252, or in UTF-8 where that cannot hold a character. CR LF, LF
// and a lone CR all end a line.
#include "Platform/Errors.h"

#include <QString>

namespace Profile {

// Copies the value of key in section of file into out, at most size - 1
// characters, and returns how many it copied. An absent file, section or
// key gives defaultValue instead (cut the same way). Surrounding blanks and
// one pair of enclosing quotes are removed from a stored value.
int getString(const QString& section, const QString& key, const QString& defaultValue,
              QString& out, int size, const QString& file);

// Writes key=value into section of file, creating file and section when
// needed and keeping every other line as it was. The file is replaced
// whole (Platform/Storage.h), so a failed write leaves the old one; a file
// that exists but cannot be read is not written. On failure returns false
// and, when error is given, the reason (see Platform/SaveError.h).
bool writeString(const QString& section, const QString& key, const QString& value,
                 const QString& file, RuntimeError* error = nullptr);

} // namespace Profile
