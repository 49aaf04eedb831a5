#include "Forms/Main/LaunchTable.h"

#include "Forms/AsciiConverter/frmAscii.h"
#include "Forms/Bank/frmBank.h"
#include "Forms/Calculator/frmCalc.h"
#include "Forms/Calendar/frmClndr.h"
#include "Forms/ComputerConverter/frmComp.h"
#include "Forms/CurrencyConverter/frmCur.h"
#include "Forms/HangMan1P/frmHangman1p.h"
#include "Forms/HangMan2P/frmHangman2p.h"
#include "Forms/LengthConverter/frmDis.h"
#include "Forms/Main/frmAbout.h"
#include "Forms/Main/frmChoice.h"
#include "Forms/Messenger/frmMessenger.h"
#include "Forms/MorseCode/frmMorse.h"
#include "Forms/Planer/frmPlaner.h"
#include "Forms/RockPaperScissors/frmSSS.h"
#include "Forms/TemperatureConverter/frmTemp.h"
#include "Forms/Translator/frmTrans.h"
#include "Forms/TypingMaster/frmKeyb.h"
#include "Forms/VolumeConverter/frmVol.h"
#include "Forms/WeightConverter/frmWght.h"
#include "Modules/modMCI.h"
#include "Modules/modMain.h"

namespace {

template <auto Member> QWidget* control(class frmChoice* menu) { return menu->*Member; }
template <int Index> QWidget* converter(class frmChoice* menu) { return menu->lblConv[Index]; }

constexpr const char* stopMusic = nullptr;
constexpr bool modal = true, modeless = false;
// The tools whose windows are not part of the program yet.
constexpr Form* (*noWindow)() = nullptr;

} // namespace

const QList<LaunchRow>& LaunchTable() {
    static const QList<LaunchRow> rows{
        // The converters and small utilities.
        {&converter<0>, "Stretch3.mp3", &toolWindow<class frmDis>, modeless},
        {&converter<1>, "Stretch3.mp3", &toolWindow<class frmWght>, modeless},
        {&converter<2>, "Stretch3.mp3", &toolWindow<class frmVol>, modeless},
        {&converter<3>, "Stretch3.mp3", &toolWindow<class frmCur>, modeless},
        {&converter<4>, "Stretch3.mp3", &toolWindow<class frmTemp>, modeless},
        {&converter<5>, "Stretch3.mp3", &toolWindow<class frmComp>, modeless},
        {&converter<6>, "Stretch3.mp3", &toolWindow<class frmAscii>, modeless},
        {&converter<7>, "Stretch3.mp3", &toolWindow<class frmCalc>, modeless},
        {&converter<8>, "Stretch3.mp3", &toolWindow<class frmMorse>, modeless},
        // The tools.
        {&control<&frmChoice::cmdTrans>, stopMusic, &toolWindow<class frmTrans>, modeless},
        {&control<&frmChoice::cmdSSS>, stopMusic, &toolWindow<class frmSSS>, modeless},
        {&control<&frmChoice::cmdHangman1p>, "Drumroll.wav", &toolWindow<class frmHangman1p>, modeless},
        {&control<&frmChoice::cmdHangman2p>, "Drumroll.wav", &toolWindow<class frmHangman2p>, modeless},
        {&control<&frmChoice::cmdPlaner>, stopMusic, &toolWindow<class frmPlaner>, modeless},
        {&control<&frmChoice::cmdBank>, stopMusic, &toolWindow<class frmBank>, modeless},
        {&control<&frmChoice::cmdMsg>, "Stretch5.mp3", &toolWindow<class frmMessenger>, modeless},
        {&control<&frmChoice::cmdKeyb>, stopMusic, &toolWindow<class frmKeyb>, modeless},
        // The calendar (on today) and the About window.
        {&control<&frmChoice::lblDate>, stopMusic, &toolWindow<class frmClndr>, modal},
        {&control<&frmChoice::lblVersion>, stopMusic, &toolWindow<class frmAbout>, modal},
        // The sound icon replays the welcome tune.
        {&control<&frmChoice::imgSound>, "Welcome.mp3", noWindow, modeless},
    };
    return rows;
}

const LaunchRow* LaunchRowOf(class frmChoice* menu, const QObject* control) {
    for (const LaunchRow& row : LaunchTable())
        if (row.control(menu) == control) return &row;
    return nullptr;
}

void Launch(class frmChoice* menu, const LaunchRow& row) {
    if (row.tune) PlayMusic(QString::fromLatin1(row.tune));
    else StopMusic();
    auto* label = qobject_cast<Label*>(row.control(menu));
    if (label && menu->lblConv.contains(label)) ResetBorderStyles(menu->lblConv);
    if (!row.window) return;
    if (Form* window = row.window()) window->Show(row.modal ? vbModal : vbModeless);
}
