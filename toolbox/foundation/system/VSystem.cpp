#include "toolbox/foundation/system/VSystem.h"

#include <ctime>

#include "platform/core/Clock.h"
#include "platform/core/FourCC.h"
#include "platform/core/Random.h"
#include "platform/resfiles/Resources.h"
#include "platform/core/Memory.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VString.h"
#include "toolbox/foundation/system/ToolboxResources.h"

VSystem* gSystem = nullptr;
uint32_t VSystem::sVersion = 0;

namespace {

constexpr int16_t kBoolStringList = 9003;

VTextServicesDocMakers gTSMDocMakers;

// 'itl0' offsets read here.
constexpr int32_t kItlDecimal = 0;
constexpr int32_t kItlThousand = 1;
constexpr int32_t kItlDateOrder = 7;
constexpr int32_t kItlDateSep = 9;
constexpr int32_t kItlTimeCycle = 10;
constexpr int32_t kItlMorning = 12;
constexpr int32_t kItlEvening = 16;
constexpr int32_t kItlTimeSep = 20;
constexpr int32_t kItlNeeded = 21;

// A blank before the 4-byte suffix unless it is empty or starts with one.
void ReadSuffix(const uint8_t* at, VStr<8>& suffix)
{
    uint8_t text[6] = {0};
    int32_t n = 0;
    if (at[0] != 0 && at[0] != ' ') text[++n] = ' ';
    for (int32_t i = 0; i < 4 && at[i] != 0; ++i) text[++n] = at[i];
    text[0] = uint8_t(n);
    suffix.FromMacPString(text);
}

}  // namespace

VSystem::VSystem()
{
    fLastTicks = platform::TickCount();
    platform::Handle itl = platform::GetResource(platform::FourCC("itl0"), 0);
    SystemIntlBytes bytes;
    if (itl) {
        platform::HLock(itl);
        bytes.data = reinterpret_cast<const uint8_t*>(*itl);
        bytes.size = int32_t(platform::GetHandleSize(itl));
    }
    ReadIntlSettings(bytes);
    if (itl) platform::HUnlock(itl);
    GetVersion();
    if (gTSMDocMakers.make) fTSMDoc = gTSMDocMakers.make(0);
}

VSystem::~VSystem()
{
    if (fTSMDoc && gTSMDocMakers.dispose) gTSMDocMakers.dispose(fTSMDoc);
}

void SetTextServicesDocMakers(const VTextServicesDocMakers& makers) { gTSMDocMakers = makers; }

namespace {

VSystemFileServices gFileServices;

}  // namespace

void SetSystemFileServices(const VSystemFileServices& services) { gFileServices = services; }

VFile* VSystem::GetAppFile() { return gFileServices.getAppFile ? gFileServices.getAppFile() : nullptr; }

VFile* VSystem::RunGetFileDialog(VGetFileDialogFilter* filter, VArrayListPtrOf<VFile*>* files)
{
    return gFileServices.runGetFileDialog ? gFileServices.runGetFileDialog(filter, files) : nullptr;
}

void VSystem::ReadIntlSettings(SystemIntlBytes bytes)
{
    // A short resource is treated as missing rather than read past its end.
    if (!bytes.data || bytes.size < kItlNeeded) {
        fDecimal = u'.';
        fThousand = u',';
        fDateSep = u'/';
        fTimeSep = u':';
        fDateOrder = 0;
        fMorning.FromMacPString(reinterpret_cast<const uint8_t*>("\x03 AM"));
        fEvening.FromMacPString(reinterpret_cast<const uint8_t*>("\x03 PM"));
        fCycleNot0 = fCycleNot1 = true;
        return;
    }
    VIntlMgr* intl = InitDefaultIntlManager();
    fDecimal = intl->Mac2Uni(bytes.data[kItlDecimal]);
    fThousand = intl->Mac2Uni(bytes.data[kItlThousand]);
    fDateSep = intl->Mac2Uni(bytes.data[kItlDateSep]);
    fTimeSep = intl->Mac2Uni(bytes.data[kItlTimeSep]);
    fDateOrder = bytes.data[kItlDateOrder];
    ReadSuffix(bytes.data + kItlMorning, fMorning);
    ReadSuffix(bytes.data + kItlEvening, fEvening);
    fCycleNot0 = bytes.data[kItlTimeCycle] != 0;
    fCycleNot1 = bytes.data[kItlTimeCycle] != 1;
}

uint32_t VSystem::GetVersion()
{
    if (sVersion == 0) sVersion = kSystemVersion;
    return sVersion;
}

void VSystem::GetBoolString(VString& text, bool value)
{
    if (fFalseText.GetLength() == 0) {
        ToolboxGetString(fFalseText, kBoolStringList, 1);
        ToolboxGetString(fTrueText, kBoolStringList, 2);
    }
    text.FromVString(value ? fTrueText : fFalseText);
}

void VSystem::Alert(const VString& message) { VEngine::Alert(message); }

uint32_t VSystem::GetCurrentTicks() { return platform::TickCount(); }

void VSystem::GetCurrentDateTime(int16_t date[8])
{
    uint32_t seconds = 0;
    platform::GetDateTime(&seconds);
    // Seconds since 1904-01-01 in local time, read as a calendar without
    // any time zone.
    constexpr int64_t k1904To1970 = 2082844800;
    const std::time_t t = std::time_t(int64_t(seconds) - k1904To1970);
    std::tm tm{};
    gmtime_r(&t, &tm);
    date[0] = int16_t(tm.tm_year + 1900);
    date[1] = int16_t(tm.tm_mon + 1);
    date[2] = int16_t(tm.tm_mday);
    date[3] = int16_t(tm.tm_wday);
    date[4] = int16_t(tm.tm_hour);
    date[5] = int16_t(tm.tm_min);
    date[6] = int16_t(tm.tm_sec);
    date[7] = 0;
}

int16_t VSystem::Random(int16_t min, int16_t max)
{
    // The product needs 32 unsigned bits: a span of 65535 times 65535.
    const uint32_t r = uint32_t(int32_t(platform::Random()) + 32768);
    const uint32_t span = uint32_t(max > min ? int32_t(max) - min : int32_t(min) - max);
    return int16_t(min + int32_t((r * span) >> 16));
}
