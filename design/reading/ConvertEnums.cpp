// Older enumerations become choice lists.
//
// 'ENQz' (id = the list's id): 16-bit item count at 0, then 34-byte items
// from byte 4, each beginning with the item text (length byte and at most
// 31 characters). An item count past the resource answers 1003 and the
// enumeration stays as it is.
#include <algorithm>
#include <vector>

#include "app/documents/MainDoc.h"
#include "design/reading/DirectoryBytes.h"
#include "design/reading/ReadQzB.h"
#include "forms/lists/ChoiceLists.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

using platform::FourCC;
using platform::ReadBES16;

platform::Handle lrefenum = nullptr;

namespace {

// The enumeration as a list saved under its id; 0 or why it could not be.
int16_t ConvertOne(int16_t id)
{
    std::vector<uint8_t> e;
    if (const int16_t err = LoadDirectory(FourCC("ENQz"), id, &e)) return err == kNoDirectory ? 0 : err;
    const int16_t count = e.size() >= 2 ? ReadBES16(&e[0]) : -1;
    if (!Fits(int64_t(e.size()), 4, count, 34)) return kResourceMissing;
    itemlistrec list{};
    initqlist(&list, 0, 255);
    ItemHandle first = nullptr, last = nullptr;
    int16_t result = 0;
    for (int32_t i = 1; i <= count && result == 0; ++i) {
        unsigned char text[32];
        FixedName(&e[size_t(4 + 34 * (i - 1))], 32, text);
        if (!addqlist(&list, text, i, 0, nullptr, nullptr, 0, 1, 0, &first, &last)) result = platform::memFullErr;
    }
    list.first = first;
    if (result == 0) result = SaveList(id, &list);
    deinitqlist(&list);
    if (result != 0) return result;
    // Only a saved list lets its enumeration go.
    return rmveresbyid(FourCC("ENQz"), id, true) ? 0 : reserr;
}

}  // namespace

void ForgetEnumDirectory()
{
    if (lrefenum) platform::DisposeHandle(lrefenum);
    lrefenum = nullptr;
}

int16_t convertEnumsToLists(TMainDoc* doc)
{
    if (!doc) return platform::paramErr;
    useres(doc->fResFile);
    if (compteres(FourCC("ENQz"), true) < 1) return 0;
    std::vector<uint8_t> dir;
    if (const int16_t err = LoadDirectory(FourCC("LEQz"), 0, &dir)) return err == kNoDirectory ? 0 : err;
    const int16_t count = dir.size() >= 2 ? ReadBES16(&dir[0]) : 0;
    if (!Fits(int64_t(dir.size()), 6, count, 34)) return kResourceMissing;
    // The directory stays in lrefenum for the conversion; the ids are read
    // from there.
    ForgetEnumDirectory();
    lrefenum = platform::NewHandle(platform::Size(dir.size()));
    if (!lrefenum) return platform::memFullErr;
    std::copy(dir.begin(), dir.end(), reinterpret_cast<uint8_t*>(*lrefenum));
    const auto* entries = reinterpret_cast<const uint8_t*>(*lrefenum);
    int16_t result = 0;
    bool changed = false;
    for (int16_t i = 0; i < count && result == 0; ++i) {
        const int16_t id = ReadBES16(entries + 6 + 34 * i + 32);
        const int16_t before = compteres(FourCC("ENQz"), true);
        result = ConvertOne(id);
        if (compteres(FourCC("ENQz"), true) != before) changed = true;
        useres(doc->fResFile);
    }
    if (changed && !updateres(doc->fResFile) && result == 0) result = reserr;
    return result;
}
