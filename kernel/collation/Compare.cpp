#include "kernel/collation/Compare.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/CustRecord.h"
#include "kernel/collation/ScriptCompare.h"
#include "platform/core/Endian.h"
#include "platform/text/RomanCompare.h"

namespace {

constexpr uint8_t kGermanSharpS = 167;

int16_t ByWeight(int32_t aWeight, int32_t bWeight) { return aWeight > bWeight ? kGreater : kSmaller; }

}  // namespace

namespace {

// The table-driven comparison; without `wildcards` the at sign is an
// ordinary character and the answers form a total order.
int16_t TableCompare(const uint8_t* classes, const uint8_t* order, const uint8_t* a, const uint8_t* b,
                     int32_t aLength, int32_t bLength, bool wildcards)
{
    aLength = std::max(aLength, 0);
    bLength = std::max(bLength, 0);
    if (!wildcards) {
        // The same walk without a wildcard to let take characters: the
        // first differing weight decides, then the shorter text comes first.
        const int32_t common = std::min(aLength, bLength);
        for (int32_t i = 0; i < common; ++i) {
            const uint8_t ca = classes[a[i]], cb = classes[b[i]];
            if (ca != cb && order[ca] != order[cb]) return ByWeight(order[ca], order[cb]);
        }
        return aLength == bLength ? kEqual : aLength > bLength ? kGreater : kSmaller;
    }
    auto isWildcard = [&](int32_t k) {
        if (!wildcards || classes[b[k]] != kTableWildcard) return false;
        return strcmpbehavior == 0 || k == 0 || k == bLength - 1;
    };
    int32_t ia = 0, ib = 0;
    int32_t starA = -1, starB = -1;  // where the last wildcard began to match
    while (ia < aLength) {
        if (ib < bLength && isWildcard(ib)) {
            starB = ib++;
            starA = ia;
            if (ib == bLength) return kEqual;  // a trailing wildcard takes the rest
            continue;
        }
        if (ib < bLength && classes[a[ia]] == classes[b[ib]]) {
            ++ia;
            ++ib;
            continue;
        }
        if (starB >= 0) {  // let the wildcard take one more character
            ia = ++starA;
            ib = starB + 1;
            continue;
        }
        if (ib >= bLength) return kGreater;
        const int32_t wa = order[classes[a[ia]]], wb = order[classes[b[ib]]];
        if (wa != wb) return ByWeight(wa, wb);
        ++ia;
        ++ib;
    }
    while (ib < bLength && isWildcard(ib)) ++ib;
    if (ib == bLength) return kEqual;
    return bLength < aLength ? kGreater : kSmaller;
}

}  // namespace

int16_t relptr(const uint8_t* classes, const uint8_t* order, const uint8_t* a, const uint8_t* b,
               int32_t aLength, int32_t bLength)
{
    return TableCompare(classes, order, a, b, aLength, bLength, true);
}

int16_t relptrstrict(const uint8_t* classes, const uint8_t* order, const uint8_t* a,
                     const uint8_t* b, int32_t aLength, int32_t bLength)
{
    aLength = std::max(aLength, 0);
    bLength = std::max(bLength, 0);
    const int32_t common = std::min(aLength, bLength);
    for (int32_t i = 0; i < common; ++i)
        if (classes[a[i]] != classes[b[i]]) return ByWeight(order[a[i]], order[b[i]]);
    if (aLength != bLength) return aLength > bLength ? kGreater : kSmaller;
    for (int32_t i = 0; i < common; ++i)
        if (order[a[i]] != order[b[i]]) return ByWeight(order[a[i]], order[b[i]]);
    return kEqual;
}

