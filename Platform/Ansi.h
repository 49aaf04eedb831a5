#pragma once
// Windows-1252, the character set of the program's own text files.
#include <QByteArray>
#include <QString>

namespace Ansi {
QString decode(const QByteArray& bytes);
// Characters outside Windows-1252 become '?'.
QByteArray encode(const QString& text);
// The Windows-1252 code of one character (63 '?' when it has none).
int code(QChar c);
QChar fromCode(int code);
// True when Windows-1252 has a code for every character of `text`.
bool holds(const QString& text);
// The bytes of a file the program keeps or a document it saves: Windows-1252
// when that holds every character (what older copies of the program read),
// else the whole text in UTF-8, so nothing typed is lost.
QByteArray encodeFile(const QString& text);
// The encoding a file is written back in, the one decodeDocument read it
// in: UTF-8 (with its byte-order mark where it had one) when it holds more
// than ASCII; UTF-16 with its mark, little or big endian; else
// Windows-1252, the encoding of the old program's files.
enum class Encoding { Windows1252, Utf8, Utf8WithMark, Utf16LE, Utf16BE };
// Reads a kept file or a document the user chose: UTF-16 (little or big
// endian) after its byte-order mark, UTF-8 when the bytes are valid UTF-8
// (a UTF-8 byte-order mark is dropped), else Windows-1252. A file that
// starts with a UTF-16 mark but is no UTF-16 text (an odd number of bytes,
// or line ends that are bytes, not characters: a Windows-1252 file whose
// first letters are "ÿþ") is read as the rest are. UTF-16 is read code
// unit by code unit: a lone surrogate stays in the text as it stood, to be
// written back the same. `writeBack`, when given, is set to the encoding
// to write the text back in.
QString decodeDocument(const QByteArray& bytes, Encoding* writeBack = nullptr);
// The bytes of a file read in `encoding`: UTF-8 and UTF-16 as they were
// (with their marks), else as encodeFile.
QByteArray encodeAs(const QString& text, Encoding encoding);
// The length of the text without the run of NUL characters and end-of-file
// marks (26) at its very end: what a power loss or an old editor leaves
// after the text, which is no part of it.
qsizetype textLength(const QString& decoded);
// A control character that has no place in a line of text: NUL and the
// other codes below 32 but tab, and DEL.
bool isControl(QChar c);
// True when decoded text looks binary: it holds NUL characters (a run of
// them at its very end aside: what a power loss leaves after the text) and
// control characters make up an eighth of it, or at least 16 of them a
// sixteenth. A text with stray
// control characters (a slip in an editor, a line a terminal coloured) is
// still text, whatever share of its lines they spoil.
bool isBinary(const QString& decoded);
}
