// Kernel dialogs: placing and showing a dialog by its id, the one-button
// message, the default button's ring, and the cached callbacks of dialog
// filters and user items.
#pragma once

#include "platform/dialogs/Dialogs.h"

// Set to make the next getposdialog leave its dialog hidden; every call
// clears it.
extern uint8_t dontshowdialog;

// Makes the dialog (id + 6000 on screens of 800 x 600 and more, id + 5000
// for ids below 5000 on screens of 640 x 480 and more, when such a 'DLOG'
// exists), centres it across the main screen a third of the way down,
// shows and selects it. The current port and erreure stay as they were.
platform::DialogRef getposdialog(int16_t dialogID, void* storage, platform::WindowRef behind);
// The one-button message (at most 255 characters); waits for OK.
void attention(const unsigned char* message);
// User item drawing the default ring around item 1: pen 3 x 3, the item
// grown by 4, corners 16 x 16, clipped to the whole port.
void Default(platform::DialogRef dialog, platform::DialogItemIndex item);
// The callback of the procedure, made on first use and kept in *cache.
platform::ModalFilterUPP GetModalFilterUPP(platform::ModalFilterProcPtr proc, platform::ModalFilterUPP* cache);
platform::UserItemUPP GetUserItemUPP(platform::UserItemProcPtr proc, platform::UserItemUPP* cache);
// The default ring's user item callback, made by initall.
extern platform::UserItemUPP gDefaultItemUPP;
void InitRoutineDescriptors();
