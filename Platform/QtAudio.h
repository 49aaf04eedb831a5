#pragma once
// The sound player and the music device for computers with an audio output.
// Neither blocks the user interface, except a synchronous sound, which waits
// (letting timers run, holding back the user's input) until the output has
// taken its last sample.
//
// Every sound is decoded once into one format and played through one
// long-lived output per service:
//   - every file is decoded by libsndfile: one whose samples lie plain in
//     it (wave and .au files in their usual codings) at once, any other
//     (MP3 tunes, a compressed wave) on a thread of its own, playing when
//     it is ready, from its beginning;
//   - a service's sounds form one stream (Stream): each request cuts the
//     sound before it, except a synchronous sound not yet taken whole: the
//     new one follows it. A synchronous sound also holds the stream at its
//     last sample until the next sound comes, so the sounds of one playback
//     follow each other sample for sample;
//   - the output (Output) takes the stream on a thread of its own and feeds
//     the audio server. Nothing on the user interface thread waits on the
//     server: the first sound makes the output, and the output connects on
//     its thread. A new output (or one that connects again after a rest) has
//     its allowance to connect and take its first samples; the sounds asked
//     for meanwhile wait in the stream and play once it takes. One that did
//     not take within it is given up with the sounds it had not taken, and
//     made again at the next sound with twice the allowance (outputStartMs
//     at first): a server slow to start a stream is waited for, never left
//     unheard for a whole session. An output that took samples and then
//     took none for outputStallMs (a server that stopped answering, a device
//     suspended) is dropped, and a new one plays on what was not taken yet.
//     An output that failed (no server, the server gone) is dropped with the
//     sounds it had not taken, and made again at the next sound. While none
//     plays the sounds are silent, a synchronous one waiting its length.
//   - a service may keep its output ready (the Morse window's letters as
//     they are typed): the output connects at once and does not let the
//     server rest while it is kept, so a sound after a quiet spell does not
//     wait for a new connection.
#include "Platform/Audio.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QEventLoop;
class QObject;
class QTimer;

namespace QtAudio {

// A sound decoded into the one format the outputs play: 16-bit signed
// samples, mono, outputRate a second.
struct Clip {
    QByteArray pcm;
    qint64 lengthMs = 0;
};
constexpr int outputRate = 44100;

// Decodes a sound file's bytes: All, every file libsndfile reads (wave,
// .au, MP3, ...); Plain, only those whose samples lie plain in the file
// (integer, float, A-law, mu-law), which decode in a moment. nullopt for
// anything else. A data part longer than the file (a file cut short) gives
// what is there; a tune longer than ten minutes keeps its first ten.
enum class Kinds { All, Plain };
std::optional<Clip> decode(const QByteArray& bytes, Kinds kinds = Kinds::All);

// Decodes a file on the decoding thread, one file at a time; done gets the
// clip (null when the file cannot be decoded) on context's thread, unless
// context is gone by then.
void decodeLater(const QString& path, QObject* context, std::function<void(std::shared_ptr<const Clip>)> done);

// The samples of one service in order: the sounds not yet taken, the first
// from where it stands, then silence. Filled on the user interface thread,
// taken on the output's; it also keeps how the output takes it.
class Stream {
public:
    // Plays clip from its start as sound number `sound`, in place of what
    // plays now, or after the synchronous sounds not yet taken whole. With
    // follow, the stream holds at the clip's last sample until the next
    // sound comes or release() is called.
    void play(quint64 sound, std::shared_ptr<const Clip> clip, bool loop, bool follow);
    // Cuts what play() would cut, for a sound that comes later.
    void cut();
    void stop();

    struct Taken {
        qint64 bytes = 0;       // filled; fewer than asked while holding
        quint64 ended = 0;      // the last sound whose last sample is among them; 0: none
        bool holding = false;   // the stream waits for the next sound
        bool sounding = false;  // a sound's samples are among them, not only silence
    };
    Taken take(char* out, qint64 maxBytes);
    // The output can wait no longer for the next sound: silence from here.
    void release();
    // The sound at the front; 0 when none waits.
    quint64 current() const;
    // That sound is in the stream, not yet taken whole.
    bool holds(quint64 sound) const;

    // How the output takes the stream.
    struct Activity {
        bool taking = false;   // it has taken samples since it connected
        qint64 idleMs = 0;     // since it last came for samples
        bool starting = false; // not taking yet, though a sound has come for it
        qint64 startingMs = 0; // since when
    };
    Activity activity() const;
    // For the channel: a new output takes the stream from now on.
    void newOutput();
    // For the output: it let the server go, and connects again at the next sound.
    void rest();
    // Whether the output is to stay connected with no sound to play (see the top of this file).
    void setKept(bool kept);
    bool kept() const;

