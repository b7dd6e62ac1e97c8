// Walking the objects of a page or a group, into groups (and containers)
// when asked, over the selected objects only when asked. The object after
// the current one is found before the current one is handed out, so that
// the current one may be removed or deleted while the walk goes on. The
// positions to come back to are kept as deep as groups nest.
#pragma once

#include <vector>

#include "forms/objects/LayoutObject.h"

class LayoutObjectIterator : public VObjectCleared {
public:
    LayoutObjectIterator(LayoutObject* first, bool selectedOnly, bool enterGroups, bool enterContainers);
    ~LayoutObjectIterator() override = default;

    // Back to the starting object.
    void Reset();
    // The current object, null when the walk is over.
    LayoutObject* Current() const { return current_; }
    // Makes the following object current; the one after it is found.
    virtual void SetNext();

protected:
    // The object that follows `from` in the walk, or null.
    LayoutObject* GetNextInList(LayoutObject* from);

    LayoutObject* first_;
    LayoutObject* current_ = nullptr;
    LayoutObject* following_ = nullptr;
    bool selectedOnly_, enterGroups_, enterContainers_;
    std::vector<LayoutObject*> stack_;
};

// Ends the walk at a stop object.
class LayoutGroupIterator : public LayoutObjectIterator {
public:
    LayoutGroupIterator(LayoutObject* first, LayoutObject* stop, bool selectedOnly, bool enterGroups);
    void SetNext() override;

private:
    LayoutObject* stop_;
};
