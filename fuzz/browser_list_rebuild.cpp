// The main list rebuilt under a filter record of any bytes (the records
// come from the user's preferences file): rows by kind, an open group whose
// members are filtered by the record's first entry, a table with a field.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "browser/Panes.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Memory.h"

using namespace platform;

namespace {

TObjQz* Make(TMainDoc* doc, int16_t kind, const char* name, int16_t id)
{
    unsigned char p[34];
    p[0] = uint8_t(std::strlen(name));
    std::memcpy(p + 1, name, p[0]);
    return NewObj_Id(doc, kind, p, id, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Handle filter = fuzz::HandleOf(data, size, 1u << 16);
    if (!filter) return 0;
    if (!GromMemHdl) GromMemHdl = NewHandle(64);
    TMainDoc doc;
    if (NewTypeList(&doc.fTypeList) != 0) {
        DisposeHandle(filter);
        return 0;
    }
    Make(&doc, 1, "Table", 1);
    TObjQz* a = Make(&doc, 2, "xaby", 2);
    Make(&doc, 18, "Logo", 3);
    auto* group = static_cast<TGroupObjQz*>(Make(&doc, 23, "Group", 4));
    if (a && group && NewObjList(&group->members, 2) == 0 && AddObjList(&group->members, a) == 0) {
        a->parent = group;
        a->level = 1;
        a->SetFlag(kFlagGrouped, true);
    }
    auto* pane = new browser::TLstPlane;
    if (pane->ITPlane(Rect{0, 0, 100, 100}, nullptr, doc.fTypeList, nullptr, 0) == 0) {
        pane->SetFilter(129);
        pane->SetList(filter, reinterpret_cast<Handle>(doc.fTypeList));
        if (pane->fList->rowCount > 0 && group) {
            const int32_t row = browser::GetCellData(group, pane->fList);
            if (row >= 0) pane->SwitchCellState(row);
        }
        pane->SetList(filter, reinterpret_cast<Handle>(doc.fTypeList));
        pane->FilterList(filter, true);
    }
    pane->Dispose();
    if (a) a->parent = nullptr;
    if (group) {
        FreeObjList(group->members);
        group->members = nullptr;
    }
    DisposeTypeList(doc.fTypeList);
    doc.fTypeList = nullptr;
    DisposeHandle(filter);
    return 0;
}
