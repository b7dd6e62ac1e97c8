#include "design/links/ParseAgain.h"

#include "design/links/XRef.h"
#include "design/objects/ObjKinds.h"

namespace {

bool IsRelationEnd(const TObjQz* obj) { return obj->kind == 1 || obj->kind == 28 || obj->kind == 29; }

// Every link of `obj` to what `drop` picks.
template <class Pick>
void DropUses(TObjQz* obj, Pick drop)
{
    for (int32_t i = obj->uses ? obj->uses->Size() - 1 : -1; i >= 0; --i)
        if (drop(obj->uses->At(i))) XDelRef(obj, obj->uses->At(i));
}

}  // namespace

std::vector<TObjQz*> LinkReaders(TObjQz* user)
{
    if (!user) return {};
    if (dynamic_cast<TCritObjQz*>(user)) {
        TObjQz* table = user->GetOwnerObj();
        return table ? std::vector<TObjQz*>{table} : std::vector<TObjQz*>{};
    }
    if (dynamic_cast<TMenuObjQz*>(user)) {
        std::vector<TObjQz*> bars;
        for (int32_t i = 0; user->usedBy && i < user->usedBy->Size(); ++i)
            if (dynamic_cast<TMBarObjQz*>(user->usedBy->At(i))) bars.push_back(user->usedBy->At(i));
        return bars;
    }
    if (dynamic_cast<TGnlProcObjQz*>(user) || dynamic_cast<TLayoutObjQz*>(user) || dynamic_cast<TMBarObjQz*>(user) ||
        dynamic_cast<TFileObjQz*>(user))
        return {user};
    return {};
}

std::vector<TObjQz*> LinksParsedBy(TObjQz* reader)
{
    std::vector<TObjQz*> out{reader};
    if (dynamic_cast<TFileObjQz*>(reader))
        for (int32_t i = 0; reader->members && i < reader->members->Size(); ++i)
            if (dynamic_cast<TCritObjQz*>(reader->members->At(i))) out.push_back(reader->members->At(i));
    return out;
}

int16_t ParseAgain(TObjQz* reader)
{
    if (!reader) return 0;
    if (dynamic_cast<TFileObjQz*>(reader)) {
        // A read links a table's method and its fields' lists and help as it
        // reads them; its parse adds the relations, the only links of a
        // table to tables and fields and of a field to fields.
        DropUses(reader, IsRelationEnd);
        for (int32_t i = 0; reader->members && i < reader->members->Size(); ++i)
            if (auto* field = dynamic_cast<TCritObjQz*>(reader->members->At(i)))
                DropUses(field, [](const TObjQz* used) { return used->kind == 28 || used->kind == 29; });
    } else {
        DropUses(reader, [](const TObjQz*) { return true; });
    }
    reader->SetFlag(kFlagParsed, false);
    return reader->Parse();
}
