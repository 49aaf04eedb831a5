#include "Modules/modMessenger.h"

#include "Forms/Messenger/frmMessenger.h"
#include "Modules/modLanguage.h"
#include "Modules/modPlaySound.h"
#include "Platform/Announce.h"
#include "Platform/Ansi.h"
#include "Platform/App.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/OutOfMemory.h"
#include "Platform/Winsock.h"

#include <QElapsedTimer>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QValidator>
#include <algorithm>
#include <new>

namespace {
void scrollToEnd(QPlainTextEdit* box) {
    QTextCursor caret = box->textCursor();
    caret.movePosition(QTextCursor::End);
    box->setTextCursor(caret);
    box->ensureCursorVisible();
}
} // namespace

void ScrollOutput(QWidget* frm) {
    if (auto* box = frm->findChild<QPlainTextEdit*>(QStringLiteral("txtOutput"))) scrollToEnd(box);
}

void PlayTalk(const QString& name) { PlaySound(App::file(QStringLiteral("Sound/") + name), 0, false); }

namespace {
const QColor kDarkBlue(0x00, 0x00, 0x40);

void colour(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(role, c);
    w->setPalette(p);
}
} // namespace

void setButtonCaption(QPushButton* button, const QString& caption) {
    button->setText(caption);
    button->setAccessibleName(captionText(caption));
}

void paintMessengerWindow(QWidget* frm) {
    frm->setAutoFillBackground(true);
    colour(frm, QPalette::Window, kDarkBlue);
    frm->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 12));
}

QPushButton* messengerButton(QWidget* parent, const QString& caption) {
    auto* b = new QPushButton(parent);
    setButtonCaption(b, caption);
    colour(b, QPalette::Button, QColor(0xc0, 0xe0, 0xff));
    return b;
}

Label* messengerLabel(QWidget* parent, const QString& caption) {
    auto* l = new Label(caption, parent);
    l->setForeColor(QColor(0xff, 0x00, 0x00));
    return l;
}

void setUpLog(QPlainTextEdit* log) {
    log->setReadOnly(true);
    // Nothing is undone in a read-only log, and an undo history would keep
    // every line ever received (and every line trimmed) in memory; without
    // it the document also reclaims the text it drops.
    log->setUndoRedoEnabled(false);
    // Keeps the caret visible in the read-only log, where ScrollOutput puts it.
    log->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Looking for word ends in a line without blanks takes ever longer as
    // the line grows; breaking anywhere keeps a peer's flood linear.
    log->setWordWrapMode(QTextOption::WrapAnywhere);
}

namespace {
// NUL and the other control characters but tab and the line breaks, as the
// pictures of the control characters (U+2400 onwards).
QString visible(const QString& line) {
    QString shown = line;
    for (QChar& c : shown) {
        const char16_t u = c.unicode();
        if (u < 32 && u != u'\t' && u != u'\r' && u != u'\n') c = QChar(char16_t(0x2400 + u));
    }
    return shown;
}

// Where the part of a new line begins that the log would keep of it: its
// last kLogLines lines and, of those, the whole lines within
// kLogCharacters characters (the last one always). The rest would be
// dropped at once; left out, it never takes memory or time.
qsizetype keptFrom(const QString& text) {
    // Scanning back from the end: `lines` lines begin at `start`, their
    // breaks among them (`pairs` of them CR LF).
    qsizetype lines = 0, start = text.size(), pairs = 0;
    for (qsizetype i = text.size() - 1; i >= -1; --i) {
        if (i >= 0 && text[i] != u'\n' && text[i] != u'\r' && text[i] != QChar::ParagraphSeparator) continue;
        // The lines from i + 1 on, one more: their characters, and one for
        // each line's end, as the document counts them.
        const qsizetype cost = text.size() - (i + 1) - pairs + 1;
        if (lines > 0 && (lines >= kLogLines || cost > kLogCharacters)) return start;
        start = i + 1;
        ++lines;
        // CR LF is one break.
        if (i > 0 && text[i] == u'\n' && text[i - 1] == u'\r') {
            --i;
            ++pairs;
        }
    }
    return 0;
}
} // namespace

