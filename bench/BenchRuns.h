#pragma once
// What the benchmarks share: each measured run is a process of its own (so
// no run reuses memory another freed), started as this program with
// "--run" and its arguments, printing "<nanoseconds> <bytes>"; the median of
// several such runs; the resident memory now; a watch for the first paint
// of a view showing all its rows; and the random words the vocabulary
// benchmarks store.
#include <QAbstractItemView>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <unistd.h>

namespace BenchRuns {

struct Result {
    double ms = 0;
    double mb = 0;
};

// The median time and memory of `runs` runs of this program with "--run" and `args`.
inline Result median(int runs, const QStringList& args) {
    QList<double> ms, mb;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--run")} + args);
        p.waitForFinished(-1);
        const QList<QByteArray> out = p.readAllStandardOutput().trimmed().split(' ');
        ms << out.value(0).toDouble() / 1e6;
        mb << out.value(1).toDouble() / (1024.0 * 1024.0);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(mb.begin(), mb.end());
    return {ms[runs / 2], mb[runs / 2]};
}

// The resident memory of this process now, in bytes (Linux).
inline qint64 residentBytes() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

// Notes a paint of the view's viewport once its model holds `rows` rows.
class PaintWatch : public QObject {
public:
    PaintWatch(QAbstractItemView* view, int rows) : view_(view), rows_(rows) {
        view->viewport()->installEventFilter(this);
    }
    bool painted = false;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && view_->model()->rowCount() == rows_) painted = true;
        return false;
    }

private:
    QAbstractItemView* view_;
    int rows_;
};

// A word of 3 to 10 letters, umlauts among them.
inline QString randomWord(QRandomGenerator& rng) {
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzäöü");
    QString w;
    const int n = 3 + int(rng.bounded(8));
    for (int i = 0; i < n; ++i) w += letters[int(rng.bounded(int(letters.size())))];
    return w;
}

} // namespace BenchRuns
