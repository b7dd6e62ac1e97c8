#include "forms/objects/ObjectIterators.h"

LayoutObjectIterator::LayoutObjectIterator(LayoutObject* first, bool selectedOnly, bool enterGroups,
                                           bool enterContainers)
    : first_(first), selectedOnly_(selectedOnly), enterGroups_(enterGroups), enterContainers_(enterContainers)
{
    Reset();
}

void LayoutObjectIterator::Reset()
{
    stack_.clear();
    current_ = first_;
    following_ = current_ ? GetNextInList(current_) : nullptr;
    if (selectedOnly_ && current_ && !current_->selected) LayoutObjectIterator::SetNext();
}

void LayoutObjectIterator::SetNext()
{
    current_ = following_;
    following_ = current_ ? GetNextInList(current_) : nullptr;
}

LayoutObject* LayoutObjectIterator::GetNextInList(LayoutObject* from)
{
    LayoutObject* o = from;
    for (;;) {
        LayoutObject* next = o->GetNextObject();
        const bool enter = (enterGroups_ && o->IsGroup()) || (enterContainers_ && o->CanContainSubObject());
        if (enter && o->GetFirst()) {
            // The stack grows as deep as the groups go.
            if (next) stack_.push_back(next);
            o = o->GetFirst();
        } else if (next) {
            o = next;
        } else if (!stack_.empty()) {
            o = stack_.back();
            stack_.pop_back();
        } else {
            return nullptr;
        }
        if (!selectedOnly_ || o->selected) return o;
    }
}

LayoutGroupIterator::LayoutGroupIterator(LayoutObject* first, LayoutObject* stop, bool selectedOnly, bool enterGroups)
    : LayoutObjectIterator(first, selectedOnly, enterGroups, false), stop_(stop)
{
    if (current_ == stop_) current_ = following_ = nullptr;
}

void LayoutGroupIterator::SetNext()
{
    LayoutObjectIterator::SetNext();
    if (current_ == stop_) current_ = following_ = nullptr;
}
