// Which commands the selected rows of an object list can take.
#include "browser/ListAnswers.h"
#include "browser/Panes.h"
#include "design/objects/ObjQz.h"

namespace browser {

namespace {

TObjQz* RowObj(int32_t row, LongListHandle list) { return static_cast<TObjQz*>(LongLRowObject(row, list)); }

// Calls f on each selected object in row order until it answers false.
template <typename F>
void EachSelected(LongListHandle list, F f)
{
    if (!list) return;
    for (int32_t row = 0; LongLGetSelect(true, &row, list); ++row) {
        TObjQz* obj = RowObj(row, list);
        if (obj && !f(obj)) return;
    }
}

bool Groupable(LongListHandle list, bool modulable)
{
    if (!list || !LongLSel(list)) return false;
    auto refused = [&](TObjQz* o) {
        if (o->IsModuleProject() || o->IsModule()) return true;
        return modulable && (o->kind == 16 || o->kind == 7 || o->kind == 8);
    };
    if (!LongLMultSel(list)) {
        int32_t row = 0;
        LongLGetSelect(true, &row, list);
        TObjQz* o = RowObj(row, list);
        if (!o || refused(o) || o->kind == 23 || o->TstFlag(kFlagGrouped)) return false;
        return o->Dragable();
    }
    bool any = false, stop = false;
    EachSelected(list, [&](TObjQz* o) {
        if (refused(o)) {
            stop = true;
            return false;
        }
        if (!o->TstFlag(kFlagGrouped) && o->Dragable()) any = true;
        return true;
    });
    return !stop && any;
}

bool AnySelected(LongListHandle list, bool (*test)(TObjQz*))
{
    bool found = false;
    EachSelected(list, [&](TObjQz* o) {
        found = test(o);
        return !found;
    });
    return found;
}

bool AllSelected(LongListHandle list, bool (*test)(TObjQz*))
{
    if (!list || !LongLSel(list)) return false;
    bool all = true;
    EachSelected(list, [&](TObjQz* o) {
        all = test(o);
        return all;
    });
    return all;
}

}  // namespace

bool SelectionGroupable(LongListHandle list) { return Groupable(list, false); }
bool SelectionModulable(LongListHandle list) { return Groupable(list, true); }

bool SelectionPrefixable(LongListHandle list)
{
    bool answer = false;
    EachSelected(list, [&](TObjQz* o) {
        answer = o->EnableReplace();
        return false;
    });
    return answer;
}

bool SelectionDoc(LongListHandle list)
{
    return AnySelected(list, [](TObjQz* o) { return o->TstFlag(kFlagHasDoc) && o->EnableDocDel(); });
}

bool SelectionX_able(LongListHandle list)
{
    return AnySelected(list, [](TObjQz* o) { return o->EnableDelete(); });
}

bool Selection_StrList(LongListHandle list) { return RowsUseStringLists(list); }

bool Selection_Proc(LongListHandle list)
{
    bool answer = false;
    EachSelected(list, [&](TObjQz* o) {
        const int16_t k = o->kind;
        if (k != 2 && k != 16 && k != 25 && k != 26 && k != 27) return true;
        answer = o->EnableReplaceTxt();
        return false;
    });
    return answer;
}

bool Selection_Layout(LongListHandle list)
{
    return AnySelected(list, [](TObjQz* o) { return o->kind == 24 && !o->TstFlag(9); });
}

bool Selection_TxtReplace(LongListHandle list)
{
    return AnySelected(list, [](TObjQz* o) { return o->EnableReplaceTxt(); });
}

bool Selection_ModuleProject(LongListHandle list)
{
    return AllSelected(list, [](TObjQz* o) { return o->IsModuleProject(); });
}

bool Selection_Module(LongListHandle list)
{
    return AllSelected(list, [](TObjQz* o) { return o->IsModule(); });
}

int32_t GetCellData(const TObjQz* obj, LongListHandle list) { return LongLFindRow(obj, list); }

}  // namespace browser