namespace {
// The text with every sharp s written as "ss".
std::vector<uint8_t> ExpandSharpS(const uint8_t* text, int32_t length)
{
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(length) * 2);
    for (int32_t i = 0; i < length; ++i) {
        if (text[i] == kGermanSharpS) {
            out.push_back('s');
            out.push_back('s');
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}
}  // namespace

namespace {

int16_t GermanCompare(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength, bool strict,
                      bool wildcards)
{
    aLength = std::max(aLength, 0);
    bLength = std::max(bLength, 0);
    std::vector<uint8_t> aCopy, bCopy;
    if (std::memchr(a, kGermanSharpS, static_cast<size_t>(aLength)) != nullptr) {
        aCopy = ExpandSharpS(a, aLength);
        a = aCopy.data();
        aLength = static_cast<int32_t>(aCopy.size());
    }
    if (std::memchr(b, kGermanSharpS, static_cast<size_t>(bLength)) != nullptr) {
        bCopy = ExpandSharpS(b, bLength);
        b = bCopy.data();
        bLength = static_cast<int32_t>(bCopy.size());
    }
    if (strict && nouveaucomp != 0) return relptrstrict(tabmajnodiac, tabvalue, a, b, aLength, bLength);
    if (nouveaucomp != 0) return TableCompare(tabmajnodiac, tabvalue, a, b, aLength, bLength, wildcards);
    return TableCompare(tabfiltre, tabfiltre3, a, b, aLength, bLength, wildcards);
}

// The ordering comparison of the current collation; `wildcards` makes it
// the match of a text against a pattern.
int16_t OrderingCompare(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength, bool wildcards)
{
    aLength = std::max(aLength, 0);
    bLength = std::max(bLength, 0);
    const int16_t selector = CollationSelector();
    if (scriptmanager == 0 && selector != kCollateScript) {
        if (selector == kCollateGerman) return GermanCompare(a, b, aLength, bLength, false, wildcards);
        if (nouveaucomp != 0) return TableCompare(tabmajnodiac, tabvalue, a, b, aLength, bLength, wildcards);
        return TableCompare(tabfiltre, tabfiltre3, a, b, aLength, bLength, wildcards);
    }
    return scriptrelptr(a, b, aLength, bLength, wildcards);
}

}  // namespace

int16_t relbetaptr(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength, bool strict)
{
    return GermanCompare(a, b, aLength, bLength, strict, true);
}

int16_t CompareStringQz(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength,
                        bool ordering)
{
    aLength = std::max(aLength, 0);
    bLength = std::max(bLength, 0);
    const int16_t selector = CollationSelector();
    if (ordering) return OrderingCompare(a, b, aLength, bLength, false);
    if (nouveaucomp != 0) {
        if (selector == kCollateGerman) return relbetaptr(a, b, aLength, bLength, true);
        return relptrstrict(tabmajnodiac, tabvalue, a, b, aLength, bLength);
    }
    const int16_t r = specialjapon != 0 ? Jrelptr(b, a, bLength, aLength)
                                        : platform::CompareText(b, bLength, a, aLength);
    return r == 1 ? kSmaller : r == -1 ? kGreater : kEqual;
}

int16_t CompareStringQz(ConstStr255Param a, ConstStr255Param b, bool ordering)
{
    return CompareStringQz(a + 1, b + 1, a[0], b[0], ordering);
}

int16_t rel2str(ConstStr255Param a, ConstStr255Param b)
{
    if (testcompilo_relstr != 0 && a[0] == 5 && a[1] < 8 && b[0] >= 5) {
        auto value = [](ConstStr255Param s) {
            const int64_t base = s[1] == 1 ? gGlobalTableBase : s[1] == 7 ? gProcessTableBase : 0;
            return base + platform::ReadBES32(s + 2);
        };
        const int64_t va = value(a), vb = value(b);
        return va == vb ? kEqual : va < vb ? kSmaller : kGreater;
    }
    return CompareStringQz(a, b, true);
}

int16_t relstr(ConstStr255Param a, ConstStr255Param b) { return CompareStringQz(a, b, true); }

int16_t relxptr(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength)
{
    return CompareStringQz(a, b, aLength, bLength, true);
}

int16_t MatchStringQz(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength)
{
    return OrderingCompare(a, b, aLength, bLength, true);
}

int16_t matchstr(ConstStr255Param text, ConstStr255Param pattern)
{
    return MatchStringQz(text + 1, pattern + 1, text[0], pattern[0]);
}
