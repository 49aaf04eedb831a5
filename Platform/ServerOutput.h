#pragma once
// A channel's output to the computer's audio server (PulseAudio, or a server
// that speaks its protocol): one playback stream, fed from the channel's
// Stream on a thread of its own.
//
// It talks to the server through the server's own simple client library
// (libpulse-simple), whose calls may wait on the server as long as the
// library likes (a connection to a stopped server: 30 s; a write to a
// suspended device: until it plays again). So only the output's thread
// calls it, and dropping an output never waits for its thread: the thread
// ends by itself once the server lets it go, and touches the stream no
// more. Until then new outputs wait on their threads before they connect,
// so threads do not pile up in a server that stopped answering.
//
// The thread connects at the first sound and writes a buffer and a chunk of
// silence: the last of it goes once the server takes samples, and only then
// does the thread take the stream, so the channel sees the output start when
// the server does. Then it writes the stream a few milliseconds at a time, a
// short buffer ahead of what is heard, reports each sound whose last sample
// it wrote, waits at a held stream for the next sound as long as what it
// wrote still plays, and lets the server rest after a few seconds of
// silence. A stream kept ready connects with no sound and does not rest
// while it is kept. A connection or write that fails is reported once, and the
// thread ends.
#include "Platform/QtAudio.h"

#include <memory>
#include <thread>

class ServerOutput : public QtAudio::Output {
public:
    ServerOutput(std::shared_ptr<QtAudio::Stream> stream, Reports reports);
    ~ServerOutput() override;

    // A server answers now. Waits on the server: never on the user interface
    // thread of the program (the sound check asks it before it starts).
    static bool reachable();
    // At the program's end: waits up to ms for the outputs' threads to end,
    // so a healthy output closes its stream.
    static void waitForThreads(int ms);

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

namespace QtAudio {
std::unique_ptr<Output> makeServerOutput(std::shared_ptr<Stream> stream, Output::Reports reports);
}
