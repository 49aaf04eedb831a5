#pragma once
// The program's random numbers: Rnd gives the next value in [0, 1),
// Randomize seeds the generator from the clock (once, at start-up). Tests
// script the values Rnd returns.
#include <QList>

double Rnd();
void Randomize();
// A whole number from lo to hi (both included), as Int((hi - lo + 1) * Rnd + lo).
int RandomBetween(int lo, int hi);

namespace RandomSeam {
// The next calls of Rnd return these values in order (each in [0, 1)); when
// they run out Rnd returns the generator's values again.
void script(const QList<double>& values);
void clear();
} // namespace RandomSeam
