#pragma once
class PictureButton;
// Gives a tool button the flat look with a thin sunken edge.
void SetOfficeLook(PictureButton* button);
