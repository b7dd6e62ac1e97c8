#include "app/appl/Preferences.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Utilities.h"
#include "kernel/pstrings/PStrings.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/SpecialFolders.h"
#include "platform/files/TemporaryFile.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/Utf8.h"

using namespace platform;

FSSpec gPrefFileSpec;
int16_t G_PrefResFile = -1;
Handle G_Special = nullptr;
uint8_t g_styles[14];
RGBColor g_colors[14];

namespace {

Handle gxPRM = nullptr;

constexpr ResType kFLT2 = FourCC("FLT2");
constexpr ResType kFLTR = FourCC("FLTR");

// Runs `body` with the preferences file current, the previous one restored.
template <class Body>
auto WithPrefs(Body body)
{
    const int16_t saved = CurResFile();
    if (G_PrefResFile != -1) UseResFile(G_PrefResFile);
    auto result = body(G_PrefResFile != -1 && CurResFile() == G_PrefResFile);
    UseResFile(saved);
    return result;
}

// The application's resource, read from its own file only.
Handle AppResource(ResType type, int16_t id)
{
    const int16_t saved = CurResFile();
    Handle h = nullptr;
    if (G_MainResFile > 0) {
        UseResFile(G_MainResFile);
        h = Get1Resource(type, id);
    }
    UseResFile(saved);
    return h;
}

// Adds a copy of `source` to the current file; false when it cannot.
bool AddCopy(Handle source, ResType type, int16_t id, ConstStr255Param name)
{
    if (!source || !*source) return false;
    Handle copy = source;
    if (HandToHand(&copy) != noErr) return false;
    AddResource(copy, type, id, name);
    if (ResError() != noErr) {
        DisposeHandle(copy);
        return false;
    }
    WriteResource(copy);
    return true;
}

// Copies the application's resource of that type and id when the
// preferences file lacks it.
void CopyDefault(ResType type, int16_t id)
{
    Handle source = AppResource(type, id);
    if (!source) return;
    Str255 name;
    int16_t rid = 0;
    ResType rtype = 0;
    GetResInfo(source, &rid, &rtype, name);
    if (AddCopy(source, type, id, name)) UpdateResFile(G_PrefResFile);
}

}  // namespace

void GetPrefResFile()
{
    gPrefFileSpec = FSSpec();
    FSSpec folder;
    if (FindSpecialFolder(SpecialFolder::Preferences, true, &folder) != noErr) return;
    Str255 name;
    MyGetIndString(name, 1000, 6);
    if (name[0] == 0) return;
    FSMakeFSSpec(folder, MacRomanToUtf8String(name + 1, name[0]), &gPrefFileSpec);
    // A link to a file not made yet: the file is made where the link
    // leads, when that folder is there, and the link then finds it.
    FSSpec destination;
    bool isFolder = false;
    if (FSpLinkDestination(gPrefFileSpec, &destination) == noErr && destination.path != gPrefFileSpec.path &&
        !FSpExists(destination) && FSpExists(FSpGetParent(destination), &isFolder) && isFolder)
        gPrefFileSpec = destination;
}

