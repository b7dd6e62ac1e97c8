// A form's format: a page count and its pages, each a run of records
// that open with a kind byte.
#include "platform/core/FourCC.h"
#include "resources/swap/SwapCursor.h"
#include "resources/swap/SwapResource.h"

namespace {

// Pages nest through kind-18 records; deeper nesting is taken as damage.
constexpr int32_t kMaxPageDepth = 64;

int64_t PaddedString(SwapCursor& c, int64_t at)
{
    if (!c.Fits(at, 1)) return -1;
    const int64_t n = PaddedStringBytes(*c.At(at));
    return c.Fits(at, n) ? at + n : -1;
}

// The optional extension: a word x (after a -2 marker and its word, when
// present) and, when x is not 0, a 68-byte block and a padded string.
int64_t Extension(SwapCursor& c, int64_t at)
{
    int32_t x = 0;
    if (!c.PeekWord(at, &x, true)) return -1;
    if (x == -2) {
        if (!c.Word(at) || !c.Word(at + 2)) return -1;
        at += 4;
    }
    if (!c.Word(at, &x, true)) return -1;
    at += 2;
    if (x == 0) return at;
    if (!c.Template(27, at, 68)) return -1;
    return PaddedString(c, at + 68);
}

bool Words(SwapCursor& c, int64_t at, int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
        if (!c.Word(at + 2 * i)) return false;
    return true;
}

int64_t Page(SwapCursor& c, int64_t at, int32_t depth)
{
    if (depth > kMaxPageDepth) {
        errSwap = 1;
        return -1;
    }
    for (;;) {
        if (!c.Fits(at, 2)) return -1;
        switch (*c.At(at)) {
        case 1:
            if (!c.Template(29, at + 2, 28)) return -1;
            if ((at = PaddedString(c, at + 30)) < 0 || (at = Extension(c, at)) < 0) return -1;
            break;
        case 2:
        case 3:
        case 4:
        case 6:
            if (!c.Template(32, at + 2, 34)) return -1;
            at += 36;
            break;
        case 5:
        case 20: {
            int32_t n = 0;
            if (!c.Template(28, at + 2, 28) || !c.Word(at + 30, &n)) return -1;
            if (!c.Fits(at + 32, RoundUpEven(n))) return -1;
            at += 32 + RoundUpEven(n);
            break;
        }
        case 9:
            if (!c.Fits(at, 44)) return -1;
            if (*c.At(at + 10) == 5 && (*c.At(at + 11) == 1 || *c.At(at + 11) == 7)) c.Long(at + 12);
            if (!c.Template(25, at + 2, 42)) return -1;
            if ((at = PaddedString(c, at + 44)) < 0 || (at = Extension(c, at)) < 0) return -1;
            break;
        case 10: {
            uint32_t length = 0;
            if (!Words(c, at + 2, 4) || !c.Long(at + 10, &length)) return -1;
            const int64_t data = RoundUpEven(length);
            if (!c.Fits(at + 14, data)) return -1;
            if (!Words(c, at + 14, int32_t(data >= 10 ? 5 : data / 2))) return -1;  // the picture header
            at += 14 + data;
            break;
        }
        case 11:
            if (!c.Template(30, at + 2, 48)) return -1;
            at += 50;
            break;
        case 18:
            if (!Words(c, at + 2, 4)) return -1;
            if ((at = Page(c, at + 10, depth + 1)) < 0) return -1;
            break;
        case 19:
            if (!c.Template(24, at + 2, 38)) return -1;
            at += 40;
            break;
        default:
            return at + 2;  // the record that ends the page
        }
    }
}

}  // namespace

int32_t SwapPage(uint8_t direction, int32_t size, uint8_t* contents, int32_t start)
{
    SwapCursor c(contents, size, direction == kSwapReading);
    return int32_t(Page(c, start, 0));
}

void SwapFormat(uint8_t direction, int32_t size, uint8_t* contents)
{
    if (size <= 0) return;
    SwapCursor c(contents, size, direction == kSwapReading);
    if (!c.Fits(0, 4)) return;
    const uint32_t first = platform::ReadBE32(contents);
    if (first == platform::FourCC("FORM") || first == platform::FourCC("MROF")) return;  // an IFF form
    int32_t pages = 0;
    if (!c.Word(2, &pages)) return;
    int64_t at = 4;
    for (int32_t i = 0; i < pages; ++i)
        if ((at = Page(c, at, 0)) < 0) return;
}
