#pragma once
// The sound player: a wave or MIDI file by its full path, with a play mode
// (0 asynchronous, 1 synchronous, 2 looping, 3 asynchronous without
// interrupting a playing sound). Returns "" when the sound was asked for,
// else the error text; shows the error too when showErrors is set.
#include <QString>

QString PlaySound(const QString& fileName, int mode, bool showErrors);
