// Event objects of the newer event model: a counted reference around one
// event, convertible to the classic event record when it has one.
#pragma once

#include "platform/events/Events.h"

namespace platform {

struct OpaqueEventRef;
using EventRef = OpaqueEventRef*;

// A new event with one reference; with a record, it converts to it.
EventRef CreateEventFromRecord(const EventRecord* record);
EventRef RetainEvent(EventRef event);
// The last release frees the event.
void ReleaseEvent(EventRef event);
uint32_t GetEventRetainCount(EventRef event);
// False (record untouched) for a null event or one with no classic form.
Boolean ConvertEventRefToEventRecord(EventRef event, EventRecord* record);

}  // namespace platform