namespace {
// The characters a read takes in the log: its own, a CR LF counting as one
// break, and one for the end of its last line.
qsizetype logCost(const QString& read) {
    qsizetype cost = read.size() + 1;
    for (qsizetype i = read.indexOf(u'\r'); i >= 0 && i + 1 < read.size(); i = read.indexOf(u'\r', i + 1))
        if (read[i + 1] == u'\n') --cost;
    return cost;
}

// Puts lines at the end of the log and drops its oldest ones beyond its bounds.
void addLines(QPlainTextEdit* log, const QString& lines) {
    // Added at the end rather than by rewriting the whole text, so a long
    // conversation costs only what arrives.
    QTextDocument* doc = log->document();
    const qsizetype from = keptFrom(lines);
    if (from > 0) {
        // The newest lines alone fill the log, so every line it holds goes:
        // it starts afresh with them, at far less cost a line.
        doc->setPlainText(visible(lines.mid(from)));
        return;
    }
    QTextCursor end(doc);
    end.movePosition(QTextCursor::End);
    if (!doc->isEmpty()) end.insertBlock();
    end.insertText(visible(lines));
    // A peer cannot fill the user's memory: the oldest whole lines go,
    // the newest line always stays.
    const int count = doc->blockCount();
    int total = doc->characterCount();
    if (count <= kLogLines && total <= kLogCharacters) return;
    const QTextBlock last = doc->lastBlock();
    QTextBlock keep = doc->firstBlock();
    int dropped = 0;
    while (keep != last && (count - dropped > kLogLines || total > kLogCharacters)) {
        total -= keep.length();
        ++dropped;
        keep = keep.next();
    }
    // The document reclaims the characters it drops once there are enough
    // of them, but counts no line break among them: lines that hold next to
    // nothing go through its own line limit, which counts their breaks too
    // (and, laying out each line it passes, is slow only for long ones).
    if (keep.position() - dropped <= dropped) {
        doc->setMaximumBlockCount(count - dropped);
        doc->setMaximumBlockCount(0);
        return;
    }
    QTextCursor front(doc);
    front.setPosition(keep.position(), QTextCursor::KeepAnchor);
    front.removeSelectedText();
}

// What a log receives while it rests. Adding lines to the document costs
// far more than receiving them, so a peer's flood would hold the program
// in the document while the lines pass through it unseen. After each time
// the log takes lines in, it takes in no more for eight times as long as
// that took (a second at most): what arrives meanwhile is gathered here and
// taken in at once when the pause ends, the lines the log would drop
// straight away left out. So the log takes about a ninth of the program's
// time at most however fast lines come, and an ordinary chat, whose lines
// take next to no time, sees every line at once.
class LogFeed : public QObject {
public:
    explicit LogFeed(QPlainTextEdit* log) : QObject(log), log_(log) {
        pause_.setSingleShot(true);
        pause_.setTimerType(Qt::PreciseTimer);
        connect(&pause_, &QTimer::timeout, this, [this] {
            if (!gathered_.isEmpty()) takeIn(true);
        });
        telling_.setSingleShot(true);
        connect(&telling_, &QTimer::timeout, this, [this] { tell(); });
    }

    void add(const QString& line, bool told) {
        if (told) keepNewest(toTell_, line);
        gathered_ << line;
        costs_ << logCost(line);
        size_ += costs_.last();
        if (!pause_.isActive()) {
            takeIn(false);
            return;
        }
        // Bounded as the log is: a read goes once those after it fill the
        // log in characters (counted as the log counts them) or, each at
        // least a line, in lines. Then not even its last line would stay.
        while (gathered_.size() > 1 &&
               (gathered_.size() - 1 >= kLogLines || size_ - costs_.first() >= kLogCharacters)) {
            gathered_.removeFirst();
            size_ -= costs_.takeFirst();
        }
    }
    bool waiting() const { return !gathered_.isEmpty(); }

private:
    void takeIn(bool late) {
        QElapsedTimer took;
        took.start();
        // Between reads a paragraph separator: a break of its own, where a
        // line feed could join a read's closing CR into one CR LF.
        const QString lines = gathered_.size() == 1 ? gathered_.first() : gathered_.join(QChar::ParagraphSeparator);
        gathered_.clear();
        costs_.clear();
        size_ = 0;
        addLines(log_, lines);
        // Lines taken in after the window scrolled its log: scrolled here.
        if (late) scrollToEnd(log_);
        for (const QString& line : std::as_const(toTell_)) keepNewest(taken_, line);
        toTell_.clear();
        if (!telling_.isActive()) tell();
        pause_.start(int(std::min<qint64>(8 * took.nsecsElapsed() / 1000000, 1000)));
    }

    // Readers are told the lines the log took in, at most one notice every
    // kTellingMs: the lines of a quiet chat one by one as they come, a
    // flood's newest lines now and then, never a notice per read.
    void tell() {
        if (taken_.isEmpty()) return;
        tellReaders(log_, taken_.join(u'\n'));
        taken_.clear();
        telling_.start(kTellingMs);
    }
    static constexpr int kTellingMs = 250;
    // A notice tells its first thousand characters: the newest lines that
    // fit in them are kept for it (the newest one always), no more.
    static void keepNewest(QStringList& lines, const QString& line) {
        lines << line;
        qsizetype characters = 0;
        for (qsizetype i = lines.size() - 1; i >= 0; --i) {
            characters += lines[i].size() + 1;
            if (characters > 1000 && i < lines.size() - 1) {
                lines.remove(0, i + 1);
                return;
            }
        }
    }

