// Conversion of resource contents between the stored and the host byte
// order, chosen by resource type. Contents are kept big-endian in memory;
// a conversion is needed only when the file, or the server, is
// little-endian.
#pragma once

#include <cstdint>

// Contents just read from a little-endian source become host order;
// SwapResourceEnvoi turns host-order contents into little-endian ones before
// they are written or sent. Both clear errSwap first, work in place and
// return 1 when the type is known (or needed is 0), 0 when it is unknown
// (the contents are then untouched). errSwap = 1 afterwards means the
// contents did not fit their layout; the part converted so far stays
// converted, except where a routine says otherwise.
uint32_t SwapResource(uint8_t needed, uint32_t type, int32_t size, void* contents);
uint32_t SwapResourceEnvoi(uint8_t needed, uint32_t type, int32_t size, void* contents);

// The dedicated routines. direction: kSwapReading (the contents arrive in
// the other order) or kSwapWriting (they leave in host order). A record that
// does not fit the size sets errSwap and stops.
constexpr uint8_t kSwapReading = 1;
constexpr uint8_t kSwapWriting = 0;

void SwapClut(uint8_t direction, int32_t size, uint8_t* contents);
void SwapQuickTimeSettings(uint8_t direction, int32_t size, uint8_t* contents);
void SwapPictListPref(uint8_t direction, int32_t size, uint8_t* contents);
void SwapPictureWizardSetting(uint8_t direction, int32_t size, uint8_t* contents);
void SwapPictList(uint8_t direction, int32_t size, uint8_t* contents);
void SwapNameList(uint8_t direction, int32_t size, uint8_t* contents);
void SwapFontList(uint8_t direction, int32_t size, uint8_t* contents);
// Leaves the contents untouched (errSwap = 1) when the sheet size cannot be
// told from the size and the sheet count.
void SwapStyleSheets(uint8_t direction, int32_t size, uint8_t* contents);
void SwapDoc(uint8_t direction, int32_t size, uint8_t* contents);
void SwapFormat(uint8_t direction, int32_t size, uint8_t* contents);
// One page of a form's format starting at `start`; the position after it,
// or -1 (errSwap = 1) when it does not fit.
int32_t SwapPage(uint8_t direction, int32_t size, uint8_t* contents, int32_t start);
void SwapProcQz(uint8_t direction, int32_t size, uint8_t* contents);
// The tokens of one method line, exactly `size` bytes.
void SwapLine(uint8_t direction, int32_t size, uint8_t* tokens);
// Password tables; stored scrambled, so they are unscrambled, converted and
// scrambled again.
void SwapPAQz(uint8_t direction, int32_t size, uint8_t* contents);
