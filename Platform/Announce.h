#pragma once
// Telling screen readers of a result that shows away from the focus: the
// amounts a conversion fills in, a calculation's result, the outcome of a
// guess, a line that arrives in a chat. Readers speak what happens where
// the focus is and pass over what changes elsewhere (a label's new text
// among it), but they speak a notification that appears, wherever it is.
// tellReaders() shows one with the text: a notice, a part of the window
// that readers know as a notification, named by the text and holding it as
// its content (the text a braille display shows); it is not drawn and takes
// neither the focus nor the mouse. Each text told is a notice of its own,
// shown once and never renamed, so a reader that reads a notice late still
// reads the text it was shown with; a window keeps its last few notices and
// removes older ones, so a flood costs no more than a few. Line breaks and
// other control characters are told as blanks, and a text is told up to its
// first kLongestTold characters. Nothing is done while no reader listens: a
// caller that builds a long text to tell asks readersListen() first and
// builds no more than is told.
#include <QtGlobal>

class QString;
class QWidget;

constexpr qsizetype kLongestTold = 1000;

// `where` is the control that shows the result (its window tells it).
void tellReaders(QWidget* where, const QString& text);

// Whether a screen reader listens, so that a text told reaches one.
bool readersListen();
