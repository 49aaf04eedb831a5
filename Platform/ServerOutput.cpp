#include "Platform/ServerOutput.h"

#include <QCoreApplication>
#include <QLibrary>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <algorithm>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The parts of the server's simple client interface this uses, as its C
// interface defines them.
struct SampleSpec {
    int format;
    quint32 rate;
    quint8 channels;
};
struct BufferAttr {
    quint32 maxlength, tlength, prebuf, minreq, fragsize;
};
struct Connection;
constexpr int signed16LittleEndian = 3;
constexpr int playback = 1;
constexpr quint32 serverDefault = quint32(-1);

struct Library {
    Connection* (*open)(const char* server, const char* name, int direction, const char* device, const char* stream,
                        const SampleSpec* spec, const void* channelMap, const BufferAttr* buffer, int* error) = nullptr;
    void (*close)(Connection*) = nullptr;
    int (*write)(Connection*, const void* data, size_t bytes, int* error) = nullptr;
    int (*drain)(Connection*, int* error) = nullptr;
    bool loaded = false;
};

const Library& library() {
    static const Library lib = [] {
        Library l;
        QLibrary simple(QStringLiteral("pulse-simple"), 0);
        if (!simple.load()) return l;
        l.open = reinterpret_cast<decltype(l.open)>(simple.resolve("pa_simple_new"));
        l.close = reinterpret_cast<decltype(l.close)>(simple.resolve("pa_simple_free"));
        l.write = reinterpret_cast<decltype(l.write)>(simple.resolve("pa_simple_write"));
        l.drain = reinterpret_cast<decltype(l.drain)>(simple.resolve("pa_simple_drain"));
        l.loaded = l.open && l.close && l.write && l.drain;
        return l;
    }();
    return lib;
}

qint64 bytesFor(int ms) { return qint64(QtAudio::outputRate) * 2 * ms / 1000; }

// Written at a time; and how far ahead of what is heard the server's buffer
// runs: a key's sound comes that much after the key, and a held stream can
// wait nearly that long for the next sound (the user interface may be busy
// painting) before silence must fill in.
constexpr int chunkMs = 10;
constexpr int aheadMs = 150;
// The server asks for more when a quarter of the buffer has played, so a
// held stream still has this much to play after waiting this long.
constexpr auto longestHold = std::chrono::milliseconds(aheadMs * 3 / 4 - 20);
// Silence before the first sound of a new stream (100 ms).
constexpr int leadInChunks = 10;
// After this much silence the stream goes and the server may rest.
constexpr auto restAfter = std::chrono::seconds(3);
// How long closing waits for a thread stuck in the server.
constexpr auto closingWait = std::chrono::seconds(1);

Connection* connect(const QByteArray& name) {
    const Library& pa = library();
    const SampleSpec spec{signed16LittleEndian, quint32(QtAudio::outputRate), 1};
    const BufferAttr buffer{serverDefault, quint32(bytesFor(aheadMs)), serverDefault, serverDefault, serverDefault};
    int error = 0;
    return pa.open(nullptr, name.constData(), playback, nullptr, name.constData(), &spec, nullptr, &buffer, &error);
}

} // namespace

struct ServerOutput::Shared {
    std::shared_ptr<QtAudio::Stream> stream;
    Reports reports;
    QByteArray name;
    std::atomic<bool> quit{false};
    std::mutex mutex;
    std::condition_variable over;
    bool done = false;

    void run();
};

void ServerOutput::Shared::run() {
    const Library& pa = library();
    Connection* server = nullptr;
    std::vector<char> chunk(size_t(bytesFor(chunkMs)));
    auto lastSound = Clock::now();
    Clock::time_point heldSince;
    bool held = false;
    int error = 0;
    while (!quit) {
        if (!server) {
            // Connected for a sound, not for silence.
            if (stream->current() == 0) {
                stream->waitForChange(250);
                continue;
            }
            server = connect(name);
            // A new stream begins with a moment of silence: while a server
            // starts a stream it may play the stream's first tens of
            // milliseconds early, and then again in their place.
            std::fill(chunk.begin(), chunk.end(), 0);
            for (int i = 0; server && i < leadInChunks; ++i)
                if (pa.write(server, chunk.data(), chunk.size(), &error) < 0) pa.close(std::exchange(server, nullptr));
            if (!server) {
                reports.failed();
                break;
            }
            lastSound = Clock::now();
        }
        const QtAudio::Stream::Taken taken = stream->take(chunk.data(), qint64(chunk.size()));
        if (taken.bytes > 0 && pa.write(server, chunk.data(), size_t(taken.bytes), &error) < 0) {
            pa.close(std::exchange(server, nullptr));
            reports.failed();
            break;
        }
        if (taken.ended) reports.ended(taken.ended);
        const auto now = Clock::now();
        if (taken.sounding || taken.holding) lastSound = now;
        if (taken.holding) {
            if (!held) heldSince = now;
            held = true;
            if (now - heldSince > longestHold) {
                stream->release();
                held = false;
            } else {
                stream->waitForChange(1);
            }
            continue;
        }
        held = false;
        if (now - lastSound > restAfter) {
            pa.drain(server, &error);
            pa.close(std::exchange(server, nullptr));
        }
    }
    if (server) pa.close(server);
    std::lock_guard lock(mutex);
    done = true;
    over.notify_all();
}

ServerOutput::ServerOutput(std::shared_ptr<QtAudio::Stream> stream, Reports reports)
    : shared_(std::make_shared<Shared>()) {
    shared_->stream = std::move(stream);
    shared_->reports = std::move(reports);
    shared_->name = QCoreApplication::applicationName().toUtf8();
    if (shared_->name.isEmpty()) shared_->name = "Quembly";
    if (!library().loaded) {
        shared_->reports.failed();
        shared_->done = true;
        return;
    }
    thread_ = std::thread([shared = shared_] { shared->run(); });
}

ServerOutput::~ServerOutput() {
    if (!thread_.joinable()) return;
    shared_->quit = true;
    shared_->stream->wake();
    std::unique_lock lock(shared_->mutex);
    // A thread stuck in a server that no longer answers is left to end with the program.
    if (shared_->over.wait_for(lock, closingWait, [this] { return shared_->done; })) {
        lock.unlock();
        thread_.join();
    } else {
        thread_.detach();
    }
}

bool ServerOutput::available() { return library().loaded; }

bool ServerOutput::reachable() {
    if (!available()) return false;
    Connection* server = connect(QCoreApplication::applicationName().toUtf8());
    if (server) library().close(server);
    return server != nullptr;
}

namespace QtAudio {
std::unique_ptr<Output> makeServerOutput(std::shared_ptr<Stream> stream, Output::Reports reports) {
    return std::make_unique<ServerOutput>(std::move(stream), std::move(reports));
}
} // namespace QtAudio
