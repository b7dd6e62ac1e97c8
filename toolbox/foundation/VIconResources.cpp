#include "toolbox/foundation/VIconResources.h"

namespace {
VIconResourceAccess* gIconResources = nullptr;
}

VIconResourceAccess::~VIconResourceAccess() = default;

void SetIconResourceAccess(VIconResourceAccess* access) { gIconResources = access; }

VIconResourceAccess* GetIconResourceAccess() { return gIconResources; }
