// A list filter record as the preferences file holds it: every entry is
// walked against objects of a few kinds, inside and outside a group, with
// and without callers and dates.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "design/filters/ObjFilter.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjList.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Memory.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Handle filter = fuzz::HandleOf(data, size, 1u << 16);
    if (!filter) return 0;
    TObjQz* objects[4] = {ConstructObjOfKind(2), ConstructObjOfKind(1), ConstructObjOfKind(23), ConstructObjOfKind(18)};
    const char* names[4] = {"xaby", "Table", "Group", "Logo"};
    for (int i = 0; i < 4; ++i) {
        if (!objects[i]) continue;
        objects[i]->kind = int16_t(i == 0 ? 2 : i == 1 ? 1 : i == 2 ? 23 : 18);
        objects[i]->name[0] = uint8_t(std::strlen(names[i]));
        std::memcpy(objects[i]->name + 1, names[i], objects[i]->name[0]);
        objects[i]->resTime = i == 3 ? 0 : 3029529600u;
    }
    if (objects[0] && objects[2]) {
        objects[0]->parent = static_cast<TGroupObjQz*>(objects[2]);
        objects[0]->level = 1;
        AddObjList(&objects[0]->usedBy, objects[1]);
    }
    GetOrFlags(filter);
    for (TObjQz* o : objects) ObjFilter(filter, o);
    for (TObjQz* o : objects) {
        if (!o) continue;
        o->parent = nullptr;
        o->Dispose();
    }
    DisposeHandle(filter);
    return 0;
}
