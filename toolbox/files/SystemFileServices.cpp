#include "toolbox/files/SystemFileServices.h"

#include <unistd.h>

#include <string>

#include "platform/files/FileSpec.h"
#include "toolbox/files/FileKindHooks.h"
#include "toolbox/files/PartDialogHooks.h"
#include "toolbox/files/VFileDialogFilter.h"
#include "toolbox/files/VFileDlg.h"
#include "toolbox/foundation/VArrayNumber.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/files/VFile.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/system/VSystem.h"

namespace {

VFile* AppFile()
{
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return nullptr;
    platform::FSSpec fileSpec;
    if (platform::FSMakeFSSpec(std::string(buffer, size_t(n)), &fileSpec) != platform::noErr) return nullptr;
    return new VFile(fileSpec);
}

uint32_t VirtualFromMac(uint32_t macType, bool stationery, const VString& name)
{
    return gSystem ? gSystem->GetVirtualKindFromMacKind(macType, stationery, &name) : macType;
}

uint32_t MacFromVirtual(uint32_t kind) { return gSystem ? gSystem->GetMacKindFromVirtualKind(kind) : kind; }

bool IsTemplate(uint32_t kind) { return gSystem && gSystem->IsTemplateFileKind(kind); }

bool IsValid(uint32_t kind) { return gSystem ? gSystem->IsValidFileKind(kind) : kind != 0; }

uint32_t WinFromExtension(const uint8_t* pExtension)
{
    if (!pExtension) return 0;
    VStr<255> name;
    name.FromMacPString(pExtension);
    return VSystem::GetWinKindFromExtension(name);
}

uint32_t WinFromVirtual(uint32_t kind) { return gSystem ? gSystem->GetWinKindFromVirtualKind(kind) : 0; }

VFile* RunGetFile(VGetFileDialogFilter* filter, VArrayListPtrOf<VFile*>* files)
{
    return MAC_RunGetFileDialog(filter, files);
}

}  // namespace

VFile* LocatePartWithDialog(const VString& expectedName)
{
    const VArrayLong kinds;
    const VArrayString names;
    VGetFileDialogFilter filter(kinds, names, kKindPlatformToolbox);
    filter.AddFileFilter(new VFileFilter());
    filter.SetEditBox(expectedName);
    filter.SetPreferenceKey(kPartDialogKey);
    return VSystem::RunGetFileDialog(&filter, nullptr);
}

namespace {

}  // namespace

void InstallSystemFileServices()
{
    VSystemFileServices services;
    services.getAppFile = AppFile;
    services.runGetFileDialog = RunGetFile;
    SetSystemFileServices(services);

    FileKindHooks hooks;
    hooks.virtualKindFromMacKind = VirtualFromMac;
    hooks.macKindFromVirtualKind = MacFromVirtual;
    hooks.isTemplateFileKind = IsTemplate;
    hooks.isValidFileKind = IsValid;
    hooks.winKindFromExtension = WinFromExtension;
    hooks.winKindFromVirtualKind = WinFromVirtual;
    SetFileKindHooks(hooks);

    VFileDialogFilter::Init();
    PartDialogHooks parts;
    parts.locatePart = LocatePartWithDialog;
    SetPartDialogHooks(parts);
}
