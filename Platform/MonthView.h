#pragma once
// A month calendar that selects one day: its selected date and that
// date's day, month and year, the multi-day selection switch and the
// selection start, and two events: a click on a day (with its date) and a
// key pressed while the calendar has the focus (with key code and shift
// state; the handler may swallow the key by setting its code to 0).
// Placement and focus are those of any widget (Form::place, setFocus);
// the grid of days is the calendar's focus proxy and takes its keys.
// Day and month names follow the regional settings (Runtime::locale()).
#include <QCalendarWidget>
#include <QDate>
#include <functional>

class MonthView : public QCalendarWidget {
    Q_OBJECT
public:
    explicit MonthView(QWidget* parent = nullptr);

    // The name screen readers give the calendar and its grid of days. The
    // grid's description is the selected date in full (day name, day,
    // month and year by the regional settings) and follows every move, and
    // each day of the grid (the focused one too) is named by its date in
    // full, so a reader tells the date and its month as the focus moves;
    // the days of another month are other cells to readers, so the day that
    // has the focus after a month change is told also where it stands in
    // the place of the day before. Readers get these days also when they
    // listen while the calendar is built.
    void setDaysName(const QString& name);
    // The names of the buttons that show the previous and the next month;
    // their description is the month and year shown.
    void setMonthButtonNames(const QString& previous, const QString& next);

    // The selected date; setting it shows its month.
    QDate Value() const { return selectedDate(); }
    void setValue(const QDate& date);
    int Day() const { return selectedDate().day(); }
    int Month() const { return selectedDate().month(); }
    int Year() const { return selectedDate().year(); }

    // The multi-day selection switch. The calendar selects one day at a
    // time whatever the switch says: with the switch on, the selection is
    // the range from SelStart to that same day.
    bool MultiSelect() const { return multiSelect_; }
    void setMultiSelect(bool on) { multiSelect_ = on; }
    // The first day of the selection; setting it selects that day.
    QDate SelStart() const { return selectedDate(); }
    void setSelStart(const QDate& date) { setValue(date); }

    // A day was clicked (also a day of the neighbouring months shown in
    // the grid, which then becomes the shown month).
    std::function<void(const QDate& DateClicked)> onDateClick;
    // A key was pressed while the calendar had the focus; runs before the
    // calendar's own key handling (arrows, page keys), which a KeyCode of
    // 0 cancels.
    std::function<void(int& KeyCode, int Shift)> onKeyDown;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void describe();

    QWidget* grid_ = nullptr;
    bool multiSelect_ = false;
};
