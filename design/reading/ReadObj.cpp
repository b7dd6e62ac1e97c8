// The directories of a document, one kind at a time (ReadObj).
//
//  kind  directory            layout
//   1    'WNQz' 0 + 'PRQz' 0  32-byte names; count = 'PRQz' word 0 (<= 255),
//                             table i's 'FIQz' id at 64 + 14 i of 'PRQz'
//   2    'TPQz' 0             44-byte records, size / 44: name, id at 32
//  16    'DBPR' 0             16-bit ids, size / 2; 0 and -1 are free slots
//   4    'LEQz' 0             count; 34-byte entries from 6: name, id at 32
//   5    'LIBA' 0             count; count ids (-1: free slot)
//   6    every 'MENQ'         the title at 2 names the menu
//  10    'LiHe' 0             18-byte entries, size / 18: name (16), id
//  11    companion 'STR#'     the resource name
//  12    'STQz' 0             count; 114-byte entries from 2: name,
//                             description at 32; the id is the entry number
//  18    'PIC#' 128           count; 34-byte entries from 2: name, id
//  19    'Stlx'/'Styl' 128    count; 376-byte entries from 4: name, id
//  20    companion resources  type and id
// A count that claims more than its resource holds answers 1003.
#include <cstring>
#include <new>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/DesignGlobals.h"
#include "design/plugins/PlugInDiscovery.h"
#include "design/reading/DirectoryBytes.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/reading/ReadQzB.h"
#include "forms/stylesheets/StyleSheets.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

using platform::FourCC;
using platform::ReadBES16;

int16_t LoadDirectory(uint32_t type, int16_t id, std::vector<uint8_t>* out)
{
    out->clear();
    platform::Handle h = xget1res(type, id);
    if (!h) return reserr == platform::memFullErr ? platform::memFullErr : kNoDirectory;
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    out->assign(p, p + platform::GetHandleSize(h));
    // The store reloads it when asked again; the directory is not kept.
    if (detachres(h)) platform::DisposeHandle(h);
    return 0;
}

