#include "Platform/Audio.h"

#include <QFileInfo>

namespace {
std::unique_ptr<SoundPlayer>& soundSlot() {
    static std::unique_ptr<SoundPlayer> p;
    return p;
}
std::unique_ptr<MusicDevice>& musicSlot() {
    static std::unique_ptr<MusicDevice> p;
    return p;
}
} // namespace

SoundPlayer& SoundPlayer::instance() {
    if (!soundSlot()) soundSlot() = std::make_unique<SilentSound>();
    return *soundSlot();
}
void SoundPlayer::install(std::unique_ptr<SoundPlayer> player) { soundSlot() = std::move(player); }

MusicDevice& MusicDevice::instance() {
    if (!musicSlot()) musicSlot() = std::make_unique<SilentMusic>();
    return *musicSlot();
}
void MusicDevice::install(std::unique_ptr<MusicDevice> device) { musicSlot() = std::move(device); }

bool SilentMusic::open(const QString& path) {
    if (open_ || path.isEmpty() || !QFileInfo(path).isFile()) return false;
    open_ = true;
    return true;
}

bool RecordingMusic::open(const QString& path) {
    commands << QStringLiteral("open ") + path;
    if (isOpen() || path.isEmpty() || !QFileInfo(path).isFile()) return false;
    openFile = path;
    return true;
}

void RecordingMusic::play() {
    commands << QStringLiteral("play");
    if (!isOpen()) return;
    playing = true;
    lastPlayed = openFile;
}

void RecordingMusic::stop() {
    commands << QStringLiteral("stop");
    playing = false;
}

void RecordingMusic::close() {
    commands << QStringLiteral("close");
    playing = false;
    openFile.clear();
}
