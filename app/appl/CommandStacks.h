// Posted commands and the argument stack. A command posted for later runs at
// the next null event, last posted first; its arguments wait on the argument
// stack and are popped in the reverse order of their pushing.
//
// Each stack is a handle: a big-endian 32-bit used length (counting its own
// 4 bytes), then the items packed with no tags, newest last. Integers take
// 2 bytes, long integers 4, strings 256, pointers their native size.
//
// A push that cannot grow the handle writes nothing and answers -108.
// The command pop answers true when it popped; the argument pops answer true
// when the stack was empty (the senses are opposite, as callers expect).
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

constexpr uint32_t kStackStartSize = 1024;

platform::Handle NewFuncStack();
platform::Handle NewCmdStack();

// The command stack (FuncStackHdl).
platform::OSErr PostFunc(int16_t command);
bool GetFunc(int16_t* command);
// A posted command waits (the event loop then does not sleep).
bool FuncPending();
// That command waits among the posted ones.
bool FuncPosted(int16_t command);

// The argument stack (CmdStackHdl).
platform::OSErr PushInteger(int16_t value);
bool PopInteger(int16_t* value);
platform::OSErr PushLongInt(int32_t value);
bool PopLongInt(int32_t* value);
platform::OSErr PushStr255(const unsigned char* text);
bool PopStr255(unsigned char* text);
// Pane and text pointers keep their full width.
platform::OSErr PushPtr(void* value);
bool PopPtr(void** value);

// Drops `bytes` from the top of the argument stack (a command whose
// arguments are no longer wanted); false when fewer were there.
bool DropArguments(uint32_t bytes);
// Bytes held on the argument stack, its length field not counted.
uint32_t ArgumentBytes();
