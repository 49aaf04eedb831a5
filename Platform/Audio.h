#pragma once
// The two sound services of the program, behind interfaces so that the
// computer's audio output can be replaced: a sound player that plays one
// wave or MIDI sound at a time, and the one music device, open under the
// name "MM", that plays one tune at a time. Where there is no audio
// output they play nothing and never block; tests install the recording
// implementations below.
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class SoundPlayer {
public:
    // The simple sound call's flags.
    enum Flags { Sync = 0, Async = 1, Loop = 8, NoStop = 16 };
    virtual ~SoundPlayer() = default;
    // Plays the file once (or looping with Loop); with Sync it returns when
    // the sound has ended. Returns false when nothing could be played.
    virtual bool play(const QString& path, int flags) = 0;
    virtual void stop() = 0;

    static SoundPlayer& instance();
    static void install(std::unique_ptr<SoundPlayer> player);
};

class MusicDevice {
public:
    virtual ~MusicDevice() = default;
    // Opens a file on the device; fails when the device is already open or
    // the file cannot be played.
    virtual bool open(const QString& path) = 0;
    virtual bool isOpen() const = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual void close() = 0;
    // Keeps the audio output ready for the next tune, for tunes that must
    // sound the moment they are asked for (letters as they are typed), or
    // lets it rest again. Nothing where there is no output.
    virtual void keepReady(bool) {}

    static MusicDevice& instance();
    static void install(std::unique_ptr<MusicDevice> device);
};

// Plays nothing: the stand-in where the computer has no audio output.
class SilentSound : public SoundPlayer {
public:
    bool play(const QString&, int) override { return false; }
    void stop() override {}
};
class SilentMusic : public MusicDevice {
public:
    bool open(const QString& path) override;
    bool isOpen() const override { return open_; }
    void play() override {}
    void stop() override {}
    void close() override { open_ = false; }

private:
    bool open_ = false;
};

// Keeps every request, for tests.
class RecordingSound : public SoundPlayer {
public:
    struct Call {
        QString path;
        int flags;
    };
    QList<Call> calls;
    bool play(const QString& path, int flags) override {
        calls << Call{path, flags};
        return true;
    }
    void stop() override { calls << Call{QString(), -1}; }
};

class RecordingMusic : public MusicDevice {
public:
    // "open <path>", "play", "stop", "close", in order.
    QStringList commands;
    QString openFile;
    bool playing = false;
    // The file of the last tune that started playing ("" if none).
    QString lastPlayed;
    // Whether the output is kept ready.
    bool keptReady = false;

    bool open(const QString& path) override;
    bool isOpen() const override { return !openFile.isEmpty(); }
    void play() override;
    void stop() override;
    void close() override;
    void keepReady(bool kept) override { keptReady = kept; }
};
