// How icons reach resource files, which belong to a higher layer: that
// layer installs its access at start-up. Without one, no icon is found.
#pragma once

#include <cstdint>

class VResourceFile;

class VIconResourceAccess {
public:
    virtual ~VIconResourceAccess();
    // The toolbox resource file (gResFile), or null.
    virtual VResourceFile* GetToolboxFile() = 0;
    // The resource of that type and id in the file, or null.
    virtual char** GetResource(VResourceFile* file, uint32_t type, int16_t id) = 0;
    // The id of the named resource in the file, -1 when there is none.
    virtual int16_t GetResourceID(VResourceFile* file, uint32_t type, const char* name) = 0;
    virtual char* LockResHandle(VResourceFile* file, char** h) = 0;
    virtual void UnlockResHandle(VResourceFile* file, char** h) = 0;
    virtual void ReleaseResource(VResourceFile* file, char** h) = 0;
};

// Not owned; null removes it.
void SetIconResourceAccess(VIconResourceAccess* access);
VIconResourceAccess* GetIconResourceAccess();
