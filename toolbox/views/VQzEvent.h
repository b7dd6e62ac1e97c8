// One platform event as a counted toolbox object: the event reference it
// retains and its classic record.
#pragma once

#include <cstdint>

#include "platform/events/EventRefs.h"
#include "toolbox/foundation/VObject.h"

class VQzEvent : public VObject {
public:
    // Without a record, the record is converted from the event (all zero
    // when it has no classic form).
    VQzEvent(platform::EventRef event, const platform::EventRecord* record);
    ~VQzEvent() override;
    VQzEvent(const VQzEvent&) = delete;
    VQzEvent& operator=(const VQzEvent&) = delete;

    virtual int32_t DoExecute() { return 0; }

    // Both answer the new count; 0 for a null object. The last Release
    // destroys the object.
    static int32_t Retain(VQzEvent* event);
    static int32_t Release(VQzEvent* event);

    const platform::EventRecord& GetRecord() const { return fRecord; }
    uint32_t GetSequence() const { return fSequence; }
    platform::EventRef GetEventRef() const { return fEvent; }
    int32_t GetCount() const { return fCount; }

private:
    platform::EventRecord fRecord{};
    int32_t fCount = 1;
    uint32_t fSequence;
    platform::EventRef fEvent;
};
