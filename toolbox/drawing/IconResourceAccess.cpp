#include "toolbox/drawing/IconResourceAccess.h"

#include "toolbox/drawing/VResourceFile.h"
#include "toolbox/foundation/VIconResources.h"

namespace {

class ResourceFileIconAccess : public VIconResourceAccess {
public:
    VResourceFile* GetToolboxFile() override { return gResFile; }
    char** GetResource(VResourceFile* file, uint32_t type, int16_t id) override
    {
        return file != nullptr ? file->GetResource(type, id) : nullptr;
    }
    int16_t GetResourceID(VResourceFile* file, uint32_t type, const char* name) override
    {
        return file != nullptr ? file->GetResourceID(type, name) : -1;
    }
    char* LockResHandle(VResourceFile* file, char** h) override
    {
        return file != nullptr ? file->LockResHandle(h) : nullptr;
    }
    void UnlockResHandle(VResourceFile* file, char** h) override
    {
        if (file != nullptr) file->UnlockResHandle(h);
    }
    void ReleaseResource(VResourceFile* file, char** h) override
    {
        if (file != nullptr) file->ReleaseResource(h);
    }
};

ResourceFileIconAccess gAccess;

}  // namespace

void InstallIconResourceAccess() { SetIconResourceAccess(&gAccess); }
