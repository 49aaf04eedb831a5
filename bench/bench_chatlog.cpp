// The messenger's conversation log receiving a flood from its peer, shown:
//   "1 MB without blanks": one read of 1 MB holding no blank or line break
//     (one line of the log);
//   "10 MB random bytes": 10 MB of random bytes in reads of 64 KB, each read
//     decoded from Windows-1252 and made one line, as the chat window does;
// against the floor: a plain QPlainTextEdit breaking lines anywhere, given
// the same texts with appendPlainText. Each way ends when the log has laid
// out and painted its end. Prints the median time of each and the ratio.
#include "Modules/modMessenger.h"
#include "Platform/Ansi.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
constexpr int kRuns = 5;

QStringList noBlanks() { return {QString(1024 * 1024, u'x')}; }

QStringList randomReads() {
    QRandomGenerator random(7);
    QStringList reads;
    for (int i = 0; i < 160; ++i) {
        QByteArray bytes(64 * 1024, Qt::Uninitialized);
        for (char& b : bytes) b = char(random.bounded(256));
        reads << Ansi::decode(bytes);
    }
    return reads;
}

// Milliseconds from the first line to the log shown at its end.
qint64 timeOne(const QStringList& reads, bool program) {
    QPlainTextEdit log;
    log.resize(384, 200);
    if (program) setUpLog(&log);
    else log.setWordWrapMode(QTextOption::WrapAnywhere);
    log.show();
    if (!QTest::qWaitForWindowExposed(&log)) std::fprintf(stderr, "the log was not shown\n");
    QElapsedTimer clock;
    clock.start();
    for (const QString& r : reads) {
        if (program) appendToLog(&log, r);
        else log.appendPlainText(r);
        QCoreApplication::processEvents();
    }
    log.verticalScrollBar()->setValue(log.verticalScrollBar()->maximum());
    log.repaint();
    QCoreApplication::processEvents();
    return clock.elapsed();
}

qint64 median(const std::function<qint64()>& run) {
    QList<qint64> times;
    for (int i = 0; i < kRuns; ++i) times << run();
    std::sort(times.begin(), times.end());
    return times[kRuns / 2];
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
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
    return 0;
}
