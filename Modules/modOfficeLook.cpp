#include "Modules/modOfficeLook.h"

#include "Platform/Controls.h"

void SetOfficeLook(PictureButton* button) { button->setOfficeLook(); }
