#include "kernel/collation/CollationTables.h"

#include <cstring>
#include <numeric>

#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/CustRecord.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/RomanCase.h"
#include "platform/text/RomanCompare.h"
#include "platform/text/ScriptManager.h"

using platform::Handle;

uint8_t newfiltre(uint8_t c) { return platform::RomanUppercase(c); }

uint8_t oldfiltre(uint8_t c)
{
    platform::UppercaseStripDiacritics(&c, 1);
    return c;
}

void BuildFilter2Table(uint8_t table[256])
{
    for (int32_t c = 0; c < 256; ++c) table[c] = newfiltre(static_cast<uint8_t>(c));
}

void BuildFilterIntlTable(uint8_t table[256])
{
    // Insertion of each byte into the bytes before it, in the system's
    // order; the byte 0 keeps rank 0. The table is the inverse list.
    uint8_t list[256];
    std::iota(list, list + 256, 0);
    for (int32_t i = 1; i < 256; ++i) {
        const uint8_t x = list[i];
        int32_t j = 1;
        while (j < i && platform::CompareText(&x, 1, &list[j], 1) >= 0) ++j;
        if (j < i) {
            std::memmove(list + j + 1, list + j, static_cast<size_t>(i - j));
            list[j] = x;
        }
    }
    for (int32_t k = 0; k < 256; ++k) table[list[k]] = static_cast<uint8_t>(k);
}

void BuildFilterTable(uint8_t table[256])
{
    static const uint8_t kUpperA = 'A', kLowerZ = 'z';
    for (int32_t i = 0; i < 256; ++i) {
        const uint8_t c = static_cast<uint8_t>(i);
        uint8_t u = oldfiltre(c);
        // A letter the system sorts outside "A".."z" keeps its diacritics.
        if (u >= 'A' && u <= 'Z' &&
            (platform::CompareText(&c, 1, &kUpperA, 1) < 0 || platform::CompareText(&c, 1, &kLowerZ, 1) > 0))
            u = newfiltre(c);
        table[c] = u;
    }
}

void BuildSystemTables()
{
    BuildFilter2Table(tabfiltre2);
    BuildFilterIntlTable(tabfiltre3);
    BuildFilterTable(tabfiltre);
}

namespace {

// Copies a 256-byte resource into table; false when it is missing or short.
bool LoadTable(uint32_t type, int16_t id, uint8_t table[256])
{
    Handle h = platform::GetResource(type, id);
    if (h == nullptr || *h == nullptr || platform::GetHandleSize(h) < 256) return false;
    std::memcpy(table, *h, 256);
    return true;
}

bool LoadCustomOrdering()
{
    const uint32_t kTric = platform::FourCC("TRIC");
    uint8_t order[256], upper[256], classes[256];
    if (!LoadTable(kTric, kCustomOrderId, order) || !LoadTable(kTric, kCustomUpperId, upper) ||
        !LoadTable(kTric, kCustomClassId, classes))
        return false;
    std::memcpy(tabmaj, upper, 256);
    std::memcpy(tabmajnodiac, classes, 256);
    std::memset(tabvalue, 0, 256);
    for (int32_t k = 0; k < 256; ++k) tabvalue[order[k]] = static_cast<uint8_t>(k);
    Handle number = platform::GetResource(kTric, kCustomNumberId);
    curtric = (number != nullptr && *number != nullptr && platform::GetHandleSize(number) >= 2)
                  ? platform::ReadBES16(*number)
                  : 0;
    nouveaucomp = 1;
    return true;
}

}  // namespace

void trifonc()
{
    nouveaucomp = 0;
    curtric = 0;
    if (scriptmanager == 0 && LoadCustomOrdering()) return;
    const uint32_t kTri = platform::FourCC("TRI#");
    if (!LoadTable(kTri, kFilterIntlId, tabfiltre3)) BuildFilterIntlTable(tabfiltre3);
    if (!LoadTable(kTri, kFilterId, tabfiltre)) BuildFilterTable(tabfiltre);
    if (!LoadTable(kTri, kFilter2Id, tabfiltre2)) BuildFilter2Table(tabfiltre2);
}

void init_Strings()
{
    using namespace platform;
    LoadCust();
    specialjapon = 0;
    Jtabletri = Jtablecomp = Jtablekana1 = nullptr;
    scriptmanager = 0;
    const int32_t systemScript = GetScriptManagerVariable(smSysScript);
    if (systemScript == 1) {
        Jtabletri = GetResource(kJapaneseTableType, 0);
        Jtablecomp = GetResource(kJapaneseTableType, 1);
        Jtablekana1 = GetResource(kJapaneseTableType, 2);
        specialjapon = (Jtabletri != nullptr && Jtablecomp != nullptr && Jtablekana1 != nullptr) ? 1 : 0;
    }
    if (GetScriptManagerVariable(smEnabled) > 1 && GetScriptManagerVariable(smDefault) == 0 &&
        systemScript != smRoman)
        scriptmanager = 1;
    if (scriptmanager == 0) specialjapon = 0;
    trifonc();
}
