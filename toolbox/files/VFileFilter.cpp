#include "toolbox/files/VFileFilter.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Errors.h"
#include "platform/files/LaunchServices.h"
#include "toolbox/files/FileKindHooks.h"

using namespace platform;

VExtensionMapping::~VExtensionMapping() = default;

bool LoadUTIFramework() { return false; }

VFileFilter::VFileFilter() { fName.SetNull(false); }

VFileFilter::VFileFilter(const uint8_t* cName, uint32_t kind, uint32_t creator)
{
    fName.SetNull(false);
    if (cName) fName.FromCString(cName, kCharSetMac);
    fDefaultKind = kind;
    if (kind != 0) AddFileKind(kind, creator);
}

VFileFilter::VFileFilter(const VString& name, uint32_t kind, uint32_t creator)
{
    fName.SetNull(false);
    fName.FromVString(name);
    fDefaultKind = kind;
    if (kind != 0) AddFileKind(kind, creator);
}

VFileFilter::~VFileFilter() = default;

void VFileFilter::AddFileKind(uint32_t kind, uint32_t creator)
{
    if (IsValidFileKind(kind)) {
        fKinds.push_back(kind);
        fCreators.push_back(creator);
    }
    if (fDefaultKind == 0) fDefaultKind = kind;
}

void VFileFilter::AddFileKind(const VString& uti) { fUTIKinds.push_back(uti.GetCFString()); }

int32_t VFileFilter::GetUTIKindsCount() const { return int32_t(fUTIKinds.size()); }

void VFileFilter::GetNthUTIKind(int32_t n, VString& uti) const
{
    uti.SetNull(false);
    uti.ClearString(false);
    if (n >= 1 && n <= GetUTIKindsCount()) uti.FromCFString(fUTIKinds[size_t(n - 1)]);
}

uint32_t VFileFilter::GetKind(int32_t n) const { return n >= 1 && n <= GetKindCount() ? fKinds[size_t(n - 1)] : 0; }

uint32_t VFileFilter::GetCreator(int32_t n) const
{
    return n >= 1 && n <= GetKindCount() ? fCreators[size_t(n - 1)] : 0;
}

bool VFileFilter::AcceptsKind(uint32_t kind) const
{
    if (fKinds.empty()) return true;
    for (uint32_t k : fKinds)
        if (k == kAnyFileKind || k == kind) return true;
    return false;
}

bool VFileFilter::MAC_FilterFile(const uint8_t* pExtension, uint32_t macType, const VExtensionMapping* dialog)
{
    if (fKinds.empty()) return true;
    const bool mappingNeeded = dialog && dialog->IsExtensionMappingNeeded();
    const uint32_t extensionWinKind = macType == 0 || mappingNeeded ? WinKindFromExtension(pExtension) : 0;
    constexpr uint32_t kText = 0x54455854;  // 'TEXT'
    for (uint32_t kind : fKinds) {
        if (kind == kAnyFileKind) return true;
        const uint32_t kindMacType = MacKindFromVirtualKind(kind);
        const bool mapped = dialog && dialog->IsKindForMappedExtension(kind);
        if (macType != 0 && !mapped) {
            if (macType == kindMacType) return true;
            continue;
        }
        if (macType != 0 && macType == kindMacType && (macType != kText || kind == kText)) return true;
        // An extension without a Windows kind matches no kind by it.
        if (extensionWinKind != 0 && extensionWinKind == WinKindFromVirtualKind(kind)) return true;
    }
    return false;
}

bool VFileFilter::MAC_FilterFile(const FSRef& ref, const VExtensionMapping* dialog)
{
    if (fKinds.empty() && fUTIKinds.empty()) return true;
    LSItemInfoRecord info;
    if (LSCopyItemInfoForRef(&ref, kLSRequestExtension | kLSRequestTypeCreator, &info) != noErr) return true;
    // Identifiers only: no conformance service here, so nothing is told apart.
    if (fKinds.empty()) return true;
    // The extension with its '.', as a length-prefixed string.
    uint8_t extension[256] = {0};
    if (!info.extension.empty()) {
        const size_t length = std::min<size_t>(info.extension.size() + 1, 255);
        extension[0] = uint8_t(length);
        extension[1] = '.';
        std::memcpy(extension + 2, info.extension.data(), length - 1);
    }
    return MAC_FilterFile(extension, info.filetype, dialog);
}
