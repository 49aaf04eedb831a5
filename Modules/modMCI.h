#pragma once
// The music player: one tune at a time from the program's Sound folder, on
// the one music device "MM". A new tune replaces the running one.
#include <QString>

extern QString MusicFile;

void PlayMusic(const QString& fileName);
void StopMusic();
// MusicFile = the full path of fileName in the Sound folder, "" when it does not exist.
void SetMusicFile(const QString& fileName);
// 1 open and play MusicFile, 2 stop, 3 stop and close; other values do nothing.
void MciCommand(int mode);
// Keeps the music device's audio output ready while tunes must sound the
// moment they are asked for (letters as they are typed), or lets it rest.
void KeepMusicReady(bool kept);
