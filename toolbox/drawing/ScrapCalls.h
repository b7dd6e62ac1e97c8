// The old scrap calls the application still makes: read, clear and put one
// flavour of the system clipboard, and remember its identity to notice a
// copy made by another program. Platform errors are answered as they are
// (negative); nothing throws.
#pragma once

#include <cstdint>

// The size of the kind's data on the clipboard. With a handle, the handle
// is sized and filled too. On any failure the answer is the (negative)
// error and a given handle is left with 0 bytes.
int32_t myGetScrap(char** handle, uint32_t kind);
// Empties the clipboard.
int32_t myZeroScrap();
// Puts the bytes under the kind, beside what is there. On systems from
// 10.3 on, a picture's direct-colour pixel maps are brought down to 8-bit
// components first, in the caller's bytes.
int32_t myPutScrap(int32_t size, uint32_t kind, void* data);
// Remembers the clipboard as it is now.
void mySaveScrapState();
// Whether the clipboard was changed since mySaveScrapState.
bool myScrapHasChanged();
// Forgets the remembered clipboard (tests).
void ResetScrapState();
