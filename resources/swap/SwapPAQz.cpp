// Password tables: users, then groups, stored scrambled.
#include <cstring>

#include "kernel/standins/EncrypteText.h"
#include "resources/swap/PasswordTableKey.h"
#include "resources/swap/SwapCursor.h"
#include "resources/swap/SwapResource.h"

namespace {

constexpr uint8_t kCurrentMarker = 0xA0;  // 0xA0A0 reads the same in either order

void Convert(SwapCursor& c, int32_t size, uint8_t* p)
{
    const bool current = p[0] == kCurrentMarker && p[1] == kCurrentMarker;
    int32_t users = 0, groups = 0;
    int64_t at;
    int32_t recordSize, userTemplate;
    if (current) {
        c.Word(0);
        c.Word(2, &users);
        c.Word(4, &groups);
        at = 6, recordSize = 112, userTemplate = 38;
    } else {
        c.Word(0, &users);
        c.Word(2, &groups);
        at = 4, recordSize = 96, userTemplate = 107;
    }
    for (int32_t i = 0; i < users && at + recordSize <= size; ++i, at += recordSize)
        if (!c.Template(userTemplate, at, recordSize, true)) return;
    for (int32_t g = 0; g < groups && size - at >= 38; ++g) {
        if (std::memcmp(p + at, p + at + 34, 2) != 0) break;
        int32_t members = 0;
        c.Word(at, &members, true);
        if (members < 0 || size - at < 2 * (int64_t(members) - 1) + 40) break;
        int32_t length = 0;
        if (!c.Template(40, at + 2, size - at - 2, false, &length)) return;
        at += length + 2;
    }
    if (at != size) errSwap = 1;
}

}  // namespace

void SwapPAQz(uint8_t direction, int32_t size, uint8_t* contents)
{
    if (size < 6) return;
    SwapCursor c(contents, size, direction == kSwapReading);
    encryptetext(contents, size, PasswordTableKey());
    Convert(c, size, contents);
    encryptetext(contents, size, PasswordTableKey());
}
