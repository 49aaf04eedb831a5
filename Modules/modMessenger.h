#pragma once
// The messenger's shared parts: ScrollOutput, and ChatForm, the base of the
// two chat windows (frmServer waits for one client, frmClient connects to
// it). Both carry a conversation log, a send box with its Send button and a
// status label, and talk over one Winsock on port 1001.
//
// On the wire a message is the sender's screen name, ": " and the typed
// text, as Windows-1252 bytes in one send, with nothing before or after it.
// The receiver does not split what arrives: whatever one data-arrival event
// reads becomes one line of the log, so two quick messages may share a line
// and a long one may take two.
//
// How a chat window is written on this base:
//   1. Its constructor builds its own controls beside the shared ones
//      (buildChat() makes txtOutput, txtSendData, cmdSend and lblStatus) and
//      places them all; it hands its socket to the base (setSocket()).
//   2. Its load sets the language, then takes the screen name (readAlias())
//      and sets the socket's port.
//   3. Its socket's data-arrival handler calls receive(); its "connected"
//      and "disconnected" moments call showStatus().
//   4. Enter in the send box clicks Send while Send is the Default button.
#include "Platform/Controls.h"
#include "Platform/Form.h"

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Winsock;

// The port of every chat, on both sides.
constexpr int ChatPort = 1001;

// The conversation log: read-only plain text without an undo history,
// whose long lines break anywhere, so a line without blanks costs time in
// step with its length.
void setUpLog(QPlainTextEdit* log);
// Adds one line at the end of a log set up so, as it stands, but control
// characters (NUL and the others below the blank, but tab and line breaks)
// are shown as their visible pictures; line breaks within it (CR, LF,
// CR LF) begin lines of their own. The log then keeps only its last
// kLogLines lines and its last kLogCharacters characters, dropping its
// oldest whole lines (the newest line always stays); what it would drop of
// the new line at once never enters it.
// After taking lines in, the log rests eight times as long as that took
// (after an ordinary line: until the event loop runs again); lines added
// meanwhile wait, within the same bounds, and go in together when the rest
// is over, the log then scrolled to its end. A flood so costs the log
// about a ninth of the program's time at most, and the lines it would drop
// unseen cost next to nothing.
// With told (a line that arrived), screen readers are told of the line once
// the log has taken it in; lines taken in within a quarter of a second of
// the last notice are told together in the next one, their newest thousand
// characters.
void appendToLog(QPlainTextEdit* log, const QString& line, bool told = false);
// Whether lines added to the log are still waiting to go in.
bool logWaiting(const QPlainTextEdit* log);
constexpr int kLogCharacters = 4 * 1024 * 1024;
// A line costs the log far more than a character: a flood of line breaks
// would otherwise take hundreds of megabytes within the character bound.
constexpr int kLogLines = 20000;

// Makes a box take only characters the chat's Windows-1252 bytes can
// carry: others are dropped as they are typed, pasted or composed, so what
// the box shows is what is sent.
void keepToWire(QLineEdit* box);

// Moves the caret of the window's log (its control named "txtOutput")
// behind the last character, which scrolls the log to its end.
void ScrollOutput(QWidget* frm);

// A button's caption, which also names it for screen readers.
void setButtonCaption(QPushButton* button, const QString& caption);

// The messenger's look: a dark blue window in "Haettenschweiler", labels
// with red text, light blue buttons.
void paintMessengerWindow(QWidget* frm);
QPushButton* messengerButton(QWidget* parent, const QString& caption);
Label* messengerLabel(QWidget* parent, const QString& caption);

// "\Sound\<name>" played at once, silent when the file is missing.
void PlayTalk(const QString& name);

class ChatForm : public Form {
    Q_OBJECT
public:
    // Controls both chat windows have.
    QPlainTextEdit* txtOutput = nullptr;
    TextBox* txtSendData = nullptr;
    QPushButton* cmdSend = nullptr;
    Label* lblStatus = nullptr;

    // The screen name and ": ", read from the start window at load.
    QString AliasPrefix;

    void cmdSend_Click();
    // Whether the status shows "Connected".
    bool showsConnected() const { return connected_; }

protected:
    ChatForm();
    void buildChat();
    void setSocket(Winsock* socket) { socket_ = socket; }
    void readAlias();
    // "Connected" or "Disconnected", in the current language.
    void showStatus(bool connected);
    // "Not listening": a server whose port could not be opened.
    void showNotListening();
    // The socket's data has arrived: it becomes one line of the log.
    void receive();

private:
    void appendLine(const QString& line);

    Winsock* socket_ = nullptr;
    bool connected_ = false;
};
