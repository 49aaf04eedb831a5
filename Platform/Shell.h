#pragma once
// Opens web addresses, mail links ("mailto:") and documents with the
// desktop's default programs. Tests switch the seam on: an address, once
// built and found sound, is then only noted instead of handed to the desktop.
#include <QString>
#include <QStringList>

namespace Shell {
// False when the address is not sound or the desktop could not open it.
bool open(const QString& url);
// Opens the document at this path (blanks and any other characters
// included); false when the desktop could not open it.
bool openFile(const QString& path);
} // namespace Shell

namespace ShellSeam {
void enable(bool on);
bool enabled();
// Every address opened while the seam was on, in order, as the encoded
// URLs handed over.
QStringList opened();
void clear();
} // namespace ShellSeam