    // For the output's thread: returns once play(), stop() or wake() was called, or after ms.
    void waitForChange(int ms);
    void wake();

private:
    struct Entry {
        quint64 sound = 0;
        std::shared_ptr<const Clip> clip;
        bool loop = false;
        bool follow = false;
    };
    void cutLocked();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Entry> queue_;
    qint64 pos_ = 0; // in the first entry
    quint64 changes_ = 0;
    bool holding_ = false;
    bool taking_ = false;
    bool kept_ = false;
    std::chrono::steady_clock::time_point lastTake_;
    std::optional<std::chrono::steady_clock::time_point> startingSince_;
};

// Where a channel's stream goes: an output takes the stream on a thread of
// its own and reports back through Reports.
class Output {
public:
    // What an output tells its channel; callable from any thread, heard on
    // the channel's. Once the channel has dropped the output nothing more is heard.
    class Reports {
    public:
        // The last sample of that sound was taken: it plays out now.
        void ended(quint64 sound) const;
        // The output cannot play (no server, the server gone).
        void failed() const;

    private:
        friend class Channel;
        struct Box;
        std::shared_ptr<Box> box_;
    };
    virtual ~Output() = default;
};
using OutputMaker = std::function<std::unique_ptr<Output>(std::shared_ptr<Stream>, Output::Reports)>;
// How the channels make their outputs; null: the audio server's (tests
// install their own).
void setOutputMaker(OutputMaker maker);

// One service's output: every sound decoded once and played through one
// stream. One sound at a time: a new one cuts the one before.
class Channel {
public:
    Channel();
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // Starts the file from its beginning, looping with loop; with follow (a
    // synchronous sound) the next sound follows its last sample. Returns the
    // sound's number; 0 when the file cannot be read.
    quint64 start(const QString& path, bool loop, bool follow);
    void stop();
    bool isPlaying() const;
    // How long from now a wait for that sound may last at most: -1 when it is
    // over (taken by the output, cut, unplayable); what remains of its length
    // when no output plays it; while the output starts, its length or the
    // short bound from the output's start, whichever is longer; otherwise
    // until the output may have stalled. Never beyond the sound's length and
    // outputStallMs from its request.
    qint64 dueMs(quint64 sound) const;
    // Drops the output when it stalled or did not start within its
    // allowance (see the top of this file); true when it did.
    bool dropFailingOutput();
    // Keeps the output connected, ready for the next sound, or lets it rest
    // again after a quiet spell.
    void keepReady(bool kept);
    // Called on every change a waiter may want to know of (a sound taken,
    // decoded, the output gone), with the sound concerned.
    std::function<void(quint64)> changed;

private:
    friend class Output::Reports;
    struct Cached {
        qint64 size = -1;
        qint64 modified = 0;
        std::shared_ptr<const Clip> clip;
        bool decoding = false; // asked of decodeLater, no answer yet
    };
    const Cached& cached(const QString& path);
    void decoded(const QString& path, qint64 size, qint64 modified, std::shared_ptr<const Clip> clip);
    void begin(std::shared_ptr<const Clip> clip);
    void outputEnded(quint64 generation, quint64 sound);
    void outputFailed(quint64 generation);
    void makeOutput();
    void watchOutput();
    void dropOutput();
    void tell(quint64 sound);

    QHash<QString, Cached> clips_;
    std::shared_ptr<Stream> stream_;
    std::unique_ptr<Output> output_;
    Output::Reports reports_;
    quint64 generation_ = 0;
    int startAllowanceMs_; // the next output's to start
    std::unique_ptr<QObject> listener_;
    QTimer* watch_ = nullptr; // a child of listener_
    quint64 numbers_ = 0;
    quint64 sound_ = 0; // the sound asked for last, until it is over
    QString pending_;   // its file, while it is being decoded
    bool loop_ = false;
    bool follow_ = false;
    qint64 lengthMs_ = -1;
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
    void waitForEnd(quint64 sound);
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
    void keepReady(bool kept) override;

private:
    QtAudio::Channel channel_;
    QString file_;
};

namespace QtAudio {
// Installs the player and the device over the computer's audio server. It
// is not asked for at start: the first sound connects, on the output's
// thread, and a server that starts later is heard from then on.
void install();
// The playing time of a wave file in milliseconds, read from its header;
// -1 when the file is no wave file this can read.
qint64 waveLength(const QString& path);
// How long a synchronous sound of unknown length is waited for at most.
constexpr int unknownLengthLimitMs = 30000;
// How long an output that took samples may take none before it counts as
// stalled (a server stopped or a device suspended): about the length of a
// long Morse symbol. A synchronous sound is waited for at most this much
// beyond its length.
constexpr int outputStallMs = 500;
// A channel's first allowance for an output to connect and take its first
// samples: a server starting a stream on an idle or suspended device, a
// wireless headset setting up its link, take a second or two.
constexpr int outputStartMs = 4000;
// The allowance doubles after each output given up, up to this.
constexpr int outputStartMostMs = 32000;
} // namespace QtAudio