namespace {

bool Cancelled() { return G_WaitParam && ChkWait(G_WaitParam); }

// After each object: a cancel turns a zero result into 1001.
int16_t AfterObject(int16_t result) { return result == 0 && Cancelled() ? kCancelledByUser : result; }

int16_t ReadTables(TMainDoc* doc, platform::Handle param)
{
    if (!param) return kResourceMissing;
    const int32_t paramSize = platform::GetHandleSize(param);
    if (paramSize < 2) return kResourceMissing;
    std::vector<uint8_t> prqz(reinterpret_cast<const uint8_t*>(*param), reinterpret_cast<const uint8_t*>(*param) + paramSize);
    const int16_t count = ReadBES16(&prqz[0]);
    if (count < 0 || count > 255 || !Fits(paramSize, 78, count, 14)) return kResourceMissing;
    std::vector<uint8_t> names;
    if (const int16_t e = LoadDirectory(FourCC("WNQz"), 0, &names)) return e == kNoDirectory ? 0 : e;
    if (!Fits(int64_t(names.size()), 0, count, 32)) return kResourceMissing;
    int16_t result = 0;
    for (int32_t i = 1; i <= count && result == 0; ++i) {
        unsigned char name[32];
        FixedName(&names[size_t(32 * (i - 1))], 32, name);
        TObjQz* table = NewCritObj(doc, 1, name, ReadBES16(&prqz[size_t(64 + 14 * i)]));
        if (!table) return platform::memFullErr;
        int16_t number = i;
        result = AfterObject(table->Read(&number));
    }
    return result;
}

int16_t ReadProjectMethods(TMainDoc* doc)
{
    std::vector<uint8_t> dir;
    if (const int16_t e = LoadDirectory(FourCC("TPQz"), 0, &dir)) return e == kNoDirectory ? 0 : e;
    int16_t result = 0;
    for (size_t at = 0; at + 44 <= dir.size() && result == 0; at += 44) {
        unsigned char name[32];
        FixedName(&dir[at], 32, name);
        TObjQz* method = NewObj_Id(doc, 2, name, ReadBES16(&dir[at + 32]), false);
        if (!method) return platform::memFullErr;
        result = AfterObject(method->Read(&dir[at]));
    }
    return result;
}

int16_t ReadDBMethods(TMainDoc* doc)
{
    std::vector<uint8_t> dir;
    if (const int16_t e = LoadDirectory(FourCC("DBPR"), 0, &dir)) return e == kNoDirectory ? 0 : e;
    int16_t result = 0;
    for (size_t k = 0; 2 * k + 2 <= dir.size() && result == 0; ++k) {
        const int16_t id = ReadBES16(&dir[2 * k]);
        if (id == 0 || id == -1) continue;
        unsigned char name[256];
        MyGetIndString(name, 1025, int16_t(k + 1));
        TObjQz* method = NewObj_Id(doc, 16, name, id, false);
        if (!method) return platform::memFullErr;
        result = AfterObject(method->Read(nullptr));
    }
    return result;
}

int16_t ReadChoiceLists(TMainDoc* doc)
{
    if (const int16_t err = convertEnumsToLists(doc)) return err;
    useres(doc->fResFile);
    std::vector<uint8_t> dir;
    if (const int16_t e = LoadDirectory(FourCC("LEQz"), 0, &dir)) return e == kNoDirectory ? 0 : e;
    const int16_t count = dir.size() >= 2 ? ReadBES16(&dir[0]) : 0;
    if (!Fits(int64_t(dir.size()), 6, count, 34)) return kResourceMissing;
    for (int32_t i = 1; i <= count; ++i) {
        const uint8_t* e = &dir[size_t(6 + 34 * (i - 1))];
        unsigned char name[32];
        FixedName(e, 32, name);
        // An unnamed list cannot be shown or named by a field.
        if (name[0] == 0) continue;
        TObjQz* list = NewObj_Id(doc, 4, name, ReadBES16(e + 32), false);
        if (!list) return platform::memFullErr;
        static_cast<TListObjQz*>(list)->listIndex = i;
    }
    return AfterObject(0);
}

int16_t ReadMenuBars(TMainDoc* doc)
{
    std::vector<uint8_t> dir;
    if (const int16_t e = LoadDirectory(FourCC("LIBA"), 0, &dir)) return e == kNoDirectory ? 0 : e;
    const int16_t count = dir.size() >= 2 ? ReadBES16(&dir[0]) : 0;
    if (!Fits(int64_t(dir.size()), 2, count, 2)) return kResourceMissing;
    int16_t result = 0;
    for (int32_t slot = 1; slot <= count && result == 0; ++slot) {
        const int16_t id = ReadBES16(&dir[size_t(2 * slot)]);
        if (id == -1) continue;
        unsigned char name[256];
        GetMBarName(slot, id, name);
        TObjQz* bar = NewObj_Id(doc, 5, name, id, false);
        if (!bar) return platform::memFullErr;
        int16_t number = slot;
        result = AfterObject(bar->Read(&number));
    }
    return result;
}

int16_t ReadMenus(TMainDoc* doc)
{
    const int16_t count = compteres(FourCC("MENQ"), true);
    ObjListHdl menus = GetObjListe(doc->fTypeList, 6);
    // The ids the menu list holds, as it grows: a menu already made (by a
    // menu bar read before) is not made twice.
    std::unordered_set<int16_t> listed;
    try {
        for (int32_t i = 0; menus && i < menus->Size(); ++i) listed.insert(menus->At(i)->id);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    for (int32_t i = 1; i <= count; ++i) {
        platform::Handle h = xgetindres(FourCC("MENQ"), i, true);
        if (!h && reserr == platform::memFullErr) return platform::memFullErr;
        if (!h) continue;
        int16_t id = 0;
        uint32_t type = 0;
        xgetresinfo(h, &id, &type);
        const int32_t size = platform::GetHandleSize(h);
        const auto* p = reinterpret_cast<const uint8_t*>(*h);
        if (size < 3 || 3 + p[2] > size) {
            unloadres(FourCC("MENQ"), id);
            return kResourceMissing;
        }
        unsigned char title[17];
        FixedName(p + 2, 16, title);
        unloadres(FourCC("MENQ"), id);
        if (listed.count(id)) continue;
        if (!NewObj_Id(doc, 6, title, id, false)) return platform::memFullErr;
        try {
            listed.insert(id);
        } catch (const std::bad_alloc&) {
            return platform::memFullErr;
        }
    }
    return AfterObject(0);
}

int16_t ReadBalloons(TMainDoc* doc)
{
    std::vector<uint8_t> dir;
    if (const int16_t e = LoadDirectory(FourCC("LiHe"), 0, &dir)) return e == kNoDirectory ? 0 : e;
    int16_t index = 0;
    for (size_t at = 0; at + 18 <= dir.size(); at += 18) {
        unsigned char name[17];
        FixedName(&dir[at], 16, name);
        TObjQz* balloon = NewObj_Id(doc, 10, name, ReadBES16(&dir[at + 16]), false);
        if (!balloon) return platform::memFullErr;
        static_cast<TFieldBalloonObjQz*>(balloon)->balloonIndex = ++index;
    }
    return AfterObject(0);
}

// The companion's resources of one type, by id and name, without loading.
struct CompanionRes {
    int16_t id;
    unsigned char name[256];
};

// `err` gets -108 when one of them cannot be looked up for memory.
std::vector<CompanionRes> CompanionResources(TMainDoc* doc, uint32_t type, int16_t* err)
{
    *err = 0;
    std::vector<CompanionRes> out;
    if (doc->fRsrFile < 0 || !platform::IsResFileOpen(doc->fRsrFile)) return out;
    const int16_t saved = platform::CurResFile();
    platform::UseResFile(doc->fRsrFile);
    platform::SetResLoad(false);
    const int16_t n = platform::Count1Resources(type);
    for (int32_t i = 1; i <= n; ++i) {
        platform::Handle h = platform::Get1IndResource(type, i);
        if (!h && platform::ResError() == platform::memFullErr) {
            *err = platform::memFullErr;
            break;
        }
        if (!h) continue;
        CompanionRes r{};
        uint32_t t = 0;
        platform::GetResInfo(h, &r.id, &t, r.name);
        out.push_back(r);
    }
    platform::SetResLoad(true);
    platform::UseResFile(saved);
    return out;
}

int16_t ReadStringLists(TMainDoc* doc)
{
    int16_t err = 0;
    const std::vector<CompanionRes> lists = CompanionResources(doc, FourCC("STR#"), &err);
    if (err) return err;
    for (const CompanionRes& r : lists) {
        unsigned char name[256];
        std::memcpy(name, r.name, size_t(r.name[0]) + 1);
        if (name[0] == 0) {
            MyGetIndString(name, 1001, 11);
            PAppendChar(name, ' ');
            PAppend(name, std::to_string(r.id));
        }
        if (!NewObj_Id(doc, 11, name, r.id, false)) return platform::memFullErr;
    }
    return AfterObject(0);
}

int16_t ReadStyles(TMainDoc* doc)
{
    std::vector<uint8_t> dir;
    if (const int16_t e = LoadDirectory(FourCC("STQz"), 0, &dir)) return e == kNoDirectory ? 0 : e;
    const int16_t count = dir.size() >= 2 ? ReadBES16(&dir[0]) : 0;
    if (!Fits(int64_t(dir.size()), 2, count, 114)) return kResourceMissing;
    int16_t result = 0;
    for (int32_t i = 1; i <= count && result == 0; ++i) {
        uint8_t* e = &dir[size_t(2 + 114 * (i - 1))];
        unsigned char name[32];
        FixedName(e, 32, name);
        TObjQz* style = NewObj_Id(doc, 12, name, i, false);
        if (!style) return platform::memFullErr;
        result = AfterObject(style->Read(e + 32));
    }
    return result;
}

int16_t ReadPictures(TMainDoc* doc)
{
    std::vector<uint8_t> dir;
    if (const int16_t e = LoadDirectory(FourCC("PIC#"), 128, &dir)) return e == kNoDirectory ? 0 : e;
    const int16_t count = dir.size() >= 2 ? ReadBES16(&dir[0]) : 0;
    if (!Fits(int64_t(dir.size()), 2, count, 34)) return kResourceMissing;
    for (int16_t i = 0; i < count; ++i) {
        const uint8_t* e = &dir[size_t(2 + 34 * i)];
        unsigned char name[32];
        FixedName(e, 32, name);
        if (!NewObj_Id(doc, 18, name, ReadBES16(e + 32), false)) return platform::memFullErr;
    }
    return AfterObject(0);
}

int16_t ReadStyleSheets(TMainDoc* doc)
{
    std::vector<uint8_t> dir;
    int16_t found = LoadDirectory(FourCC("Stlx"), 128, &dir);
    if (found == kNoDirectory) found = LoadDirectory(FourCC("Styl"), 128, &dir);
    if (found) return found == kNoDirectory ? 0 : found;
    platform::Handle raw = nullptr;
    if (platform::PtrToHand(dir.data(), &raw, platform::Size(dir.size())) != 0) return platform::memFullErr;
    platform::Handle table = ConvertStyleSheet(raw);
    if (!table) {
        platform::DisposeHandle(raw);
        return kResourceMissing;
    }
    const int32_t size = platform::GetHandleSize(table);
    const auto* p = reinterpret_cast<const uint8_t*>(*table);
    const int16_t count = size >= 2 ? ReadBES16(p) : 0;
    int16_t result = Fits(size, 4, count, 376) ? 0 : kResourceMissing;
    for (int16_t i = 0; i < count && result == 0; ++i) {
        const uint8_t* e = p + 4 + 376 * i;
        unsigned char name[32];
        FixedName(e, 32, name);
        if (!NewObj_Id(doc, 19, name, ReadBES16(e + 32), false)) result = platform::memFullErr;
    }
    if (table != raw) platform::DisposeHandle(table);
    platform::DisposeHandle(raw);
    return result ? result : AfterObject(0);
}

bool KeptOutOfResources(uint32_t type)
{
    for (uint32_t t : {FourCC("QzQz"), FourCC("#GRP"), FourCC("#GMO"), FourCC("#MOD"), FourCC("moQz"), FourCC("INQz")})
        if (t == type) return true;
    return false;
}

int16_t ReadResources(TMainDoc* doc)
{
    if (doc->fRsrFile < 0 || !platform::IsResFileOpen(doc->fRsrFile)) return 0;
    std::vector<uint32_t> types;
    {
        const int16_t saved = platform::CurResFile();
        platform::UseResFile(doc->fRsrFile);
        const int16_t n = platform::Count1Types();
        for (int32_t i = 1; i <= n; ++i) {
            uint32_t type = 0;
            platform::Get1IndType(&type, i);
            if (!KeptOutOfResources(type)) types.push_back(type);
        }
        platform::UseResFile(saved);
    }
    // The resource objects by id, as the list grows. A resource object is
    // named by its type, so that each type makes one run of same-named
    // objects: looking a new id up in the run each time grew with the
    // square of the resources of a type. A new object whose id no
    // same-named object has goes where its name goes at once.
    ObjListHdl* list = &doc->fTypeList->lists[20 - 1];
    if (!GetObjListe(doc->fTypeList, 20)) return platform::memFullErr;
    std::unordered_multimap<int16_t, TObjQz*> byId;
    try {
        for (int32_t i = 0; i < (*list)->Size(); ++i) byId.emplace((*list)->At(i)->id, (*list)->At(i));
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    auto taken = [&](const unsigned char* name, int16_t id) {
        const auto same = byId.equal_range(id);
        for (auto it = same.first; it != same.second; ++it)
            if (ObjNamed(it->second, name)) return true;
        return false;
    };
    int16_t result = 0;
    for (uint32_t type : types) {
        int16_t err = 0;
        const std::vector<CompanionRes> held = CompanionResources(doc, type, &err);
        if (err) return err;
        const unsigned char name[5] = {4, uint8_t(type >> 24), uint8_t(type >> 16), uint8_t(type >> 8), uint8_t(type)};
        for (const CompanionRes& r : held) {
            TObjQz* obj = taken(name, r.id) ? NewResourceObj(doc, type, r.id)
                                            : NewListObj_NewId(doc, list, 20, name, r.id);
            if (!obj) return platform::memFullErr;
            try {
                byId.emplace(r.id, obj);
            } catch (const std::bad_alloc&) {
                return platform::memFullErr;
            }
            uint8_t record[4];
            platform::WriteBE32(record, type);
            if ((result = AfterObject(obj->Read(record))) != 0) return result;
        }
    }
    return result;
}

}  // namespace

int16_t ReadObj(TMainDoc* doc, platform::Handle param, int16_t kind, ObjListHdl* list, uint8_t allowGenerated)
{
    (void)list;  // each kind's objects go to the document's own list
    if (!doc || !doc->fTypeList) return platform::paramErr;
    useres(doc->fResFile);
    switch (kind) {
    case 1: return ReadTables(doc, param);
    case 2: return ReadProjectMethods(doc);
    case 4: return ReadChoiceLists(doc);
    case 5: return ReadMenuBars(doc);
    case 6: return ReadMenus(doc);
    // Plug-in discovery finds the packages and routines; none is read
    // from a generated component library.
    case 7: return allowGenerated ? 0 : ReadPlugInPackages(doc);
    case 8: return allowGenerated ? 0 : ReadPlugInRoutines(doc);
    case 10: return ReadBalloons(doc);
    case 11: return ReadStringLists(doc);
    case 12: return ReadStyles(doc);
    case 16: return ReadDBMethods(doc);
    case 18: return ReadPictures(doc);
    case 19: return ReadStyleSheets(doc);
    case 20: return ReadResources(doc);
    default: return 0;
    }
}

int16_t ListCompanionResources(TMainDoc* doc, const std::vector<std::pair<uint32_t, int16_t>>& changed,
                               std::vector<TObjQz*>* gone)
{
    gone->clear();
    if (!doc || !doc->fTypeList || doc->fRsrFile < 0 || !platform::IsResFileOpen(doc->fRsrFile)) return 0;
    const int16_t saved = platform::CurResFile();
    int16_t result = 0;
    for (size_t i = 0; i < changed.size() && result == 0; ++i) {
        const auto [type, id] = changed[i];
        if (KeptOutOfResources(type)) continue;
        platform::UseResFile(doc->fRsrFile);
        platform::SetResLoad(false);
        const bool held = platform::Get1Resource(type, id) != nullptr;
        platform::SetResLoad(true);
        platform::UseResFile(saved);
        if (!held) {
            if (TObjQz* obj = SearchResource(doc, type, id)) gone->push_back(obj);
            continue;
        }
        // Made, or found, as a read makes it.
        TObjQz* obj = NewResourceObj(doc, type, id);
        if (!obj) return platform::memFullErr;
        uint8_t record[4];
        platform::WriteBE32(record, type);
        result = AfterObject(obj->Read(record));
    }
    return result;
}

void GetMBarName(int16_t slot, int16_t id, unsigned char* name)
{
    name[0] = 0;
    if (!xgetresname(FourCC("BAQz"), id, name, false)) name[0] = 0;
    if (name[0] > 31) name[0] = 31;
    if (name[0] != 0) return;
    MyGetIndString(name, 1013, 8);
    std::string number = std::to_string(slot);
    while (number.size() < 3) number.insert(number.begin(), ' ');
    PAppend(name, number);
}
