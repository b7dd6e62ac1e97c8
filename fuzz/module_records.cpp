// Component records of any bytes: the input is a 'MODQ' slice and a
// 'MAPQ' slice, put as the records of component 5 into a scratch
// structure with a method of each state, then loaded by the module
// manager of every byte order it may claim; every state, key and
// visibility answer is asked, the records written back and the picture
// rows removed.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/support/FuzzSupport.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"
#include "resources/ResourceApi.h"
#include "transfer/modules/ModuleMgr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1 << 16) return 0;
    fuzz::FuzzBytes in(data, size);
    const fuzz::Bytes modq = in.Slice(1 << 15);
    const fuzz::Bytes mapq = in.Rest();
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    using platform::FourCC;
    fuzz::ScratchStructure::Add(modq, FourCC("MODQ"), 5);
    if (!mapq.empty()) fuzz::ScratchStructure::Add(mapq, FourCC("MAPQ"), 5);
    for (int16_t id = 10; id <= 12; ++id) fuzz::ScratchStructure::Add({0, 0, 0, 1}, FourCC("CCQz"), id);
    fuzz::ScratchStructure::Add(std::vector<uint8_t>(44 * 3, 0), FourCC("TPQz"), 0);
    {
        ModuleMgr manager(&scratch.Doc());
        manager.LoadModules(0);
        for (uint32_t type : {FourCC("CCQz"), FourCC("FIQz"), FourCC("#GMO"), FourCC("PICT"), FourCC("Stlx")})
            for (int16_t id = -1; id <= 40; ++id) {
                manager.GetObjState(type, id);
                manager.GetObjKey(type, id);
                manager.Visible(type, id);
                manager.Viewable(type, id);
            }
        if (Module* record = manager.RecordAt(1)) {
            scratch.Use();
            record->WriteNewRes(6);
            record->WriteResIDMap(6, record->fMap);
            record->DeleteAllModuleResId(FourCC("PICT"));
            if (ModuleIterator* it = record->NewIterator()) {
                platform::ResType type = 0;
                int16_t id = 0, state = 0;
                while (it->Next(&type, &id, &state)) {
                }
                delete it;
            }
        }
        ModuleMgr again(&scratch.Doc());
        again.LoadModules(1);
        again.RemoveModules();
    }
    return 0;
}
