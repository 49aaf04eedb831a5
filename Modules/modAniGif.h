#pragma once
// Animated GIF pictures on a window: the file is cut into its frames, one
// frame to each member of the window's image array imgGif (member 0 is
// the window's own, the others are made here), each member's Tag holding
// the frame's delay in milliseconds; the window's timer TimerGif then
// steps through the members. One animation runs at a time in the whole
// program: CurrentFrame and LastFrame are shared.
#include <QList>
#include <QString>

class Image;
class Timer;

// The member now shown.
extern int CurrentFrame;
// The highest member index of the last load (frames loaded - 1).
extern int LastFrame;

// Loads the frames of the GIF file into imgArray. Members 1 and up of an
// earlier load are removed first, their pictures freed before any new one
// is decoded; new members lie on member 0, hidden. False, silently, for an
// empty name or a missing file; False with a message for a file that is no
// GIF or has no frame delay at all. A file that breaks off, cannot be
// decoded further, whose decoded frames would pass a few tens of MB or
// that holds more than a thousand pictures gives a message too, and keeps
// the frames read until then (LastFrame counts them): True when there is
// at least one frame to show.
bool LoadAniGif(const QString& file, QList<Image*>& imgArray);

// Shows the next frame of imgGif (after the last, the first again), hides
// the one before and sets the timer's interval to the delay of the frame
// now shown; a delay of 0 stops the timer on that frame.
void AnimateGif(QList<Image*>& imgGif, Timer* TimerGif);
// The same on any window with the members imgGif and TimerGif.
template <class W> void AnimateGif(W* frm) { AnimateGif(frm->imgGif, frm->TimerGif); }

