#pragma once
// The calendar: a month view and nothing else. From the menu it opens on
// today and is only looked at; as the bank's date picker it opens on the
// bank's entry date and writes the picked day back into it; for the
// planner it shows the day and month of the selected planner entry in the
// current year (29 February on 1 March in a common year). The caller
// chooses by setting one of the two flags before showing the window, and
// decides whether it is modal. It opens centred over the window that asked;
// Escape closes it without a pick.
#include "Platform/Form.h"
#include "Platform/MonthView.h"

#include <QString>
#include <functional>

class TextBox;

class frmClndr : public Form {
    Q_OBJECT
public:
    frmClndr();

    // Set by the planner right before it shows the calendar; the calendar
    // clears it while it loads, the planner again when it closes.
    static inline bool FromPlaner = false;
    // Set by the bank before it shows the calendar; stays set for every
    // later opening until the bank window closes and clears it. Neither
    // flag is reset by closing the calendar.
    static inline bool FromBank = false;

    // How the calendar reaches its callers' windows; the bank and the
    // planner connect these (tests connect their own).
    // The bank's entry date field, frmBank.txtDat(1); null when there is none.
    static inline std::function<TextBox*()> bankDateField;
    // The text of the planner's selected entry: of frmPlaner.lstSHOWeu
    // (day-first, "dd.mm.yyyy  name") when european is true, else of
    // frmPlaner.lstSHOW (month-first, "mm/dd/yyyy  name"); "" when none
    // is selected.
    static inline std::function<QString(bool european)> planerSelectedEntry;

    MonthView* mvClndr;

    // Handlers.
    void mvClndr_DateClick(const QDate& DateClicked);
    void mvClndr_KeyDown(int& KeyCode, int Shift);

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    QString formName() const override { return QStringLiteral("Clndr"); }

private:
    // Writes the day into the bank's entry date field and closes.
    void pickForBank(const QDate& day);
    // The day of the planner's selected entry in the current year.
    QDate planerDay() const;
};

class frmClndr* frmClndr();
void SetLangClndr(class frmClndr* frm);
