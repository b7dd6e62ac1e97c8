#include "toolbox/files/VFileDialogFilter.h"

#include <algorithm>

#include "toolbox/files/VFolder.h"
#include "toolbox/foundation/VArrayNumber.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/foundation/system/VSystem.h"

VFileDialogFilter::VFileDialogFilter()
{
    fMessage.SetNull(false);
    fTitle.SetNull(false);
    fEditBox.SetNull(false);
}

VFileDialogFilter::~VFileDialogFilter() = default;

void VFileDialogFilter::Init() {}

void VFileDialogFilter::AddFileFilter(VFileFilter* filter)
{
    if (!filter) return;
    std::unique_ptr<VFileFilter> owned(filter);
    fFilters.push_back(std::move(owned));
}

VFileFilter* VFileDialogFilter::GetFileFilter(int16_t n) const
{
    return n >= 1 && n <= GetFileFilterCount() ? fFilters[size_t(n - 1)].get() : nullptr;
}

void VFileDialogFilter::SetCustomButton(int16_t n, const VString* title)
{
    if (n < 1 || n > 2) return;
    auto& slot = fButtonTitles[n - 1];
    if (!title) {
        slot.reset();
        return;
    }
    slot = std::make_unique<VStr<255>>();
    slot->SetNull(false);
    slot->FromVString(*title);
}

bool VFileDialogFilter::HasCustomButton(int16_t n) const { return n >= 1 && n <= 2 && fButtonTitles[n - 1]; }

bool VFileDialogFilter::GetCustomButton(int16_t n, VString& title) const
{
    if (!HasCustomButton(n)) return false;
    title.FromVString(*fButtonTitles[n - 1]);
    return true;
}

bool VFileDialogFilter::IsExtensionMappingNeeded() const { return fMapEveryExtension || !fMappedKinds.empty(); }

bool VFileDialogFilter::IsKindForMappedExtension(uint32_t kind) const
{
    return fMapEveryExtension || std::find(fMappedKinds.begin(), fMappedKinds.end(), kind) != fMappedKinds.end();
}

void VFileDialogFilter::SetStartFolder(const VFolder* folder)
{
    fStartFolder.reset(folder ? new VFolder(*folder) : nullptr);
}

VGetFileDialogFilter::VGetFileDialogFilter(const VArrayLong& kinds, const VArrayString& names, KindPlatform platform)
{
    const int32_t count = names.GetCount();
    for (int32_t i = 1; i <= count; ++i) {
        uint32_t kind = i <= kinds.GetCount() ? uint32_t(kinds.GetLong(i)) : 0;
        if (kind != 0 && kind != kAnyFileKind && gSystem) {
            if (platform == kKindPlatformWindows) {
                VSystem::AdjustWinKind(kind);
                uint32_t known = gSystem->GetVirtualKindFromWinKind(kind);
                if (known == 0) {
                    known = gSystem->AddTemporaryWinKind(kind);
                    fTemporaryKinds.push_back(known);
                }
                kind = known;
            } else if (platform == kKindPlatformMac) {
                uint32_t known = gSystem->GetVirtualKindFromMacKind(kind, false, nullptr);
                if (known == 0) {
                    known = gSystem->AddTemporaryMacKind(kind);
                    fTemporaryKinds.push_back(known);
                }
                kind = known;
            }
        }
        VStr<63> name;
        name.SetNull(false);
        if (const VString* given = names.GetVString(i)) name.FromVString(*given);
        AddFileFilter(new VFileFilter(name, kind, 0));
    }
    SetInitialFilter(1);
}

VGetFileDialogFilter::~VGetFileDialogFilter()
{
    if (gSystem)
        for (uint32_t kind : fTemporaryKinds) gSystem->RemoveTemporaryFileKind(kind);
}
