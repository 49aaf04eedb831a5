#pragma once
// A channel's output to the computer's audio server (PulseAudio, or a server
// that speaks its protocol): one playback stream, fed from the channel's
// Stream on a thread of its own.
//
// It talks to the server through the server's own client library, loaded
// when first needed, not through Qt Multimedia's audio output: once Qt's
// connection to the server has failed and its one reconnection attempt
// found no server, Qt Multimedia plays nothing more for the rest of the run,
// while this output connects afresh at the next sound.
//
// The thread connects at the first sound, writes the stream a few
// milliseconds at a time, a short buffer ahead of what is heard, reports each
// sound whose last sample it wrote, waits at a held stream for the next sound
// as long as what it wrote still plays, and lets the server rest after a few
// seconds of silence. A connection or write that fails is reported once, and
// the thread ends.
#include "Platform/QtAudio.h"

#include <atomic>
#include <memory>
#include <thread>

class ServerOutput : public QtAudio::Output {
public:
    ServerOutput(std::shared_ptr<QtAudio::Stream> stream, Reports reports);
    ~ServerOutput() override;

    // The server's client library is there.
    static bool available();
    // A server answers now.
    static bool reachable();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

namespace QtAudio {
std::unique_ptr<Output> makeServerOutput(std::shared_ptr<Stream> stream, Output::Reports reports);
}
