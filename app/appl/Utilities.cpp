#include "app/appl/Utilities.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "kernel/pstrings/PStrings.h"
#include "platform/core/FourCC.h"
#include "platform/files/DirectoryIds.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"
#include "platform/files/Forks.h"
#include "platform/files/TextFiles.h"
#include "platform/gestalt/Gestalt.h"
#include "platform/screen/Screen.h"
#include "platform/text/IntlSettings.h"
#include "platform/text/RomanCase.h"

using namespace platform;

Rect MyScreenRect() { return ScreenBounds(); }
Point GetScreenTopLeft() { return Point{0, 0}; }

void DialogCenter(Rect* r)
{
    const Rect screen = MyScreenRect();
    const int16_t width = int16_t(r->right - r->left), height = int16_t(r->bottom - r->top);
    r->left = int16_t((screen.right - screen.left - width) / 2);
    r->top = int16_t((screen.bottom - screen.top - height) / 2);
    const int16_t minTop = MenuBarHeight() + 10;
    if (r->top < minTop) r->top = minTop;
    r->right = int16_t(r->left + width);
    r->bottom = int16_t(r->top + height);
}

int RelStringIgnoringMarks(const unsigned char* a, const unsigned char* b)
{
    const size_t n = std::min(a[0], b[0]);
    for (size_t i = 1; i <= n; ++i) {
        const uint8_t x = RomanUppercase(RomanStripDiacritics(a[i]));
        const uint8_t y = RomanUppercase(RomanStripDiacritics(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return int(a[0]) - int(b[0]);
}

void SortStringRes(unsigned char (*strings)[256], int16_t* ids, int16_t count)
{
    // Neighbours swap only when strictly out of order: equal ones stay.
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int16_t i = 0; i + 1 < count; ++i) {
            if (RelStringIgnoringMarks(strings[i], strings[i + 1]) <= 0) continue;
            unsigned char tmp[256];
            std::memcpy(tmp, strings[i], 256);
            std::memcpy(strings[i], strings[i + 1], 256);
            std::memcpy(strings[i + 1], tmp, 256);
            if (ids) std::swap(ids[i], ids[i + 1]);
            swapped = true;
        }
    }
}

void SortString(unsigned char (*strings)[256], int16_t count) { SortStringRes(strings, nullptr, count); }

void SortStrings(std::vector<std::string>* strings)
{
    auto key = [](const std::string& s) {
        std::string k = s.substr(0, 255);
        for (char& c : k) c = char(RomanUppercase(RomanStripDiacritics(uint8_t(c))));
        return k;
    };
    std::stable_sort(strings->begin(), strings->end(),
                     [&](const std::string& a, const std::string& b) { return key(a) < key(b); });
}

void TxtNumToString(int32_t number, unsigned char* text)
{
    const std::string digits = std::to_string(number < 0 ? -int64_t(number) : int64_t(number));
    const char separator = char(GetIntlSettings().thousandsSeparator);
    std::string out = number < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    CToPStr(out.data(), int32_t(out.size()), text);
}

void ConcatNumDoc(const unsigned char* name, int32_t number, unsigned char* text)
{
    std::string out(reinterpret_cast<const char*>(name + 1), name[0]);
    out += "_" + std::to_string(number);
    CToPStr(out.data(), int32_t(std::min<size_t>(out.size(), 255)), text);
}

void ShortenPathName(const std::string& colonPath, unsigned char* path)
{
    std::string out = colonPath;
    if (out.size() > 64) {
        // The walk up ends at the volume: its name is the last one read.
        out = out.substr(0, out.find(':')) + ":...:";
    }
    CToPStr(out.data(), int32_t(std::min<size_t>(out.size(), 255)), path);
}

int16_t GetPathName(unsigned char* path, int16_t vRefNum, int32_t dirID)
{
    path[0] = 0;
    FSSpec folder;
    std::string colon;
    if (FSMakeFSSpecFromDirID(vRefNum, dirID, "", &folder) != noErr) return 0;
    if (FSpGetMacColonPath(folder, &colon) != noErr) return 0;
    if (!colon.empty() && colon.back() != ':') colon += ':';
    ShortenPathName(colon, path);
    return 0;
}

namespace {

constexpr size_t kGatherBlock = 64 * 1024;

struct Gathering {
    int16_t refNum = 0;
    std::string bytes;
    OSErr err = noErr;
};
Gathering* gGathering = nullptr;

OSErr WriteGathered(Gathering* g)
{
    if (g->err != noErr || g->bytes.empty()) return g->err;
    int64_t n = int64_t(g->bytes.size());
    g->err = FSWrite(g->refNum, &n, g->bytes.data());
    if (g->err == noErr && n != int64_t(g->bytes.size())) g->err = ioErr;
    g->bytes.clear();
    return g->err;
}

}  // namespace

GatheredWrites::GatheredWrites(int16_t refNum)
{
    gGathering = new (std::nothrow) Gathering;
    if (gGathering) gGathering->refNum = refNum;
}

GatheredWrites::~GatheredWrites()
{
    delete gGathering;
    gGathering = nullptr;
}

OSErr GatheredWrites::Flush() { return gGathering ? WriteGathered(gGathering) : noErr; }

OSErr GatheredWrites::WriteFailure() const { return gGathering ? gGathering->err : noErr; }

OSErr MyFSWrite(int16_t refNum, int32_t* count, const void* buffer)
{
    if (Gathering* g = gGathering; g && g->refNum == refNum && *count >= 0) {
        if (g->err != noErr) return g->err;
        try {
            g->bytes += TextFileLines(buffer, size_t(*count));
        } catch (const std::bad_alloc&) {
            return memFullErr;
        }
        return g->bytes.size() >= kGatherBlock ? WriteGathered(g) : noErr;
    }
    int64_t n = *count;
    const OSErr err = FSWriteText(refNum, &n, buffer);
    *count = int32_t(n);
    return err;
}

OSErr WriteTAB(int16_t refNum)
{
    int32_t n = 1;
    const char tab = 9;
    return MyFSWrite(refNum, &n, &tab);
}

OSErr WriteEOL(int16_t refNum)
{
    int32_t n = 1;
    const char cr = 13;
    return MyFSWrite(refNum, &n, &cr);
}

void pbitset(uint32_t* word, int32_t bit)
{
    const int32_t b = ((bit % 64) + 64) % 64;
    if (b < 32) *word |= uint32_t(1) << b;
}

bool Is_SystemX()
{
    int32_t version = 0;
    return Gestalt(FourCC("sysv"), &version) == noErr && version >= 0x0A00;
}

int16_t machineType()
{
    if (Is_SystemX()) return 1206;
    int32_t machine = 0;
    Gestalt(FourCC("mach"), &machine);
    return int16_t(machine);
}
