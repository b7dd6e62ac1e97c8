// The results and constants of the chunk library. Every operation answers
// 0 or one of the negative codes; readers also answer a chunk id, which is
// positive.
#pragma once

#include <cstdint>

#include "platform/core/FourCC.h"

using IFFP = int32_t;

enum : IFFP {
    IFF_OKAY = 0,
    END_MARK = -1,      // no more chunks in this group
    IFF_DONE = -2,      // a client has what it needs; stops the walk
    DOS_ERROR = -3,     // the target could not be read, written or positioned
    NOT_IFF = -4,       // the file does not begin with a group
    NO_FILE = -5,
    CLIENT_ERROR = -6,  // the caller broke the reading or writing rules
    BAD_FORM = -7,      // a client found a form's contents wrong
    SHORT_CHUNK = -8,   // a read asked for more than the chunk has left
    BAD_IFF = -9,       // sizes, bounds or nesting are wrong
};

// A size the writer learns when the chunk ends.
constexpr int32_t kSizeUnknown = int32_t(0x80000001u);
constexpr int32_t kChunkHeaderSize = 8;
// Deeper nesting is taken as damage: every open group costs a reader frame.
constexpr int32_t kMaxOpenGroups = 64;

constexpr IFFP ID_FORM = IFFP(platform::FourCC("FORM"));
constexpr IFFP ID_LIST = IFFP(platform::FourCC("LIST"));
constexpr IFFP ID_CAT = IFFP(platform::FourCC("CAT "));
constexpr IFFP ID_PROP = IFFP(platform::FourCC("PROP"));
// The group ids of a file written in the other byte order.
constexpr IFFP ID_MROF = IFFP(platform::FourCC("MROF"));
constexpr IFFP ID_TSIL = IFFP(platform::FourCC("TSIL"));
constexpr IFFP ID_TAC = IFFP(platform::FourCC(" TAC"));
