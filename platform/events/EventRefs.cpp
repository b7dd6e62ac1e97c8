#include "platform/events/EventRefs.h"

#include <new>

namespace platform {

struct OpaqueEventRef {
    EventRecord record{};
    bool hasRecord = false;
    uint32_t count = 1;
};

EventRef CreateEventFromRecord(const EventRecord* record)
{
    auto* event = new (std::nothrow) OpaqueEventRef;
    if (event && record) {
        event->record = *record;
        event->hasRecord = true;
    }
    return event;
}

EventRef RetainEvent(EventRef event)
{
    if (event) ++event->count;
    return event;
}

void ReleaseEvent(EventRef event)
{
    if (event && --event->count == 0) delete event;
}

uint32_t GetEventRetainCount(EventRef event) { return event ? event->count : 0; }

Boolean ConvertEventRefToEventRecord(EventRef event, EventRecord* record)
{
    if (!event || !event->hasRecord || !record) return false;
    *record = event->record;
    return true;
}

}  // namespace platform
