#include "toolbox/foundation/VStringResources.h"

#include "platform/core/FourCC.h"
#include "toolbox/foundation/VString.h"

namespace {
VStringResourceAccess* gStringResources = nullptr;
}

VStringResourceAccess::~VStringResourceAccess() = default;

void SetStringResourceAccess(VStringResourceAccess* access) { gStringResources = access; }

VStringResourceAccess* GetStringResourceAccess() { return gStringResources; }

void VString::FromStrListResource(VResourceFile& file, int16_t id, int32_t index, VString* name)
{
    ClearString(false);
    SetNull(false);
    if (gStringResources == nullptr) return;
    if (name != nullptr) {
        id = gStringResources->GetResourceID(file, platform::FourCC("STR#"), *name);
        if (id == -1) return;
    }
    if (index < 1 || index > INT16_MAX) return;
    gStringResources->GetString(file, *this, id, int16_t(index));
    SetNull(false);
}
