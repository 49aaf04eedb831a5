#include "Modules/modAniGif.h"

#include "Modules/modLanguage.h"
#include "Platform/Controls.h"
#include "Platform/MsgBox.h"
#include "Platform/Timer.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>

#include <algorithm>

int CurrentFrame = 0;
int LastFrame = 0;

namespace {

// Error numbers of the runtime for the two ways a load can fail.
constexpr int errFileAccess = 75;      // "Path/File access error"
constexpr int errInvalidPicture = 481; // "Invalid picture"

// The decoded frames of one load take at most this much memory. Every
// frame is a whole picture of the logical screen, so a file that claims a
// huge screen (a few changed bytes are enough) would otherwise take
// gigabytes; the animations in use take about a megabyte.
constexpr qint64 kFramesBudget = 32 * 1024 * 1024;
// And at most this many pictures: each frame is a control of its own,
// which costs time and memory however small its picture (the animations
// in use have about thirty).
constexpr int kMostPictures = 1000;

// What the block structure of a GIF file tells: one entry per image,
// and whether the file breaks off inside a block.
struct Layout {
    struct Picture {
        bool hasDelay = false; // a graphic control extension precedes it
        int delayMs = 0;
    };
    QList<Picture> pictures;
    QSize screen;          // the logical screen, which every frame fills
    bool anyDelay = false; // a graphic control extension anywhere
    bool broken = false;
};

// Walks the blocks of a GIF file without decoding any picture data. A file
// that ends between two blocks (no trailer) is not broken: the pictures
// before are whole. Stops after one picture more than a load takes.
Layout scanGif(const QByteArray& bytes) {
    Layout out;
    const qsizetype size = bytes.size();
    auto at = [&](qsizetype i) { return quint8(bytes[i]); };
    // Skips a chain of data sub-blocks starting at pos; false when it runs
    // past the end of the file.
    auto skipSubBlocks = [&](qsizetype& pos) {
        while (pos < size) {
            const int n = at(pos);
            pos += 1 + n;
            if (n == 0) return pos <= size;
        }
        return false;
    };
    if (size < 13) {
        out.broken = true;
        return out;
    }
    out.screen = QSize(at(6) | (at(7) << 8), at(8) | (at(9) << 8));
    qsizetype pos = 13;
    if (at(10) & 0x80) pos += 3 * (qsizetype(1) << ((at(10) & 7) + 1));
    bool pendingDelay = false;
    int delayMs = 0;
    while (pos < size) {
        const int block = at(pos);
        if (block == 0x3B) break;
        if (block == 0x21) {
            if (pos + 1 >= size) {
                out.broken = true;
                break;
            }
            const int label = at(pos + 1);
            pos += 2;
            if (label == 0xF9 && pos + 3 < size && at(pos) >= 4) {
                // Delay in hundredths of a second, low byte first, kept in
                // 32 bits: the largest delay is 655350 ms.
                delayMs = (at(pos + 2) | (at(pos + 3) << 8)) * 10;
                pendingDelay = true;
                out.anyDelay = true;
            }
            if (!skipSubBlocks(pos)) {
                out.broken = true;
                break;
            }
        } else if (block == 0x2C) {
            if (pos + 10 > size) {
                out.broken = true;
                break;
            }
            const int packed = at(pos + 9);
            pos += 10;
            if (packed & 0x80) pos += 3 * (qsizetype(1) << ((packed & 7) + 1));
            pos += 1; // the code size of the compressed data
            if (pos > size || !skipSubBlocks(pos)) {
                out.broken = true;
                break;
            }
            out.pictures << Layout::Picture{pendingDelay, pendingDelay ? delayMs : 0};
            pendingDelay = false;
            if (out.pictures.size() > kMostPictures) break;
        } else {
            out.broken = true;
            break;
        }
    }
    return out;
}

void readError(int number) {
    MsgBox(L(QStringLiteral("Error No. %1 when reading file").arg(number),
             QStringLiteral("Error No. %1 beim Lesen der Datei").arg(number)),
           vbCritical);
}

// The frames of an earlier load go before the new ones are decoded: their
// pictures at once, the emptied members with the next turn of the events.
void removeExtraMembers(QList<Image*>& imgArray) {
    while (imgArray.size() > 1) {
        Image* member = imgArray.takeLast();
        if (!member) continue;
        member->hide();
        member->setPicture(QPixmap());
        member->deleteLater();
    }
}

Image* newMember(Image* first) {
    auto* member = new Image(first->parentWidget());
    member->setStretch(first->hasScaledContents());
    member->setGeometry(first->geometry());
    member->setCursor(first->cursor());
    member->setToolTip(first->toolTip());
    member->setVisible(false);
    // Directly beneath member 0: pictures laid over the animation stay over it.
    member->stackUnder(first);
    return member;
}

} // namespace

