// Methods: a header, then lines of a length word, a line header by
// template and the line's tokens.
#include <cstdlib>

#include "resources/swap/SwapCursor.h"
#include "resources/swap/SwapResource.h"

namespace {

constexpr int32_t kLineTemplate = 31;
constexpr int32_t kTokensOffset = 18;

}  // namespace

void SwapProcQz(uint8_t direction, int32_t size, uint8_t* contents)
{
    if (size < 10) {
        errSwap = 1;
        return;
    }
    SwapCursor c(contents, size, direction == kSwapReading);
    int32_t lines = 0;
    for (int32_t i = 0; i < 4; ++i) c.Word(2 * i);
    c.Word(8, &lines, true);
    lines = std::abs(lines);
    int64_t at = 10;
    for (int32_t i = 0; i < lines; ++i) {
        int32_t length = 0, tokens = 0;
        if (!c.Word(at, &length, true)) return;
        const int64_t next = at + 2 + length;
        if (length < kTokensOffset - 2 || next > size) {
            errSwap = 1;
            return;
        }
        if (!c.PeekWord(at + 4, &tokens, true)) return;
        if (tokens < 0 || kTokensOffset + tokens > length + 2) {
            errSwap = 1;
            return;
        }
        if (!c.Template(kLineTemplate, at + 2, kTokensOffset - 2)) return;
        SwapLine(direction, tokens, c.At(at + kTokensOffset));
        if (errSwap) return;
        at = next;
    }
}

void SwapLine(uint8_t direction, int32_t size, uint8_t* tokens)
{
    SwapCursor c(tokens, size, direction == kSwapReading);
    int64_t at = 0;
    // A padded length-prefixed string at offset k of the token.
    auto stringToken = [&](int64_t k) -> int64_t {
        return c.Fits(at + k, 1) ? k + PaddedStringBytes(*c.At(at + k)) : -1;
    };
    while (at < size) {
        const uint8_t code = *c.At(at);
        int64_t length = -1;
        int32_t count = 0;
        switch (code) {
        case 0:
        case 1:
        case 13: length = 4; break;
        case 2:
            if (!c.Fits(at, 3)) return;
            switch (*c.At(at + 2)) {
            case 0: length = stringToken(4); break;
            case 1: length = 14; break;
            case 4: length = 10; break;
            case 9:
            case 11: length = 8; break;
            case 25: length = 12; break;
            default: break;
            }
            break;
        case 3:
            if (!c.PeekWord(at + 6, &count)) return;
            length = 8 + 2 * int64_t(count);
            break;
        case 9:
        case 11:
        case 26:
        case 35:
        case 22:
        case 36: length = stringToken(2); break;
        case 23:
        case 27: length = stringToken(4); break;
        default:
            if ((code >= 4 && code <= 8) || code == 12 || (code >= 14 && code <= 21) || code == 24 ||
                code == 25 || (code >= 28 && code <= 34))
                length = 2;
            break;  // 10 and codes above 36 have no form
        }
        if (length < 0 || !c.Fits(at, length)) {
            errSwap = 1;
            return;
        }
        if (code == 1 || code == 13) {
            c.Word(at + 2);
        } else if (code == 2) {
            const uint8_t sub = *c.At(at + 2);
            if (sub == 4) {
                c.Word(at + 4), c.Word(at + 6), c.Word(at + 8);
            } else if (sub == 9 || sub == 11) {
                c.Long(at + 4);
            }
        } else if (code == 3) {
            for (int32_t i = 0; i < 3 + count; ++i) c.Word(at + 2 + 2 * i);
        } else if ((code == 22 || code == 36) && (*c.At(at + 2) == 5 || *c.At(at + 2) == 7) &&
                   *c.At(at + 3) == 2) {
            c.Word(at + 4), c.Word(at + 6);
        }
        at += length;
    }
}
