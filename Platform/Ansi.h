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
// Reads a document the user chose: UTF-8 when it is valid UTF-8, else Windows-1252.
QString decodeDocument(const QByteArray& bytes);
}
