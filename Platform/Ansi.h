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
// Reads a kept file or a document the user chose: UTF-16 (little or big
// endian) after its byte-order mark, UTF-8 when the bytes are valid UTF-8
// (a UTF-8 byte-order mark is dropped), else Windows-1252.
QString decodeDocument(const QByteArray& bytes);
// A control character that has no place in a line of text: NUL and the
// other codes below 32 but tab, and DEL.
bool isControl(QChar c);
// True when decoded text is mostly not text: at least half of its non-empty
// lines hold a control character (form feeds and the end-of-file mark 26
// at its very end aside). A text with a stray control byte (what a power
// loss or a slip in an editor leaves) is still text.
bool isBinary(const QString& decoded);
}
