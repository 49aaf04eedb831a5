// The messenger's conversation log receiving a flood from its peer, shown:
//   "1 MB without blanks": one read of 1 MB holding no blank or line break
//     (one line of the log);
//   "10 MB random bytes": 10 MB of random bytes in reads of 64 KB, each read
//     decoded from Windows-1252 and made one line, as the chat window does;
// against the floor: a plain QPlainTextEdit breaking lines anywhere, given
// the same texts with appendPlainText. Each way ends when the log has taken
// in every line (lines that came while it rested go in after the last
// read), laid out and painted its end. Prints the median time of each and
// the ratio.
//
// Then the memory a long flood leaves: "300 MB flood", 300 MB of random
// bytes in reads of 64 KB into the log, against the floor of a plain
// read-only QPlainTextEdit given the same last 4 MB the log keeps; and
// "16 MB line feeds", a raw client's 16 MB of line feeds in reads of 64 KB,
// each read handled as it arrives, and "line feeds one by one", 1,000,000
// reads of one line feed each (a slow peer: the log long full), against the
// floor of a plain read-only QPlainTextEdit without undo that keeps as many
// lines as the log (maximumBlockCount) and is given the same reads with
// appendPlainText. Each
// runs in a process of its own (this program started again with
// "--flood <flood> log" or "--flood <flood> floor"), which reports its time
// and its peak resident memory.
#include "Modules/modMessenger.h"
#include "Platform/Ansi.h"
#include "PeakMemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {
constexpr int kRuns = 5;
constexpr qsizetype kRead = 64 * 1024;
constexpr qsizetype kFloodReads = 300 * 1024 * 1024 / kRead;
constexpr qsizetype kLineFeedReads = 16 * 1024 * 1024 / kRead;
constexpr qsizetype kTrickleReads = 1000000;

QStringList noBlanks() { return {QString(1024 * 1024, u'x')}; }

// Reads of random bytes, each decoded as the chat window decodes it.
class RandomReads {
public:
    QString next() {
        QByteArray bytes(kRead, Qt::Uninitialized);
        random_.fillRange(reinterpret_cast<quint32*>(bytes.data()), kRead / 4);
        return Ansi::decode(bytes);
    }

private:
    QRandomGenerator random_{7};
};

QStringList randomReads() {
    RandomReads reads;
    QStringList out;
    for (int i = 0; i < 160; ++i) out << reads.next();
    return out;
}

void showAtEnd(QPlainTextEdit& log) {
    // Lines still waiting go in first.
    while (logWaiting(&log)) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    log.verticalScrollBar()->setValue(log.verticalScrollBar()->maximum());
    log.repaint();
    QCoreApplication::processEvents();
}

QPlainTextEdit* newLog(bool program) {
    auto* log = new QPlainTextEdit;
    log->resize(384, 200);
    if (program) setUpLog(log);
    else log->setWordWrapMode(QTextOption::WrapAnywhere);
    log->show();
    if (!QTest::qWaitForWindowExposed(log)) std::fprintf(stderr, "the log was not shown\n");
    return log;
}

// Milliseconds from the first line to the log shown at its end.
qint64 timeOne(const QStringList& reads, bool program) {
    std::unique_ptr<QPlainTextEdit> log(newLog(program));
    QElapsedTimer clock;
    clock.start();
    for (const QString& r : reads) {
        if (program) appendToLog(log.get(), r);
        else log->appendPlainText(r);
        QCoreApplication::processEvents();
    }
    showAtEnd(*log);
    return clock.elapsed();
}

qint64 median(const std::function<qint64()>& run) {
    QList<qint64> times;
    for (int i = 0; i < kRuns; ++i) times << run();
    std::sort(times.begin(), times.end());
    return times[kRuns / 2];
}


