// Gives the drawing layer's menus the commands, frames and dialogs of this
// layer, and runs a text menu as a pop-up for a frame.
#pragma once

#include <cstdint>

class VFrame;
class VResourceFile;

// Fills the menus' table of procedures; calling it again changes nothing.
void InstallMenuCommandLinks();

// Shows 'XMNU' id of file as a pop-up at the frame's place on the desktop
// plus (x, y) and performs the choice through the frame.
void RunTextPopUpMenu(VFrame* frame, VResourceFile* file, int16_t id, int32_t x, int32_t y, bool mini);