namespace {

// What the start-up tells about the preferences file (Mac Roman); empty
// when the file was found sound and writable, or made anew.
std::string gNotice;

// 'STR#' 1002: the texts before and after the path of each notice.
constexpr int16_t kSetAsideText = 85, kReadOnlyText = 87, kNotKeptText = 89;

void Notice(int16_t text, const std::string& path)
{
    Str255 before, after;
    MyGetIndString(before, 1002, text);
    MyGetIndString(after, 1002, int16_t(text + 1));
    gNotice = std::string(reinterpret_cast<const char*>(before + 1), before[0]) + Utf8ToMacRomanString(path) +
              std::string(reinterpret_cast<const char*>(after + 1), after[0]);
}

// Whether the folder takes a new file beside the preferences file, as
// every save of it writes its replacement there: a file that opens for
// writing in a folder nobody may write into could never be saved.
bool FolderTakesReplacement()
{
    TemporaryFile probe;
    return probe.Create(gPrefFileSpec.path, 0600) == noErr;
}

// The file opened for writing, made when missing or empty; -1 when it
// cannot be, or could not be saved.
int16_t OpenOrMake(bool* made)
{
    int16_t ref = FSpOpenResFile(gPrefFileSpec, fsRdWrShPerm, ResFileFork::Data);
    if (ref != -1) {
        if (FolderTakesReplacement()) return ref;
        CloseResFile(ref);
        return -1;
    }
    // A new file keeps the user's own permissions: settings are nobody
    // else's to change. Refused when the file holds anything.
    FSpCreateResFile(gPrefFileSpec, FourCC("QzA6"), FourCC("pref"), 0, ResFileFork::Data);
    if (ResError() != noErr) return -1;
    ref = FSpOpenResFile(gPrefFileSpec, fsRdWrShPerm, ResFileFork::Data);
    *made = ref != -1;
    return ref;
}

// Renames whatever holds the file's name to a free name beside it.
OSErr SetAside(std::string* aside)
{
    const std::string name = FSpGetName(gPrefFileSpec);
    for (int n = 1; n <= 100; ++n) {
        const std::string candidate = name + (n == 1 ? " (damaged)" : " (damaged " + std::to_string(n) + ")");
        const OSErr err = FSpRename(gPrefFileSpec, candidate);
        if (err == dupFNErr) continue;
        if (err == noErr) *aside = FSpGetParent(gPrefFileSpec).path + "/" + candidate;
        return err;
    }
    return dupFNErr;
}

// A file that could not be opened for writing: one that reads is used as
// it is, in memory; one that does not is set aside and a new one made.
// -1 when neither works.
int16_t Recover(bool* made)
{
    std::vector<uint8_t> bytes;
    const OSErr read = ReadWholeFile(gPrefFileSpec.path, &bytes);
    // Nothing there and none can be made: no file can be kept here. A link
    // into a folder that is not there is set aside as a file that does not
    // read is.
    bool link = false;
    const bool nothing = (read == fnfErr || read == dirNFErr) && !(FSpIsLink(gPrefFileSpec, &link) == noErr && link);
    if (read == memFullErr || nothing) return -1;
    ResourceFileImage image;
    if (read == noErr && !bytes.empty() && ParseResourceFile(bytes.data(), bytes.size(), &image) == noErr) {
        const int16_t ref = OpenResFileInMemory(image);
        if (ref != -1) Notice(kReadOnlyText, gPrefFileSpec.path);
        return ref;
    }
    std::string aside;
    if (SetAside(&aside) != noErr) return -1;
    const int16_t ref = OpenOrMake(made);
    if (ref != -1) Notice(kSetAsideText, aside);
    return ref;
}

// 'PREF' 0 changed here and by another program sharing the file: each
// field (the three sizes and layout words, each switch, the last byte)
// as changed here, else as the other left it.
bool MergePrefFields(const std::vector<uint8_t>& base, const std::vector<uint8_t>& ours,
                     const std::vector<uint8_t>& theirs, std::vector<uint8_t>* merged)
{
    constexpr size_t kPrefSize = 8;
    if (base.size() != kPrefSize || ours.size() != kPrefSize || theirs.size() != kPrefSize) return false;
    *merged = theirs;
    for (const size_t field : {0, 2, 4})
        if (ours[field] != base[field] || ours[field + 1] != base[field + 1]) {
            (*merged)[field] = ours[field];
            (*merged)[field + 1] = ours[field + 1];
        }
    const uint8_t switched = uint8_t(ours[6] ^ base[6]);
    (*merged)[6] = uint8_t((theirs[6] & ~switched) | (ours[6] & switched));
    if (ours[7] != base[7]) (*merged)[7] = ours[7];
    return true;
}

// The preferences folder's path, made or not.
std::string PrefFolderPath()
{
    FSSpec folder;
    FindSpecialFolder(SpecialFolder::Preferences, false, &folder);
    return folder.path;
}

}  // namespace

