#include "toolbox/views/NativeFontScript.h"

namespace {

struct Pair {
    int32_t charset;
    int32_t encoding;
};

// Character set to encoding; 129 and 130 share Korean, 186 (Baltic) and
// 238 (Central European) share the Central European encoding.
constexpr Pair kToEncoding[] = {{0, 0},    {2, 33},   {128, 1},  {129, 3},  {130, 3},   {136, 2},  {161, 6},  {162, 35},
                                {163, 30}, {177, 5},  {178, 4},  {186, 29}, {204, 7},   {222, 21}, {238, 29}};
constexpr Pair kToCharset[] = {{0, 0},   {128, 1},  {136, 2},  {129, 3},  {178, 4},  {177, 5},  {161, 6},
                               {204, 7}, {222, 21}, {238, 29}, {163, 30}, {2, 33},   {162, 35}};
constexpr int32_t kApplicationEncoding = 0;  // Mac Roman

}  // namespace

int32_t MacFontScript(int32_t charset)
{
    for (const Pair& p : kToEncoding)
        if (p.charset == charset) return p.encoding;
    return kApplicationEncoding;
}

int32_t WinFontScript(int32_t encoding)
{
    for (const Pair& p : kToCharset)
        if (p.encoding == encoding) return p.charset;
    return 1;
}
