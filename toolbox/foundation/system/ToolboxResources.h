// How toolbox services below the drawing layer read the toolbox resource
// file (gResFile). The drawing layer, which owns gResFile, installs its
// access at start-up; until then the platform's resource chain answers,
// which is what gResFile searches.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"

class VString;

struct ToolboxResources {
    std::vector<int16_t> (*listIDs)(platform::ResType type) = nullptr;
    platform::Handle (*getResource)(platform::ResType type, int16_t id) = nullptr;
    void (*releaseResource)(platform::Handle h) = nullptr;
    // Empties the text, then sets it to item `index` of 'STR#' listId.
    void (*getString)(VString& text, int16_t listId, int16_t index) = nullptr;
};

// Null members fall back to the platform chain.
void SetToolboxResources(const ToolboxResources& access);

std::vector<int16_t> ToolboxResourceIDs(platform::ResType type);
platform::Handle ToolboxGetResource(platform::ResType type, int16_t id);
void ToolboxReleaseResource(platform::Handle h);
void ToolboxGetString(VString& text, int16_t listId, int16_t index);
