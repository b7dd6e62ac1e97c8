#include "toolbox/foundation/VValueMultiple.h"

#include <algorithm>

// --- VValueMultiple ----------------------------------------------------

VValueMultiple::VValueMultiple(int16_t objType) : fObjType(objType) {}

VValueMultiple::~VValueMultiple() = default;

VValue* VValueMultiple::Clone() const { return nullptr; }

bool VValueMultiple::CanBeEvaluated() const { return false; }

ValueKind VValueMultiple::GetValueKind() const { return kValueEmpty; }

int32_t VValueMultiple::CompareTo(const VValue&, uint8_t, int32_t) const { return kValuesNotComparable; }

VItemRef* VValueMultiple::GetRoot(int32_t pos, HLMoveSheme scheme) const
{
    VItemRef* ref = NewItemRef();
    if (ref) ref->Init(pos, scheme);
    return ref;
}

int32_t VValueMultiple::GetHCount() const
{
    int32_t count = GetCount();
    for (const ChildEntry& e : fChildren) count += e.child->GetHCount();
    return count;
}

VItemRef* VValueMultiple::NewItemRef() const { return nullptr; }

void VValueMultiple::SetChildList(int32_t itemPos, const VValueMultiple* child)
{
    auto at = std::lower_bound(fChildren.begin(), fChildren.end(), itemPos,
                               [](const ChildEntry& e, int32_t pos) { return e.itemPos < pos; });
    const bool present = at != fChildren.end() && at->itemPos == itemPos;
    if (!child) {
        if (present) fChildren.erase(at);
    } else if (present) {
        at->child = child;
    } else {
        fChildren.insert(at, ChildEntry{itemPos, child});
    }
}

const VValueMultiple* VValueMultiple::GetChildList(int32_t itemPos) const
{
    for (const ChildEntry& e : fChildren)
        if (e.itemPos == itemPos) return e.child;
    return nullptr;
}

// --- VItemRef ----------------------------------------------------------

VItemRef::~VItemRef() { delete fSub; }

int32_t VItemRef::GetLevel() const { return Deepest()->fLevel; }

bool VItemRef::HasSons() const { return Deepest()->GetChildList() != nullptr; }

bool VItemRef::NullRef() const { return Deepest()->fNull != 0; }

const VValueMultiple* VItemRef::GetChildList() const
{
    const VValueMultiple* list = GetList();
    return list ? list->GetChildList(fPos) : nullptr;
}

void VItemRef::Init(int32_t pos, HLMoveSheme scheme)
{
    DropSub();
    fPos = 0;
    fLevel = 1;
    fNull = 1;
    Pos(pos, scheme);
}

VItemRef* VItemRef::Pos(int32_t pos, HLMoveSheme scheme)
{
    fNull = 0;
    VItemRef* deepest = Deepest();
    deepest->fNull = 0;
    switch (scheme) {
    case 0: MoveToHierarchical(pos); break;
    case 1: MoveTo(pos); break;
    case 2: deepest->MoveToHierarchical(pos); break;
    case 3: deepest->MoveTo(pos); break;
    case 4: NextDepthFirst(); break;
    case 5: PreviousDepthFirst(); break;
    case 6: StepNext(false); break;
    case 7: StepPrevious(false); break;
    case 8: StepNext(true); break;
    case 9: StepPrevious(true); break;
    case 10:
        if (!deepest->Descend()) deepest->fNull = 1;
        break;
    case 11:
        if (!deepest->Descend())
            deepest->fNull = 1;
        else
            deepest->fSub->DescendToLast();
        break;
    case 12:
        if (deepest == this)
            fNull = 1;
        else
            ParentOf(deepest)->DropSub();
        break;
    case 13:
        DropSub();
        fPos = 1;
        break;
    case 14: deepest->fPos = 1; break;
    case 15: deepest->fPos = deepest->ListCount(); break;
    default: break;
    }
    return this;
}

void VItemRef::CopyStateTo(VItemRef* target) const
{
    target->DropSub();
    target->fLevel = fLevel;
    target->fPos = fPos;
    target->fNull = fNull;
    if (fSub) target->fSub = fSub->Clone();
}

VItemRef* VItemRef::Deepest()
{
    VItemRef* r = this;
    while (r->fSub) r = r->fSub;
    return r;
}

const VItemRef* VItemRef::Deepest() const
{
    const VItemRef* r = this;
    while (r->fSub) r = r->fSub;
    return r;
}

VItemRef* VItemRef::ParentOf(const VItemRef* child)
{
    VItemRef* r = this;
    while (r && r->fSub != child) r = r->fSub;
    return r;
}

void VItemRef::DropSub()
{
    delete fSub;
    fSub = nullptr;
}

int32_t VItemRef::ListCount() const
{
    const VValueMultiple* list = GetList();
    return list ? list->GetCount() : 0;
}

void VItemRef::MoveTo(int32_t pos)
{
    DropSub();
    const int32_t count = ListCount();
    if (pos < 1) {
        fPos = 1;
        fNull = 1;
    } else if (pos > count) {
        fPos = count;
        fNull = 1;
    } else {
        fPos = pos;
    }
}

void VItemRef::MoveToHierarchical(int32_t pos)
{
    DropSub();
    const VValueMultiple* list = GetList();
    int32_t item = 0;
    int32_t remaining = 0;
    if (list) {
        for (const VValueMultiple::ChildEntry& e : list->GetChildTable()) {
            if (pos <= e.itemPos) break;
            const int32_t below = e.child->GetHCount();
            if (pos <= e.itemPos + below) {
                item = e.itemPos;
                remaining = pos - e.itemPos;
                break;
            }
            pos -= below;
        }
    }
    MoveTo(remaining > 0 ? item : pos);
    if (!fNull && remaining > 0 && Descend()) fSub->Pos(remaining, 0);
}

bool VItemRef::Descend()
{
    const VValueMultiple* child = GetChildList();
    if (!child || child->GetCount() < 1) return false;
    VItemRef* sub = child->GetRoot(1, 0);
    if (!sub) return false;
    DropSub();
    sub->fLevel = int16_t(fLevel + 1);
    fSub = sub;
    return true;
}

void VItemRef::DescendToLast()
{
    VItemRef* r = this;
    for (;;) {
        r->fPos = r->ListCount();
        if (!r->Descend()) break;
        r = r->fSub;
    }
    r->fNull = 0;
}

void VItemRef::StepNext(bool climb)
{
    for (;;) {
        VItemRef* d = Deepest();
        d->fNull = 0;
        const int32_t count = d->ListCount();
        if (d->fPos < count) {
            ++d->fPos;
            return;
        }
        if (!climb || d == this) {
            d->fPos = count;
            d->fNull = 1;
            return;
        }
        ParentOf(d)->DropSub();
    }
}

void VItemRef::StepPrevious(bool climb)
{
    for (;;) {
        VItemRef* d = Deepest();
        d->fNull = 0;
        if (d->fPos > 1) {
            --d->fPos;
            return;
        }
        if (!climb || d == this) {
            d->fPos = 1;
            d->fNull = 1;
            return;
        }
        ParentOf(d)->DropSub();
    }
}

void VItemRef::NextDepthFirst()
{
    if (!Deepest()->Descend()) StepNext(true);
}

void VItemRef::PreviousDepthFirst()
{
    VItemRef* d = Deepest();
    if (d->fPos > 1) {
        --d->fPos;
        if (d->Descend()) d->fSub->DescendToLast();
    } else if (d != this) {
        ParentOf(d)->DropSub();
    } else {
        d->fPos = 1;
        d->fNull = 1;
    }
}
