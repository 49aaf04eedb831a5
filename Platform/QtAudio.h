#pragma once
// The sound player and the music device over Qt Multimedia, for computers
// with an audio output. Neither blocks the user interface, except a
// synchronous sound, which waits (letting timers run, holding back the
// user's input) until the sound has ended, never longer than its length.
//
// Short sounds come by the dozen a second (a letter or a click per key), so
// no request may build up or tear down a media pipeline: wave and .au files
// are decoded once and played through one long-lived audio output per
// service; any other file (mp3, MIDI) gets one media player of its own,
// prepared once and restarted on each request, never given another file.
#include "Platform/Audio.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

class QAudioOutput;
class QAudioSink;
class QEventLoop;
class QMediaPlayer;
class QTimer;

namespace QtAudio {

// A sound decoded into the one format the outputs play: 16-bit signed
// samples, mono, outputRate a second.
struct Clip {
    QByteArray pcm;
    qint64 lengthMs = 0;
};
constexpr int outputRate = 44100;

// Decodes a wave file (PCM, float, A-law or mu-law) or an .au file; nullopt
// for anything else (those go to a media player). A data part longer than
// the file (a file cut short) gives what is there.
std::optional<Clip> decode(const QByteArray& bytes);

// One service's output: decoded clips through one long-lived audio sink,
// other files through their own prepared players. One sound at a time: a
// new one cuts the one before.
class Channel {
public:
    Channel();
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // Starts the file from its beginning, looping with loop. False when the
    // file cannot be read.
    bool start(const QString& path, bool loop);
    void stop();
    bool isPlaying() const;
    // The playing time of the sound now started in ms; -1 when unknown.
    qint64 length() const;
    // The media player of the sound now started; null for a clip.
    QMediaPlayer* player() const;

private:
    class Source;
    std::shared_ptr<const Clip> clipOf(const QString& path);
    QMediaPlayer* playerOf(const QString& path);
    void startClip(std::shared_ptr<const Clip> clip, bool loop);

    struct Cached {
        qint64 size = -1;
        qint64 modified = 0;
        std::shared_ptr<const Clip> clip; // null: not decodable, use a player
    };
    QHash<QString, Cached> clips_;
    QHash<QString, QMediaPlayer*> players_;
    std::unique_ptr<QAudioOutput> playerOutput_;
    std::unique_ptr<Source> source_;
    std::unique_ptr<QAudioSink> sink_;
    std::unique_ptr<QTimer> idle_;
    QPointer<QMediaPlayer> current_;
    std::shared_ptr<const Clip> clip_;
    bool loop_ = false;
    QElapsedTimer started_;
};

} // namespace QtAudio

class QtSoundPlayer : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    bool play(const QString& path, int flags) override;
    void stop() override;

private:
    void waitForEnd(const QElapsedTimer& started);
    QtAudio::Channel channel_;
    QPointer<QEventLoop> waiting_;
};

class QtMusicDevice : public MusicDevice {
public:
    QtMusicDevice();
    ~QtMusicDevice() override;
    bool open(const QString& path) override;
    bool isOpen() const override { return !file_.isEmpty(); }
    void play() override;
    void stop() override;
    void close() override;

private:
    QtAudio::Channel channel_;
    QString file_;
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
