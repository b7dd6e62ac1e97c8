// The font lists: visible families sorted by name with their ATS names and
// numbers, and the hidden families ("%" or "." names) apart.
#include <cstring>
#include <vector>

#include "platform/fonts/Fonts.h"
#include "toolbox/foundation/VString.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/foundation/system/VSystem.h"

namespace {

// The platform's families: the classic name, and the font file's family
// as the ATS name.
void PlatformFamilies(void (*visit)(const FontFamilyVisit& family, void* context), void* context)
{
    for (int32_t i = 0; i < platform::FontFamilyCount(); ++i) {
        const platform::FontFamilyEntry& f = platform::FontFamilyAt(i);
        unsigned char qd[256], ats[256];
        qd[0] = uint8_t(std::strlen(f.name));
        std::memcpy(qd + 1, f.name, qd[0]);
        const char* file = platform::FileFamilyName(f.file);
        ats[0] = uint8_t(std::strlen(file));
        std::memcpy(ats + 1, file, ats[0]);
        visit(FontFamilyVisit{qd, ats, f.number}, context);
    }
}

void PlatformFontName(int16_t number, unsigned char* name) { platform::GetFontName(number, name); }

FontFamilyLister gLister = PlatformFamilies;
FontNameProc gFontName = PlatformFontName;

constexpr int16_t kSystemFontSize = 12;

struct FamilyRow {
    VString* name;
    VString* ats;
    int16_t number;
};

struct Collected {
    std::vector<FamilyRow> visible;
    std::vector<int16_t> hidden;
};

VString* NewText(const unsigned char* p)
{
    auto* text = new VText;
    if (text && p) text->FromMacPString(p);
    return text;
}

}  // namespace

void SetFontFamilyLister(FontFamilyLister lister) { gLister = lister ? lister : PlatformFamilies; }
void SetFontNameProc(FontNameProc proc) { gFontName = proc ? proc : PlatformFontName; }

int16_t VSystem::MacGetSysFontSize() { return kSystemFontSize; }

namespace {

void Clear(VArrayValue& list) { list.SetCount(0, 1); }

// A row of one name and its number (and ATS name) in front of the others.
void PutFirst(VArrayString& names, VArrayWord& numbers, VArrayString* ats, VString* name, VString* atsName,
              int16_t number)
{
    names.Insert(1, 1, 1);
    names.FromVString(name, 1);
    numbers.Insert(1, 1, 1);
    numbers.FromWord(number, 1);
    if (ats) {
        ats->Insert(1, 1, 1);
        ats->FromVString(atsName, 1);
    }
}

// Sorts the names with the other lists following row for row, then drops
// rows whose name equals the one before it loosely.
void SortAndFold(VArrayString& names, VArrayWord& numbers, VArrayString* ats)
{
    numbers.SynchronizeWith(&names);
    if (ats) ats->SynchronizeWith(&names);
    names.Sort(0);
    numbers.SynchronizeWith(nullptr);
    if (ats) ats->SynchronizeWith(nullptr);
    for (int32_t r = 2; r <= names.GetCount();) {
        VString* a = names.GetVString(r - 1);
        VString* b = names.GetVString(r);
        const bool same = (!a || a->GetLength() == 0) ? (!b || b->GetLength() == 0) : (b && a->CompareTo(*b, 0) == 0);
        if (!same) {
            ++r;
            continue;
        }
        names.Delete(r, 1);
        numbers.Delete(r, 1);
        if (ats) ats->Delete(r, 1);
    }
}

}  // namespace

void VSystem::BuildFontList()
{
    Clear(fFontNames);
    Clear(fATSFontNames);
    Clear(fHiddenFontNames);
    Clear(fFontNumbers);
    Clear(fHiddenFontNumbers);
    if (!gLister) return;

    Collected found;
    gLister(
        [](const FontFamilyVisit& family, void* context) {
            auto* into = static_cast<Collected*>(context);
            const unsigned char* qd = family.quickDrawName;
            if (qd && qd[0] > 0 && (qd[1] == '%' || qd[1] == '.')) {
                into->hidden.push_back(family.number);
                return;
            }
            VString* name = NewText(qd);
            VString* ats = NewText(family.atsName);
            if (!name || !ats) {
                delete name;
                delete ats;
                return;
            }
            into->visible.push_back({name, ats, family.number});
        },
        &found);

    for (const FamilyRow& row : found.visible) PutFirst(fFontNames, fFontNumbers, &fATSFontNames, row.name, row.ats, row.number);
    // Hidden families keep no name.
    for (int16_t number : found.hidden) PutFirst(fHiddenFontNames, fHiddenFontNumbers, nullptr, nullptr, nullptr, number);
    SortAndFold(fFontNames, fFontNumbers, &fATSFontNames);
    SortAndFold(fHiddenFontNames, fHiddenFontNumbers, nullptr);
}

int16_t VSystem::MacGetFontNum(const VString& name) const
{
    for (int32_t r = 1; r <= fFontNames.GetCount(); ++r)
        if (const VString* row = fFontNames.GetVString(r); row && row->CompareTo(name, 1) == 0)
            return fFontNumbers.GetWord(r);
    for (int32_t r = 1; r <= fHiddenFontNames.GetCount(); ++r)
        if (const VString* row = fHiddenFontNames.GetVString(r); row && row->CompareTo(name, 1) == 0)
            return fHiddenFontNumbers.GetWord(r);
    // Hidden families keep no name in the lists: the platform knows them.
    unsigned char pascal[256] = {0};
    name.ToPString(pascal, 255, kCharSetMac);
    int16_t number = 0;
    platform::GetFNum(pascal, &number);
    return number;
}

void VSystem::MacGetFontName(int16_t number, VString& name) const
{
    name.Clear();
    for (int32_t r = 1; r <= fFontNumbers.GetCount(); ++r)
        if (fFontNumbers.GetWord(r) == number) {
            if (const VString* row = fFontNames.GetVString(r)) name.FromVString(*row);
            return;
        }
    for (int32_t r = 1; r <= fHiddenFontNumbers.GetCount(); ++r)
        if (fHiddenFontNumbers.GetWord(r) == number) {
            if (const VString* row = fHiddenFontNames.GetVString(r)) name.FromVString(*row);
            return;
        }
    if (gFontName) {
        unsigned char text[256] = {0};
        gFontName(number, text);
        name.FromMacPString(text);
    }
}
