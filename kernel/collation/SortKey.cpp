#include "kernel/collation/SortKey.h"

#include <algorithm>
#include <array>
#include <vector>

#include "kernel/collation/CaseAndSearch.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/CustRecord.h"
#include "platform/text/RomanCase.h"

namespace {

constexpr uint8_t kGermanSharpS = 167;

// A weight (0 to 255) of a level that a shorter text may end. The end is
// one zero byte; weights 2 to 254 are their own byte, 0 and 1 are 1 then
// the weight, 255 is 255 then 0: the order of the weights is the order of
// the bytes, and no weight begins with the end's byte.
void PutWeight(std::string* key, uint8_t weight)
{
    if (weight >= 2 && weight <= 254) {
        key->push_back(char(weight));
    } else {
        key->push_back(char(weight < 2 ? 1 : 255));
        key->push_back(char(weight < 2 ? weight : 0));
    }
}

void PutEnd(std::string* key) { key->push_back('\0'); }

// The weights of the platform's Roman comparison, per byte.
struct RomanWeights {
    uint8_t primary[256], diacritic[256], lower[256];
    RomanWeights()
    {
        using platform::RomanStripDiacritics;
        using platform::RomanUppercase;
        for (int c = 0; c < 256; ++c) {
            primary[c] = RomanUppercase(RomanStripDiacritics(uint8_t(c)));
            const uint8_t upper = RomanUppercase(uint8_t(c));
            diacritic[c] = upper == primary[c] ? 0 : upper;
            lower[c] = upper == c ? 0 : 1;
        }
    }
};

// The levels of the platform's Roman comparison: letters without case or
// diacritics (a prefix first), then diacritics, case and the bytes, each
// deciding at its first difference.
void AppendRomanKey(const uint8_t* text, int32_t length, std::string* key)
{
    static const RomanWeights w;
    const size_t at = key->size();
    key->resize(at + 5 * size_t(length) + 1);  // the most it can take
    char* out = key->data() + at;
    for (int32_t i = 0; i < length; ++i) {
        // PutWeight, written in place.
        const uint8_t weight = w.primary[text[i]];
        if (weight >= 2 && weight <= 254) {
            *out++ = char(weight);
        } else {
            *out++ = char(weight < 2 ? 1 : 255);
            *out++ = char(weight < 2 ? weight : 0);
        }
    }
    *out++ = '\0';
    for (int32_t i = 0; i < length; ++i) {
        out[i] = char(w.diacritic[text[i]]);
        out[length + i] = char(w.lower[text[i]]);
        out[2 * length + i] = char(text[i]);
    }
    key->resize(size_t(out + 3 * length - key->data()));
}

// The table comparison: the weight of each byte's class, a prefix first.
void AppendTableKey(const uint8_t* classes, const uint8_t* order, const uint8_t* text, int32_t length,
                    std::string* key)
{
    for (int32_t i = 0; i < length; ++i) PutWeight(key, order[classes[text[i]]]);
    PutEnd(key);
}

// The exact table comparison decides at the first differing class by the
// weights of the bytes themselves. That is an order only when the weights
// of each class lie apart from those of every other class; the rank of a
// class among them is then its key weight. False when they do not.
bool ClassRanks(const uint8_t* classes, const uint8_t* order, std::array<uint16_t, 256>* rank)
{
    struct Span {
        int lo = 256, hi = -1;
    };
    std::array<Span, 256> spans;
    for (int c = 0; c < 256; ++c) {
        Span& s = spans[classes[c]];
        s.lo = std::min<int>(s.lo, order[c]);
        s.hi = std::max<int>(s.hi, order[c]);
    }
    std::vector<int> used;
    for (int k = 0; k < 256; ++k)
        if (spans[k].hi >= 0) used.push_back(k);
    std::sort(used.begin(), used.end(), [&](int a, int b) { return spans[a].lo < spans[b].lo; });
    for (size_t i = 1; i < used.size(); ++i)
        if (spans[used[i]].lo <= spans[used[i - 1]].hi) return false;
    std::array<uint16_t, 256> classRank{};
    for (size_t i = 0; i < used.size(); ++i) classRank[size_t(used[i])] = uint16_t(i);
    for (int c = 0; c < 256; ++c) (*rank)[size_t(c)] = classRank[classes[c]];
    return true;
}

void AppendExactTableKey(const uint16_t* rank, const uint8_t* order, const uint8_t* text,
                         int32_t length, std::string* key)
{
    for (int32_t i = 0; i < length; ++i) PutWeight(key, uint8_t(rank[text[i]]));
    PutEnd(key);
    for (int32_t i = 0; i < length; ++i) key->push_back(char(order[text[i]]));
}

std::vector<uint8_t> ExpandSharpS(const uint8_t* text, int32_t length)
{
    std::vector<uint8_t> out;
    out.reserve(size_t(length) + 8);
    for (int32_t i = 0; i < length; ++i) {
        out.push_back(text[i] == kGermanSharpS ? uint8_t('s') : text[i]);
        if (text[i] == kGermanSharpS) out.push_back('s');
    }
    return out;
}

enum class KeyKind { None = 0, Roman, FoldedRoman, Table, GermanTable, ExactTable, GermanExactTable };

// Which comparison CompareStringQz makes for this flag under the
// collation in force (the same choices, in the same order).
KeyKind KindFor(bool ordering)
{
    const int16_t selector = CollationSelector();
    if (ordering) {
        if (scriptmanager == 0 && selector != kCollateScript)
            return selector == kCollateGerman ? KeyKind::GermanTable : KeyKind::Table;
        if (specialjapon != 0) return KeyKind::None;
        return selector >= 10 && selector <= 12 ? KeyKind::FoldedRoman : KeyKind::Roman;
    }
    if (nouveaucomp != 0) return selector == kCollateGerman ? KeyKind::GermanExactTable : KeyKind::ExactTable;
    return specialjapon != 0 ? KeyKind::None : KeyKind::Roman;
}

}  // namespace

CollationKeys::CollationKeys(bool ordering)
{
    KeyKind kind = KindFor(ordering);
    if (kind == KeyKind::ExactTable || kind == KeyKind::GermanExactTable) {
        std::array<uint16_t, 256> rank;
        if (!ClassRanks(tabmajnodiac, tabvalue, &rank)) kind = KeyKind::None;
        std::copy(rank.begin(), rank.end(), rank_);
    }
    kind_ = int(kind);
}

void CollationKeys::Append(const uint8_t* text, int32_t length, std::string* key) const
{
    length = std::max(length, 0);
    const auto kind = KeyKind(kind_);
    const bool custom = nouveaucomp != 0;
    std::vector<uint8_t> expanded;
    if (kind == KeyKind::GermanTable || kind == KeyKind::GermanExactTable) {
        expanded = ExpandSharpS(text, length);
        text = expanded.data();
        length = int32_t(expanded.size());
    }
    switch (kind) {
    case KeyKind::None: return;
    case KeyKind::Roman: AppendRomanKey(text, length, key); return;
    case KeyKind::FoldedRoman: {
        std::vector<uint8_t> folded(text, text + length);
        upstr(folded.data(), length);
        AppendRomanKey(folded.data(), std::clamp<int32_t>(lz3, 0, length), key);
        return;
    }
    case KeyKind::Table:
    case KeyKind::GermanTable:
        AppendTableKey(custom ? tabmajnodiac : tabfiltre, custom ? tabvalue : tabfiltre3, text, length, key);
        return;
    case KeyKind::ExactTable:
    case KeyKind::GermanExactTable: AppendExactTableKey(rank_, tabvalue, text, length, key); return;
    }
}