    QPlainTextEdit* log_;
    QStringList gathered_;    // what is not yet in the log, oldest first
    QList<qsizetype> costs_;  // each one's characters in the log
    qsizetype size_ = 0;      // their sum
    QTimer pause_;
    QStringList toTell_; // lines readers are to be told of once the log takes them in
    QStringList taken_;  // those the log took in, not yet told
    QTimer telling_;     // runs while readers were told a moment ago
};

LogFeed* feedOf(const QPlainTextEdit* log) {
    for (QObject* child : log->children())
        if (auto* feed = dynamic_cast<LogFeed*>(child)) return feed;
    return nullptr;
}
} // namespace

void appendToLog(QPlainTextEdit* log, const QString& line, bool told) {
    LogFeed* feed = feedOf(log);
    if (!feed) feed = new LogFeed(log);
    feed->add(line, told);
}

bool logWaiting(const QPlainTextEdit* log) {
    const LogFeed* feed = feedOf(log);
    return feed && feed->waiting();
}

namespace {
// Drops what Windows-1252 has no code for, wherever it comes from.
class WireValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        for (qsizetype i = input.size() - 1; i >= 0; --i) {
            if (Ansi::holds(QString(input[i]))) continue;
            input.remove(i, 1);
            if (i < pos) --pos;
        }
        return Acceptable;
    }
};
} // namespace

void keepToWire(QLineEdit* box) { box->setValidator(new WireValidator(box)); }

ChatForm::ChatForm() { paintMessengerWindow(this); }

void ChatForm::buildChat() {
    txtOutput = new QPlainTextEdit(this);
    txtOutput->setObjectName(QStringLiteral("txtOutput"));
    setUpLog(txtOutput);
    txtOutput->setAccessibleName(L(QStringLiteral("Conversation"), QStringLiteral("Unterhaltung")));
    // Black boxes stand out from the dark blue window.
    colour(txtOutput, QPalette::Base, Qt::black);
    colour(txtOutput, QPalette::Text, QColor(0x00, 0xc0, 0x00));

    txtSendData = new TextBox(this);
    keepToWire(txtSendData);
    txtSendData->setAccessibleName(L(QStringLiteral("Message"), QStringLiteral("Nachricht")));
    colour(txtSendData, QPalette::Base, Qt::black);
    colour(txtSendData, QPalette::Text, QColor(0xff, 0xff, 0x00));

    cmdSend = messengerButton(this, QStringLiteral("Send"));
    lblStatus = messengerLabel(this, QStringLiteral("Disconnected"));

    connect(cmdSend, &QPushButton::clicked, this, [this] { cmdSend_Click(); });
    // Without a dialog around it the Default button needs its Enter here.
    txtSendData->onKeyPress = [this](int& KeyAscii) {
        if (KeyAscii != 13 || !cmdSend->isDefault()) return;
        KeyAscii = 0;
        cmdSend->click();
    };
}

void ChatForm::readAlias() { AliasPrefix = frmMessenger()->txtAlias->Text() + QStringLiteral(": "); }

void ChatForm::showStatus(bool connected) {
    connected_ = connected;
    lblStatus->setCaption(connected ? L(QStringLiteral("Connected"), QStringLiteral("Verbunden"))
                                    : L(QStringLiteral("Disconnected"), QStringLiteral("Getrennt")));
}

void ChatForm::showNotListening() {
    connected_ = false;
    lblStatus->setCaption(L(QStringLiteral("Not listening"), QStringLiteral("Nicht empfangsbereit")));
}

void ChatForm::appendLine(const QString& line) { appendToLog(txtOutput, line); }

void ChatForm::cmdSend_Click() {
    PlayTalk(QStringLiteral("TalkBeg.wav"));
    const QString message = AliasPrefix + txtSendData->Text();
    try {
        socket_->SendData(message);
    } catch (const RuntimeError& e) {
        if (e.number == Winsock::sckBadState)
            MsgBox(L(QStringLiteral("No connection"), QStringLiteral("Keine Verbindung")), vbExclamation);
        else
            ShowProblem(QStringLiteral("Sending"), e.number, e.description);
        txtSendData->setFocus();
        return;
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QStringLiteral("Sending"));
        txtSendData->setFocus();
        return;
    }
    // The sender sees the line as the peer will: what the bytes carry.
    appendLine(Ansi::decode(Ansi::encode(message)));
    // Set, not cleared: clearing is an edit the box's undo history keeps,
    // with every message sent (and Ctrl+Z would bring the last one back);
    // setting the text drops that history.
    txtSendData->setText(QString());
    ScrollOutput(this);
    txtSendData->setFocus();
}

void ChatForm::receive() {
    PlayTalk(QStringLiteral("TalkGet.wav"));
    QString data;
    socket_->GetData(data);
    appendToLog(txtOutput, data, true);
    ScrollOutput(this);
}
