#pragma once
// The program's plain data files (".qem"): one value a line, written as a
// double-quoted text followed by CR LF, in Windows-1252 (in UTF-8 when a
// value holds a character Windows-1252 has not). Every tool that keeps a
// list in such a file reads and writes it here.
#include <QString>
#include <QStringList>
#include <optional>

namespace QuotedLines {

// The values of the file, in order. A line's value is the text between its
// first and last double quote; a line without a quote is taken as it stands
// (blanks around it removed). CR LF, LF and CR line ends are all read, so
// what is read can always be written back; a last empty line is no value.
// The text is UTF-8 when it is valid UTF-8, else Windows-1252. No value at
// all when the file does not exist, cannot be read or is not a text file
// (`error`, when given, tells why, empty when the file is simply missing;
// `damaged`, when given, is set for a file that is not text: NUL bytes,
// control characters), and such a file is left as it is.
std::optional<QStringList> read(const QString& path, QString* error = nullptr, bool* damaged = nullptr);
// The same for the first `count` values only (fewer where the file ends
// before); the rest of the file is not read.
std::optional<QStringList> readFirst(const QString& path, qsizetype count, QString* error = nullptr,
                                     bool* damaged = nullptr);

// Replaces the file whole (a temporary file renamed over the old one). A
// value holding a line break is refused before anything is written, since
// it would shift every later value of the file. On failure the old file
// stays as it was, false is returned, `error` tells why in the program's
// language and `number` gives the runtime's error number for it: 5 for a
// refused value, 70 when the file may not be written, 76 when its folder
// is missing, 57 when writing failed on the way.
bool write(const QString& path, const QStringList& values, QString* error = nullptr, int* number = nullptr);

} // namespace QuotedLines
