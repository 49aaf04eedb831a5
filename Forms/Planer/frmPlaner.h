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
    // Hidden: the events keyed by the days until they come.
    QListWidget* lst1;
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
    // Appends the lines to `list`, linked firstLink, firstLink + 1, ...
    static void fillLinked(QListWidget* list, const QStringList& lines, int firstLink);
    // The first item of `list` with the link number, or -1.
    static int findLink(const QListWidget* list, int link);
    static int linkOf(const QListWidgetItem* item);
    static QStringList texts(const QListWidget* list);
    void showCount();
    void showCountToDo();
    // After the next events are filled.
    void fitNextEvents();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload(int& Cancel) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    QString formName() const override { return QStringLiteral("Planer"); }

private:
    // Writes the lines to the data file; on failure says why under `label`.
    bool writeFile(const QString& name, const QStringList& lines, const QString& label);
    // The values of a data file; none when it is missing or unreadable
    // (then the problem was shown under `label`).
    std::optional<QStringList> readFile(const QString& name, const QString& label);
    // Loads "Planer.qem" into the US list and, with the European form, its
    // twins into the European list.
    void fillEvents(bool european);
    // The spinner and the next events are named by their caption label.
    void nameNextEvents();
    void showCalendar();
    // Puts the to-do lines back into the list and selects one (-1: none).
    void refillToDo(const QStringList& lines, int selected);

    bool activated_ = false;
    int lastLink_ = 0;
    // The last save was asked for and did not reach the file.
    bool saveFailed_ = false;
};

class frmPlaner* frmPlaner();
void SetLangPlaner(class frmPlaner* frm);
