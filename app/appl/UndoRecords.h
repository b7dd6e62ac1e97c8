// A window's undo record: the Undo item's text index ('STR#' 1003), an
// action code and a list of arguments, oldest first. Every change renames
// and enables or disables the Undo command (21) to match.
//
// The record is one handle, big-endian:
//   0  4  header offset (always 0; every field position adds it)
//   4  2  text index, 2 = nothing to undo
//   6  2  action code
//   8  4  argument bytes that follow
//  12     arguments: 32-bit values, or pointers in 8 bytes
// A push that cannot grow the handle changes nothing and answers -108;
// reading past the arguments answers 0.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

constexpr int16_t kUndoCommand = 21;
constexpr int16_t kNothingToUndo = 2;

platform::Handle InitUndoHdl(int16_t textIndex, int16_t actionCode);
void NewUndo(platform::Handle undo, int16_t textIndex, int16_t actionCode);
void SetUndo(platform::Handle undo, int16_t textIndex, int16_t actionCode);
int16_t UndoTxtNum(platform::Handle undo);
int16_t UndoCode(platform::Handle undo);
platform::OSErr PushUndoLongInt(platform::Handle undo, int32_t value);
// The argument `*position` bytes before the end (0: the newest); adds 4.
int32_t GetUndoLongInt(platform::Handle undo, int32_t* position);
platform::OSErr PushUndoPtr(platform::Handle undo, void* value);
void* GetUndoPtr(platform::Handle undo, int32_t* position);
void SetUndoMenu(platform::Handle undo);
