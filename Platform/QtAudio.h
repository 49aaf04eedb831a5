#pragma once
// The sound player and the music device over Qt Multimedia, for computers
// with an audio output. Neither blocks the user interface, except a
// synchronous sound, which waits (letting timers run, holding back the
// user's input) until the sound has ended, never longer than its length.
#include "Platform/Audio.h"

#include <QPointer>
#include <QString>
#include <memory>

class QAudioOutput;
class QElapsedTimer;
class QEventLoop;
class QMediaPlayer;

class QtSoundPlayer : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    bool play(const QString& path, int flags) override;
    void stop() override;

private:
    void waitForEnd(const QString& path, const QElapsedTimer& started);
    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;
    QPointer<QEventLoop> waiting_;
};

class QtMusicDevice : public MusicDevice {
public:
    QtMusicDevice();
    ~QtMusicDevice() override;
    bool open(const QString& path) override;
    bool isOpen() const override { return open_; }
    void play() override;
    void stop() override;
    void close() override;

private:
    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;
    bool open_ = false;
};

namespace QtAudio {
// Installs the Qt Multimedia player and device where the computer has an
// audio output, else the silent ones. True when sound can be heard.
bool install();
// The playing time of a wave file in milliseconds, read from its header;
// -1 when the file is no wave file this can read.
qint64 waveLength(const QString& path);
// How long a synchronous sound of unknown length is waited for at most.
constexpr int unknownLengthLimitMs = 30000;
} // namespace QtAudio
