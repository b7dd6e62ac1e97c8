// The queue of posted events: mouse, key, disk, operating-system, wheel and
// high-level events in the order they happened. A full queue drops its
// oldest input event; high-level events (quit, open documents) are never
// dropped, so that a request is kept until the program takes it.
#pragma once

#include <cstddef>
#include <deque>

#include "platform/events/Events.h"

namespace platform {

class EventQueue {
public:
    static constexpr size_t kCapacity = 64;

    // `termination`: a quit event that the system asked for (a signal).
    void Post(const EventRecord& event, std::vector<std::string> documents = {}, bool termination = false);
    // Finds the first event whose kind is in mask; removes it when asked.
    // The documents of a high-level event go to *documents when given, and
    // whether it was posted as a termination request to *termination.
    bool Take(uint16_t mask, EventRecord* event, bool remove, std::vector<std::string>* documents = nullptr,
              bool* termination = nullptr);
    // Removes the events of whichMask up to the first event of stopMask.
    void Flush(uint16_t whichMask, uint16_t stopMask);
    bool Has(uint16_t mask) const;
    // A high-level event of this kind waits; with `terminationOnly`, only
    // one posted as a termination request.
    bool HasHighLevel(OSType eventID, bool terminationOnly = false) const;
    size_t Count() const { return entries_.size(); }
    void Clear() { entries_.clear(); }

private:
    struct Entry {
        EventRecord record;
        std::vector<std::string> documents;
        bool termination = false;
    };
    std::deque<Entry> entries_;
};

// The mask bit of an event kind (0 for kinds without one).
uint16_t MaskForKind(uint16_t kind);

}  // namespace platform
