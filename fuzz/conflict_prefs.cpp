// The conflict choices and defaults of the user's files: the first slice
// is the program's 'C_Pm' 0, the rest the preferences file's 'C_PR' 0 and
// the program's 'C_PR' 1. The defaults of a transfer and of the component
// commands are built, the preferences list is made, updated and saved, and
// every code's choices are looked up by position and by number.
#include <cstddef>
#include <cstdint>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/ConflictDefaults.h"
#include "transfer/conflicts/ConflictList.h"
#include "transfer/conflicts/ConflictPrefs.h"

namespace {

platform::ResourceImage Resource(uint32_t type, int16_t id, const fuzz::Bytes& data)
{
    platform::ResourceImage r;
    r.type = type;
    r.id = id;
    r.data = data;
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1 << 16) return 0;
    fuzz::FuzzBytes in(data, size);
    const fuzz::Bytes cpm = in.Slice(1 << 15);
    const fuzz::Bytes userPairs = in.Slice(1 << 12);
    const fuzz::Bytes componentPairs = in.Rest();

    platform::ResetResourceManager();
    platform::ResourceFileImage program;
    program.resources.push_back(Resource(platform::FourCC("C_Pm"), 0, cpm));
    program.resources.push_back(Resource(platform::FourCC("C_PR"), 1, componentPairs));
    G_MainResFile = platform::OpenResFileImageBelow(program);
    platform::ResourceFileImage prefs;
    prefs.resources.push_back(Resource(platform::FourCC("C_PR"), 0, userPairs));
    G_PrefResFile = platform::OpenResFileImageBelow(prefs);

    platform::Handle filters = transfer::NewFilters();
    transfer::G_Filters = filters;
    for (int pass = 0; pass < 2 && filters; ++pass) {
        if (pass == 0)
            transfer::MakeCc_Dflt(filters);
        else
            transfer::MakeCc_Replace(filters);
        for (int16_t code = -1; code <= 133; ++code) {
            transfer::Cc_Dflt(code);
            transfer::G_TempBool = pass == 1;
            const int16_t n = transfer::MaxChoix(code);
            for (int32_t position = 0; position <= n + 1; ++position) {
                const int16_t value = transfer::ChooseValue(code, position);
                transfer::ChooseNumber(code, value);
                int16_t text = 0, icon = 0;
                transfer::ChooseNumStrListe(code, position, &text, &icon);
                transfer::ChooseIDStrListe(code, value, &text, &icon);
            }
            transfer::ChooseTypeObj(code);
            int16_t text = 0, icon = 0;
            transfer::GetStr_Icn(code, &text, &icon);
        }
    }
    C_ListHdl list = nullptr;
    if (transfer::NewC_List(&list, transfer::kC_ListRoom) == 0) {
        G_C_Hide = true;
        transfer::MakeC_Pref(list);
        transfer::UpdateC_Pref(list);
        transfer::SaveC_Pref(list);  // refused: the preferences are read-only here
        transfer::DisposeC_List(list);
    }
    transfer::G_TempBool = false;
    G_C_Hide = false;
    transfer::G_Filters = nullptr;
    if (filters) platform::DisposeHandle(filters);
    G_MainResFile = -1;
    G_PrefResFile = -1;
    platform::ResetResourceManager();
    return 0;
}
