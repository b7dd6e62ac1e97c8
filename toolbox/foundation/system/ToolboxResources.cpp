#include "toolbox/foundation/system/ToolboxResources.h"

#include "platform/resfiles/Resources.h"
#include "toolbox/foundation/VString.h"

namespace {

ToolboxResources gAccess;

std::vector<int16_t> ChainIDs(platform::ResType type)
{
    std::vector<int16_t> ids;
    platform::SetResLoad(false);
    const int16_t count = platform::CountResources(type);
    for (int32_t i = 1; i <= count; ++i) {
        platform::Handle h = platform::GetIndResource(type, i);
        if (!h) continue;
        int16_t id = 0;
        platform::ResType t = 0;
        platform::GetResInfo(h, &id, &t, nullptr);
        ids.push_back(id);
    }
    platform::SetResLoad(true);
    return ids;
}

}  // namespace

void SetToolboxResources(const ToolboxResources& access) { gAccess = access; }

std::vector<int16_t> ToolboxResourceIDs(platform::ResType type)
{
    return gAccess.listIDs ? gAccess.listIDs(type) : ChainIDs(type);
}

platform::Handle ToolboxGetResource(platform::ResType type, int16_t id)
{
    return gAccess.getResource ? gAccess.getResource(type, id) : platform::GetResource(type, id);
}

void ToolboxReleaseResource(platform::Handle h)
{
    if (!h) return;
    if (gAccess.releaseResource)
        gAccess.releaseResource(h);
    else
        platform::ReleaseResource(h);
}

void ToolboxGetString(VString& text, int16_t listId, int16_t index)
{
    if (gAccess.getString) {
        gAccess.getString(text, listId, index);
        return;
    }
    text.Clear();
    if (index < 1) return;
    platform::Str255 item = {0};
    platform::GetIndString(item, listId, index);
    text.FromMacPString(item);
}