bool LoadAniGif(const QString& file, QList<Image*>& imgArray) {
    if (file.isEmpty() || !QFileInfo(file).isFile() || imgArray.isEmpty() || !imgArray[0]) return false;
    removeExtraMembers(imgArray);

    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        readError(errFileAccess);
        return false;
    }
    const QByteArray bytes = in.readAll();
    in.close();

    // A GIF file with at least one graphic control extension: the marker
    // 00 21 F9 (the end of a block, then the extension) anywhere, or an
    // extension found among the blocks (one right after a colour table
    // has no 00 before it). A still picture without one is refused too.
    const bool gif = bytes.startsWith("GIF");
    const Layout layout = gif ? scanGif(bytes) : Layout{};
    if (!gif || !(bytes.contains(QByteArray("\x00\x21\xF9", 3)) || layout.anyDelay)) {
        MsgBox(L(QStringLiteral("This file is not a *.gif file"), QStringLiteral("Diese Datei ist keine *.gif Datei")),
               vbCritical);
        return false;
    }

    // The frames are decoded in memory: each comes out of the reader drawn
    // on the full picture, earlier frames included, so it lies on member 0
    // without any shift. Nothing here lets events run, so no other load
    // can begin before this one is done.
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    // Only the GIF reader: no other image plug-in is loaded to be asked first.
    reader.setAutoDetectImageFormat(false);
    Image* first = imgArray[0];
    int loaded = 0;
    bool whole = !layout.broken;
    // Each picture comes out as large as the screen, four bytes a pixel
    // (or larger, where a frame reaches beyond it).
    qint64 decoded = 0, pictureBytes = 4 * qint64(layout.screen.width()) * layout.screen.height();
    for (qsizetype i = 0; i < layout.pictures.size(); ++i) {
        // Past the budget the file counts as damaged: what was loaded so
        // far is animated.
        if (decoded + pictureBytes > kFramesBudget || i >= kMostPictures) {
            whole = false;
            break;
        }
        const QImage picture = reader.read();
        if (picture.isNull()) {
            whole = false;
            break;
        }
        pictureBytes = std::max(pictureBytes, qint64(picture.sizeInBytes()));
        const Layout::Picture& p = layout.pictures[i];
        // A picture without a delay of its own belongs to the frame before
        // it: it shows from the next frame on, drawn in by the reader.
        if (i > 0 && !p.hasDelay) continue;
        decoded += picture.sizeInBytes();
        Image* member = first;
        if (loaded > 0) {
            member = newMember(first);
            imgArray << member;
        }
        member->Tag = QString::number(p.delayMs);
        member->setPicture(QPixmap::fromImage(picture));
        if (loaded > 0) member->setGeometry(first->geometry());
        ++loaded;
    }
    if (loaded == 0) whole = false;

    // The frames loaded so far are all the animation knows of, also when
    // the file broke off after them: those are animated.
    LastFrame = loaded - 1;
    if (!whole) readError(errInvalidPicture);
    return loaded > 0;
}

void AnimateGif(QList<Image*>& imgGif, Timer* TimerGif) {
    if (imgGif.isEmpty() || !TimerGif) return;
    // Never past the members that exist, whatever another window loaded.
    const int last = std::min(LastFrame, int(imgGif.size()) - 1);
    auto showDelayOf = [&](Image* member) {
        // A member without a delay (nothing loaded yet) leaves the timer as it is.
        bool ok = false;
        const int ms = member->Tag.toInt(&ok);
        if (ok) TimerGif->setInterval(ms);
    };
    if (CurrentFrame >= 0 && CurrentFrame < last) {
        imgGif[CurrentFrame]->setVisible(false);
        ++CurrentFrame;
        imgGif[CurrentFrame]->setVisible(true);
        showDelayOf(imgGif[CurrentFrame]);
        return;
    }
    CurrentFrame = 0;
    for (qsizetype i = 1; i < imgGif.size(); ++i) imgGif[i]->setVisible(false);
    imgGif[0]->setVisible(true);
    showDelayOf(imgGif[0]);
}
