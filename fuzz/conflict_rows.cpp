// The conflict preferences as the dialog shows them: the first slice is the
// program's 'C_mn' 0 (the kinds the list can be narrowed to), the second
// its 'C_Pm' 0, the rest the preferences file's 'C_PR' 0, whose stored
// choices reach the rows as they are. The list is filled under every
// filter, each row is drawn offscreen, and the list is written as text.
#include <cstddef>
#include <cstdint>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/GWorlds.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/ConflictList.h"
#include "transfer/conflicts/ConflictPrefs.h"
#include "transfer/dialogs/ConflictExport.h"
#include "transfer/dialogs/ConflictListDef.h"
#include "transfer/dialogs/ConflictRows.h"

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
    const fuzz::Bytes kinds = in.Slice(1 << 10);
    const fuzz::Bytes cpm = in.Slice(1 << 15);
    const fuzz::Bytes pairs = in.Rest();

    platform::ResetResourceManager();
    platform::ResourceFileImage program;
    program.resources.push_back(Resource(platform::FourCC("C_mn"), 0, kinds));
    program.resources.push_back(Resource(platform::FourCC("C_Pm"), 0, cpm));
    G_MainResFile = platform::OpenResFileImageBelow(program);
    platform::ResourceFileImage prefs;
    prefs.resources.push_back(Resource(platform::FourCC("C_PR"), 0, pairs));
    G_PrefResFile = platform::OpenResFileImageBelow(prefs);

    G_C_Hide = true;
    transfer::G_TempBool = true;
    C_ListHdl list = nullptr;
    const platform::Rect bounds{0, 0, 120, 400};
    platform::GWorldPtr world = nullptr;
    if (transfer::NewC_List(&list, transfer::kC_ListRoom) == 0 &&
        platform::NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) == 0) {
        platform::SetGWorld(world, nullptr);
        transfer::MakeC_Pref(list);
        transfer::UpdateC_Pref(list);
        LongListHandle rows = LongLNew(&bounds, 0, kObjectRowLength, platform::Point{60, 400},
                                       transfer::kConflictListDef, nullptr, false, transfer::C_ListLDEFProc);
        const int16_t lastFilter = int16_t(transfer::kFirstTypeFilter + transfer::CountFilterTypes() + 1);
        for (int16_t filter = 0; rows && filter <= lastFilter; ++filter) {
            transfer::SetC_List(rows, list, nullptr, filter);
            for (int32_t r = 0; r < rows->rowCount && r < 64; ++r) {
                const platform::Rect cell{0, 0, 60, 400};
                transfer::C_ListLDEFProc(kLongLDrawMsg, r == 0, &cell, r, 0, rows);
            }
        }
        LongLDispose(rows);
        transfer::ExportText text;
        const unsigned char title[] = "\x01T";
        transfer::ConflictListText(title, list, &text);
        platform::SetGWorld(nullptr, nullptr);
    }
    if (world) platform::DisposeGWorld(world);
    transfer::DisposeC_List(list);
    transfer::G_TempBool = false;
    G_C_Hide = false;
    G_MainResFile = -1;
    G_PrefResFile = -1;
    platform::ResetResourceManager();
    return 0;
}
