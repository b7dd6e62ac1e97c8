// What the link parsers of the kinds share: the document's store made
// current for a parse, the wait dialog's count and cancel, and bounded
// big-endian reads over resource bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"

class TMainDoc;
class TObjQz;

// Makes the document's store current for the life of the guard.
class ParseResFile {
public:
    explicit ParseResFile(TMainDoc* doc);
    ~ParseResFile();
    ParseResFile(const ParseResFile&) = delete;
    ParseResFile& operator=(const ParseResFile&) = delete;

private:
    int16_t saved_;
};

// Counts the object in the wait dialog; true when it was parsed already
// (then nothing more is done). Otherwise marks it parsed.
bool ParseOnce(TObjQz* obj);
// True when the wait dialog was cancelled.
bool ParseCancelled();

// The bytes of a handle, never read past their end.
struct ByteView {
    const uint8_t* data = nullptr;
    size_t size = 0;

    static ByteView Of(platform::Handle h);
    bool Has(size_t at, size_t count) const { return at <= size && count <= size - at; }
    // False, leaving *v alone, when the bytes are not all there.
    bool S16(size_t at, int16_t* v) const;
    bool S32(size_t at, int32_t* v) const;
    bool U8(size_t at, uint8_t* v) const;
    // A length byte and its characters within `room` bytes from `at`.
    bool PStr(size_t at, size_t room, unsigned char* out) const;
};

// The field that the relation of the 66-byte 'FIQz' entry at `entry`
// names (table number, field number, depth and path), or null.
TObjQz* EntryRelatedField(TObjQz* table, const ByteView& fiqz, size_t entry);

// The 'BAQz' id in slot `slot` of the menu-bar directory 'LIBA' 0 of the
// current store; 0 for a slot it does not hold.
int16_t MenuBarIdOfSlot(int32_t slot);
// The string lists the titles and items of the bar's stored menus refer
// to, each once, in the order its parse links them.
std::vector<TObjQz*> MenuBarStringLists(TObjQz* bar);

class TLayoutObjQz;
// Walks a form stored in an older flat layout (paged: first byte 13; the
// oldest: one record list) and links what it names from the form; 9001
// for a record of no known type or cut short.
int16_t WalkFlatForm(TLayoutObjQz* form, const uint8_t* data, size_t size);
