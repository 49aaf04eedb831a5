#pragma once
// Telling screen readers of a result that shows away from the focus: the
// amounts a conversion fills in, a calculation's result, the outcome of a
// guess, a line that arrives in a chat. Readers speak what happens where
// the focus is and pass over what changes elsewhere (a label's new text
// among it), but they speak a notification that appears, wherever it is.
// tellReaders() shows one with the text: each window has one notice, a
// part of the window that readers know as a notification, named by the
// text told last; it is not drawn and takes neither the focus nor the
// mouse. Line breaks and other control characters are told as blanks, and
// a text is told up to its first thousand characters. Nothing is done while
// no reader listens.
class QString;
class QWidget;

// `where` is the control that shows the result (its window tells it).
void tellReaders(QWidget* where, const QString& text);
