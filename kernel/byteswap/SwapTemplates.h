// Byte-swap templates: numbered record layouts read at start-up from the
// text file "ByteSwap.txt" in the extensions folder, and the walkers that
// convert a record in place by template number.
//
// Records are kept big-endian in memory; "the other order" is
// little-endian. SwapBytes2 converts a record that arrived little-endian
// into host order; SwapBytesEnvoi2 converts a host-order record that is
// about to leave in little-endian order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kernel/byteswap/TokenInv.h"

// 1 after a conversion ran past the size it was given.
extern uint8_t errSwap;

constexpr int32_t kSwapOverrunErr = -193;
// The template file exists but cannot be used (see SwapFileMessage).
constexpr int16_t kBadSwapFileErr = -1001;
constexpr const char* kSwapFileName = "ByteSwap.txt";

// Reads the template file of the extensions folder. 0 on success; -1 when
// the extensions folder does not exist; the file system's error when the
// file cannot be read; -108 when memory runs out; kBadSwapFileErr when a
// line cannot be used (the start-up then quits). Every call starts from an
// empty table.
int16_t InitTokens();
// Parses template text (the file's contents) and installs the templates.
int16_t InitTokensFromText(const void* text, int32_t length);
// The reason of the last kBadSwapFileErr, naming the line; empty otherwise.
const std::string& SwapFileMessage();
// Frees every template and the keyword list: the state before InitTokens.
void ResetSwapTemplates();

// The template of that number; null when the number exceeds the table or
// the slot is empty.
TokenInv* GetToken(int32_t number);
// The template of that name, null when none.
TokenInv* FindToken(const unsigned char* name);
// The highest template number of the table.
int32_t SwapTemplateCount();
// The numbers of the templates the last reading built, in file order: a
// number the file defines twice is there twice (the table keeps the last).
std::vector<int32_t> SwapTemplateNumbersRead();

// Converts the record at data by template `number`, in place. swapFlag 0
// means no conversion is needed. *consumed (may be null) receives the bytes
// the template covered; limit is the bytes available (negative: no limit,
// only for records made in memory). 0, or -193 with errSwap = 1 when the
// record does not fit the limit; nothing at or beyond the limit is touched.
int32_t SwapBytes2(int32_t number, void* data, int32_t swapFlag, int32_t* consumed, int32_t limit);
int32_t SwapBytesEnvoi2(int32_t number, void* data, int32_t swapFlag, int32_t* consumed,
                        int32_t limit);