void OpenPrefResFile()
{
    gNotice.clear();
    GetPrefResFile();
    // Other programs may share the file: each writes back what it changed.
    SetResourceMerge(FourCC("PREF"), MergePrefFields);
    const int16_t saved = CurResFile();
    bool made = false;
    if (!gPrefFileSpec.path.empty()) {
        G_PrefResFile = OpenOrMake(&made);
        if (G_PrefResFile == -1) G_PrefResFile = Recover(&made);
    }
    if (G_PrefResFile == -1) {
        // Settings are still needed: the defaults, in memory.
        G_PrefResFile = OpenResFileInMemory(ResourceFileImage{});
        made = G_PrefResFile != -1;
        if (made) Notice(kNotKeptText, PrefFolderPath());
    }
    UseResFile(saved);
    if (G_PrefResFile == -1) return;
    // A file found here keeps its version until the upgrade has read it
    // (the start-up stamps it after): stamping it now would pass an old
    // file off as current and leave its filters unconverted.
    if (made) SetPrefVERS();
    if (ResError() == noErr) SetDfltPrefs();
}

const std::string& PrefFileNotice() { return gNotice; }

void TellPrefFileNotice()
{
    if (gNotice.empty()) return;
    Str255 text;
    CToPStr(gNotice.data(), int32_t(std::min<size_t>(gNotice.size(), 255)), text);
    gNotice.clear();
    XAlert(1000, text, kCautionAlert);
}

void ClosePrefResFile()
{
    if (G_PrefResFile == -1) return;
    UpdateResFile(G_PrefResFile);
    CloseResFile(G_PrefResFile);
    G_PrefResFile = -1;
    G_Special = nullptr;
}

void SetPrefVERS()
{
    Handle vers = AppResource(FourCC("vers"), 1);
    if (!vers) return;
    WithPrefs([&](bool ok) {
        if (!ok) return 0;
        if (Handle old = Get1Resource(FourCC("vers"), 1)) {
            RemoveResource(old);
            DisposeHandle(old);
        }
        CopyDefault(FourCC("vers"), 1);
        return 0;
    });
}

void SetDfltPrefs()
{
    Build_xPRM();
    WithPrefs([](bool ok) {
        if (!ok) return 0;
        if (Count1Resources(kFLTR) == 0 && Count1Resources(kFLT2) == 0) {
            // Every filter of the application, same id and name.
            const int16_t saved = CurResFile();
            UseResFile(G_MainResFile);
            const int16_t count = Count1Resources(kFLT2);
            std::vector<int16_t> ids;
            for (int32_t i = 1; i <= count; ++i) {
                Handle h = Get1IndResource(kFLT2, i);
                if (!h) continue;
                int16_t id = 0;
                ResType type = 0;
                Str255 name;
                GetResInfo(h, &id, &type, name);
                ids.push_back(id);
            }
            UseResFile(saved);
            for (int16_t id : ids) CopyDefault(kFLT2, id);
            SetPrefVERS();
            SortFilters(G_PrefResFile, kFLT2);
            UpdateResFile(G_PrefResFile);
        }
        if (!Get1Resource(FourCC("Oblk"), 0)) CopyDefault(FourCC("Oblk"), 0);
        if (!Get1Resource(FourCC("C_PR"), 0)) CopyDefault(FourCC("C_PR"), 0);
        return 0;
    });
    UpdateSpecialMenuResource();
}

void Build_xPRM()
{
    if (gxPRM) DisposeHandle(gxPRM);
    gxPRM = nullptr;
    const int16_t saved = CurResFile();
    if (G_MainResFile > 0) UseResFile(G_MainResFile);
    std::vector<int16_t> ids;
    const int16_t count = G_MainResFile > 0 ? Count1Resources(FourCC("APRM")) : 0;
    SetResLoad(false);
    for (int32_t i = 1; i <= count; ++i) {
        Handle h = Get1IndResource(FourCC("APRM"), i);
        if (!h) continue;
        int16_t id = 0;
        ResType type = 0;
        Str255 name;
        GetResInfo(h, &id, &type, name);
        if (id >= 0) ids.push_back(id);
    }
    SetResLoad(true);
    Handle stored = G_MainResFile > 0 ? Get1Resource(FourCC("xPRM"), 0) : nullptr;
    UseResFile(saved);
    Size size = stored ? GetHandleSize(stored) : 0;
    for (int16_t id : ids) size = std::max<Size>(size, id / 8 + 1);
    gxPRM = NewHandleClear(size);
    if (!gxPRM) return;
    if (stored && *stored) std::memcpy(*gxPRM, *stored, size_t(GetHandleSize(stored)));
    for (int16_t id : ids) (*gxPRM)[id / 8] = char(uint8_t((*gxPRM)[id / 8]) | (0x80 >> (id % 8)));
}

