// Interface texts, error messages, alerts and the low-memory services.
// Every text a person reads comes from the application's 'STR#' lists; every
// failure shown goes through stop alert 1000 with a text chosen by its code.
//
// The last alert shown is kept (id, kind, text), so that headless runs can
// check what a person would have read.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/MacTypes.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileTypes.h"

// String `index` of 'STR#' `listId` of the application's own file; empty
// when missing. The current resource file is kept.
void MyGetIndString(unsigned char* text, int16_t listId, int16_t index);
void MyGs(unsigned char* text, int16_t listId, int16_t index);

// The 'STR#' 1002 index for the codes the application knows; 0 otherwise.
int16_t ErrorStringIndex(int16_t code);
// Looks `code` up in the 'EMap' resources: 0 with the text, or 9 and empty.
int16_t SearchResErrs(int16_t code, unsigned char* text);
// The message ErrMsg shows for `code`.
void ErrorMessage(int16_t code, unsigned char* text);
// Shows the message of `code`. A refusal the file service noted for that
// code (platform::NoteFileRefusal: a document moved or replaced behind the
// program's back, a file made read-only) names its file, as ErrMsgAbout.
void ErrMsg(int16_t code);

// Every message about a file names it one way: for the codes that concern
// a file (not found, in use, locked, not to be changed, moved or
// replaced), the file's name set in the code's text ('STR#' 1037), and
// where a moved document is now when the refusal tells; a document
// deleted, a folder that may not be changed, a file kept under another
// name each have words of their own. Other codes say their text alone.
void ErrorMessageAbout(const platform::FileRefusal& refused, unsigned char* text);
void ErrMsgAbout(int16_t code, const platform::FSSpec& file);
// A path (UTF-8) as a message shows it in `room` bytes (Mac Roman): whole
// when it fits, else its end after an ellipsis, from a separator so that
// the folders it keeps and the name are whole (the name's end alone, when
// even the name does not fit).
std::string PathToFit(const std::string& path, int32_t room);
// The file's name, as the program shows it, after `text`.
void AppendFileName(unsigned char* text, const platform::FSSpec& file);

enum : int16_t { kNoteAlert = 1, kCautionAlert = 2, kStopAlert = 3 };
// Shows alert `alertId` with ^0 = text; the item hit, 0 for other kinds.
int16_t XAlert(int16_t alertId, const unsigned char* text, int16_t kind);
void NoMemory(int16_t level);
// A paste of another program's text put "?" for characters a structure
// cannot hold: says so (the text editors' paste notice).
void SaySubstitutedPaste();
int16_t ConfirmClose(bool ask, const unsigned char* name);

struct AlertRequest {
    int16_t alertId = 0;
    int16_t kind = 0;
    std::string text;  // Mac Roman
};
const AlertRequest& LastAlert();
int32_t AlertCount();
void ResetAlerts();

platform::Size MyFreeMem();
bool CheckMem(platform::Size size);
uint64_t FreeDiskSize(int16_t vRefNum);
int32_t CountTotResources(int16_t refNum);

// Removes the working files a previous run left in the preferences folder.
// Only the instance that holds the folder's lock cleans: a second instance
// running beside the first deletes nothing. The lock lasts until
// ReleaseInstanceLock (quit).
void DelTempFiles();
void ReleaseInstanceLock();

void BadParseIdle(int32_t a, int32_t b);
void LowMemIdle();
