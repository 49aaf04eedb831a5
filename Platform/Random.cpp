#include "Platform/Random.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <cmath>

namespace {
QList<double> scripted;
QRandomGenerator& generator() {
    static QRandomGenerator g(1);
    return g;
}
} // namespace

double Rnd() {
    if (!scripted.isEmpty()) return scripted.takeFirst();
    return generator().generateDouble();
}

void Randomize() { generator().seed(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch())); }

int RandomBetween(int lo, int hi) { return static_cast<int>(std::floor((hi - lo + 1) * Rnd() + lo)); }

namespace RandomSeam {
void script(const QList<double>& values) { scripted = values; }
void clear() { scripted.clear(); }
} // namespace RandomSeam
