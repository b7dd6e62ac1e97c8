#include "toolbox/views/VQzEvent.h"

namespace {

uint32_t gNextSequence = 0;

}  // namespace

VQzEvent::VQzEvent(platform::EventRef event, const platform::EventRecord* record)
    : fSequence(gNextSequence++), fEvent(platform::RetainEvent(event))
{
    if (record)
        fRecord = *record;
    else if (!platform::ConvertEventRefToEventRecord(event, &fRecord))
        fRecord = platform::EventRecord{};
}

VQzEvent::~VQzEvent() { platform::ReleaseEvent(fEvent); }

int32_t VQzEvent::Retain(VQzEvent* event) { return event ? ++event->fCount : 0; }

int32_t VQzEvent::Release(VQzEvent* event)
{
    if (!event) return 0;
    if (--event->fCount > 0) return event->fCount;
    event->fCount = 1;
    delete event;
    return 0;
}
