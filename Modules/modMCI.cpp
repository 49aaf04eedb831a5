#include "Modules/modMCI.h"

#include "Platform/App.h"
#include "Platform/Audio.h"

#include <QFileInfo>

QString MusicFile;

void SetMusicFile(const QString& fileName) {
    const QString full = App::file(QStringLiteral("Sound/") + fileName);
    MusicFile = QFileInfo(full).isFile() ? full : QString();
}

void MciCommand(int mode) {
    MusicDevice& mm = MusicDevice::instance();
    switch (mode) {
    case 1:
        // A file that cannot be opened plays nothing and reports nothing.
        if (mm.open(MusicFile)) mm.play();
        break;
    case 2: mm.stop(); break;
    case 3:
        mm.stop();
        mm.close();
        break;
    default: break;
    }
}

void StopMusic() { MciCommand(3); }

void KeepMusicReady(bool kept) { MusicDevice::instance().keepReady(kept); }

void PlayMusic(const QString& fileName) {
    SetMusicFile(fileName);
    StopMusic();
    MciCommand(1);
}
