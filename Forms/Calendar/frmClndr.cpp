#include "Forms/Calendar/frmClndr.h"

#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/Clock.h"
#include "Platform/Controls.h"
#include "Platform/Fonts.h"
#include "Platform/Keys.h"
#include "Platform/Runtime.h"

#include <QTextCharFormat>

class frmClndr* frmClndr() { return touchForm<class frmClndr>(); }

void SetLangClndr(class frmClndr* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("Kalender"));
}

namespace {
// The month view's place and size on the window, in twips.
constexpr double viewWidth = 4275, viewHeight = 4320;

} // namespace

frmClndr::frmClndr() {
    setCaption(QStringLiteral("Calendar"));
    mvClndr = new MonthView(this);
    mvClndr->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 18));
    // The day names in a smaller size, so that they fit their columns.
    QTextCharFormat dayNames = mvClndr->headerTextFormat();
    dayNames.setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
    mvClndr->setHeaderTextFormat(dayNames);
    place(mvClndr, 0, 0, viewWidth, viewHeight);
    setClientSizeTwips(viewWidth + 10, viewHeight);
    mvClndr->onDateClick = [this](const QDate& DateClicked) { mvClndr_DateClick(DateClicked); };
    mvClndr->onKeyDown = [this](int& KeyCode, int Shift) { mvClndr_KeyDown(KeyCode, Shift); };
}

void frmClndr::Form_Load() {
    setFixedSize(px(mvClndr->width() * twipsPerPixel + 10), height());
    // Centred over the window that asked (the planner, the bank, the menu),
    // where the user is looking.
    if (const Form* asking = Form::activeForm(); asking && asking != this && asking->isVisible()) centreOver(asking);
    SetLangClndr(this);
    mvClndr->setDaysName(Caption());
    mvClndr->setMonthButtonNames(L(QStringLiteral("Previous month"), QStringLiteral("Vorheriger Monat")),
                                 L(QStringLiteral("Next month"), QString::fromUtf8("Nächster Monat")));
    mvClndr->setMultiSelect(true);
    QDate day;
    if (FromBank && bankDateField) {
        if (const TextBox* field = bankDateField()) day = Runtime::dateBySettings(field->Text());
    }
    if (!day.isValid() && FromPlaner) {
        FromPlaner = false;
        day = planerDay();
    }
    if (day.isValid()) mvClndr->setSelStart(day);
    else mvClndr->setValue(Runtime::dateInProgramForm(DateToday(QStringLiteral("medium"))));
    mvClndr->setMultiSelect(false);
}

void frmClndr::Form_Activate() {
    place(mvClndr, 0, 0, viewWidth, viewHeight);
    mvClndr->setFocus();
}

QDate frmClndr::planerDay() const {
    if (!planerSelectedEntry) return {};
    const QDate entry = Runtime::dateInProgramForm(planerSelectedEntry(DateRegion == QLatin1String("Europe")));
    if (!entry.isValid()) return {};
    // This year from today's date: the program may have been started before
    // midnight on New Year's Eve.
    const int year = Clock::today().year();
    const QDate day(year, entry.month(), entry.day());
    // 29 February in a common year: the next events count it on 1 March.
    return day.isValid() ? day : QDate(year, 3, 1);
}

void frmClndr::Form_KeyDown(int& KeyCode, int) {
    // Escape closes without a pick, as the close box does.
    if (KeyCode != Keys::vbKeyEscape) return;
    KeyCode = 0;
    close();
}

void frmClndr::mvClndr_DateClick(const QDate& DateClicked) {
    if (FromBank) pickForBank(DateClicked);
}

void frmClndr::mvClndr_KeyDown(int& KeyCode, int) {
    if (FromBank && KeyCode == Keys::vbKeyReturn) {
        KeyCode = 0;
        pickForBank(mvClndr->Value());
    }
}

void frmClndr::pickForBank(const QDate& day) {
    // The same short date form for a click and for Enter.
    if (bankDateField) {
        if (TextBox* field = bankDateField()) field->setTextValue(Runtime::shortDate(day));
    }
    Unload();
}
