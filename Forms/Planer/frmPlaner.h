#pragma once
// The planner: yearly events with their next occurrences, and a to-do list
// ranked 1 to 99. Opened from the menu, it hides the menu until it closes.
// When it first becomes active it loads "Planer.qem" in the form of today's
// date (US or European) and "ToDo.qem"; later activations (back from the
// calendar) keep the lists as they are. A click on an event shows its day
// in the calendar. Closing asks about changes not saved.
//
// Every event item carries a link number (the item's data) that is unique
// in the window and shared by its US and European twins and its next-event
// items; lookups by number stop at the end of a list.
#include "Modules/modPlaner.h"
#include "Platform/Controls.h"
#include "Platform/Form.h"

#include <QComboBox>
#include <QListWidget>

class UpDown;

class frmPlaner : public Form {
    Q_OBJECT
public:
    frmPlaner();

    // Events.
    Frame* fraSHOW;
    Label* lblDate;
    Label* lblName;
    TextBox* txtDate;
    TextBox* txtName;
    PictureButton* cmdAdd;
    PictureButton* cmdDel;
    PictureButton* cmdSave;
    QListWidget* lstSHOW;
    QListWidget* lstSHOWeu;
    Label* lblCount;
    Label* lblNext;
    class UpDown* UpDown;
    QComboBox* cboNext;
    // Hidden: the events keyed by the days until they come, one row each,
    // its text "0005 " and the US line, its data of Qt::UserRole the link
    // number. The rows show keyedEvents(): their texts are made when asked
    // for, so a long list is held once.
    QListView* lst1;
    // The event list in use: lstSHOWeu with the European form, else lstSHOW.
    QListWidget* lst = nullptr;

    // To-do list.
    Frame* fraToDo;
    Label* lblPY;
    Label* lblToDo;
    TextBox* txtPY;
    TextBox* txtToDo;
    PictureButton* cmdAddToDo;
    PictureButton* cmdDelToDo;
    PictureButton* cmdSaveToDo;
    PictureButton* cmdUp;
    PictureButton* cmdDown;
    QListWidget* lstToDo;
    Label* lblCountToDo;

    // Loading and saving.
    void PlanerLoad();
    void PlanerLoadEu();
    void PlanerLoadToDo();
    void PlanerSave();
    void PlanerSaveToDo();

    // Handlers.
    void txtDate_KeyPress(int& KeyAscii);
    void txtName_KeyPress(int& KeyAscii);
    void cmdAdd_Click();
    void cmdDel_Click();
    void UpDown_Change();
    void cboNext_Click();
    void lstSHOW_Click();
    void lstSHOWeu_Click();
    void txtPY_KeyPress(int& KeyAscii);
    void txtToDo_KeyPress(int& KeyAscii);
    void cmdAddToDo_Click();
    void cmdDelToDo_Click();
    void cmdUp_Click();
    void cmdDown_Click();

    // Used by the module's procedures.
    // Adds an event in its US form (and European form when that is in use)
    // under a new link number.
    void addEvent(const QDate& date, const QString& name);
    // Adds a line to a sorted list at its place; returns its position.
    static int addSorted(QListWidget* list, const QString& text, int link = 0);
    // Appends the lines to `list`, linked firstLink, firstLink + 1, ...;
    // with `twins` the US lines shown in their European form.
    static void fillLinked(QListWidget* list, const QStringList& lines, int firstLink, bool twins = false);
    // The first item of `list` with the link number, or -1.
    static int findLink(const QListWidget* list, int link);
    static int linkOf(const QListWidgetItem* item);
    static QStringList texts(const QListWidget* list);
    void showCount();
    void showCountToDo();

    // The next events, for FindNextTarget. lst1 holds the keyed events and
    // cboNext the first of them; a change of the list or a step of the
    // spinner changes only the items that change, since with many events
    // filling both again (and measuring every text) takes seconds.
    // The day the events were keyed for; none after loading.
    QDate keyedOn() const { return keyedOn_; }
    void setKeyed(const QList<Events::Keyed>& keyed, const QDate& today);
    const QList<Events::Keyed>& keyedEvents() const { return keyed_; }
    // cboNext as the look-ahead shows the keyed events; its first item selected.
    void showNextEvents(int lookAhead, bool german);

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload(int& Cancel) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    QString formName() const override { return QStringLiteral("Planer"); }

private:
    // Writes the list's lines to the data file as its reading left it to be saved
    // (`kept`: the lines set aside back in their places; no save over a
    // file that could not be read); on failure says why under `label`.
    bool writeFile(const QString& name, const QListWidget* list, const QuotedLines::Kept& kept,
                   const QString& label);
    // What a data file holds; nothing when it is missing, unreadable (the
    // problem is shown under `label`) or not text (that is shown). `kept`
    // is what a save of it needs.
    QuotedLines::Contents readFile(const QString& name, const QString& label, QuotedLines::Kept& kept);
    // The lines of a read file that were set aside, which the user is told of.
    static void tellSetAside(const QString& name, const QuotedLines::Contents& file);
    // Loads "Planer.qem" into the US list and, with the European form, its
    // twins into the European list.
    void fillEvents(bool european);
    // The spinner and the next events are named by their caption label.
    void nameNextEvents();
    void showCalendar();
    // Puts the to-do lines back into the list and selects one (-1: none).
    void refillToDo(const QStringList& lines, int selected);
    // An added event into lst1 and, where it is among them, the next events.
    void keyEvent(const Events::Entry& event);
    // A deleted event out of them.
    void unkeyEvent(int link);
    // The keyed events from..to - 1 into cboNext at their places, or out of it.
    void insertNextEvents(qsizetype from, qsizetype to);
    void removeNextEvents(qsizetype from, qsizetype to);
    // The drop-down list is as wide as its longest text.
    void fitNextEvents();

    bool activated_ = false;
    int lastLink_ = 0;
    // The last save was asked for and did not reach the file.
    bool saveFailed_ = false;
    // What a save of the two files needs from their reading: the lines
    // that are no entries, to be written back, and whether they could be read.
    QuotedLines::Kept eventsKept_;
    QuotedLines::Kept toDoKept_;
    // The events as lst1 shows them, and the day they were keyed for.
    QList<Events::Keyed> keyed_;
    class KeyedRows* keyedRows_ = nullptr;
    QDate keyedOn_;
    // What the words of cboNext's items were chosen by, and the width of each item's text.
    int shownLookAhead_ = 0;
    bool shownGerman_ = false;
    QList<int> shownWidths_;
};

class frmPlaner* frmPlaner();
void SetLangPlaner(class frmPlaner* frm);
