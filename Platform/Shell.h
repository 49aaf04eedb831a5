#pragma once
// Opens web addresses and mail links ("mailto:") with the desktop's default
// programs. Tests switch the seam on: the addresses are then only noted.
#include <QString>
#include <QStringList>

namespace Shell {
// False when the desktop could not open the address.
bool open(const QString& url);
} // namespace Shell

namespace ShellSeam {
void enable(bool on);
bool enabled();
// Every address opened while the seam was on, in order.
QStringList opened();
void clear();
} // namespace ShellSeam