// Line feeds in this process, `reads` reads of `size` each; prints
// "<ms> <peak MB>".
int lineFeeds(bool program, qsizetype reads, qsizetype size) {
    std::unique_ptr<QPlainTextEdit> log(newLog(program));
    if (!program) {
        log->setReadOnly(true);
        log->setUndoRedoEnabled(false);
        log->setMaximumBlockCount(kLogLines);
    }
    const QString read = Ansi::decode(QByteArray(size, '\n'));
    QElapsedTimer clock;
    clock.start();
    for (qsizetype i = 0; i < reads; ++i) {
        if (program) appendToLog(log.get(), read);
        else log->appendPlainText(read);
        // The log is shown after each 64 KB read, and after every hundred
        // reads of one line feed (each shown alone would measure painting).
        if (size > 1 || i % 100 == 99) QCoreApplication::processEvents();
    }
    showAtEnd(*log);
    std::printf("%lld %.1f\n", static_cast<long long>(clock.elapsed()), peakMegabytes());
    return 0;
}

// The random bytes in this process; prints "<ms> <peak MB>".
int flood(bool program) {
    std::unique_ptr<QPlainTextEdit> log(newLog(program));
    if (!program) log->setReadOnly(true);
    RandomReads reads;
    // The floor keeps the reads that make up the last 4 MB, as the log does.
    QStringList tail;
    qsizetype tailSize = 0;
    QElapsedTimer clock;
    clock.start();
    for (qsizetype i = 0; i < kFloodReads; ++i) {
        const QString r = reads.next();
        if (program) {
            appendToLog(log.get(), r);
            QCoreApplication::processEvents();
            continue;
        }
        tail << r;
        tailSize += r.size() + 1;
        while (tailSize - tail.first().size() - 1 >= kLogCharacters) tailSize -= tail.takeFirst().size() + 1;
    }
    if (!program) log->setPlainText(tail.join(u'\n').right(kLogCharacters - 1));
    showAtEnd(*log);
    std::printf("%lld %.1f\n", static_cast<long long>(clock.elapsed()), peakMegabytes());
    return 0;
}

// Runs one flood in a process of its own: {ms, peak MB}.
std::pair<double, double> floodApart(const char* flood, const char* which) {
    QProcess run;
    run.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--flood"), QString::fromLatin1(flood), QString::fromLatin1(which)});
    if (!run.waitForFinished(-1) || run.exitCode() != 0) return {0, 0};
    const QList<QByteArray> figures = run.readAllStandardOutput().trimmed().split(' ');
    return {figures.value(0).toDouble(), figures.value(1).toDouble()};
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--flood") == 0) {
        const bool program = qstrcmp(argv[3], "log") == 0;
        if (qstrcmp(argv[2], "lines") == 0) return lineFeeds(program, kLineFeedReads, kRead);
        if (qstrcmp(argv[2], "trickle") == 0) return lineFeeds(program, kTrickleReads, 1);
        return flood(program);
    }
    const struct {
        const char* name;
        QStringList reads;
    } cases[] = {{"1 MB without blanks", noBlanks()}, {"10 MB random bytes", randomReads()}};
    for (const auto& c : cases) {
        const qint64 log = median([&] { return timeOne(c.reads, true); });
        const qint64 floor = median([&] { return timeOne(c.reads, false); });
        std::printf("%-22s log %6lld ms   floor %6lld ms   ratio %.2f\n", c.name, static_cast<long long>(log),
                    static_cast<long long>(floor), floor > 0 ? double(log) / double(floor) : 0.0);
    }
    const struct {
        const char* name;
        const char* flood;
    } floods[] = {{"300 MB flood", "random"}, {"16 MB line feeds", "lines"}, {"line feeds one by one", "trickle"}};
    for (const auto& f : floods) {
        const auto [logMs, logMb] = floodApart(f.flood, "log");
        const auto [floorMs, floorMb] = floodApart(f.flood, "floor");
        std::printf("%-22s log %6.0f ms %7.1f MB   floor %6.0f ms %7.1f MB   time ratio %.2f   memory ratio %.2f\n",
                    f.name, logMs, logMb, floorMs, floorMb, floorMs > 0 ? logMs / floorMs : 0.0,
                    floorMb > 0 ? logMb / floorMb : 0.0);
    }
    return 0;
}