Handle GetxPRM() { return gxPRM; }

void SortFilters(int16_t refNum, ResType type)
{
    const int16_t saved = CurResFile();
    UseResFile(refNum);
    if (CurResFile() != refNum) return;
    const int16_t count = std::min<int16_t>(Count1Resources(type), 128);
    std::vector<int16_t> ids;
    std::vector<std::array<unsigned char, 256>> names;
    for (int32_t i = 1; i <= count; ++i) {
        Handle h = Get1IndResource(type, i);
        if (!h) continue;
        int16_t id = 0;
        ResType t = 0;
        std::array<unsigned char, 256> name{};
        GetResInfo(h, &id, &t, name.data());
        if (id == 128) continue;
        ids.push_back(id);
        names.push_back(name);
    }
    auto* strings = reinterpret_cast<unsigned char(*)[256]>(names.data());
    SortStringRes(strings, ids.data(), int16_t(ids.size()));
    // Every one leaves the file before any comes back, so that no new id
    // meets an old one still there.
    std::vector<Handle> data;
    for (int16_t id : ids) {
        Handle h = Get1Resource(type, id);
        if (h) RemoveResource(h);
        data.push_back(h);
    }
    for (size_t i = 0; i < ids.size(); ++i) {
        if (!data[i]) continue;
        AddResource(data[i], kFLT2, int16_t(129 + i), names[i].data());
        if (ResError() != noErr) {
            DisposeHandle(data[i]);
            continue;
        }
        ChangedResource(data[i]);
        WriteResource(data[i]);
    }
    UpdateResFile(refNum);
    UseResFile(saved);
}

Handle ConvertSpecialList(const uint8_t* spc, size_t size)
{
    if (size < size_t(kSpcHeaderSize)) return nullptr;
    // The count is the file's word: only the entries really there are taken.
    size_t n = ReadBE16(spc + 84);
    n = std::min(n, (size - kSpcHeaderSize) / kSpcEntrySize);
    Handle h = NewHandleClear(Size(n * kSp2EntrySize + 614));
    if (!h) return nullptr;
    uint8_t* out = reinterpret_cast<uint8_t*>(*h);
    std::memcpy(out + 76, spc + 74, 8);   // values A, B and C
    out[84] = spc[82];                    // added flag
    out[85] = spc[83];                    // byte E
    WriteBE16(out + 86, uint16_t(n));
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* e = spc + kSpcHeaderSize + i * kSpcEntrySize;
        uint8_t* d = out + kSp2HeaderSize + i * kSp2EntrySize;
        // Each string in its 64-byte field, cut to what the field holds.
        for (int s = 0; s < 2; ++s) {
            const size_t length = std::min<size_t>(e[64 * s], 63);
            d[256 * s] = uint8_t(length);
            std::memcpy(d + 256 * s + 1, e + 64 * s + 1, length);
        }
        std::memcpy(d + 512, e + 128, 14);  // folder, type, two bytes, value
    }
    return h;
}

void UpdateSpecialMenuResource()
{
    WithPrefs([](bool ok) {
        if (!ok) return 0;
        G_Special = Get1Resource(FourCC("SP2#"), 0);
        if (G_Special) return 0;
        Handle spc = Get1Resource(FourCC("SPC#"), 0);
        if (!spc || !*spc) return 0;
        Handle converted = ConvertSpecialList(reinterpret_cast<const uint8_t*>(*spc), size_t(GetHandleSize(spc)));
        if (!converted) return 0;
        const unsigned char empty[1] = {0};
        AddResource(converted, FourCC("SP2#"), 0, empty);
        if (ResError() != noErr) {
            DisposeHandle(converted);
            return 0;
        }
        SetResAttrs(converted, 32);
        ChangedResource(converted);
        WriteResource(converted);
        UpdateResFile(G_PrefResFile);
        G_Special = converted;
        return 0;
    });
}

