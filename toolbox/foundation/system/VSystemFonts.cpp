// The font lists: visible families sorted by name with their ATS names and
// numbers, and the hidden families ("%" or "." names) apart.
#include <algorithm>
#include <vector>

#include "toolbox/foundation/VString.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/foundation/system/VSystem.h"

namespace {

FontFamilyLister gLister = nullptr;
FontNameProc gFontName = nullptr;

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

void SetFontFamilyLister(FontFamilyLister lister) { gLister = lister; }
void SetFontNameProc(FontNameProc proc) { gFontName = proc; }

int16_t VSystem::MacGetSysFontSize() { return kSystemFontSize; }

void VSystem::BuildFontList()
{
    fFontNames.Destroy(kListDeleteData);
    fATSFontNames.Destroy(kListDeleteData);
    fHiddenFontNames.Destroy(kListDeleteData);
    fFontNumbers.Destroy(kListForget);
    fHiddenFontNumbers.Destroy(kListForget);
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

    std::stable_sort(found.visible.begin(), found.visible.end(),
                     [](const FamilyRow& a, const FamilyRow& b) { return a.name->CompareTo(*b.name, 1) < 0; });
    // Names that differ only loosely (case, accents) count once.
    for (size_t i = 0; i < found.visible.size(); ++i) {
        const FamilyRow& row = found.visible[i];
        if (fFontNames.GetCount() > 0 && fFontNames.GetLast()->CompareTo(*row.name, 0) == 0) {
            delete row.name;
            delete row.ats;
            continue;
        }
        fFontNames.AddTail(row.name);
        fATSFontNames.AddTail(row.ats);
        fFontNumbers.AddTail(row.number);
    }
    // Hidden families keep no name, so one row stands for them all.
    if (!found.hidden.empty()) {
        fHiddenFontNames.AddTail(new VText);
        fHiddenFontNumbers.AddTail(found.hidden.front());
    }
}

int16_t VSystem::MacGetFontNum(const VString& name) const
{
    for (int32_t r = 1; r <= fFontNames.GetCount(); ++r)
        if (fFontNames.GetNth(r)->CompareTo(name, 1) == 0) return fFontNumbers.GetNth(r);
    for (int32_t r = 1; r <= fHiddenFontNames.GetCount(); ++r)
        if (fHiddenFontNames.GetNth(r)->CompareTo(name, 1) == 0) return fHiddenFontNumbers.GetNth(r);
    return 0;
}

void VSystem::MacGetFontName(int16_t number, VString& name) const
{
    name.Clear();
    for (int32_t r = 1; r <= fFontNumbers.GetCount(); ++r)
        if (fFontNumbers.GetNth(r) == number) {
            name.FromVString(*fFontNames.GetNth(r));
            return;
        }
    for (int32_t r = 1; r <= fHiddenFontNumbers.GetCount(); ++r)
        if (fHiddenFontNumbers.GetNth(r) == number) {
            name.FromVString(*fHiddenFontNames.GetNth(r));
            return;
        }
    if (gFontName) {
        unsigned char text[256] = {0};
        gFontName(number, text);
        name.FromMacPString(text);
    }
}
