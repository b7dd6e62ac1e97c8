#include "transfer/conflicts/ConflictPrefs.h"

#include "app/appl/Preferences.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfer {

namespace {

const platform::ResType kC_PR = platform::FourCC("C_PR");

bool OffersChoice(const uint8_t* block)
{
    for (int32_t i = 0; i < C_PmTable::ChoiceCount(block); ++i)
        if (C_PmTable::Entry(C_PmTable::Choice(block, i)).flags & kChoiceOffered) return true;
    return false;
}

}  // namespace

int16_t MakeC_Pref(C_ListHdl list)
{
    int16_t result = 0;
    ProgramC_Pm().ForEach([&](const uint8_t* block) {
        if (result != 0 || !OffersChoice(block)) return;
        TConflict* record = nullptr;
        result = transfer::RecordConflict(nullptr, nullptr, C_PmTable::Code(block), FactoryDefault(block), list, &record);
    });
    return result;
}

void UpdateC_Pref(C_ListHdl list)
{
    if (!list || G_PrefResFile == -1) return;
    const int16_t saved = platform::CurResFile();
    platform::UseResFile(G_PrefResFile);
    platform::Handle h = platform::Get1Resource(kC_PR, 0);
    platform::UseResFile(saved);
    if (!h || !*h) return;
    const int32_t pairs = int32_t(platform::GetHandleSize(h) / 4);
    for (int32_t r = 0; r < list->Size(); ++r) {
        TConflict* record = list->At(r);
        const auto* p = reinterpret_cast<const uint8_t*>(*h);
        for (int32_t i = 0; i < pairs; ++i)
            if (platform::ReadBES16(p + 4 * i) == record->fCode) {
                record->fChoice = platform::ReadBES16(p + 4 * i + 2);
                break;
            }
    }
}

int16_t SaveC_Pref(C_ListHdl list)
{
    if (!list) return 0;
    if (G_PrefResFile == -1) return platform::resFNotFound;
    const int16_t saved = platform::CurResFile();
    platform::UseResFile(G_PrefResFile);
    platform::Handle h = platform::Get1Resource(kC_PR, 0);
    int16_t err = 0;
    const platform::Size size = platform::Size(4) * list->Size();
    if (!h) {
        h = platform::NewHandle(size);
        if (!h) {
            platform::UseResFile(saved);
            return platform::memFullErr;
        }
        const unsigned char empty[1] = {0};
        platform::AddResource(h, kC_PR, 0, empty);
        if ((err = platform::ResError()) != 0) {
            platform::DisposeHandle(h);
            platform::UseResFile(saved);
            return err;
        }
    } else {
        platform::SetHandleSize(h, size);
        if ((err = platform::MemError()) != 0) {
            platform::UseResFile(saved);
            return err;
        }
    }
    auto* p = reinterpret_cast<uint8_t*>(*h);
    for (int32_t r = 0; r < list->Size(); ++r) {
        platform::WriteBE16(p + 4 * r, uint16_t(list->At(r)->fCode));
        platform::WriteBE16(p + 4 * r + 2, uint16_t(list->At(r)->fChoice));
    }
    platform::ChangedResource(h);
    if ((err = platform::ResError()) == 0) {
        platform::UpdateResFile(G_PrefResFile);
        err = platform::ResError();
    }
    platform::UseResFile(saved);
    return err;
}

}  // namespace transfer
