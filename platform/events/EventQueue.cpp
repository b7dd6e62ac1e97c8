#include "platform/events/EventQueue.h"

#include <algorithm>

namespace platform {

uint16_t MaskForKind(uint16_t kind)
{
    if (kind == kMouseWheelEvent) return kMouseWheelMask;
    if (kind == kHighLevelEvent) return highLevelEventMask;
    if (kind < 16) return uint16_t(1u << kind);
    return 0;
}

void EventQueue::Post(const EventRecord& event, std::vector<std::string> documents, bool termination)
{
    if (entries_.size() >= kCapacity) {
        auto oldest = std::find_if(entries_.begin(), entries_.end(),
                                   [](const Entry& e) { return e.record.what != kHighLevelEvent; });
        // Only requests are queued: they stay, however many there are.
        if (oldest != entries_.end()) entries_.erase(oldest);
    }
    entries_.push_back({event, std::move(documents), termination});
}

bool EventQueue::Take(uint16_t mask, EventRecord* event, bool remove, std::vector<std::string>* documents,
                      bool* termination)
{
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (!(MaskForKind(it->record.what) & mask)) continue;
        if (event) *event = it->record;
        if (documents) *documents = it->documents;
        if (termination) *termination = it->termination;
        if (remove) entries_.erase(it);
        return true;
    }
    return false;
}

void EventQueue::Flush(uint16_t whichMask, uint16_t stopMask)
{
    for (auto it = entries_.begin(); it != entries_.end();) {
        uint16_t bit = MaskForKind(it->record.what);
        if (bit & stopMask) break;
        if (bit & whichMask)
            it = entries_.erase(it);
        else
            ++it;
    }
}

bool EventQueue::HasHighLevel(OSType eventID, bool terminationOnly) const
{
    for (const Entry& e : entries_)
        if (e.record.what == kHighLevelEvent && HighLevelEventID(e.record) == eventID &&
            (!terminationOnly || e.termination))
            return true;
    return false;
}

bool EventQueue::Has(uint16_t mask) const
{
    for (const Entry& e : entries_)
        if (MaskForKind(e.record.what) & mask) return true;
    return false;
}

}  // namespace platform
