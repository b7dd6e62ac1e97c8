#include "toolbox/foundation/VEngine.h"

#include <cstring>

#include "platform/core/Memory.h"
#include "toolbox/foundation/KernelTextHooks.h"
#include "toolbox/foundation/VString.h"

HostEntryProc gCallQz = nullptr;
VEngine* gEngine = nullptr;
VDialQzList* gVDialQzList = nullptr;

namespace {

VEngineResFileMakers gMakers;
VDialQzListMakers gListMakers;
VImageDataAccess gImageAccess;

void DisposeDialQzList()
{
    if (gVDialQzList && gListMakers.dispose) gListMakers.dispose(gVDialQzList);
    gVDialQzList = nullptr;
}

}  // namespace

void SetEngineResFileMakers(const VEngineResFileMakers& makers) { gMakers = makers; }
void SetDialQzListMakers(const VDialQzListMakers& makers) { gListMakers = makers; }
void SetImageDataAccess(const VImageDataAccess& access) { gImageAccess = access; }

VEngine::VEngine(HostEntryProc entry) : fEntry(entry)
{
    gCallQz = entry;
    RenewDialQzList();
    Reset();
}

VEngine::~VEngine()
{
    DisposeDialQzList();
    DisposeFiles();
    // The host entry an engine installed goes with it: later calls must not
    // reach a host that served an engine which is gone.
    if (gCallQz == fEntry) gCallQz = nullptr;
    if (gEngine == this) gEngine = nullptr;
}

void VEngine::RenewDialQzList()
{
    DisposeDialQzList();
    if (gListMakers.make) gVDialQzList = gListMakers.make();
}

platform::Handle VEngine::GetMacPicture(VImageData& image, bool copy, bool)
{
    if (!gImageAccess.getPicture || !gImageAccess.getImageKind || !gImageAccess.detachPicture) return nullptr;
    platform::Handle picture = gImageAccess.getPicture(image);
    if (!picture || gImageAccess.getImageKind(image) != kImageKindPicture) return nullptr;
    if (!copy) return gImageAccess.detachPicture(image);
    platform::Handle own = picture;
    if (platform::HandToHand(&own) != platform::noErr) return nullptr;
    return own;
}

void VEngine::DisposeFiles()
{
    // The toolbox resource file must never point at a file that is gone.
    if (fHostResFile && gMakers.makeToolboxFile) gMakers.makeToolboxFile(nullptr);
    if (fDesignResFile && gMakers.disposeDesignFile) gMakers.disposeDesignFile(fDesignResFile);
    if (fHostResFile && gMakers.disposeHostFile) gMakers.disposeHostFile(fHostResFile);
    fDesignResFile = nullptr;
    fHostResFile = nullptr;
}

void VEngine::Reset()
{
    parm block;
    if (gCallQz) gCallQz(kSelEngineReset, &block);
    const uint32_t flags266 = uint32_t(block.slot266.Long());
    const uint32_t flags272 = uint32_t(block.slot272.Long());
    fFlags[0] = (flags266 >> 30) & 1;
    fFlags[1] = (flags266 >> 29) & 1;
    fFlags[2] = (flags272 >> 27) & 1;
    fFlags[3] = (flags272 >> 26) & 1;
    fFlags[4] = (flags272 >> 25) & 1;
    fHostValue = block.slot276.Long();
    fFirstName.FromMacPString(block.name10);
    fSecondName.FromMacPString(block.text310);

    DisposeFiles();
    if (gMakers.makeHostFile) fHostResFile = gMakers.makeHostFile(int16_t(block.result304));
    if (gMakers.makeDesignFile) fDesignResFile = gMakers.makeDesignFile();
    if (gMakers.makeToolboxFile) gMakers.makeToolboxFile(fHostResFile);
    RenewDialQzList();
}

void VEngine::FormatReal(double value, const VString& format, VString& text)
{
    parm block;
    if (!gCallQz) {
        uint8_t own[256 + sizeof(double)] = {};
        if (gKernelTextHooks.realToText != nullptr) gKernelTextHooks.realToText(&value, own, 1);
        std::memcpy(block.text310, own, size_t(own[0]) + 1);
    } else {
        block.slot272.SetLong(1);
        block.real288 = value;
        constexpr int32_t kMaxFormatText = 80;
        format.ToPString(block.text310, kMaxFormatText, kCharSetMac);
        gCallQz(kSelFormatReal, &block);
    }
    text.FromMacPString(block.text310);
}

int32_t VEngine::GetCenturyInfo(int32_t& first, int32_t& second)
{
    first = 0;
    second = 0;
    if (gCallQz) {
        parm block;
        gCallQz(kSelCenturyInfo, &block);
        first = block.slot272.Long();
        second = block.slot276.Long();
    } else if (gKernelTextHooks.centuryInfo != nullptr) {
        gKernelTextHooks.centuryInfo(&first, &second);
    }
    return 0;
}
