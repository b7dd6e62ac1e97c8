// Dialogs made from the application's resources, the default modal filter
// that keeps the application's windows drawn while a dialog is up, the
// open and save file dialogs, and dialog item accessors.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/filedialogs/NavServices.h"
#include "platform/files/FileTypes.h"
#include "platform/textedit/TextEdit.h"

// With the application's file current: the dialog, titled with 'STR '
// -16096, its port current.
platform::DialogRef MyGetNewDialog(int16_t id, void* storage, platform::WindowRef behind);
void MyDisposDialog(platform::DialogRef dialog);

// Return or Enter answers item 1 after an 8-tick flash when it is active;
// updates of other windows are served (application windows through their
// window object, other dialogs redrawn whole) and left unhandled.
platform::Boolean DefaultFilter(platform::DialogRef dialog, platform::EventRecord* event,
                                platform::DialogItemIndex* item);
void MyModalDialog(platform::ModalFilterUPP filter, int16_t* item);
// Takes one event; an update of a visible application window is served,
// anything else is dropped.
void MyHandleUpdateEvent();
// Serves update events reaching a file dialog.
void myEventProc(platform::NavEventCallbackMessage message, platform::NavCBRecPtr record, void* userData);
// Whether an update event for `window` was served here (application
// window or other dialog).
bool ServeUpdate(const platform::EventRecord& event, platform::WindowRef except);

// The save dialog: 0 with *fileSpec, 233 when cancelled or impossible.
// The default name is one the program holds (Mac Roman), or a name on
// disk (UTF-8), which keeps every character.
int16_t MacPutFile(const unsigned char* prompt, const unsigned char* defaultName, platform::FSSpec* fileSpec);
int16_t MacPutFile(const unsigned char* prompt, const std::string& defaultFileName, platform::FSSpec* fileSpec);
// The open dialog, one file: 0 with *fileSpec, else the dialog's result. It
// starts in the folder of the last document opened, else the documents
// folder (SetLastOpenedFolder).
// `prompt`, when given, is the dialog's message.
int16_t MacGetFile(platform::FSSpec* fileSpec, platform::NavTypeListHandle types, platform::NavObjectFilterUPP filter,
                   const unsigned char* prompt = nullptr);
void SetLastOpenedFolder(const platform::FSSpec& folder);

void HideItem(platform::DialogRef dialog, int16_t item);
void SetItemVal(platform::DialogRef dialog, int16_t item, int16_t value);
int16_t GetItemVal(platform::DialogRef dialog, int16_t item);
void SetHiLight(platform::DialogRef dialog, int16_t item, int16_t hilite);
int16_t GetHiLight(platform::DialogRef dialog, int16_t item);
void SetText(platform::DialogRef dialog, int16_t item, const unsigned char* text);
void GetText(unsigned char* text, platform::DialogRef dialog, int16_t item);

int16_t TEGetNbLines(platform::TEHandle te);
