#include "Modules/modAniWindow.h"

#include "Platform/Effects.h"
#include "Platform/Form.h"

void FadeInWindow(Form* frm) {
    Effects::fadeIn(frm, 300);
    frm->activateWindow();
}

void RemoveAnimHook(Form*) {}