bool GetPrefFlag(int16_t flag)
{
    if (flag < 0) return false;
    return WithPrefs([&](bool ok) {
        if (!ok) return false;
        // Through the chain: without its own, the application's default answers.
        Handle pref = GetResource(FourCC("PREF"), 0);
        const int32_t byte = 6 + flag / 8;
        if (!pref || !*pref || ResError() != noErr || GetHandleSize(pref) <= byte) return false;
        return (uint8_t((*pref)[byte]) & (0x80 >> (flag % 8))) != 0;
    });
}

Handle GetFilter(int16_t id)
{
    return WithPrefs([&](bool ok) { return ok ? Get1Resource(kFLT2, id) : Handle(nullptr); });
}

Handle GetIndFilter(int16_t n) { return GetFilter(int16_t(127 + n)); }

int16_t CountFilters()
{
    return WithPrefs([](bool ok) { return ok ? Count1Resources(kFLT2) : int16_t(0); });
}

int16_t CountOldFilters()
{
    return WithPrefs([](bool ok) { return ok ? Count1Resources(kFLTR) : int16_t(0); });
}

bool IsBlk_Pref()
{
    return WithPrefs([](bool ok) { return ok && Get1Resource(FourCC("Oblk"), 0) != nullptr; });
}

bool IsC_Pref()
{
    return WithPrefs([](bool ok) { return ok && Get1Resource(FourCC("C_PR"), 0) != nullptr; });
}

namespace {

// The '@FNT' 0 record of a category: (size, font); false when missing.
bool FontRecord(int16_t category, int16_t* size, int16_t* font)
{
    Handle h = AppResource(FourCC("@FNT"), 0);
    if (!h || !*h || category < 0 || GetHandleSize(h) < Size(4 * (category + 1))) return false;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(*h) + 4 * category;
    *size = int16_t(ReadBE16(p));
    *font = int16_t(ReadBE16(p + 2));
    return true;
}

}  // namespace

int16_t GetResSize(int16_t category)
{
    int16_t size = 9, font = 1;
    return FontRecord(category, &size, &font) ? size : 9;
}

int16_t GetResFont(int16_t category)
{
    int16_t size = 9, font = 1;
    return FontRecord(category, &size, &font) ? font : 1;
}

void MyGetTextStyle(int16_t category, AppTextStyle* style)
{
    if (category < 0 || category >= 14) return;
    style->face = g_styles[category];
    style->color = g_colors[category];
}

void SetDefaultTextStyles()
{
    static const uint8_t kStyles[14] = {0, 0, 0, 0, 2, 1, 1, 3, 0, 0, 0, 0, 0, 4};
    std::memcpy(g_styles, kStyles, sizeof g_styles);
    for (RGBColor& c : g_colors) c = RGBColor{0, 0, 0};
    g_colors[8].red = 4095;
}

void LoadTextStyle()
{
    Handle h = GetResource(FourCC("MeP#"), 1000);
    if (!h || !*h || GetHandleSize(h) < 57) return;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(*h);
    for (int i = 0; i < 14; ++i) {
        g_colors[i] = RGBColor{uint16_t(p[4 * i] << 8), uint16_t(p[4 * i + 1] << 8), uint16_t(p[4 * i + 2] << 8)};
        g_styles[i] = p[4 * i + 3];
    }
}

void InitFromQzPrefResFile()
{
    SetDefaultTextStyles();
    FSSpec folder;
    if (FindSpecialFolder(SpecialFolder::Preferences, false, &folder) != noErr) return;
    Str255 name;
    MyGetIndString(name, 1000, 8);
    if (name[0] == 0) return;
    FSSpec file;
    if (FSMakeFSSpec(folder, MacRomanToUtf8String(name + 1, name[0]), &file) != noErr) return;
    const int16_t saved = CurResFile();
    const int16_t ref = FSpOpenResFile(file, fsRdPerm, ResFileFork::Data);
    if (ref != -1) {
        LoadTextStyle();
        CloseResFile(ref);
    }
    UseResFile(saved);
}

void ResetPreferences()
{
    ClosePrefResFile();
    gPrefFileSpec = FSSpec();
    if (gxPRM) DisposeHandle(gxPRM);
    gxPRM = nullptr;
    SetDefaultTextStyles();
}
