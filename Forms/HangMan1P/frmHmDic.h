#pragma once
// The Hangman dictionary editor: the list of words and phrases the
// one-player game draws from. Its list lstSHOW is the dictionary the game
// uses whether or not the editor is on screen (the window exists, hidden,
// from the first time the list is touched). Add, Delete and Save work on
// the list; only Save writes "Hangman.qem".
#include "Platform/Controls.h"
#include "Platform/Form.h"
#include "Platform/QuotedLines.h"

#include <QListWidget>
#include <QStringList>
#include <optional>

class frmHmDic : public Form {
    Q_OBJECT
public:
    frmHmDic();
    ~frmHmDic() override;

    Frame* fraSHOW;
    QListWidget* lstSHOW;
    Label* lblCount;
    Frame* fraEnter;
    TextBox* txtEnter;
    PictureButton* cmdAdd;
    PictureButton* cmdDel;
    PictureButton* cmdSave;
    // What Save needs from the file's reading: the lines that are no entry
    // a game can use (unreadable, or characters other than the letters A
    // to Z and inner blanks), not listed but written back where they stood
    // among the entries, and whether the file could be read at all.
    QuotedLines::Kept kept;

    // Handlers.
    void txtEnter_KeyPress(int& KeyAscii);
    void cmdAdd_Click();
    void cmdDel_Click();
    void cmdSave_Click();

    // "12 Entries" for the list as it is.
    void showCount();

protected:
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;
    QString formName() const override { return QStringLiteral("HmDic"); }

private:
    // The entries' texts in list order, kept in step with lstSHOW by its
    // model's signals: Add checks a plain list of texts instead of asking
    // every item of a long dictionary for its text.
    QStringList texts_;
    void keepTextsInStep();
};

class frmHmDic* frmHmDic();
void SetLangHmDic(class frmHmDic* frm);

// "Hangman.qem": one entry a line, each a quoted line (Platform/QuotedLines)
// in list order; saving replaces the whole file.
namespace HangmanDictionary {
// Where the file is read from.
QString path();
// The file's entries a game can use (values) and, set aside, the lines that
// are none (unreadable, or not acceptable); empty entries are left out. No
// value when the file is missing, cannot be read (`error` and `number` say
// why) or is no text file (`damaged` set; the file is left as it is).
// `kept`, when given, is what a save needs (QuotedLines::readKept).
std::optional<QuotedLines::Contents> read(bool* damaged = nullptr, QString* error = nullptr, int* number = nullptr,
                                          QuotedLines::Kept* kept = nullptr);
// Writes every non-empty entry, and the set-aside lines of `kept` where
// they stood; refused after a reading that failed. On failure the old file
// stays and `error` tells why; `number`, when given, is the error's number
// (see QuotedLines::write).
bool write(const QStringList& entries, const QuotedLines::Kept& kept = {}, QString* error = nullptr,
           int* number = nullptr);
// Whether the key filter of the entry box lets the character through:
// the letters A to Z, a to z and the blank.
bool allowedCharacter(QChar c);
// An entry a game can use and Add accepts: not empty, no blank at either
// end, and only characters the key filter lets through.
bool acceptable(const QString& entry);
} // namespace HangmanDictionary
