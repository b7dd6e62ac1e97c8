// Dialect codes against Mac scripts, languages and keyboards.
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/intl/DialectList.h"

platform::Handle VIntlMgr::fDialectCodes = nullptr;

namespace {

constexpr platform::ResType kDialectCodesType = 0x58444C43;  // 'XDLC'
constexpr int16_t kDialectCodesId = 128;
constexpr int32_t kRecordSize = 22;

struct DialectCodeRecord {
    DialectCode code;
    int32_t script;
    int32_t kchr;
};

int32_t BE16s(const uint8_t* p) { return int16_t((p[0] << 8) | p[1]); }
int32_t BE32s(const uint8_t* p) { return int32_t((uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]); }

// Visits the records of 'XDLC' 128 in order until visit answers true; false
// when the resource is missing or no record was taken. The record count is
// held to what the resource really holds.
template <typename Visit>
bool SearchDialectCodes(Visit visit)
{
    platform::Handle h = platform::GetResource(kDialectCodesType, kDialectCodesId);
    if (h == nullptr) return false;
    platform::HLock(h);
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    const int32_t size = platform::GetHandleSize(h);
    bool found = false;
    if (size >= 2) {
        int32_t count = BE16s(p);
        if (count > (size - 2) / kRecordSize) count = (size - 2) / kRecordSize;
        for (int32_t i = 0; i < count && !found; ++i) {
            const uint8_t* r = p + 2 + i * kRecordSize;
            found = visit(DialectCodeRecord{BE32s(r), BE16s(r + 4), BE16s(r + 8)});
        }
    }
    platform::HUnlock(h);
    platform::ReleaseResource(h);
    VIntlMgr::fDialectCodes = nullptr;
    return found;
}

struct LanguageRow {
    int32_t language;
    DialectCode dialects[20];
};

// Mac language of each dialect.
constexpr LanguageRow kLanguages[] = {
    {0, {0x409, 0x809, 0xC09, 0x1009, 0x1409, 0x1809, 0x1C09, 0x2009, 0x2409, 0x2809, 0x2C09}},
    {1, {0x40C, 0x80C, 0xC0C, 0x100C, 0x140C}},
    {2, {0x407, 0x807, 0xC07, 0x1007, 0x1407}},
    {3, {0x410, 0x810}},
    {4, {0x413, 0x813}},
    {5, {0x41D, 0x81D}},
    {6, {0x40A, 0x80A, 0xC0A, 0x100A, 0x140A, 0x180A, 0x1C0A, 0x200A, 0x240A, 0x280A, 0x2C0A, 0x300A, 0x340A,
         0x380A, 0x3C0A, 0x400A, 0x440A, 0x480A, 0x4C0A, 0x500A}},
    {7, {0x406}},
    {8, {0x816}},
    {9, {0x414, 0x814}},
    {10, {0x40D}},
    {11, {0x411}},
    {12, {0x401, 0x801, 0xC01, 0x1001, 0x1401, 0x1801, 0x1C01, 0x2001, 0x2401, 0x2801, 0x2C01, 0x3001, 0x3401,
          0x3801, 0x3C01, 0x4001}},
    {13, {0x40B}},
    {14, {0x408}},
    {15, {0x40F}},
    {17, {0x41F}},
    {18, {0x41A, 0xC1A}},
    {19, {0x404, 0xC04, 0x1004}},
    {22, {0x41E}},
    {23, {0x412, 0x812}},
    {24, {0x427}},
    {25, {0x415}},
    {26, {0x40E}},
    {28, {0x426}},
    {30, {0x438}},
    {31, {0x429}},
    {32, {0x419}},
    {33, {0x804}},
    {36, {0x41C}},
    {37, {0x418}},
    {38, {0x405}},
    {39, {0x41B}},
    {40, {0x424}},
    {42, {0x81A}},
    {44, {0x402}},
    {45, {0x422}},
    {46, {0x423}},
    {80, {0x42A}},
    {81, {0x421}},
    {129, {0x42D}},
    {130, {0x403}},
    {141, {0x436}},
};

bool LanguageOf(DialectCode dialect, int32_t& language)
{
    for (const auto& row : kLanguages)
        for (DialectCode code : row.dialects)
            if (code != 0 && code == dialect) {
                language = row.language;
                return true;
            }
    return false;
}

struct FamilyRow {
    MultiByteCode code;
    DialectCode dialects[17];
};

constexpr FamilyRow kFamilies[] = {
    {1, {0x411}},
    {2, {0x404, 0xC04, 0x1004}},
    {3, {0x804}},
    {4, {0x412, 0x812}},
    {5, {0x401, 0x801, 0xC01, 0x1001, 0x1401, 0x1801, 0x1C01, 0x2001, 0x2401, 0x2801, 0x2C01, 0x3001, 0x3401,
         0x3801, 0x3C01, 0x4001, 0x429}},
    {6, {0x40D}},
    {7, {0x408}},
    {8, {0x402, 0x419, 0x422, 0x423, 0xC1A}},
    {9, {0x405, 0x40E, 0x415, 0x41B, 0x425, 0x426, 0x427, 0x81A}},
    {10, {0x41A, 0x424}},
    {11, {0x40F, 0x438}},
    {13, {0x418}},
    {14, {0x41E}},
    {15, {0x42A}},
    {16, {0x41F}},
};

}  // namespace

MultiByteCode INTL_GetDialectScriptCode(DialectCode dialect)
{
    bool known = false;
    for (const auto& record : sDialectList) known = known || record.code == dialect;
    if (!known) return -1;
    for (const auto& row : kFamilies)
        for (DialectCode code : row.dialects)
            if (code != 0 && code == dialect) return row.code;
    return 0;
}

bool VIntlMgr::GetMacScriptFromDialectCode(DialectCode dialect, int32_t& script)
{
    int32_t found = -1;
    SearchDialectCodes([&](const DialectCodeRecord& r) {
        if (r.code != dialect) return false;
        found = r.script;
        return true;
    });
    if (found != -1) {
        script = found;
        return true;
    }
    const DialectCode primary = PrimaryDialect(dialect);
    return primary != dialect && GetMacScriptFromDialectCode(primary, script);
}

bool VIntlMgr::MAC_GetLangFromDialectCode(DialectCode dialect, int32_t& language)
{
    if (LanguageOf(dialect, language)) return true;
    if (PrimaryDialect(dialect) != dialect && LanguageOf(PrimaryDialect(dialect), language)) return true;
    language = -1;
    return true;
}

DialectCode VIntlMgr::MAC_GetDialectCodeFromMacScript(int32_t script)
{
    DialectCode found = kDialectNotSet;
    SearchDialectCodes([&](const DialectCodeRecord& r) {
        if (r.script != script) return false;
        found = PrimaryDialect(r.code);
        return true;
    });
    return found;
}

bool VIntlMgr::MAC_GetMacKCHRFromDialectCode(DialectCode dialect, int32_t& kchr)
{
    return SearchDialectCodes([&](const DialectCodeRecord& r) {
        if (r.code != dialect || r.script == -1) return false;
        kchr = r.kchr;
        return true;
    });
}

void VIntlMgr::ForgetDialectCodes() { fDialectCodes = nullptr; }
